#include "adlib/foundation/macros.h"

#include "adlib/foundation/string_utilities.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace adlib {

void RunSynchronouslyOnMainThread(const dispatch_block_t& block) {
    if (NSThread::isMainThread())
        block();
    else
        dispatch_sync(dispatch_get_main_queue(), block);
}

void pubLog(std::string_view message) { NSLog("<Orvane> %@", message); }

std::string dictionaryToJSONString(const Value& dictionary) {
    Ref<NSError> error;
    Value text = ybx_JSONStringPretty(dictionary, false, &error);
    return error ? std::string() : text.string();
}

Value readJsonIntoDictionary(std::string_view text) {
    Ref<NSError> error;
    Value object = ybx_decodedJSONObjectError(text, &error);
    return !error && object.isDictionary() ? object : Value();
}

void registerMacrosClass() {
    ClassBuilder<NSObject>("YBXMacros", "NSObject")
        .classMethod(sel::runSynchronouslyOnMainThreadWithBlock_, [](id, dispatch_block_t block) { RunSynchronouslyOnMainThread(block); })
        .classMethod(sel::pubLog_, [](id, std::string message) { pubLog(message); })
        .classMethod(sel::dictionaryToJSONString_, [](id, Value dictionary) { return dictionaryToJSONString(dictionary); })
        .classMethod(sel::readJsonIntoDictionary_, [](id, std::string text) { return readJsonIntoDictionary(text); });
}

}  // namespace adlib

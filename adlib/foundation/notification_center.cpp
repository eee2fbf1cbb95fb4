#include "adlib/foundation/notification_center.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "adlib/foundation/macros.h"
#include "adlib/foundation/url_utilities.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/format.h"
#include "platform/foundation/operation_queue.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXNotification* notificationOf(id self) { return as<YBXNotification>(self); }

// The delay in whole nanoseconds: negative and not-a-number count as 0, and a
// delay beyond what 64-bit nanoseconds hold waits as long as they can.
std::int64_t delayInNanoseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    const double nanos = seconds * 1e9;
    constexpr double limit = static_cast<double>(std::numeric_limits<std::int64_t>::max());
    return nanos >= limit ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(nanos);
}

}  // namespace

bool YBXNotification::isNotificationURL(const NSURL* url) { return url && ybx_isSchemeEqualToString(url, "pmsg", false); }

bool YBXNotification::setUp(std::string_view name, const Value& parameters) {
    if (name.empty()) return false;
    name_ = std::string(name);
    // Values are copied: a caller's later changes never reach the message.
    parameters_ = parameters.isDictionary() ? parameters : Value(Value::Dictionary{});
    return true;
}

Ref<YBXNotification> YBXNotification::make(std::string_view name, const Value& parameters) {
    Ref<YBXNotification> notification = as<YBXNotification>(alloc("YBXNotification").get());
    return notification && notification->setUp(name, parameters) ? notification : nullptr;
}

Ref<YBXNotification> YBXNotification::fromURL(const NSURL* url) {
    if (!isNotificationURL(url)) return nullptr;
    const std::string& path = url->path();
    if (path.empty() || path.front() != '/') return nullptr;
    return make(std::string_view(path).substr(1), ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase(url, false));
}

std::string YBXNotification::description() const {
    return format("<%@: %p> name:%@ parameters:%@", NSStringFromClass(object_getClass(const_cast<YBXNotification*>(this))), this, name_,
                  parameters_);
}

YBXNotificationCenter* YBXNotificationCenter::defaultCenter() {
    // Kept for the process; making it waits for no other thread.
    static YBXNotificationCenter* center = as<YBXNotificationCenter>(alloc("YBXNotificationCenter").leak());
    return center;
}

void YBXNotificationCenter::postNotificationFromURL(NSURL* url, const Value& object) {
    Ref<YBXNotification> message = YBXNotification::fromURL(url);
    if (!message) return;
    postNotificationName(message->name(), object, message->parameters());
}

void YBXNotificationCenter::postNotificationFromURL(NSURL* url, const Value& object, double delay) {
    Ref<YBXNotificationCenter> self(this);
    Ref<NSURL> heldURL(url);
    dispatch_after(dispatch_time(0, delayInNanoseconds(delay)), dispatch_get_main_queue(), [self, heldURL, object] {
        NSOperationQueue::mainQueue()->addOperationWithBlock([self, heldURL, object] {
            sel::postNotificationFromURL_object_(self.get(), heldURL.get(), object);
        });
    });
}

std::string YBXNotificationCenter::JSCommandForNotificationName(std::string_view name, const Value& userInfo) {
    if (userInfo.isNil()) return format("%@('%@');", kYBXJSReceiveMessageFunction, name);
    // The platform's JSON escapes U+2028 and U+2029, so the text splices into a script.
    return format("%@('%@', %@);", kYBXJSReceiveMessageFunction, name, dictionaryToJSONString(userInfo));
}

void YBXNotificationCenter::postJSNotification(std::string_view name, const Value& userInfo, id webView) {
    std::string command = JSCommandForNotificationName(name, userInfo);
    Ref<Object> heldView(webView);
    dispatch_async(dispatch_get_main_queue(), [heldView, command] {
        if (heldView) sel::stringByEvaluatingJavaScriptFromString_(heldView.get(), Value(command));
    });
}

void registerNotificationClasses() {
    ClassBuilder<YBXNotification>("YBXNotification", "NSObject")
        .classMethod(sel::isNotificationURL_, [](id, NSURL* url) { return YBXNotification::isNotificationURL(url); })
        .method(sel::initWithName_parameters_,
                [](id self, Value name, Value parameters) {
                    return name.isString() && notificationOf(self)->setUp(name.string(), parameters) ? Ref<Object>(self) : nullptr;
                })
        .method(sel::initWithNotificationURL_,
                [](id self, NSURL* url) {
                    Ref<YBXNotification> parsed = YBXNotification::fromURL(url);
                    return parsed && notificationOf(self)->setUp(parsed->name(), parsed->parameters()) ? Ref<Object>(self) : nullptr;
                })
        .method(sel::name, [](id self) { return Value(notificationOf(self)->name()); })
        .method(sel::parameters, [](id self) { return notificationOf(self)->parameters(); })
        .method(sel::description, [](id self) { return Value(notificationOf(self)->description()); });

    ClassBuilder<YBXNotificationCenter>("YBXNotificationCenter", "NSNotificationCenter")
        .classMethod(sel::defaultCenter, [](id) { return Ref<Object>(YBXNotificationCenter::defaultCenter()); })
        .method(sel::postNotificationFromURL_object_,
                [](id self, NSURL* url, Value object) { as<YBXNotificationCenter>(self)->postNotificationFromURL(url, object); })
        .method(sel::postNotificationFromURL_object_withDelay_,
                [](id self, NSURL* url, Value object, double delay) {
                    as<YBXNotificationCenter>(self)->postNotificationFromURL(url, object, delay);
                })
        .classMethod(sel::JSCommandForNotificationName_userInfo_,
                     [](id, std::string name, Value userInfo) { return YBXNotificationCenter::JSCommandForNotificationName(name, userInfo); })
        .method(sel::JSCommandForNotificationName_userInfo_,
                [](id, std::string name, Value userInfo) { return YBXNotificationCenter::JSCommandForNotificationName(name, userInfo); })
        .method(sel::postJSNotification_userInfo_webView_,
                [](id, std::string name, Value userInfo, id webView) { YBXNotificationCenter::postJSNotification(name, userInfo, webView); });
}

}  // namespace adlib

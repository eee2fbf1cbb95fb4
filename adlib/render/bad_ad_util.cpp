#include "adlib/render/bad_ad_util.h"

#include <mutex>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/url_connection.h"
#include "platform/foundation/user_defaults.h"

namespace adlib {

namespace {

YBXBadAdUtil* utilOf(id self) { return as<YBXBadAdUtil>(self); }

Ref<NSURL> reportURL() {
    Value stored = NSUserDefaults::standardUserDefaults()->stringForKey(kYBXBadAdReportPathKey);
    const std::string target = stored.isString() && !stored.string().empty() ? stored.string() : YBXAdServerBaseURL() + kYBXBadAdReportPath;
    return NSURL::URLWithString(target);
}

void detach(id connection) {
    if (!connection) return;
    sel::setDelegate_(connection, nullptr);
    sel::stop(connection);
}

}  // namespace

YBXBadAdUtil* YBXBadAdUtil::sharedInstance() {
    static std::once_flag once;
    static YBXBadAdUtil* shared = nullptr;
    std::call_once(once, [] { shared = as<YBXBadAdUtil>(sel::init(alloc("YBXBadAdUtil")).leak()); });
    return shared;
}

YBXBadAdUtil::~YBXBadAdUtil() { detach(connection_.get()); }

Value YBXBadAdUtil::jsonData(const Value& debugText) {
    Value body = ybx_JSONStringPretty(Value(Value::Dictionary{{"debugHeader", debugText.isString() ? debugText : Value()}}), true, nullptr);
    const std::string& text = body.string();
    return Value(Data(text.begin(), text.end()));
}

void YBXBadAdUtil::reportBadAd(const Value& debugText) {
    Ref<NSURL> url = reportURL();
    if (!url) return;
    detach(connection_.get());
    connection_ = sel::init(alloc("YBXURLConnection"));
    sel::startWithURL_withData_andType_forDelegate_error_(connection_.get(), url.get(), jsonData(debugText), Value("application/json"), this, nullptr);
}

void registerBadAdUtilClass() {
    ClassBuilder<YBXBadAdUtil>("YBXBadAdUtil", "NSObject")
        .protocol("YBXURLConnectionDelegate")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(YBXBadAdUtil::sharedInstance()); })
        .classMethod(sel::jsonData_, [](id, Value text) { return YBXBadAdUtil::jsonData(text); })
        .method(sel::connection, [](id self) { return utilOf(self)->connection_; })
        .method(sel::reportBadAd_, [](id self, Value text) { utilOf(self)->reportBadAd(text); })
        // Refused with an error: a nil answer would follow the redirect.
        .method(sel::connection_shouldRedirectToURL_,
                [](id, id, NSURL*) { return YBXRedirectRefusedError(); })
        .method(sel::connection_loadShouldUseCachedResponse_, [](id, id, id) { return false; });
}

}  // namespace adlib

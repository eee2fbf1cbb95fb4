#include "adlib/pipeline/ad_preprocessor.h"

#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/request_error.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/format.h"
#include "platform/foundation/json.h"
#include "platform/webkit/selectors.h"
#include "platform/foundation/notification_center.h"

namespace adlib {

namespace {

YBXAdPreprocessor* preprocessorOf(id self) { return as<YBXAdPreprocessor>(self); }

constexpr const char* kPreprocessNotification = "nativeAdPreProcess";
constexpr double kAnswerWait = 5;

Ref<Object> invalidResponseError() { return sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeInvalidResponse); }

// Whether the notification came from the slot's web view (the wrapper or the page inside it).
bool comesFromSlot(NSNotification* notification, id slot) {
    Object* sender = notification ? notification->object().object() : nullptr;
    if (!sender || !slot) return false;
    Ref<Object> webView = sel::webView(slot);
    return sender == webView.get() || (webView && sender == sel::webView(webView.get()).get());
}

}  // namespace

YBXAdPreprocessor::~YBXAdPreprocessor() {
    if (NSNotificationCenter* center = NSNotificationCenter::defaultCenter()) center->removeObserver(this);
    if (YBXNotificationCenter* center = YBXNotificationCenter::defaultCenter()) center->removeObserver(this);
    if (slot_) sel::setAdEventDelegate_(slot_.get(), nullptr);
}

void YBXAdPreprocessor::setUp(const Value& adUnitID) {
    slot_ = sel::init(alloc("YBXSlot"));
    sel::setAdEventDelegate_(slot_.get(), this);
    sel::setAdUnitID_(slot_.get(), adUnitID);
}

void YBXAdPreprocessor::complete(const Value& configuration, const Ref<Object>& slot, const Ref<Object>& error) {
    if (!completionHandler_) return;
    // Taken off the preprocessor first: the handler runs once, and may drop it.
    sel::YBXPreprocessorCompletion handler = std::move(completionHandler_);
    completionHandler_ = nullptr;
    dispatch_async(dispatch_get_main_queue(), [handler, configuration, slot, error] { handler(configuration, slot, error); });
}

void YBXAdPreprocessor::preprocess(const Value& json, sel::YBXPreprocessorCompletion handler) {
    Ref<NSError> decodingError;
    const Value decoded = json.isString() ? NSJSONSerialization::JSONObjectWithText(json.string(), 0, &decodingError) : Value();
    if (decoded.isNil()) {
        if (!decodingError) decodingError = as<NSError>(invalidResponseError().get());
        Ref<Object> error(decodingError);
        dispatch_async(dispatch_get_main_queue(), [handler, error] {
            if (handler) handler(Value(), nullptr, error);
        });
        return;
    }
    completionHandler_ = std::move(handler);
    nativeAdJSON_ = json;
    Ref<Object> extras = sel::init(alloc("YBXMarlexExtras"));
    Ref<Object> page = sel::supportHTMLURL(objc_getClass("YBXNativeAd"));
    sel::setAdditionalParameters_(extras.get(), Value(Value::Dictionary{{"_requestUrl", Value(page)}}));
    Ref<Object> request = sel::init(alloc("YBXRequest"));
    sel::registerAdNetworkExtras_(request.get(), extras.get());
    sel::loadRequest_(slot_.get(), request.get());
}

void YBXAdPreprocessor::pageDidLoad() {
    YBXNotificationCenter* center = YBXNotificationCenter::defaultCenter();
    center->removeObserver(this, kPreprocessNotification, Value());
    center->addObserver(this, sel::handlePreprocessorNotification_, kPreprocessNotification, Value());
    Ref<Object> webView = sel::webView(slot_.get());
    sel::stringByEvaluatingJavaScriptFromString_(webView.get(),
                                                Value(format("orvane.kestra.nativeAds.preProcessJsonPmsg(%@)", nativeAdJSON_)));
    WeakRef<Object> weakSelf(this);
    dispatch_after(dispatch_time(0, static_cast<std::int64_t>(kAnswerWait * 1e9)), dispatch_get_main_queue(), [weakSelf] {
        Ref<Object> self = weakSelf.lock();
        if (!self) return;
        Ref<Object> error = sel::ybx_errorWithCode_description_(NSErrorClass(), YBXInternalErrorCodeInternal, Value("Timed out."));
        preprocessorOf(self.get())->complete(Value(), nullptr, error);
    });
}

void YBXAdPreprocessor::handlePreprocessorNotification(NSNotification* notification) {
    if (!comesFromSlot(notification, slot_.get())) return;
    const Value& answer = notification->userInfo()["success"];
    const Value configuration = answer.isString() ? NSJSONSerialization::JSONObjectWithText(answer.string(), 0) : Value();
    if (configuration.isDictionary()) complete(configuration, slot_, nullptr);
    else complete(Value(), nullptr, invalidResponseError());
}

void registerAdPreprocessorClass() {
    ClassBuilder<YBXAdPreprocessor>("YBXAdPreprocessor", "NSObject")
        .protocol("YBXSlotAdEventDelegate")
        .method(sel::initWithAdUnitID_,
                [](id self, Value adUnitID) {
                    preprocessorOf(self)->setUp(adUnitID);
                    return Ref<Object>(self);
                })
        .method(sel::preprocessNativeAdJSON_completionHandler_,
                [](id self, Value json, sel::YBXPreprocessorCompletion handler) { preprocessorOf(self)->preprocess(json, std::move(handler)); })
        .method(sel::handlePreprocessorNotification_, [](id self, id notification) {
            preprocessorOf(self)->handlePreprocessorNotification(as<NSNotification>(notification));
        })
        .method(sel::slotFinishedLoadingAdContent_, [](id self, id) { preprocessorOf(self)->pageDidLoad(); })
        .method(sel::slot_didFailToLoadAdContentWithError_,
                [](id self, id, id error) { preprocessorOf(self)->complete(Value(), nullptr, Ref<Object>(error)); })
        .method(sel::slot, [](id self) { return preprocessorOf(self)->slot_; })
        .getter<&YBXAdPreprocessor::nativeAdJSON_>(sel::nativeAdJSON);
}

}  // namespace adlib

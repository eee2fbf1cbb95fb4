// The slot as the SDK-core controller's requester: the parameters the page
// builds the ad URL from, and what the slot does with the page's answers.
#include <cmath>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/slot.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "platform/foundation/format.h"
#include "platform/foundation/user_defaults.h"

namespace adlib {

namespace {

YBXSlot* slotOf(id self) { return as<YBXSlot>(self); }

bool isNonEmpty(const Value& value) {
    if (value.isDictionary()) return !value.dictionary().empty();
    if (value.isArray()) return !value.array().empty();
    if (value.isString()) return !value.string().empty();
    return !value.isNil();
}

// Keyed "x", "y", "w", "h", which is what the page reads.
Value rectangleDictionary(Rect rect) {
    Value::Dictionary d;
    d["x"] = Value(rect.origin.x);
    d["y"] = Value(rect.origin.y);
    d["w"] = Value(rect.size.width);
    d["h"] = Value(rect.size.height);
    return Value(std::move(d));
}

Value multipleAdSizeParameterFromSizes(const Value& sizes) {
    if (!sizes.isArray()) return Value("");
    std::string text;
    for (const Value& element : sizes.array()) {
        YBXAdSize size;
        if (!YBXAdSizeUnboxed(element, &size)) continue;
        Size resolved = YBXAdSizeResolvedCGSize(size);
        // Only sides an unsigned number can hold.
        if (!std::isfinite(resolved.width) || !std::isfinite(resolved.height) || resolved.width < 0 || resolved.height < 0) continue;
        if (!text.empty()) text += "|";
        text += format("%lux%lu", static_cast<unsigned long>(resolved.width), static_cast<unsigned long>(resolved.height));
    }
    return Value(text);
}

void fail(id self, long long code) {
    Ref<Object> error = sel::errorWithCode_request_(YBXRequestErrorClass(), code, slotOf(self)->request_.get());
    sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(self, error.get(), false, false);
}

void updateStatisticsForScenario(const Value& scenario) {
    Ref<Object> statistics = sel::statistics(application());
    if (!statistics) return;
    const auto increment = [&](const char* key) { sel::incrementNumberForKey_shouldNotifyDelegate_(statistics.get(), key, false); };
    const auto rememberSequence = [&] {
        sel::setObject_forKey_shouldNotifyDelegate_(statistics.get(), sel::objectForKey_(statistics.get(), "seq_num"), "losn", false);
    };
    if (scenario == Value("offline_empty")) {
        increment("oar");
        rememberSequence();
    } else if (scenario == Value("offline_buffer")) {
        increment("bas_off");
        increment("oar");
        rememberSequence();
    } else if (scenario == Value("online_buffer")) {
        increment("bas_on");
    }
}

}  // namespace

bool YBXSlot::isWaitingForSDKCore() const {
    // State 3 only lasts while the slot handles the page's ad URL.
    return state_ == YBXSlotStateRequestingAdURL || state_ == YBXSlotStateAdURLReceived;
}

Value YBXSlot::requestParameters() {
    // The controller asks from its request queue; the views and the request
    // are read on the main thread.
    Value parameters;
    RunSynchronouslyOnMainThread([&] { parameters = requestParametersOnMainThread(); });
    return parameters;
}

Value YBXSlot::requestParametersOnMainThread() {
    Value requestParameters = request_ ? sel::parameters(request_.get()) : Value();
    Value::Dictionary p = requestParameters.isDictionary() ? requestParameters.dictionary() : Value::Dictionary{};

    Value::Dictionary signals;
    if (isNonEmpty(applicationStatistics_)) signals["app"] = applicationStatistics_;
    Ref<Object> app = application();
    if (Value slots = sel::slotStatisticsDictionary(app.get()); isNonEmpty(slots)) signals["slots"] = slots;
    if (Value extras = sel::privateMediationExtras(request_.get()); isNonEmpty(extras)) signals["request"] = extras;
    // A set still held from an earlier ask goes back first, so it travels with this one.
    handBackPendingAdStatistics();
    pendingAdStatistics_ = sel::pendingAdStatistics(app.get());
    Value::Array ads;
    for (const Value& statistics : pendingAdStatistics_.array())
        if (Value d = sel::dictionary(statistics.object()); d.isDictionary()) ads.push_back(d);
    if (!ads.empty()) signals["ads"] = Value(std::move(ads));
    if (!signals.empty()) p["quality_signals"] = Value(std::move(signals));

    if (adUnitID_.isString() && !adUnitID_.string().empty()) p["slotname"] = adUnitID_;
    Ref<Object> delegate = slotDelegate_.lock();
    const auto implements = [&](auto selector) { return delegate && respondsToSelector(delegate.get(), selector.name); };
    if (isInterstitialType()) {
        p["format"] = Value("interstitial_mb");
    } else {
        if (implements(sel::validAdSizes))
            if (Value sizes = multipleAdSizeParameterFromSizes(sel::validAdSizes(delegate.get())); !sizes.string().empty()) p["sz"] = sizes;
        p["ad_frame"] = rectangleDictionary(implements(sel::frame) ? sel::frame(delegate.get()) : sel::frame(webView_.get()));
        p["ad_bounds"] = rectangleDictionary(implements(sel::bounds) ? sel::bounds(delegate.get()) : sel::bounds(webView_.get()));
    }
    const YBXAdSize size = sel::adSize(adType_.get());
    if (YBXAdSizeIsFullWidth(size)) {
        p["smart_w"] = Value("full");
        if (YBXAdSizeIsSmart(size)) p["smart_h"] = Value("auto");
    }
    if (isNonEmpty(requestID_)) p["request_id"] = requestID_;
    if (implements(sel::coordinatesOfContentInScreen_))
        if (Value position = sel::coordinatesOfContentInScreen_(delegate.get(), sel::mainScreen(objc_getClass("UIScreen")).get()); !position.isNil())
            p["ad_pos"] = position;
    if (sel::hasToolbarCredentials(objc_getClass("YBXPublisherToolbarCredentials"))) p["dpt"] = Value("1");
    if (calledLoadAndDisplayRequest_) {
        p["cladr"] = Value("1");
        calledLoadAndDisplayRequest_ = false;
    }
    if (manualImpressionsEnabled_) p["d_imp_hdr"] = Value("1");
    if (sel::inAppPurchaseDelegate(this)) p["iap_set"] = Value("1");
    if (Value https = NSUserDefaults::standardUserDefaults()->objectForKey("orvane_ybx_use_https"); !https.isNil() && https.boolValue())
        p["force_https"] = Value("1");
    return Value(std::move(p));
}

void YBXSlot::loadAdURLWithParameters(const Value& parameters) {
    sel::didReceiveAdURL(this);
    if (!parameters["errors"].isNil()) {
        fail(this, YBXErrorCodeInvalidRequest);
        return;
    }
    updateStatisticsForScenario(parameters["request_scenario"]);
    if (parameters["enable_auto_click_protection"] == Value("1"))
        sel::setAutoClickProtected_(sel::opener(webViewDelegate_.get()).get(), true);
    Ref<Object> ad = sel::init(alloc("YBXAd"));
    const Value& url = parameters["url"];
    if (url.isString() && !url.string().empty()) sel::setAdURL_(ad.get(), NSURL::URLWithString(url.string()).get());
    sel::loadAd_headers_(this, ad.get(), Value());
}

void registerSlotSDKCoreCategory(Class* slotClass) {
    ClassBuilder<YBXSlot>(slotClass)
        .protocol("YBXSDKCoreControllerDelegate")
        .method(sel::setRequestID_,
                [](id self, Value requestID) {
                    Ref<Object> kept(self);
                    RunSynchronouslyOnMainThread([&] { slotOf(kept.get())->requestID_ = requestID; });
                })
        .method(sel::requestParameters, [](id self) { return slotOf(self)->requestParameters(); })
        .method(sel::loadAdURLWithParameters_,
                [](id self, Value parameters) {
                    // An answer to a request that was cancelled or has ended is dropped.
                    if (slotOf(self)->state_ != YBXSlotStateRequestingAdURL) return;
                    slotOf(self)->loadAdURLWithParameters(parameters);
                })
        .method(sel::invalidJavaScriptRequest,
                [](id self) {
                    if (slotOf(self)->state_ != YBXSlotStateRequestingAdURL) return;
                    fail(self, YBXErrorCodeInvalidRequest);
                })
        .method(sel::failedJavaScriptFile,
                [](id self) {
                    if (slotOf(self)->state_ != YBXSlotStateRequestingAdURL) return;
                    Ref<Object> error = sel::errorWithCode_request_(YBXRequestErrorClass(), YBXErrorCodeNetwork, slotOf(self)->request_.get());
                    sel::didFailToRetrieveSDKCoreWithError_(self, error.get());
                    // A page that could not be loaded is retried at the next refresh, like a failed fetch.
                    sel::scheduleAdReloadTimer(self);
                })
        .method(sel::multipleAdSizeParameterFromSizes_, [](id, Value sizes) { return multipleAdSizeParameterFromSizes(sizes); });
}

}  // namespace adlib

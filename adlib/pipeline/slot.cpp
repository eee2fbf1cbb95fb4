#include "adlib/pipeline/slot.h"

#include <cassert>
#include <cmath>
#include <mutex>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/configuration.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/signals.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/foundation/url_utilities.h"
#include "adlib/foundation/weak_timer.h"
#include "adlib/pipeline/ad.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/uikit/application.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXSlot* slotOf(id self) { return as<YBXSlot>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXSlot is used on the main thread only"); }

constexpr const char* kWillPresentFullScreen = "kAdModalViewControllerWillPresentFullScreen";
constexpr const char* kDidDismissFullScreen = "kAdModalViewControllerDidDismissFullScreen";
constexpr const char* kBuiltInAdapterClassName = "YBXMAdapterOrvaneMarlexAds";

bool isSizeZero(Size size) { return size.width == 0 && size.height == 0; }

// The one-time class set-up of YBXSlot (what +initialize does for the class itself).
void initializeSlotClass() {
    static std::once_flag once;
    std::call_once(once, [] { sel::runEarlyActivities(application()); });
}

Ref<Object> initSlotWithFrame(id self, Rect frame) {
    initializeSlotClass();
    if (YBXSlot* slot = slotOf(self)) slot->setUp(frame);
    return Ref<Object>(self);
}

Ref<Object> initSlot(id self) { return sel::initWithFrame_(self, Rect{}); }

std::string trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return std::string(text);
}

std::string lowercased(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

Value YBXBuiltInAdServerDomains() {
    Ref<NSURL> base = NSURL::URLWithString(YBXAdServerBaseURL());
    Value::Array domains;
    if (base && !base->host().empty()) domains.emplace_back(base->host());
    return Value(std::move(domains));
}

// --- creation and teardown ------------------------------------------------------------------------

void YBXSlot::setUp(Rect frame) {
    checkMainThread();
    state_ = YBXSlotStateIdle;
    reloadable_ = true;
    adResponseDelegate_ = WeakRef<Object>(this);
    webView_ = sel::initWithFrame_(alloc("YBXWebView"), frame);
    webViewDelegate_ = sel::initWithSlot_(alloc("YBXBannerWebViewDelegate"), this);
    sel::setDelegate_(webView_.get(), webViewDelegate_.get());
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->addObserver(this, sel::appWillBecomeInactive_, UIApplicationWillResignActiveNotification, Value());
    center->addObserver(this, sel::appDidBecomeActive_, UIApplicationDidBecomeActiveNotification, Value());
    center->addObserver(this, sel::adWillPresentFullScreen_, kWillPresentFullScreen, Value());
    center->addObserver(this, sel::adDidRelinquishFullScreen_, kDidDismissFullScreen, Value());
    adType_ = sel::interstitialAdType(objc_getClass("YBXAdType"));
    slotStats_ = sel::init(alloc("YBXSlotStatistics"));
    adMediationGlue_ = sel::init(alloc("YBXMToYBXGlue"));
    sel::setSlot_(adMediationGlue_.get(), this);
    optoraMonitoredView_ = WeakRef<Object>(webView_.get());
}

YBXSlot::~YBXSlot() {
    // The slot is going: its own methods are called directly, never sent with
    // the slot as an argument, so nothing takes a new reference to it.
    // didUnloadMRAIDAd's work: the device's orientation notifications are balanced.
    if (isListeningToDeviceOrientationChangeEvent_) endListeningToDeviceOrientationChangeEvent();
    // An owner that went without ending the reports: the last one goes now.
    finishOptoraReportingOnTeardown();
    if (adFetcher_) sel::cancel(adFetcher_.get());
    if (NSNotificationCenter* center = NSNotificationCenter::defaultCenter()) center->removeObserver(this);
    if (reloadTimer_) reloadTimer_->invalidate();
    if (webViewDelegate_) sel::setDelegate_(sel::opener(webViewDelegate_.get()).get(), nullptr);
    sel::setSlot_(adMediationGlue_.get(), nullptr);
    sel::setDelegate_(webView_.get(), nullptr);
    if (countedByInterceptor_) sel::disableCanInitWithRequest(objc_getClass("YBXMRAIDInterceptor"));
    handBackPendingAdStatistics();
}

// --- state --------------------------------------------------------------------------------------

void YBXSlot::setState(long long state) {
    checkMainThread();
    if (state == state_ || state_ == YBXSlotStateInvalidated) return;
    // The interceptor serves "mraid.js" while any request is on its way; each
    // request is counted once and uncounted once, whichever way it ends.
    Class* interceptor = objc_getClass("YBXMRAIDInterceptor");
    if (state == YBXSlotStateRequestingAdURL) {
        if (!countedByInterceptor_) {
            sel::enableCanInitWithRequest(interceptor);
            countedByInterceptor_ = true;
        }
    } else if (state == YBXSlotStateSDKCoreFailed || state == YBXSlotStateValidAd || state == YBXSlotStateFailed ||
               state == YBXSlotStateInvalidated) {
        if (countedByInterceptor_) {
            sel::disableCanInitWithRequest(interceptor);
            countedByInterceptor_ = false;
        }
    }
    state_ = state;
}

bool YBXSlot::isMakingRequest() const {
    switch (state_) {
        case YBXSlotStateIdle:
        case YBXSlotStateSDKCoreFailed:
        case YBXSlotStateValidAd:
        case YBXSlotStateFailed:
            return false;
        default:
            return true;
    }
}

bool YBXSlot::shouldMakeRequest() const {
    if (state_ == YBXSlotStateInvalidated || isMakingRequest()) return false;
    if (!sel::isAppActive(application())) return false;
    YBXDevice* device = YBXDevice::currentDevice();
    return device && device->OSIsSupported();
}

bool YBXSlot::isInterstitialType() const { return sel::isInterstitial(adType_.get()); }

bool YBXSlot::isMediating() const { return ad_ && sel::responseType(ad_.get()) == YBXAdResponseTypeMediation; }

Ref<Object> YBXSlot::statisticsOf(id ad) const { return sel::statistics(ad); }

// --- the request road -------------------------------------------------------------------------------

bool YBXSlot::loadRequest(id request, bool autoRefresh) {
    checkMainThread();
    Ref<Object> current = request ? Ref<Object>(request) : sel::init(alloc("YBXRequest"));
    if (!shouldMakeRequest()) return false;
    sel::willRequestAdURL(this);
    request_ = current;
    hasAutoRefreshed_ = autoRefresh;

    Value extras = sel::networkExtrasAdditionalParameters(current.get());
    long long orientation = 0;
    if (extras["_orientation"] == Value("p")) orientation = 2;
    else if (extras["_orientation"] == Value("l")) orientation = 3;

    if (const Value& adDictionary = extras["_ad"]; adDictionary.isDictionary()) {
        Ref<Object> ad = sel::initWithDictionary_(alloc(isInterstitialType() ? "YBXAdInterstitial" : "YBXAdBanner"), adDictionary);
        if (orientation) sel::setSupportedOrientations_(ad.get(), orientation);
        const Value& headers = extras["_adHeaders"];
        sel::loadAd_headers_(this, ad.get(), headers.isDictionary() ? headers : Value());
        return true;
    }
    if (auto* url = extras["_requestUrl"].objectAs<NSURL>()) {
        sel::allow(objc_getClass("YBXMRAIDInterceptor"));
        Ref<Object> ad = sel::init(alloc("YBXAd"));
        sel::setAdURL_(ad.get(), url);
        if (orientation) sel::setSupportedOrientations_(ad.get(), orientation);
        sel::loadAd_headers_(this, ad.get(), Value());
        return true;
    }
    sel::buildAdURL_(sel::sharedInstance(objc_getClass("YBXSDKCoreController")).get(), this);
    return true;
}

bool YBXSlot::reloadCurrentRequest() {
    if (!reloadable_) return false;
    Ref<Object> delegate = slotDelegate_.lock();
    if (!delegate || !respondsToSelector(delegate.get(), sel::slotShouldReloadCurrentRequest_.name)) return false;
    if (!sel::slotShouldReloadCurrentRequest_(delegate.get(), this)) return false;
    return loadRequest(request_.get(), true);
}

void YBXSlot::setAdType(id adType, bool reload) {
    if (adType_ && adType && sel::isEqual_(adType_.get(), adType)) return;
    adType_ = Ref<Object>(adType);
    if (isSizeZero(newAdSize_) && reload) sel::setHidden_(webView_.get(), true);
    if (isMediating()) {
        if (sel::changeAdTypeTo_(adMediationGlue_.get(), adType)) return;
        Ref<Object> delegate = slotDelegate_.lock();
        if (delegate && respondsToSelector(delegate.get(), sel::slot_didReceiveAdView_.name)) sel::slot_didReceiveAdView_(delegate.get(), this, nullptr);
    }
    if (!reload) return;
    if (isMakingRequest()) cancelPendingActions();
    if (request_) loadRequest(request_.get(), false);
}

void YBXSlot::cancelPendingActions() {
    cancelPreviousPerformRequestsWithTarget(this);
    deactivateReloadTimer();
    if (adFetcher_) sel::cancel(adFetcher_.get());
    adFetcher_ = nullptr;
    loadingAd_ = nullptr;
    sel::cancel(adMediationGlue_.get());
    // A cancelled request ends here: its statistics go back, its count ends.
    handBackPendingAdStatistics();
    if (countedByInterceptor_) {
        sel::disableCanInitWithRequest(objc_getClass("YBXMRAIDInterceptor"));
        countedByInterceptor_ = false;
    }
    sel::resetState(this);
}

void YBXSlot::cancelPendingAndFutureActions() {
    cancelPendingActions();
    slotDelegate_ = WeakRef<Object>();
    reloadable_ = false;
    sel::invalidateState(this);
}

void YBXSlot::handBackPendingAdStatistics() {
    if (!pendingAdStatistics_.isArray() || pendingAdStatistics_.array().empty()) {
        pendingAdStatistics_ = Value();
        return;
    }
    Value statistics = std::move(pendingAdStatistics_);
    pendingAdStatistics_ = Value();
    sel::didNotSendAdStatistics_(application(), statistics);
}

// --- refresh ----------------------------------------------------------------------------------------

void YBXSlot::scheduleReloadTimer(double interval) {
    deactivateReloadTimer();
    if (!reloadable_) return;
    Ref<Object> delegate = slotDelegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::createdOnMediationRequest.name) && sel::createdOnMediationRequest(delegate.get())) return;
    const bool usable = interval > 0 && std::isfinite(interval);
    // An interstitial is shown once: it never refreshes.
    if (usable && !isInterstitialType())
        reloadTimer_ = ybx_timerWithWeakTarget(TimerScheduling::scheduled, interval, this, sel::reloadCurrentRequestWithTimer_, Value(), false);
    reloadInterval_ = usable ? interval : 0;
}

void YBXSlot::deactivateReloadTimer() {
    if (reloadTimer_) reloadTimer_->invalidate();
    reloadTimer_ = nullptr;
}

// --- failures -------------------------------------------------------------------------------------

void YBXSlot::didFailToReceiveAdWithError(id error, bool shouldReloadTimer, bool shouldCancelPendingActions) {
    setState(YBXSlotStateFailed);
    loadingAd_ = nullptr;
    handBackPendingAdStatistics();
    Ref<Object> reported = error ? Ref<Object>(error) : sel::errorWithCode_request_(YBXRequestErrorClass(), YBXErrorCodeInternal, request_.get());
    // Cancel first: cancelling stops the timer, so the refresh asked for is scheduled after it.
    if (shouldCancelPendingActions) cancelPendingActions();
    if (shouldReloadTimer) sel::scheduleAdReloadTimer(this);
    sel::adFailedToReceiveContentWithError_(this, reported.get());
}

void YBXSlot::adFailedToReceiveContentWithError(id error) {
    Ref<Object> delegate = adEventDelegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::slot_didFailToLoadAdContentWithError_.name))
        sel::slot_didFailToLoadAdContentWithError_(delegate.get(), this, error);
}

// --- click decoration -------------------------------------------------------------------------------

bool YBXSlot::isOrvaneAdURL(const NSURL* url) {
    if (!url || url->host().empty()) return false;
    Value configured = NSUserDefaults::standardUserDefaults()->stringForKey("as_domains");
    std::vector<std::string> domains;
    const auto add = [&domains](std::string_view piece) {
        std::string domain = lowercased(trimmed(piece));
        if (!domain.empty()) domains.push_back(std::move(domain));
    };
    if (configured.isString()) {
        std::string_view rest = configured.string();
        while (true) {
            size_t comma = rest.find(',');
            add(rest.substr(0, comma));
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }
    if (domains.empty())
        for (const Value& domain : YBXBuiltInAdServerDomains().array()) add(domain.string());
    // A listed domain or a subdomain of it: "evilorvane.com" is not "orvane.com".
    const std::string host = lowercased(url->host());
    for (const std::string& domain : domains) {
        if (host == domain) return true;
        if (host.size() > domain.size() && host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
            host[host.size() - domain.size() - 1] == '.')
            return true;
    }
    return false;
}

Ref<NSURL> YBXSlot::spamClickURLWithURL(NSURL* url) {
    if (!url) return nullptr;
    Ref<NSURL> same(url);
    if (YBXNotification::isNotificationURL(url) || url->absoluteString() == "about:blank") return same;
    if (Value ticket = ybx_impressionTicket(url); ticket.isString() && !ticket.string().empty())
        if (Ref<Object> statistics = statisticsOf(ad_.get())) sel::setObject_forKeyedSubscript_(statistics.get(), ticket, "pit");
    if (!url->query() || url->query()->empty() || !isOrvaneAdURL(url)) return same;
    Value adInfo = ybx_parameterValueForKey(url, "ai");
    if (!adInfo.isString() || adInfo.string().empty()) return same;
    std::string key;
    bool made = false;
    RunSynchronouslyOnMainThread([&] { made = YBXSignalsForClick(adInfo, &key); });
    if (!made || key.empty()) return same;
    return ybx_appendQueryValue_forKey(url, Value(), key);
}

// --- registration -----------------------------------------------------------------------------------

namespace {

void setState(id self, long long state) { slotOf(self)->setState(state); }

// Sets a value in the statistics of an ad (nothing when it has none).
void setAdStatistic(id ad, const char* key, const Value& value, bool notify = true) {
    Ref<Object> statistics = sel::statistics(ad);
    if (!statistics) return;
    if (notify) sel::setObject_forKeyedSubscript_(statistics.get(), value, key);
    else sel::setObject_forKey_shouldNotifyDelegate_(statistics.get(), value, key, false);
}

void tellAdEventDelegate(id self, Sel<void(id, id)> selector) {
    Ref<Object> delegate = slotOf(self)->adEventDelegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), selector.name)) selector(delegate.get(), self);
}

void trackURLs(const Value& urls) {
    if (!urls.isArray()) return;
    sel::trackURLs_cacheEnabled_(sel::sharedInstance(objc_getClass("YBXClickTrackerCollection")).get(), urls, false);
}

Ref<Object> inAppPurchaseDelegateOf(id self) {
    Ref<Object> observer = sel::sharedInstance(objc_getClass("YBXPaymentTransactionObserver"));
    if (observer && sel::isDefaultPurchaseFlowEnabled(observer.get())) return observer;
    Ref<Object> delegate = slotOf(self)->slotDelegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::inAppPurchaseDelegate.name)) return sel::inAppPurchaseDelegate(delegate.get());
    return nullptr;
}

void didReceiveInAppPurchase(id self, id purchase) {
    Ref<Object> delegate = inAppPurchaseDelegateOf(self);
    if (!delegate) pubLog("You must set the in-app purchase delegate. Transaction cannot be completed.");
    Ref<Object> kept(purchase);
    RunSynchronouslyOnMainThread([&] {
        if (delegate && respondsToSelector(delegate.get(), sel::didReceiveInAppPurchase_.name)) sel::didReceiveInAppPurchase_(delegate.get(), kept.get());
    });
}

Value adNetworkClassName(id self) {
    YBXSlot* slot = slotOf(self);
    if (slot->state_ != YBXSlotStateValidAd) return Value();
    if (!slot->isMediating()) return Value(kBuiltInAdapterClassName);
    Ref<Object> manager = sel::mediationManager(slot->adMediationGlue_.get());
    if (!manager || !respondsToSelector(manager.get(), "receivedConnector")) return Value();
    Ref<Object> connector(performSelector(manager.get(), "receivedConnector").object());
    Ref<Object> adapter = sel::adapter(connector.get());
    if (!adapter) return Value();
    return Value(object_getClass(adapter.get())->name());
}

std::string describe(id self) {
    YBXSlot* slot = slotOf(self);
    return format("<%@: %p>\nad unit ID:%@", Value(object_getClass(self)->name()), self, slot->adUnitID_);
}

void willFetchAdContent(id self) {
    YBXSlot* slot = slotOf(self);
    slot->setState(YBXSlotStateFetching);
    id ad = slot->loadingAd_.get();
    const Value now(nowMilliseconds());
    const Value& requestTime = slot->applicationStatistics_["currts"];
    setAdStatistic(ad, "treq", requestTime.isNil() ? now : requestTime);
    setAdStatistic(ad, "tfetch", now);
    if (slot->adUnitID_.isString() && !slot->adUnitID_.string().empty()) setAdStatistic(ad, "slotid", slot->adUnitID_);
    if (const Value& sequence = slot->applicationStatistics_["seq_num"]; !sequence.isNil()) setAdStatistic(ad, "seq_num", sequence);
}

void didFetchAdContent(id self) {
    YBXSlot* slot = slotOf(self);
    setAdStatistic(slot->loadingAd_.get(), "tresponse", Value(nowMilliseconds()));
    Ref<Object> statistics = sel::statistics(application());
    for (const char* key : {"oar", "bas_on", "bas_off"}) sel::setObject_forKeyedSubscript_(statistics.get(), Value(0LL), key);
}

void didLoadAdHTMLInWebView(id self) {
    YBXSlot* slot = slotOf(self);
    sel::finishedLoadingAdResponse_(self, slot->loadingAd_.get());
    sel::setTouched_(slot->webView_.get(), false);
    const double now = nowMilliseconds();
    setAdStatistic(slot->ad_.get(), "tload", Value(now));
    slot->timeLastLoaded_ = now;
}

void adWasClicked(id self) {
    sel::incrementTotalAdClickCount(application());
    Ref<Object> statistics = sel::statistics(slotOf(self)->ad_.get());
    if (!statistics) return;
    sel::setObject_forKeyedSubscript_(statistics.get(), Value(nowMilliseconds()), "tclickcurr");
    sel::incrementNumberForKey_shouldNotifyDelegate_(statistics.get(), "pcc", true);
}

void didMakeAdImpression(id self) {
    sel::incrementNumberForKey_shouldNotifyDelegate_(sel::statistics(application()).get(), "pimp", false);
    sel::pingImpressionURLs(self);
}

void setAdUnitID(id self, Value adUnitID) {
    YBXSlot* slot = slotOf(self);
    slot->adUnitID_ = adUnitID.isString() ? adUnitID : Value();
    sel::setIdentifier_(slot->slotStats_.get(), slot->adUnitID_);
}

// A weak reference property of the slot.
template <WeakRef<Object> YBXSlot::*Member>
Ref<Object> weakGetter(id self) {
    return (slotOf(self)->*Member).lock();
}
template <WeakRef<Object> YBXSlot::*Member>
void weakSetter(id self, id object) {
    slotOf(self)->*Member = WeakRef<Object>(object);
}

template <Ref<Object> YBXSlot::*Member>
Ref<Object> strongGetter(id self) {
    return slotOf(self)->*Member;
}

}  // namespace

void registerSlotClass() {
    ClassBuilder<YBXSlot> builder("YBXSlot", "NSObject");
    builder.protocol("YBXSlotAdResponseDelegate")
        .protocol("YBXAdFetcherDelegate")
        .method(sel::init, &initSlot)
        .method(sel::initWithFrame_, &initSlotWithFrame)
        .method(sel::description, [](id self) { return Value(describe(self)); })
        .method(sel::setAdUnitID_, &setAdUnitID)
        .getter<&YBXSlot::adUnitID_>(sel::adUnitID)
        .getter<&YBXSlot::state_>(sel::YBXSlot_state)
        .method(sel::YBXSlot_setState_, &setState)
        // Request entry.
        .method(sel::loadRequest_, [](id self, id request) { sel::loadRequest_autoRefresh_(self, request, false); })
        .method(sel::loadRequest_autoRefresh_, [](id self, id request, bool autoRefresh) { slotOf(self)->loadRequest(request, autoRefresh); })
        .method(sel::shouldMakeRequest_, [](id self, id) { return slotOf(self)->shouldMakeRequest(); })
        .method(sel::isMakingRequest, [](id self) { return slotOf(self)->isMakingRequest(); })
        .method(sel::reloadCurrentRequest, [](id self) { slotOf(self)->reloadCurrentRequest(); })
        .method(sel::reloadCurrentRequestWithTimer_,
                [](id self, id) {
                    YBXSlot* slot = slotOf(self);
                    slot->reloadTimer_ = nullptr;  // one-shot: this firing was its last
                    // A refresh that starts no request is skipped, not ended.
                    if (!slot->reloadCurrentRequest()) sel::scheduleAdReloadTimer(self);
                })
        .method(sel::setAdType_, [](id self, id adType) { sel::setAdType_andReloadRequest_(self, adType, true); })
        .method(sel::setAdType_andReloadRequest_, [](id self, id adType, bool reload) { slotOf(self)->setAdType(adType, reload); })
        .method(sel::adType, &strongGetter<&YBXSlot::adType_>)
        .method(sel::cancelPendingActions, [](id self) { slotOf(self)->cancelPendingActions(); })
        .method(sel::cancelPendingAndFutureActions, [](id self) { slotOf(self)->cancelPendingAndFutureActions(); })
        .method(sel::mediatedAdNetworkAutoRefreshed, [](id self) { slotOf(self)->hasAutoRefreshed_ = true; })
        .method(sel::adNetworkClassName, &adNetworkClassName)
        .method(sel::mediatedInterstitial, [](id self) { return sel::mediatedInterstitial(slotOf(self)->adMediationGlue_.get()); })
        .method(sel::presentMediatedInterstitialFromRootViewController_,
                [](id self, id controller) {
                    YBXSlot* slot = slotOf(self);
                    if (slot->isMediating() && slot->isInterstitialType())
                        sel::presentInterstitialFromRootViewController_(slot->adMediationGlue_.get(), controller);
                })
        .method(sel::isMediating, [](id self) { return slotOf(self)->isMediating(); })
        .method(sel::isMRAIDEnabled, [](id self) { return sel::isMRAIDEnabled(slotOf(self)->ad_.get()); })
        .method(sel::jsBuildAdURL, [](id) { return Value(YBXSDKCorePageURL()); })
        // Events from the web view delegate, the opener, the glue and the controllers.
        .method(sel::adWasClicked, &adWasClicked)
        .method(sel::adWillPresentScreen, [](id self) { tellAdEventDelegate(self, sel::slotWillPresentScreen_); })
        .method(sel::adWillDismissScreen, [](id self) { tellAdEventDelegate(self, sel::slotWillDismissScreen_); })
        .method(sel::adDidDismissScreen, [](id self) { tellAdEventDelegate(self, sel::slotDidDismissScreen_); })
        .method(sel::adWillLeaveApplication,
                [](id self) {
                    sel::willLeaveApplicationDueToClickOnAd_(application(), slotOf(self)->ad_.get());
                    tellAdEventDelegate(self, sel::slotWillLeaveApplication_);
                })
        .method(sel::adFailedToReceiveContentWithError_, [](id self, id error) { slotOf(self)->adFailedToReceiveContentWithError(error); })
        .method(sel::adFinishedLoadingContent, [](id self) { tellAdEventDelegate(self, sel::slotFinishedLoadingAdContent_); })
        .method(sel::pingClickURLs, [](id self) { trackURLs(sel::clickURLs(slotOf(self)->ad_.get())); })
        .method(sel::pingImpressionURLs, [](id self) { trackURLs(sel::impressionURLs(slotOf(self)->ad_.get())); })
        .method(sel::pingManualTrackingURLs, [](id self) { trackURLs(sel::manualImpressionURLs(slotOf(self)->ad_.get())); })
        .method(sel::inAppPurchaseDelegate, &inAppPurchaseDelegateOf)
        .method(sel::didReceiveInAppPurchase_, &didReceiveInAppPurchase)
        .method(sel::spamClickURLWithURL_, [](id self, NSURL* url) { return Ref<Object>(slotOf(self)->spamClickURLWithURL(url)); })
        .method(sel::isOrvaneAdURL_, [](id, NSURL* url) { return YBXSlot::isOrvaneAdURL(url); })
        // The State category.
        .method(sel::willRequestAdURL,
                [](id self) {
                    YBXSlot* slot = slotOf(self);
                    slot->setState(YBXSlotStateRequestingAdURL);
                    slot->applicationStatistics_ = sel::nextRequestStatisticsDictionaryForSlot_(application(), self);
                })
        .method(sel::didFailToRetrieveSDKCoreWithError_,
                [](id self, id error) {
                    slotOf(self)->setState(YBXSlotStateSDKCoreFailed);
                    sel::adFailedToReceiveContentWithError_(self, error);
                })
        .method(sel::didReceiveAdURL, [](id self) { slotOf(self)->setState(YBXSlotStateAdURLReceived); })
        .method(sel::willFetchAdContent, &willFetchAdContent)
        .method(sel::didFetchAdContent, &didFetchAdContent)
        .method(sel::willProcessMediationResponse,
                [](id self) {
                    YBXSlot* slot = slotOf(self);
                    setAdStatistic(slot->loadingAd_.get(), "ismediation", Value(true));
                    slot->setState(YBXSlotStateFetching);
                })
        .method(sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_,
                [](id self, id error, bool reload, bool cancel) { slotOf(self)->didFailToReceiveAdWithError(error, reload, cancel); })
        .method(sel::didReceiveValidAd,
                [](id self) {
                    YBXSlot* slot = slotOf(self);
                    slot->setState(YBXSlotStateValidAd);
                    slot->pendingAdStatistics_ = Value();  // delivered with this request
                })
        .method(sel::willStartAdRendering, [](id self) { slotOf(self)->setState(YBXSlotStateRendering); })
        .method(sel::willLoadAdHTMLInWebView, [](id self) { sel::willStartAdRendering(self); })
        .method(sel::didLoadAdHTMLInWebView, &didLoadAdHTMLInWebView)
        .method(sel::didMakeAdImpression, &didMakeAdImpression)
        .method(sel::willLeaveAppDueToClick, [](id self) { setAdStatistic(slotOf(self)->ad_.get(), "pclb", Value(true)); })
        .method(sel::resetState, [](id self) { slotOf(self)->setState(YBXSlotStateIdle); })
        .method(sel::invalidateState, [](id self) { slotOf(self)->setState(YBXSlotStateInvalidated); })
        // Refresh.
        .method(sel::scheduleReloadTimer_, [](id self, double interval) { slotOf(self)->scheduleReloadTimer(interval); })
        .method(sel::scheduleAdReloadTimer, [](id self) { slotOf(self)->scheduleReloadTimer(slotOf(self)->reloadInterval_); })
        .method(sel::deactivateReloadTimer, [](id self) { slotOf(self)->deactivateReloadTimer(); })
        .method(sel::appWillBecomeInactive_,
                [](id self, id) {
                    slotOf(self)->deactivateReloadTimer();
                    sel::sample(slotOf(self)->optoraMonitor_.get());
                })
        .method(sel::appDidBecomeActive_,
                [](id self, id) {
                    sel::scheduleAdReloadTimer(self);
                    sel::sample(slotOf(self)->optoraMonitor_.get());
                })
        .method(sel::adWillPresentFullScreen_, [](id self, id) { slotOf(self)->deactivateReloadTimer(); })
        .method(sel::adDidRelinquishFullScreen_, [](id self, id) { sel::scheduleAdReloadTimer(self); })
        // Viewability hooks.
        .method(sel::bannerDidMoveToWindow_,
                [](id self, id window) {
                    id monitor = slotOf(self)->optoraMonitor_.get();
                    if (window) {
                        sel::startMonitoring(monitor);
                    } else {
                        sel::sample(monitor);
                        sel::stopMonitoring(monitor);
                    }
                })
        .method(sel::interstitialViewWillAppear, [](id self) { sel::startMonitoring(slotOf(self)->optoraMonitor_.get()); })
        .method(sel::interstitialViewWillDisappear,
                [](id self) {
                    sel::sample(slotOf(self)->optoraMonitor_.get());
                    sel::stopMonitoring(slotOf(self)->optoraMonitor_.get());
                })
        // Entry points of features that come later: nothing to do yet.
        .method(sel::disableSwipeToViewController, [](id) {})
        .method(sel::canEnableSwipeToViewController, [](id) { return false; })
        // Response processing.
        .method(sel::loadAd_headers_,
                [](id self, id ad, Value headers) {
                    // The SDK-core page may answer a request that has since
                    // been cancelled or has failed: only a waiting slot loads.
                    if (!slotOf(self)->isWaitingForSDKCore()) return;
                    slotOf(self)->loadAd(ad, headers);
                })
        .method(sel::resetRequestState, [](id self) { slotOf(self)->resetRequestState(); })
        .method(sel::finishedLoadingAdResponse_,
                [](id self, id ad) {
                    slotOf(self)->ad_ = Ref<Object>(ad);
                    slotOf(self)->loadingAd_ = nullptr;
                })
        // Properties.
        .method(sel::slotDelegate, &weakGetter<&YBXSlot::slotDelegate_>)
        .method(sel::setSlotDelegate_, &weakSetter<&YBXSlot::slotDelegate_>)
        .method(sel::adEventDelegate, &weakGetter<&YBXSlot::adEventDelegate_>)
        .method(sel::setAdEventDelegate_, &weakSetter<&YBXSlot::adEventDelegate_>)
        .method(sel::adResponseDelegate, &weakGetter<&YBXSlot::adResponseDelegate_>)
        .method(sel::setAdResponseDelegate_, &weakSetter<&YBXSlot::adResponseDelegate_>)
        .method(sel::interstitial, &weakGetter<&YBXSlot::interstitial_>)
        .method(sel::setInterstitial_, &weakSetter<&YBXSlot::interstitial_>)
        .method(sel::ad, &strongGetter<&YBXSlot::ad_>)
        .method(sel::loadingAd, &strongGetter<&YBXSlot::loadingAd_>)
        .method(sel::request, &strongGetter<&YBXSlot::request_>)
        .method(sel::webView, &strongGetter<&YBXSlot::webView_>)
        .method(sel::webViewDelegate, &strongGetter<&YBXSlot::webViewDelegate_>)
        .method(sel::slotStats, &strongGetter<&YBXSlot::slotStats_>)
        .method(sel::adMediationGlue, &strongGetter<&YBXSlot::adMediationGlue_>)
        .method(sel::optoraMonitor, &strongGetter<&YBXSlot::optoraMonitor_>)
        .getter<&YBXSlot::requestID_>(sel::requestID)
        .property<&YBXSlot::reloadable_>(sel::isReloadable, sel::setReloadable_)
        .getter<&YBXSlot::hasAutoRefreshed_>(sel::hasAutoRefreshed)
        .property<&YBXSlot::manualImpressionsEnabled_>(sel::manualImpressionsEnabled, sel::setManualImpressionsEnabled_)
        .property<&YBXSlot::calledLoadAndDisplayRequest_>(sel::calledLoadAndDisplayRequest, sel::setCalledLoadAndDisplayRequest_)
        .getter<&YBXSlot::timeLastLoaded_>(sel::timeLastLoaded)
        .getter<&YBXSlot::reloadInterval_>(sel::reloadInterval)
        .getter<&YBXSlot::newAdSize_>(sel::newAdSize);
    registerSlotSDKCoreCategory(builder.get());
    registerSlotResponseCategory(builder.get());
    registerSlotMRAIDCategories(builder.get());
    registerSlotOptoraCategory(builder.get());
}

}  // namespace adlib

#include "adlib/mediation/glue.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/request_error.h"
#include "adlib/mediation/protocols.h"
#include "platform/foundation/format.h"
#include "platform/foundation/notification_center.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXMToYBXGlue* glueOf(id self) { return as<YBXMToYBXGlue>(self); }

Ref<Object> slotOf(id self) { return glueOf(self)->slot_.lock(); }

// The slot's request, which the targeting questions are answered from.
Ref<Object> requestOf(id self) { return sel::request(slotOf(self).get()); }

// The slot's statistics, which keep the adapters' timings and exit codes.
Ref<Object> statsOf(id self) { return sel::slotStats(slotOf(self).get()); }

void post(const char* name) { NSNotificationCenter::defaultCenter()->postNotificationName(name, Value()); }

Ref<Object> initGlue(id self) {
    YBXMToYBXGlue* glue = glueOf(self);
    glue->mediationManager_ = as<YBXMAdManager>(sel::init(alloc("YBXMAdManager")));
    if (glue->mediationManager_) glue->mediationManager_->setDelegate(self);
    return Ref<Object>(self);
}

// --- the manager's events -------------------------------------------------------------------------

Ref<Object> viewControllerForPresentingModalView(id self) {
    Ref<Object> delegate = sel::slotDelegate(slotOf(self).get());
    if (!delegate || !respondsToSelector(delegate, sel::rootViewController.name)) return nullptr;
    return sel::rootViewController(delegate.get());
}

void didReceiveAd(id self, id view) {
    Ref<Object> slot = slotOf(self);
    if (!slot) return;
    sel::setViewForAdUsingView_(slot.get(), view);
    sel::didReceiveValidAd(slot.get());
    sel::adFinishedLoadingContent(slot.get());
}

void didReceiveInterstitial(id self, id interstitial) {
    glueOf(self)->mediatedInterstitial_ = WeakRef<Object>(interstitial);
    Ref<Object> slot = slotOf(self);
    if (!slot) return;
    sel::didReceiveValidAd(slot.get());
    sel::adFinishedLoadingContent(slot.get());
}

void didFailToReceiveAd(id self, id error) {
    if (Ref<Object> slot = slotOf(self)) sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot.get(), error, false, false);
}

void bannerRefreshFailed(id self, id error) {
    Ref<Object> slot = slotOf(self);
    if (!slot) return;
    sel::mediatedAdNetworkAutoRefreshed(slot.get());
    sel::adFailedToReceiveContentWithError_(slot.get(), error);
}

void willPresent(id self) {
    post(kYBXWillPresentFullScreenNotification);
    if (Ref<Object> slot = slotOf(self)) sel::adWillPresentScreen(slot.get());
}

void willDismiss(id self) {
    if (Ref<Object> slot = slotOf(self)) sel::adWillDismissScreen(slot.get());
}

void didDismiss(id self) {
    post(kYBXDidDismissFullScreenNotification);
    if (Ref<Object> slot = slotOf(self)) sel::adDidDismissScreen(slot.get());
}

void willLeaveApplication(id self) {
    Ref<Object> slot = slotOf(self);
    if (!slot) return;
    sel::adWillLeaveApplication(slot.get());
    sel::willLeaveAppDueToClick(slot.get());
}

}  // namespace

// --- YBXMToYBXGlue ----------------------------------------------------------------------------------

YBXMToYBXGlue::~YBXMToYBXGlue() {
    if (!mediationManager_) return;
    mediationManager_->setDelegate(nullptr);
    mediationManager_->cancelPendingActions();
}

void YBXMToYBXGlue::requestAdWithType(id adType, id config) {
    mediationConfig_ = Ref<YBXMConfig>(as<YBXMConfig>(config));
    if (!hasConsistentMediationConfigForAdType(adType) || !mediationManager_) return;
    // A cancel (a passback, a type change, a web action) let the manager go;
    // every new waterfall reports to this glue again.
    mediationManager_->setDelegate(this);
    mediationManager_->mediate(adType, mediationConfig_.get());
}

bool YBXMToYBXGlue::hasConsistentMediationConfigForAdType(id requested) {
    auto* wanted = as<YBXAdType>(requested);
    auto* configured = mediationConfig_ ? as<YBXAdType>(mediationConfig_->adType.get()) : nullptr;
    long long code = YBXErrorCodeIncompatibleAdType;
    std::string message;
    if (!wanted) {
        code = YBXErrorCodeInvalidRequest;
        message = format("Invalid requested YBXAdType: %@.", Value());
    } else if (!configured) {
        code = YBXErrorCodeInvalidMediationResponse;
        message = format("Invalid mediation configuration YBXAdType: %@.", Value());
    } else if (wanted->isInterstitial && !configured->isInterstitial) {
        message = format("Unable to request an interstitial when mediation configuration was for %@.", YBXAdSizeDescription(configured->adSize));
    } else if (!wanted->isInterstitial && configured->isInterstitial) {
        message = format("Unable to request %@ when mediation configuration was for an interstitial.", YBXAdSizeDescription(wanted->adSize));
    } else if (wanted->isInterstitial || YBXAdSizeIsValidForScreen(wanted->adSize)) {
        // The banner sizes of request and configuration need not be equal.
        return true;
    } else {
        message = format("Unable to request ad with invalid size: %@.", YBXAdSizeDescription(wanted->adSize));
    }
    Ref<Object> slot = slot_.lock();
    Ref<Object> error = sel::errorWithCode_request_HTTPStatusCode_customMessage_(YBXRequestErrorClass(), code, sel::request(slot.get()).get(), 0,
                                                                                 Value(message));
    if (slot) sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot.get(), error.get(), true, false);
    return false;
}

bool YBXMToYBXGlue::changeAdTypeTo(id adType) {
    Ref<Object> slot = slot_.lock();
    Ref<Object> current = sel::adType(slot.get());
    // Only a banner on show may take another banner size.
    if (!current || !adType || sel::isInterstitial(current.get()) || sel::isInterstitial(adType)) return false;
    return mediationManager_ && mediationManager_->changeAdTypeTo(adType);
}

void YBXMToYBXGlue::presentInterstitialFromRootViewController(id controller) {
    Ref<Object> slot = slot_.lock();
    if (slot && sel::isInterstitial(sel::adType(slot.get()).get()) && mediationManager_)
        mediationManager_->presentInterstitialFromRootViewController(controller);
}

void YBXMToYBXGlue::cancel() {
    if (!mediationManager_) return;
    mediationManager_->setDelegate(nullptr);
    mediationManager_->cancel();
}

// --- registration -----------------------------------------------------------------------------------

void registerGlueClass() {
    ClassBuilder<YBXMToYBXGlue>("YBXMToYBXGlue", "NSObject")
        .protocol(kYBXMDelegateProtocol)
        .method(sel::init, &initGlue)
        .method(sel::slot, [](id self) { return glueOf(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { glueOf(self)->slot_ = WeakRef<Object>(slot); })
        .method(sel::mediatedInterstitial, [](id self) { return glueOf(self)->mediatedInterstitial_.lock(); })
        .method(sel::mediationManager, [](id self) { return Ref<Object>(glueOf(self)->mediationManager_.get()); })
        .method(sel::mediationConfig, [](id self) { return Ref<Object>(glueOf(self)->mediationConfig_.get()); })
        .method(sel::requestAdWithType_mediationConfig_, [](id self, id type, id config) { glueOf(self)->requestAdWithType(type, config); })
        .method(sel::hasConsistentMediationConfigForAdType_, [](id self, id type) { return glueOf(self)->hasConsistentMediationConfigForAdType(type); })
        .method(sel::changeAdTypeTo_, [](id self, id type) { return glueOf(self)->changeAdTypeTo(type); })
        .method(sel::presentInterstitialFromRootViewController_,
                [](id self, id controller) { glueOf(self)->presentInterstitialFromRootViewController(controller); })
        .method(sel::cancel, [](id self) { glueOf(self)->cancel(); })
        // YBXMDelegate, in its order.
        .method(sel::viewControllerForPresentingModalView, &viewControllerForPresentingModalView)
        .method(sel::ybxmDidReceiveAd_, &didReceiveAd)
        .method(sel::ybxmDidReceiveInterstitial_, &didReceiveInterstitial)
        .method(sel::ybxmDidFailToReceiveAdWithError_, &didFailToReceiveAd)
        .method(sel::ybxmBannerAdRefreshFailedWithError_, &bannerRefreshFailed)
        .method(sel::ybxmWillPresentFullScreenModal, &willPresent)
        .method(sel::ybxmWillDismissFullScreenModal, &willDismiss)
        .method(sel::ybxmDidDismissFullScreenModal, &didDismiss)
        .method(sel::ybxmWillPresentInterstitial, &willPresent)
        .method(sel::ybxmWillDismissInterstitial, &willDismiss)
        .method(sel::ybxmDidDismissInterstitial, &didDismiss)
        .method(sel::ybxmWillLeaveApplication, &willLeaveApplication)
        .method(sel::ybxmTestMode, [](id self) { return sel::isATestDevice(requestOf(self).get()); })
        .method(sel::networkExtrasFor_, [](id self, Class* cls) { return sel::adNetworkExtrasFor_(requestOf(self).get(), cls); })
        .method(sel::userGender, [](id self) { return sel::gender(requestOf(self).get()); })
        .method(sel::userBirthday, [](id self) { return sel::birthday(requestOf(self).get()); })
        .method(sel::userLocation, [](id self) { return sel::location(requestOf(self).get()); })
        .method(sel::userKeywords, [](id self) { return sel::keywords(requestOf(self).get()); })
        .method(sel::childDirectedTreatment, [](id self) { return sel::childDirectedTreatment(requestOf(self).get()); })
        .method(sel::startTimingAdapter, [](id self) { sel::startTimingAdapter(statsOf(self).get()); })
        .method(sel::resetTimingAdapters, [](id self) { sel::resetTimingAdapters(statsOf(self).get()); })
        .method(sel::endTimingAdapterWithExitCode_, [](id self, long long code) { sel::endTimingAdapterWithExitCode_(statsOf(self).get(), code); })
        .method(sel::adapterDurationsParameter, [](id self) { return sel::adapterDurationsParameter(statsOf(self).get()); })
        .method(sel::adapterExitCodesParameter, [](id self) { return sel::adapterExitCodesParameter(statsOf(self).get()); });
}

}  // namespace adlib

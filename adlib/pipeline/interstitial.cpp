#include "adlib/pipeline/interstitial.h"

#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/view_utilities.h"
#include "adlib/pipeline/publisher_delegate.h"
#include "adlib/pipeline/slot.h"
#include "adlib/render/web_view_delegate.h"
#include "platform/foundation/format.h"
#include "platform/foundation/notification_center.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXInterstitial* interstitialOf(id self) { return as<YBXInterstitial>(self); }

}  // namespace

YBXInterstitial::~YBXInterstitial() {
    if (NSNotificationCenter* center = NSNotificationCenter::defaultCenter()) center->removeObserver(this);
    if (YBXNotificationCenter* center = YBXNotificationCenter::defaultCenter()) center->removeObserver(this);
    if (!slot_) return;
    sel::finishOptoraReporting(slot_.get());
    Ref<Object> webView = sel::webView(slot_.get());
    if (sel::viewController(webView.get()).get() == viewController_.get()) sel::setViewController_(webView.get(), nullptr);
    sel::setInterstitial_(slot_.get(), nullptr);
    sel::cancelPendingAndFutureActions(slot_.get());
    sel::setAdEventDelegate_(slot_.get(), nullptr);
}

void YBXInterstitial::setUp() {
    slot_ = sel::initWithFrame_(alloc("YBXSlot"), YBXDevice::currentDevice()->standardizedScreenBounds());
    sel::setInterstitial_(slot_.get(), this);
    sel::setSlotDelegate_(slot_.get(), this);
    sel::setAdEventDelegate_(slot_.get(), this);
    Ref<Object> webView = sel::webView(slot_.get());
    sel::configureAsInterstitialAdView(webView.get());
    viewController_ = sel::initWithWebView_(alloc("YBXWebAppViewController"), webView.get());
    sel::setInterstitial_(viewController_.get(), this);
    sel::setViewController_(webView.get(), viewController_.get());
    // Web actions are posted on the platform's centre by the web view delegates.
    NSNotificationCenter::defaultCenter()->addObserver(this, sel_registerName(sel::webAction_.name), kYBXDidReceiveWebAction, Value(webView));
}

void YBXInterstitial::loadRequest(id request) {
    request_ = Ref<Object>(request);
    if (hasBeenUsed_) {
        sendInterstitialUsageError();
        return;
    }
    sel::loadRequest_(slot_.get(), request);
}

bool YBXInterstitial::isReady() const { return !hasBeenUsed_ && sel::YBXSlot_state(slot_.get()) == YBXSlotStateValidAd; }

bool YBXInterstitial::canPresentFullScreen() {
    if (hasBeenUsed_) {
        sendInterstitialUsageError();
        return false;
    }
    if (isReady()) return true;
    pubLog("Cannot present interstitial. It is not ready.");
    return false;
}

void YBXInterstitial::presentFromRootViewController(id root) {
    Ref<YBXInterstitial> protector(this);
    if (!sel::canPresentFullScreen(this)) return;
    // Without a presenter nothing is shown: the ad stays ready and unused.
    if (!root) {
        pubLog("No UIViewController supplied to the ad. Cannot continue.");
        return;
    }
    id slot = slot_.get();
    if (sel::isMediating(slot)) {
        sel::presentMediatedInterstitialFromRootViewController_(slot, root);
    } else {
        Ref<Object> controller = viewController_;
        sel::setDelegate_(sel::webView(slot).get(), nullptr);
        sel::setSupportedOrientations_(controller.get(), sel::supportedOrientations(sel::ad(slot).get()));
        sel::setSlot_(controller.get(), slot);
        // An interstitial's impression is made when it is shown, not when it loads.
        sel::didMakeAdImpression(slot);
        sel::presentFromViewController_(controller.get(), root);
        viewController_ = nullptr;
    }
    sel::hasPresentedFullScreen(this);
}

void YBXInterstitial::sendInterstitialUsageError() {
    Ref<Object> error = sel::errorWithCode_request_(YBXRequestErrorClass(), YBXErrorCodeInterstitialReused, request_.get());
    sel::sendInterstitialError_(this, error.get());
}

void YBXInterstitial::sendInterstitialError(id error) {
    pubLog(format("%@", Value(sel::localizedDescription(error))));
    // Only the delegate hears it: the slot's failure path would cancel the
    // glue and tear down a mediated interstitial that is on screen.
    sel::adFailedToReceiveContentWithError_(slot_.get(), error);
}

void YBXInterstitial::webAction(NSNotification* notification) {
    if (!notification) return;
    // "open" leaves the ad for its destination; other actions are the creative's own.
    if (notification->userInfo()["a"] == Value("open")) sel::cancelPendingActions(slot_.get());
}

void registerInterstitialClass() {
    ClassBuilder<YBXInterstitial>("YBXInterstitial", "NSObject")
        .protocol("YBXSlotAdEventDelegate")
        .protocol("YBXSlotDelegate")
        .method(sel::init,
                [](id self) {
                    Ref<Object> made = sel::init.super(objc_getClass("YBXInterstitial"), self);
                    if (YBXInterstitial* interstitial = interstitialOf(made.get())) interstitial->setUp();
                    return made;
                })
        .method(sel::loadRequest_, [](id self, id request) { interstitialOf(self)->loadRequest(request); })
        .method(sel::isReady, [](id self) { return interstitialOf(self)->isReady(); })
        .method(sel::presentFromRootViewController_, [](id self, id root) { interstitialOf(self)->presentFromRootViewController(root); })
        .method(sel::cancel, [](id self) { sel::cancelPendingAndFutureActions(interstitialOf(self)->slot_.get()); })
        .method(sel::canPresentFullScreen, [](id self) { return interstitialOf(self)->canPresentFullScreen(); })
        .method(sel::hasPresentedFullScreen, [](id self) { interstitialOf(self)->hasBeenUsed_ = true; })
        .method(sel::sendInterstitialUsageError, [](id self) { interstitialOf(self)->sendInterstitialUsageError(); })
        .method(sel::sendInterstitialError_, [](id self, id error) { interstitialOf(self)->sendInterstitialError(error); })
        .method(sel::webAction_, [](id self, id notification) { interstitialOf(self)->webAction(as<NSNotification>(notification)); })
        // Properties.
        .method(sel::adUnitID, [](id self) { return sel::adUnitID(interstitialOf(self)->slot_.get()); })
        .method(sel::setAdUnitID_, [](id self, Value adUnitID) { sel::setAdUnitID_(interstitialOf(self)->slot_.get(), adUnitID); })
        .method(sel::adNetworkClassName, [](id self) { return sel::adNetworkClassName(interstitialOf(self)->slot_.get()); })
        .method(sel::delegate, [](id self) { return interstitialOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { interstitialOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::inAppPurchaseDelegate, [](id self) { return interstitialOf(self)->inAppPurchaseDelegate_.lock(); })
        .method(sel::setInAppPurchaseDelegate_,
                [](id self, id delegate) { interstitialOf(self)->inAppPurchaseDelegate_ = WeakRef<Object>(delegate); })
        .getter<&YBXInterstitial::hasBeenUsed_>(sel::hasBeenUsed)
        .method(sel::request, [](id self) { return interstitialOf(self)->request_; })
        .method(sel::viewController, [](id self) { return interstitialOf(self)->viewController_; })
        .method(sel::slot, [](id self) { return interstitialOf(self)->slot_; })
        // Answers to the slot.
        .method(sel::slotShouldReloadCurrentRequest_, [](id, id) { return false; })
        .method(sel::coordinatesOfContentInScreen_,
                [](id self, id screen) {
                    Ref<Object> webView = sel::webView(interstitialOf(self)->slot_.get());
                    return webView ? positionOfViewInScreen(webView.get(), screen) : Value();
                })
        // Slot events.
        .method(sel::slotFinishedLoadingAdContent_, &relaySlotEvent<YBXInterstitial, sel::interstitialDidReceiveAd_>)
        .method(sel::slot_didFailToLoadAdContentWithError_,
                [](id self, id, id error) {
                    tellPublisherDelegate(interstitialOf(self)->delegate_, sel::interstitial_didFailToReceiveAdWithError_, self, error);
                })
        .method(sel::slotWillPresentScreen_, &relaySlotEvent<YBXInterstitial, sel::interstitialWillPresentScreen_>)
        .method(sel::slotWillDismissScreen_, &relaySlotEvent<YBXInterstitial, sel::interstitialWillDismissScreen_>)
        .method(sel::slotDidDismissScreen_, &relaySlotEvent<YBXInterstitial, sel::interstitialDidDismissScreen_>)
        .method(sel::slotWillLeaveApplication_, &relaySlotEvent<YBXInterstitial, sel::interstitialWillLeaveApplication_>);
}

}  // namespace adlib

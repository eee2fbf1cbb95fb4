#include "adlib/pipeline/banner_view.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/view_utilities.h"
#include "adlib/pipeline/publisher_delegate.h"
#include "adlib/pipeline/slot.h"
#include "platform/foundation/format.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/window.h"

namespace adlib {

namespace {

YBXBannerView* bannerOf(id self) { return as<YBXBannerView>(self); }

Class* bannerClass() { return objc_getClass("YBXBannerView"); }

void logUnusableSize(const YBXAdSize& size) {
    constexpr const char* kLine =
        "Unable to set adSize property with %@. Please use one of the standard ad sizes or create a custom ad size using YBXAdSizeFromCGSize.";
    pubLog(format(kLine, Value(YBXAdSizeDescription(size))));
}

bool sameSize(Size a, Size b) { return a.width == b.width && a.height == b.height; }

// An invalid request as the publisher's delegate hears it; the slot's state stays.
void refuseRequest(YBXBannerView* banner, id request) {
    Ref<Object> error = sel::errorWithCode_request_(YBXRequestErrorClass(), YBXErrorCodeInvalidRequest, request);
    sel::adFailedToReceiveContentWithError_(banner->slot_.get(), error.get());
}

Ref<Object> initWithFrameAdSize(id self, Rect frame, YBXAdSize size) {
    if (!YBXAdSizeIsValidForScreen(size)) return nullptr;
    Ref<Object> made = sel::initWithFrame_.super(bannerClass(), self, frame);
    if (YBXBannerView* banner = bannerOf(made.get())) banner->commonInit(size);
    return made;
}

Ref<Object> initWithAdSize(id self, YBXAdSize size) {
    if (!YBXAdSizeIsValidForScreen(size)) {
        logUnusableSize(size);
        return nullptr;
    }
    return sel::initWithFrame_adSize_(self, Rect{}, size);
}

}  // namespace

YBXBannerView::~YBXBannerView() {
    if (slot_) {
        sel::finishOptoraReporting(slot_.get());
        sel::cancelPendingAndFutureActions(slot_.get());
        sel::setAdEventDelegate_(slot_.get(), nullptr);
    }
    if (NSNotificationCenter* center = NSNotificationCenter::defaultCenter()) center->removeObserver(this);
}

void YBXBannerView::commonInit(const YBXAdSize& size) {
    slot_ = sel::initWithFrame_(alloc("YBXSlot"), bounds_);
    sel::setSlotDelegate_(slot_.get(), this);
    sel::setAdEventDelegate_(slot_.get(), this);
    Ref<Object> webView = sel::webView(slot_.get());
    sel::configureAsBannerAdView(webView.get());
    adView_ = webView;
    sel::addSubview_(this, webView.get());
    sel::setBackgroundColor_(this, sel::clearColor(objc_getClass("UIColor")).get());
    sel::setClipsToBounds_(this, true);
    sel::setAdSize_andReload_(this, size, false);
}

void YBXBannerView::loadRequest(id request) {
    if (!rootViewController_.lock()) {
        pubLog(format("Must set the rootViewController property of YBXBannerView before calling %@", Value("loadRequest:")));
        refuseRequest(this, request);
        return;
    }
    // A size that was never accepted (a decoded frame beyond the screen) leaves
    // the slot without a banner size: it must not ask for interstitials.
    if (sel::isInterstitial(sel::adType(slot_.get()).get())) {
        logUnusableSize(YBXAdSizeFromSize(bounds_.size));
        refuseRequest(this, request);
        return;
    }
    sel::loadRequest_(slot_.get(), request);
}

YBXAdSize YBXBannerView::adSize() const {
    Ref<Object> type = slot_ ? sel::adType(slot_.get()) : nullptr;
    if (!type || sel::isInterstitial(type.get())) return YBXAdSize{};
    return sel::adSize(type.get());
}

void YBXBannerView::setAdSize(const YBXAdSize& size, bool reload) {
    if (!slot_ || YBXAdSizesEqual(size, adSize())) return;
    if (!YBXAdSizeIsValidForScreen(size)) {
        logUnusableSize(size);
        return;
    }
    Rect frame = frameValue();
    frame.size = YBXAdSizeResolvedCGSize(size);
    // The base setter: the banner's own would take the frame for a new size.
    sel::setFrame_.super(bannerClass(), this, frame);
    sel::setAdType_andReloadRequest_(slot_.get(), sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), size).get(), reload);
}

void YBXBannerView::adoptSizeOf(Size size) {
    if (size.width == 0 && size.height == 0) return;
    if (sameSize(YBXAdSizeResolvedCGSize(adSize()), size)) return;
    sel::setAdSize_(this, YBXAdSizeFromSize(size));
}

void YBXBannerView::setRootViewController(id controller) {
    if (rootViewController_.lock().get() == controller) return;
    rootViewController_ = WeakRef<Object>(controller);
    sel::setViewController_(sel::webView(slot_.get()).get(), controller);
    if (isKindOfClass(adView_.get(), "YBXBannerView")) sel::setRootViewController_(adView_.get(), controller);
}

void YBXBannerView::setAdView(id view) {
    // The same view again is taken back when it left the banner (an MRAID resize lifts it out).
    if (adView_.get() == view) {
        if (view && sel::superview(view).get() != this) {
            sel::addSubview_(this, view);
            sel::setFrame_(view, Rect(0, 0, bounds_.width(), bounds_.height()));
        }
        return;
    }
    Ref<YBXBannerView> protector(this);
    if (adView_) sel::removeFromSuperview(adView_.get());
    adView_ = Ref<Object>(view);
    if (view) sel::addSubview_(this, view);
}

bool YBXBannerView::slotShouldReloadCurrentRequest() {
    // The banner view itself: the library hides its web view until the first
    // ad has loaded, so asking the web view would end refresh at a no-fill.
    if (hidden_) return false;
    return static_cast<bool>(superview());
}

void registerBannerViewClass() {
    ClassBuilder<YBXBannerView>("YBXBannerView", "UIView")
        .protocol("YBXSlotAdEventDelegate")
        .protocol("YBXSlotDelegate")
        // Creation.
        .method(sel::initWithFrame_adSize_, &initWithFrameAdSize)
        .method(sel::initWithAdSize_, &initWithAdSize)
        .method(sel::initWithAdSize_origin_,
                [](id self, YBXAdSize size, Point origin) {
                    Ref<Object> made = sel::initWithAdSize_(self, size);
                    if (YBXBannerView* banner = bannerOf(made.get())) {
                        Rect frame = banner->frameValue();
                        frame.origin = origin;
                        sel::setFrame_(banner, frame);
                    }
                    return made;
                })
        .method(sel::initWithFrame_, [](id self, Rect frame) { return sel::initWithFrame_adSize_(self, frame, YBXAdSizeFromSize(frame.size)); })
        .method(sel::initWithCoder_,
                [](id self, id coder) {
                    Ref<Object> made = sel::initWithCoder_.super(bannerClass(), self, coder);
                    if (YBXBannerView* banner = bannerOf(made.get())) banner->commonInit(YBXAdSizeFromSize(banner->bounds_.size));
                    return made;
                })
        .method(sel::commonInitWithAdSize_, [](id self, YBXAdSize size) { bannerOf(self)->commonInit(size); })
        // Public operations and properties.
        .method(sel::loadRequest_, [](id self, id request) { bannerOf(self)->loadRequest(request); })
        .method(sel::adUnitID, [](id self) { return sel::adUnitID(bannerOf(self)->slot_.get()); })
        .method(sel::setAdUnitID_, [](id self, Value adUnitID) { sel::setAdUnitID_(bannerOf(self)->slot_.get(), adUnitID); })
        .method(sel::adSize, [](id self) { return bannerOf(self)->adSize(); })
        .method(sel::setAdSize_,
                [](id self, YBXAdSize size) {
                    sel::setAdSize_andReload_(self, size, true);
                    if (!bannerOf(self)->translatesAutoresizingMaskIntoConstraints_) sel::invalidateIntrinsicContentSize(self);
                })
        .method(sel::setAdSize_andReload_, [](id self, YBXAdSize size, bool reload) { bannerOf(self)->setAdSize(size, reload); })
        .method(sel::rootViewController, [](id self) { return bannerOf(self)->rootViewController_.lock(); })
        .method(sel::setRootViewController_, [](id self, id controller) { bannerOf(self)->setRootViewController(controller); })
        .method(sel::delegate, [](id self) { return bannerOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { bannerOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::inAppPurchaseDelegate, [](id self) { return bannerOf(self)->inAppPurchaseDelegate_.lock(); })
        .method(sel::setInAppPurchaseDelegate_, [](id self, id delegate) { bannerOf(self)->inAppPurchaseDelegate_ = WeakRef<Object>(delegate); })
        .property<&YBXBannerView::createdOnMediationRequest_>(sel::createdOnMediationRequest, sel::setCreatedOnMediationRequest_)
        .method(sel::slot, [](id self) { return bannerOf(self)->slot_; })
        .method(sel::webView, [](id self) { return sel::webView(bannerOf(self)->slot_.get()); })
        .method(sel::hasAutoRefreshed, [](id self) { return sel::hasAutoRefreshed(bannerOf(self)->slot_.get()); })
        .method(sel::adNetworkClassName, [](id self) { return sel::adNetworkClassName(bannerOf(self)->slot_.get()); })
        .method(sel::mediatedAdView,
                [](id self) { return sel::isMediating(bannerOf(self)->slot_.get()) ? bannerOf(self)->adView_ : Ref<Object>(); })
        .method(sel::adView, [](id self) { return bannerOf(self)->adView_; })
        .method(sel::intrinsicContentSize, [](id self) { return YBXAdSizeResolvedCGSize(bannerOf(self)->adSize()); })
        .method(sel::setAlpha_, [](id self, double alpha) { sel::setAlpha_.super(bannerClass(), self, alpha == 0 ? 0.0 : 1.0); })
        .method(sel::setFrame_,
                [](id self, Rect frame) {
                    sel::setFrame_.super(bannerClass(), self, frame);
                    bannerOf(self)->adoptSizeOf(frame.size);
                })
        .method(sel::setBounds_,
                [](id self, Rect bounds) {
                    sel::setBounds_.super(bannerClass(), self, bounds);
                    bannerOf(self)->adoptSizeOf(bounds.size);
                })
        .method(sel::didMoveToWindow,
                [](id self) {
                    sel::didMoveToWindow.super(bannerClass(), self);
                    sel::bannerDidMoveToWindow_(bannerOf(self)->slot_.get(), bannerOf(self)->window().get());
                })
        // Answers to the slot.
        .method(sel::slotShouldReloadCurrentRequest_, [](id self, id) { return bannerOf(self)->slotShouldReloadCurrentRequest(); })
        .method(sel::slot_didReceiveAdView_, [](id self, id, id view) { bannerOf(self)->setAdView(view); })
        .method(sel::setAdView_, [](id self, id view) { bannerOf(self)->setAdView(view); })
        .method(sel::coordinatesOfContentInScreen_,
                [](id self, id screen) {
                    id view = bannerOf(self)->adView_.get();
                    return view ? positionOfViewInScreen(view, screen) : Value();
                })
        .method(sel::swipeToViewControllerView, [](id self) { return Ref<Object>(self); })
        // Slot events.
        .method(sel::slotFinishedLoadingAdContent_, &relaySlotEvent<YBXBannerView, sel::adViewDidReceiveAd_>)
        .method(sel::slot_didFailToLoadAdContentWithError_,
                [](id self, id, id error) { tellPublisherDelegate(bannerOf(self)->delegate_, sel::adView_didFailToReceiveAdWithError_, self, error); })
        .method(sel::slotWillPresentScreen_, &relaySlotEvent<YBXBannerView, sel::adViewWillPresentScreen_>)
        .method(sel::slotWillDismissScreen_, &relaySlotEvent<YBXBannerView, sel::adViewWillDismissScreen_>)
        .method(sel::slotDidDismissScreen_, &relaySlotEvent<YBXBannerView, sel::adViewDidDismissScreen_>)
        .method(sel::slotWillLeaveApplication_, &relaySlotEvent<YBXBannerView, sel::adViewWillLeaveApplication_>);
}

}  // namespace adlib

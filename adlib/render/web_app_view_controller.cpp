#include "adlib/render/web_app_view_controller.h"

#include <algorithm>
#include <numbers>

#include "adlib/foundation/device.h"
#include "adlib/foundation/intrinsic_images.h"
#include "adlib/foundation/view_utilities.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/operation_queue.h"
#include "platform/network/request.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/screen.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXWebAppViewController* controllerOf(id self) { return as<YBXWebAppViewController>(self); }

Class* controllerClass() { return objc_getClass("YBXWebAppViewController"); }

UIApplication* app() { return UIApplication::sharedApplication(); }

bool isLandscape(long long o) { return o == UIInterfaceOrientationLandscapeLeft || o == UIInterfaceOrientationLandscapeRight; }

Size sizeFor(Rect applicationFrame, long long o) {
    Size size = applicationFrame.size;
    if (isLandscape(o)) std::swap(size.width, size.height);
    return size;
}

Ref<Object> openerOf(YBXWebAppViewController* c) { return sel::opener(c->webViewDelegate_.get()); }

}  // namespace

Rect YBXFrameOfSizeCenteredInFrame(Size size, Rect frame) {
    return Rect(frame.x() + (frame.width() - size.width) / 2, frame.y() + (frame.height() - size.height) / 2, size.width, size.height);
}

AffineTransform YBXTransformForOrientation(long long orientation) {
    switch (orientation) {
        case UIInterfaceOrientationPortraitUpsideDown: return AffineTransform::makeRotation(std::numbers::pi);
        case UIInterfaceOrientationLandscapeRight: return AffineTransform::makeRotation(std::numbers::pi / 2);
        case UIInterfaceOrientationLandscapeLeft: return AffineTransform::makeRotation(-std::numbers::pi / 2);
        default: return AffineTransform::identity();
    }
}

Point YBXSlideInOffset(long long orientation, Rect f) {
    switch (orientation) {
        case UIInterfaceOrientationPortraitUpsideDown: return Point{0, -f.height()};
        case UIInterfaceOrientationLandscapeRight: return Point{-f.width(), 0};
        case UIInterfaceOrientationLandscapeLeft: return Point{f.width(), 0};
        default: return Point{0, f.height()};
    }
}

YBXWebAppViewController::~YBXWebAppViewController() {
    id webView = webView_.get();
    if (webView && sel::viewController(webView).get() == this) sel::setViewController_(webView, nullptr);
    if (Ref<Object> opener = sel::opener(webViewDelegate_.get())) sel::setSlot_(opener.get(), nullptr);
    if (webView && webViewDelegate_ && sel::delegate(webView).get() == webViewDelegate_.get()) sel::setDelegate_(webView, nullptr);
    if (renderedBanner_) sel::removeFromSuperview(renderedBanner_.get());
}

void YBXWebAppViewController::setUp(id webView) {
    if (webView) {
        webView_ = Ref<Object>(webView);
        // Only a banner's web view is given back; an interstitial's has no place to return to.
        isExpandable_ = static_cast<bool>(sel::superview(webView));
    } else {
        webView_ = sel::initWithFrame_(alloc("YBXWebView"), sel::bounds(sel::view(this).get()));
        sel::setViewController_(webView_.get(), this);
    }
    closeButton_ = sel::buttonWithType_(objc_getClass("UIButton"), UIButtonTypeCustom);
    id button = closeButton_.get();
    sel::setShowsTouchWhenHighlighted_(button, true);
    sel::setAccessibilityLabel_(button, Value(kYBXCloseButtonLabel));
    sel::addTarget_action_forControlEvents_(button, this, sel_registerName(sel::relinquishScreen.name), UIControlEventTouchUpInside);
}

void YBXWebAppViewController::load(NSURL* url) {
    if (!url) return;
    // Until the view is configured the page would load without its delegate.
    if (viewHasAppeared_) {
        sel::loadRequest_(webView_.get(), NSURLRequest::requestWithURL(url).get());
    } else {
        URLToLoad_ = Ref<NSURL>(url);
    }
}

void YBXWebAppViewController::loadHTML(const Value& html, NSURL* baseURL) {
    if (html.isNil()) return;
    if (viewHasAppeared_) {
        sel::loadHTMLString_baseURL_(webView_.get(), html, baseURL);
    } else {
        HTMLToLoad_ = html;
        HTMLBaseURLToLoad_ = Ref<NSURL>(baseURL);
    }
}

bool YBXWebAppViewController::isMRAIDSlot() { return sel::isMRAIDEnabled(slot_.lock().get()); }

void YBXWebAppViewController::updateCloseButtonVisibilityAndImage() {
    id button = closeButton_.get();
    const bool mraid = isMRAIDSlot();
    if (useCustomClose_ && !mraid) {
        sel::removeFromSuperview(button);
        return;
    }
    Ref<Object> images = YBXIntrinsicImagesSharedInstance();
    // An MRAID creative draws its own close mark over a live, invisible tap area.
    Ref<Object> image = useCustomClose_ ? sel::transparentImage(images.get()) : sel::closeButton(images.get());
    sel::setImage_forState_(button, image.get(), UIControlStateNormal);
    if (sel::superview(button)) return;
    Ref<Object> home = closeButtonHome_.lock();
    sel::addSubview_(home ? home.get() : sel::view(this).get(), button);
}

Rect YBXWebAppViewController::closeButtonFrameForContentFrame(Rect f) {
    if (isMRAIDSlot()) return Rect(f.x() + f.width() - 50, f.y(), 50, 50);
    return Rect(f.x(), f.y(), 32, 32);
}

bool YBXWebAppViewController::shouldDismissOnAppClose() {
    if (useCustomClose_) return true;
    const bool loaded = sel::hasLoadedAtLeastOnce(webViewDelegate_.get()) || isExpandable_;
    // The user comes back from the app the ad opened and finds the ad still there.
    return !(loaded && sel::didOpenAnotherApplication(openerOf(this).get()));
}

void YBXWebAppViewController::relinquishScreen() {
    if (!onScreen_) return;
    Ref<YBXWebAppViewController> protector(this);
    id webView = webView_.get();
    sel::notifyOfSdkEvent_(webView, "onhide");
    if (isExpandable_) {
        isCollapsing_ = true;
        sel::restoreState(webView);
        // The expansion's reset took the banner's settings; it stays visible.
        id inner = sel::webView(webView).get();
        sel::setBounces_(sel::scrollView(webView).get(), false);
        sel::setScalesPageToFit_(inner, false);
        sel::setMediaPlaybackRequiresUserAction_(webView, true);
    }
    YBXViewController::relinquishScreen();
}

void YBXWebAppViewController::configureView() {
    if (viewHasAppeared_) return;
    viewHasAppeared_ = true;
    Ref<YBXWebAppViewController> protector(this);
    id webView = webView_.get();
    Ref<Object> view = sel::view(this);
    if (isExpandable_) {
        sel::saveState(webView);
        sel::setViewController_(webView, this);
        renderedBanner_ = sel::initWithFrame_(alloc("UIImageView"), sel::frame(webView));
        sel::setImage_(renderedBanner_.get(), sel::ybx_render(webView).get());
        if (Ref<Object> banner = sel::superview(webView)) sel::insertSubview_aboveSubview_(banner.get(), renderedBanner_.get(), webView);
        sel::removeFromSuperview(webView);
        sel::reset(webView);
        sel::notifyOfSdkEvent_(webView, "expanding");
    }
    if (displayingAsTransparentInterstitial_) {
        composeTransparentInterstitial();
    } else {
        sel::setFrame_(webView, sel::bounds(view.get()));
        sel::setHidden_(webView, false);
        sel::addSubview_(view.get(), webView);
        closeButtonHome_ = WeakRef<Object>(view.get());
    }
    sel::setFrame_(closeButton_.get(), closeButtonFrameForContentFrame(sel::frame(webView)));
    updateCloseButtonVisibilityAndImage();

    Ref<Object> delegate = sel::initWithWebAppViewController_(alloc("YBXWebAppWebViewDelegate"), this);
    Ref<Object> opener = sel::opener(delegate.get());
    sel::setSlot_(opener.get(), slot_.lock().get());
    if (displayingAsTransparentInterstitial_) sel::setDelegate_(opener.get(), this);
    sel::setFileAccessAllowed_(delegate.get(), sel::isFileAccessAllowed(sel::delegate(webView).get()));
    webViewDelegate_ = delegate;
    sel::setDelegate_(webView, delegate.get());

    if (Ref<NSURL> url = std::move(URLToLoad_)) {
        sel::loadRequest_(webView, NSURLRequest::requestWithURL(url.get()).get());
    } else if (!HTMLToLoad_.isNil()) {
        Value html = std::move(HTMLToLoad_);
        HTMLToLoad_ = Value();
        Ref<NSURL> base = std::move(HTMLBaseURLToLoad_);
        sel::loadHTMLString_baseURL_(webView, html, base.get());
    }
    if (displayingAsTransparentInterstitial_) animateTransparentInterstitialPresentation();
}

void YBXWebAppViewController::composeTransparentInterstitial() {
    id webView = webView_.get();
    Ref<Object> view = sel::view(this);
    Ref<Object> clear = sel::clearColor(objc_getClass("UIColor"));
    sel::setBackgroundColor_(view.get(), clear.get());
    sel::setBackgroundColor_(webView, clear.get());
    sel::setOpaque_(webView, false);
    YBXDevice* device = YBXDevice::currentDevice();
    const Rect f = device->standardizedApplicationFrame();
    sel::setFrame_(view.get(), f);
    const Rect screen = device->standardizedScreenBounds();
    const double side = std::max(screen.width(), screen.height());
    contentView_ = UIView::make("UIView", YBXFrameOfSizeCenteredInFrame(Size{side, side}, sel::bounds(view.get())));
    id content = contentView_.get();
    sel::setBackgroundColor_(content, clear.get());
    const long long o = sel::statusBarOrientation(app());
    sel::setFrame_(webView, YBXFrameOfSizeCenteredInFrame(sizeFor(f, o), sel::bounds(content)));
    sel::setHidden_(webView, false);
    sel::addSubview_(content, webView);
    sel::addSubview_(content, closeButton_.get());
    closeButtonHome_ = WeakRef<Object>(content);
    sel::addSubview_(view.get(), content);
    sel::setTransform_(content, YBXTransformForOrientation(o));
    sel::forceRotateToOrientation_(webView, o);
    NSNotificationCenter::defaultCenter()->addObserver(this, sel::transparentInterstitialOrientationChanged_,
                                                       UIApplicationDidChangeStatusBarFrameNotification, Value());
}

void YBXWebAppViewController::updateTransparentInterstitialOrientation() {
    const Rect f = YBXDevice::currentDevice()->standardizedApplicationFrame();
    const long long o = sel::statusBarOrientation(app());
    Ref<YBXWebAppViewController> self(this);
    UIView::animateWithDuration(
        kYBXTransparentInterstitialAnimationDuration,
        [self, f, o] {
            id content = self->contentView_.get();
            id webView = self->webView_.get();
            sel::setFrame_(sel::view(self.get()).get(), f);
            sel::setCenter_(content, Point{f.width() / 2, f.height() / 2});
            const Rect frame = YBXFrameOfSizeCenteredInFrame(sizeFor(f, o), sel::bounds(content));
            sel::setFrame_(webView, frame);
            sel::setFrame_(self->closeButton_.get(), self->closeButtonFrameForContentFrame(frame));
            sel::setTransform_(content, YBXTransformForOrientation(o));
        },
        [self, o](bool) { sel::didRotateToOrientation_(self->webView_.get(), o); });
}

void YBXWebAppViewController::animateTransparentInterstitialPresentation() {
    const Rect f = YBXDevice::currentDevice()->standardizedApplicationFrame();
    const Point offset = YBXSlideInOffset(sel::statusBarOrientation(app()), f);
    Ref<Object> content = contentView_;
    const Point home = sel::center(content.get());
    sel::setCenter_(content.get(), Point{home.x + offset.x, home.y + offset.y});
    UIView::animateWithDuration(kYBXTransparentInterstitialAnimationDuration, [content, home] { sel::setCenter_(content.get(), home); });
}

void YBXWebAppViewController::dismiss() {
    hostViewController_ = nullptr;
    if (!displayingAsTransparentInterstitial_) {
        sel::dismiss.super(controllerClass(), this);
        return;
    }
    NSNotificationCenter::defaultCenter()->removeObserver(this, UIApplicationDidChangeStatusBarFrameNotification, Value());
    displayingAsTransparentInterstitial_ = false;
    // The fade holds the controller: nothing else may by now.
    Ref<YBXWebAppViewController> self(this);
    UIView::animateWithDuration(
        kYBXFadeDuration, [self] { sel::setAlpha_(self->webView_.get(), 0); },
        [self](bool) { sel::removeFromSuperview(sel::view(self.get()).get()); });
}

void registerWebAppViewControllerClass() {
    ClassBuilder<YBXWebAppViewController>("YBXWebAppViewController", "YBXViewController")
        .protocol("YBXOpenerDelegate")
        .method(sel::init, [](id self) { return sel::initWithWebView_(self, nullptr); })
        .method(sel::initWithWebView_,
                [](id self, id webView) {
                    // The stand-in's initWithNibName:bundle: comes back through init, which lands here.
                    Ref<Object> made = sel::init.super(controllerClass(), self);
                    if (YBXWebAppViewController* c = controllerOf(made.get())) c->setUp(webView);
                    return made;
                })
        .method(sel::load_, [](id self, NSURL* url) { controllerOf(self)->load(url); })
        .method(sel::loadHTML_baseURL_, [](id self, Value html, NSURL* base) { controllerOf(self)->loadHTML(html, base); })
        .method(sel::isFileAccessAllowed, [](id self) { return sel::isFileAccessAllowed(sel::delegate(controllerOf(self)->webView_.get()).get()); })
        .method(sel::setFileAccessAllowed_,
                [](id self, bool allowed) { sel::setFileAccessAllowed_(sel::delegate(controllerOf(self)->webView_.get()).get(), allowed); })
        .getter<&YBXWebAppViewController::useCustomClose_>(sel::useCustomClose)
        .method(sel::setUseCustomClose_,
                [](id self, bool custom) {
                    YBXWebAppViewController* c = controllerOf(self);
                    if (c->useCustomClose_ == custom) return;
                    c->useCustomClose_ = custom;
                    sel::updateCloseButtonVisibilityAndImage(self);
                })
        .property<&YBXWebAppViewController::transparentInterstitial_>(sel::transparentInterstitial, sel::setTransparentInterstitial_)
        .getter<&YBXWebAppViewController::displayingAsTransparentInterstitial_>(sel::displayingAsTransparentInterstitial)
        .getter<&YBXWebAppViewController::isExpandable_>(sel::isExpandable)
        .getter<&YBXWebAppViewController::isCollapsing_>(sel::isCollapsing)
        .getter<&YBXWebAppViewController::viewHasAppeared_>(sel::viewHasAppeared)
        .method(sel::updateCloseButtonVisibilityAndImage, [](id self) { controllerOf(self)->updateCloseButtonVisibilityAndImage(); })
        .method(sel::closeButtonFrameForContentFrame_, [](id self, Rect f) { return controllerOf(self)->closeButtonFrameForContentFrame(f); })
        .method(sel::shouldDismissOnAppClose, [](id self) { return controllerOf(self)->shouldDismissOnAppClose(); })
        .method(sel::appDidEnterForeground_,
                [](id self, id note) {
                    YBXWebAppViewController* c = controllerOf(self);
                    const bool stays = c->onScreen_ && !sel::shouldDismissOnAppClose(self);
                    sel::appDidEnterForeground_.super(controllerClass(), self, note);
                    if (!stays) return;
                    // Spent after this return is handled, so that a controller
                    // stacked on this one hears the same answer meanwhile.
                    Ref<Object> opener = openerOf(c);
                    NSOperationQueue::mainQueue()->addOperationWithBlock([opener] { sel::setDidOpenAnotherApplication_(opener.get(), false); });
                })
        .method(sel::relinquishScreen, [](id self) { controllerOf(self)->relinquishScreen(); })
        .method(sel::presentFrom_,
                [](id self, id host) {
                    YBXWebAppViewController* c = controllerOf(self);
                    c->hostViewController_ = Ref<Object>(host);
                    if (!c->transparentInterstitial_) {
                        sel::presentFrom_.super(controllerClass(), self, host);
                        return;
                    }
                    c->displayingAsTransparentInterstitial_ = true;
                    if (Ref<Object> window = sel::keyWindow(app())) sel::addSubview_(window.get(), sel::view(self).get());
                })
        .method(sel::dismiss, [](id self) { controllerOf(self)->dismiss(); })
        .method(sel::hideStatusBar,
                [](id self) {
                    if (!controllerOf(self)->transparentInterstitial_) sel::hideStatusBar.super(controllerClass(), self);
                })
        .method(sel::ensureStatusBarHidden,
                [](id self) {
                    if (!controllerOf(self)->transparentInterstitial_) sel::ensureStatusBarHidden.super(controllerClass(), self);
                })
        .method(sel::restoreStatusBar,
                [](id self) {
                    if (!controllerOf(self)->transparentInterstitial_) sel::restoreStatusBar.super(controllerClass(), self);
                })
        .method(sel::didOpenInApplication,
                [](id self) {
                    if (controllerOf(self)->displayingAsTransparentInterstitial_) sel::relinquishScreen(self);
                })
        .method(sel::didLeaveApplication, [](id) {})
        .method(sel::configureView, [](id self) { controllerOf(self)->configureView(); })
        .method(sel::updateTransparentInterstitialOrientation, [](id self) { controllerOf(self)->updateTransparentInterstitialOrientation(); })
        .method(sel::transparentInterstitialOrientationChanged_, [](id self, id) { sel::updateTransparentInterstitialOrientation(self); })
        .method(sel::animateTransparentInterstitialPresentation,
                [](id self) { controllerOf(self)->animateTransparentInterstitialPresentation(); })
        .method(sel::viewWillAppear_,
                [](id self, bool animated) {
                    sel::viewWillAppear_.super(controllerClass(), self, animated);
                    sel::configureView(self);
                    // Only the interstitial's own controller watches its slot's viewability.
                    YBXWebAppViewController* c = controllerOf(self);
                    if (c->interstitial_.lock()) sel::interstitialViewWillAppear(c->slot_.lock().get());
                })
        .method(sel::viewWillDisappear_,
                [](id self, bool animated) {
                    sel::viewWillDisappear_.super(controllerClass(), self, animated);
                    YBXWebAppViewController* c = controllerOf(self);
                    if (c->interstitial_.lock()) sel::interstitialViewWillDisappear(c->slot_.lock().get());
                })
        .method(sel::viewDidAppear_,
                [](id self, bool animated) {
                    sel::viewDidAppear_.super(controllerClass(), self, animated);
                    YBXWebAppViewController* c = controllerOf(self);
                    sel::forceRotateToOrientation_(c->webView_.get(), sel::interfaceOrientation(self));
                    sel::setPendingOnShow_(c->webViewDelegate_.get(), true);
                })
        .method(sel::viewDidDisappear_,
                [](id self, bool animated) {
                    sel::viewDidDisappear_.super(controllerClass(), self, animated);
                    YBXWebAppViewController* c = controllerOf(self);
                    if (!c->isCollapsing_) return;
                    c->isCollapsing_ = false;
                    sel::notifyOfSdkEvent_(c->webView_.get(), "collapsed");
                })
        .method(sel::willRotateToInterfaceOrientation_duration_,
                [](id self, long long o, double duration) {
                    sel::willRotateToInterfaceOrientation_duration_.super(controllerClass(), self, o, duration);
                    YBXWebAppViewController* c = controllerOf(self);
                    if (!c->isMRAIDSlot()) return;
                    Ref<Object> button = c->closeButton_;
                    UIView::animateWithDuration(kYBXFadeDuration, [button] { sel::setAlpha_(button.get(), 0); });
                })
        .method(sel::didRotateFromInterfaceOrientation_,
                [](id self, long long from) {
                    sel::didRotateFromInterfaceOrientation_.super(controllerClass(), self, from);
                    YBXWebAppViewController* c = controllerOf(self);
                    if (c->isMRAIDSlot()) {
                        Ref<Object> button = c->closeButton_;
                        Rect frame = sel::frame(button.get());
                        frame.origin.x = sel::frame(c->webView_.get()).width() - 50;
                        sel::setFrame_(button.get(), frame);
                        UIView::animateWithDuration(kYBXFadeDuration, [button] { sel::setAlpha_(button.get(), 1); });
                    }
                    sel::didRotateToOrientation_(c->webView_.get(), sel::interfaceOrientation(self));
                })
        .method(sel::webView, [](id self) { return controllerOf(self)->webView_; })
        .method(sel::webViewDelegate, [](id self) { return controllerOf(self)->webViewDelegate_; })
        .method(sel::closeButton, [](id self) { return controllerOf(self)->closeButton_; })
        .method(sel::contentView, [](id self) { return controllerOf(self)->contentView_; })
        .method(sel::renderedBanner, [](id self) { return controllerOf(self)->renderedBanner_; })
        .method(sel::hostViewController, [](id self) { return controllerOf(self)->hostViewController_; })
        .method(sel::interstitial, [](id self) { return controllerOf(self)->interstitial_.lock(); })
        .method(sel::setInterstitial_, [](id self, id interstitial) { controllerOf(self)->interstitial_ = WeakRef<Object>(interstitial); });
}

}  // namespace adlib

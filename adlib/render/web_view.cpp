#include "adlib/render/web_view.h"

#include "adlib/foundation/device.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/pipeline/request.h"
#include "adlib/render/web_view_cache_set.h"
#include "platform/foundation/format.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/request.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/uikit/pasteboard.h"
#include "platform/uikit/touch.h"

namespace adlib {

namespace {

YBXWebView* viewOf(id self) { return as<YBXWebView>(self); }

Class* webViewClass() { return objc_getClass("YBXWebView"); }

// The delegate, held while it is told, when it answers the selector.
Ref<Object> delegateFor(id self, SEL selector) {
    Ref<Object> delegate = viewOf(self)->delegate_.lock();
    return delegate && respondsToSelector(delegate.get(), selector.name) ? delegate : nullptr;
}

// Absent, negative or above 9: the default of 4. A stored text reads as its number.
unsigned long long cacheCapacity() {
    const Value stored = NSUserDefaults::standardUserDefaults()->objectForKey(kYBXWebViewCacheCapacityKey);
    if (!stored.isNumber() && !stored.isString()) return 4;
    const long long capacity = stored.integerValue();
    return capacity < 0 || capacity > 9 ? 4 : static_cast<unsigned long long>(capacity);
}

long long angleFor(long long orientation) {
    switch (orientation) {
        case 2: return 180;
        case 3: return 90;
        case 4: return -90;
        default: return 0;
    }
}

constexpr const char* kOrientationChangeEvent =
    "(function(){var event = document.createEvent('Events');event.initEvent('orientationchange', true, false);window.dispatchEvent(event);})();";

Class* stashClass() { return objc_getClass("YBXAdURLStash"); }

}  // namespace

Ref<Object> YBXWebViewCache() {
    // Never destroyed: a web view let go during exit may still put itself back.
    static Object* const cache = sel::initWithMaxCapacity_(alloc("YBXWebViewCacheSet"), cacheCapacity()).leak();
    return cache;
}

YBXWebView::~YBXWebView() {
    if (gesture_) sel::setDelegate_(gesture_.get(), nullptr);
    if (alertView_) sel::setDelegate_(alertView_.get(), nullptr);
    if (URL_) sel::remove_forView_(stashClass(), URL_.get(), this);
    if (!webView_) return;
    webView_->delegate_ = nullptr;
    sel::cacheWebView_(webViewClass(), webView_.get());
}

void YBXWebView::setUp() {
    gestureDelegate_ = newObject("YBXUIWebViewGestureDelegate");
    gesture_ = sel::initWithTarget_action_(alloc("YBXImpressionTicketGestureRecognizer"), nullptr, SEL());
    sel::setDelegate_(gesture_.get(), gestureDelegate_.get());
    showDebug_ = true;
    const Rect inside = bounds_;
    // A browser never reuses a view: its history would lead back to an earlier ad's pages.
    Ref<Object> cached = isKindOfClass(this, "YBXBrowserWebView") ? Ref<Object>() : sel::cachedWebView(webViewClass());
    if (auto* reused = as<UIWebView>(cached.get())) {
        webView_ = Ref<UIWebView>(reused);
        sel::setFrame_(reused, inside);
    } else {
        webView_ = UIView::make<UIWebView>("UIWebView", inside);
    }
    if (!webView_) return;
    sel::setDelegate_(webView_.get(), this);
    sel::setBounces_(sel::scrollView(webView_.get()).get(), true);
    sel::setAutoresizingMask_(webView_.get(), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::addSubview_(this, webView_.get());
    sel::reset(this);
}

void YBXWebView::reset() {
    id inner = webView_.get();
    sel::setClipsToBounds_(inner, true);
    sel::setScalesPageToFit_(inner, true);
    sel::setAutoresizingMask_(this, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::setOpaque_(this, false);
    sel::setBackgroundColor_(this, sel::clearColor(objc_getClass("UIColor")).get());
    sel::setDataDetectorTypes_(inner, UIDataDetectorTypeNone);
    sel::setAllowsInlineMediaPlayback_(inner, true);
    sel::setMediaPlaybackAllowsAirPlay_(inner, true);
    sel::setMediaPlaybackRequiresUserAction_(inner, false);
    Ref<Object> scroll = sel::scrollView(inner);
    sel::setScrollEnabled_(scroll.get(), true);
    sel::setScrollsToTop_(scroll.get(), false);
    sel::createGestureRecognizer(this);
}

void YBXWebView::createGestureRecognizer() {
    if (!gesture_) return;
    sel::addTarget_action_(gesture_.get(), this, sel_registerName(sel::handleGesture_.name));
    sel::addGestureRecognizer_(this, gesture_.get());
}

void YBXWebView::setURL(NSURL* url, id view) {
    if (URL_) sel::remove_forView_(stashClass(), URL_.get(), this);
    URL_ = Ref<NSURL>(url);
    // A page without an address (HTML given as text) has nothing to stash.
    if (url) sel::add_forView_(stashClass(), url, view);
}

void YBXWebView::notifyOfSdkEvent(const std::string& event) {
    if (!didReceiveLoadEvent_) return;
    Value userInfo{{"version", YBXRequest::sdkVersion()},
                   {"device", Value(YBXDevice::currentDevice()->deviceSubmodel())}};
    YBXNotificationCenter::postJSNotification(event, userInfo, this);
}

void YBXWebView::setHTMLWindowOrientation(long long orientation, bool dispatchChangeEvent) {
    if (orientation < 1 || orientation > 4 || orientation == orientation_) return;
    orientation_ = orientation;
    std::string script = format("window.__defineGetter__('orientation',function(){return %ld;});", angleFor(orientation));
    if (dispatchChangeEvent)
        script += kOrientationChangeEvent;
    sel::stringByEvaluatingJavaScriptFromString_(webView_.get(), Value(script));
}

void YBXWebView::saveState() {
    savedFrame_ = sel::frame(this);
    savedSuperview_ = superview();
    savedDelegate_ = delegate_;
    viewControllerBeforeExpanded_ = viewController_;
    savedState_ = true;
}

void YBXWebView::restoreState() {
    if (!savedState_) return;
    Ref<YBXWebView> protector(this);
    sel::removeFromSuperview(this);
    sel::setFrame_(this, savedFrame_);
    savedFrame_ = Rect();
    Ref<Object> superview = std::move(savedSuperview_);
    if (superview) sel::addSubview_(superview.get(), this);
    delegate_ = savedDelegate_;
    savedDelegate_ = WeakRef<Object>();
    viewController_ = viewControllerBeforeExpanded_;
    viewControllerBeforeExpanded_ = WeakRef<Object>();
    savedState_ = false;
}

void YBXWebView::showDebugDialog() {
    if (!showDebug_) return;
    const bool hasText = adDebugDialog_.isString();
    Value others = hasText ? Value::array({Value("Publisher Toolbar"), Value("Copy"), Value("Report")})
                           : Value::array({Value("Publisher Toolbar")});
    alertView_ = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(
        alloc("UIAlertView"), Value("Debug Creative Info"), hasText ? adDebugDialog_ : Value("Creative information is not available"),
        this, Value("OK"), others);
    sel::show(alertView_.get());
}

void YBXWebView::debugDialogClicked(long long index) {
    if (index == 1) {
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(kYBXPublisherToolbarSentinelURL).get());
        sel::webView_shouldStartLoadWithRequest_navigationType_(this, webView_.get(), request.get(), UIWebViewNavigationTypeOther);
        return;
    }
    if (!adDebugDialog_.isString() || adDebugDialog_.string().empty()) return;
    if (index == 2) sel::setString_(UIPasteboard::generalPasteboard(), adDebugDialog_);
    if (index == 3) sel::reportBadAd_(this, adDebugDialog_);
}

bool YBXWebView::shouldStartLoad(NSURLRequest* request, long long navigationType) {
    Ref<YBXWebView> protector(this);
    Ref<Object> delegate = delegateFor(this, sel::webView_shouldStartLoadWithRequest_navigationType_);
    // Without a delegate that decides, every load goes ahead.
    const bool allowed =
        !delegate || sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), this, request, navigationType);
    // A new document has no orientation getter yet: the next push must define it again.
    if (allowed && request && request->isMainFrame() && !YBXNotification::isNotificationURL(request->URL())) orientation_ = 0;
    return allowed;
}

void registerWebViewClass() {
    ClassBuilder<YBXWebView>("YBXWebView", "UIView")
        .protocol("UIAlertViewDelegate")
        .protocol("UIWebViewDelegate")
        .classMethod(sel::webViewCache, [](id) { return YBXWebViewCache(); })
        .classMethod(sel::cachedWebView, [](id) { return Ref<Object>(sel::anyObject(YBXWebViewCache().get()).object()); })
        .classMethod(sel::cacheWebView_, [](id, id view) { sel::addObject_(YBXWebViewCache().get(), Value(view)); })
        .method(sel::initWithFrame_,
                [](id self, Rect frame) {
                    Ref<Object> made = sel::initWithFrame_.super(webViewClass(), self, frame);
                    if (YBXWebView* view = viewOf(made.get())) view->setUp();
                    return made;
                })
        .method(sel::reset, [](id self) { viewOf(self)->reset(); })
        .method(sel::createGestureRecognizer, [](id self) { viewOf(self)->createGestureRecognizer(); })
        .method(sel::configureAsBannerAdView,
                [](id self) {
                    id inner = viewOf(self)->webView_.get();
                    sel::setBounces_(sel::scrollView(inner).get(), false);
                    sel::setScalesPageToFit_(inner, false);
                    sel::setMediaPlaybackRequiresUserAction_(inner, true);
                    // The banner delegate shows it once the ad has loaded.
                    sel::setHidden_(self, true);
                })
        .method(sel::configureAsInterstitialAdView, [](id self) { sel::setScalesPageToFit_(viewOf(self)->webView_.get(), false); })
        .method(sel::loadHTMLString_baseURL_,
                [](id self, Value html, id baseURL) {
                    YBXWebView* view = viewOf(self);
                    view->didReceiveLoadEvent_ = false;
                    view->orientation_ = 0;
                    sel::setURL_forView_(self, as<NSURL>(baseURL), self);
                    sel::loadHTMLString_baseURL_(view->webView_.get(), html, baseURL);
                })
        .method(sel::setURL_forView_, [](id self, NSURL* url, id view) { viewOf(self)->setURL(url, view); })
        .method(sel::URL, [](id self) -> Ref<Object> { return viewOf(self)->URL_; })
        .method(sel::notifyOfSdkEvent_, [](id self, std::string event) { viewOf(self)->notifyOfSdkEvent(event); })
        .method(sel::forceRotateToOrientation_,
                [](id self, long long o) { sel::setHTMLWindowOrientation_shouldDispatchOrientationChangeEvent_(self, o, true); })
        .method(sel::didRotateToOrientation_,
                [](id self, long long o) { sel::setHTMLWindowOrientation_shouldDispatchOrientationChangeEvent_(self, o, false); })
        .method(sel::setHTMLWindowOrientation_shouldDispatchOrientationChangeEvent_,
                [](id self, long long o, bool dispatch) { viewOf(self)->setHTMLWindowOrientation(o, dispatch); })
        .method(sel::saveState, [](id self) { viewOf(self)->saveState(); })
        .method(sel::restoreState, [](id self) { viewOf(self)->restoreState(); })
        .method(sel::reportBadAd_, [](id, Value text) { sel::reportBadAd_(sel::sharedInstance(objc_getClass("YBXBadAdUtil")).get(), text); })
        .method(sel::hitTest_withEvent_,
                [](id self, Point point, id event) -> Ref<Object> {
                    Ref<Object> hit = sel::hitTest_withEvent_.super(webViewClass(), self, point, event);
                    // Only a touch that lands on this view counts, not one anywhere in its superview.
                    if (hit && sel::type(event) == UIEventTypeTouches) viewOf(self)->touched_ = true;
                    return hit;
                })
        .method(sel::handleGesture_, [](id self, id) { viewOf(self)->showDebugDialog(); })
        .method(sel::alertView_clickedButtonAtIndex_, [](id self, id, long long index) { viewOf(self)->debugDialogClicked(index); })
        .method(sel::webView, [](id self) -> Ref<Object> { return viewOf(self)->webView_; })
        .method(sel::delegate, [](id self) { return viewOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { viewOf(self)->delegate_ = delegate; })
        .method(sel::viewController, [](id self) { return viewOf(self)->viewController_.lock(); })
        .method(sel::setViewController_, [](id self, id controller) { viewOf(self)->viewController_ = controller; })
        .property<&YBXWebView::touched_>(sel::touched, sel::setTouched_)
        .property<&YBXWebView::showDebug_>(sel::showDebug, sel::setShowDebug_)
        .method(sel::adDebugDialog, [](id self) { return viewOf(self)->adDebugDialog_; })
        .method(sel::setAdDebugDialog_, [](id self, Value text) { viewOf(self)->adDebugDialog_ = text.isString() ? text : Value(); })
        .property<&YBXWebView::didReceiveLoadEvent_>(sel::didReceiveLoadEvent, sel::setDidReceiveLoadEvent_)
        .getter<&YBXWebView::orientation_>(sel::orientation)
        .getter<&YBXWebView::savedState_>(sel::savedState)
        .method(sel::gesture, [](id self) { return viewOf(self)->gesture_; })
        .method(sel::gestureDelegate, [](id self) { return viewOf(self)->gestureDelegate_; })
        .method(sel::alertView, [](id self) { return viewOf(self)->alertView_; })
        .property<&YBXWebView::optoraVisibility_>(sel::optoraVisibility, sel::setOptoraVisibility_)
        .method(sel::optoraObserver, [](id self) { return viewOf(self)->optoraObserver_.lock(); })
        .method(sel::setOptoraObserver_, [](id self, id observer) { viewOf(self)->optoraObserver_ = observer; })
        .method(sel::optoraUnloadPingReceived, [](id self) { return viewOf(self)->optoraUnloadPingReceived_.load(); })
        .method(sel::setOptoraUnloadPingReceived_, [](id self, bool received) { viewOf(self)->optoraUnloadPingReceived_ = received; })
        // Forwarded to the inner view.
        .method(sel::loadRequest_, [](id self, id request) { sel::loadRequest_(viewOf(self)->webView_.get(), request); })
        .method(sel::stringByEvaluatingJavaScriptFromString_,
                [](id self, Value script) { return sel::stringByEvaluatingJavaScriptFromString_(viewOf(self)->webView_.get(), script); })
        .method(sel::goBack, [](id self) { sel::goBack(viewOf(self)->webView_.get()); })
        .method(sel::goForward, [](id self) { sel::goForward(viewOf(self)->webView_.get()); })
        .method(sel::stopLoading, [](id self) { sel::stopLoading(viewOf(self)->webView_.get()); })
        .method(sel::reload, [](id self) { sel::reload(viewOf(self)->webView_.get()); })
        .method(sel::scrollView, [](id self) { return sel::scrollView(viewOf(self)->webView_.get()); })
        .method(sel::isOpaque, [](id self) { return sel::isOpaque(viewOf(self)->webView_.get()); })
        .method(sel::setOpaque_,
                [](id self, bool opaque) {
                    sel::setOpaque_.super(webViewClass(), self, opaque);
                    sel::setOpaque_(viewOf(self)->webView_.get(), opaque);
                })
        .method(sel::setBackgroundColor_, [](id self, id color) { sel::setBackgroundColor_(viewOf(self)->webView_.get(), color); })
        .method(sel::backgroundColor, [](id self) { return sel::backgroundColor(viewOf(self)->webView_.get()); })
        .method(sel::setDataDetectorTypes_,
                [](id self, unsigned long long types) { sel::setDataDetectorTypes_(viewOf(self)->webView_.get(), types); })
        .method(sel::dataDetectorTypes, [](id self) { return sel::dataDetectorTypes(viewOf(self)->webView_.get()); })
        .method(sel::setMediaPlaybackRequiresUserAction_,
                [](id self, bool required) { sel::setMediaPlaybackRequiresUserAction_(viewOf(self)->webView_.get(), required); })
        .method(sel::mediaPlaybackRequiresUserAction, [](id self) { return sel::mediaPlaybackRequiresUserAction(viewOf(self)->webView_.get()); })
        .method(sel::canGoBack, [](id self) { return sel::canGoBack(viewOf(self)->webView_.get()); })
        .method(sel::canGoForward, [](id self) { return sel::canGoForward(viewOf(self)->webView_.get()); })
        .method(sel::isLoading, [](id self) { return sel::isLoading(viewOf(self)->webView_.get()); })
        .method(sel::request, [](id self) { return sel::request(viewOf(self)->webView_.get()); })
        .method(sel::setFrame_,
                [](id self, Rect frame) {
                    sel::setFrame_.super(webViewClass(), self, frame);
                    if (YBXWebView* view = viewOf(self); view->webView_) sel::setFrame_(view->webView_.get(), view->bounds_);
                })
        // The inner view's delegate: each event goes on with this view first.
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long type) { return viewOf(self)->shouldStartLoad(as<NSURLRequest>(request), type); })
        .method(sel::webViewDidStartLoad_,
                [](id self, id) {
                    if (Ref<Object> delegate = delegateFor(self, sel::webViewDidStartLoad_)) sel::webViewDidStartLoad_(delegate.get(), self);
                })
        .method(sel::webViewDidFinishLoad_,
                [](id self, id) {
                    if (Ref<Object> delegate = delegateFor(self, sel::webViewDidFinishLoad_)) sel::webViewDidFinishLoad_(delegate.get(), self);
                })
        .method(sel::webView_didFailLoadWithError_, [](id self, id, id error) {
            if (Ref<Object> delegate = delegateFor(self, sel::webView_didFailLoadWithError_))
                sel::webView_didFailLoadWithError_(delegate.get(), self, error);
        });

    ClassBuilder<YBXWebView>("YBXBrowserWebView", "YBXWebView")
        .method(sel::setViewController_,
                [](id self, id controller) {
                    // Only the in-app browser presents from a browser page.
                    if (isKindOfClass(controller, "YBXBrowserViewController")) viewOf(self)->viewController_ = controller;
                })
        .method(sel::browserViewController, [](id self) -> Ref<Object> {
            Ref<Object> controller = viewOf(self)->viewController_.lock();
            return isKindOfClass(controller.get(), "YBXBrowserViewController") ? controller : nullptr;
        });

    ClassBuilder<NSObject>("YBXUIWebViewGestureDelegate", "NSObject")
        .protocol("UIGestureRecognizerDelegate")
        .method(sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_, [](id, id, id other) {
            // The zig-zag never holds back the page's own scrolling and taps.
            return !isKindOfClass(other, "YBXImpressionTicketGestureRecognizer");
        });
}

}  // namespace adlib

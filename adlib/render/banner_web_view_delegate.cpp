#include "adlib/render/banner_web_view_delegate.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/slot.h"
#include "adlib/pipeline/slot_neighbours.h"
#include "platform/foundation/ns_string.h"
#include "platform/network/url.h"
#include "platform/webkit/page_engine.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXBannerWebViewDelegate* delegateOf(id self) { return as<YBXBannerWebViewDelegate>(self); }

bool isInterstitialSlot(id slot) { return sel::isInterstitial(sel::adType(slot).get()); }

Ref<Object> initWithSlot(id self, id slot) {
    Ref<Object> made = sel::init(self);
    YBXBannerWebViewDelegate* delegate = delegateOf(made.get());
    if (!delegate) return made;
    delegate->slot_ = WeakRef<Object>(slot);
    id opener = delegate->opener_.get();
    sel::setSlot_(opener, slot);
    sel::addPMSGHandler_(delegate, sel::initWithSlot_(alloc("YBXAppEventPMSGHandler"), slot).get());
    sel::addPMSGHandler_(delegate, newObject("YBXWebAppPMSGHandler").get());
    sel::addPMSGHandler_(delegate, sel::initWithSlot_(alloc("YBXSwipeToViewControllerPMSGHandler"), slot).get());
    return made;
}

}  // namespace

bool YBXBannerWebViewDelegate::isClick(long long navigationType) {
    Ref<Object> slot = slot_.lock();
    if (!slot) return false;
    switch (sel::YBXSlot_state(slot.get())) {
        case YBXSlotStateIdle:
        case YBXSlotStateRequestingAdURL:
        case YBXSlotStateAdURLReceived:
        case YBXSlotStateFetching:
        case YBXSlotStateValidAd:
        case YBXSlotStateFailed: break;
        default: return false;
    }
    if (nowMilliseconds() - sel::timeLastLoaded(slot.get()) < kYBXClickDelayMilliseconds) return false;
    if (navigationType == UIWebViewNavigationTypeBackForward || navigationType == UIWebViewNavigationTypeReload) return false;
    return sel::touched(sel::webView(slot.get()).get());
}

bool YBXBannerWebViewDelegate::shouldStartLoad(id webView, NSURLRequest* request, long long navigationType) {
    Ref<YBXBannerWebViewDelegate> protector(this);
    Ref<Object> slot = slot_.lock();
    id opener = opener_.get();
    if (!isInterstitialSlot(slot.get())) sel::setViewController_(opener, sel::viewController(webView).get());
    if (!sel::isClick_(this, navigationType)) return commit(decide(webView, request, navigationType), webView, request);
    // A click never loads in the ad's own view: the click URL is opened instead.
    if (!decide(webView, request, navigationType).allowed) return false;
    Ref<Object> shown = sel::request(webView);
    auto* shownRequest = as<NSURLRequest>(shown.get());
    sel::setReferringURL_(opener, shownRequest ? shownRequest->URL() : nullptr);
    sel::adWasClicked(slot.get());
    NSURL* url = request->URL();
    Ref<Object> clickURL = sel::spamClickURLWithURL_(slot.get(), url);
    if (beginsWithHTTP(lowercaseString(url->scheme()))) sel::openApp_(opener, as<NSURL>(clickURL.get()));
    // One touch, one click: the page's later navigations are its own again.
    sel::setTouched_(webView, false);
    return false;
}

void YBXBannerWebViewDelegate::didFinishLoad(id webView) {
    Ref<YBXBannerWebViewDelegate> protector(this);
    YBXWebViewDelegate::didFinishLoad(webView);
    Ref<Object> slot = slot_.lock();
    if (!slot || sel::YBXSlot_state(slot.get()) != YBXSlotStateRendering) return;
    id s = slot.get();
    sel::didReceiveValidAd(s);
    sel::didLoadAdHTMLInWebView(s);
    if (sel::isMRAIDEnabled(s)) sel::didLoadMRAIDAd(s);
    sel::setHidden_(webView, false);
    if (!isInterstitialSlot(s)) sel::didMakeAdImpression(s);
    if (isKindOfClass(webView, "YBXWebView")) {
        sel::resetOptoraReporting(s);
        Ref<Object> monitor = sel::optoraMonitor(s);
        sel::sample(monitor.get());
        if (sel::monitoredViewIsSubviewOfDeviceScreen(s)) sel::startMonitoring(monitor.get());
    }
    sel::adFinishedLoadingContent(s);
}

void YBXBannerWebViewDelegate::didFailLoad(id webView, id error) {
    Ref<YBXBannerWebViewDelegate> protector(this);
    YBXWebViewDelegate::didFailLoad(webView);
    Ref<Object> slot = slot_.lock();
    // Only the creative being rendered can fail the request: an old page's
    // frame, or a load cut short by the next one, says nothing about it.
    if (!slot || sel::YBXSlot_state(slot.get()) != YBXSlotStateRendering) return;
    auto* failure = as<NSError>(error);
    if (failure && failure->domain() == NSURLErrorDomain && failure->code() == NSURLErrorCancelled) return;
    // The library's own errors (a network script's check that timed out) reach the slot as they are.
    Ref<Object> reported = failure && failure->domain() == kYBXErrorDomain
                               ? Ref<Object>(error)
                               : sel::errorWithCode_request_(YBXRequestErrorClass(), YBXErrorCodeNetwork, sel::request(slot.get()).get());
    sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot.get(), reported.get(), false, false);
}

void registerBannerWebViewDelegateClass() {
    ClassBuilder<YBXBannerWebViewDelegate>("YBXBannerWebViewDelegate", "YBXWebViewDelegate")
        .method(sel::initWithSlot_, &initWithSlot)
        .method(sel::slot, [](id self) { return delegateOf(self)->slot_.lock(); })
        .method(sel::isClick_, [](id self, long long type) { return delegateOf(self)->isClick(type); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id webView, id request, long long type) {
                    return delegateOf(self)->shouldStartLoad(webView, as<NSURLRequest>(request), type);
                })
        .method(sel::webViewDidFinishLoad_, [](id self, id webView) { delegateOf(self)->didFinishLoad(webView); })
        .method(sel::webView_didFailLoadWithError_, [](id self, id webView, id error) { delegateOf(self)->didFailLoad(webView, error); });
}

}  // namespace adlib

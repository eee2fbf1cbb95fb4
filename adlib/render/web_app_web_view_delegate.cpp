#include "adlib/render/web_app_web_view_delegate.h"

#include "adlib/pipeline/slot_neighbours.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXWebAppWebViewDelegate* delegateOf(id self) { return as<YBXWebAppWebViewDelegate>(self); }

Class* delegateClass() { return objc_getClass("YBXWebAppWebViewDelegate"); }

Ref<Object> controllerOf(id self) { return delegateOf(self)->webAppViewController_.lock(); }

Ref<Object> initWithWebAppViewController(id self, id controller) {
    Ref<Object> made = sel::init(self);
    YBXWebAppWebViewDelegate* delegate = delegateOf(made.get());
    if (!delegate) return made;
    delegate->webAppViewController_ = WeakRef<Object>(controller);
    sel::addPMSGHandler_(delegate, newObject("YBXWebAppPMSGHandler").get());
    if (Ref<Object> interstitial = sel::interstitial(controller))
        sel::addPMSGHandler_(delegate, sel::initWithSlot_(alloc("YBXAppEventPMSGHandler"), sel::slot(interstitial.get()).get()).get());
    return made;
}

}  // namespace

Ref<Object> adStatisticsOf(id slot) { return sel::statistics(sel::ad(slot).get()); }

void markLandingPageLoadStart(id slot) {
    Ref<Object> statistics = adStatisticsOf(slot);
    if (!statistics || !sel::objectForKey_(statistics.get(), kYBXLandingPageLoadStart).isNil()) return;
    sel::setObject_forKey_shouldNotifyDelegate_(statistics.get(), Value(nowMilliseconds()), kYBXLandingPageLoadStart, true);
}

void markLandingPageLoadEnd(id slot) {
    Ref<Object> statistics = adStatisticsOf(slot);
    if (statistics) sel::setObject_forKey_shouldNotifyDelegate_(statistics.get(), Value(nowMilliseconds()), kYBXLandingPageLoadEnd, true);
}

bool YBXWebAppWebViewDelegate::isTwoPieceExpandable() {
    Ref<Object> controller = webAppViewController_.lock();
    Ref<Object> slot = sel::slot(controller.get());
    return sel::isMRAIDEnabled(slot.get()) && sel::webView(slot.get()).get() != sel::webView(controller.get()).get();
}

void YBXWebAppWebViewDelegate::postOnShowEvent() {
    if (!pendingOnShow_ || calledOnShow_) return;
    Ref<Object> webView = sel::webView(webAppViewController_.lock().get());
    sel::notifyOfSdkEvent_(webView.get(), "onshow");
    if (isTwoPieceExpandable()) sel::notifyOfSdkEvent_(webView.get(), "onReadyEventReceived");
    pendingOnShow_ = false;
    calledOnShow_ = true;
}

void registerWebAppWebViewDelegateClass() {
    ClassBuilder<YBXWebAppWebViewDelegate>("YBXWebAppWebViewDelegate", "YBXWebViewDelegate")
        .method(sel::initWithWebAppViewController_, &initWithWebAppViewController)
        .method(sel::webAppViewController, [](id self) { return controllerOf(self); })
        .method(sel::viewControllerForPresentingFromWebView_,
                [](id self, id webView) -> Ref<Object> {
                    Ref<Object> controller = controllerOf(self);
                    if (sel::displayingAsTransparentInterstitial(controller.get())) return sel::hostViewController(controller.get());
                    return sel::viewControllerForPresentingFromWebView_.super(delegateClass(), self, webView);
                })
        .method(sel::isTwoPieceExpandable, [](id self) { return delegateOf(self)->isTwoPieceExpandable(); })
        .method(sel::setPendingOnShow_,
                [](id self, bool pending) {
                    delegateOf(self)->pendingOnShow_ = pending;
                    if (sel::didReceiveLoadEvent(sel::webView(controllerOf(self).get()).get())) sel::postOnShowEvent(self);
                })
        .getter<&YBXWebAppWebViewDelegate::pendingOnShow_>(sel::pendingOnShow)
        .getter<&YBXWebAppWebViewDelegate::calledOnShow_>(sel::calledOnShow)
        .method(sel::postOnShowEvent, [](id self) { delegateOf(self)->postOnShowEvent(); })
        .method(sel::webViewDidStartLoad_,
                [](id self, id webView) {
                    markLandingPageLoadStart(sel::slot(controllerOf(self).get()).get());
                    sel::webViewDidStartLoad_.super(delegateClass(), self, webView);
                })
        .method(sel::webViewDidFinishLoad_, [](id self, id webView) {
            Ref<Object> protector(self);
            markLandingPageLoadEnd(sel::slot(controllerOf(self).get()).get());
            sel::webViewDidFinishLoad_.super(delegateClass(), self, webView);
            sel::postOnShowEvent(self);
        });
}

}  // namespace adlib

#include "adlib/render/view_controller.h"

#include "adlib/foundation/macros.h"
#include "platform/foundation/notification_center.h"

namespace adlib {

namespace {

YBXViewController* controllerOf(id self) { return as<YBXViewController>(self); }

void presentFromViewController(id self, id presenter) {
    if (!presenter) {
        pubLog("No UIViewController supplied to the ad. Cannot continue.");
        return;
    }
    YBXViewController* controller = controllerOf(self);
    sel::setUserInteractionEnabled_(sel::view(self).get(), false);
    // The presenter keeps the presented controller while it is on screen.
    NSNotificationCenter::defaultCenter()->postNotificationName("kAdModalViewControllerWillPresentFullScreen", Value(self), Value());
    // Only the first layer over the publisher's screen tells the slot.
    if (!isKindOfClass(presenter, "YBXViewController")) sel::adWillPresentScreen(controller->slot_.lock().get());
    sel::presentViewController_animated_completion_(presenter, self, true, nullptr);
}

}  // namespace

void registerViewControllerClasses() {
    ClassBuilder<YBXViewController>("YBXViewController", "UIViewController")
        .method(sel::supportedOrientations, [](id self) { return controllerOf(self)->supportedOrientations_; })
        .method(sel::setSupportedOrientations_,
                [](id self, long long code) {
                    if (code != 0) controllerOf(self)->supportedOrientations_ = code;
                })
        .method(sel::slot, [](id self) { return controllerOf(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { controllerOf(self)->slot_ = WeakRef<Object>(slot); })
        .getter<&YBXViewController::viewDidAppear_>(sel::viewDidAppear)
        .method(sel::presentFromViewController_, &presentFromViewController)
        .method(sel::relinquishScreen, [](id) {});
    ClassBuilder<YBXViewController>("YBXWebAppViewController", "YBXViewController")
        .method(sel::initWithWebView_,
                [](id self, id webView) {
                    Ref<Object> made = sel::init(self);
                    if (YBXViewController* controller = controllerOf(made.get()); controller && webView) {
                        controller->webView_ = Ref<Object>(webView);
                        controller->isExpandable_ = true;
                    }
                    return made;
                })
        .method(sel::webView, [](id self) { return controllerOf(self)->webView_; })
        .method(sel::webViewDelegate, [](id self) { return controllerOf(self)->webViewDelegate_; })
        .method(sel::hostViewController, [](id self) { return controllerOf(self)->hostViewController_; })
        .method(sel::interstitial, [](id self) { return controllerOf(self)->interstitial_.lock(); })
        .method(sel::setInterstitial_, [](id self, id interstitial) { controllerOf(self)->interstitial_ = WeakRef<Object>(interstitial); })
        .getter<&YBXViewController::displayingAsTransparentInterstitial_>(sel::displayingAsTransparentInterstitial)
        .method(sel::load_,
                [](id self, NSURL* url) {
                    if (url) controllerOf(self)->URLToLoad_ = Ref<NSURL>(url);
                })
        .method(sel::loadHTML_baseURL_,
                [](id self, Value html, NSURL* baseURL) {
                    if (!html.isString()) return;
                    controllerOf(self)->HTMLToLoad_ = html;
                    controllerOf(self)->HTMLBaseURLToLoad_ = Ref<NSURL>(baseURL);
                })
        .method(sel::setUseCustomClose_, [](id, bool) {})
        .method(sel::setTransparentInterstitial_, [](id, bool) {});
    ClassBuilder<YBXViewController>("YBXBrowserViewController", "YBXViewController")
        .method(sel::webView, [](id self) { return controllerOf(self)->webView_; })
        .method(sel::webViewDelegate, [](id self) { return controllerOf(self)->webViewDelegate_; })
        .method(sel::load_, [](id self, NSURL* url) { sel::load_referringURL_(self, url, nullptr); })
        .method(sel::load_referringURL_,
                [](id self, NSURL* url, NSURL* referrer) {
                    if (!url) return;
                    controllerOf(self)->URLToLoad_ = Ref<NSURL>(url);
                    controllerOf(self)->referringURLToLoad_ = Ref<NSURL>(referrer);
                })
        .method(sel::refreshToolbar, [](id) {});
}

}  // namespace adlib

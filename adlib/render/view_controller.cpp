#include "adlib/render/view_controller.h"

namespace adlib {

namespace {

YBXViewController* controllerOf(id self) { return as<YBXViewController>(self); }

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
        .method(sel::relinquishScreen, [](id) {});
    ClassBuilder<YBXViewController>("YBXWebAppViewController", "YBXViewController")
        .method(sel::webView, [](id self) { return controllerOf(self)->webView_; })
        .method(sel::webViewDelegate, [](id self) { return controllerOf(self)->webViewDelegate_; })
        .method(sel::hostViewController, [](id self) { return controllerOf(self)->hostViewController_; })
        .method(sel::interstitial, [](id self) { return controllerOf(self)->interstitial_.lock(); })
        .getter<&YBXViewController::displayingAsTransparentInterstitial_>(sel::displayingAsTransparentInterstitial);
    ClassBuilder<YBXViewController>("YBXBrowserViewController", "YBXViewController")
        .method(sel::webView, [](id self) { return controllerOf(self)->webView_; })
        .method(sel::webViewDelegate, [](id self) { return controllerOf(self)->webViewDelegate_; })
        .method(sel::refreshToolbar, [](id) {});
}

}  // namespace adlib

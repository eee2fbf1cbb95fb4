#include "platform/mobiletimer/app_delegate.h"

#include "platform/runtime/call_log.h"
#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/screen.h"

namespace platform::mobiletimer {

namespace {

constexpr const char* kClass = "MobileTimerAppDelegate";

bool didFinishLaunching(id self, id, Value) {
    callLog::record(kClass, "application:didFinishLaunchingWithOptions:");
    auto* d = as<MobileTimerAppDelegate>(self);
    Ref<Object> list = newObject("AlarmViewController");
    Ref<Object> navigation = sel::initWithRootViewController_(alloc("UINavigationController"), list);
    d->window_ = UIView::make<UIWindow>("UIWindow", UIScreen::mainScreen()->bounds());
    sel::setRootViewController_(d->window_, navigation);
    sel::makeKeyAndVisible(d->window_);
    return true;
}

}  // namespace

void registerAppDelegateClass() {
    ClassBuilder<MobileTimerAppDelegate>(kClass, "UIResponder")
        .protocol("UIApplicationDelegate")
        .method(sel::application_didFinishLaunchingWithOptions_, &didFinishLaunching)
        .method(sel::window, [](id self) -> Ref<Object> { return as<MobileTimerAppDelegate>(self)->window_; });
}

}  // namespace platform::mobiletimer

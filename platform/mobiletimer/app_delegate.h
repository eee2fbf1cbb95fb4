// The Clock app's application delegate, MobileTimerAppDelegate: when the app
// has launched (application:didFinishLaunchingWithOptions:) it shows its key
// window ("window"), whose root is a navigation controller with the alarm
// list (AlarmViewController) at the bottom. UIApplicationMain of the Clock
// app makes it (see platform/host). Clock app only; main thread.
#pragma once

#include "platform/uikit/window.h"

namespace platform {

class MobileTimerAppDelegate : public UIResponder {
public:
    Ref<UIWindow> window_;
};

namespace mobiletimer {
void registerAppDelegateClass();
}  // namespace mobiletimer

}  // namespace platform

// UIApplication, the process's one application object, and UIApplicationMain.
// The application is made by UIApplicationMain (or by its first init), else
// on first use of sharedApplication; its delegate is weak, except the one
// UIApplicationMain made, which the application keeps. openURL: is recorded
// and answers YES. The status bar is 20 points along the top of the screen
// in portrait and along its side in landscape. Main thread only.
#pragma once

#include <vector>

#include "platform/uikit/responder.h"

namespace platform {

class UIWindow;

inline constexpr const char* UIApplicationDidFinishLaunchingNotification = "UIApplicationDidFinishLaunchingNotification";
inline constexpr const char* UIApplicationDidBecomeActiveNotification = "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* UIApplicationDidEnterBackgroundNotification = "UIApplicationDidEnterBackgroundNotification";
// Posted by setStatusBarOrientation: with the old orientation under UIApplicationStatusBarOrientationUserInfoKey.
inline constexpr const char* UIApplicationDidChangeStatusBarOrientationNotification = "UIApplicationDidChangeStatusBarOrientationNotification";
inline constexpr const char* UIApplicationDidChangeStatusBarFrameNotification = "UIApplicationDidChangeStatusBarFrameNotification";
inline constexpr const char* UIApplicationStatusBarOrientationUserInfoKey = "UIApplicationStatusBarOrientationUserInfoKey";

inline constexpr long long UIApplicationStateActive = 0;
inline constexpr long long UIApplicationStateInactive = 1;
inline constexpr long long UIApplicationStateBackground = 2;

class UIApplication : public UIResponder {
public:
    // The application; a plain UIApplication is made when none exists yet.
    static UIApplication* sharedApplication();

    WeakRef<Object> delegate_;
    Ref<Object> ownedDelegate_;  // the delegate UIApplicationMain made
    std::vector<Value> openedURLs_;  // every openURL:, oldest first
    bool statusBarHidden_ = false;
    long long statusBarOrientation_ = 1;
    long long applicationState_ = UIApplicationStateActive;
};

// Stock: makes the application (the principal class, UIApplication when nil)
// and the delegate (by class name, when given), sends the delegate
// application:didFinishLaunchingWithOptions: (or applicationDidFinishLaunching:)
// and applicationDidBecomeActive: when it answers them, posts the two
// notifications, then runs the main run loop with the real clock; with the
// virtual clock it returns 0 at once (tests and the device controller drive
// the loop). Hookable with MSHookFunction(&UIApplicationMain, ...).
int UIApplicationMain(int argc, char** argv, Value principalClassName, Value delegateClassName);

}  // namespace platform

// UIApplication, the process's one application object, and UIApplicationMain.
// The application is made by UIApplicationMain (or by its first init), else
// on first use of sharedApplication; its delegate is weak, except the one
// UIApplicationMain made, which the application keeps. openURL: is recorded
// and answers YES. The status bar is 20 points along the top of the screen
// in portrait and along its side in landscape. Main thread only, except
// applicationState, which any thread may read.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/uikit/responder.h"

namespace platform {

class UIWindow;

inline constexpr const char* UIApplicationDidFinishLaunchingNotification = "UIApplicationDidFinishLaunchingNotification";
inline constexpr const char* UIApplicationDidBecomeActiveNotification = "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* UIApplicationDidEnterBackgroundNotification = "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* UIApplicationWillResignActiveNotification = "UIApplicationWillResignActiveNotification";
inline constexpr const char* UIApplicationWillEnterForegroundNotification = "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* UIApplicationWillTerminateNotification = "UIApplicationWillTerminateNotification";
inline constexpr const char* UIApplicationDidReceiveMemoryWarningNotification = "UIApplicationDidReceiveMemoryWarningNotification";
// Posted by setStatusBarOrientation: with the old orientation under UIApplicationStatusBarOrientationUserInfoKey.
inline constexpr const char* UIApplicationDidChangeStatusBarOrientationNotification = "UIApplicationDidChangeStatusBarOrientationNotification";
inline constexpr const char* UIApplicationDidChangeStatusBarFrameNotification = "UIApplicationDidChangeStatusBarFrameNotification";
inline constexpr const char* UIApplicationStatusBarOrientationUserInfoKey = "UIApplicationStatusBarOrientationUserInfoKey";

inline constexpr long long UIApplicationStateActive = 0;
inline constexpr long long UIApplicationStateInactive = 1;
inline constexpr long long UIApplicationStateBackground = 2;

using UIBackgroundTaskIdentifier = unsigned long long;
inline constexpr UIBackgroundTaskIdentifier UIBackgroundTaskInvalid = 0;

class UIApplication : public UIResponder {
public:
    // The application; a plain UIApplication is made when none exists yet.
    static UIApplication* sharedApplication();

    // Background tasks, from any thread. Each identifier is new; ending an
    // identifier that is not outstanding (UIBackgroundTaskInvalid, one ended
    // already) does nothing.
    UIBackgroundTaskIdentifier beginBackgroundTaskWithExpirationHandler(std::function<void()> handler);
    void endBackgroundTask(UIBackgroundTaskIdentifier identifier);
    std::size_t outstandingBackgroundTaskCount() const;
    // Tests: the time in the background is up; runs each outstanding task's
    // handler once, on the calling thread, outside the lock (a handler ends its task).
    void expireBackgroundTasks();

    WeakRef<Object> delegate_;
    Ref<Object> ownedDelegate_;  // the delegate UIApplicationMain made
    std::vector<Value> openedURLs_;  // every openURL:, oldest first
    bool statusBarHidden_ = false;
    bool idleTimerDisabled_ = false;
    long long statusBarOrientation_ = 1;
    // Written on the main thread; read from any thread (the ad library asks off the main thread).
    std::atomic<long long> applicationState_ = UIApplicationStateActive;

private:
    mutable std::mutex tasksMutex_;
    UIBackgroundTaskIdentifier lastTask_ = UIBackgroundTaskInvalid;
    std::map<UIBackgroundTaskIdentifier, std::function<void()>> tasks_;
};

namespace uikit {
// Tests: what canOpenURL: answers for a scheme (any letter case); a scheme
// not set answers YES.
void setCanOpenScheme(const std::string& scheme, bool can);
bool canOpenScheme(const std::string& scheme);
}  // namespace uikit

// Tests and the device controller: move the application through its states
// as the platform does, calling the delegate's method (when it answers it)
// before each notification. Main thread. A move to the state the application
// is in does nothing; becoming active from the background enters the
// foreground first, entering the background from active resigns first.
namespace lifecycle {
void resignActive();     // active -> inactive
void enterBackground();  // -> background
void enterForeground();  // background -> inactive
void becomeActive();     // -> active
void receiveMemoryWarning();
void terminate();  // the delegate's applicationWillTerminate:, its notification
}  // namespace lifecycle

// Stock: makes the application (the principal class, UIApplication when nil)
// and the delegate (by class name, when given), sends the delegate
// application:didFinishLaunchingWithOptions: (or applicationDidFinishLaunching:)
// and applicationDidBecomeActive: when it answers them, posts the two
// notifications, then runs the main run loop with the real clock; with the
// virtual clock it returns 0 at once (tests and the device controller drive
// the loop). Hookable with MSHookFunction(&UIApplicationMain, ...).
int UIApplicationMain(int argc, char** argv, Value principalClassName, Value delegateClassName);

}  // namespace platform

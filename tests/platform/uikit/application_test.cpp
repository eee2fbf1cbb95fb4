#include "platform/uikit/application.h"

#include <gtest/gtest.h>

#include "platform/foundation/notification_center.h"
#include "platform/uikit/screen.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

using Application = UIKitTest;

void registerDelegate() {
    ClassBuilder<NSObject>::inheritingType("TestAppDelegate", "UIResponder")
        .method(sel::application_didFinishLaunchingWithOptions_,
                [](id self, id app, Value) {
                    callLog::record("TestAppDelegate", "application:didFinishLaunchingWithOptions:",
                                    app->isa()->name() + (sel::delegate(app).get() == self ? " delegate" : " other"));
                    return true;
                })
        .method(sel::applicationDidBecomeActive_, [](id, id) { callLog::record("TestAppDelegate", "applicationDidBecomeActive:"); });
}

TEST_F(Application, MainMakesTheApplicationAndDelegateAndReturnsOnTheVirtualClock) {
    registerDelegate();
    // The SpringBoard host has its principal class; other hosts get a stand-in.
    if (!objc_getClass("SpringBoard")) ClassBuilder<UIApplication>::inheritingType("SpringBoard", "UIApplication");
    int launched = 0;
    Ref<Object> token = NSNotificationCenter::defaultCenter()->addObserverForName(UIApplicationDidFinishLaunchingNotification, Value(),
                                                                                  [&](NSNotification*) { ++launched; });
    EXPECT_EQ(UIApplicationMain(0, nullptr, Value("SpringBoard"), Value("TestAppDelegate")), 0);
    Ref<Object> app = sel::sharedApplication(objc_getClass("UIApplication"));
    EXPECT_EQ(app->isa()->name(), "SpringBoard");
    EXPECT_EQ(sel::delegate(app)->isa()->name(), "TestAppDelegate");
    EXPECT_EQ(callLog::lines("TestAppDelegate"),
              (std::vector<std::string>{"TestAppDelegate application:didFinishLaunchingWithOptions: SpringBoard delegate",
                                        "TestAppDelegate applicationDidBecomeActive:"}));
    EXPECT_EQ(launched, 1);
    EXPECT_THROW(UIApplicationMain(0, nullptr, Value("NoSuchApp"), Value()), NSException);
}

int (*original_UIApplicationMain)(int, char**, Value, Value) = nullptr;
int replaced_UIApplicationMain(int argc, char** argv, Value principal, Value delegate) {
    callLog::record("hook", "UIApplicationMain", principal.stringOr("nil"));
    return original_UIApplicationMain(argc, argv, principal, delegate) + 1;
}

TEST_F(Application, MainCanBeHooked) {
    ASSERT_TRUE(MSHookFunction(&UIApplicationMain, &replaced_UIApplicationMain, &original_UIApplicationMain));
    EXPECT_EQ(UIApplicationMain(0, nullptr, Value(), Value()), 1);
    EXPECT_EQ(callLog::lines("hook"), (std::vector<std::string>{"hook UIApplicationMain nil"}));
    EXPECT_EQ(UIApplication::sharedApplication()->isa()->name(), "UIApplication");
}

TEST_F(Application, OpenURLIsRecordedAndAnswersYES) {
    Ref<Object> app = sel::sharedApplication(objc_getClass("UIApplication"));
    EXPECT_TRUE(sel::openURL_(app, Value("https://example.org/")));
    EXPECT_FALSE(sel::openURL_(app, Value()));
    EXPECT_TRUE(sel::canOpenURL_(app, Value("tel:123")));
    EXPECT_EQ(as<UIApplication>(app.get())->openedURLs_, (std::vector<Value>{Value("https://example.org/")}));
    EXPECT_EQ(sel::statusBarFrame(app), Rect(0, 0, 320, 20));
    EXPECT_EQ(sel::statusBarOrientation(app), UIInterfaceOrientationPortrait);
}

TEST_F(Application, IdleTimerAndButtonSettingsAreKept) {
    UIApplication* app = UIApplication::sharedApplication();
    EXPECT_FALSE(sel::isIdleTimerDisabled(app));
    sel::setIdleTimerDisabled_(app, true);
    EXPECT_TRUE(sel::isIdleTimerDisabled(app));
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeCustom);
    EXPECT_FALSE(sel::showsTouchWhenHighlighted(button));
    sel::setShowsTouchWhenHighlighted_(button, true);
    sel::setAccessibilityLabel_(button, Value("Close"));
    EXPECT_TRUE(sel::showsTouchWhenHighlighted(button));
    EXPECT_EQ(sel::accessibilityLabel(button), Value("Close"));
}

TEST_F(Application, StatusBarOrientationChangesAreAnnounced) {
    Ref<Object> app = sel::sharedApplication(objc_getClass("UIApplication"));
    std::vector<std::string> posts;
    Ref<Object> a = NSNotificationCenter::defaultCenter()->addObserverForName(
        UIApplicationDidChangeStatusBarOrientationNotification, Value(), [&](NSNotification* n) {
            posts.push_back(format("orientation from %@", n->userInfo()[UIApplicationStatusBarOrientationUserInfoKey]));
        });
    Ref<Object> b = NSNotificationCenter::defaultCenter()->addObserverForName(UIApplicationDidChangeStatusBarFrameNotification, Value(),
                                                                              [&](NSNotification*) { posts.push_back("frame"); });
    sel::setStatusBarOrientation_(app, UIInterfaceOrientationLandscapeLeft);
    sel::setStatusBarOrientation_(app, UIInterfaceOrientationLandscapeLeft);
    EXPECT_EQ(posts, (std::vector<std::string>{"orientation from 1", "frame"}));
    // On iOS 8 and later the screen turns with the interface, and the bar stays along its top.
    EXPECT_EQ(sel::statusBarFrame(app), Rect(0, 0, 568, 20));
    sel::setStatusBarHidden_(app, true);
    EXPECT_EQ(sel::statusBarFrame(app), Rect());
    NSNotificationCenter::defaultCenter()->removeObserver(a);
    NSNotificationCenter::defaultCenter()->removeObserver(b);
}

TEST_F(Application, ScreenAndDeviceOfAPhone) {
    Ref<Object> screen = sel::mainScreen(objc_getClass("UIScreen"));
    EXPECT_EQ(sel::bounds(screen), Rect(0, 0, 320, 568));
    EXPECT_EQ(sel::scale(screen), 2.0);
    Ref<Object> device = sel::currentDevice(objc_getClass("UIDevice"));
    EXPECT_EQ(sel::systemVersion(device), Value("9.3"));
    EXPECT_EQ(sel::userInterfaceIdiom(device), UIUserInterfaceIdiomPhone);
    EXPECT_EQ(sel::model(device), Value("iPhone"));
    EXPECT_EQ(sel::currentDevice(objc_getClass("UIDevice")).get(), device.get());
}

TEST(ApplicationOnAPad, ScreenAndDeviceFollowTheBootOptions) {
    testing::TestEnvironment env(host::BootOptions{.systemVersion = "8.4", .interfaceIdiom = UIUserInterfaceIdiomPad, .screenScale = 1.0});
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), Rect(0, 0, 768, 1024));
    EXPECT_EQ(UIScreen::mainScreen()->scale(), 1.0);
    EXPECT_EQ(sel::systemVersion(UIDevice::currentDevice()), Value("8.4"));
    EXPECT_EQ(sel::userInterfaceIdiom(UIDevice::currentDevice()), UIUserInterfaceIdiomPad);
    EXPECT_EQ(sel::model(UIDevice::currentDevice()), Value("iPad"));
    EXPECT_EQ(UI_USER_INTERFACE_IDIOM(), UIUserInterfaceIdiomPad);
}

}  // namespace
}  // namespace platform::uitest

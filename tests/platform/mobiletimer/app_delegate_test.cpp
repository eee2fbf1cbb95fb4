#include "platform/mobiletimer/app_delegate.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/host/application_classes.h"
#include "platform/host/user_actions.h"
#include "platform/mobiletimer/alarm_list.h"
#include "platform/mobiletimer/edit_alarm.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"
#include "platform/uikit/navigation_controller.h"

namespace platform {
namespace {

using Lines = std::vector<std::string>;

// The Clock app launched as its host launches it.
class ClockApp : public ::testing::Test {
protected:
    ClockApp() : env(host::BootOptions{.bundleIdentifier = host::kClockApp, .systemVersion = "9.3"}) {
        host::ApplicationClasses classes = host::applicationClassesFor(host::kClockApp);
        UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
        RunLoop::main().advance(0);
    }
    static UINavigationController* navigation() { return as<UINavigationController>(UIWindow::keyWindow()->rootViewController_.get()); }
    // The frontmost screen's texts, in reading order.
    static Lines screen() {
        Lines out;
        Value windows = host::readScreen();
        for (const Value& item : windows.at(0)["items"].array()) out.push_back(item["text"].string());
        return out;
    }

    platform::testing::TestEnvironment env;
};

TEST_F(ClockApp, LaunchingShowsTheAlarmListInANavigationControllerOnTheKeyWindow) {
    EXPECT_EQ(callLog::lines("MobileTimerAppDelegate"), (Lines{"MobileTimerAppDelegate application:didFinishLaunchingWithOptions:"}));
    Ref<Object> delegate = sel::delegate(UIApplication::sharedApplication());
    ASSERT_TRUE(isKindOfClass(delegate, "MobileTimerAppDelegate"));
    Ref<Object> window = sel::window(delegate);
    ASSERT_TRUE(window);
    EXPECT_EQ(window.get(), UIWindow::keyWindow().get());
    EXPECT_FALSE(sel::isHidden(window));
    EXPECT_EQ(sel::frame(window), Rect(0, 0, 320, 568));
    ASSERT_TRUE(navigation());
    EXPECT_TRUE(isKindOfClass(sel::topViewController(navigation()), "AlarmViewController"));
    EXPECT_EQ(sel::viewControllers(navigation()).count(), 1u);
    // No alarms yet: the bar and nothing else.
    EXPECT_EQ(screen(), (Lines{"Alarm", "Edit", "+"}));
}

TEST_F(ClockApp, AnAlarmAddedThroughTheScreensShowsInTheList) {
    ASSERT_EQ(host::tapItemShowing("+"), "");
    RunLoop::main().advance(0);
    auto* shown = as<UINavigationController>(sel::presentedViewController(sel::topViewController(navigation())).get());
    ASSERT_TRUE(shown);
    auto* edit = as<EditAlarmViewController>(sel::topViewController(shown).get());
    ASSERT_TRUE(edit);
    uikit::spin(edit->editAlarmView_->timePicker_.get(), 5 * 3600 + 30 * 60);

    ASSERT_EQ(host::tapItemShowing("Label"), "");
    RunLoop::main().advance(0);
    auto* label = as<EditAlarmLabelViewController>(sel::topViewController(shown).get());
    ASSERT_TRUE(label);
    label->textField_->insertText("Run");
    ASSERT_EQ(host::tapItemShowing("Back"), "");
    RunLoop::main().advance(0);
    ASSERT_EQ(host::tapItemShowing("Done"), "");
    RunLoop::main().advance(0);

    Value alarms = sel::alarms(sel::sharedManager(objc_getClass("AlarmManager")));
    ASSERT_EQ(alarms.count(), 1u);
    EXPECT_EQ(sel::hour(alarms.at(0).object()), 5);
    EXPECT_EQ(sel::minute(alarms.at(0).object()), 30);
    EXPECT_EQ(sel::title(alarms.at(0).object()), Value("Run"));
    EXPECT_FALSE(sel::presentedViewController(sel::topViewController(navigation())));
    EXPECT_EQ(screen(), (Lines{"5:30", "Run", "Alarm", "Edit", "+"}));
}

TEST(ClockAppHosts, OnlyTheClockAppHasItsDelegate) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSettingsApp, .systemVersion = "9.3"});
    EXPECT_FALSE(objc_getClass("MobileTimerAppDelegate"));
}

}  // namespace
}  // namespace platform

#include "platform/host/device.h"

#include <gtest/gtest.h>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/plist.h"
#include "platform/host/controlled_host.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/app_switcher.h"
#include "platform/springboard/springboard.h"
#include "platform/testing/test_environment.h"

namespace platform::host {
namespace {

constexpr const char* kDomain = "net.quillory.Rousa2";

// Commands the test's hosts answer.
void testCommands() {
    registerCommand("domain-value", [](const Value& key) { return CFPreferencesCopyAppValue(key.string(), kDomain); });
    registerCommand("change-setting", [](const Value& args) {
        CFPreferencesSetAppValue(args["key"].string(), args["value"], kDomain);
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), Value("net.quillory.Rousa2/prefsChanged"),
                                             nullptr, Value(), true);
        return Value();
    });
    registerCommand("post-distributed", [](const Value& name) {
        NSDistributedNotificationCenter::defaultCenter()->postNotificationName(name.string(), Value());
        return Value();
    });
    registerCommand("add-alarm", [](const Value& args) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, args["hour"].integerValue());
        sel::setMinute_(alarm, args["minute"].integerValue());
        sel::addAlarm_active_(sel::sharedManager(objc_getClass("AlarmManager")), alarm, true);
        return sel::alarmId(alarm);
    });
    registerCommand("active-alarms", [](const Value&) {
        Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
        sel::loadAlarms(manager);
        long long active = 0;
        Value alarms = sel::alarms(manager);
        for (const Value& a : alarms.array()) active += sel::isActive(a.object());
        return Value(active);
    });
    registerCommand("calls", [](const Value& filter) {
        Value out = Value(Value::Array{});
        for (const auto& line : callLog::lines(filter.string())) out.mutableArray().push_back(Value(line));
        return out;
    });
    registerCommand("switcher", [](const Value& order) {
        std::vector<std::string> ids;
        for (const Value& id : order.array()) ids.push_back(id.string());
        springboard::setAppSwitcherOrder(ids);
        return Value();
    });
}

class DeviceTest : public ::testing::Test {
protected:
    std::unique_ptr<Device> device(const std::string& version) {
        return std::make_unique<Device>(Device::Options{.root = root, .systemVersion = version, .start = Date::fromUnix(platform::testing::kDefaultStart)});
    }
    void TearDown() override { platform::testing::removeDeviceRoot(root); }
    std::string root = platform::testing::makeDeviceRoot();
};

TEST_F(DeviceTest, ASettingsChangeReachesTheRunningTweakProcessesAndEndsTheClockAppOnIOS9) {
    auto d = device("9.3");
    for (const char* host : {kSpringBoard, kClockApp, kSettingsApp}) d->startForked(host, &testCommands);
    EXPECT_TRUE(d->call(kSpringBoard, "domain-value", Value("WKSLockScreenFontSize")).isNil());
    d->call(kSettingsApp, "change-setting", Value(Value::Dictionary{{"key", Value("WKSLockScreenFontSize")}, {"value", Value(20)}}));
    // SpringBoard's tweak re-read the domain on the notification: its copy is the new one.
    EXPECT_EQ(d->call(kSpringBoard, "domain-value", Value("WKSLockScreenFontSize")), Value(20));
    ASSERT_FALSE(d->terminations().empty());
    EXPECT_EQ(d->terminations().front().bundle, kClockApp);
    EXPECT_EQ(d->terminations().front().reason, 5);
    EXPECT_EQ(d->terminations().front().description, "Killed to Refresh UI.");
    EXPECT_FALSE(d->isRunning(kClockApp));
    EXPECT_TRUE(d->isRunning(kSpringBoard));
    // The controller can start it again.
    d->startForked(kClockApp, &testCommands);
    EXPECT_EQ(d->call(kClockApp, "domain-value", Value("WKSLockScreenFontSize")), Value(20));
}

TEST_F(DeviceTest, OnIOS8SpringBoardEndsTheClockAppOnlyWhenItIsNotTheMostRecentApp) {
    auto d = device("8.4");
    for (const char* host : {kSpringBoard, kClockApp, kSettingsApp}) d->startForked(host, &testCommands);
    d->call(kSpringBoard, "switcher", Value::array({Value(kClockApp), Value(kSettingsApp)}));
    d->call(kSettingsApp, "change-setting", Value(Value::Dictionary{{"key", Value("WKSClockAppFontSize")}, {"value", Value(30)}}));
    EXPECT_TRUE(d->terminations().empty());
    EXPECT_EQ(d->call(kClockApp, "domain-value", Value("WKSClockAppFontSize")), Value(30));
    d->call(kSpringBoard, "switcher", Value::array({Value(kSettingsApp), Value(kClockApp)}));
    d->call(kSettingsApp, "change-setting", Value(Value::Dictionary{{"key", Value("WKSClockAppFontSize")}, {"value", Value(31)}}));
    ASSERT_EQ(d->terminations().size(), 1u);
    EXPECT_EQ(d->terminations().front().reason, 1);
    EXPECT_FALSE(d->isRunning(kClockApp));
}

TEST_F(DeviceTest, AllOffPostedInSpringBoardTurnsTheAlarmsOffInBothProcesses) {
    auto d = device("9.3");
    for (const char* host : {kSpringBoard, kClockApp}) d->startForked(host, &testCommands);
    d->call(kClockApp, "add-alarm", Value(Value::Dictionary{{"hour", Value(7)}, {"minute", Value(0)}}));
    d->call(kClockApp, "add-alarm", Value(Value::Dictionary{{"hour", Value(8)}, {"minute", Value(0)}}));
    EXPECT_EQ(d->call(kSpringBoard, "active-alarms"), Value(2));
    d->call(kSpringBoard, "post-distributed", Value("net.quillory.turnOffAlarms"));
    EXPECT_EQ(d->call(kSpringBoard, "active-alarms"), Value(0));
    EXPECT_EQ(d->call(kClockApp, "active-alarms"), Value(0));
    // Each process sent its updates through its own manager.
    EXPECT_EQ(d->call(kClockApp, "calls", Value("updateAlarm:active:")).count(), 2u);
    EXPECT_EQ(d->call(kSpringBoard, "calls", Value("updateAlarm:active:")).count(), 2u);
}

TEST_F(DeviceTest, AnAlarmAddedInTheClockAppRingsInSpringBoardAtItsTime) {
    auto d = device("8.4");
    for (const char* host : {kSpringBoard, kClockApp}) d->startForked(host, &testCommands);
    d->call(kClockApp, "add-alarm", Value(Value::Dictionary{{"hour", Value(6)}, {"minute", Value(2)}}));
    d->advance(119);
    EXPECT_EQ(d->call(kSpringBoard, "calls", Value("_fireNotification:")).count(), 0u);
    d->advance(1);
    EXPECT_EQ(d->call(kSpringBoard, "calls", Value("SBApplication _fireNotification:")).count(), 1u);
    EXPECT_DOUBLE_EQ(d->now().timeIntervalSinceDate(Date::fromUnix(platform::testing::kDefaultStart)), 120.0);
}

TEST_F(DeviceTest, TheHostProgramIsDrivenTheSameWay) {
    auto d = std::make_unique<Device>(Device::Options{
        .root = root, .systemVersion = "9.3", .start = Date::fromUnix(platform::testing::kDefaultStart), .hostProgram = ROUSA_HOST_PROGRAM});
    d->start(kSpringBoard);
    d->start(kClockApp);
    EXPECT_THROW(d->call(kClockApp, "no-such-command"), std::runtime_error);
    d->advance(3600);
    EXPECT_TRUE(d->isRunning(kSpringBoard));
    EXPECT_TRUE(d->isRunning(kClockApp));
}

}  // namespace
}  // namespace platform::host

#include "tweak/engine/preferences.h"

#include "engine_fixture.h"
#include "platform/foundation/run_loop.h"
#include "platform/springboard/app_switcher.h"

namespace rousa {
namespace {

using testing::EngineTest;

TEST_F(EngineTest, FileKeysTakeTheirValuesOrTheirDefaultsAtEveryLoad) {
    writePrefs(Value(Value::Dictionary{{"sleepaction", Value(3)},
                                       {"swipedelete", Value(false)},
                                       {"togglealarms", Value("YES")},
                                       {"defSnoozeTime", Value("5")},  // a text row's string
                                       {"defVolume", Value(0.25)},
                                       {"defVibrateRing", Value(true)},
                                       {"defDismissAction", Value::array({})},  // no usable kind
                                       {"defCalcDifficult", Value(3)}}));
    RousaLoadPrefs(false);
    EXPECT_EQ(sleepaction, 3);
    EXPECT_FALSE(swipedelete);
    EXPECT_TRUE(togglealarms);
    EXPECT_EQ(defSnoozeTime, 5);
    EXPECT_FLOAT_EQ(defVolume, 0.25f);
    EXPECT_TRUE(defVibrateRing);
    EXPECT_EQ(defDismissAction, 1);
    EXPECT_EQ(defCalcDifficult, 3);

    writePrefs(Value(Value::Dictionary{}));
    RousaLoadPrefs(false);
    EXPECT_EQ(sleepaction, 1);
    EXPECT_TRUE(swipedelete);
    EXPECT_TRUE(massedition);
    EXPECT_FALSE(togglealarms);
    EXPECT_TRUE(alarmTimeEnabled);
    EXPECT_FALSE(alarmTimeTitle);
    EXPECT_EQ(defSnoozeTime, 1);
    EXPECT_FLOAT_EQ(defVolume, 1.0f);
    EXPECT_FALSE(defVibrateRing);  // the loader's default differs from a new record's
    EXPECT_EQ(defDismissMeasure, 1);
    EXPECT_EQ(defFadeMeasure, 1);
    EXPECT_EQ(defCalcDifficult, 1);
}

TEST_F(EngineTest, DomainKeysKeepTheirValueWhenMissingOrUnusable) {
    EXPECT_EQ(WKSLockScreenFontSize, 17);
    EXPECT_EQ(WKSHideOnLockScreenIf, 24);
    EXPECT_EQ(WKSLockScreenHorizontalPosition, 2);
    CFPreferencesSetAppValue("WKSLockScreenFontSize", Value(20), kRousaDomain);
    CFPreferencesSetAppValue("WKSShowNextActiveAlarmOnLockScreen", Value(true), kRousaDomain);
    CFPreferencesSetAppValue("WKSHideOnLockScreenIf", Value("48"), kRousaDomain);
    RousaLoadPrefs(false);
    EXPECT_EQ(WKSLockScreenFontSize, 20);
    EXPECT_TRUE(WKSShowNextActiveAlarmOnLockScreen);
    EXPECT_EQ(WKSHideOnLockScreenIf, 48);

    CFPreferencesSetAppValue("WKSLockScreenFontSize", Value(), kRousaDomain);
    CFPreferencesSetAppValue("WKSHideOnLockScreenIf", Value(Value::Dictionary{}), kRousaDomain);
    RousaLoadPrefs(false);
    EXPECT_EQ(WKSLockScreenFontSize, 20);
    EXPECT_EQ(WKSHideOnLockScreenIf, 48);
}

TEST_F(EngineTest, LoadingReadsAnotherProcesssDomainChange) {
    RousaLoadPrefs(false);
    std::string child = platform::testing::runInChild([] {
        CFPreferencesSetAppValue("WKSClockAppFontSize", Value(30), kRousaDomain);
        return std::string("ok");
    });
    ASSERT_EQ(child, "ok");
    RousaLoadPrefs(false);
    EXPECT_EQ(WKSClockAppFontSize, 30);
}

// --- refreshing the Clock app -------------------------------------------------------------

struct RefreshCase {
    std::string name;
    std::string host;
    std::string version;
    std::vector<std::string> switcher;
    std::string terminated;  // the call log line, or empty
};

void PrintTo(const RefreshCase& c, std::ostream* os) { *os << c.name; }

const std::string kReason1 = "BackBoardServices BKSTerminateApplicationForReasonAndReportWithDescription com.apple.mobiletimer 1 NO (null)";
const std::string kReason5 =
    "BackBoardServices BKSTerminateApplicationForReasonAndReportWithDescription com.apple.mobiletimer 5 YES Killed to Refresh UI.";

class Refresh : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(Refresh, EndsTheClockAppAsTheVersionSays) {
    const RefreshCase& c = GetParam();
    platform::testing::TestEnvironment env(testing::bootFor(c.host, c.version));
    springboard::setAppSwitcherOrder(c.switcher);
    BKSTerminateApplicationForReasonAndReportWithDescription_iOS7or8 = &BKSTerminateApplicationForReasonAndReportWithDescription;
    BKSTerminateApplicationForReasonAndReportWithDescription_otherVersions = &BKSTerminateApplicationForReasonAndReportWithDescription;
    // The change notification reloads with refresh.
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, &PrefsChangedCallback,
                                    Value("net.quillory.Rousa2/prefsChanged"), nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"sleepaction", Value(2)}}));
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), Value("net.quillory.Rousa2/prefsChanged"),
                                         nullptr, Value(), true);
    RunLoop::main().runDue();
    EXPECT_EQ(sleepaction, 2);
    auto calls = callLog::lines("BKSTerminate");
    if (c.terminated.empty()) EXPECT_TRUE(calls.empty());
    else EXPECT_EQ(calls, std::vector<std::string>{c.terminated});
}

INSTANTIATE_TEST_SUITE_P(
    Versions, Refresh,
    ::testing::Values(
        RefreshCase{"iOS7_other_app_first", host::kSpringBoard, "7.1", {"com.apple.mobilesafari", "com.apple.mobiletimer"}, kReason1},
        RefreshCase{"iOS7_clock_first", host::kSpringBoard, "7.1", {"com.apple.mobiletimer"}, ""},
        RefreshCase{"iOS8_other_app_first", host::kSpringBoard, "8.1", {"com.apple.Preferences"}, kReason1},
        RefreshCase{"iOS8_clock_first", host::kSpringBoard, "8.1", {"com.apple.mobiletimer", "com.apple.Preferences"}, ""},
        RefreshCase{"iOS8_empty_switcher", host::kSpringBoard, "8.4", {}, ""},
        RefreshCase{"iOS8_in_the_clock_app", host::kClockApp, "8.1", {"com.apple.Preferences"}, ""},
        RefreshCase{"iOS9_springboard", host::kSpringBoard, "9.0", {"com.apple.mobiletimer"}, kReason5},
        RefreshCase{"iOS9_clock_app_itself", host::kClockApp, "9.3", {}, kReason5}),
    [](const auto& info) { return info.param.name; });

TEST(RefreshWithoutBackBoardServices, StillLoadsThePreferences) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kSpringBoard, "9.3"));
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"sleepaction", Value(3)}}));
    RousaLoadPrefs(true);
    EXPECT_EQ(sleepaction, 3);
    EXPECT_TRUE(callLog::lines("BKSTerminate").empty());
}

TEST(VersionGates, IncludeBothBounds) {
    struct Case {
        double number;
        bool iOS7, iOS8, iOS9;
    };
    const Case cases[] = {{847.19, false, false, false}, {847.2, true, false, false},  {847.27, true, false, false},
                          {847.28, false, false, false}, {1140.1, false, true, false}, {1141.14, false, true, false},
                          {1145.15, false, true, false}, {1200, false, false, false},  {1240.1, false, false, true},
                          {1280.38, false, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        kCFCoreFoundationVersionNumber = c.number;
        EXPECT_EQ(isiOS7(), c.iOS7);
        EXPECT_EQ(isiOS8(), c.iOS8);
        EXPECT_EQ(isiOS9up(), c.iOS9);
    }
}

}  // namespace
}  // namespace rousa

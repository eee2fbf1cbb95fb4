#include "tweak/engine/installer.h"

#include "engine_fixture.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/activator.h"
#include "platform/frameworks/backboardservices.h"
#include "tweak/engine/hook_table.h"
#include "tweak/engine/preferences.h"
#include "platform/uikit/application.h"

namespace rousa {
namespace {

// --- the gate and ordering machinery, over a table of test classes ---------------------

std::vector<std::string>& trace() {
    static std::vector<std::string> t;
    return t;
}

class Probe : public NSObject {};
inline constexpr Sel<void(id)> ping{"ping"};
inline constexpr Sel<void(id)> pong{"pong"};

void (*original_ping)(id) = nullptr;
void addedPong(id) {}

// A row that notes its installation in the trace.
HookRow traced(Gate gate, const char* label, const char* cls = "Probe") {
    HookRow row = add(gate, cls, pong, &addedPong);
    std::string name = label;
    auto install = row.install;
    row.install = [name, install](Class* c) {
        trace().push_back(name);
        install(c);
    };
    return row;
}

struct GateCase {
    double number;
    std::vector<std::string> installed;
};

TEST(HookGates, InstallGateByGateWithTheFunctionHookBeforeTheRowsMarkedAll) {
    const std::vector<HookRow> rows = {
        traced(Gate::All, "all-1"),       traced(Gate::iOS9up, "9up"),       traced(Gate::iOS7, "7"),
        traced(Gate::iOS8, "8"),          traced(Gate::iOS8or9up, "8or9up"), traced(Gate::iOS7or8, "7or8"),
        traced(Gate::All, "all-2"),       traced(Gate::All, "missing-class", "NoSuchClass"),
    };
    const GateCase cases[] = {
        {847.2, {"7", "7or8", "fn", "all-1", "all-2"}},
        {847.27, {"7", "7or8", "fn", "all-1", "all-2"}},
        {847.28, {"fn", "all-1", "all-2"}},
        {1140.1, {"7or8", "8or9up", "8", "fn", "all-1", "all-2"}},
        {1141.14, {"7or8", "8or9up", "8", "fn", "all-1", "all-2"}},
        {1145.15, {"7or8", "8or9up", "8", "fn", "all-1", "all-2"}},
        {1200, {"fn", "all-1", "all-2"}},
        {1240.1, {"8or9up", "9up", "fn", "all-1", "all-2"}},
    };
    platform::testing::TestEnvironment env;
    ClassBuilder<Probe>("Probe", "NSObject").method(ping, [](id) {});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        trace().clear();
        kCFCoreFoundationVersionNumber = c.number;
        installHookRows(rows, [] { trace().push_back("fn"); });
        EXPECT_EQ(trace(), c.installed);
    }
}

TEST(HookGates, ReplaceRowsKeepThePreviousAndClassRowsHookTheMetaclass) {
    platform::testing::TestEnvironment env;
    ClassBuilder<Probe>("Probe", "NSObject").method(ping, [](id) { trace().push_back("stock ping"); }).classMethod(pong, [](id) {
        trace().push_back("stock class pong");
    });
    static void (*original_classPong)(id) = nullptr;
    const std::vector<HookRow> rows = {
        replace(Gate::All, "Probe", ping, +[](id self) {
            trace().push_back("hooked ping");
            original_ping(self);
        }, &original_ping),
        replaceClassMethod(Gate::All, "Probe", pong, +[](id self) {
            trace().push_back("hooked class pong");
            original_classPong(self);
        }, &original_classPong),
    };
    installHookRows(rows, nullptr);
    ping(alloc("Probe"));
    pong(objc_getClass("Probe"));
    EXPECT_EQ(trace(), (std::vector<std::string>{"hooked ping", "stock ping", "hooked class pong", "stock class pong"}));
}

// --- the tweak's own table ----------------------------------------------------------------------

struct Host {
    std::string bundle;
    std::string version;
};

class TweakTable : public ::testing::TestWithParam<Host> {
protected:
    TweakTable() : env(testing::bootFor(GetParam().bundle, GetParam().version)) { startTweakLibrary(); }
    platform::testing::TestEnvironment env;
};

// The rows as the installer's table gives them, written out here on their own:
// gate, class, selector, kind, in installation order.
struct ExpectedRow {
    Gate gate;
    const char* cls;
    const char* selector;
    HookRow::Kind kind;
};
constexpr auto R = HookRow::Kind::Replace;
constexpr auto C = HookRow::Kind::ReplaceClassMethod;
constexpr auto A = HookRow::Kind::Add;
const ExpectedRow kExpectedRows[] = {
    {Gate::iOS7, "SBSystemLocalNotificationAlert", "willActivate", R},
    {Gate::iOS7, "SBSystemLocalNotificationAlert", "dismiss:", R},
    {Gate::iOS7, "SBSystemLocalNotificationAlert", "alertSheetClass", R},
    {Gate::iOS7, "SBSystemLocalNotificationAlert", "isAlarm", A},
    {Gate::iOS7, "SBApplication", "systemLocalNotificationAlertShouldSnooze:", R},
    {Gate::iOS7, "SBAlertItemsController", "activateAlertItem:", R},
    {Gate::iOS7, "SBLockScreenViewController", "biometricEventMonitorDidAuthenticate:", R},
    {Gate::iOS7, "SBLockScreenViewController", "handleLockButtonPressed", R},
    {Gate::iOS7, "SBLockScreenViewController", "handleVolumeUpButtonPressed", R},
    {Gate::iOS7, "SBLockScreenViewController", "handleVolumeDownButtonPressed", R},
    {Gate::iOS7, "SBLockScreenNotificationListController", "observer:addBulletin:forFeed:", R},
    {Gate::iOS7, "SpringBoard", "_lockButtonDownFromSource:", R},
    {Gate::iOS7, "SpringBoard", "_lockButtonUpFromSource:", R},
    {Gate::iOS7or8, "SBApplication", "_fireNotification:", R},
    {Gate::iOS8or9up, "BBServer", "init", R},
    {Gate::iOS8or9up, "SBClockDataProvider", "allowForAlarm:", A},
    {Gate::iOS8or9up, "SBClockDataProvider", "_isAlarmNotification:", R},
    {Gate::iOS8or9up, "Alarm", "notification", A},
    {Gate::iOS8or9up, "SBAlertItem", "willActivate", R},
    {Gate::iOS8or9up, "SBLockScreenFullscreenBulletinViewController", "initWithNibName:bundle:", R},
    {Gate::iOS8or9up, "SBApplication", "snoozeNotificationForLocalNotification:", R},
    {Gate::iOS8or9up, "SBAlertItemsController", "activateAlertItem:", R},
    {Gate::iOS8or9up, "SBLockScreenViewController", "presentFullscreenBulletinAlertWithItem:", R},
    {Gate::iOS8or9up, "SBLockScreenViewController", "dismissFullscreenBulletinAlertWithItem:", R},
    {Gate::iOS8or9up, "SBLockScreenViewController", "biometricEventMonitorDidAuthenticate:", R},
    {Gate::iOS8or9up, "SBLockScreenViewController", "handleLockButtonPressed", R},
    {Gate::iOS8or9up, "SBLockScreenViewController", "handleVolumeUpButtonPressed", R},
    {Gate::iOS8or9up, "SBLockScreenViewController", "handleVolumeDownButtonPressed", R},
    {Gate::iOS8or9up, "SpringBoard", "_lockButtonDown:fromSource:", R},
    {Gate::iOS8or9up, "SpringBoard", "_lockButtonUp:fromSource:", R},
    {Gate::iOS8, "SBApplication", "scheduleLocalNotifications:replaceExistingNotifications:", R},
    {Gate::iOS9up, "Alarm", "alarmId", A},
    {Gate::iOS9up, "Alarm", "setAlarmId:", A},
    {Gate::iOS9up, "SBBacklightController", "screenIsOff", A},
    {Gate::iOS9up, "UNLocalNotificationClient", "scheduleSnoozeNotification:", R},
    {Gate::iOS9up, "UNLocalNotificationClient", "_fireNotification:", R},
    {Gate::All, "SBClockDataProvider", "_scheduledNotifications", R},
    {Gate::All, "SBClockDataProvider", "_publishAlarmsWithScheduledNotifications:", R},
    {Gate::All, "SBClockDataProvider", "didScheduleNotifications:", A},
    {Gate::All, "SBLockScreenViewController", "startLockScreenFadeInAnimationForSource:", R},
    {Gate::All, "SBLockScreenViewController", "frameForAlarmView:", A},
    {Gate::All, "SBLockScreenSnoozedAlarmCell", "setFireDate:", R},
    {Gate::All, "AlarmTableViewCell", "refreshUI:animated:", R},
    {Gate::All, "AlarmView", "setName:andRepeatText:textColor:", R},
    {Gate::All, "AlarmView", "layoutSubviews", R},
    {Gate::All, "SBHUDController", "_createUI", R},
    {Gate::All, "BBBulletin", "unlockActionLabel", R},
    {Gate::All, "BBBulletin", "fullUnlockActionLabel", R},
    {Gate::All, "BBBulletin", "unlockActionLabelOverride", R},
    {Gate::All, "SBSoundController", "_soundDidStartPlaying:", R},
    {Gate::All, "AVController", "shouldFadeAudio", A},
    {Gate::All, "SBLockScreenManager", "biometricEventMonitorShouldRelockAfterBioUnlock:", R},
    {Gate::All, "SBLockScreenManager", "lockUIFromSource:withOptions:", R},
    {Gate::All, "SBLockScreenManager", "unlockUIFromSource:withOptions:", R},
    {Gate::All, "SBAlertItemsController", "deactivateAlertItem:", R},
    {Gate::All, "SBAlertItemsController", "deactivateAlertItem:reason:", R},
    {Gate::All, "SBAlertItemsController", "deactivateAlertItem:reason:animated:", R},
    {Gate::All, "SBCCTimerShortcut", "activateAppWithDisplayID:url:", R},
    {Gate::All, "SBCCTimerShortcut", "glyphImageForState:", R},
    {Gate::All, "ClockManager", "sectionFromClockAppURL:", C},
    {Gate::All, "EditAlarmViewController", "viewDidLoad", R},
    {Gate::All, "EditAlarmViewController", "viewWillAppear:", R},
    {Gate::All, "EditAlarmViewController", "viewDidLayoutSubviews", R},
    {Gate::All, "EditAlarmViewController", "handlePickerChanged", R},
    {Gate::All, "EditAlarmViewController", "loadView", R},
    {Gate::All, "EditAlarmViewController", "viewWillDisappear:", R},
    {Gate::All, "EditAlarmViewController", "initWithAlarm:", R},
    {Gate::All, "EditAlarmViewController", "rousaFieldChanged:", A},
    {Gate::All, "EditAlarmViewController", "_doneButtonClicked:", R},
    {Gate::All, "EditAlarmViewController", "dismiss:", A},
    {Gate::All, "EditAlarmViewController", "numberOfSectionsInTableView:", R},
    {Gate::All, "EditAlarmViewController", "tableView:numberOfRowsInSection:", R},
    {Gate::All, "EditAlarmViewController", "tableView:cellForRowAtIndexPath:", R},
    {Gate::All, "EditAlarmViewController", "tableView:didSelectRowAtIndexPath:", R},
    {Gate::All, "EditAlarmViewController", "actionSheet:clickedButtonAtIndex:", A},
    {Gate::All, "EditAlarmViewController", "alertView:clickedButtonAtIndex:", A},
    {Gate::All, "AlarmManager", "addAlarm:active:", R},
    {Gate::All, "AlarmManager", "updateAlarm:active:", R},
    {Gate::All, "AlarmManager", "removeAlarm:", R},
    {Gate::All, "SBSoundPreferences", "shouldVibrateForCurrentRingerStateWithAudioCategory:", C},
    {Gate::All, "AlarmViewController", "viewDidLoad", R},
    {Gate::All, "AlarmViewController", "viewWillAppear:", R},
    {Gate::All, "AlarmViewController", "viewWillDisappear:", R},
    {Gate::All, "AlarmViewController", "reloadTableViewOnMinuteChange", A},
    {Gate::All, "AlarmViewController", "applicationDidEnterForeground", A},
    {Gate::All, "AlarmViewController", "applicationWillTerminate", A},
    {Gate::All, "AlarmViewController", "didEditAlarm:", R},
    {Gate::All, "AlarmViewController", "tableView:cellForRowAtIndexPath:", R},
    {Gate::All, "AlarmViewController", "handleTap:", A},
    {Gate::All, "AlarmViewController", "handleLongPress:", A},
    {Gate::All, "AlarmViewController", "setEditing:animated:", R},
    {Gate::All, "AlarmViewController", "selectAll", A},
    {Gate::All, "AlarmViewController", "editAll", A},
    {Gate::All, "AlarmViewController", "alertView:clickedButtonAtIndex:", A},
    {Gate::All, "AlarmViewController", "removeAll", A},
    {Gate::All, "AlarmViewController", "editButtonItem", R},
    {Gate::All, "AlarmViewController", "tableView:canEditRowAtIndexPath:", R},
    {Gate::All, "AlarmViewController", "tableView:editingStyleForRowAtIndexPath:", R},
    {Gate::All, "AlarmViewController", "tableView:shouldHighlightRowAtIndexPath:", R},
    {Gate::All, "AlarmViewController", "init", R},
    {Gate::All, "AlarmViewController", "alarmToggleButtonPressed", A},
    {Gate::All, "AlarmViewController", "dismiss:", A},
    // The list is its radial menu's delegate, to hide the menu once it closed.
    {Gate::All, "AlarmViewController", "radialMenuDidDismiss:", A},
};

// Whether a row's gate admits an iOS major version.
bool admits(Gate gate, int major) {
    switch (gate) {
        case Gate::iOS7: return major == 7;
        case Gate::iOS7or8: return major == 7 || major == 8;
        case Gate::iOS8or9up: return major == 8 || major == 9;
        case Gate::iOS8: return major == 8;
        case Gate::iOS9up: return major == 9;
        case Gate::All: return true;
    }
    return false;
}

std::string describe(Gate gate, const std::string& cls, const std::string& selector, HookRow::Kind kind) {
    return std::to_string(static_cast<int>(gate)) + " " + cls + " " + selector + " " + std::to_string(static_cast<int>(kind));
}

TEST(TweakTableRows, AreExactlyTheRowsOfEachGateAndKindInOrder) {
    std::vector<std::string> got, expected;
    for (const HookRow& row : hookTable()) got.push_back(describe(row.gate, row.cls, row.selector, row.kind));
    for (const ExpectedRow& row : kExpectedRows) expected.push_back(describe(row.gate, row.cls, row.selector, row.kind));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << "row " << i;
}

TEST_P(TweakTable, EachVersionGetsItsRowsOfThePresentClassesAndNoOthers) {
    const int major = std::stoi(GetParam().version);
    int installed = 0;
    for (const HookRow& row : hookTable()) {
        SCOPED_TRACE(row.cls + " " + row.selector);
        Class* cls = objc_getClass(row.cls);
        if (!cls) continue;
        Class* owner = row.kind == HookRow::Kind::ReplaceClassMethod ? object_getClass(cls) : cls;
        const Method* m = owner->lookup(row.selector);
        if (!admits(row.gate, major)) {
            if (m) {
                EXPECT_NE(m->imp, row.implementation);
            }
            continue;
        }
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->imp, row.implementation);
        // A class method's row leaves the instances' method alone.
        if (row.kind == HookRow::Kind::ReplaceClassMethod) {
            const Method* instance = cls->lookup(row.selector);
            if (instance) {
                EXPECT_NE(instance->imp, row.implementation);
            }
        }
        ++installed;
    }
    EXPECT_GT(installed, 0);
}

INSTANTIATE_TEST_SUITE_P(Hosts, TweakTable,
                         ::testing::Values(Host{host::kSpringBoard, "7.1"}, Host{host::kSpringBoard, "8.1"},
                                           Host{host::kSpringBoard, "9.3"}, Host{host::kClockApp, "7.0"},
                                           Host{host::kClockApp, "8.4"}, Host{host::kClockApp, "9.0"}),
                         [](const auto& info) {
                             return std::string(info.param.bundle == host::kSpringBoard ? "SpringBoard" : "Clock") + "_iOS" +
                                    info.param.version.substr(0, 1);
                         });

TEST(Installer, AProcessWithoutTheClassesInstallsNothingAndStillObservesChanges) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kSettingsApp, "9.3"));
    startTweakLibrary();
    EXPECT_EQ(objc_getClass("AlarmManager"), nullptr);
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"sleepaction", Value(3)}}));
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), Value(kPrefsChangedNotification), nullptr,
                                         Value(), true);
    RunLoop::main().runDue();
    EXPECT_EQ(sleepaction, 3);
}

// --- Activator and BackBoardServices ----------------------------------------------------------------

struct ActivatorCase {
    std::string name;
    std::string bundle;
    bool activatorInstalled;
    std::vector<std::string> logged;
};
void PrintTo(const ActivatorCase& c, std::ostream* os) { *os << c.name; }

class ActivatorStep : public ::testing::TestWithParam<ActivatorCase> {};

TEST_P(ActivatorStep, LogsWhatItFinds) {
    const auto& c = GetParam();
    auto options = testing::bootFor(c.bundle, "9.3");
    if (!c.activatorInstalled) options.missingLibraries = {kActivatorPath};
    platform::testing::TestEnvironment env(options);
    startTweakLibrary();
    std::vector<std::string> lines;
    for (const auto& l : log::lines())
        if (l.find("ACTIVATOR") != std::string::npos) lines.push_back(l);
    EXPECT_EQ(lines, c.logged);
}

const std::string kEnabled = "\033[1;35m[Rousa2] ACTIVATOR INSTALLED - SUPPORT ENABLED\033[0m";
const std::string kDisabled = "\033[1;35m[Rousa2] ACTIVATOR NOT INSTALLED - SUPPORT DISABLED\033[0m";

INSTANTIATE_TEST_SUITE_P(Hosts, ActivatorStep,
                         ::testing::Values(ActivatorCase{"springboard_with_activator", host::kSpringBoard, true, {kEnabled}},
                                           ActivatorCase{"springboard_without", host::kSpringBoard, false, {kDisabled}},
                                           ActivatorCase{"clock_with_activator", host::kClockApp, true, {}},
                                           ActivatorCase{"clock_without", host::kClockApp, false, {kDisabled}}),
                         [](const auto& info) { return info.param.name; });

struct TerminateCase {
    std::string name;
    std::string version;
    double number;
    bool backBoardServices;
    bool iOS7or8Slot, otherSlot;
};
void PrintTo(const TerminateCase& c, std::ostream* os) { *os << c.name; }

class TerminateLookup : public ::testing::TestWithParam<TerminateCase> {};

TEST_P(TerminateLookup, FillsTheSlotOfTheRunningVersion) {
    const auto& c = GetParam();
    auto options = testing::bootFor(host::kSpringBoard, c.version);
    options.coreFoundationVersion = c.number;
    if (!c.backBoardServices) options.missingLibraries = {kBackBoardServicesPath};
    platform::testing::TestEnvironment env(options);
    startTweakLibrary();
    EXPECT_EQ(BKSTerminateApplicationForReasonAndReportWithDescription_iOS7or8 != nullptr, c.iOS7or8Slot);
    EXPECT_EQ(BKSTerminateApplicationForReasonAndReportWithDescription_otherVersions != nullptr, c.otherSlot);
}

INSTANTIATE_TEST_SUITE_P(Versions, TerminateLookup,
                         ::testing::Values(TerminateCase{"iOS7", "7.1", 0, true, true, false},
                                           TerminateCase{"iOS8", "8.2", 0, true, true, false},
                                           TerminateCase{"between_ranges", "8.4", 1200, true, false, true},
                                           TerminateCase{"iOS9", "9.1", 0, true, false, true},
                                           TerminateCase{"iOS9_without_backboardservices", "9.1", 0, false, false, false}),
                         [](const auto& info) { return info.param.name; });

TEST(Installer, TheChangeNotificationReloadsAndEndsTheClockAppOnIOS9) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kSpringBoard, "9.3"));
    startTweakLibrary();
    CFPreferencesSetAppValue("WKSLockScreenFontSize", Value(22), kRousaDomain);
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), Value(kPrefsChangedNotification), nullptr,
                                         Value(), true);
    RunLoop::main().runDue();
    EXPECT_EQ(WKSLockScreenFontSize, 22);
    EXPECT_EQ(callLog::lines("BKSTerminate"),
              std::vector<std::string>{"BackBoardServices BKSTerminateApplicationForReasonAndReportWithDescription "
                                       "com.apple.mobiletimer 5 YES Killed to Refresh UI."});
}

}  // namespace
}  // namespace rousa

namespace rousa {
namespace {

TEST(Installer, UIApplicationMainIsReplacedAndStillLaunchesTheApp) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kClockApp, "8.4"));
    startTweakLibrary();
    ASSERT_NE(original_UIApplicationMain, nullptr);
    char name[] = "MobileTimer";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(UIApplicationMain(1, argv, Value(), Value()), 0);
    EXPECT_NE(UIApplication::sharedApplication(), nullptr);
}

}  // namespace
}  // namespace rousa

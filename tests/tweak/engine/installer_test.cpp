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

TEST_P(TweakTable, EveryOpenRowOfAPresentClassIsInPlace) {
    int installed = 0;
    for (const HookRow& row : hookTable()) {
        SCOPED_TRACE(row.cls + " " + row.selector);
        Class* cls = objc_getClass(row.cls);
        if (!cls) continue;
        if (row.kind == HookRow::Kind::ReplaceClassMethod) cls = object_getClass(cls);
        const Method* m = cls->lookup(row.selector);
        if (!gateIsOpen(row.gate)) {
            if (m) {
                EXPECT_NE(m->imp, row.implementation);
            }
            continue;
        }
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->imp, row.implementation);
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

#include "tweak/engine/activator_actions.h"

#include "engine_fixture.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/activator.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/application.h"
#include "tests/tweak/screens/alarm_list_fixture.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/store.h"

namespace rousa {
namespace {

class Heard : public NSObject {
public:
    std::vector<std::string> names;
};
inline constexpr Sel<void(id, id)> heard_{"heard:"};

TEST(ActivatorActions, SpringBoardsListenersPostTheirNotifications) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kSpringBoard, "9.3"));
    startTweakLibrary();
    EXPECT_EQ(callLog::lines("LAActivator registerListener:forName:"),
              (std::vector<std::string>{"LAActivator registerListener:forName: net.quillory.Rousa2.stop-alarm",
                                        "LAActivator registerListener:forName: net.quillory.Rousa2.snooze-alarm",
                                        "LAActivator registerListener:forName: net.quillory.Rousa2.turnon-alarms",
                                        "LAActivator registerListener:forName: net.quillory.Rousa2.turnoff-alarms"}));
    ClassBuilder<Heard>("Heard", "NSObject").method(heard_, [](id self, id n) { as<Heard>(self)->names.push_back(as<NSNotification>(n)->name()); });
    auto heard = alloc("Heard");
    for (const auto& action : kActivatorActions)
        NSDistributedNotificationCenter::defaultCenter()->addObserver(heard, heard_, action.notification, Value());
    for (const auto& action : kActivatorActions) EXPECT_TRUE(activator::sendEvent(action.listenerName));
    RunLoop::main().runDue();
    EXPECT_EQ(as<Heard>(heard)->names, (std::vector<std::string>{"net.quillory.stopAlarm", "net.quillory.snoozeAlarm",
                                                                  "net.quillory.turnOnAlarms", "net.quillory.turnOffAlarms"}));
    // The listeners are shared instances of classes that adopt LAListener.
    Class* stop = objc_getClass("StopAlarm");
    EXPECT_EQ(sel::sharedListener(stop).get(), sel::sharedListener(stop).get());
    EXPECT_TRUE(conformsToProtocol(sel::sharedListener(stop), "LAListener"));
}

TEST(ActivatorActions, NoListenersOutsideSpringBoardOrWithoutActivator) {
    for (auto options : {testing::bootFor(host::kClockApp, "9.3"), [] {
             auto o = testing::bootFor(host::kSpringBoard, "9.3");
             o.missingLibraries = {kActivatorPath};
             return o;
         }()}) {
        std::string got = platform::testing::runInChild(options, [] {
            startTweakLibrary();
            return std::to_string(callLog::count("LAActivator", "registerListener:forName:"));
        });
        EXPECT_EQ(got, "0");
    }
}


void post(const ActivatorAction& action) {
    NSDistributedNotificationCenter::defaultCenter()->postNotificationName(action.notification, Value());
    RunLoop::main().runDue();
}
constexpr const ActivatorAction& kTurnOn = kActivatorActions[2];
constexpr const ActivatorAction& kTurnOff = kActivatorActions[3];

std::vector<bool> activeStates(id manager) {
    std::vector<bool> out;
    for (const Value& a : sel::alarms(manager).array()) out.push_back(sel::isActive(a.object()));
    return out;
}

// In the Clock app the observer acts through its own manager and reloads the list on screen.
class ClockAppActions : public testing::AlarmListTest {
protected:
    ClockAppActions() { UIApplicationMain(0, nullptr, Value(), Value()); }
    int cellRequests() const { return callLog::count("AlarmViewController", "tableView:cellForRowAtIndexPath:"); }
};

TEST_F(ClockAppActions, AllOnAndAllOffUpdateEveryAlarmAndReloadTheList) {
    addAlarm(6, 0, true);
    addAlarm(7, 0, false);
    addAlarm(8, 0, true);
    show();
    struct Case {
        const ActivatorAction& action;
        bool active;
    };
    for (const Case& c : {Case{kTurnOff, false}, Case{kTurnOn, true}, Case{kTurnOn, true}}) {
        SCOPED_TRACE(c.action.notification);
        callLog::clear();
        post(c.action);
        EXPECT_EQ(callLog::count("AlarmManager", "updateAlarm:active:"), 3);
        EXPECT_EQ(activeStates(manager), std::vector<bool>(3, c.active));
        layout();
        EXPECT_EQ(cellRequests(), 3);  // the list was reloaded
        // The rows show it.
        for (long long row = 0; row < 3; ++row)
            EXPECT_EQ(as<AlarmTableViewCell>(table()->visibleCell({0, row}).get())->alarmView_->enabledSwitch_->on_, c.active);
    }
}

TEST_F(ClockAppActions, AllOffDuringAMultipleEditSelectionEditsNoRecord) {
    addAlarm(6, 0);
    addAlarm(7, 0);
    show();
    pressEdit();
    toolbarItem("selectAll")->press();
    const Value before = RousaReadPrefsFile()["Alarms"];
    post(kTurnOff);
    EXPECT_EQ(activeStates(manager), (std::vector<bool>{false, false}));
    EXPECT_EQ(RousaReadPrefsFile()["Alarms"], before);
    EXPECT_EQ(alarmsSelected.count(), 2u);
}

// An update that raises on the second alarm, laid over the tweak's own hook.
void (*previousUpdate)(id, id, bool) = nullptr;
int updates = 0;
void raisingUpdate(id self, id alarm, bool active) {
    if (++updates == 2) raise("NSInternalInconsistencyException", "the second alarm is busy");
    previousUpdate(self, alarm, active);
}

// The guard's own log lines, in order.
std::vector<std::string> guardLines() {
    std::vector<std::string> out;
    for (const auto& line : log::lines())
        if (line.rfind("Exception: ", 0) == 0 || line == "finally") out.push_back(line);
    return out;
}

TEST_F(ClockAppActions, AnExceptionIsLoggedAndFinallyFollowsWithTheAlarmsChangedSoFar) {
    addAlarm(6, 0, true);
    addAlarm(7, 0, true);
    addAlarm(8, 0, true);
    show();
    MSHookMessageEx(objc_getClass("AlarmManager"), sel::updateAlarm_active_, &raisingUpdate, &previousUpdate);
    log::clear();
    post(kTurnOff);
    EXPECT_EQ(activeStates(manager), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(guardLines(), (std::vector<std::string>{"Exception: the second alarm is busy", "finally"}));
    // The next action runs whole again.
    log::clear();
    post(kTurnOff);
    EXPECT_EQ(activeStates(manager), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(guardLines(), std::vector<std::string>{"finally"});
}

TEST(ActivatorActions, AllOnAndAllOffInSpringBoardWithOrWithoutActivator) {
    for (bool withActivator : {true, false}) {
        SCOPED_TRACE(withActivator);
        auto options = testing::bootFor(host::kSpringBoard, "9.3");
        if (!withActivator) options.missingLibraries = {kActivatorPath};
        // A fresh device root for each child.
        platform::testing::TestEnvironment env(options, false);
        std::string got = platform::testing::runInChild(env.options(), [] {
            startTweakLibrary();
            UIApplicationMain(0, nullptr, Value(), Value());
            Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
            for (int i = 0; i < 3; ++i) {
                Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
                sel::setHour_(alarm, 6 + i);
                sel::addAlarm_active_(manager, alarm, i == 1);
            }
            std::string out;
            for (const auto* action : {&kTurnOn, &kTurnOff}) {
                callLog::clear();
                post(*action);
                out += std::to_string(callLog::count("AlarmManager", "updateAlarm:active:"));
                for (bool on : activeStates(manager)) out += on ? "1" : "0";
                out += std::to_string(springboard::scheduledNotifications().size()) + " ";
            }
            return out;
        });
        EXPECT_EQ(got, "31113 30000 ");
    }
}
}  // namespace
}  // namespace rousa

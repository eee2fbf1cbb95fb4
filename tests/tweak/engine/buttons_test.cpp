// While an alarm rings: the record's snooze length, the automatic stop or
// snooze, the sleep button by "sleepaction", the volume buttons and Touch ID.
#include "ringing_fixture.h"
#include "tweak/engine/ringing.h"

namespace rousa {
namespace {

using testing::RecordFields;
using testing::Ringing;

// The snooze copy's fire date, in seconds after now.
double snoozeIn() {
    auto snoozes = Ringing::snoozes();
    EXPECT_EQ(snoozes.size(), 1u);
    return snoozes.empty() ? -1 : NSDate::timeIntervalSinceNow(snoozes.front().nextFireDate);
}

// --- snooze length ---------------------------------------------------------------------------------------

struct SnoozeCase {
    const char* version;
    bool locked;
    long long snoozeTime, measure;
    bool recordKept;
    double firesIn;
};
void PrintTo(const SnoozeCase& c, std::ostream* os) { *os << "iOS " << c.version << " snooze " << c.snoozeTime << " unit " << c.measure; }

class SnoozeLength : public ::testing::TestWithParam<SnoozeCase> {};

TEST_P(SnoozeLength, TheRecordsSnoozeTimeReplacesSpringBoardsNineMinutes) {
    const auto& c = GetParam();
    Ringing r(c.version);
    if (c.locked) device::setLocked(true);
    RecordFields f;
    f.snoozeTime = c.snoozeTime;
    f.snoozeMeasure = c.measure;
    f.calcEnabled = true;
    Ref<Object> alarm = r.alarmWithRecord(f);
    r.ring();
    if (!c.recordKept) RousaRemoveAlarm(sel::alarmId(alarm));
    sel::setAlarmToSnooze_(r.window(), nullptr);
    EXPECT_DOUBLE_EQ(snoozeIn(), c.firesIn);
    ASSERT_FALSE(Ringing::snoozes().empty());
    // Only the snooze copy is marked.
    EXPECT_TRUE(sel::userInfo(Ringing::snoozes().front().notification)["isSnooze"].boolValue());
    for (const auto& s : springboard::scheduledNotifications())
        if (!s.snooze) {
            EXPECT_TRUE(sel::userInfo(s.notification)["isSnooze"].isNil());
        }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SnoozeLength,
    ::testing::Values(SnoozeCase{"9.3", false, 30, 1, true, 30}, SnoozeCase{"9.3", true, 2, 2, true, 120},
                      SnoozeCase{"8.4", false, 30, 1, true, 30}, SnoozeCase{"8.4", true, 1, 3, true, 3600},
                      SnoozeCase{"7.1", false, 30, 1, true, 540},  // iOS 7 keeps SpringBoard's snooze
                      SnoozeCase{"9.3", false, 30, 1, false, 540},  // a record missing at snooze time
                      SnoozeCase{"8.4", false, 0, 1, true, 540}),   // no snooze time: SpringBoard's own
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SnoozeLength, AMovedSnoozeMovesOnceWhenSpringBoardHandsItsListOnAgain) {
    Ringing r("8.4");
    RecordFields f;
    f.snoozeTime = 30;
    f.calcEnabled = true;
    r.alarmWithRecord(f, 1);
    r.ring();
    sel::setAlarmToSnooze_(r.window(), nullptr);
    ASSERT_DOUBLE_EQ(snoozeIn(), 30);
    Date moved = Ringing::snoozes().front().nextFireDate;
    // SpringBoard hands its whole list on again, the moved snooze in it.
    Value list = Value(Value::Array{});
    for (const auto& s : springboard::scheduledNotifications()) list.mutableArray().push_back(Value(sel::copy(s.notification)));
    sel::scheduleLocalNotifications_replaceExistingNotifications_(springboard::clockApplication(), list, true);
    int marked = 0;
    for (const auto& s : springboard::scheduledNotifications()) {
        if (!sel::userInfo(s.notification)["isSnooze"].boolValue()) continue;
        ++marked;
        EXPECT_EQ(sel::fireDate(s.notification).date(), moved);
    }
    EXPECT_EQ(marked, 1);
}

// --- the automatic stop or snooze ---------------------------------------------------------------------------

struct AutoCase {
    const char* version;
    bool locked;
    long long action;
};
void PrintTo(const AutoCase& c, std::ostream* os) { *os << "iOS " << c.version << (c.locked ? " locked" : "") << " action " << c.action; }

class AutomaticAction : public ::testing::TestWithParam<AutoCase> {
protected:
    AutomaticAction() : r(GetParam().version) {
        if (GetParam().locked) device::setLocked(true);
    }
    void ringWithAutomaticAction(long long interval = 90, long long measure = 1) {
        RecordFields f;
        f.dismissInterval = interval;
        f.dismissMeasure = measure;
        f.dismissAction = GetParam().action;
        r.alarmWithRecord(f);
        r.ring();
        ASSERT_TRUE(alarmRinging);
    }
    Ringing r;
};

TEST_P(AutomaticAction, StopsOrSnoozesOnceAfterTheInterval) {
    ringWithAutomaticAction();
    r.advance(89);
    EXPECT_TRUE(alarmRinging);
    r.advance(1);
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(r.soundPlaying());
    EXPECT_EQ(Ringing::snoozes().size(), GetParam().action == 2 ? 1u : 0u);
}

TEST_P(AutomaticAction, NeverActsAfterTheUserStoppedTheAlarmOrOnALaterRinging) {
    ringWithAutomaticAction();
    r.advance(10);
    Ref<Object> item = alarmAlertItem;
    if (item) sel::alertView_clickedButtonAtIndex_(item, item, 1);
    else sel::_dismissFullscreenBulletinAlertAnimated_(r.lockScreen(), true);
    ASSERT_FALSE(alarmRinging);
    // A later alarm rings before the first one's interval is over.
    RecordFields f;
    r.alarmWithRecord(f, 2);
    r.advance(50);
    ASSERT_TRUE(alarmRinging);
    callLog::clear();
    r.advance(60);
    EXPECT_TRUE(alarmRinging);
    EXPECT_TRUE(Ringing::snoozes().empty());
}

TEST_P(AutomaticAction, AnIntervalLongerThanTheClockCountsNeverActsWithinTheRinging) {
    // The largest custom value the edit screen stores, in minutes.
    ringWithAutomaticAction(2147483647, 2);
    r.advance(3600);
    EXPECT_TRUE(alarmRinging);
    EXPECT_TRUE(r.soundPlaying());
    EXPECT_TRUE(Ringing::snoozes().empty());
}

TEST_P(AutomaticAction, StillActsAfterALockPressThatOnlyTurnedTheScreen) {
    // Unlocked, the lock button ends the alarm as SpringBoard does; locked it only turns the screen.
    if (!GetParam().locked) return;
    Ringing::preferences({{"sleepaction", Value(3)}});
    ringWithAutomaticAction();
    device::pressLockButton();
    ASSERT_TRUE(alarmRinging);
    ASSERT_TRUE(lockButtonPressed);
    r.advance(90);
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(r.soundPlaying());
}

INSTANTIATE_TEST_SUITE_P(Versions, AutomaticAction,
                         ::testing::Values(AutoCase{"7.1", false, 1}, AutoCase{"7.1", true, 2}, AutoCase{"8.4", false, 2},
                                           AutoCase{"8.4", true, 1}, AutoCase{"9.3", false, 1}, AutoCase{"9.3", true, 2}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(AutomaticActionOff, AZeroIntervalSchedulesNothing) {
    Ringing r("9.3");
    r.alarmWithRecord(RecordFields{});
    r.ring();
    r.advance(3600);
    EXPECT_TRUE(alarmRinging);
}

// --- the sleep button -----------------------------------------------------------------------------------------

TEST(SleepButton, StopUnderSleepAction2DropsOnlyThatAlarmsSnoozeAndTheNextFiringStartsClean) {
    Ringing r("9.3");
    Ringing::preferences({{"sleepaction", Value(2)}});
    device::setLocked(true);
    Ref<Object> first = r.alarmWithRecord(RecordFields{}, 1);
    Ref<Object> later = r.alarmWithRecord(RecordFields{}, 30);
    r.ring();
    ASSERT_TRUE(alarmRinging);
    device::pressLockButton();
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(r.soundPlaying());
    EXPECT_TRUE(Ringing::snoozes().empty());
    EXPECT_FALSE(lockButtonPressed);
    // The other alarm stays scheduled and rings as usual.
    bool laterScheduled = false;
    for (const auto& s : springboard::scheduledNotifications())
        if (alarmIdOf(s.notification) == sel::alarmId(later)) laterScheduled = true;
    EXPECT_TRUE(laterScheduled);
    r.advance(29 * 60);
    EXPECT_TRUE(alarmRinging);
    EXPECT_EQ(currentAlarm->alarmId(), sel::alarmId(later));
    EXPECT_FALSE(lockButtonPressed);
}

TEST(SleepButton, StopUnderSleepAction2OnIOS8DropsTheSnoozeFromTheList) {
    Ringing r("8.4");
    Ringing::preferences({{"sleepaction", Value(2)}});
    device::setLocked(true);
    r.alarmWithRecord(RecordFields{}, 1);
    Ref<Object> later = r.alarmWithRecord(RecordFields{}, 30);
    r.ring();
    device::pressLockButton();
    EXPECT_FALSE(alarmRinging);
    EXPECT_TRUE(Ringing::snoozes().empty());
    EXPECT_EQ(springboard::scheduledNotifications().size(), 1u);
    EXPECT_EQ(alarmIdOf(springboard::scheduledNotifications().front().notification), sel::alarmId(later));
}

TEST(SleepButton, UnderSleepAction3TheLockButtonOnlyTogglesTheScreen) {
    for (const char* version : {"7.1", "8.4", "9.3"}) {
        SCOPED_TRACE(version);
        std::string got = platform::testing::runInChild([version] {
            Ringing r(version);
            Ringing::preferences({{"sleepaction", Value(3)}});
            device::setLocked(true);
            device::setScreenOn(false);
            r.alarmWithRecord(RecordFields{});
            r.ring();
            std::string out;
            for (int press = 0; press < 3; ++press) {
                device::pressLockButton();
                out += device::isScreenOn() ? "on " : "off ";
            }
            out += alarmRinging && r.soundPlaying() ? "ringing " : "stopped ";
            out += device::isLocked() ? "locked" : "unlocked";
            out += " lock-requests=" + std::to_string(callLog::count("SBLockScreenManager", "lockUIFromSource:withOptions:"));
            return out;
        });
        // The alarm turned the screen on; each press turns it off, on (Home), off.
        EXPECT_EQ(got, "off on off ringing locked lock-requests=0");
    }
}

TEST(SleepButton, SleepAction3OnAnIOS7LockScreenKeepsTheAlarmsBulletinOffTheList) {
    Ringing r("7.1");
    Ringing::preferences({{"sleepaction", Value(3)}});
    device::setLocked(true);
    r.alarmWithRecord(RecordFields{});
    r.ring();
    EXPECT_EQ(callLog::count("SBLockScreenNotificationListController", "observer:addBulletin:forFeed:"), 0);
}

// --- Touch ID and the volume buttons ---------------------------------------------------------------------

struct GateCase {
    const char* version;
    bool disableTouchID, question, showAlertLockScreen;
    bool unlocks;
};
void PrintTo(const GateCase& c, std::ostream* os) {
    *os << "iOS " << c.version << (c.disableTouchID ? " disabletouchid" : "") << (c.question ? " question" : "")
        << (c.showAlertLockScreen ? " showalertlockscreen" : "");
}

class TouchID : public ::testing::TestWithParam<GateCase> {};

TEST_P(TouchID, IsRefusedWhileTheAlarmAsksOrTheUserDisabledIt) {
    const auto& c = GetParam();
    Ringing r(c.version);
    Ringing::preferences({{"disabletouchid", Value(c.disableTouchID)}, {"showalertlockscreen", Value(c.showAlertLockScreen)}});
    device::setLocked(true);
    RecordFields f;
    f.calcEnabled = c.question;
    r.alarmWithRecord(f);
    r.ring();
    device::touchID();
    r.advance(1.0);
    EXPECT_EQ(!device::isLocked(), c.unlocks);
    EXPECT_TRUE(alarmRinging);
    if (c.showAlertLockScreen && c.unlocks) {
        EXPECT_TRUE(sel::isHidden(r.window()));
    }
}

INSTANTIATE_TEST_SUITE_P(Gates, TouchID,
                         ::testing::Values(GateCase{"8.4", false, false, false, true}, GateCase{"8.4", true, false, false, false},
                                           GateCase{"9.3", false, true, false, false}, GateCase{"9.3", false, false, true, true},
                                           GateCase{"7.1", true, false, false, false}, GateCase{"7.1", false, false, true, true}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(VolumeButtons, HideTheWindowOverTheLockScreen) {
    for (const char* version : {"7.1", "8.4", "9.3"}) {
        SCOPED_TRACE(version);
        std::string got = platform::testing::runInChild([version] {
            Ringing r(version);
            Ringing::preferences({{"showalertlockscreen", Value(true)}});
            device::setLocked(true);
            r.alarmWithRecord(RecordFields{});
            r.ring();
            bool shownBefore = r.windowShown();
            device::pressVolumeUp();
            r.advance(1.0);
            return std::string(shownBefore ? "shown " : "absent ") + (sel::isHidden(r.window()) ? "hidden" : "visible");
        });
        EXPECT_EQ(got, "shown hidden");
    }
}

}  // namespace
}  // namespace rousa

namespace rousa {
namespace {

using testing::RecordFields;
using testing::Ringing;

// --- branches of the buttons and the indicator ------------------------------------------------------------

TEST(TouchID, TheRelockAnswerIsYesWhileTheAlarmRingsWithTouchIDOffOrAQuestion) {
    struct Case {
        bool disableTouchID, question, ringing;
        const char* want;
    } const cases[] = {{true, false, true, "YES asked=0"},
                       {false, true, true, "YES asked=0"},
                       {false, false, true, "NO asked=1"},
                       {true, false, false, "NO asked=1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.disableTouchID) + std::to_string(c.question) + std::to_string(c.ringing));
        std::string got = platform::testing::runInChild([c] {
            Ringing r("9.3");
            Ringing::preferences({{"disabletouchid", Value(c.disableTouchID)}});
            device::setLocked(true);
            RecordFields f;
            f.calcEnabled = c.question;
            r.alarmWithRecord(f);
            if (c.ringing) r.ring();
            callLog::clear();
            bool relock = sel::biometricEventMonitorShouldRelockAfterBioUnlock_(sel::sharedInstance(objc_getClass("SBLockScreenManager")), nullptr);
            return std::string(relock ? "YES" : "NO") + " asked=" +
                   std::to_string(callLog::count("SBLockScreenManager", "biometricEventMonitorShouldRelockAfterBioUnlock:"));
        });
        EXPECT_EQ(got, c.want);
    }
}

TEST(Assistant, AFiringWhileItShowsTellsTheClockManagerAndTheIndicatorStaysOff) {
    for (bool visible : {true, false}) {
        SCOPED_TRACE(visible);
        std::string got = platform::testing::runInChild([visible] {
            Ringing r("9.3");
            device::setAssistantVisible(visible);
            r.alarmWithRecord(RecordFields{});
            r.ring();
            std::string out = "plugin=" + std::to_string(callLog::count("ClockManager", "setRunningInAssistantPlugin:"));
            // The indicator, asked while the alarm rings with nothing of the tweak's to suppress.
            suppressVolumeHUD = false;
            callLog::clear();
            sel::_createUI(sel::sharedInstance(objc_getClass("SBHUDController")));
            return out + " hud=" + std::to_string(callLog::count("SBHUDController", "_createUI"));
        });
        EXPECT_EQ(got, visible ? "plugin=1 hud=0" : "plugin=0 hud=1");
    }
}

TEST(SleepButton, UnderSleepAction3SpringBoardsLockRequestIsSwallowedOnceTheButtonWasPressed) {
    struct Case {
        long long sleepAction;
        bool pressed;
        int locks;
    } const cases[] = {{3, true, 0}, {3, false, 1}, {2, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sleepAction) + (c.pressed ? " pressed" : ""));
        std::string got = platform::testing::runInChild([c] {
            Ringing r("8.4");
            Ringing::preferences({{"sleepaction", Value(c.sleepAction)}});
            r.alarmWithRecord(RecordFields{});
            r.ring();
            lockButtonPressed = c.pressed;
            callLog::clear();
            sel::lockUIFromSource_withOptions_(sel::sharedInstance(objc_getClass("SBLockScreenManager")), 0, Value());
            return std::to_string(callLog::count("SBLockScreenManager", "lockUIFromSource:withOptions:"));
        });
        EXPECT_EQ(got, std::to_string(c.locks));
    }
}

TEST(SleepButton, UnderSleepAction1TheLockButtonHidesTheLockScreenWindow) {
    for (bool showAlert : {true, false}) {
        SCOPED_TRACE(showAlert);
        std::string got = platform::testing::runInChild([showAlert] {
            Ringing r("9.3");
            Ringing::preferences({{"sleepaction", Value(1)}, {"showalertlockscreen", Value(showAlert)}});
            device::setLocked(true);
            RecordFields f;
            f.calcEnabled = !showAlert;  // the question window when the lock-screen alert is off
            r.alarmWithRecord(f);
            r.ring();
            bool shown = r.windowShown();
            device::pressLockButton();
            r.advance(1.0);
            return std::string(shown ? "shown " : "absent ") + (sel::isHidden(r.window()) ? "hidden" : "visible");
        });
        EXPECT_EQ(got, showAlert ? "shown hidden" : "shown visible");
    }
}

TEST(VolumeButtons, OnIOS7TheQuestionWindowHidesToo) {
    for (const char* version : {"7.1", "9.3"}) {
        SCOPED_TRACE(version);
        std::string got = platform::testing::runInChild([version] {
            Ringing r(version);
            device::setLocked(true);
            RecordFields f;
            f.calcEnabled = true;
            r.alarmWithRecord(f);
            r.ring();
            bool asked = r.windowAsksQuestion();
            device::pressVolumeDown();
            r.advance(1.0);
            return std::string(asked ? "asked " : "none ") + (sel::isHidden(r.window()) ? "hidden" : "visible");
        });
        // From iOS 8 on only the lock-screen alert hides; the question stays.
        EXPECT_EQ(got, std::string(version) == "7.1" ? "asked hidden" : "asked visible");
    }
}

TEST(SleepButton, OnIOS7TheAlarmsBulletinStaysOffTheListUnderSleepActions2And3RingingOrNot) {
    struct Case {
        long long sleepAction;
        bool enabled;
        int listed;
    } const cases[] = {{0, true, 1}, {1, false, 1}, {2, true, 0}, {2, false, 0}, {3, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sleepAction) + (c.enabled ? " enabled" : " not enabled"));
        std::string got = platform::testing::runInChild([c] {
            Ringing r("7.1");
            Ringing::preferences({{"sleepaction", Value(c.sleepAction)}});
            device::setLocked(true);
            RecordFields f;
            f.enabled = c.enabled;
            r.alarmWithRecord(f);
            r.ring();
            return std::to_string(callLog::count("SBLockScreenNotificationListController", "observer:addBulletin:forFeed:"));
        });
        EXPECT_EQ(got, std::to_string(c.listed));
    }
}

}  // namespace
}  // namespace rousa

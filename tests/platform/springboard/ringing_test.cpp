// One stock ringing, per iOS version, locked and unlocked, with no tweak
// loaded: firing, the alert or bulletin, the sound, snooze and stop.
#include <gtest/gtest.h>

#include "tests/platform/springboard/springboard_test_support.h"

namespace platform::sbtest {
namespace {

enum class Act {
    Fire,
    TapSnooze,          // button 0 of an alert; the full-screen bulletin's Snooze (its alternate action)
    AlternateAction,    // performAlternateAction sent to the full-screen bulletin's controller
    Button0AfterEnd,    // the alert deactivated, then its button 0
    LockButton,
    TapOK,              // button 1 of an alert; the full-screen bulletin's dismissal button
    Deactivate,
    DeactivateReason,
    DeactivateReasonAnimated,
    DismissFullscreen,  // _dismissFullscreenBulletinAlertAnimated:
};

struct Case {
    const char* version;
    bool locked;
    Act act;
};

std::string actName(Act a) {
    switch (a) {
        case Act::Fire: return "Fire";
        case Act::TapSnooze: return "TapSnooze";
        case Act::AlternateAction: return "AlternateAction";
        case Act::Button0AfterEnd: return "Button0AfterEnd";
        case Act::LockButton: return "LockButton";
        case Act::TapOK: return "TapOK";
        case Act::Deactivate: return "Deactivate";
        case Act::DeactivateReason: return "DeactivateReason";
        case Act::DeactivateReasonAnimated: return "DeactivateReasonAnimated";
        case Act::DismissFullscreen: return "DismissFullscreen";
    }
    return "?";
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.version << (c.locked ? " locked " : " unlocked ") << actName(c.act); }

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string v = info.param.version;
    std::replace(v.begin(), v.end(), '.', '_');
    return "iOS" + v + (info.param.locked ? "_locked_" : "_unlocked_") + actName(info.param.act);
}

bool fullscreenCase(const char* version, bool locked) { return major(version) >= 8 && locked; }

// Every version and lock state with the acts that apply to what shows there.
std::vector<Case> cases(std::initializer_list<Act> acts) {
    std::vector<Case> out;
    for (const char* v : {"7.1", "8.4", "9.3"})
        for (bool locked : {false, true})
            for (Act a : acts) {
                bool fs = fullscreenCase(v, locked);
                bool alertOnly = a == Act::Button0AfterEnd || a == Act::Deactivate || a == Act::DeactivateReason ||
                                 a == Act::DeactivateReasonAnimated;
                bool fullscreenOnly = a == Act::AlternateAction || a == Act::DismissFullscreen;
                if ((alertOnly && fs) || (fullscreenOnly && !fs)) continue;
                out.push_back({v, locked, a});
            }
    return out;
}

// An alarm "Wake up" at 07:00, an hour after the clock's start; the device in
// the case's lock state (locked with the screen off).
class StockRinging : public ::testing::TestWithParam<Case>, public SpringBoardTest {
protected:
    StockRinging() : SpringBoardTest(GetParam().version) {
        addAlarm(7, 0);
        if (locked()) {
            device::setLocked(true);
            device::setScreenOn(false);
        }
    }
    bool locked() const { return GetParam().locked; }
    bool fullscreenCase() const { return sbtest::fullscreenCase(GetParam().version, locked()); }
    std::string expectedShown() const {
        if (major() == 7) return "SBSystemLocalNotificationAlert";
        return locked() ? "SBLockScreenFullscreenBulletinViewController" : "SBBulletinModalAlert";
    }
    void ring() {
        advance(3600);
        ASSERT_EQ(shown(), expectedShown());
        callLog::clear();
    }
    void act() {
        Ref<Object> item = visibleItem();
        switch (GetParam().act) {
            case Act::Fire: break;
            case Act::TapSnooze: ASSERT_TRUE(touch::pressButton("Snooze")); break;
            case Act::AlternateAction: sel::performAlternateAction(fullscreenBulletin()); break;
            case Act::Button0AfterEnd:
                sel::deactivateAlertItem_(alertItems(), item);
                sel::alertView_clickedButtonAtIndex_(item, item, 0);
                break;
            case Act::LockButton: device::pressLockButton(); break;
            case Act::TapOK: ASSERT_TRUE(touch::pressButton("OK")); break;
            case Act::Deactivate: sel::deactivateAlertItem_(alertItems(), item); break;
            case Act::DeactivateReason: sel::deactivateAlertItem_reason_(alertItems(), item, 1); break;
            case Act::DeactivateReasonAnimated: sel::deactivateAlertItem_reason_animated_(alertItems(), item, 1, true); break;
            case Act::DismissFullscreen: sel::_dismissFullscreenBulletinAlertAnimated_(lockScreen(), true); break;
        }
    }
    static bool playing() { return celestial::isPlaying(); }
};

using StockFiring = StockRinging;

TEST_P(StockFiring, FiresAtItsTimeWithAlertOrBulletinAndSound) {
    advance(3599);
    EXPECT_EQ(callLog::count(major() == 9 ? "UNLocalNotificationClient" : "SBApplication", "_fireNotification:"), 0);
    EXPECT_EQ(shown(), "nothing");
    advance(1);

    EXPECT_EQ(shown(), expectedShown());
    ASSERT_EQ(playbacks().size(), 1u);
    EXPECT_TRUE(playbacks()[0].started);
    EXPECT_EQ(playbacks()[0].category, "Alarm");
    EXPECT_DOUBLE_EQ(playbacks()[0].at.unix(), testing::kDefaultStart + 3600);
    EXPECT_TRUE(playing());

    std::vector<std::string> path;
    if (major() == 7) {
        path = {"SBApplication _fireNotification: ALARM-1", "SBSoundController _soundDidStartPlaying: Alarm",
                "SBAlertItemsController activateAlertItem: SBSystemLocalNotificationAlert",
                "SBAlertItem willActivate SBSystemLocalNotificationAlert"};
    } else {
        path = {major() == 8 ? "SBApplication _fireNotification: ALARM-1" : "UNLocalNotificationClient _fireNotification: ALARM-1",
                "SBClockDataProvider _isAlarmNotification: ALARM-1", "SBSoundController _soundDidStartPlaying: Alarm",
                "BBServer publishBulletin: com.apple.mobiletimer"};
        if (locked())
            path.insert(path.end(), {"SBLockScreenViewController presentFullscreenBulletinAlertWithItem: com.apple.mobiletimer",
                                     "SBLockScreenFullscreenBulletinViewController initWithNibName:bundle:"});
        else
            path.insert(path.end(), {"SBAlertItemsController activateAlertItem: SBBulletinModalAlert",
                                     "SBAlertItem willActivate SBBulletinModalAlert"});
    }
    EXPECT_TRUE(callsInOrder(path));
    if (major() >= 8) {
        EXPECT_EQ(callLog::count("SBApplication", "_fireNotification:"), major() == 8 ? 1 : 0);
    }

    // The screen comes on for the alarm; a locked screen fades in.
    EXPECT_TRUE(device::isScreenOn());
    EXPECT_EQ(callLog::count("SBLockScreenViewController", "startLockScreenFadeInAnimationForSource:"), locked() ? 1 : 0);
    EXPECT_EQ(device::isLocked(), locked());

    // What a user sees: the alarm's text and its two buttons.
    auto texts = visibleTexts();
    EXPECT_TRUE(contains(texts, "Wake up"));
    EXPECT_TRUE(contains(texts, "Snooze"));
    EXPECT_TRUE(contains(texts, "OK"));
    // The one-time alarm's notification left the schedule when it fired.
    EXPECT_TRUE(springboard::scheduledNotifications().empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, StockFiring, ::testing::ValuesIn(cases({Act::Fire})), caseName);

using StockSnooze = StockRinging;

TEST_P(StockSnooze, MakesACopyThatRingsAgain540SecondsLater) {
    ring();
    Date now = clock::now();
    act();

    EXPECT_EQ(shown(), "nothing");
    EXPECT_FALSE(playing());
    EXPECT_FALSE(playbacks().back().started);
    EXPECT_EQ(device::isLocked(), locked());  // the lock button snoozed instead of locking
    auto snoozes = SpringBoardTest::snoozes();
    ASSERT_EQ(snoozes.size(), 1u);
    EXPECT_DOUBLE_EQ(snoozes[0].nextFireDate.timeIntervalSinceDate(now), 540);
    EXPECT_EQ(snoozes[0].notification->alarmId(), Value("ALARM-1"));
    EXPECT_EQ(snoozes[0].notification->repeatInterval_, 0u);

    std::vector<std::string> path;
    if (GetParam().act == Act::LockButton) path.push_back("SBLockScreenViewController handleLockButtonPressed");
    if (major() == 7) {
        path.push_back("SBApplication systemLocalNotificationAlertShouldSnooze: ALARM-1");
    } else {
        if (fullscreenCase()) {
            if (GetParam().act != Act::LockButton) path.push_back("SBLockScreenFullscreenBulletinViewController performAlternateAction");
            // The bulletin goes before the snooze is asked for.
            path.push_back("SBLockScreenViewController dismissFullscreenBulletinAlertWithItem:");
        }
        path.push_back("SBApplication snoozeNotificationForLocalNotification: ALARM-1");
        path.push_back(major() == 8 ? "SBApplication scheduleLocalNotifications:replaceExistingNotifications: 1 YES"
                                    : "UNLocalNotificationClient scheduleSnoozeNotification: ALARM-1");
    }
    path.push_back("SBLockScreenSnoozedAlarmCell setFireDate: " + Value(now.addingTimeInterval(540)).description());
    EXPECT_TRUE(callsInOrder(path));

    advance(539);
    EXPECT_EQ(shown(), "nothing");
    advance(1);
    EXPECT_EQ(shown(), expectedShown());
    EXPECT_TRUE(playing());
    EXPECT_TRUE(SpringBoardTest::snoozes().empty());
    EXPECT_TRUE(callsInOrder({"SBLockScreenSnoozedAlarmCell setFireDate: (null)"}));
}

TEST_P(StockSnooze, TheClockAppsReschedulingKeepsTheSnoozeWaiting) {
    ring();
    act();
    ASSERT_EQ(SpringBoardTest::snoozes().size(), 1u);
    addAlarm(9, 0);  // the Clock app hands SpringBoard its alarms again
    ASSERT_EQ(SpringBoardTest::snoozes().size(), 1u);
    EXPECT_EQ(SpringBoardTest::snoozes()[0].notification->alarmId(), Value("ALARM-1"));
    advance(540);
    EXPECT_EQ(shown(), expectedShown());
    EXPECT_TRUE(playing());
}

INSTANTIATE_TEST_SUITE_P(Versions, StockSnooze,
                         ::testing::ValuesIn(cases({Act::TapSnooze, Act::AlternateAction, Act::Button0AfterEnd, Act::LockButton})),
                         caseName);

using StockStop = StockRinging;

TEST_P(StockStop, EndsTheAlarmWithoutASnooze) {
    ring();
    act();

    EXPECT_EQ(shown(), "nothing");
    EXPECT_FALSE(playing());
    EXPECT_TRUE(springboard::scheduledNotifications().empty());
    EXPECT_EQ(callLog::count("SBApplication", major() == 7 ? "systemLocalNotificationAlertShouldSnooze:"
                                                           : "snoozeNotificationForLocalNotification:"),
              0);
    // Each deactivation ends its item on its own.
    int deactivations = callLog::count("SBAlertItemsController", "deactivateAlertItem:") +
                        callLog::count("SBAlertItemsController", "deactivateAlertItem:reason:") +
                        callLog::count("SBAlertItemsController", "deactivateAlertItem:reason:animated:");
    EXPECT_EQ(deactivations, fullscreenCase() ? 0 : 1);
    if (fullscreenCase()) {
        EXPECT_EQ(callLog::count("SBLockScreenViewController", "dismissFullscreenBulletinAlertWithItem:"), 1);
    }
    if (major() == 7 && GetParam().act == Act::TapOK) {
        EXPECT_TRUE(callsInOrder({"SBSystemLocalNotificationAlert alertView:clickedButtonAtIndex: 1",
                                  "SBSystemLocalNotificationAlert dismiss: 1", "SBAlertItemsController deactivateAlertItem:"}));
    }
    advance(3600);
    EXPECT_EQ(shown(), "nothing");
}

INSTANTIATE_TEST_SUITE_P(Versions, StockStop,
                         ::testing::ValuesIn(cases({Act::TapOK, Act::Deactivate, Act::DeactivateReason, Act::DeactivateReasonAnimated,
                                                    Act::DismissFullscreen})),
                         caseName);

}  // namespace
}  // namespace platform::sbtest

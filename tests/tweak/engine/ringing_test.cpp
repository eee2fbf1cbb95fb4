// Whole ringings with the tweak, per iOS version and lock state: the record
// made on the first ring, the alert window over SpringBoard's alert or
// full-screen bulletin, the window's snooze and dismiss through SpringBoard,
// the end of the ringing and the ringtone volume's restore.
#include <thread>

#include "ringing_fixture.h"
#include "tweak/engine/ringing.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/application.h"

namespace rousa {
namespace {

using testing::RecordFields;

struct Case {
    const char* version;
    bool locked;
};
void PrintTo(const Case& c, std::ostream* os) { *os << "iOS " << c.version << (c.locked ? " locked" : " unlocked"); }
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    return std::string("iOS") + info.param.version[0] + (info.param.locked ? "_locked" : "_unlocked");
}
const Case kCases[] = {{"7.1", false}, {"7.1", true}, {"8.4", false}, {"8.4", true}, {"9.3", false}, {"9.3", true}};

class Ring : public ::testing::TestWithParam<Case>, public testing::Ringing {
protected:
    Ring() : Ringing(GetParam().version) {
        if (GetParam().locked) {
            device::setLocked(true);
            device::setScreenOn(false);
        }
    }
    bool locked() const { return GetParam().locked; }
    bool fullscreen() const { return major() >= 8 && locked(); }
};

TEST_P(Ring, TheFirstRingStoresADefaultRecordAndRingsAsItSays) {
    // Without "defEnabled" the new record is not enabled: the alarm rings as the Clock app made it.
    Ref<Object> alarm = addAlarm(6, 1);
    RousaRemoveAlarm(sel::alarmId(alarm));
    ring();
    auto record = RousaGetAlarm(sel::alarmId(alarm));
    ASSERT_TRUE(record);
    EXPECT_FALSE(record->enabled());
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(windowShown());
    EXPECT_EQ(shown(), fullscreen() ? "SBLockScreenFullscreenBulletinViewController" : major() == 7 ? "SBSystemLocalNotificationAlert" : "SBBulletinModalAlert");

    preferences({{"defEnabled", Value(true)}, {"defCalcEnabled", Value(true)}});
    Ref<Object> second = addAlarm(6, 3);
    RousaRemoveAlarm(sel::alarmId(second));
    advance(120);
    ASSERT_TRUE(RousaGetAlarm(sel::alarmId(second)));
    EXPECT_TRUE(alarmRinging);
    EXPECT_EQ(currentAlarm->alarmId(), sel::alarmId(second));
    EXPECT_TRUE(windowAsksQuestion());
}

TEST_P(Ring, ButtonsOnlyWindowWhenLockedWithTheLockScreenAlert) {
    preferences({{"showalertlockscreen", Value(true)}});
    alarmWithRecord(RecordFields{});
    ring();
    EXPECT_TRUE(alarmRinging);
    EXPECT_EQ(windowShown(), locked());
    if (locked()) {
        EXPECT_EQ(sel::alpha(window()->alarmButtonContainer), 1.0);
        EXPECT_EQ(sel::alpha(window()->numberPad), 0.0);
        EXPECT_EQ(sel::text(window()->alarmLabel).string(), "Wake up");
        // The window covers the lock screen's own view.
        EXPECT_TRUE(lockHidden);
        EXPECT_TRUE(sel::isHidden(sel::lockScreenView(lockScreen())));
    }
}

TEST_P(Ring, TheQuestionWindowComesOverTheAlertOrTheBulletin) {
    RecordFields f;
    f.calcEnabled = true;
    alarmWithRecord(f);
    ring();
    EXPECT_TRUE(windowAsksQuestion());
    EXPECT_EQ(window()->alert != nullptr, major() == 7);  // iOS 7 sets it up from SpringBoard's alert
    EXPECT_EQ(sel::alpha(window()->alarmButtonContainer), 0.0);
    EXPECT_EQ(sel::windowLevel(window()), 3000.0);
}

TEST_P(Ring, NoWindowForARecordThatIsNotEnabled) {
    RecordFields f;
    f.enabled = false;
    f.calcEnabled = true;
    preferences({{"showalertlockscreen", Value(true)}});
    alarmWithRecord(f);
    ring();
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(windowShown());
    EXPECT_TRUE(soundPlaying());
}

TEST_P(Ring, DismissEndsTheRingingThroughSpringBoard) {
    RecordFields f;
    f.calcEnabled = true;
    alarmWithRecord(f);
    ring();
    sel::setAlarmToDismiss_(window(), nullptr);
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(soundPlaying());
    EXPECT_EQ(shown(), "nothing");
    EXPECT_TRUE(snoozes().empty());
    advance(1.0);
    EXPECT_TRUE(sel::isHidden(window()));
}

TEST_P(Ring, SnoozeSnoozesThroughSpringBoardInTheOrderOfTheVersion) {
    RecordFields f;
    f.calcEnabled = true;
    alarmWithRecord(f);
    ring();
    callLog::clear();
    sel::setAlarmToSnooze_(window(), nullptr);
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(soundPlaying());
    ASSERT_EQ(snoozes().size(), 1u);
    if (fullscreen()) {
        EXPECT_TRUE(sbtest::callsInOrder({"SBLockScreenFullscreenBulletinViewController performAlternateAction"}));
    } else if (major() == 7) {
        EXPECT_TRUE(sbtest::callsInOrder({"SBSystemLocalNotificationAlert alertView:clickedButtonAtIndex:", "SBAlertItemsController deactivateAlertItem:"}));
    } else {
        EXPECT_TRUE(sbtest::callsInOrder({"SBAlertItemsController deactivateAlertItem:", "SBBulletinModalAlert alertView:clickedButtonAtIndex:"}));
    }
}

TEST_P(Ring, AnUnrelatedAlertNeitherEndsTheRingingNorTakesTheButtons) {
    RecordFields f;
    f.calcEnabled = true;
    alarmWithRecord(f);
    ring();
    // A system alert comes and goes meanwhile.
    Ref<Object> other = sel::init(alloc("SBAlertItem"));
    sel::activateAlertItem_(alertItems(), other);
    sel::deactivateAlertItem_(alertItems(), other);
    EXPECT_TRUE(alarmRinging);
    sel::activateAlertItem_(alertItems(), other);
    sel::setAlarmToDismiss_(window(), nullptr);
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(soundPlaying());
    EXPECT_EQ(visibleItem().get(), other.get());  // still up: only the alarm's own alert ended
}

TEST_P(Ring, TheRingtoneVolumeComesBackOneSecondAfterTheEnd) {
    device::setCategoryVolume("Ringtone", 0.7f);
    RecordFields f;
    f.volume = 0.3f;
    f.calcEnabled = true;
    alarmWithRecord(f);
    ring();
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.3f);
    sel::setAlarmToDismiss_(window(), nullptr);
    advance(0.99);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.3f);
    advance(0.01);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.7f);
}

TEST_P(Ring, AnAlarmRingingWithinTheSecondKeepsItsVolumeAndTheUsersComesBackAfterIt) {
    device::setCategoryVolume("Ringtone", 0.7f);
    RecordFields f;
    f.calcEnabled = true;
    f.volume = 0.3f;
    alarmWithRecord(f, 1);
    f.volume = 0.9f;
    alarmWithRecord(f, 2);
    ring();
    advance(59.0);
    sel::setAlarmToDismiss_(window(), nullptr);
    advance(0.6);  // 06:02: the second alarm rings half a second after the first ended
    ASSERT_TRUE(alarmRinging);
    advance(1.0);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.9f);
    sel::setAlarmToDismiss_(window(), nullptr);
    advance(1.0);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.7f);
}

TEST_P(Ring, NoRestoreWithoutASaveAndTheIndicatorIsFreeAgain) {
    device::setCategoryVolume("Ringtone", 0.7f);
    alarmWithRecord(RecordFields{});
    ring();
    // The sound never started in this ringing (a saved volume from no ringing must not be restored).
    ringtoneVolumeSaved = false;
    savedRingtoneVolume = 0.0f;
    Ref<Object> item = alarmAlertItem;
    if (item) sel::deactivateAlertItem_(alertItems(), item);
    else sel::_dismissFullscreenBulletinAlertAnimated_(lockScreen(), true);
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(suppressVolumeHUD);
    advance(2.0);
    EXPECT_GT(device::categoryVolume("Ringtone"), 0.0f);
}

// Ends what shows an alarm the way the user would: Stop on the alert, or the
// full-screen bulletin's dismissal; at most a few, front to back.
void stopEveryAlarm(testing::Ringing& r) {
    for (int i = 0; i < 4 && r.shown() != "nothing"; ++i) {
        if (Ref<Object> item = r.visibleItem()) sel::alertView_clickedButtonAtIndex_(item, item, 1);
        else sel::_dismissFullscreenBulletinAlertAnimated_(r.lockScreen(), true);
    }
}

TEST_P(Ring, ADisabledAlarmFiringDuringTheRingingLeavesItsEndToTheRingingAlarm) {
    preferences({{"showalertlockscreen", Value(true)}, {"disabletouchid", Value(true)}});
    alarmWithRecord(RecordFields{}, 1);
    RecordFields off;
    off.enabled = false;
    Ref<Object> second = alarmWithRecord(off, 2);
    ring();
    ASSERT_TRUE(alarmRinging);
    advance(60);  // the disabled alarm fires while the first still rings
    Ref<Object> bulletin = major() >= 8 && !locked() ? sel::bulletin(visibleItem()) : nullptr;
    EXPECT_TRUE(currentAlarm->enabled());
    stopEveryAlarm(*this);
    EXPECT_EQ(shown(), "nothing");
    EXPECT_FALSE(alarmRinging);
    EXPECT_FALSE(soundPlaying());
    advance(2.0);
    // The device is the user's again: Touch ID unlocks and stays unlocked, the
    // alarm's bulletin reads SpringBoard's own label.
    device::setLocked(true);
    device::touchID();
    advance(1.0);
    EXPECT_FALSE(device::isLocked());
    if (bulletin) {
        EXPECT_EQ(sel::unlockActionLabel(bulletin), Value("snooze"));
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, Ring, ::testing::ValuesIn(kCases), caseName);

// --- iOS 7 specifics -------------------------------------------------------------------------------

TEST(RingIOS7, TheAlarmAlertLogsItsIdAndSwallowsSpringBoardsDismissWhileTheQuestionIsAsked) {
    testing::Ringing r("7.1");
    RecordFields f;
    f.calcEnabled = true;
    Ref<Object> alarm = r.alarmWithRecord(f);
    r.ring();
    EXPECT_TRUE(log::contains("*** [RS2ALarm] :: Alarm ID is " + sel::alarmId(alarm).string()));
    Ref<Object> item = r.visibleItem();
    sel::dismiss_(item, 1);
    EXPECT_TRUE(log::contains("[RS2ALarm] :: Dismissing alarm with flag 1"));
    EXPECT_EQ(r.visibleItem().get(), item.get());
    EXPECT_TRUE(alarmRinging);
}

TEST(RingIOS7, AWindowSetUpFromTheAlertKeepsTheLockScreenViewAndSnoozesAsTheAlertMay) {
    for (bool snooze : {true, false}) {
        SCOPED_TRACE(snooze);
        std::string got = platform::testing::runInChild([snooze] {
            testing::Ringing r("7.1");
            device::setLocked(true);
            RecordFields f;
            f.calcEnabled = true;
            r.alarmWithRecord(f, 1, snooze);
            r.ring();
            std::string out = r.window()->alert ? "from-alert " : "from-alarm ";
            out += lockHidden || sel::isHidden(sel::lockScreenView(r.lockScreen())) ? "lock-view-hidden " : "lock-view-kept ";
            out += r.window()->snooze ? "snooze" : "no-snooze";
            return out;
        });
        EXPECT_EQ(got, std::string("from-alert lock-view-kept ") + (snooze ? "snooze" : "no-snooze"));
    }
}

TEST(RingIOS7, TheDefaultTitleKeyShowsTheClockAppsText) {
    testing::Ringing r("7.1");
    RecordFields f;
    f.calcEnabled = true;
    r.alarmWithRecord(f, 1, true, "ALARM_DEFAULT_TITLE");
    r.ring();
    EXPECT_EQ(sel::text(r.window()->alarmLabel).string(), "Alarm");
}

// --- iOS 9: the firing may come on another thread ----------------------------------------------------

TEST(RingIOS9, AFiringFromAnotherThreadRunsTheTweaksWorkOnTheMainThread) {
    testing::Ringing r("9.3");
    RecordFields f;
    f.calcEnabled = true;
    Ref<Object> alarm = r.alarmWithRecord(f, 30);
    Ref<Object> notification = sel::notification(alarm);
    ASSERT_TRUE(notification);
    std::atomic<bool> done{false};
    std::thread firing([&] {
        sel::_fireNotification_(springboard::notificationClient(), sel::copy(notification));
        done = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10.0));
    firing.join();
    RunLoop::main().runDue();
    EXPECT_TRUE(alarmRinging);
    EXPECT_TRUE(r.windowAsksQuestion());
}

}  // namespace
}  // namespace rousa

namespace rousa {
namespace {

// --- the window's hide modes and SpringBoard's lock-screen view ------------------------------------------

TEST(AlertWindowOnTheLockScreen, SnoozeFadesTheLockScreenBackAndDismissShowsItAtOnce) {
    for (bool snooze : {true, false}) {
        SCOPED_TRACE(snooze ? "snooze" : "dismiss");
        std::string got = platform::testing::runInChild([snooze] {
            testing::Ringing r("9.3");
            testing::Ringing::preferences({{"showalertlockscreen", Value(true)}});
            device::setLocked(true);
            r.alarmWithRecord(RecordFields{});
            r.ring();
            Ref<Object> lockView = sel::lockScreenView(r.lockScreen());
            std::string out = sel::isHidden(lockView) ? "hidden" : "shown";
            if (snooze) sel::setAlarmToSnooze_(r.window(), nullptr);
            else sel::setAlarmToDismiss_(r.window(), nullptr);
            out += sel::isHidden(lockView) ? " hidden" : " shown";
            r.advance(1.0);
            out += sel::isHidden(lockView) ? " hidden" : " shown";
            return out + (lockHidden ? " lockHidden" : "");
        });
        EXPECT_EQ(got, snooze ? "hidden hidden shown" : "hidden shown shown");
    }
}

TEST(AlertWindowOnTheLockScreen, AnUnlockedDeviceGetsItsLockScreenViewBackAtOnce) {
    testing::Ringing r("9.3");
    testing::Ringing::preferences({{"showalertlockscreen", Value(true)}});
    device::setLocked(true);
    r.alarmWithRecord(RecordFields{});
    r.ring();
    Ref<Object> lockView = sel::lockScreenView(r.lockScreen());
    ASSERT_TRUE(lockHidden);
    device::setLocked(false);
    sel::hideSelf_(r.window(), 1);
    EXPECT_FALSE(lockHidden);
    EXPECT_FALSE(sel::isHidden(lockView));
}

TEST(AlertWindowOnTheLockScreen, DismissStillEndsTheRingingAfterALockPressUnderSleepAction3) {
    for (const char* version : {"8.4", "9.3"}) {
        for (bool noArgument : {false, true}) {
            SCOPED_TRACE(std::string(version) + (noArgument ? " no argument" : ""));
            std::string got = platform::testing::runInChild([version, noArgument] {
                testing::Ringing r(version);
                testing::Ringing::preferences({{"sleepaction", Value(3)}});
                device::setLocked(true);
                RecordFields f;
                f.calcEnabled = true;
                r.alarmWithRecord(f);
                r.ring();
                device::pressLockButton();
                if (!lockButtonPressed || !alarmRinging) return std::string("lock press did not register");
                if (noArgument) sel::setAlarmToDismiss(r.window());
                else sel::setAlarmToDismiss_(r.window(), nullptr);
                return std::string(alarmRinging ? "ringing" : "ended") + (r.soundPlaying() ? " sound" : " silent");
            });
            EXPECT_EQ(got, "ended silent");
        }
    }
}

// --- the Activator actions in SpringBoard ---------------------------------------------------------------------

TEST(ActivatorInSpringBoard, StopAndSnoozeActOnTheRingingAlarmOnly) {
    testing::Ringing r("8.4");
    UIApplicationMain(0, nullptr, Value(), Value());  // the tweak's observer is made here
    RecordFields f;
    f.calcEnabled = true;
    r.alarmWithRecord(f);
    // Nothing rings: the actions find nothing to end.
    NSDistributedNotificationCenter::defaultCenter()->postNotificationName("net.quillory.stopAlarm", Value());
    RunLoop::main().runDue();
    EXPECT_EQ(callLog::count("SBAlertItemsController", "deactivateAlertItem:"), 0);
    r.ring();
    ASSERT_TRUE(alarmRinging);
    NSDistributedNotificationCenter::defaultCenter()->postNotificationName("net.quillory.snoozeAlarm", Value());
    RunLoop::main().runDue();
    EXPECT_FALSE(alarmRinging);
    EXPECT_EQ(testing::Ringing::snoozes().size(), 1u);
}

TEST(ActivatorInSpringBoard, AllOffTurnsEveryAlarmOffAndAllOnBackOn) {
    testing::Ringing r("9.3");
    UIApplicationMain(0, nullptr, Value(), Value());
    Ref<Object> a = r.alarmWithRecord(RecordFields{}, 10);
    Ref<Object> b = r.alarmWithRecord(RecordFields{}, 20);
    callLog::clear();
    NSDistributedNotificationCenter::defaultCenter()->postNotificationName("net.quillory.turnOffAlarms", Value());
    RunLoop::main().runDue();
    EXPECT_EQ(callLog::count("AlarmManager", "updateAlarm:active:"), 2);
    EXPECT_TRUE(springboard::scheduledNotifications().empty());
    EXPECT_TRUE(log::contains("finally"));
    NSDistributedNotificationCenter::defaultCenter()->postNotificationName("net.quillory.turnOnAlarms", Value());
    RunLoop::main().runDue();
    EXPECT_EQ(callLog::count("AlarmManager", "updateAlarm:active:"), 4);
    EXPECT_EQ(springboard::scheduledNotifications().size(), 2u);
}

}  // namespace
}  // namespace rousa

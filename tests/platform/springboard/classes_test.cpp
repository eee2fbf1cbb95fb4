// Which of SpringBoard's classes and methods each iOS version has, that hooks
// on them take effect when SpringBoard itself calls them, the iOS 9 firing
// from another thread, the iOS 7 lock screen list and the small state classes.
#include <gtest/gtest.h>

#include <thread>

#include "platform/mobiletimer/clock_manager.h"
#include "tests/platform/springboard/springboard_test_support.h"

namespace platform::sbtest {
namespace {

TEST(SpringBoardClasses, EachVersionHasItsOwn) {
    struct Row {
        const char* cls;
        const char* selector;  // nullptr: the class itself
        bool iOS7, iOS8, iOS9;
    };
    const Row rows[] = {
        {"SBSystemLocalNotificationAlert", nullptr, true, false, false},
        {"SBBulletinModalAlert", nullptr, false, true, true},
        {"UNLocalNotificationClient", nullptr, false, false, true},
        {"SBLockScreenNotificationListController", nullptr, true, false, false},
        {"SBLockScreenFullscreenBulletinViewController", nullptr, false, true, true},
        {"SpringBoard", "_lockButtonDownFromSource:", true, false, false},
        {"SpringBoard", "_lockButtonDown:fromSource:", false, true, true},
        {"SpringBoard", "_menuButtonUp:", true, true, true},
        {"SBApplication", "_fireNotification:", true, true, false},
        {"SBApplication", "systemLocalNotificationAlertShouldSnooze:", true, false, false},
        {"SBApplication", "snoozeNotificationForLocalNotification:", false, true, true},
        {"SBApplication", "scheduleLocalNotifications:replaceExistingNotifications:", true, true, false},
        {"SBLockScreenViewController", "presentFullscreenBulletinAlertWithItem:", false, true, true},
        {"SBLockScreenViewController", "startLockScreenFadeInAnimationForSource:", true, true, true},
        {"SBClockDataProvider", "_publishAlarmsWithScheduledNotifications:", true, true, true},
        {"SBHUDController", "_createUI", true, true, true},
        {"SBAlertItemsController", "deactivateAlertItem:reason:animated:", true, true, true},
        {"BBServer", "init", true, true, true},
        {"ClockManager", "setRunningInAssistantPlugin:", true, true, true},
    };
    for (const char* version : {"7.1", "8.4", "9.3"}) {
        std::string result = testing::runInChild(springBoardOn(version), [&] {
            std::string out;
            for (const auto& r : rows) {
                Class* c = objc_getClass(r.cls);
                bool has = r.selector ? class_respondsToSelector(c, r.selector) : c != nullptr;
                out += has ? '1' : '0';
            }
            return out;
        });
        std::string want;
        for (const auto& r : rows) want += (major(version) == 7 ? r.iOS7 : major(version) == 8 ? r.iOS8 : r.iOS9) ? '1' : '0';
        EXPECT_EQ(result, want) << "iOS " << version;
    }
}

TEST(SpringBoardClasses, OtherHostsHaveOnlyTheSharedFrameworks) {
    host::BootOptions options;
    options.bundleIdentifier = host::kSettingsApp;
    testing::TestEnvironment env(options);
    for (const char* cls : {"SpringBoard", "SBApplication", "SBAlertItemsController", "SBHUDController", "ClockManager", "AlarmManager"})
        EXPECT_FALSE(objc_getClass(cls)) << cls;
    for (const char* cls : {"AVSystemController", "AVController", "IOHIDEvent", "UILocalNotification"})
        EXPECT_TRUE(objc_getClass(cls)) << cls;
}

class Hooks : public ::testing::TestWithParam<const char*>, public SpringBoardTest {
protected:
    Hooks() : SpringBoardTest(GetParam()) {}
};

void (*original_willActivate)(id) = nullptr;
void replaced_willActivate(id self) {
    callLog::record("hook", "willActivate", self->isa()->name());
    original_willActivate(self);
}

void (*original_deactivate)(id, id) = nullptr;
void swallowedDeactivate(id, id) { callLog::record("hook", "deactivateAlertItem: swallowed"); }

TEST_P(Hooks, AHookOnTheBaseWillActivateIsReachedForTheVersionsAlarmAlert) {
    MSHookMessageEx(objc_getClass("SBAlertItem"), sel::willActivate, &replaced_willActivate, &original_willActivate);
    addAlarm(7, 0);
    advance(3600);
    std::string alert = major() == 7 ? "SBSystemLocalNotificationAlert" : "SBBulletinModalAlert";
    EXPECT_TRUE(callsInOrder({"hook willActivate " + alert, "SBAlertItem willActivate " + alert}));
}

TEST_P(Hooks, ASwallowedDeactivationKeepsTheAlarmUpAndRinging) {
    MSHookMessageEx(objc_getClass("SBAlertItemsController"), sel::deactivateAlertItem_, &swallowedDeactivate, &original_deactivate);
    addAlarm(7, 0);
    advance(3600);
    ASSERT_TRUE(touch::pressButton("OK"));
    EXPECT_TRUE(callsInOrder({"hook deactivateAlertItem: swallowed"}));
    EXPECT_NE(shown(), "nothing");
    EXPECT_TRUE(celestial::isPlaying());
}

void (*original_lockUI)(id, int, Value) = nullptr;
void swallowedLockUI(id, int, Value) { callLog::record("hook", "lockUIFromSource:withOptions: swallowed"); }

TEST_P(Hooks, ASwallowedLockLeavesTheDeviceUnlockedButTheScreenGoesOff) {
    MSHookMessageEx(objc_getClass("SBLockScreenManager"), sel::lockUIFromSource_withOptions_, &swallowedLockUI, &original_lockUI);
    device::pressLockButton();
    EXPECT_FALSE(device::isLocked());
    EXPECT_FALSE(device::isScreenOn());
}

INSTANTIATE_TEST_SUITE_P(Versions, Hooks, ::testing::Values("7.1", "8.4", "9.3"), [](const auto& info) {
    return "iOS" + std::string(1, info.param[0]);
});

host::BootOptions without(const char* version, const char* cls) {
    auto options = springBoardOn(version);
    options.missingClasses = {cls};
    return options;
}

TEST(MissingClasses, WithoutTheAlertControllerTheAlarmStillRings) {
    SpringBoardTest sb("7.1", without("7.1", "SBAlertItemsController"));
    sb.addAlarm(7, 0);
    sb.advance(3600);
    EXPECT_EQ(callLog::count("SBApplication", "_fireNotification:"), 1);
    EXPECT_EQ(sb.shown(), "nothing");
    EXPECT_TRUE(celestial::isPlaying());
    // Nothing is up, so the lock button locks.
    device::pressLockButton();
    EXPECT_TRUE(device::isLocked());
}

TEST(MissingClasses, WithoutTheSoundControllerTheAlarmShowsSilently) {
    SpringBoardTest sb("8.4", without("8.4", "SBSoundController"));
    sb.addAlarm(7, 0);
    sb.advance(3600);
    EXPECT_EQ(sb.shown(), "SBBulletinModalAlert");
    EXPECT_FALSE(celestial::isPlaying());
    ASSERT_TRUE(touch::pressButton("OK"));
    EXPECT_EQ(sb.shown(), "nothing");
}

// iOS 9: the firing may come on another thread; the bulletin is made on the main thread.
bool bulletinOnMainThread = false;
void (*original_handleFired)(id, id) = nullptr;
void recordingHandleFired(id self, id n) {
    bulletinOnMainThread = NSThread::isMainThread();
    original_handleFired(self, n);
}

TEST(NotificationClient, AFiringFromAnotherThreadMakesTheBulletinOnTheMainThread) {
    SpringBoardTest sb("9.3");
    MSHookMessageEx(objc_getClass("SBClockDataProvider"), sel::_handleFiredNotification_, &recordingHandleFired, &original_handleFired);
    auto n = UILocalNotification::make();
    n->userInfo_ = Value{{"alarmId", Value("ALARM-1")}};
    n->fireDate_ = Value(clock::now());
    n->allowSnooze_ = true;
    Ref<Object> client = springboard::notificationClient();
    ASSERT_TRUE(client);
    std::thread([&] { sel::_fireNotification_(client, n); }).join();
    EXPECT_EQ(callLog::count("UNLocalNotificationClient", "_fireNotification:"), 1);
    EXPECT_EQ(sb.shown(), "nothing");  // not yet: it waits for the main thread
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return sb.shown() != "nothing"; }, 5.0));
    EXPECT_TRUE(bulletinOnMainThread);
    EXPECT_EQ(sb.shown(), "SBBulletinModalAlert");
    EXPECT_TRUE(celestial::isPlaying());
}

TEST(LockScreenList, OnIOS7TheAlarmsBulletinGoesToTheLockScreensList) {
    SpringBoardTest sb("7.1");
    sb.addAlarm(7, 0);
    device::setLocked(true);
    Ref<Object> vc = sb.lockScreen();
    EXPECT_FALSE(sel::lockScreenIsShowingBulletins(vc));
    sb.advance(3600);
    EXPECT_TRUE(callsInOrder({"SBAlertItemsController activateAlertItem: SBSystemLocalNotificationAlert",
                              "BBServer publishBulletin: com.apple.mobiletimer",
                              "SBLockScreenNotificationListController observer:addBulletin:forFeed: com.apple.mobiletimer"}));
    EXPECT_TRUE(sel::lockScreenIsShowingBulletins(vc));
    device::unlock();
    EXPECT_FALSE(sel::lockScreenIsShowingBulletins(vc));
}

TEST(StateClasses, AnswerFromTheDeviceState) {
    SpringBoardTest sb("8.4");
    Class* assistant = objc_getClass("SBAssistantController");
    Ref<Object> media = sel::sharedInstance(objc_getClass("SBMediaController"));
    Ref<Object> vc = sb.lockScreen();
    EXPECT_FALSE(sel::isAssistantViewVisible_(assistant, true));
    EXPECT_FALSE(sel::isRingerMuted(media));
    EXPECT_FALSE(sel::isShowingMediaControls(vc));
    EXPECT_FALSE(sel::lockScreenIsShowingBulletins(vc));
    device::setAssistantVisible(true);
    device::setRingerMuted(true);
    device::setShowingMediaControls(true);
    device::setShowingBulletins(true);
    EXPECT_TRUE(sel::isAssistantViewVisible_(assistant, true));
    EXPECT_TRUE(sel::isRingerMuted(media));
    EXPECT_TRUE(sel::isShowingMediaControls(vc));
    EXPECT_TRUE(sel::lockScreenIsShowingBulletins(vc));

    Ref<Object> clock = sel::sharedManager(objc_getClass("ClockManager"));
    sel::setRunningInAssistantPlugin_(clock, true);
    EXPECT_TRUE(as<ClockManager>(clock.get())->runningInAssistantPlugin);
    EXPECT_TRUE(callsInOrder({"ClockManager setRunningInAssistantPlugin: YES"}));
    EXPECT_EQ(sel::bundleIdentifier(springboard::clockApplication()), Value("com.apple.mobiletimer"));
}

TEST(Bulletins, TheAlarmsBulletinHasTheClocksSectionAndItsUnlockLabels) {
    SpringBoardTest sb("8.4");
    sb.addAlarm(7, 0);
    device::setLocked(true);
    sb.advance(3600);
    Ref<Object> fb = sb.fullscreenBulletin();
    ASSERT_TRUE(fb);
    Ref<Object> bulletin = sel::bulletin(sb.visibleItem());  // no alert item while locked
    EXPECT_FALSE(bulletin);
    device::unlock();
    bulletin = sel::bulletin(sb.visibleItem());
    ASSERT_TRUE(bulletin);
    EXPECT_EQ(sel::sectionID(bulletin), Value("com.apple.mobiletimer"));
    EXPECT_EQ(sel::unlockActionLabel(bulletin), Value("snooze"));
    EXPECT_EQ(sel::fullUnlockActionLabel(bulletin), Value("slide to snooze"));
    EXPECT_TRUE(sel::unlockActionLabelOverride(bulletin).isNil());
    // The full-screen bulletin showed the slider's text.
    EXPECT_EQ(callLog::count("BBBulletin", "fullUnlockActionLabel"), 2);
    EXPECT_EQ(callLog::count("BBServer", "init"), 1);
}

}  // namespace
}  // namespace platform::sbtest

// The lock, Home, volume and Touch ID buttons and unlocking, per iOS version,
// with no tweak loaded.
#include <gtest/gtest.h>

#include "platform/frameworks/iokit_hid.h"
#include "tests/platform/springboard/springboard_test_support.h"

namespace platform::sbtest {
namespace {

class Buttons : public ::testing::TestWithParam<const char*>, public SpringBoardTest {
protected:
    Buttons() : SpringBoardTest(GetParam()) {}
    std::string lockDown() const { return major() == 7 ? "_lockButtonDownFromSource:" : "_lockButtonDown:fromSource:"; }
    std::string lockUp() const { return major() == 7 ? "_lockButtonUpFromSource:" : "_lockButtonUp:fromSource:"; }
};

std::string versionName(const ::testing::TestParamInfo<const char*>& info) {
    std::string v = info.param;
    std::replace(v.begin(), v.end(), '.', '_');
    return "iOS" + v;
}

TEST_P(Buttons, LockButtonLocksAnUnlockedDeviceThenTogglesTheScreen) {
    ASSERT_FALSE(device::isLocked());
    ASSERT_TRUE(device::isScreenOn());
    device::pressLockButton();
    EXPECT_TRUE(device::isLocked());
    EXPECT_FALSE(device::isScreenOn());
    EXPECT_TRUE(callsInOrder({"SpringBoard " + lockDown(), "SpringBoard " + lockUp(),
                              "SBLockScreenManager lockUIFromSource:withOptions: 0", "SBBacklightController setBacklightFactor:source: 0 0"}));
    EXPECT_EQ(callLog::count("SBLockScreenViewController", "handleLockButtonPressed"), 0);
    // The lock screen's window shows, with its date view.
    Ref<Object> lockView = sel::lockScreenView(lockScreen());
    ASSERT_TRUE(lockView);
    Ref<Object> window = sel::window(lockView);
    ASSERT_TRUE(window);
    EXPECT_FALSE(sel::isHidden(window));
    Ref<Object> dateLabel = object_getIvar(sel::dateView(lockView), "_dateLabel").object();
    EXPECT_TRUE(isKindOfClass(dateLabel, "UILabel"));
    EXPECT_TRUE(isKindOfClass(sel::textColor(sel::dateView(lockView)), "UIColor"));

    callLog::clear();
    device::pressLockButton();  // locked, screen off: on, and the lock screen fades in
    EXPECT_TRUE(device::isScreenOn());
    EXPECT_TRUE(callsInOrder({"SBBacklightController setBacklightFactor:source: 1 0",
                              "SBLockScreenViewController startLockScreenFadeInAnimationForSource: 0"}));
    EXPECT_EQ(sel::text(dateLabel), Value("6:00"));
    device::pressLockButton();  // and off again, still locked
    EXPECT_FALSE(device::isScreenOn());
    EXPECT_TRUE(device::isLocked());
    EXPECT_EQ(callLog::count("SBLockScreenManager", "lockUIFromSource:withOptions:"), 0);
}

TEST_P(Buttons, HomeButtonSendsTwoKeyboardEventsAndWakesTheScreen) {
    device::setLocked(true);
    device::setScreenOn(false);
    device::pressHomeButton();
    EXPECT_TRUE(callsInOrder({"IOKit IOHIDEventCreateKeyboardEvent page 0xc usage 0x40 down 1",
                              "SpringBoard _menuButtonDown: page 0xc usage 0x40 down 1",
                              "IOKit IOHIDEventCreateKeyboardEvent page 0xc usage 0x40 down 0",
                              "SpringBoard _menuButtonUp: page 0xc usage 0x40 down 0",
                              "SBBacklightController setBacklightFactor:source: 1 1",
                              "SBLockScreenViewController startLockScreenFadeInAnimationForSource: 1"}));
    EXPECT_TRUE(device::isScreenOn());
    EXPECT_TRUE(device::isLocked());
}

TEST_P(Buttons, SlideToUnlockClearsTheLock) {
    device::setLocked(true);
    device::unlock();
    EXPECT_FALSE(device::isLocked());
    EXPECT_TRUE(callsInOrder({"SBLockScreenManager unlockUIFromSource:withOptions: 3"}));
    EXPECT_FALSE(sel::isUILocked(sel::sharedInstance(objc_getClass("SBLockScreenManager"))));
    EXPECT_TRUE(sel::isHidden(sel::window(sel::lockScreenView(lockScreen()))));
}

TEST_P(Buttons, TouchIDUnlocksAndAsksWhetherToLockAgain) {
    device::touchID();  // unlocked: nothing to do
    EXPECT_EQ(callLog::count("SBLockScreenViewController", "biometricEventMonitorDidAuthenticate:"), 0);
    device::setLocked(true);
    device::touchID();
    EXPECT_FALSE(device::isLocked());
    EXPECT_TRUE(callsInOrder({"SBLockScreenViewController biometricEventMonitorDidAuthenticate:",
                              "SBLockScreenManager unlockUIFromSource:withOptions: 4",
                              "SBLockScreenManager biometricEventMonitorShouldRelockAfterBioUnlock:"}));
    EXPECT_EQ(callLog::count("SBLockScreenManager", "lockUIFromSource:withOptions:"), 0);
}

// A hook on the relock question takes effect when the lock screen asks it.
bool (*original_shouldRelock)(id, id) = nullptr;
bool alwaysRelock(id, id) { return true; }

TEST_P(Buttons, TouchIDLocksAgainWhenTheManagerSaysSo) {
    MSHookMessageEx(objc_getClass("SBLockScreenManager"), sel::biometricEventMonitorShouldRelockAfterBioUnlock_, &alwaysRelock,
                    &original_shouldRelock);
    ASSERT_TRUE(original_shouldRelock);
    device::setLocked(true);
    device::touchID();
    EXPECT_TRUE(device::isLocked());
    EXPECT_TRUE(callsInOrder({"SBLockScreenManager unlockUIFromSource:withOptions: 4", "SBLockScreenManager lockUIFromSource:withOptions: 4"}));
}

TEST_P(Buttons, VolumeButtonsStepTheRingtoneVolumeAndShowTheIndicator) {
    struct Press {
        bool locked;
        bool up;
        float before, after;
        const char* handler;
    };
    const Press presses[] = {
        {true, true, 0.5f, 0.5625f, "SBLockScreenViewController handleVolumeUpButtonPressed"},
        {true, false, 0.5f, 0.4375f, "SBLockScreenViewController handleVolumeDownButtonPressed"},
        {false, true, 0.5f, 0.5625f, "SBMediaController increaseVolume"},
        {false, false, 0.0f, 0.0f, "SBMediaController decreaseVolume"},
        {true, true, 1.0f, 1.0f, "SBLockScreenViewController handleVolumeUpButtonPressed"},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(std::string(p.handler) + " from " + std::to_string(p.before));
        callLog::clear();
        device::setLocked(p.locked);
        device::setCategoryVolume("Ringtone", p.before);
        p.up ? device::pressVolumeUp() : device::pressVolumeDown();
        EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), p.after);
        EXPECT_TRUE(callsInOrder({p.handler, "AVSystemController setVolumeTo:forCategory:", "SBHUDController _createUI"}));
        // One indicator per press, also at the end of the scale.
        EXPECT_EQ(callLog::count("SBHUDController", "_createUI"), 1);
    }
}

TEST_P(Buttons, LockButtonSnoozesAlsoWhenTheAlertWentAwayWhileItWasDown) {
    addAlarm(7, 0);
    advance(3600);
    Ref<Object> item = visibleItem();
    ASSERT_TRUE(item);
    device::lockButtonDown();
    sel::deactivateAlertItem_(alertItems(), item);
    device::lockButtonUp();
    EXPECT_EQ(snoozes().size(), 1u);
    EXPECT_FALSE(device::isLocked());
    // The next press, with no alarm up, locks.
    device::pressLockButton();
    EXPECT_EQ(snoozes().size(), 1u);
    EXPECT_TRUE(device::isLocked());
}

TEST_P(Buttons, AnAlarmThatMayNotSnoozeOnlyStopsByTheLockButton) {
    addAlarm(7, 0, 0, false);
    advance(3600);
    auto texts = visibleTexts();
    EXPECT_FALSE(contains(texts, "Snooze"));
    EXPECT_TRUE(contains(texts, "OK"));
    device::pressLockButton();
    EXPECT_EQ(shown(), "nothing");
    EXPECT_FALSE(celestial::isPlaying());
    EXPECT_TRUE(snoozes().empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, Buttons, ::testing::Values("7.1", "8.4", "9.3"), versionName);

// iOS 8 and 9: unlocking while the alarm's full-screen bulletin shows.
class UnlockWhileRinging : public ::testing::TestWithParam<std::tuple<const char*, bool>>, public SpringBoardTest {
protected:
    UnlockWhileRinging() : SpringBoardTest(std::get<0>(GetParam())) {
        addAlarm(7, 0);
        device::setLocked(true);
        device::setScreenOn(false);
        advance(3600);
    }
};

TEST_P(UnlockWhileRinging, TakesTheBulletinOffAndShowsTheAlarmsAlertWithTheSoundGoingOn) {
    ASSERT_EQ(shown(), "SBLockScreenFullscreenBulletinViewController");
    callLog::clear();
    bool touchID = std::get<1>(GetParam());
    touchID ? device::touchID() : device::unlock();
    EXPECT_FALSE(device::isLocked());
    EXPECT_FALSE(fullscreenBulletin());
    EXPECT_EQ(shown(), "SBBulletinModalAlert");
    EXPECT_EQ(callLog::count("SBLockScreenViewController", "dismissFullscreenBulletinAlertWithItem:"), 0);
    EXPECT_TRUE(callsInOrder({"SBLockScreenManager unlockUIFromSource:withOptions:", "SBAlertItemsController activateAlertItem: SBBulletinModalAlert",
                              "SBAlertItem willActivate SBBulletinModalAlert"}));
    EXPECT_TRUE(celestial::isPlaying());
    EXPECT_EQ(sound::playbacks().size(), 1u);
    // The alert is the alarm's: its Snooze snoozes it, and the sound stops.
    ASSERT_TRUE(touch::pressButton("Snooze"));
    EXPECT_FALSE(celestial::isPlaying());
    EXPECT_EQ(snoozes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Versions, UnlockWhileRinging,
                         ::testing::Combine(::testing::Values("8.4", "9.3"), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param))[0] + std::string(std::get<1>(info.param) ? "_TouchID" : "_Slide");
                         });

// iOS 7 keeps the alert item over the lock screen; unlocking leaves it and the sound.
TEST(UnlockWhileRingingOnIOS7, LeavesTheAlertAndTheSound) {
    SpringBoardTest sb("7.1");
    sb.addAlarm(7, 0);
    device::setLocked(true);
    sb.advance(3600);
    device::unlock();
    EXPECT_EQ(sb.shown(), "SBSystemLocalNotificationAlert");
    EXPECT_TRUE(celestial::isPlaying());
    // Its window is above the lock screen's.
    auto windows = UIWindow::visibleWindowsFrontToBack();
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(windows.front()->windowLevel_, 1996);
}

}  // namespace
}  // namespace platform::sbtest

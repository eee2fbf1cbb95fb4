// The alarm's sound in SpringBoard: the player and its category, the volume
// coupling with "Ringtone", the indicator, vibration by the ringer switch.
#include <gtest/gtest.h>

#include "platform/frameworks/audio_toolbox.h"
#include "tests/platform/springboard/springboard_test_support.h"

namespace platform::sbtest {
namespace {

class AlarmSound : public ::testing::TestWithParam<const char*>, public SpringBoardTest {
protected:
    AlarmSound() : SpringBoardTest(GetParam()) {}
    void ring() {
        addAlarm(7, 0);
        advance(3600);
        ASSERT_TRUE(celestial::isPlaying());
    }
    Ref<Object> player() { return object_getIvar(sel::sharedInstance(objc_getClass("SBSoundController")), "_avController").object(); }
    Ref<Object> avSystem() { return sel::sharedAVSystemController(objc_getClass("AVSystemController")); }
};

TEST_P(AlarmSound, ThePlayerIsAnAlarmOneAndItsVolumeIsTheRingtoneVolume) {
    device::setCategoryVolume("Ringtone", 0.7f);
    ring();
    Ref<Object> sound = object_getIvar(sel::sharedInstance(objc_getClass("SBSoundController")), "_avControllerSound").object();
    EXPECT_EQ(sel::controllerAttributes(sound)["AVController_AudioCategoryAttribute"], Value("Alarm"));
    ASSERT_TRUE(player());
    EXPECT_FLOAT_EQ(sel::volume(player()), 0.7f);

    callLog::clear();
    sel::setVolume_(player(), 0.3f);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.3f);
    sel::setVolumeTo_forCategory_(avSystem(), 0.6f, Value("Ringtone"));
    EXPECT_FLOAT_EQ(sel::volume(player()), 0.6f);
    float read = 0;
    EXPECT_TRUE(sel::getVolume_forCategory_(avSystem(), &read, Value("Ringtone")));
    EXPECT_FLOAT_EQ(read, 0.6f);
    EXPECT_EQ(callLog::count("SBHUDController", "_createUI"), 2);  // one per change
    // Above 1 the volume stops at 1.
    sel::setVolume_(player(), 1.5f);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 1.0f);

    // Once the alarm ends the two go their own ways.
    sel::deactivateAlertItem_(alertItems(), visibleItem());
    EXPECT_FALSE(celestial::isPlaying());
    sel::setVolume_(player(), 0.2f);
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 1.0f);
    sel::setVolumeTo_forCategory_(avSystem(), 0.7f, Value("Ringtone"));
    EXPECT_FLOAT_EQ(sel::volume(player()), 0.2f);

    // The record holds each change on the clock.
    auto ringtone = sound::volumeChanges("Ringtone");
    ASSERT_EQ(ringtone.size(), 4u);
    EXPECT_FLOAT_EQ(ringtone.back().volume, 0.7f);
    EXPECT_DOUBLE_EQ(ringtone.back().at.unix(), testing::kDefaultStart + 3600);
}

TEST_P(AlarmSound, VolumeButtonsOnTheLockScreenMoveTheRingingAlarm) {
    device::setLocked(true);
    device::setCategoryVolume("Ringtone", 0.5f);
    ring();
    device::pressVolumeUp();
    EXPECT_FLOAT_EQ(sel::volume(player()), 0.5625f);
    device::pressVolumeDown();
    device::pressVolumeDown();
    EXPECT_FLOAT_EQ(sel::volume(player()), 0.4375f);
    EXPECT_EQ(callLog::count("SBHUDController", "_createUI"), 3);
}

TEST_P(AlarmSound, AReadThatFailsAnswersNoAndLeavesTheValue) {
    device::setVolumeReadFails(true);
    float read = 0.25f;
    EXPECT_FALSE(sel::getVolume_forCategory_(avSystem(), &read, Value("Ringtone")));
    EXPECT_FLOAT_EQ(read, 0.25f);
    ring();  // the alarm rings all the same
    EXPECT_EQ(callLog::count("AVSystemController", "getVolume:forCategory:"), 1);
}

TEST_P(AlarmSound, VibratesByTheRingerSwitchAndTheSoundsSettings) {
    struct Case {
        bool muted, onRing, onSilent;
        std::size_t vibrations;
    };
    const Case cases[] = {{false, true, true, 1}, {false, false, true, 0}, {true, true, false, 0}, {true, false, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.muted ? "muted" : "ringing") + (c.onRing ? " onRing" : "") + (c.onSilent ? " onSilent" : ""));
        sound::clear();
        device::setRingerMuted(c.muted);
        device::setVibrateOnRing(c.onRing);
        device::setVibrateOnSilent(c.onSilent);
        EXPECT_EQ(sel::shouldVibrateForCurrentRingerStateWithAudioCategory_(objc_getClass("SBSoundPreferences"), Value("Alarm")),
                  c.vibrations == 1);
        // A notification of an alarm, fired directly.
        auto n = UILocalNotification::make();
        n->userInfo_ = Value{{"alarmId", Value("ALARM-9")}};
        n->fireDate_ = Value(clock::now());
        springboard::fireNotification(n);
        ASSERT_TRUE(celestial::isPlaying());
        auto vibrations = sound::vibrations();
        ASSERT_EQ(vibrations.size(), c.vibrations);
        if (!vibrations.empty()) {
            EXPECT_EQ(vibrations[0].soundID, kSystemSoundID_Vibrate);
        }
        sel::stopAllSounds(sel::sharedInstance(objc_getClass("SBSoundController")));
    }
}

// A replacement of the sound start, as a system would install one, sees the
// player through the instance variables and is reached from SpringBoard's firing.
void (*original_soundDidStartPlaying)(id, id) = nullptr;
void replaced_soundDidStartPlaying(id self, id sound) {
    original_soundDidStartPlaying(self, sound);
    Ref<Object> player = object_getIvar(self, "_avController").object();
    callLog::record("test", "sound started", sel::controllerAttributes(object_getIvar(self, "_avControllerSound").object())
                                                 ["AVController_AudioCategoryAttribute"].string());
    sel::setVolume_(player, 0.0f);
}

TEST_P(AlarmSound, AHookOnTheSoundStartTakesEffectWhenAnAlarmRings) {
    MSHookMessageEx(objc_getClass("SBSoundController"), sel::_soundDidStartPlaying_, &replaced_soundDidStartPlaying,
                    &original_soundDidStartPlaying);
    ring();
    EXPECT_TRUE(callsInOrder({"SBSoundController _soundDidStartPlaying: Alarm", "test sound started Alarm", "AVController setVolume: 0"}));
    EXPECT_FLOAT_EQ(device::categoryVolume("Ringtone"), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Versions, AlarmSound, ::testing::Values("7.1", "8.4", "9.3"), [](const auto& info) {
    return "iOS" + std::string(1, info.param[0]);
});

}  // namespace
}  // namespace platform::sbtest

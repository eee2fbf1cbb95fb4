// Celestial's category volumes and players, AudioToolbox's system sounds and
// IOKit's keyboard events, in a host without SpringBoard.
#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/frameworks/audio_toolbox.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/iokit_hid.h"
#include "platform/frameworks/selectors.h"
#include "platform/frameworks/sound_record.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

host::BootOptions clockApp() {
    host::BootOptions options;
    options.bundleIdentifier = host::kClockApp;
    return options;
}

class Celestial : public ::testing::Test {
protected:
    testing::TestEnvironment env{clockApp()};
    Ref<Object> system = sel::sharedAVSystemController(objc_getClass("AVSystemController"));
};

TEST_F(Celestial, OnlyAPlayingAlarmPlayerIsCoupledToTheRingtoneVolume) {
    celestial::setCategoryVolume("Ringtone", 0.7f);
    auto alarm = celestial::makePlayer("Alarm", "Radar");
    auto music = celestial::makePlayer("Audio/Video", "song");
    sel::setVolume_(alarm, 0.2f);  // not playing yet: its own volume only
    EXPECT_FLOAT_EQ(celestial::categoryVolume("Ringtone"), 0.7f);

    celestial::play(music);
    celestial::play(alarm);
    EXPECT_TRUE(celestial::isPlaying());
    EXPECT_FLOAT_EQ(sel::volume(alarm), 0.7f);  // it starts at the ringtone volume
    sel::setVolume_(music, 0.1f);
    EXPECT_FLOAT_EQ(celestial::categoryVolume("Ringtone"), 0.7f);
    sel::setVolume_(alarm, 0.4f);
    EXPECT_FLOAT_EQ(celestial::categoryVolume("Ringtone"), 0.4f);
    EXPECT_TRUE(sel::setVolumeTo_forCategory_(system, 0.9f, Value("Ringtone")));
    EXPECT_FLOAT_EQ(sel::volume(alarm), 0.9f);
    EXPECT_TRUE(sel::setVolumeTo_forCategory_(system, 0.3f, Value("Audio/Video")));
    EXPECT_FLOAT_EQ(sel::volume(alarm), 0.9f);
    // Clamped to 0...1.
    sel::setVolume_(alarm, -1.0f);
    EXPECT_FLOAT_EQ(celestial::categoryVolume("Ringtone"), 0.0f);

    celestial::stop(alarm);
    EXPECT_TRUE(celestial::isPlaying());  // the music plays on
    sel::setVolumeTo_forCategory_(system, 0.6f, Value("Ringtone"));
    EXPECT_FLOAT_EQ(sel::volume(alarm), 0.0f);
    celestial::stop(music);
    EXPECT_FALSE(celestial::isPlaying());

    auto playbacks = sound::playbacks();
    ASSERT_EQ(playbacks.size(), 4u);
    EXPECT_EQ(playbacks[1].sound, "Radar");
    EXPECT_TRUE(playbacks[1].started);
    EXPECT_FLOAT_EQ(playbacks[1].volume, 0.7f);
    EXPECT_FALSE(playbacks[2].started);
    auto ringtone = sound::volumeChanges("Ringtone");
    std::vector<float> values;
    for (auto& v : ringtone) values.push_back(v.volume);
    EXPECT_EQ(values, (std::vector<float>{0.4f, 0.9f, 0.0f, 0.6f}));
}

TEST_F(Celestial, VolumeChangesAreRecordedOnTheClock) {
    auto alarm = celestial::makePlayer("Alarm", "Radar");
    celestial::play(alarm);
    sel::setVolume_(alarm, 0.1f);
    RunLoop::main().advance(0.05);
    sel::setVolume_(alarm, 0.2f);
    auto player = sound::volumeChanges(sound::kPlayer);
    ASSERT_EQ(player.size(), 2u);
    EXPECT_NEAR(player[1].at.timeIntervalSinceDate(player[0].at), 0.05, 1e-6);
    // Outside SpringBoard there is no indicator to ask for.
    EXPECT_EQ(callLog::count("SBHUDController", "_createUI"), 0);
}

TEST_F(Celestial, AVolumeReadCanFail) {
    celestial::setCategoryVolume("Ringtone", 0.8f);
    float v = 0;
    EXPECT_TRUE(sel::getVolume_forCategory_(system, &v, Value("Ringtone")));
    EXPECT_FLOAT_EQ(v, 0.8f);
    EXPECT_TRUE(sel::getVolume_forCategory_(system, &v, Value("Never set")));
    EXPECT_FLOAT_EQ(v, 0.5f);
    celestial::setVolumeReadFails(true);
    v = -1;
    EXPECT_FALSE(sel::getVolume_forCategory_(system, &v, Value("Ringtone")));
    EXPECT_FLOAT_EQ(v, -1);
    EXPECT_EQ(callLog::count("AVSystemController", "getVolume:forCategory:"), 3);
}

TEST_F(Celestial, SystemSoundsAndVibrationsAreRecorded) {
    AudioServicesPlaySystemSound(1005);
    AudioServicesPlaySystemSound(kSystemSoundID_Vibrate);
    Value pattern{{"VibePattern", Value::array({Value(true), Value(50)})}, {"Intensity", Value(1)}};
    AudioServicesPlaySystemSoundWithVibration(4095, nullptr, pattern);
    auto sounds = sound::systemSounds();
    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[0].soundID, 1005u);
    EXPECT_FALSE(sounds[0].withVibration);
    EXPECT_TRUE(sounds[2].withVibration);
    EXPECT_EQ(sounds[2].options["VibePattern"].at(1), Value(50));
    EXPECT_EQ(sound::vibrations().size(), 2u);
    EXPECT_EQ(callLog::lines("AudioToolbox"),
              (std::vector<std::string>{"AudioToolbox AudioServicesPlaySystemSound 1005", "AudioToolbox AudioServicesPlaySystemSound 4095",
                                        "AudioToolbox AudioServicesPlaySystemSoundWithVibration 4095 " + pattern.description()}));
}

TEST_F(Celestial, KeyboardEventsKeepTheirFields) {
    Ref<Object> e = IOHIDEventCreateKeyboardEvent(kCFAllocatorDefault, mach_absolute_time(), kHIDPage_Consumer, kHIDUsage_Csmr_Menu, true, 0);
    auto* event = as<IOHIDEvent>(e.get());
    ASSERT_TRUE(event);
    EXPECT_EQ(event->usagePage, 0x0Cu);
    EXPECT_EQ(event->usage, 0x40u);
    EXPECT_TRUE(event->down);
    EXPECT_GT(event->timestamp, 0u);
    EXPECT_EQ(callLog::lines("IOKit"), (std::vector<std::string>{"IOKit IOHIDEventCreateKeyboardEvent page 0xc usage 0x40 down 1"}));
}

TEST(IOKit, NoEventWithoutTheEventClass) {
    auto options = clockApp();
    options.missingClasses = {"IOHIDEvent"};
    testing::TestEnvironment env(options);
    EXPECT_FALSE(IOHIDEventCreateKeyboardEvent(kCFAllocatorDefault, 1, 0x0C, 0x40, true, 0));
}

}  // namespace
}  // namespace platform

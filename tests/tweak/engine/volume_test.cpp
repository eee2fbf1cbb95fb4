// The ringing alarm's sound: volume, fade-in, the saved and restored ringtone
// volume, vibration, the volume indicator and the unlock label.
#include "ringing_fixture.h"
#include "platform/frameworks/audio_toolbox.h"
#include "tweak/engine/volume.h"

namespace rousa {
namespace {

using testing::RecordFields;
using testing::Ringing;

float playerVolume() {
    auto changes = sound::volumeChanges(sound::kPlayer);
    return changes.empty() ? -1.0f : changes.back().volume;
}

struct FadeCase {
    const char* name;
    long long fadeinTime, fadeinMeasure;
    double seconds;  // until the record's volume is reached
};
void PrintTo(const FadeCase& c, std::ostream* os) { *os << c.name; }

class FadeIn : public ::testing::TestWithParam<FadeCase> {};

TEST_P(FadeIn, RisesFromSilenceToTheRecordsVolumeOverItsLength) {
    const auto& c = GetParam();
    Ringing r("9.3");
    RecordFields f;
    f.volume = 0.5f;
    f.fadeinTime = c.fadeinTime;
    f.fadeinMeasure = c.fadeinMeasure;
    r.alarmWithRecord(f);
    r.advance(60);  // 06:01:00, the alarm fires
    double step = 0.5 / 20 / c.seconds;
    // Silence, then the first step at once and one every 0.05 s: 20 a second.
    auto changes = sound::volumeChanges(sound::kPlayer);
    ASSERT_GE(changes.size(), 2u);
    EXPECT_FLOAT_EQ(changes[changes.size() - 2].volume, 0.0f);
    EXPECT_NEAR(playerVolume(), step, 1e-6);
    r.advance(0.05);
    EXPECT_NEAR(playerVolume(), 2 * step, 1e-6);
    r.advance(c.seconds / 2 - 0.1);
    EXPECT_NEAR(playerVolume(), 0.25, 1e-3);
    // Float steps fall short by a hair: the last one sets the volume exactly.
    r.advance(c.seconds / 2 + 0.05);
    EXPECT_EQ(playerVolume(), 0.5f);
    std::size_t steps = sound::volumeChanges(sound::kPlayer).size();
    r.advance(5);
    EXPECT_EQ(sound::volumeChanges(sound::kPlayer).size(), steps);  // the chain ended at the target
}

INSTANTIATE_TEST_SUITE_P(Lengths, FadeIn,
                         ::testing::Values(FadeCase{"ten_seconds", 10, 1, 10}, FadeCase{"one_minute", 1, 2, 60},
                                           FadeCase{"unknown_unit_counts_as_seconds", 10, 0, 10}),
                         [](const auto& info) { return info.param.name; });

TEST(Volume, WithoutAFadeThePlayerTakesTheRecordsVolumeOnce) {
    Ringing r("8.4");
    RecordFields f;
    f.volume = 0.5f;
    r.alarmWithRecord(f);
    r.advance(65);
    auto changes = sound::volumeChanges(sound::kPlayer);
    ASSERT_FALSE(changes.empty());
    EXPECT_FLOAT_EQ(changes.back().volume, 0.5f);
    EXPECT_EQ(std::count_if(changes.begin(), changes.end(), [](const auto& c) { return c.volume == 0.5f; }), 1);
}

TEST(Volume, AFadeStepOfAnEndedRingingDoesNothing) {
    Ringing r("9.3");
    RecordFields f;
    f.volume = 0.5f;
    f.fadeinTime = 10;
    f.calcEnabled = true;
    r.alarmWithRecord(f);
    r.advance(62);
    sel::setAlarmToDismiss_(r.window(), nullptr);
    std::size_t steps = sound::volumeChanges(sound::kPlayer).size();
    r.advance(10);
    EXPECT_EQ(sound::volumeChanges(sound::kPlayer).size(), steps);
}

TEST(Volume, ASecondSoundStartWithTheSamePlayerKeepsOneFadeChain) {
    Ringing r("9.3");
    RecordFields f;
    f.volume = 0.5f;
    f.fadeinTime = 10;  // 0.0025 every 0.05 s
    r.alarmWithRecord(f);
    r.advance(61);
    Ref<Object> controller = sel::sharedInstance(objc_getClass("SBSoundController"));
    Ref<Object> sound(object_getIvar(controller, "_avControllerSound").object());
    float before = playerVolume();
    sel::_soundDidStartPlaying_(controller, sound);
    EXPECT_FLOAT_EQ(playerVolume(), before);  // the fade goes on from where it was
    r.advance(1.0);
    EXPECT_NEAR(playerVolume(), before + 20 * 0.0025f, 1e-4);
}

TEST(Volume, TheRingtoneVolumeIsSavedOnceAndAFailedReadSavesHalf) {
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails);
        std::string got = platform::testing::runInChild([fails] {
            Ringing r("8.4");
            device::setCategoryVolume("Ringtone", 0.7f);
            device::setVolumeReadFails(fails);
            RecordFields f;
            f.volume = 0.2f;
            f.calcEnabled = true;
            r.alarmWithRecord(f);
            r.ring();
            sel::setAlarmToDismiss_(r.window(), nullptr);
            r.advance(1.0);
            return format("%.2f %@", device::categoryVolume("Ringtone"),
                          log::contains("\033[1;35m[Rousa2] Failed to get current volume\033[0m") ? "logged" : "quiet");
        });
        EXPECT_EQ(got, fails ? "0.50 logged" : "0.70 quiet");
    }
}

TEST(Volume, VibrationFollowsTheRecordByTheRingerSwitch) {
    struct Case {
        bool muted, vibrateRing, vibrateSilent, vibrates;
    };
    for (const Case c : {Case{false, true, false, true}, Case{false, false, true, false}, Case{true, false, true, true},
                         Case{true, true, false, false}}) {
        SCOPED_TRACE(std::to_string(c.muted) + std::to_string(c.vibrateRing) + std::to_string(c.vibrateSilent));
        std::string got = platform::testing::runInChild([c] {
            Ringing r("9.3");
            device::setRingerMuted(c.muted);
            RecordFields f;
            f.vibrateRing = c.vibrateRing;
            f.vibrateSilent = c.vibrateSilent;
            r.alarmWithRecord(f);
            r.ring();
            bool answer = sel::shouldVibrateForCurrentRingerStateWithAudioCategory_(objc_getClass("SBSoundPreferences"), Value("Alarm"));
            return std::string(answer ? "vibrates" : "still") + (sound::vibrations().empty() ? " none" : " felt");
        });
        EXPECT_EQ(got, c.vibrates ? "vibrates felt" : "still none");
    }
}

TEST(Volume, TheIndicatorStaysOffForTheTweaksChangesAndShowsForTheUsers) {
    Ringing r("9.3");
    device::setLocked(true);
    RecordFields f;
    f.volume = 0.5f;
    f.fadeinTime = 1;
    r.alarmWithRecord(f);
    r.advance(62);  // the fade has run its course
    EXPECT_EQ(callLog::count("SBHUDController", "_createUI"), 0);
    device::pressVolumeUp();
    EXPECT_EQ(callLog::count("SBHUDController", "_createUI"), 1);
}

TEST(Volume, TheUnlockLabelReadsRousa2WithTheLockScreenAlert) {
    Ringing r("8.4");
    Ringing::preferences({{"showalertlockscreen", Value(true)}});
    device::setLocked(true);
    r.alarmWithRecord(RecordFields{});
    r.ring();
    // The full-screen bulletin's slider shows the label.
    EXPECT_TRUE(sbtest::contains(r.visibleTexts(), "Rousa 2"));
    auto bulletin = alloc("BBBulletin");
    EXPECT_NE(sel::unlockActionLabel(bulletin).string(), "Rousa 2");  // not the alarm's section
}

TEST(Volume, HapticFeedbackVibratesFor50Milliseconds) {
    platform::testing::TestEnvironment env;
    hapticFeedback();
    auto sounds = sound::systemSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds.front().soundID, 4095u);
    EXPECT_EQ(sounds.front().options["VibePattern"], Value::array({Value(true), Value(50)}));
    EXPECT_EQ(sounds.front().options["Intensity"], Value(1));
}

}  // namespace
}  // namespace rousa

#include "tweak/engine/volume.h"

#include <algorithm>

#include "platform/foundation/log.h"
#include "platform/foundation/timer.h"
#include "platform/frameworks/audio_toolbox.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing_state.h"

namespace rousa {

namespace {

Ref<Object> systemVolumes() { return sel::sharedAVSystemController(objc_getClass("AVSystemController")); }

// One fade chain per ringing: the player it drives and the level it reached.
struct Fade {
    unsigned long long ringing = 0;
    WeakRef<Object> player;
    float level = 0;
};
Fade& fade() {
    static Fade f;
    return f;
}

// The fade-in's length in seconds, by its unit; an unknown unit counts as seconds.
float fadeSeconds(const KAlarm& record) {
    long long t = record.fadeinTime();
    switch (record.fadeinMeasure()) {
        case KAlarmMeasureMinutes: return static_cast<float>(t * 60);
        case KAlarmMeasureHours: return static_cast<float>(t * 3600);
        default: return static_cast<float>(t);
    }
}

void saveRingtoneVolume() {
    ringtoneVolumeSaved = true;
    if (ringtoneRestorePending) {
        // The ringtone still plays at the last alarm's volume: the user's is the one saved.
        ringtoneRestorePending = false;
        return;
    }
    float volume = 0;
    if (sel::getVolume_forCategory_(systemVolumes(), &volume, Value("Ringtone"))) {
        savedRingtoneVolume = volume;
    } else {
        NSLog("%s[Rousa2] Failed to get current volume%s", kLogColorStart, kLogColorEnd);
        savedRingtoneVolume = 0.5f;
    }
}

Value unlockLabel(id self, Value (*previous)(id)) {
    RousaLoadPrefs(false);
    if (showalertlockscreen && alarmRinging && sel::sectionID(self).string() == kClockBundleIdentifier) return Value("Rousa 2");
    return callPrevious(previous, self);
}

}  // namespace

void (*original_SBSoundController__soundDidStartPlaying_)(id, id) = nullptr;
void replaced_SBSoundController__soundDidStartPlaying_(id self, id sound) {
    callPrevious(original_SBSoundController__soundDidStartPlaying_, self, sound);
    Ref<Object> player(object_getIvar(self, "_avController").object());
    Ref<Object> playing(object_getIvar(self, "_avControllerSound").object());
    if (sel::controllerAttributes(playing)["AVController_AudioCategoryAttribute"].string() != "Alarm" || !alarmRinging) return;
    if (!currentAlarm) return;
    suppressVolumeHUD = true;
    // The user's ringtone volume, once per ringing: a second sound start must
    // not save the alarm's own volume in its place.
    if (!ringtoneVolumeSaved) saveRingtoneVolume();
    if (!currentAlarm->shouldFadeAudio()) {
        sel::setVolume_(player, currentAlarm->volume());
        return;
    }
    Fade& f = fade();
    if (f.ringing == ringingCount) {
        // The chain of this ringing goes on with the new player, from where it
        // was; a step still due on the same player would make it a second chain.
        f.player = player.get();
        sel::setVolume_(player, f.level);
        cancelPreviousPerformRequestsWithTarget(player, sel::shouldFadeAudio, Value());
        performSelectorAfterDelay(player, sel::shouldFadeAudio, Value(), 0.05);
        return;
    }
    f = Fade{ringingCount, WeakRef<Object>(player.get()), 0.0f};
    sel::setVolume_(player, 0.0f);
    sel::shouldFadeAudio(player);
}

void AVController_shouldFadeAudio(id self) {
    Fade& f = fade();
    // A step of an earlier ringing, or of a player the chain left, does nothing.
    if (!alarmRinging || !currentAlarm || f.ringing != ringingCount || f.player.lock().get() != self) return;
    float target = currentAlarm->volume();
    float current = sel::volume(self);
    if (current >= target) return;
    float seconds = std::max(fadeSeconds(*currentAlarm), 1.0f / 20.0f);
    float next = std::min(target, current + target / 20.0f / seconds);
    suppressVolumeHUD = true;
    sel::setVolume_(self, next);
    f.level = next;
    performSelectorAfterDelay(self, sel::shouldFadeAudio, Value(), 0.05);
}

bool (*original_SBSoundPreferences_shouldVibrateForCurrentRingerStateWithAudioCategory_)(id, Value) = nullptr;
bool replaced_SBSoundPreferences_shouldVibrateForCurrentRingerStateWithAudioCategory_(id self, Value category) {
    if (alarmRinging && category.string() == "Alarm" && currentAlarm && currentAlarm->enabled()) {
        static Class* media = objc_getClass("SBMediaController");
        return sel::isRingerMuted(sel::sharedInstance(media)) ? currentAlarm->vibrateSilent() : currentAlarm->vibrateRing();
    }
    return callPrevious(original_SBSoundPreferences_shouldVibrateForCurrentRingerStateWithAudioCategory_, self, category);
}

void (*original_SBHUDController__createUI)(id) = nullptr;
void replaced_SBHUDController__createUI(id self) {
    if (suppressVolumeHUD) {
        suppressVolumeHUD = false;
        return;
    }
    static Class* assistant = objc_getClass("SBAssistantController");
    if (alarmRinging && sel::isAssistantViewVisible_(assistant, true)) return;
    callPrevious(original_SBHUDController__createUI, self);
}

Value (*original_BBBulletin_unlockActionLabel)(id) = nullptr;
Value replaced_BBBulletin_unlockActionLabel(id self) { return unlockLabel(self, original_BBBulletin_unlockActionLabel); }
Value (*original_BBBulletin_fullUnlockActionLabel)(id) = nullptr;
Value replaced_BBBulletin_fullUnlockActionLabel(id self) { return unlockLabel(self, original_BBBulletin_fullUnlockActionLabel); }
Value (*original_BBBulletin_unlockActionLabelOverride)(id) = nullptr;
Value replaced_BBBulletin_unlockActionLabelOverride(id self) {
    return unlockLabel(self, original_BBBulletin_unlockActionLabelOverride);
}

void restoreRingtoneVolume() {
    // The restore is the tweak's own change: no indicator for it.
    suppressVolumeHUD = true;
    sel::setVolumeTo_forCategory_(systemVolumes(), savedRingtoneVolume, Value("Ringtone"));
}

extern "C" void hapticFeedback() {
    AudioServicesPlaySystemSoundWithVibration(
        4095, nullptr, Value(Value::Dictionary{{"VibePattern", Value::array({Value(true), Value(50)})}, {"Intensity", Value(1)}}));
}

}  // namespace rousa

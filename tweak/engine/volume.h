// The ringing alarm's sound: the record's volume or its fade-in, the ringtone
// volume saved at the sound's start and restored after the ringing, vibration
// by the ringer switch, the volume indicator kept off the screen for the
// tweak's own changes, and the unlock label of the alarm's bulletin.
// SpringBoard's main thread.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id)> shouldFadeAudio{"shouldFadeAudio"};
}

extern void (*original_SBSoundController__soundDidStartPlaying_)(id, id);
void replaced_SBSoundController__soundDidStartPlaying_(id self, id sound);
// Added to AVController: one step of the fade-in, which schedules the next.
void AVController_shouldFadeAudio(id self);
extern bool (*original_SBSoundPreferences_shouldVibrateForCurrentRingerStateWithAudioCategory_)(id, Value);
bool replaced_SBSoundPreferences_shouldVibrateForCurrentRingerStateWithAudioCategory_(id self, Value category);
extern void (*original_SBHUDController__createUI)(id);
void replaced_SBHUDController__createUI(id self);
extern Value (*original_BBBulletin_unlockActionLabel)(id);
Value replaced_BBBulletin_unlockActionLabel(id self);
extern Value (*original_BBBulletin_fullUnlockActionLabel)(id);
Value replaced_BBBulletin_fullUnlockActionLabel(id self);
extern Value (*original_BBBulletin_unlockActionLabelOverride)(id);
Value replaced_BBBulletin_unlockActionLabelOverride(id self);

// Puts the ringtone volume saved at the sound's start back.
void restoreRingtoneVolume();

// A short vibration (50 ms).
extern "C" void hapticFeedback();

}  // namespace rousa

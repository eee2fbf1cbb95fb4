// AudioToolbox: system sounds and vibrations. Every host has them; each call
// is recorded in the call log and in the sound record. Any thread.
#pragma once

#include <cstdint>

#include "platform/runtime/value.h"

namespace platform {

using SystemSoundID = std::uint32_t;
// The vibration "sound".
inline constexpr SystemSoundID kSystemSoundID_Vibrate = 4095;

void AudioServicesPlaySystemSound(SystemSoundID sound);
// The private form with a vibration pattern: options "VibePattern" (an array of
// on flags and durations in milliseconds) and "Intensity".
void AudioServicesPlaySystemSoundWithVibration(SystemSoundID sound, id unused, const Value& options);

}  // namespace platform

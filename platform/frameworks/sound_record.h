// What the sound stand-ins (Celestial, AudioToolbox) received, in order, on
// the process's clock: volume changes of the alarm player and of the audio
// categories, players started and stopped, system sounds and vibrations.
// Tests read it; the stand-ins write it. Thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime/value.h"

namespace platform::sound {

// The target of a player's own volume.
inline constexpr const char* kPlayer = "player";

struct VolumeChange {
    Date at;
    std::string target;  // an audio category ("Ringtone") or kPlayer
    float volume;
};
struct Playback {
    Date at;
    std::string sound;
    std::string category;
    bool started;  // NO: stopped
    float volume;  // the player's volume at that moment
};
struct SystemSound {
    Date at;
    std::uint32_t soundID;
    bool withVibration;  // played through AudioServicesPlaySystemSoundWithVibration
    Value options;
};

std::vector<VolumeChange> volumeChanges();
// The volume changes of one target.
std::vector<VolumeChange> volumeChanges(std::string_view target);
std::vector<Playback> playbacks();
std::vector<SystemSound> systemSounds();
// The system sounds that vibrate: the vibration sound, or any sound played
// with a vibration pattern.
std::vector<SystemSound> vibrations();
void clear();

void recordVolume(std::string target, float volume);
void recordPlayback(std::string sound, std::string category, bool started, float volume);
void recordSystemSound(std::uint32_t soundID, bool withVibration, Value options);

}  // namespace platform::sound

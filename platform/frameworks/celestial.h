// Celestial: AVSystemController, the category volumes of the device, and
// AVController, a player with an audio category. Every host has them. While a
// player of the category "Alarm" plays, its volume and the "Ringtone" category
// volume are one: setting either sets both. Every volume set asks SpringBoard's
// SBHUDController for the volume indicator. Volumes are clamped to 0...1.
// Main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/nsobject.h"

namespace platform {

inline constexpr const char* kAudioCategoryAlarm = "Alarm";
inline constexpr const char* kAudioCategoryRingtone = "Ringtone";

class AVController : public NSObject {
public:
    std::string category;
    std::string sound;
    float volume = 1;
    bool playing = false;
};

class AVSystemController : public NSObject {};

namespace celestial {

// The category volumes as plain device state (no indicator, no coupling); a
// category never set reads 0.5.
float categoryVolume(std::string_view category);
void setCategoryVolume(std::string_view category, float volume);
// Makes getVolume:forCategory: answer NO and leave the value alone.
void setVolumeReadFails(bool fails);

// A player of `category` playing `sound`; null when AVController is missing.
Ref<AVController> makePlayer(std::string_view category, std::string_view sound);
// An "Alarm" player starts at the "Ringtone" volume and stays coupled to it
// until it stops.
void play(AVController* player);
void stop(AVController* player);
// Whether any player plays now.
bool isPlaying();

void registerClasses();

}  // namespace celestial
}  // namespace platform

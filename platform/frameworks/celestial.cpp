#include "platform/frameworks/celestial.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/foundation/format.h"
#include "platform/frameworks/selectors.h"
#include "platform/frameworks/sound_record.h"
#include "platform/runtime/call_log.h"

namespace platform {
namespace celestial {

namespace {

struct State {
    std::map<std::string, float, std::less<>> volumes;
    bool readFails = false;
    WeakRef<AVController> alarmPlayer;  // the playing "Alarm" player
    std::vector<WeakRef<AVController>> playing;
};

State& state() {
    static auto* s = new State();
    return *s;
}

float clamp(float v) { return std::clamp(v, 0.0f, 1.0f); }

void askForIndicator() {
    if (Class* hud = objc_getClass("SBHUDController")) sel::_createUI(sel::sharedInstance(hud));
}

void storeCategory(std::string_view category, float volume) {
    state().volumes[std::string(category)] = volume;
    sound::recordVolume(std::string(category), volume);
}

void storePlayer(AVController* player, float volume) {
    player->volume = volume;
    sound::recordVolume(sound::kPlayer, volume);
}

}  // namespace

float categoryVolume(std::string_view category) {
    auto it = state().volumes.find(category);
    return it == state().volumes.end() ? 0.5f : it->second;
}

void setCategoryVolume(std::string_view category, float volume) { state().volumes[std::string(category)] = clamp(volume); }

void setVolumeReadFails(bool fails) { state().readFails = fails; }

Ref<AVController> makePlayer(std::string_view category, std::string_view soundName) {
    auto player = as<AVController>(newObject("AVController"));
    if (!player) return nullptr;
    player->category = std::string(category);
    player->sound = std::string(soundName);
    return player;
}

void play(AVController* player) {
    if (!player || player->playing) return;
    player->playing = true;
    state().playing.emplace_back(player);
    if (player->category == kAudioCategoryAlarm) {
        state().alarmPlayer = player;
        player->volume = categoryVolume(kAudioCategoryRingtone);
    }
    callLog::record("AVController", "play", player->sound);
    sound::recordPlayback(player->sound, player->category, true, player->volume);
}

void stop(AVController* player) {
    if (!player || !player->playing) return;
    player->playing = false;
    std::erase_if(state().playing, [&](const WeakRef<AVController>& p) {
        Ref<AVController> alive = p.lock();
        return !alive || alive.get() == player;
    });
    if (state().alarmPlayer.lock().get() == player) state().alarmPlayer = nullptr;
    callLog::record("AVController", "stop", player->sound);
    sound::recordPlayback(player->sound, player->category, false, player->volume);
}

bool isPlaying() {
    return std::any_of(state().playing.begin(), state().playing.end(), [](const WeakRef<AVController>& p) { return !p.expired(); });
}

void registerClasses() {
    ClassBuilder<AVSystemController>("AVSystemController", "NSObject")
        .classMethod(sel::sharedAVSystemController,
                     [](id) {
                         static auto* shared = new Ref<Object>(newObject("AVSystemController"));
                         return *shared;
                     })
        .method(sel::getVolume_forCategory_,
                [](id, float* volume, Value category) {
                    callLog::record("AVSystemController", "getVolume:forCategory:", category.string());
                    if (state().readFails || !volume) return false;
                    *volume = categoryVolume(category.string());
                    return true;
                })
        .method(sel::setVolumeTo_forCategory_, [](id, float volume, Value category) {
            callLog::record("AVSystemController", "setVolumeTo:forCategory:", format("%g %@", volume, category));
            float v = clamp(volume);
            storeCategory(category.string(), v);
            if (category.string() == kAudioCategoryRingtone)
                if (Ref<AVController> player = state().alarmPlayer.lock()) storePlayer(player, v);
            askForIndicator();
            return true;
        });

    ClassBuilder<AVController>("AVController", "NSObject")
        .method(sel::volume, [](id self) { return as<AVController>(self)->volume; })
        .method(sel::setVolume_, [](id self, float volume) {
            auto* player = as<AVController>(self);
            callLog::record("AVController", "setVolume:", format("%g", volume));
            float v = clamp(volume);
            storePlayer(player, v);
            if (state().alarmPlayer.lock().get() == player) {
                storeCategory(kAudioCategoryRingtone, v);
                askForIndicator();
            }
        });
}

}  // namespace celestial
}  // namespace platform

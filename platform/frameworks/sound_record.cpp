#include "platform/frameworks/sound_record.h"

#include <mutex>

#include "platform/frameworks/audio_toolbox.h"
#include "platform/foundation/run_loop.h"

namespace platform::sound {

namespace {
struct Record {
    std::mutex mutex;
    std::vector<VolumeChange> volumes;
    std::vector<Playback> playbacks;
    std::vector<SystemSound> sounds;
};
Record& record() {
    static auto* r = new Record();
    return *r;
}
}  // namespace

std::vector<VolumeChange> volumeChanges() {
    std::lock_guard guard(record().mutex);
    return record().volumes;
}

std::vector<VolumeChange> volumeChanges(std::string_view target) {
    std::vector<VolumeChange> out;
    for (auto& v : volumeChanges())
        if (v.target == target) out.push_back(v);
    return out;
}

std::vector<Playback> playbacks() {
    std::lock_guard guard(record().mutex);
    return record().playbacks;
}

std::vector<SystemSound> systemSounds() {
    std::lock_guard guard(record().mutex);
    return record().sounds;
}

std::vector<SystemSound> vibrations() {
    std::vector<SystemSound> out;
    for (auto& s : systemSounds())
        if (s.soundID == kSystemSoundID_Vibrate || !s.options["VibePattern"].isNil()) out.push_back(s);
    return out;
}

void clear() {
    std::lock_guard guard(record().mutex);
    record().volumes.clear();
    record().playbacks.clear();
    record().sounds.clear();
}

void recordVolume(std::string target, float volume) {
    Date now = clock::now();
    std::lock_guard guard(record().mutex);
    record().volumes.push_back({now, std::move(target), volume});
}

void recordPlayback(std::string sound, std::string category, bool started, float volume) {
    Date now = clock::now();
    std::lock_guard guard(record().mutex);
    record().playbacks.push_back({now, std::move(sound), std::move(category), started, volume});
}

void recordSystemSound(std::uint32_t soundID, bool withVibration, Value options) {
    Date now = clock::now();
    std::lock_guard guard(record().mutex);
    record().sounds.push_back({now, soundID, withVibration, std::move(options)});
}

}  // namespace platform::sound

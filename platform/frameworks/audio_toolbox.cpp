#include "platform/frameworks/audio_toolbox.h"

#include "platform/foundation/format.h"
#include "platform/frameworks/sound_record.h"
#include "platform/runtime/call_log.h"

namespace platform {

void AudioServicesPlaySystemSound(SystemSoundID sound) {
    callLog::record("AudioToolbox", "AudioServicesPlaySystemSound", std::to_string(sound));
    sound::recordSystemSound(sound, false, Value());
}

void AudioServicesPlaySystemSoundWithVibration(SystemSoundID sound, id, const Value& options) {
    callLog::record("AudioToolbox", "AudioServicesPlaySystemSoundWithVibration", format("%u %@", sound, options));
    sound::recordSystemSound(sound, true, options);
}

}  // namespace platform

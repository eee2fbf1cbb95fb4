// The alarm's sound: SBSoundController with its AVController player and the
// sound it plays (SBUISound), SBSoundPreferences (whether to vibrate), the
// volume indicator (SBHUDController), and the small state classes
// SBMediaController and SBAssistantController.
#include "platform/foundation/format.h"
#include "platform/frameworks/audio_toolbox.h"
#include "platform/frameworks/celestial.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"

namespace platform {

class SBSoundController : public NSObject {
public:
    Ref<AVController> avController;
    Ref<Object> avControllerSound;
};

class SBUISound : public NSObject {
public:
    Value attributes;
};

namespace springboard::detail {

namespace {
constexpr const char* kCategoryAttribute = "AVController_AudioCategoryAttribute";
constexpr float kVolumeStep = 1.0f / 16;
}  // namespace

void startAlarmSound(UILocalNotification* notification) {
    Ref<Object> controllerObject = shared("SBSoundController");
    auto* controller = as<SBSoundController>(controllerObject.get());
    if (!controller) return;
    if (controller->avController && controller->avController->playing) sel::stopAllSounds(controller);
    Value name = notification ? notification->soundName_ : Value();
    auto player = celestial::makePlayer(kAudioCategoryAlarm, name.isString() ? name.string() : "default");
    auto sound = as<SBUISound>(newObject("SBUISound"));
    if (!player || !sound) return;
    sound->attributes = Value{{kCategoryAttribute, Value(kAudioCategoryAlarm)}};
    controller->avController = player;
    controller->avControllerSound = sound;
    celestial::play(player);
    sel::_soundDidStartPlaying_(controller, sound);
}

void stopAlarmSound() {
    Ref<Object> controller = shared("SBSoundController");
    auto* c = as<SBSoundController>(controller.get());
    if (c && c->avController && c->avController->playing) sel::stopAllSounds(controller);
}

void stepRingtoneVolume(int steps) {
    float volume = celestial::categoryVolume(kAudioCategoryRingtone) + kVolumeStep * static_cast<float>(steps);
    sel::setVolumeTo_forCategory_(sel::sharedAVSystemController(objc_getClass("AVSystemController")), volume,
                                  Value(kAudioCategoryRingtone));
}

void registerSound() {
    ClassBuilder<SBSoundController>("SBSoundController", "NSObject")
        .classMethod(sel::sharedInstance, &sharedInstanceOf)
        .ivar<&SBSoundController::avController>("_avController")
        .ivar<&SBSoundController::avControllerSound>("_avControllerSound")
        .method(sel::_soundDidStartPlaying_,
                [](id, id sound) {
                    Value category = sel::controllerAttributes(sound)[kCategoryAttribute];
                    callLog::record("SBSoundController", "_soundDidStartPlaying:", category.description());
                    if (sel::shouldVibrateForCurrentRingerStateWithAudioCategory_(objc_getClass("SBSoundPreferences"), category))
                        AudioServicesPlaySystemSound(kSystemSoundID_Vibrate);
                })
        .method(sel::stopAllSounds, [](id self) {
            callLog::record("SBSoundController", "stopAllSounds");
            auto* c = as<SBSoundController>(self);
            celestial::stop(c->avController);
        });

    ClassBuilder<SBUISound>("SBUISound", "NSObject").getter<&SBUISound::attributes>(sel::controllerAttributes);

    // Vibrates by the Sounds settings: "Vibrate on Silent" while the ringer is
    // off, else "Vibrate on Ring".
    ClassBuilder<NSObject>("SBSoundPreferences", "NSObject")
        .classMethod(sel::shouldVibrateForCurrentRingerStateWithAudioCategory_, [](id, Value category) {
            callLog::record("SBSoundPreferences", "shouldVibrateForCurrentRingerStateWithAudioCategory:", category.description());
            return device::isRingerMuted() ? device::vibrateOnSilent() : device::vibrateOnRing();
        });

    ClassBuilder<NSObject>("SBHUDController", "NSObject")
        .classMethod(sel::sharedInstance, &sharedInstanceOf)
        .method(sel::_createUI, [](id) { callLog::record("SBHUDController", "_createUI"); });

    ClassBuilder<NSObject>("SBMediaController", "NSObject")
        .classMethod(sel::sharedInstance, &sharedInstanceOf)
        .method(sel::isRingerMuted, [](id) { return device::isRingerMuted(); })
        .method(sel::increaseVolume,
                [](id) {
                    callLog::record("SBMediaController", "increaseVolume");
                    stepRingtoneVolume(1);
                })
        .method(sel::decreaseVolume, [](id) {
            callLog::record("SBMediaController", "decreaseVolume");
            stepRingtoneVolume(-1);
        });

    ClassBuilder<NSObject>("SBAssistantController", "NSObject").classMethod(sel::isAssistantViewVisible_, [](id, bool) {
        return device::isAssistantVisible();
    });
}

}  // namespace springboard::detail
}  // namespace platform

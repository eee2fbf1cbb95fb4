#include "platform/springboard/device.h"

#include "platform/foundation/run_loop.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/iokit_hid.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"
#include "platform/springboard/springboard.h"

namespace platform::device {

namespace {

struct State {
    bool locked = false;
    bool screenOn = true;
    bool ringerMuted = false;
    bool assistantVisible = false;
    bool vibrateOnRing = true;
    bool vibrateOnSilent = true;
    bool mediaControls = false;
    bool bulletins = false;
};

State& state() {
    static auto* s = new State();
    return *s;
}

// The power button's usage on the consumer page.
constexpr std::uint32_t kHIDUsage_Csmr_Power = 0x30;

Ref<Object> lockEvent(bool down) {
    return IOHIDEventCreateKeyboardEvent(kCFAllocatorDefault, mach_absolute_time(), kHIDPage_Consumer, kHIDUsage_Csmr_Power, down, 0);
}

}  // namespace

bool isLocked() { return state().locked; }
void setLocked(bool locked) {
    state().locked = locked;
    springboard::detail::updateLockScreenWindow();
}
bool isScreenOn() { return state().screenOn; }
void setScreenOn(bool on) { state().screenOn = on; }
bool isRingerMuted() { return state().ringerMuted; }
void setRingerMuted(bool muted) { state().ringerMuted = muted; }
bool isAssistantVisible() { return state().assistantVisible; }
void setAssistantVisible(bool visible) { state().assistantVisible = visible; }
void setVibrateOnRing(bool vibrate) { state().vibrateOnRing = vibrate; }
void setVibrateOnSilent(bool vibrate) { state().vibrateOnSilent = vibrate; }
bool vibrateOnRing() { return state().vibrateOnRing; }
bool vibrateOnSilent() { return state().vibrateOnSilent; }
void setShowingMediaControls(bool showing) { state().mediaControls = showing; }
bool isShowingMediaControls() { return state().mediaControls; }
void setShowingBulletins(bool showing) { state().bulletins = showing; }
bool isShowingBulletins() { return state().bulletins; }
float categoryVolume(std::string_view category) { return celestial::categoryVolume(category); }
void setCategoryVolume(std::string_view category, float volume) { celestial::setCategoryVolume(category, volume); }
void setVolumeReadFails(bool fails) { celestial::setVolumeReadFails(fails); }

void lockButtonDown() {
    Ref<Object> app = springboard::application();
    if (springboard::detail::isiOS7()) sel::_lockButtonDownFromSource_(app, kSourceLockButton);
    else sel::_lockButtonDown_fromSource_(app, lockEvent(true), kSourceLockButton);
}

void lockButtonUp() {
    Ref<Object> app = springboard::application();
    if (springboard::detail::isiOS7()) sel::_lockButtonUpFromSource_(app, kSourceLockButton);
    else sel::_lockButtonUp_fromSource_(app, lockEvent(false), kSourceLockButton);
}

void pressLockButton() {
    lockButtonDown();
    lockButtonUp();
}

void pressHomeButton() {
    Ref<Object> app = springboard::application();
    Ref<Object> down = IOHIDEventCreateKeyboardEvent(kCFAllocatorDefault, mach_absolute_time(), kHIDPage_Consumer, kHIDUsage_Csmr_Menu, true, 0);
    sel::_menuButtonDown_(app, down);
    Ref<Object> up = IOHIDEventCreateKeyboardEvent(kCFAllocatorDefault, mach_absolute_time(), kHIDPage_Consumer, kHIDUsage_Csmr_Menu, false, 0);
    sel::_menuButtonUp_(app, up);
}

void pressVolumeUp() {
    if (isLocked() && sel::handleVolumeUpButtonPressed(springboard::detail::lockScreenViewController())) return;
    sel::increaseVolume(springboard::detail::shared("SBMediaController"));
}

void pressVolumeDown() {
    if (isLocked() && sel::handleVolumeDownButtonPressed(springboard::detail::lockScreenViewController())) return;
    sel::decreaseVolume(springboard::detail::shared("SBMediaController"));
}

void touchID() {
    if (!isLocked()) return;
    sel::biometricEventMonitorDidAuthenticate_(springboard::detail::lockScreenViewController(),
                                               springboard::detail::shared("SBUIBiometricEventMonitor"));
}

void unlock() {
    sel::unlockUIFromSource_withOptions_(springboard::detail::shared("SBLockScreenManager"), kSourceSlideToUnlock, Value());
}

}  // namespace platform::device

// The device around SpringBoard: plain state that tests and the scenario
// runner set and read (set* changes the state only, as if it had always been
// so: no stock method runs; only the lock screen's window follows setLocked),
// and drivers that act like a user, through SpringBoard's own methods. The
// stock methods change the state as a phone would: unlocking clears the lock,
// the backlight follows lock and wake. Main thread only.
#pragma once

#include <string_view>

namespace platform::device {

// Sources handed to the lock, unlock and backlight methods.
inline constexpr int kSourceLockButton = 0;
inline constexpr int kSourceHomeButton = 1;
inline constexpr int kSourceAlarm = 2;
inline constexpr int kSourceSlideToUnlock = 3;
inline constexpr int kSourceTouchID = 4;

// --- state ----------------------------------------------------------------------------
// Locked (SBLockScreenManager isUILocked); the lock screen's window shows while locked.
bool isLocked();
void setLocked(bool locked);
// The backlight (SBBacklightController screenIsOn).
bool isScreenOn();
void setScreenOn(bool on);
// The ringer switch (SBMediaController isRingerMuted).
bool isRingerMuted();
void setRingerMuted(bool muted);
// Siri's view (SBAssistantController isAssistantViewVisible:).
bool isAssistantVisible();
void setAssistantVisible(bool visible);
// The Sounds settings "Vibrate on Ring" and "Vibrate on Silent" (both on at
// first), which SBSoundPreferences answers from.
void setVibrateOnRing(bool vibrate);
void setVibrateOnSilent(bool vibrate);
bool vibrateOnRing();
bool vibrateOnSilent();
// What the lock screen shows besides the time (isShowingMediaControls,
// lockScreenIsShowingBulletins).
void setShowingMediaControls(bool showing);
bool isShowingMediaControls();
void setShowingBulletins(bool showing);
bool isShowingBulletins();
// Category volumes of AVSystemController (Celestial), "Ringtone" among them.
float categoryVolume(std::string_view category);
void setCategoryVolume(std::string_view category, float volume);
// Makes AVSystemController's getVolume:forCategory: fail.
void setVolumeReadFails(bool fails);

// --- drivers -------------------------------------------------------------------------------
// The sleep (lock) button: down, up, or both.
void lockButtonDown();
void lockButtonUp();
void pressLockButton();
// The Home button: two keyboard events to SpringBoard's _menuButtonDown: and _menuButtonUp:.
void pressHomeButton();
// The volume buttons: the lock screen takes them while locked, else SBMediaController.
void pressVolumeUp();
void pressVolumeDown();
// A recognised finger on the Home button while locked.
void touchID();
// Slide to unlock.
void unlock();
// The Control Centre's timer button: its shortcut's activateAppWithDisplayID:url:
// with the Clock app and "clock-timer:default".
void pressControlCenterTimer();

}  // namespace platform::device

// What the sources of platform/springboard share among themselves; not for
// the system's code. Main thread only, except where a function says otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/runtime.h"
#include "platform/uikit/label.h"
#include "platform/uikit/local_notification.h"

namespace platform::springboard::detail {

enum class Version { iOS7, iOS8, iOS9 };
// From the process's CoreFoundation version: below iOS 8's range iOS 7,
// below iOS 9's iOS 8, else iOS 9.
Version version();
inline bool isiOS7() { return version() == Version::iOS7; }
inline bool isiOS8() { return version() == Version::iOS8; }
inline bool isiOS9() { return version() == Version::iOS9; }

// SpringBoard's snooze: nine minutes.
inline constexpr double kSnoozeSeconds = 540;
inline constexpr const char* kClockBundleIdentifier = "com.apple.mobiletimer";
// Alert items show in windows of this level (under the alarm screens' 3000).
inline constexpr double kAlertItemWindowLevel = 1996;
// The lock screen's window.
inline constexpr double kLockScreenWindowLevel = 1050;

// The alarm that rang last, remembered until another one rings.
struct Ringing {
    Ref<UILocalNotification> notification;  // the fired copy
    Ref<Object> bulletin;                   // iOS 8 and later: its BBBulletin
    Ref<Object> alertItem;                  // the alert item that showed it (active or not)
    bool upAtLockDown = false;              // its alert or bulletin was up when the lock button went down
};
Ringing& ringing();
// Whether the remembered alarm's alert item or full-screen bulletin is up.
bool ringingIsUp();

// The shared instances, through the method table (null when the class is missing).
Ref<Object> shared(std::string_view className);
// The implementation of the sharedInstance class methods: one instance per
// class, made with init on first use.
Ref<Object> sharedInstanceOf(id cls);
Ref<Object> lockScreenViewController();
bool isLocked();  // SBLockScreenManager isUILocked
bool screenIsOn();  // SBBacklightController screenIsOn
// Turns the screen on (SBBacklightController) when it is off.
void wakeScreen(int source);

// A centred label with `text` and `tag` (null when UILabel is missing).
Ref<UILabel> makeCenteredLabel(Rect frame, const Value& text, long long tag);

// "ALARM-1" (the alarm id of a notification) for call logs.
std::string describe(id notification);
// A copy that fires once, `seconds` from now.
Ref<UILocalNotification> snoozeCopy(id notification, double seconds);

// --- the Clock app's schedule (applications.cpp) --------------------------------
struct Entry {
    Ref<UILocalNotification> notification;
    bool snooze = false;
    std::optional<Date> firedAt;  // a repeating one's last firing
};
std::vector<Entry>& schedule();
// The snooze copy on its way through scheduleLocalNotifications:replaceExistingNotifications:.
Object*& pendingSnooze();
// Arms a run-loop task for each entry (again), at its next fire date, and
// keeps the schedule on the device.
void armSchedule();
// The schedule kept before this start, armed.
void loadSchedule();
// SBClockDataProvider publishes the Clock app's notifications again.
void publishClockNotifications();
Ref<Object> clockApplication();
Ref<Object> notificationClient();

// --- sound (sound.cpp) -------------------------------------------------------------
void startAlarmSound(UILocalNotification* notification);
void stopAlarmSound();
// The "Ringtone" volume by `steps` of 1/16, through AVSystemController.
void stepRingtoneVolume(int steps);

// --- alert items (alert_items.cpp) ---------------------------------------------------
// A new, inactive alert of the class for the notification and bulletin.
Ref<Object> makeSystemLocalNotificationAlert(id application, UILocalNotification* notification);
Ref<Object> makeBulletinModalAlert(id bulletin);
bool alertItemIsActive(id item);
// The notification and whether it may snooze, of a BBBulletin.
UILocalNotification* bulletinNotification(id bulletin);
bool bulletinAllowsSnooze(id bulletin);

// --- lock screen (lock_screen.cpp) ------------------------------------------------------
// Shows or hides the lock screen's window by the lock state.
void updateLockScreenWindow();
// The earliest snooze of the schedule shown on the lock screen (nil: none).
void showSnoozedAlarm(const Value& fireDate);
// Takes the full-screen bulletin off the lock screen without dismissing it;
// returns its bulletin (null when none was up).
Ref<Object> takeFullscreenBulletinOff();
bool fullscreenBulletinIsUp();
// The iOS 7 lock screen's notification list (SBLockScreenNotificationListController).
Ref<Object> lockScreenList();

// --- registration -------------------------------------------------------------------------
void registerApplications();
void registerAlertItems();
void registerLockScreen();
void registerBulletins();
void registerSound();
void registerControlCenter();
// The Control Centre's timer shortcut (made on first use).
Ref<Object> timerShortcut();

}  // namespace platform::springboard::detail

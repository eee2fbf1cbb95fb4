#include "tweak/engine/buttons.h"

#include <set>

#include "platform/foundation/calendar.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/iokit_hid.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"

namespace rousa {

namespace {

void reload() { RousaLoadPrefs(false); }

bool currentRecordEnabled() { return currentAlarm && currentAlarm->enabled(); }

bool isSnooze(id notification) { return sel::userInfo(notification)["isSnooze"].boolValue(); }

// The fired notification that SpringBoard is about to snooze carries the mark.
void markSnooze(id notification) {
    if (!currentRecordEnabled() || !isAlarmNotification(notification)) return;
    Value info = sel::userInfo(notification);
    info.mutableDictionary()["isSnooze"] = Value(true);
    sel::setUserInfo_(notification, info);
}

// Snooze copies already moved, by alarm and moved fire date: SpringBoard hands
// its whole list on again later, and a copy must move only once.
std::set<std::pair<std::string, double>>& movedSnoozes() {
    static auto* moved = new std::set<std::pair<std::string, double>>();
    return *moved;
}

// SpringBoard's nine minutes become the record's snooze time.
void moveSnooze(id notification) {
    Value alarmId = alarmIdOf(notification);
    Value fireDate = sel::fireDate(notification);
    if (!alarmId.isString() || fireDate.kind() != Value::Kind::Date) return;
    auto& moved = movedSnoozes();
    if (moved.count({alarmId.string(), fireDate.date().sinceReferenceDate})) return;
    Ref<KAlarm> record = RousaGetAlarm(alarmId);
    long long seconds = record ? record->snoozeTimeInSeconds() : 0;
    if (seconds < 1) return;
    auto* calendar = as<NSCalendar>(sel::repeatCalendar(notification).get());
    if (!calendar) return;
    auto change = NSDateComponents::make();
    change->minute = -9;
    change->second = seconds;
    std::optional<Date> when = calendar->dateByAddingComponents(*change, fireDate.date(), 0);
    if (!when) return;
    sel::setFireDate_(notification, Value(*when));
    moved.insert({alarmId.string(), when->sinceReferenceDate});
}

// Sleep action 2: the lock button stopped this ringing, so its alarm's snooze goes.
bool dropsSnoozeOf(id notification) {
    return sleepaction == RS2SleepActionStop && lockButtonPressed && currentAlarm && isSnooze(notification) &&
           alarmIdOf(notification) == currentAlarm->alarmId();
}

bool ringingWithScreenOnlyLock() { return isAlarmRinging() && sleepaction == RS2SleepActionScreenOnly; }

Ref<Object> backlight() { return sel::sharedInstance(objc_getClass("SBBacklightController")); }

// The lock button only turns the screen off, or on through a Home-button press.
void toggleScreen(id springBoard) {
    if (!sel::screenIsOff(backlight())) {
        sel::setBacklightFactor_source_(backlight(), 0.0f, 0);
        return;
    }
    for (bool down : {true, false}) {
        Ref<Object> event = IOHIDEventCreateKeyboardEvent(kCFAllocatorDefault, mach_absolute_time(), 0x0C, 0x40, true, 0);
        if (down) sel::_menuButtonDown_(springBoard, event);
        else sel::_menuButtonUp_(springBoard, event);
    }
}

// The lock button's release under sleep action 3: the screen toggles instead.
bool lockButtonUpTakenForScreen(id springBoard) {
    if (!ringingWithScreenOnlyLock()) return false;
    lockButtonPressed = true;
    if (!deviceLocked()) return false;
    toggleScreen(springBoard);
    return true;
}

// The volume buttons hide the window over the lock screen.
bool volumeButton(id self, bool (*previous)(id), bool hideForQuestionToo) {
    reload();
    if (isAlarmRinging() && (showalertlockscreen || (hideForQuestionToo && recordAsksQuestion()))) hideAlertWindow();
    return callPrevious(previous, self);
}

void biometricAuthentication(id self, id monitor, void (*previous)(id, id)) {
    reload();
    if (isAlarmRinging()) {
        if (disabletouchid || recordAsksQuestion()) return;
        if (showalertlockscreen) hideAlertWindow();
    }
    callPrevious(previous, self, monitor);
}

}  // namespace

// --- snooze length ---------------------------------------------------------------------------

void (*original_SBApplication_systemLocalNotificationAlertShouldSnooze_)(id, id) = nullptr;
void replaced_SBApplication_systemLocalNotificationAlertShouldSnooze_(id self, id alert) {
    markSnooze(sel::localNotification(alert));
    callPrevious(original_SBApplication_systemLocalNotificationAlertShouldSnooze_, self, alert);
}

void (*original_SBApplication_snoozeNotificationForLocalNotification_)(id, id) = nullptr;
void replaced_SBApplication_snoozeNotificationForLocalNotification_(id self, id notification) {
    markSnooze(notification);
    callPrevious(original_SBApplication_snoozeNotificationForLocalNotification_, self, notification);
}

void (*original_SBApplication_scheduleLocalNotifications_replaceExistingNotifications_)(id, Value, bool) = nullptr;
void replaced_SBApplication_scheduleLocalNotifications_replaceExistingNotifications_(id self, Value notifications, bool replace) {
    reload();
    if (currentRecordEnabled()) {
        Value kept = Value(Value::Array{});
        bool dropped = false;
        for (const Value& item : notifications.array()) {
            id n = item.object();
            if (isAlarmNotification(n)) {
                if (dropsSnoozeOf(n)) {
                    dropped = true;
                    continue;
                }
                if (isSnooze(n)) moveSnooze(n);
            }
            kept.mutableArray().push_back(item);
        }
        if (dropped) {
            lockButtonPressed = false;
            notifications = kept;
        }
    }
    callPrevious(original_SBApplication_scheduleLocalNotifications_replaceExistingNotifications_, self, notifications, replace);
}

void (*original_UNLocalNotificationClient_scheduleSnoozeNotification_)(id, id) = nullptr;
void replaced_UNLocalNotificationClient_scheduleSnoozeNotification_(id self, id notification) {
    reload();
    if (currentRecordEnabled()) {
        if (dropsSnoozeOf(notification)) {
            lockButtonPressed = false;
            return;
        }
        moveSnooze(notification);
    }
    callPrevious(original_UNLocalNotificationClient_scheduleSnoozeNotification_, self, notification);
}

// --- the sleep button ------------------------------------------------------------------------------

bool (*original_SBLockScreenViewController_handleLockButtonPressed_iOS7)(id) = nullptr;
bool replaced_SBLockScreenViewController_handleLockButtonPressed_iOS7(id self) {
    reload();
    if (isAlarmRinging()) {
        if (sleepaction == RS2SleepActionStop || sleepaction == RS2SleepActionScreenOnly) lockButtonPressed = true;
        if (showalertlockscreen || recordAsksQuestion()) hideAlertWindow();
    }
    return callPrevious(original_SBLockScreenViewController_handleLockButtonPressed_iOS7, self);
}

bool (*original_SBLockScreenViewController_handleLockButtonPressed_iOS8up)(id) = nullptr;
bool replaced_SBLockScreenViewController_handleLockButtonPressed_iOS8up(id self) {
    reload();
    if (isAlarmRinging()) {
        if (sleepaction == RS2SleepActionStop) {
            lockButtonPressed = true;
            sel::_dismissFullscreenBulletinAlertAnimated_(self, true);
            if (showalertlockscreen) hideAlertWindow();
        } else if (sleepaction == RS2SleepActionSystemHide) {
            if (showalertlockscreen) hideAlertWindow();
        }
    }
    return callPrevious(original_SBLockScreenViewController_handleLockButtonPressed_iOS8up, self);
}

void (*original_SpringBoard__lockButtonDownFromSource_)(id, int) = nullptr;
void replaced_SpringBoard__lockButtonDownFromSource_(id self, int source) {
    if (ringingWithScreenOnlyLock() && deviceLocked()) return;
    callPrevious(original_SpringBoard__lockButtonDownFromSource_, self, source);
}

void (*original_SpringBoard__lockButtonUpFromSource_)(id, int) = nullptr;
void replaced_SpringBoard__lockButtonUpFromSource_(id self, int source) {
    if (lockButtonUpTakenForScreen(self)) return;
    callPrevious(original_SpringBoard__lockButtonUpFromSource_, self, source);
}

void (*original_SpringBoard__lockButtonDown_fromSource_)(id, id, int) = nullptr;
void replaced_SpringBoard__lockButtonDown_fromSource_(id self, id event, int source) {
    reload();
    if (ringingWithScreenOnlyLock() && deviceLocked()) return;
    callPrevious(original_SpringBoard__lockButtonDown_fromSource_, self, event, source);
}

void (*original_SpringBoard__lockButtonUp_fromSource_)(id, id, int) = nullptr;
void replaced_SpringBoard__lockButtonUp_fromSource_(id self, id event, int source) {
    reload();
    if (lockButtonUpTakenForScreen(self)) return;
    callPrevious(original_SpringBoard__lockButtonUp_fromSource_, self, event, source);
}

void (*original_SBLockScreenManager_lockUIFromSource_withOptions_)(id, int, Value) = nullptr;
void replaced_SBLockScreenManager_lockUIFromSource_withOptions_(id self, int source, Value options) {
    reload();
    if (ringingWithScreenOnlyLock() && lockButtonPressed) return;
    callPrevious(original_SBLockScreenManager_lockUIFromSource_withOptions_, self, source, options);
}

void (*original_SBLockScreenNotificationListController_observer_addBulletin_forFeed_)(id, id, id, unsigned long long) = nullptr;
void replaced_SBLockScreenNotificationListController_observer_addBulletin_forFeed_(id self, id observer, id bulletin,
                                                                                 unsigned long long feed) {
    bool lockButtonHandlesAlarms = sleepaction == RS2SleepActionStop || sleepaction == RS2SleepActionScreenOnly;
    if (lockButtonHandlesAlarms && sel::sectionID(bulletin).string() == kClockBundleIdentifier) return;
    callPrevious(original_SBLockScreenNotificationListController_observer_addBulletin_forFeed_, self, observer, bulletin, feed);
}

// --- the volume buttons -----------------------------------------------------------------------------

bool (*original_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS7)(id) = nullptr;
bool replaced_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS7(id self) {
    return volumeButton(self, original_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS7, true);
}
bool (*original_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS7)(id) = nullptr;
bool replaced_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS7(id self) {
    return volumeButton(self, original_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS7, true);
}
bool (*original_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS8up)(id) = nullptr;
bool replaced_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS8up(id self) {
    return volumeButton(self, original_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS8up, false);
}
bool (*original_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS8up)(id) = nullptr;
bool replaced_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS8up(id self) {
    return volumeButton(self, original_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS8up, false);
}

// --- Touch ID ---------------------------------------------------------------------------------------------

void (*original_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS7)(id, id) = nullptr;
void replaced_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS7(id self, id monitor) {
    biometricAuthentication(self, monitor, original_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS7);
}
void (*original_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS8up)(id, id) = nullptr;
void replaced_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS8up(id self, id monitor) {
    biometricAuthentication(self, monitor, original_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS8up);
}

bool (*original_SBLockScreenManager_biometricEventMonitorShouldRelockAfterBioUnlock_)(id, id) = nullptr;
bool replaced_SBLockScreenManager_biometricEventMonitorShouldRelockAfterBioUnlock_(id self, id monitor) {
    reload();
    if (alarmRinging && (disabletouchid || recordAsksQuestion())) return true;
    return callPrevious(original_SBLockScreenManager_biometricEventMonitorShouldRelockAfterBioUnlock_, self, monitor);
}

}  // namespace rousa

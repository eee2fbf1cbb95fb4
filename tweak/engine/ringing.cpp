#include "tweak/engine/ringing.h"

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "tweak/engine/delay.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"
#include "tweak/engine/volume.h"
#include "tweak/screens/alert_window.h"

namespace rousa {

namespace {

Class* lockScreenManagerClass() {
    static Class* cls = objc_getClass("SBLockScreenManager");
    return cls;
}
Class* alarmManagerClass() {
    static Class* cls = objc_getClass("AlarmManager");
    return cls;
}

void reload() { RousaLoadPrefs(false); }

// The Clock app's alarm of that id, fresh from its store.
Ref<Object> stockAlarm(const Value& alarmId) {
    Ref<Object> manager = sel::sharedManager(alarmManagerClass());
    sel::loadAlarms(manager);
    return sel::alarmWithId_(manager, alarmId);
}

void present(id alarm, id iOS7Alert, bool buttonsOnly) {
    RS2AlertWindow* w = presentAlertWindow(alarm, iOS7Alert, buttonsOnly);
    if (w) alertWindow = Ref<Object>(w);
}

// The tweak's part of an alarm's firing; on the main thread.
void alarmFired(id notification) {
    reload();
    if (!isAlarmNotification(notification)) return;
    Value alarmId = alarmIdOf(notification);
    RousaAddAlarmIfMissing(alarmId);
    // An alarm the tweak leaves alone, firing while another rings, must not take
    // that ringing's record: its end would then never be seen.
    if (alarmRinging) {
        Ref<KAlarm> record = RousaGetAlarm(alarmId);
        if (!record || !record->enabled()) return;
    }
    currentAlarm = KAlarmCurrent::sharedInstance(alarmId);
    lockButtonPressed = false;
    if (!currentAlarm || !currentAlarm->enabled()) return;
    // A new ringing: nothing of an earlier one carries over.
    ++ringingCount;
    ringtoneVolumeSaved = false;
    alarmAlertItem = nullptr;
    pendingStockAlarm = nullptr;
    if (sel::isAssistantViewVisible_(objc_getClass("SBAssistantController"), true))
        sel::setRunningInAssistantPlugin_(sel::sharedManager(objc_getClass("ClockManager")), true);
    if (showalertlockscreen && !currentAlarm->calcEnabled() && deviceLocked()) {
        pendingStockAlarm = stockAlarm(alarmId);
        present(pendingStockAlarm, nullptr, true);
    }
    alarmRinging = true;
    suppressVolumeHUD = true;
}

void onMainThread(const std::function<void()>& work) {
    if (NSThread::isMainThread()) work();
    else dispatch_sync(dispatch_get_main_queue(), work);
}

// The question window, once, for the alarm that _isAlarmNotification: left waiting.
void presentPendingQuestion() {
    if (!pendingStockAlarm || !isAlarmRinging() || !recordAsksQuestion()) return;
    Ref<Object> alarm = pendingStockAlarm;
    pendingStockAlarm = nullptr;
    present(alarm, nullptr, false);
}

bool isAlarmBulletin(id bulletin) { return sel::sectionID(bulletin).string() == kClockBundleIdentifier; }

// Delayed work that belongs to the ringing that scheduled it: it runs at most
// once, and only while that ringing goes on.
void afterThisRinging(double seconds, std::function<void()> action) {
    unsigned long long ringing = ringingCount;
    dispatch_after(delayFromNow(seconds), dispatch_get_main_queue(), [ringing, action = std::move(action)] {
        if (!alarmRinging || ringingCount != ringing) return;
        // Like the window's own buttons, the automatic action is never
        // blocked by a lock press that only woke the screen.
        lockButtonPressed = false;
        action();
    });
}

bool schedulesAutomaticAction() { return isAlarmRinging() && currentAlarm->shouldAutoDismiss(); }

void endOfRinging() {
    alarmRinging = false;
    pendingStockAlarm = nullptr;
    alarmAlertItem = nullptr;
    if (!ringtoneVolumeSaved && !ringtoneRestorePending) {
        suppressVolumeHUD = false;
        return;
    }
    suppressVolumeHUD = true;
    // The restore belongs to this ringing: once another has begun, the volume
    // is that ringing's, and its own end restores the user's.
    unsigned long long ringing = ringingCount;
    ringtoneRestorePending = true;
    dispatch_after(delayFromNow(1.0), dispatch_get_main_queue(), [ringing] {
        if (ringingCount != ringing) return;
        ringtoneRestorePending = false;
        restoreRingtoneVolume();
    });
}

// The ringing ends with its alarm's own alert, whatever record a later firing
// left current.
void endIfAlarmsItem(id item) {
    if (alarmRinging && item && item == alarmAlertItem.get()) endOfRinging();
}

}  // namespace

// --- shared -------------------------------------------------------------------------------------

bool deviceLocked() { return sel::isUILocked(sel::sharedInstance(lockScreenManagerClass())); }

bool recordAsksQuestion() { return currentAlarm && currentAlarm->calcEnabled(); }

void hideAlertWindow() { sel::hideSelf(alertWindow); }

bool isAlarmNotification(id notification) { return sel::isAlarmNotification_(alarmManagerClass(), notification); }

Value alarmIdOf(id notification) { return sel::userInfo(notification)["alarmId"]; }

// --- firing ------------------------------------------------------------------------------------------

void (*original_SBApplication__fireNotification_)(id, id) = nullptr;
void replaced_SBApplication__fireNotification_(id self, id notification) {
    alarmFired(notification);
    callPrevious(original_SBApplication__fireNotification_, self, notification);
}

void (*original_UNLocalNotificationClient__fireNotification_)(id, id) = nullptr;
void replaced_UNLocalNotificationClient__fireNotification_(id self, id notification) {
    // The tweak's state, the reload and the record's write belong to the main
    // thread; SpringBoard's own work runs where SpringBoard called it.
    Ref<Object> keep(notification);
    onMainThread([&] { alarmFired(keep); });
    callPrevious(original_UNLocalNotificationClient__fireNotification_, self, notification);
}

// --- added methods ---------------------------------------------------------------------------------------

Ref<Object> Alarm_notification(id self) { return Ref<Object>(object_getIvar(self, "_notification").object()); }

bool SBBacklightController_screenIsOff(id self) { return !sel::screenIsOn(self); }

bool SBClockDataProvider_allowForAlarm_(id, id notification) { return !alarmIdOf(notification).isNil(); }

bool SBSystemLocalNotificationAlert_isAlarm(id self) {
    Value alarmId = alarmIdOf(sel::localNotification(self));
    if (alarmId.isNil()) return false;
    NSLog("*** [RS2ALarm] :: Alarm ID is %@", alarmId);
    return true;
}

// --- pass-throughs ------------------------------------------------------------------------------------------

Ref<Object> (*original_SBSystemLocalNotificationAlert_alertSheetClass)(id) = nullptr;
Ref<Object> replaced_SBSystemLocalNotificationAlert_alertSheetClass(id self) {
    return callPrevious(original_SBSystemLocalNotificationAlert_alertSheetClass, self);
}

Ref<Object> (*original_BBServer_init)(id) = nullptr;
Ref<Object> replaced_BBServer_init(id self) { return callPrevious(original_BBServer_init, self); }

void (*original_SBLockScreenManager_unlockUIFromSource_withOptions_)(id, int, Value) = nullptr;
void replaced_SBLockScreenManager_unlockUIFromSource_withOptions_(id self, int source, Value options) {
    callPrevious(original_SBLockScreenManager_unlockUIFromSource_withOptions_, self, source, options);
}

// --- the question window ---------------------------------------------------------------------------------------

bool (*original_SBClockDataProvider__isAlarmNotification_)(id, id) = nullptr;
bool replaced_SBClockDataProvider__isAlarmNotification_(id self, id notification) {
    bool answer = callPrevious(original_SBClockDataProvider__isAlarmNotification_, self, notification);
    if (answer && sel::allowForAlarm_(self, notification) && isAlarmRinging() && recordAsksQuestion())
        pendingStockAlarm = stockAlarm(alarmIdOf(notification));
    return answer;
}

void (*original_SBAlertItem_willActivate)(id) = nullptr;
void replaced_SBAlertItem_willActivate(id self) {
    presentPendingQuestion();
    callPrevious(original_SBAlertItem_willActivate, self);
}

Ref<Object> (*original_SBLockScreenFullscreenBulletinViewController_initWithNibName_bundle_)(id, Value, id) = nullptr;
Ref<Object> replaced_SBLockScreenFullscreenBulletinViewController_initWithNibName_bundle_(id self, Value nib, id bundle) {
    presentPendingQuestion();
    return callPrevious(original_SBLockScreenFullscreenBulletinViewController_initWithNibName_bundle_, self, nib, bundle);
}

void (*original_SBSystemLocalNotificationAlert_willActivate)(id) = nullptr;
void replaced_SBSystemLocalNotificationAlert_willActivate(id self) {
    if (sel::bundleIdentifier(sel::application(self)).string() == kClockBundleIdentifier && sel::isAlarm(self) && isAlarmRinging() &&
        recordAsksQuestion())
        present(nullptr, self, false);
    callPrevious(original_SBSystemLocalNotificationAlert_willActivate, self);
}

void (*original_SBSystemLocalNotificationAlert_dismiss_)(id, int) = nullptr;
void replaced_SBSystemLocalNotificationAlert_dismiss_(id self, int flag) {
    NSLog("[RS2ALarm] :: Dismissing alarm with flag %d", flag);
    // While the question is asked, only the window's own buttons end the alarm.
    if (isAlarmRinging() && recordAsksQuestion() && sel::isAlarm(self)) return;
    callPrevious(original_SBSystemLocalNotificationAlert_dismiss_, self, flag);
}

// --- the alarm's alert item and the automatic stop or snooze ---------------------------------------------------

void (*original_SBAlertItemsController_activateAlertItem__iOS7)(id, id) = nullptr;
void replaced_SBAlertItemsController_activateAlertItem__iOS7(id self, id item) {
    reload();
    // The ringing's alarm alert is the first one of the ringing: another alarm's
    // alert coming up meanwhile neither takes its end nor its automatic action.
    if (isAlarmRinging() && !alarmAlertItem && isKindOfClass(item, "SBSystemLocalNotificationAlert") && sel::isAlarm(item)) {
        alarmAlertItem = Ref<Object>(item);
        if (schedulesAutomaticAction()) {
            Ref<Object> controller(self), alert(item);
            long long action = currentAlarm->dismissAction();
            afterThisRinging(static_cast<double>(currentAlarm->dismissIntervalInSeconds()), [controller, alert, action] {
                bool hide = showalertlockscreen || recordAsksQuestion();
                if (action == KAlarmDismissActionStop) {
                    sel::deactivateAlertItem_(controller, alert);
                    if (hide) hideAlertWindow();
                } else if (action == KAlarmDismissActionSnooze) {
                    sel::deactivateAlertItem_(controller, alert);
                    sel::alertView_clickedButtonAtIndex_(alert, alert, 0);
                    if (hide && deviceLocked()) hideAlertWindow();
                }
            });
        }
    }
    callPrevious(original_SBAlertItemsController_activateAlertItem__iOS7, self, item);
}

void (*original_SBAlertItemsController_activateAlertItem__iOS8up)(id, id) = nullptr;
void replaced_SBAlertItemsController_activateAlertItem__iOS8up(id self, id item) {
    if (isAlarmRinging() && !alarmAlertItem && isKindOfClass(item, "SBBulletinModalAlert") && isAlarmBulletin(sel::bulletin(item))) {
        alarmAlertItem = Ref<Object>(item);
        if (schedulesAutomaticAction()) {
            Ref<Object> controller(self), alert(item);
            long long action = currentAlarm->dismissAction();
            afterThisRinging(static_cast<double>(currentAlarm->dismissIntervalInSeconds()), [controller, alert, action] {
                if (action != KAlarmDismissActionStop && action != KAlarmDismissActionSnooze) return;
                sel::deactivateAlertItem_(controller, alert);
                if (action == KAlarmDismissActionSnooze) sel::alertView_clickedButtonAtIndex_(alert, alert, 0);
            });
        }
    }
    callPrevious(original_SBAlertItemsController_activateAlertItem__iOS8up, self, item);
}

void (*original_SBLockScreenViewController_presentFullscreenBulletinAlertWithItem_)(id, id) = nullptr;
void replaced_SBLockScreenViewController_presentFullscreenBulletinAlertWithItem_(id self, id item) {
    reload();
    callPrevious(original_SBLockScreenViewController_presentFullscreenBulletinAlertWithItem_, self, item);
    if (!schedulesAutomaticAction()) return;
    Ref<Object> controller(self), bulletin(item);
    long long action = currentAlarm->dismissAction();
    afterThisRinging(static_cast<double>(currentAlarm->dismissIntervalInSeconds()), [controller, bulletin, action] {
        if (action == KAlarmDismissActionStop) {
            if (showalertlockscreen || recordAsksQuestion()) hideAlertWindow();
            sel::_dismissFullscreenBulletinAlertAnimated_(controller, true);
        } else if (action == KAlarmDismissActionSnooze) {
            if (showalertlockscreen) hideAlertWindow();
            if (bulletin) sel::performAlternateAction(object_getIvar(controller, "_fullscreenBulletinController").object());
        }
    });
}

// --- the end of the ringing ------------------------------------------------------------------------------------------

void (*original_SBAlertItemsController_deactivateAlertItem_)(id, id) = nullptr;
void replaced_SBAlertItemsController_deactivateAlertItem_(id self, id item) {
    endIfAlarmsItem(item);
    callPrevious(original_SBAlertItemsController_deactivateAlertItem_, self, item);
}

void (*original_SBAlertItemsController_deactivateAlertItem_reason_)(id, id, int) = nullptr;
void replaced_SBAlertItemsController_deactivateAlertItem_reason_(id self, id item, int reason) {
    endIfAlarmsItem(item);
    callPrevious(original_SBAlertItemsController_deactivateAlertItem_reason_, self, item, reason);
}

void (*original_SBAlertItemsController_deactivateAlertItem_reason_animated_)(id, id, int, bool) = nullptr;
void replaced_SBAlertItemsController_deactivateAlertItem_reason_animated_(id self, id item, int reason, bool animated) {
    endIfAlarmsItem(item);
    callPrevious(original_SBAlertItemsController_deactivateAlertItem_reason_animated_, self, item, reason, animated);
}

void (*original_SBLockScreenViewController_dismissFullscreenBulletinAlertWithItem_)(id, id) = nullptr;
void replaced_SBLockScreenViewController_dismissFullscreenBulletinAlertWithItem_(id self, id item) {
    reload();
    // Under sleep action 3 the lock button only turns the screen on and off.
    if (isAlarmRinging() && lockButtonPressed && sleepaction == RS2SleepActionScreenOnly) return;
    if (alarmRinging && isAlarmBulletin(item)) endOfRinging();
    callPrevious(original_SBLockScreenViewController_dismissFullscreenBulletinAlertWithItem_, self, item);
}

}  // namespace rousa

// A ringing alarm in SpringBoard: the firing hooks that make the alarm's
// record current, the presentation of the alert window (buttons only, or with
// the question over SpringBoard's alert or full-screen bulletin), the alarm's
// own alert item with its automatic stop or snooze, and the end of the
// ringing with the ringtone volume's restore. Main thread only, but for the
// iOS 9 firing, which may arrive on another thread.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<bool(id)> isAlarm{"isAlarm"};
inline constexpr Sel<bool(id, id)> allowForAlarm_{"allowForAlarm:"};
inline constexpr Sel<Ref<Object>(id)> notification{"notification"};
}  // namespace sel

// --- firing ------------------------------------------------------------------------
extern void (*original_SBApplication__fireNotification_)(id, id);
void replaced_SBApplication__fireNotification_(id self, id notification);
extern void (*original_UNLocalNotificationClient__fireNotification_)(id, id);
void replaced_UNLocalNotificationClient__fireNotification_(id self, id notification);

// --- added methods -------------------------------------------------------------------
Ref<Object> Alarm_notification(id self);
bool SBBacklightController_screenIsOff(id self);
bool SBClockDataProvider_allowForAlarm_(id self, id notification);
bool SBSystemLocalNotificationAlert_isAlarm(id self);

// --- pass-throughs -----------------------------------------------------------------------
extern Ref<Object> (*original_SBSystemLocalNotificationAlert_alertSheetClass)(id);
Ref<Object> replaced_SBSystemLocalNotificationAlert_alertSheetClass(id self);
extern Ref<Object> (*original_BBServer_init)(id);
Ref<Object> replaced_BBServer_init(id self);
extern void (*original_SBLockScreenManager_unlockUIFromSource_withOptions_)(id, int, Value);
void replaced_SBLockScreenManager_unlockUIFromSource_withOptions_(id self, int source, Value options);

// --- the question window ------------------------------------------------------------------
extern bool (*original_SBClockDataProvider__isAlarmNotification_)(id, id);
bool replaced_SBClockDataProvider__isAlarmNotification_(id self, id notification);
extern void (*original_SBAlertItem_willActivate)(id);
void replaced_SBAlertItem_willActivate(id self);
extern Ref<Object> (*original_SBLockScreenFullscreenBulletinViewController_initWithNibName_bundle_)(id, Value, id);
Ref<Object> replaced_SBLockScreenFullscreenBulletinViewController_initWithNibName_bundle_(id self, Value nib, id bundle);
extern void (*original_SBSystemLocalNotificationAlert_willActivate)(id);
void replaced_SBSystemLocalNotificationAlert_willActivate(id self);
extern void (*original_SBSystemLocalNotificationAlert_dismiss_)(id, int);
void replaced_SBSystemLocalNotificationAlert_dismiss_(id self, int flag);

// --- the alarm's alert item and the automatic stop or snooze ----------------------------------
extern void (*original_SBAlertItemsController_activateAlertItem__iOS7)(id, id);
void replaced_SBAlertItemsController_activateAlertItem__iOS7(id self, id item);
extern void (*original_SBAlertItemsController_activateAlertItem__iOS8up)(id, id);
void replaced_SBAlertItemsController_activateAlertItem__iOS8up(id self, id item);
extern void (*original_SBLockScreenViewController_presentFullscreenBulletinAlertWithItem_)(id, id);
void replaced_SBLockScreenViewController_presentFullscreenBulletinAlertWithItem_(id self, id item);

// --- the end of the ringing ------------------------------------------------------------------------
extern void (*original_SBAlertItemsController_deactivateAlertItem_)(id, id);
void replaced_SBAlertItemsController_deactivateAlertItem_(id self, id item);
extern void (*original_SBAlertItemsController_deactivateAlertItem_reason_)(id, id, int);
void replaced_SBAlertItemsController_deactivateAlertItem_reason_(id self, id item, int reason);
extern void (*original_SBAlertItemsController_deactivateAlertItem_reason_animated_)(id, id, int, bool);
void replaced_SBAlertItemsController_deactivateAlertItem_reason_animated_(id self, id item, int reason, bool animated);
extern void (*original_SBLockScreenViewController_dismissFullscreenBulletinAlertWithItem_)(id, id);
void replaced_SBLockScreenViewController_dismissFullscreenBulletinAlertWithItem_(id self, id item);

// --- shared by the ringing's hooks ----------------------------------------------------------------------
bool deviceLocked();
// The current record asks the arithmetic question.
bool recordAsksQuestion();
// Hides the alert window (mode 2).
void hideAlertWindow();
// A notification of the Clock app's alarms (AlarmManager isAlarmNotification:).
bool isAlarmNotification(id notification);
Value alarmIdOf(id notification);

}  // namespace rousa

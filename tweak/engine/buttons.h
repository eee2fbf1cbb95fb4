// While an alarm rings in SpringBoard: the record's snooze length in place of
// SpringBoard's nine minutes, and what the sleep (lock) button, the volume
// buttons and Touch ID do, by the preferences. Main thread only.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

// --- snooze length --------------------------------------------------------------------
extern void (*original_SBApplication_systemLocalNotificationAlertShouldSnooze_)(id, id);
void replaced_SBApplication_systemLocalNotificationAlertShouldSnooze_(id self, id alert);
extern void (*original_SBApplication_snoozeNotificationForLocalNotification_)(id, id);
void replaced_SBApplication_snoozeNotificationForLocalNotification_(id self, id notification);
extern void (*original_SBApplication_scheduleLocalNotifications_replaceExistingNotifications_)(id, Value, bool);
void replaced_SBApplication_scheduleLocalNotifications_replaceExistingNotifications_(id self, Value notifications, bool replace);
extern void (*original_UNLocalNotificationClient_scheduleSnoozeNotification_)(id, id);
void replaced_UNLocalNotificationClient_scheduleSnoozeNotification_(id self, id notification);

// --- the sleep button -------------------------------------------------------------------
extern bool (*original_SBLockScreenViewController_handleLockButtonPressed_iOS7)(id);
bool replaced_SBLockScreenViewController_handleLockButtonPressed_iOS7(id self);
extern bool (*original_SBLockScreenViewController_handleLockButtonPressed_iOS8up)(id);
bool replaced_SBLockScreenViewController_handleLockButtonPressed_iOS8up(id self);
extern void (*original_SpringBoard__lockButtonDownFromSource_)(id, int);
void replaced_SpringBoard__lockButtonDownFromSource_(id self, int source);
extern void (*original_SpringBoard__lockButtonUpFromSource_)(id, int);
void replaced_SpringBoard__lockButtonUpFromSource_(id self, int source);
extern void (*original_SpringBoard__lockButtonDown_fromSource_)(id, id, int);
void replaced_SpringBoard__lockButtonDown_fromSource_(id self, id event, int source);
extern void (*original_SpringBoard__lockButtonUp_fromSource_)(id, id, int);
void replaced_SpringBoard__lockButtonUp_fromSource_(id self, id event, int source);
extern void (*original_SBLockScreenManager_lockUIFromSource_withOptions_)(id, int, Value);
void replaced_SBLockScreenManager_lockUIFromSource_withOptions_(id self, int source, Value options);
extern void (*original_SBLockScreenNotificationListController_observer_addBulletin_forFeed_)(id, id, id, unsigned long long);
void replaced_SBLockScreenNotificationListController_observer_addBulletin_forFeed_(id self, id observer, id bulletin,
                                                                                 unsigned long long feed);

// --- the volume buttons ------------------------------------------------------------------
extern bool (*original_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS7)(id);
bool replaced_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS7(id self);
extern bool (*original_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS7)(id);
bool replaced_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS7(id self);
extern bool (*original_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS8up)(id);
bool replaced_SBLockScreenViewController_handleVolumeUpButtonPressed_iOS8up(id self);
extern bool (*original_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS8up)(id);
bool replaced_SBLockScreenViewController_handleVolumeDownButtonPressed_iOS8up(id self);

// --- Touch ID -------------------------------------------------------------------------------
extern void (*original_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS7)(id, id);
void replaced_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS7(id self, id monitor);
extern void (*original_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS8up)(id, id);
void replaced_SBLockScreenViewController_biometricEventMonitorDidAuthenticate__iOS8up(id self, id monitor);
extern bool (*original_SBLockScreenManager_biometricEventMonitorShouldRelockAfterBioUnlock_)(id, id);
bool replaced_SBLockScreenManager_biometricEventMonitorShouldRelockAfterBioUnlock_(id self, id monitor);

}  // namespace rousa

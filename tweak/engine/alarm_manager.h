// Replacements of the Clock app's AlarmManager that keep the settings records
// in step with the alarms, and the iOS 9 Alarm methods that give the alarm id
// its iOS 7 name. updateAlarm:active: also carries out the edit screen's
// multiple edit: when the screen's Done asks for it while alarms are
// selected, every selected alarm gets the screen's settings.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

// Set by the edit screen's Done, around its previous implementation, when it
// saves a multiple edit; any other update passes straight through.
extern bool multiEditSaveRequested;
// Set while the multiple edit sends its own updates (they pass straight through).
extern bool multiEditInProgress;

extern void (*original_AlarmManager_addAlarm_active_)(id, id, bool);
extern void (*original_AlarmManager_updateAlarm_active_)(id, id, bool);
extern void (*original_AlarmManager_removeAlarm_)(id, id);
void replaced_AlarmManager_addAlarm_active_(id self, id alarm, bool active);
void replaced_AlarmManager_updateAlarm_active_(id self, id alarm, bool active);
void replaced_AlarmManager_removeAlarm_(id self, id alarm);

// Added to Alarm on iOS 9: forward to alarmID and setAlarmID:.
Value Alarm_alarmId(id self);
void Alarm_setAlarmId_(id self, Value alarmId);

}  // namespace rousa

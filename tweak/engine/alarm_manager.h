// Replacements of the Clock app's AlarmManager that keep the settings records
// in step with the alarms, and the iOS 9 Alarm methods that give the alarm id
// its iOS 7 name.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

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

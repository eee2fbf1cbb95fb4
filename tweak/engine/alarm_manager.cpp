#include "tweak/engine/alarm_manager.h"

#include "tweak/engine/hooking.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"

namespace rousa {

void (*original_AlarmManager_addAlarm_active_)(id, id, bool) = nullptr;
void (*original_AlarmManager_updateAlarm_active_)(id, id, bool) = nullptr;
void (*original_AlarmManager_removeAlarm_)(id, id) = nullptr;

void replaced_AlarmManager_addAlarm_active_(id self, id alarm, bool active) {
    lockButtonPressed = false;
    callPrevious(original_AlarmManager_addAlarm_active_, self, alarm, active);
    Value alarmId = sel::alarmId(alarm);
    if (RousaGetAlarm(alarmId)) return;
    auto record = KAlarm::initWithDefaultValues();
    record->setAlarmId(alarmId);
    RousaSetAlarm(record);
}

void replaced_AlarmManager_updateAlarm_active_(id self, id alarm, bool active) {
    callPrevious(original_AlarmManager_updateAlarm_active_, self, alarm, active);
}

void replaced_AlarmManager_removeAlarm_(id self, id alarm) {
    RousaRemoveAlarm(sel::alarmId(alarm));
    callPrevious(original_AlarmManager_removeAlarm_, self, alarm);
}

Value Alarm_alarmId(id self) { return sel::alarmID(self); }
void Alarm_setAlarmId_(id self, Value alarmId) { sel::setAlarmID_(self, alarmId); }

}  // namespace rousa

#include "tweak/engine/alarm_manager.h"

#include "tweak/engine/hooking.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alarm_selection.h"
#include "tweak/screens/edit_alarm.h"

namespace rousa {

bool multiEditSaveRequested = false;
bool multiEditInProgress = false;

void (*original_AlarmManager_addAlarm_active_)(id, id, bool) = nullptr;
void (*original_AlarmManager_updateAlarm_active_)(id, id, bool) = nullptr;
void (*original_AlarmManager_removeAlarm_)(id, id) = nullptr;

void replaced_AlarmManager_addAlarm_active_(id self, id alarm, bool active) {
    lockButtonPressed = false;
    callPrevious(original_AlarmManager_addAlarm_active_, self, alarm, active);
    RousaAddAlarmIfMissing(sel::alarmId(alarm));
}

void replaced_AlarmManager_updateAlarm_active_(id self, id alarm, bool active) {
    if (multiEditInProgress || !multiEditSaveRequested || !isMultipleEdit()) {
        callPrevious(original_AlarmManager_updateAlarm_active_, self, alarm, active);
        return;
    }
    Ref<Object> edited(alarm);
    Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
    const Value selected = alarmsSelected;  // the nested updates must not see the list change
    struct Done {
        ~Done() { multiEditInProgress = false; }
    } done;
    for (const Value& item : selected.array()) {
        Value alarmId = sel::alarmId(item.object());
        Ref<Object> stock = sel::alarmWithId_(manager, alarmId);
        if (!stock) continue;  // removed since it was selected
        RousaSetAlarm(recordFromEditControls(alarmId));
        sel::setSound_ofType_(stock, sel::sound(edited), sel::soundType(edited));
        sel::setAllowsSnooze_(stock, sel::allowsSnooze(edited));
        multiEditInProgress = true;
        sel::updateAlarm_active_(manager, stock, sel::isActive(stock));
    }
    if (alarmsSelected.isArray()) alarmsSelected.mutableArray().clear();
}

void replaced_AlarmManager_removeAlarm_(id self, id alarm) {
    RousaRemoveAlarm(sel::alarmId(alarm));
    callPrevious(original_AlarmManager_removeAlarm_, self, alarm);
}

Value Alarm_alarmId(id self) { return sel::alarmID(self); }
void Alarm_setAlarmId_(id self, Value alarmId) { sel::setAlarmID_(self, alarmId); }

}  // namespace rousa

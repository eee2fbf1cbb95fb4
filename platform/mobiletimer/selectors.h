// Selectors of the Clock app's model classes (MobileTimer framework).
#pragma once

#include "platform/uikit/selectors.h"

namespace platform::sel {
// AlarmManager
inline constexpr Sel<Ref<Object>(id)> sharedManager{"sharedManager"};  // class method
inline constexpr Sel<Value(id)> alarms{"alarms"};
inline constexpr Sel<Ref<Object>(id, Value)> alarmWithId_{"alarmWithId:"};
inline constexpr Sel<void(id, id, bool)> addAlarm_active_{"addAlarm:active:"};
inline constexpr Sel<void(id, id, bool)> updateAlarm_active_{"updateAlarm:active:"};
inline constexpr Sel<void(id, id)> removeAlarm_{"removeAlarm:"};
inline constexpr Sel<void(id)> loadAlarms{"loadAlarms"};
// Gives every alarm its notification again (Alarm's _notification).
inline constexpr Sel<void(id)> loadScheduledNotifications{"loadScheduledNotifications"};
// Class method: YES when the notification's user information has "alarmId".
inline constexpr Sel<bool(id, id)> isAlarmNotification_{"isAlarmNotification:"};

// ClockManager (sharedManager is a class method, as AlarmManager's).
inline constexpr Sel<void(id, bool)> setRunningInAssistantPlugin_{"setRunningInAssistantPlugin:"};

// Alarm. iOS 7 and 8 name the id alarmId; iOS 9 names it alarmID.
inline constexpr Sel<Ref<Object>(id)> initWithDefaultValues{"initWithDefaultValues"};
inline constexpr Sel<Value(id)> alarmId{"alarmId"};
inline constexpr Sel<void(id, Value)> setAlarmId_{"setAlarmId:"};
inline constexpr Sel<Value(id)> alarmID{"alarmID"};
inline constexpr Sel<void(id, Value)> setAlarmID_{"setAlarmID:"};
inline constexpr Sel<long long(id)> hour{"hour"};
inline constexpr Sel<void(id, long long)> setHour_{"setHour:"};
inline constexpr Sel<long long(id)> minute{"minute"};
inline constexpr Sel<void(id, long long)> setMinute_{"setMinute:"};
inline constexpr Sel<Value(id)> uiTitle{"uiTitle"};
inline constexpr Sel<long long(id)> daySetting{"daySetting"};
inline constexpr Sel<void(id, long long)> setDaySetting_{"setDaySetting:"};
inline constexpr Sel<bool(id)> isActive{"isActive"};
inline constexpr Sel<Value(id)> sound{"sound"};
inline constexpr Sel<long long(id)> soundType{"soundType"};
inline constexpr Sel<void(id, Value, long long)> setSound_ofType_{"setSound:ofType:"};
inline constexpr Sel<bool(id)> allowsSnooze{"allowsSnooze"};
inline constexpr Sel<void(id, bool)> setAllowsSnooze_{"setAllowsSnooze:"};
inline constexpr Sel<Value(id)> nextFireDate{"nextFireDate"};
inline constexpr Sel<Ref<Object>(id)> editingProxy{"editingProxy"};

// EditAlarmViewController and its view.
inline constexpr Sel<Ref<Object>(id, id)> initWithAlarm_{"initWithAlarm:"};
inline constexpr Sel<void(id)> handlePickerChanged{"handlePickerChanged"};
inline constexpr Sel<void(id, id)> _doneButtonClicked_{"_doneButtonClicked:"};
inline constexpr Sel<Ref<Object>(id)> timePicker{"timePicker"};
// The edit screen's delegate (the alarm list) after Done.
inline constexpr Sel<void(id, id)> didEditAlarm_{"didEditAlarm:"};

// AlarmViewController (the alarm list), its cells and their views.
inline constexpr Sel<Ref<Object>(id)> tableView{"tableView"};
inline constexpr Sel<Ref<Object>(id)> editButtonItem{"editButtonItem"};
// (row) opens the edit screen for the alarm of that row.
inline constexpr Sel<void(id, long long)> showEditViewForRow_{"showEditViewForRow:"};
inline constexpr Sel<void(id)> reloadState{"reloadState"};
// Targets of the Edit and Add buttons.
inline constexpr Sel<void(id, id)> _editButtonClicked_{"_editButtonClicked:"};
inline constexpr Sel<void(id, id)> _addButtonClicked_{"_addButtonClicked:"};
// AlarmTableViewCell: (alarm, animated) shows the alarm; the switch's target.
inline constexpr Sel<void(id, id, bool)> refreshUI_animated_{"refreshUI:animated:"};
inline constexpr Sel<void(id, id)> _enabledSwitchChanged_{"_enabledSwitchChanged:"};
// AlarmView: (name, repeat text, text colour).
inline constexpr Sel<void(id, Value, Value, id)> setName_andRepeatText_textColor_{"setName:andRepeatText:textColor:"};
// ClockManager, class method: the Clock app's section (0 world clock, 1 alarm,
// 2 stopwatch, 3 timer) for a URL it is opened with.
inline constexpr Sel<long long(id, Value)> sectionFromClockAppURL_{"sectionFromClockAppURL:"};
}  // namespace platform::sel

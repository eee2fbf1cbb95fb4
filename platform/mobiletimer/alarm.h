// The Clock app's alarm model: Alarm objects kept by AlarmManager in the Clock
// app's preference file under the device root, so that the managers of
// SpringBoard and of the Clock app see the same alarms after loadAlarms.
// Alarms compare equal by alarm id. Adding, updating, removing or toggling an
// alarm schedules the active alarms' notifications in SpringBoard (see
// scheduling.h). Main thread only.
#pragma once

#include "platform/runtime/nsobject.h"
#include "platform/runtime/value.h"

namespace platform {

class Alarm : public NSObject {
public:
    Value alarmId;  // nil until the manager adds the alarm
    // The alarm's earliest scheduled notification (iOS 8 and later read it as
    // _notification); set when the manager schedules or loads its notifications.
    Ref<Object> notification;
    long long hour = 0;
    long long minute = 0;
    Value title;
    long long daySetting = 0;  // bit 0 Monday ... bit 6 Sunday; 0 = no repeat
    bool active = true;
    Value sound;
    long long soundType = 0;
    bool allowsSnooze = true;
    // The copy that an edit screen changes (editingProxy), made on first use;
    // applyEditingProxy copies it back and drops it.
    Ref<Alarm> editingProxy_;
    Alarm* editingProxy();
    void applyEditingProxy();

    // The first time after `after` at which the alarm rings, in the process's
    // time zone: today or a later day, on one of its repeat days if it has any.
    Date nextFireDateAfter(Date after) const;

    Value dictionary() const;
    static Ref<Alarm> fromDictionary(const Value& d);
    // "HH:MM title" for call logs.
    std::string summary() const;
};

class AlarmManager : public NSObject {
public:
    std::vector<Ref<Alarm>> alarms;
};

namespace mobiletimer {
inline constexpr const char* kAlarmsPath = "/var/mobile/Library/Preferences/com.apple.mobiletimer.plist";
// Registers Alarm, AlarmManager and ClockManager; on iOS 9 Alarm answers alarmID.
void registerAlarmClasses();
}  // namespace mobiletimer

}  // namespace platform

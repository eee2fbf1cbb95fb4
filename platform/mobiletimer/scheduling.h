// How the Clock app's alarms reach SpringBoard: AlarmManager turns its active
// alarms into UILocalNotifications and hands the whole list over whenever an
// alarm is added, updated, removed or toggled. In SpringBoard's process the
// hand-over is direct (SpringBoard installs it); in the Clock app's process the
// device transport installs a forwarder; with none installed nothing leaves the
// process. Main thread only.
#pragma once

#include <functional>
#include <vector>

#include "platform/mobiletimer/alarm.h"

namespace platform::mobiletimer {

// The notifications of the active alarms, in the manager's order: a one-time
// alarm has one, a repeating alarm one per repeat day (repeating weekly). Each
// has "alarmId" in its user information, the alarm's next fire date (on that
// day), the process's time zone, a Gregorian repeat calendar, the alarm's
// title as its text ("Alarm" without one), its sound and whether it may snooze.
// Each alarm's `notification` becomes its earliest one (nil when inactive).
Value scheduleNotificationsFor(const std::vector<Ref<Alarm>>& alarms);

// Receives the Clock app's whole list of notifications (objects) at every change.
using ScheduleHandOver = std::function<void(const Value& notifications)>;
void setScheduleHandOver(ScheduleHandOver handOver);
// Builds the notifications of the manager's alarms and hands them over.
void scheduleAlarms(const AlarmManager* manager);

}  // namespace platform::mobiletimer

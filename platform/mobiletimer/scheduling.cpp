#include "platform/mobiletimer/scheduling.h"

#include "platform/foundation/calendar.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/local_notification.h"

namespace platform::mobiletimer {

namespace {

ScheduleHandOver& handOver() {
    static auto* h = new ScheduleHandOver();
    return *h;
}

Ref<UILocalNotification> notificationFor(const Alarm& alarm, Date fireDate, unsigned long long repeatInterval) {
    auto n = UILocalNotification::make();
    if (!n) return nullptr;
    n->userInfo_ = Value{{"alarmId", alarm.alarmId}};
    n->fireDate_ = Value(fireDate);
    n->timeZone_ = NSTimeZone::systemTimeZone();
    n->repeatCalendar_ = NSCalendar::calendarWithIdentifier("gregorian");
    n->repeatInterval_ = repeatInterval;
    n->alertBody_ = alarm.title.isString() && !alarm.title.string().empty() ? alarm.title : Value("Alarm");
    n->soundName_ = alarm.sound;
    n->allowSnooze_ = alarm.allowsSnooze;
    return n;
}

}  // namespace

Value scheduleNotificationsFor(const std::vector<Ref<Alarm>>& alarms) {
    Value list = Value(Value::Array{});
    Date now = clock::now();
    for (const auto& alarm : alarms) {
        alarm->notification = nullptr;
        if (!alarm->active || !alarm->alarmId.isString()) continue;
        std::vector<Ref<UILocalNotification>> mine;
        if (alarm->daySetting == 0) {
            mine.push_back(notificationFor(*alarm, alarm->nextFireDateAfter(now), 0));
        } else if (auto day = as<Alarm>(alloc("Alarm"))) {
            // One weekly notification per repeat day: the alarm's next time on that day.
            day->hour = alarm->hour;
            day->minute = alarm->minute;
            for (int bit = 0; bit < 7; ++bit) {
                if (!(alarm->daySetting >> bit & 1)) continue;
                day->daySetting = 1LL << bit;
                mine.push_back(notificationFor(*alarm, day->nextFireDateAfter(now), NSCalendarUnitWeekOfYear));
            }
        }
        for (auto& n : mine) {
            if (!n) continue;
            auto* first = as<UILocalNotification>(alarm->notification.get());
            if (!first || n->fireDate_.date() < first->fireDate_.date()) alarm->notification = n;
            list.mutableArray().push_back(Value(n));
        }
    }
    return list;
}

void setScheduleHandOver(ScheduleHandOver h) { handOver() = std::move(h); }

void scheduleAlarms(const AlarmManager* manager) {
    Value list = scheduleNotificationsFor(manager->alarms);
    // Moved to the stack first: the receiver may install another hand-over.
    if (ScheduleHandOver h = handOver()) h(list);
}

}  // namespace platform::mobiletimer

// UILocalNotification: what an app hands the system to be told at a time: user
// information, a fire date (absolute, or wall-clock time when it has a time
// zone), a repeat interval over its repeat calendar, the alert's text and
// sound. Scheduling and firing are the system's (SpringBoard's) business; a
// scheduled notification is always a copy. Any thread, one at a time.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform {

// NSCalendarUnit values a notification repeats by.
inline constexpr unsigned long long NSCalendarUnitYear = 1 << 2;
inline constexpr unsigned long long NSCalendarUnitMonth = 1 << 3;
inline constexpr unsigned long long NSCalendarUnitDay = 1 << 4;
inline constexpr unsigned long long NSCalendarUnitHour = 1 << 5;
inline constexpr unsigned long long NSCalendarUnitMinute = 1 << 6;
inline constexpr unsigned long long NSWeekCalendarUnit = 1 << 8;
inline constexpr unsigned long long NSCalendarUnitWeekOfYear = 1 << 13;

class UILocalNotification : public NSObject {
public:
    // [[UILocalNotification alloc] init]; null when the class is missing.
    static Ref<UILocalNotification> make();

    Value userInfo_;
    Value fireDate_;  // a date or nil
    Ref<Object> timeZone_;
    Ref<Object> repeatCalendar_;
    unsigned long long repeatInterval_ = 0;
    Value alertBody_;
    Value soundName_;
    bool allowSnooze_ = false;

    // The first fire date after `after` with the fire date read as wall-clock
    // time in `localTimeZone` (when the notification has a time zone); nil when
    // it does not repeat and its date is not after `after`.
    Value nextFireDateAfter(Date after, Object* localTimeZone) const;
    // Whether the system would ever fire it: a repeating notification needs a
    // fire date and a repeat interval of a calendar unit; a fire date must be
    // a finite one.
    bool isSchedulable() const;

    // The notification as a property-list dictionary (to cross to another
    // process or be kept in a file; the calendar as a flag), and back.
    Value propertyList() const;
    static Ref<UILocalNotification> fromPropertyList(const Value& dictionary);
    // "alarmId" of the user information, or nil.
    Value alarmId() const { return userInfo_["alarmId"]; }
};

}  // namespace platform

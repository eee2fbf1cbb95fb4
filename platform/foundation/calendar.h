// Time zones (from the system's zoneinfo files), the Gregorian calendar and
// date components: what the system needs of NSTimeZone, NSCalendar and
// NSDateComponents. The process's own time zone comes from boot ("UTC" by
// default).
#pragma once

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/nsobject.h"

namespace platform {

class NSTimeZone : public NSObject {
public:
    // Null for a name the zoneinfo files do not know.
    static Ref<NSTimeZone> timeZoneWithName(std::string_view name);
    // The process's time zone (set by boot).
    static Ref<NSTimeZone> systemTimeZone();
    static Ref<NSTimeZone> localTimeZone() { return systemTimeZone(); }
    static Ref<NSTimeZone> timeZoneForSecondsFromGMT(long long seconds);

    const std::string& name() const { return name_; }
    long long secondsFromGMTForDate(Date date) const;
    // The offset now (on the process's clock).
    long long secondsFromGMT() const;
    bool isDaylightSavingTimeForDate(Date date) const;

private:
    struct Transition {
        long long at;  // unix seconds
        int type;
    };
    struct Type {
        long long offset;
        bool dst;
    };
    const Type& typeAt(long long unix) const;
    std::string name_;
    std::vector<Transition> transitions_;
    std::vector<Type> types_{{0, false}};
    friend struct TimeZoneLoader;
};

class NSDateComponents : public NSObject {
public:
    static constexpr long long kUndefined = LLONG_MAX;  // NSDateComponentUndefined
    static Ref<NSDateComponents> make();
    long long year = kUndefined, month = kUndefined, day = kUndefined;
    long long hour = kUndefined, minute = kUndefined, second = kUndefined;
    long long weekday = kUndefined;  // 1 Sunday ... 7 Saturday
};

class NSCalendar : public NSObject {
public:
    // "gregorian" is the only identifier known; null for others.
    static Ref<NSCalendar> calendarWithIdentifier(std::string_view identifier);
    static Ref<NSCalendar> currentCalendar();

    NSTimeZone* timeZone() const { return timeZone_.get(); }
    void setTimeZone(NSTimeZone* tz) { timeZone_ = tz; }

    // Every component of the date in the calendar's time zone.
    Ref<NSDateComponents> components(Date date) const;
    // The date of the components (undefined fields count as their smallest
    // value). A local time that does not exist (a daylight-saving gap) moves
    // forward by the gap; one that exists twice is the earlier.
    std::optional<Date> dateFromComponents(const NSDateComponents& c) const;
    // Adds years, months and days on the wall clock, then hours, minutes and
    // seconds as elapsed time.
    std::optional<Date> dateByAddingComponents(const NSDateComponents& c, Date date, unsigned long options = 0) const;

private:
    Ref<NSTimeZone> timeZone_;
};

namespace calendar {
// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long daysFromCivil(long long y, long long m, long long d);
void civilFromDays(long long days, long long* y, long long* m, long long* d);
}  // namespace calendar

}  // namespace platform

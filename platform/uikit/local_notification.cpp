#include "platform/uikit/local_notification.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/internal.h"

namespace platform {

namespace {

UILocalNotification* notification(id self) { return as<UILocalNotification>(self); }

// One step of a repeat interval as date components, and a length in seconds
// that never exceeds the step (so that an estimate never skips a date).
bool repeatStep(unsigned long long unit, long long k, NSDateComponents& c, double* shortest) {
    switch (unit) {
        case NSCalendarUnitMinute: c.minute = k; *shortest = 60; return true;
        case NSCalendarUnitHour: c.hour = k; *shortest = 3600; return true;
        case NSCalendarUnitDay: c.day = k; *shortest = 23 * 3600; return true;
        case NSWeekCalendarUnit:
        case NSCalendarUnitWeekOfYear: c.day = 7 * k; *shortest = 7 * 23 * 3600; return true;
        case NSCalendarUnitMonth: c.month = k; *shortest = 28 * 86400; return true;
        case NSCalendarUnitYear: c.year = k; *shortest = 365 * 86400; return true;
        default: return false;
    }
}

Ref<NSCalendar> calendarIn(Object* zone) {
    auto calendar = NSCalendar::calendarWithIdentifier("gregorian");
    if (auto* tz = dynamic_cast<NSTimeZone*>(zone); tz && calendar) calendar->setTimeZone(tz);
    return calendar;
}

}  // namespace

Ref<UILocalNotification> UILocalNotification::make() { return as<UILocalNotification>(newObject("UILocalNotification")); }

Value UILocalNotification::nextFireDateAfter(Date after, Object* localTimeZone) const {
    if (fireDate_.kind() != Value::Kind::Date) return Value();
    Date fire = fireDate_.date();
    auto* own = dynamic_cast<NSTimeZone*>(timeZone_.get());
    auto* local = dynamic_cast<NSTimeZone*>(localTimeZone);
    if (own && local && own->name() != local->name()) {
        // Floating time: the same wall-clock time in the local zone.
        auto wall = calendarIn(own)->components(fire);
        if (auto moved = calendarIn(local)->dateFromComponents(*wall)) fire = *moved;
    }
    if (fire > after) return Value(fire);
    if (repeatInterval_ == 0) return Value();
    auto calendar = calendarIn(local ? local : own);
    if (!calendar) return Value();
    auto step = NSDateComponents::make();
    double shortest = 0;
    if (!repeatStep(repeatInterval_, 1, *step, &shortest)) return Value();
    // Clamped before the conversion: a date far away gives a huge quotient.
    double steps = std::clamp(std::floor(after.timeIntervalSinceDate(fire) / shortest), 0.0, 1e15);
    long long k = std::max(1LL, static_cast<long long>(steps) - 1);
    for (;; ++k) {
        auto c = NSDateComponents::make();
        repeatStep(repeatInterval_, k, *c, &shortest);
        auto next = calendar->dateByAddingComponents(*c, fire);
        if (!next) return Value();
        if (*next > after) return Value(*next);
    }
}

bool UILocalNotification::isSchedulable() const {
    bool dated = fireDate_.kind() == Value::Kind::Date;
    if (dated && !std::isfinite(fireDate_.date().sinceReferenceDate)) return false;
    if (repeatInterval_ == 0) return true;
    auto step = NSDateComponents::make();
    double shortest = 0;
    return dated && step && repeatStep(repeatInterval_, 1, *step, &shortest);
}

Value UILocalNotification::propertyList() const {
    Value::Dictionary d{{"userInfo", userInfo_},
                        {"repeatInterval", Value(repeatInterval_)},
                        {"allowSnooze", Value(allowSnooze_)},
                        {"repeatCalendar", Value(repeatCalendar_ != nullptr)}};
    if (fireDate_.kind() == Value::Kind::Date) d["fireDate"] = fireDate_;
    if (auto* tz = dynamic_cast<NSTimeZone*>(timeZone_.get())) d["timeZone"] = Value(tz->name());
    if (alertBody_.isString()) d["alertBody"] = alertBody_;
    if (soundName_.isString()) d["soundName"] = soundName_;
    return Value(std::move(d));
}

Ref<UILocalNotification> UILocalNotification::fromPropertyList(const Value& d) {
    if (!d.isDictionary()) return nullptr;
    auto n = make();
    if (!n) return nullptr;
    n->userInfo_ = d["userInfo"];
    if (d["fireDate"].kind() == Value::Kind::Date) n->fireDate_ = d["fireDate"];
    n->repeatInterval_ = static_cast<unsigned long long>(d["repeatInterval"].integerValue());
    n->allowSnooze_ = d["allowSnooze"].boolValue();
    n->alertBody_ = d["alertBody"];
    n->soundName_ = d["soundName"];
    if (d["timeZone"].isString()) n->timeZone_ = NSTimeZone::timeZoneWithName(d["timeZone"].string());
    if (d["repeatCalendar"].boolValue()) n->repeatCalendar_ = calendarIn(n->timeZone_.get());
    return n;
}

namespace uikit::detail {

void registerLocalNotification() {
    ClassBuilder<UILocalNotification>("UILocalNotification", "NSObject")
        .property<&UILocalNotification::userInfo_>(sel::userInfo, sel::setUserInfo_)
        .getter<&UILocalNotification::fireDate_>(sel::fireDate)
        .method(sel::setFireDate_,
                [](id self, Value date) { notification(self)->fireDate_ = date.kind() == Value::Kind::Date ? date : Value(); })
        .getter<&UILocalNotification::timeZone_>(sel::timeZone)
        .method(sel::setTimeZone_, [](id self, id zone) { notification(self)->timeZone_ = zone; })
        .getter<&UILocalNotification::repeatCalendar_>(sel::repeatCalendar)
        .method(sel::setRepeatCalendar_, [](id self, id calendar) { notification(self)->repeatCalendar_ = calendar; })
        .property<&UILocalNotification::repeatInterval_>(sel::repeatInterval, sel::setRepeatInterval_)
        .property<&UILocalNotification::alertBody_>(sel::alertBody, sel::setAlertBody_)
        .property<&UILocalNotification::soundName_>(sel::soundName, sel::setSoundName_)
        .property<&UILocalNotification::allowSnooze_>(sel::allowSnooze, sel::setAllowSnooze_)
        .method(sel::nextFireDateAfterDate_localTimeZone_,
                [](id self, Value after, id zone) {
                    return notification(self)->nextFireDateAfter(after.kind() == Value::Kind::Date ? after.date() : clock::now(), zone);
                })
        .method(sel::copy,
                [](id self) -> Ref<Object> {
                    auto* from = notification(self);
                    auto to = as<UILocalNotification>(alloc(self->isa()));
                    if (!to) return nullptr;
                    to->userInfo_ = from->userInfo_;
                    to->fireDate_ = from->fireDate_;
                    to->timeZone_ = from->timeZone_;
                    to->repeatCalendar_ = from->repeatCalendar_;
                    to->repeatInterval_ = from->repeatInterval_;
                    to->alertBody_ = from->alertBody_;
                    to->soundName_ = from->soundName_;
                    to->allowSnooze_ = from->allowSnooze_;
                    return to;
                })
        .method(sel::description, [](id self) {
            auto* n = notification(self);
            return Value(format("<UILocalNotification fireDate %@ repeatInterval %lu userInfo %@>", n->fireDate_,
                                static_cast<unsigned long>(n->repeatInterval_), n->userInfo_));
        });
}

}  // namespace uikit::detail
}  // namespace platform

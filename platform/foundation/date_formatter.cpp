#include "platform/foundation/date_formatter.h"

#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"

namespace platform {

std::string NSDateFormatter::format(Date date) const {
    auto calendar = NSCalendar::currentCalendar();
    if (timeZone_) calendar->setTimeZone(timeZone_.get());
    auto c = calendar->components(date);
    std::string datePart, timePart;
    if (dateStyle_ != NSDateFormatterNoStyle) datePart = platform::format("%ld/%ld/%02ld", c->month, c->day, c->year % 100);
    if (timeStyle_ != NSDateFormatterNoStyle) {
        long long hour12 = c->hour % 12 == 0 ? 12 : c->hour % 12;
        timePart = platform::format("%ld:%02ld %s", hour12, c->minute, c->hour < 12 ? "AM" : "PM");
    }
    if (!datePart.empty() && !timePart.empty()) return datePart + ", " + timePart;
    return datePart + timePart;
}

namespace foundation {

void registerDateFormatter() {
    ClassBuilder<NSDateFormatter>("NSDateFormatter", "NSObject")
        .method(sel::init,
                [](id self) {
                    as<NSDateFormatter>(self)->timeZone_ = NSTimeZone::systemTimeZone();
                    return Ref<Object>(self);
                })
        .property<&NSDateFormatter::dateStyle_>(sel::dateStyle, sel::setDateStyle_)
        .property<&NSDateFormatter::timeStyle_>(sel::timeStyle, sel::setTimeStyle_)
        .method(sel::stringFromDate_, [](id self, Value date) {
            if (date.kind() != Value::Kind::Date) return Value();
            return Value(as<NSDateFormatter>(self)->format(date.date()));
        });
}

}  // namespace foundation
}  // namespace platform

// NSDateFormatter: turns a date into the text of its date and time styles.
// Only what the system shows is modelled: the short time style, in one fixed
// pattern ("h:mm a", as "6:00 AM"), and the short date style ("M/d/yy"), in
// the time zone of the process (from boot) when the formatter was made. The
// styles are set through the method table, so the system's code sends them.
// Main thread only.
#pragma once

#include <string>

#include "platform/runtime/nsobject.h"

namespace platform {

class NSTimeZone;

inline constexpr long long NSDateFormatterNoStyle = 0;
inline constexpr long long NSDateFormatterShortStyle = 1;
inline constexpr long long NSDateFormatterMediumStyle = 2;
inline constexpr long long NSDateFormatterLongStyle = 3;
inline constexpr long long NSDateFormatterFullStyle = 4;

namespace sel {
inline constexpr Sel<long long(id)> dateStyle{"dateStyle"};
inline constexpr Sel<void(id, long long)> setDateStyle_{"setDateStyle:"};
inline constexpr Sel<long long(id)> timeStyle{"timeStyle"};
inline constexpr Sel<void(id, long long)> setTimeStyle_{"setTimeStyle:"};
// (date) nil for anything but a date.
inline constexpr Sel<Value(id, Value)> stringFromDate_{"stringFromDate:"};
}  // namespace sel

class NSDateFormatter : public NSObject {
public:
    long long dateStyle_ = NSDateFormatterNoStyle;
    long long timeStyle_ = NSDateFormatterNoStyle;
    Ref<NSTimeZone> timeZone_;

    // The text of the date in the formatter's styles: the date part, a blank,
    // the time part; a style other than none gives its short form.
    std::string format(Date date) const;
};

namespace foundation {
// Registers NSDateFormatter (foundation::registerClasses calls it).
void registerDateFormatter();
}  // namespace foundation

}  // namespace platform

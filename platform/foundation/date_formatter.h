// NSDateFormatter: turns a date into text and back. Without a date format it
// writes the text of its date and time styles, of which only what the system
// shows is modelled: the short time style, in one fixed pattern ("h:mm a", as
// "6:00 AM"), and the short date style ("M/d/yy"). With a date format
// (setDateFormat:) it formats and parses through ICU in its locale
// (setLocale:, "en_US" by default) and time zone, strictly, the whole text.
// The time zone is the process's (from boot) when the formatter was made,
// until setTimeZone:. Settings go through the method table, so the system's
// code sends them. One thread at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/selectors.h"
#include "platform/runtime/nsobject.h"

namespace platform {

class NSLocale;
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
inline constexpr Sel<std::string(id)> dateFormat{"dateFormat"};
inline constexpr Sel<void(id, std::string)> setDateFormat_{"setDateFormat:"};
inline constexpr Sel<void(id, NSLocale*)> setLocale_{"setLocale:"};
// (text) a date, or nil when the text does not match the format whole.
inline constexpr Sel<Value(id, Value)> dateFromString_{"dateFromString:"};
}  // namespace sel

class NSDateFormatter : public NSObject {
public:
    long long dateStyle_ = NSDateFormatterNoStyle;
    long long timeStyle_ = NSDateFormatterNoStyle;
    Ref<NSTimeZone> timeZone_;
    std::string dateFormat_;
    std::string localeIdentifier_ = "en_US";

    // With a date format, the date in that pattern. Otherwise the text of the
    // date in the formatter's styles: the date part, a blank, the time part;
    // a style other than none gives its short form.
    std::string format(Date date) const;
    // The date that the text spells whole in the date format; none without a
    // format or for text that does not match.
    std::optional<Date> parse(std::string_view text) const;
};

namespace foundation {
// Registers NSDateFormatter (foundation::registerClasses calls it).
void registerDateFormatter();
}  // namespace foundation

}  // namespace platform

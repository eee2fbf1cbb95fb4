#include "tweak/engine/format_remaining_time.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/foundation/format.h"

namespace rousa {

constinit Ref<NSBundle> preferenceBundle;

namespace {

// The bundle's word for a key; nil (printed "(null)") without the bundle, as a
// message to nil would give.
Value word(const char* key) {
    if (!preferenceBundle) return Value();
    return Value(preferenceBundle->localizedStringForKey(key, Value(""), Value()));
}

std::string trimmed(const std::string& s) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t begin = 0, end = s.size();
    while (begin < end && isSpace(s[begin])) ++begin;
    while (end > begin && isSpace(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

struct Words {
    const char* day;
    const char* days;
    const char* hour;
    const char* hours;
    const char* minute;
    const char* minutes;
    const char* unitFormat;    // days and hours
    const char* minuteFormat;  // minutes
};

constexpr Words kWords[] = {
    {"D", "D", "H", "H", "M", "M", "%d%@ ", "%d%@"},
    {"DAY", "DAYS", "HR", "HRS", "MIN", "MINS", "%d%@ ", "%d%@"},
    {"DAY", "DAYS", "HOUR", "HOURS", "MINUTE", "MINUTES", "%d %@ ", "%d %@"},
};

}  // namespace

int saturatedSeconds(double seconds) {
    if (std::isnan(seconds)) return 0;
    if (seconds >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (seconds <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(seconds);  // toward zero
}

std::string FormatRemainingTime(int seconds, unsigned format) {
    if (format > 3) return "";
    // The minute under way counts as a whole one; nothing is left below 1 s.
    const std::int64_t t = seconds > 0 ? std::int64_t{seconds} + 60 : 0;
    const std::int64_t days = t / 86400, r = t % 86400, hours = r / 3600, r2 = r % 3600, minutes = r2 / 60;

    std::string dayPart, hourPart, minutePart;
    if (format == 3) {
        if (t >= 86400) dayPart = platform::format("%d:", days);
        hourPart = platform::format("%d:", hours);
        minutePart = platform::format("%@%d", Value(minutes < 10 ? "0" : ""), minutes);
    } else {
        const Words& w = kWords[format];
        if (t >= 86400) dayPart = platform::format(w.unitFormat, days, word(days == 1 ? w.day : w.days));
        if (r >= 3600) hourPart = platform::format(w.unitFormat, hours, word(hours == 1 ? w.hour : w.hours));
        if (r2 >= 60) minutePart = platform::format(w.minuteFormat, minutes, word(minutes == 1 ? w.minute : w.minutes));
        if (days == 0 && hours == 0 && minutes == 0) minutePart = platform::format(w.minuteFormat, 0, word(w.minutes));
    }
    return trimmed(platform::format("%@%@%@", Value(dayPart), Value(hourPart), Value(minutePart)));
}

}  // namespace rousa

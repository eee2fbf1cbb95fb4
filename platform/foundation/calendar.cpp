#include "platform/foundation/calendar.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "platform/foundation/file_system.h"
#include "platform/foundation/process.h"
#include "platform/foundation/run_loop.h"

namespace platform {

namespace calendar {
// Howard Hinnant's algorithms for the proleptic Gregorian calendar.
long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, long long* y, long long* m, long long* d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp + (mp < 10 ? 3 : -9);
    *y = yoe + era * 400 + (*m <= 2);
}
}  // namespace calendar

// --- time zones -------------------------------------------------------------------

struct TimeZoneLoader {
    static long long be(const unsigned char* p, int n) {
        unsigned long long v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | p[i];
        if (n == 4) return static_cast<std::int32_t>(v);
        return static_cast<long long>(v);
    }

    // Reads a TZif file's transitions (the 64-bit section when there is one).
    static bool load(NSTimeZone& tz, const std::string& bytes) {
        auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        std::size_t size = bytes.size();
        auto parse = [&](std::size_t offset, int timeSize, std::size_t* end) -> bool {
            if (offset + 44 > size || bytes.compare(offset, 4, "TZif") != 0) return false;
            const unsigned char* h = p + offset + 20;
            long long isutcnt = be(h, 4), isstdcnt = be(h + 4, 4), leapcnt = be(h + 8, 4), timecnt = be(h + 12, 4),
                      typecnt = be(h + 16, 4), charcnt = be(h + 20, 4);
            std::size_t pos = offset + 44;
            std::size_t need = static_cast<std::size_t>(timecnt * timeSize + timecnt + typecnt * 6 + charcnt +
                                                        leapcnt * (timeSize + 4) + isstdcnt + isutcnt);
            if (pos + need > size || typecnt <= 0) return false;
            tz.transitions_.clear();
            tz.types_.clear();
            for (long long i = 0; i < timecnt; ++i)
                tz.transitions_.push_back({be(p + pos + i * timeSize, timeSize), p[pos + timecnt * timeSize + i]});
            std::size_t types = pos + static_cast<std::size_t>(timecnt * timeSize + timecnt);
            for (long long i = 0; i < typecnt; ++i)
                tz.types_.push_back({be(p + types + i * 6, 4), p[types + i * 6 + 4] != 0});
            *end = pos + need;
            return true;
        };
        std::size_t end = 0;
        if (!parse(0, 4, &end)) return false;
        if (size > 4 && p[4] >= '2') parse(end, 8, &end);
        for (auto& t : tz.transitions_)
            if (t.type >= static_cast<int>(tz.types_.size())) t.type = 0;
        return true;
    }
};

const NSTimeZone::Type& NSTimeZone::typeAt(long long unix) const {
    auto it = std::upper_bound(transitions_.begin(), transitions_.end(), unix, [](long long t, const Transition& tr) { return t < tr.at; });
    if (it == transitions_.begin()) {
        // Before the first transition: the first standard-time type.
        for (const auto& t : types_)
            if (!t.dst) return t;
        return types_.front();
    }
    return types_[static_cast<std::size_t>(std::prev(it)->type)];
}

long long NSTimeZone::secondsFromGMTForDate(Date date) const {
    return typeAt(static_cast<long long>(std::floor(date.unix()))).offset;
}

long long NSTimeZone::secondsFromGMT() const { return secondsFromGMTForDate(clock::now()); }

bool NSTimeZone::isDaylightSavingTimeForDate(Date date) const { return typeAt(static_cast<long long>(std::floor(date.unix()))).dst; }

namespace {
std::mutex& zonesMutex() {
    static std::mutex m;
    return m;
}
std::map<std::string, Ref<NSTimeZone>, std::less<>>& zones() {
    static auto* z = new std::map<std::string, Ref<NSTimeZone>, std::less<>>();
    return *z;
}
}  // namespace

Ref<NSTimeZone> NSTimeZone::timeZoneWithName(std::string_view name) {
    std::lock_guard guard(zonesMutex());
    if (auto it = zones().find(name); it != zones().end()) return it->second;
    auto tz = as<NSTimeZone>(alloc("NSTimeZone"));
    tz->name_ = std::string(name);
    if (name != "UTC" && name != "GMT") {
        // The zone database of the machine, not of the device root.
        if (name.empty() || name.find("..") != std::string_view::npos) return nullptr;
        auto bytes = fs::readHostFile("/usr/share/zoneinfo/" + std::string(name));
        if (!bytes || !TimeZoneLoader::load(*tz, *bytes)) return nullptr;
    }
    zones().emplace(std::string(name), tz);
    return tz;
}

Ref<NSTimeZone> NSTimeZone::timeZoneForSecondsFromGMT(long long seconds) {
    auto tz = as<NSTimeZone>(alloc("NSTimeZone"));
    tz->name_ = "GMT" + std::string(seconds >= 0 ? "+" : "-") + std::to_string(std::llabs(seconds) / 3600);
    tz->types_ = {{seconds, false}};
    return tz;
}

Ref<NSTimeZone> NSTimeZone::systemTimeZone() {
    auto tz = timeZoneWithName(process::info().timeZone);
    return tz ? tz : timeZoneWithName("UTC");
}

// --- calendar ----------------------------------------------------------------------------

Ref<NSDateComponents> NSDateComponents::make() { return as<NSDateComponents>(alloc("NSDateComponents")); }

Ref<NSCalendar> NSCalendar::calendarWithIdentifier(std::string_view identifier) {
    if (identifier != "gregorian") return nullptr;
    auto c = as<NSCalendar>(alloc("NSCalendar"));
    c->timeZone_ = NSTimeZone::systemTimeZone();
    return c;
}

Ref<NSCalendar> NSCalendar::currentCalendar() { return calendarWithIdentifier("gregorian"); }

Ref<NSDateComponents> NSCalendar::components(Date date) const {
    long long unix = static_cast<long long>(std::floor(date.unix()));
    long long local = unix + timeZone_->secondsFromGMTForDate(date);
    long long days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    long long secs = local - days * 86400;
    auto c = NSDateComponents::make();
    calendar::civilFromDays(days, &c->year, &c->month, &c->day);
    c->hour = secs / 3600;
    c->minute = secs % 3600 / 60;
    c->second = secs % 60;
    c->weekday = ((days % 7) + 7 + 4) % 7 + 1;  // 1970-01-01 was a Thursday
    return c;
}

std::optional<Date> NSCalendar::dateFromComponents(const NSDateComponents& c) const {
    auto field = [](long long v, long long smallest) { return v == NSDateComponents::kUndefined ? smallest : v; };
    long long y = field(c.year, 1), mo = field(c.month, 1), d = field(c.day, 1);
    // Normalise months outside 1...12 into years.
    long long m0 = mo - 1;
    y += m0 >= 0 ? m0 / 12 : (m0 - 11) / 12;
    m0 = ((m0 % 12) + 12) % 12;
    long long local = (calendar::daysFromCivil(y, m0 + 1, 1) + d - 1) * 86400 + field(c.hour, 0) * 3600 + field(c.minute, 0) * 60 +
                      field(c.second, 0);
    // The earlier of the instants whose local time is `local`; in a gap, the
    // instant the gap's length later.
    long long before = timeZone_->secondsFromGMTForDate(Date::fromUnix(static_cast<double>(local - 86400)));
    long long after = timeZone_->secondsFromGMTForDate(Date::fromUnix(static_cast<double>(local + 86400)));
    for (long long offset : {std::max(before, after), std::min(before, after)}) {
        long long candidate = local - offset;
        if (timeZone_->secondsFromGMTForDate(Date::fromUnix(static_cast<double>(candidate))) == offset)
            return Date::fromUnix(static_cast<double>(candidate));
    }
    return Date::fromUnix(static_cast<double>(local - std::min(before, after)));
}

std::optional<Date> NSCalendar::dateByAddingComponents(const NSDateComponents& add, Date date, unsigned long) const {
    auto delta = [](long long v) { return v == NSDateComponents::kUndefined ? 0 : v; };
    Date result = date;
    if (delta(add.year) || delta(add.month) || delta(add.day)) {
        auto c = components(date);
        c->year += delta(add.year);
        c->month += delta(add.month);
        // Keep the day within the new month (Jan 31 + 1 month is the last of February).
        auto firstOfMonth = NSDateComponents::make();
        firstOfMonth->year = c->year;
        firstOfMonth->month = c->month;
        auto normalised = components(*dateFromComponents(*firstOfMonth));
        long long y = normalised->year, m = normalised->month;
        long long daysInMonth = calendar::daysFromCivil(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1) - calendar::daysFromCivil(y, m, 1);
        c->year = y;
        c->month = m;
        c->day = std::min(c->day, daysInMonth) + delta(add.day);
        auto moved = dateFromComponents(*c);
        if (!moved) return std::nullopt;
        result = Date{moved->sinceReferenceDate + (date.sinceReferenceDate - std::floor(date.sinceReferenceDate))};
    }
    double seconds = static_cast<double>(delta(add.hour) * 3600 + delta(add.minute) * 60 + delta(add.second));
    return result.addingTimeInterval(seconds);
}

}  // namespace platform

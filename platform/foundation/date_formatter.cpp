#include "platform/foundation/date_formatter.h"

#include <memory>

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/simpletz.h>
#include <unicode/timezone.h>

#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"
#include "platform/foundation/locale.h"

namespace platform {

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

// NSDateFormatter reads two-digit years as 1950 to 2049, whatever today is.
constexpr double kTwoDigitStartUnix = -631152000.0;  // 1950-01-01 00:00:00 UTC

std::unique_ptr<icu::TimeZone> icuZone(const NSTimeZone* zone) {
    if (!zone) return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone("UTC"));
    std::unique_ptr<icu::TimeZone> tz(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone->name())));
    if (*tz != icu::TimeZone::getUnknown()) return tz;
    // A zone ICU does not know by name (one made from an offset) keeps its offset.
    auto offset = static_cast<int32_t>(zone->secondsFromGMTForDate(Date{}) * 1000);
    return std::make_unique<icu::SimpleTimeZone>(offset, icu::UnicodeString::fromUTF8(zone->name()));
}

// A strict ICU formatter of the pattern; null when ICU rejects the pattern.
std::unique_ptr<icu::SimpleDateFormat> icuFormatter(const NSDateFormatter& f) {
    UErrorCode status = U_ZERO_ERROR;
    auto out = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(f.dateFormat_),
                                                       icu::Locale::createCanonical(f.localeIdentifier_.c_str()), status);
    if (U_FAILURE(status)) return nullptr;
    out->adoptTimeZone(icuZone(f.timeZone_.get()).release());
    out->setLenient(false);
    out->set2DigitYearStart(kTwoDigitStartUnix * kMillisecondsPerSecond, status);
    return U_SUCCESS(status) ? std::move(out) : nullptr;
}

}  // namespace

std::optional<Date> NSDateFormatter::parse(std::string_view text) const {
    if (dateFormat_.empty()) return std::nullopt;
    auto f = icuFormatter(*this);
    if (!f) return std::nullopt;
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::ParsePosition pos(0);
    UDate ms = f->parse(input, pos);
    if (pos.getErrorIndex() >= 0 || pos.getIndex() != input.length()) return std::nullopt;
    return Date::fromUnix(ms / kMillisecondsPerSecond);
}

std::string NSDateFormatter::format(Date date) const {
    if (!dateFormat_.empty()) {
        auto f = icuFormatter(*this);
        if (!f) return {};
        icu::UnicodeString out;
        f->format(date.unix() * kMillisecondsPerSecond, out);
        std::string text;
        out.toUTF8String(text);
        return text;
    }
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
        })
        .property<&NSDateFormatter::dateFormat_>(sel::dateFormat, sel::setDateFormat_)
        .method(sel::setLocale_,
                [](id self, NSLocale* locale) {
                    as<NSDateFormatter>(self)->localeIdentifier_ = locale ? locale->localeIdentifier() : "en_US";
                })
        .method(sel::setTimeZone_,
                [](id self, id zone) {
                    auto* tz = as<NSTimeZone>(zone);
                    as<NSDateFormatter>(self)->timeZone_ = tz ? Ref<NSTimeZone>(tz) : NSTimeZone::systemTimeZone();
                })
        .method(sel::dateFromString_, [](id self, Value text) {
            if (!text.isString()) return Value();
            auto date = as<NSDateFormatter>(self)->parse(text.string());
            return date ? Value(*date) : Value();
        });
}

}  // namespace foundation
}  // namespace platform

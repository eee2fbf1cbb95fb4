#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/calendar.h"
#include "platform/foundation/date_formatter.h"
#include "platform/foundation/locale.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

Date utc(long long y, long long m, long long d, long long h, long long mi, long long s) {
    return Date::fromUnix(static_cast<double>(calendar::daysFromCivil(y, m, d) * 86400 + h * 3600 + mi * 60 + s));
}

Ref<Object> patternFormatter(const char* pattern, const char* locale, const char* zone) {
    Ref<Object> f = newObject("NSDateFormatter");
    sel::setDateFormat_(f, pattern);
    sel::setLocale_(f, NSLocale::localeWithLocaleIdentifier(locale).get());
    sel::setTimeZone_(f, NSTimeZone::timeZoneWithName(zone).get());
    return f;
}

// Booted in a far zone, with the OS zone elsewhere again: neither may leak
// into a formatter set to GMT.
class DatePatterns : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Asia/Tokyo", 1);
        env_ = std::make_unique<testing::TestEnvironment>(host::BootOptions{.timeZone = "America/Los_Angeles"});
    }
    std::unique_ptr<testing::TestEnvironment> env_;
};

TEST_F(DatePatterns, HttpDateInPosixLocaleAtGMT) {
    Ref<Object> f = patternFormatter("EEE, dd MMM yyyy HH:mm:ss", "en_US_POSIX", "GMT");
    Date d = utc(2026, 3, 9, 14, 7, 5);
    EXPECT_EQ(sel::stringFromDate_(f, Value(d)), Value("Mon, 09 Mar 2026 14:07:05"));
    EXPECT_EQ(sel::dateFromString_(f, Value("Mon, 09 Mar 2026 14:07:05")), Value(d));
    EXPECT_EQ(sel::dateFormat(f), "EEE, dd MMM yyyy HH:mm:ss");
}

TEST_F(DatePatterns, TheThreeHttpDateForms) {
    struct Case {
        const char* pattern;
        const char* text;
        Date date;
    };
    Date d = utc(1994, 11, 6, 8, 49, 37);
    const Case cases[] = {
        {"EEE, dd MMM yyyy HH:mm:ss z", "Sun, 06 Nov 1994 08:49:37 GMT", d},
        {"EEE MMM d HH:mm:ss yyyy", "Sun Nov 6 08:49:37 1994", d},
        {"EEEE, dd-MMM-yy HH:mm:ss z", "Sunday, 06-Nov-94 08:49:37 GMT", d},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        Ref<Object> f = patternFormatter(c.pattern, "en_US", "GMT");
        EXPECT_EQ(sel::dateFromString_(f, Value(c.text)), Value(c.date));
        EXPECT_EQ(sel::stringFromDate_(f, Value(c.date)), Value(c.text));
    }
    // Each form refuses the others' text, and a trailing rest.
    Ref<Object> rfc1123 = patternFormatter("EEE, dd MMM yyyy HH:mm:ss z", "en_US", "GMT");
    for (const char* bad : {"Sun Nov 6 08:49:37 1994", "Sunday, 06-Nov-94 08:49:37 GMT", "Sun, 06 Nov 1994 08:49:37 GMT x",
                            "Sun, 32 Nov 1994 08:49:37 GMT", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(sel::dateFromString_(rfc1123, Value(bad)).isNil());
    }
    EXPECT_TRUE(sel::dateFromString_(rfc1123, Value(5)).isNil());
}

TEST_F(DatePatterns, TimeZonesByName) {
    Date summer = utc(2026, 7, 1, 12, 0, 0);
    Ref<Object> f = patternFormatter("yyyy-MM-dd HH:mm ZZZZZ", "en_US_POSIX", "Europe/Berlin");
    EXPECT_EQ(sel::stringFromDate_(f, Value(summer)), Value("2026-07-01 14:00 +02:00"));
    EXPECT_EQ(sel::dateFromString_(f, Value("2026-07-01 14:00 +02:00")), Value(summer));

    EXPECT_EQ(NSTimeZone::timeZoneWithName("GMT")->secondsFromGMT(), 0);
    // The virtual clock starts in January: Berlin is one hour ahead.
    EXPECT_EQ(NSTimeZone::timeZoneWithName("Europe/Berlin")->secondsFromGMT(), 3600);
    EXPECT_EQ(NSTimeZone::timeZoneWithName("America/Los_Angeles")->secondsFromGMTForDate(summer), -7 * 3600);
    EXPECT_FALSE(NSTimeZone::timeZoneWithName("Nowhere/Atlantis"));
}

TEST_F(DatePatterns, StylesStillWorkWithoutAPattern) {
    Ref<Object> f = newObject("NSDateFormatter");
    sel::setTimeStyle_(f, NSDateFormatterShortStyle);
    // The process's zone (Los Angeles, eight hours behind in March).
    EXPECT_EQ(sel::stringFromDate_(f, Value(utc(2026, 3, 2, 14, 7, 0))), Value("6:07 AM"));
    EXPECT_TRUE(sel::dateFromString_(f, Value("6:07 AM")).isNil());
}

}  // namespace
}  // namespace platform

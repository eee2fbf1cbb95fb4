#include "platform/foundation/date_formatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/calendar.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

Date utc(long long y, long long m, long long d, long long h, long long mi) {
    return Date::fromUnix(static_cast<double>(calendar::daysFromCivil(y, m, d) * 86400 + h * 3600 + mi * 60));
}

Ref<Object> formatter(long long dateStyle, long long timeStyle) {
    Ref<Object> f = newObject("NSDateFormatter");
    sel::setDateStyle_(f, dateStyle);
    sel::setTimeStyle_(f, timeStyle);
    return f;
}

TEST(DateFormatter, TheShortTimeStyleInTheProcesssTimeZone) {
    testing::TestEnvironment env{host::BootOptions{.timeZone = "Europe/Berlin"}};
    Ref<Object> f = formatter(NSDateFormatterNoStyle, NSDateFormatterShortStyle);
    struct Case {
        Date date;
        const char* text;
    };
    const Case cases[] = {
        {utc(2026, 1, 5, 5, 30), "6:30 AM"},    // winter: UTC+1
        {utc(2026, 7, 5, 5, 30), "7:30 AM"},    // summer: UTC+2
        {utc(2026, 1, 4, 23, 5), "12:05 AM"},   // midnight is 12
        {utc(2026, 1, 5, 11, 0), "12:00 PM"},   // noon too
        {utc(2026, 1, 5, 22, 59), "11:59 PM"},
    };
    for (const Case& c : cases) EXPECT_EQ(sel::stringFromDate_(f, Value(c.date)), Value(c.text));
    EXPECT_TRUE(sel::stringFromDate_(f, Value("not a date")).isNil());
    EXPECT_EQ(sel::timeStyle(f), NSDateFormatterShortStyle);
    EXPECT_EQ(sel::dateStyle(f), NSDateFormatterNoStyle);
}

TEST(DateFormatter, DateAndTimeStylesTogether) {
    testing::TestEnvironment env;
    Date d = utc(2026, 3, 9, 14, 7);
    EXPECT_EQ(sel::stringFromDate_(formatter(NSDateFormatterShortStyle, NSDateFormatterNoStyle), Value(d)), Value("3/9/26"));
    EXPECT_EQ(sel::stringFromDate_(formatter(NSDateFormatterShortStyle, NSDateFormatterShortStyle), Value(d)), Value("3/9/26, 2:07 PM"));
    EXPECT_EQ(sel::stringFromDate_(formatter(NSDateFormatterNoStyle, NSDateFormatterNoStyle), Value(d)), Value(""));
}

}  // namespace
}  // namespace platform

#include "platform/foundation/calendar.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

Date utc(long long y, long long m, long long d, long long h = 0, long long mi = 0, long long s = 0) {
    return Date::fromUnix(static_cast<double>(calendar::daysFromCivil(y, m, d) * 86400 + h * 3600 + mi * 60 + s));
}

class Calendar : public ::testing::Test {
protected:
    testing::TestEnvironment env{host::BootOptions{.timeZone = "Europe/Berlin"}};
    Ref<NSCalendar> cal = NSCalendar::calendarWithIdentifier("gregorian");
};

TEST_F(Calendar, ZonesKnowTheirOffsetsAndDaylightSaving) {
    auto berlin = NSTimeZone::timeZoneWithName("Europe/Berlin");
    ASSERT_TRUE(berlin);
    EXPECT_EQ(berlin->secondsFromGMTForDate(utc(2026, 1, 15)), 3600);
    EXPECT_EQ(berlin->secondsFromGMTForDate(utc(2026, 7, 15)), 7200);
    EXPECT_TRUE(berlin->isDaylightSavingTimeForDate(utc(2026, 7, 15)));
    // 2026-03-29 01:00 UTC is when Berlin moves to summer time.
    EXPECT_EQ(berlin->secondsFromGMTForDate(utc(2026, 3, 29, 0, 59, 59)), 3600);
    EXPECT_EQ(berlin->secondsFromGMTForDate(utc(2026, 3, 29, 1, 0, 0)), 7200);
    EXPECT_EQ(NSTimeZone::timeZoneWithName("UTC")->secondsFromGMTForDate(utc(2026, 7, 15)), 0);
    EXPECT_FALSE(NSTimeZone::timeZoneWithName("Nowhere/Special"));
    EXPECT_FALSE(NSTimeZone::timeZoneWithName("../../etc/passwd"));
    EXPECT_EQ(NSTimeZone::systemTimeZone()->name(), "Europe/Berlin");
}

TEST_F(Calendar, ComponentsAreLocal) {
    auto c = cal->components(utc(2026, 1, 5, 6, 30, 15));
    EXPECT_EQ(c->year, 2026);
    EXPECT_EQ(c->month, 1);
    EXPECT_EQ(c->day, 5);
    EXPECT_EQ(c->hour, 7);
    EXPECT_EQ(c->minute, 30);
    EXPECT_EQ(c->second, 15);
    EXPECT_EQ(c->weekday, 2);  // Monday
}

TEST_F(Calendar, DatesFromComponentsResolveGapsAndOverlaps) {
    struct Case {
        long long y, m, d, h, mi;
        Date want;
    };
    const Case cases[] = {
        {2026, 1, 5, 7, 0, utc(2026, 1, 5, 6, 0)},
        {2026, 3, 29, 2, 30, utc(2026, 3, 29, 1, 30)},   // in the spring gap: moved on by an hour
        {2026, 10, 25, 2, 30, utc(2026, 10, 25, 0, 30)},  // twice in autumn: the earlier
        {2026, 13, 1, 0, 0, utc(2026, 12, 31, 23, 0)},    // month 13 is January next year
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.m) + "/" + std::to_string(c.d) + " " + std::to_string(c.h));
        auto comps = NSDateComponents::make();
        comps->year = c.y;
        comps->month = c.m;
        comps->day = c.d;
        comps->hour = c.h;
        comps->minute = c.mi;
        auto date = cal->dateFromComponents(*comps);
        ASSERT_TRUE(date);
        EXPECT_DOUBLE_EQ(date->sinceReferenceDate, c.want.sinceReferenceDate);
    }
}

TEST_F(Calendar, AddingComponents) {
    auto minus9plus30 = NSDateComponents::make();
    minus9plus30->minute = -9;
    minus9plus30->second = 30;
    Date fired = utc(2026, 1, 5, 6, 9);
    EXPECT_DOUBLE_EQ(cal->dateByAddingComponents(*minus9plus30, fired)->sinceReferenceDate, utc(2026, 1, 5, 6, 0, 30).sinceReferenceDate);

    auto oneDay = NSDateComponents::make();
    oneDay->day = 1;
    // Across the spring change a day on the wall clock is 23 hours.
    Date before = utc(2026, 3, 28, 6, 0);
    EXPECT_DOUBLE_EQ(cal->dateByAddingComponents(*oneDay, before)->sinceReferenceDate, utc(2026, 3, 29, 5, 0).sinceReferenceDate);

    auto oneMonth = NSDateComponents::make();
    oneMonth->month = 1;
    EXPECT_DOUBLE_EQ(cal->dateByAddingComponents(*oneMonth, utc(2026, 1, 31, 12, 0))->sinceReferenceDate,
                     utc(2026, 2, 28, 12, 0).sinceReferenceDate);
}

}  // namespace
}  // namespace platform

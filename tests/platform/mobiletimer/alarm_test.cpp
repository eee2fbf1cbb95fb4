#include "platform/mobiletimer/alarm.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class ClockModel : public ::testing::Test {
protected:
    testing::TestEnvironment env{host::BootOptions{.bundleIdentifier = host::kClockApp, .systemVersion = "8.4"}};
    Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
    Ref<Object> alarmAt(long long h, long long m, long long days = 0) {
        auto a = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(a, h);
        sel::setMinute_(a, m);
        sel::setDaySetting_(a, days);
        return a;
    }
};

TEST_F(ClockModel, NextFireDateIsTheNextMatchingTime) {
    // Now: Monday 2026-01-05 06:00 UTC.
    struct Case {
        long long h, m, days;
        double hoursAhead;
    };
    const Case cases[] = {
        {7, 0, 0, 1},         // later today
        {5, 0, 0, 23},        // tomorrow
        {6, 0, 0, 24},        // exactly now: tomorrow
        {7, 0, 1 << 6, 145},  // Sundays only
        {6, 0, 1 << 0, 168},  // Mondays at this very minute: next week
        {8, 30, 0b0011111, 2.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.h) + ":" + std::to_string(c.m) + " days " + std::to_string(c.days));
        Value next = sel::nextFireDate(alarmAt(c.h, c.m, c.days));
        EXPECT_DOUBLE_EQ(NSDate::timeIntervalSinceNow(next.date()), c.hoursAhead * 3600);
    }
}

TEST_F(ClockModel, AddingGivesIdsAndAnotherManagerSeesTheAlarmsAfterLoading) {
    auto a = alarmAt(7, 0), b = alarmAt(8, 0);
    sel::addAlarm_active_(manager, a, true);
    sel::addAlarm_active_(manager, b, false);
    EXPECT_NE(sel::alarmId(a), sel::alarmId(b));
    std::string seen = testing::runInChild([id = sel::alarmId(b)] {
        auto m = sel::sharedManager(objc_getClass("AlarmManager"));
        sel::loadAlarms(m);
        auto found = sel::alarmWithId_(m, id);
        return std::to_string(sel::alarms(m).count()) + (found && !sel::isActive(found) ? " inactive" : " ?");
    });
    EXPECT_EQ(seen, "2 inactive");
    // Alarms compare by id, also across loads.
    auto before = sel::alarmWithId_(manager, sel::alarmId(a));
    sel::loadAlarms(manager);
    auto after = sel::alarmWithId_(manager, sel::alarmId(a));
    EXPECT_NE(before.get(), after.get());
    EXPECT_TRUE(sel::isEqual_(before, after));
    EXPECT_FALSE(sel::isEqual_(before, b));
}

}  // namespace
}  // namespace platform

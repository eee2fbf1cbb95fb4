// The Clock app's alarms as local notifications: their fire dates, the
// scheduling into SpringBoard per iOS version, the hand-over from the Clock
// app's process, and that SpringBoard only ever keeps copies.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/foundation/calendar.h"
#include "platform/foundation/log.h"
#include "platform/mobiletimer/scheduling.h"
#include "tests/platform/springboard/springboard_test_support.h"

namespace platform::sbtest {
namespace {

constexpr double kHour = 3600, kDay = 86400;
// Bits of an alarm's days: Monday is bit 0.
constexpr long long kMonday = 1 << 0, kWednesday = 1 << 2;

Date start() { return Date::fromUnix(testing::kDefaultStart); }  // Monday 06:00 UTC

TEST(LocalNotification, NextFireDateAfterADate) {
    testing::TestEnvironment env(springBoardOn("9.3"));
    struct Case {
        const char* what;
        double fireIn;  // from the start
        unsigned long long repeat;
        double after;                 // from the start
        std::optional<double> next;   // from the start; none: nil
    };
    const Case cases[] = {
        {"later, once", kHour, 0, 0, kHour},
        {"at the very date, once", kHour, 0, kHour, std::nullopt},
        {"past, once", -kHour, 0, 0, std::nullopt},
        {"past, daily", -kHour, NSCalendarUnitDay, 0, kDay - kHour},
        {"past, weekly", -kHour, NSCalendarUnitWeekOfYear, 0, 7 * kDay - kHour},
        {"three weeks past, weekly", -21 * kDay + kHour, NSCalendarUnitWeekOfYear, 0, kHour},
        {"at the date, hourly", 0, NSCalendarUnitHour, 0, kHour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto n = UILocalNotification::make();
        sel::setFireDate_(n, Value(start().addingTimeInterval(c.fireIn)));
        sel::setRepeatInterval_(n, c.repeat);
        Value next = sel::nextFireDateAfterDate_localTimeZone_(n, Value(start().addingTimeInterval(c.after)), nullptr);
        if (!c.next) {
            EXPECT_TRUE(next.isNil()) << next.description();
        } else {
            ASSERT_EQ(next.kind(), Value::Kind::Date);
            EXPECT_DOUBLE_EQ(next.date().timeIntervalSinceDate(start()), *c.next);
        }
    }
}

TEST(LocalNotification, WithATimeZoneTheFireDateIsWallClockTime) {
    testing::TestEnvironment env(springBoardOn("9.3"));
    auto berlin = NSTimeZone::timeZoneWithName("Europe/Berlin");
    auto newYork = NSTimeZone::timeZoneWithName("America/New_York");
    ASSERT_TRUE(berlin && newYork);
    auto n = UILocalNotification::make();
    // 08:00 in Berlin on 6 January 2026 (07:00 UTC).
    sel::setFireDate_(n, Value(start().addingTimeInterval(kDay + kHour)));
    sel::setTimeZone_(n, berlin);
    Value same = sel::nextFireDateAfterDate_localTimeZone_(n, Value(start()), berlin);
    EXPECT_DOUBLE_EQ(same.date().timeIntervalSinceDate(start()), kDay + kHour);
    // Read in New York it is 08:00 there (13:00 UTC).
    Value moved = sel::nextFireDateAfterDate_localTimeZone_(n, Value(start()), newYork);
    EXPECT_DOUBLE_EQ(moved.date().timeIntervalSinceDate(start()), kDay + 7 * kHour);
    // Without a time zone the date is absolute.
    sel::setTimeZone_(n, nullptr);
    Value absolute = sel::nextFireDateAfterDate_localTimeZone_(n, Value(start()), newYork);
    EXPECT_DOUBLE_EQ(absolute.date().timeIntervalSinceDate(start()), kDay + kHour);
}

TEST(LocalNotification, ACopyIsIndependent) {
    testing::TestEnvironment env(springBoardOn("8.4"));
    auto n = UILocalNotification::make();
    sel::setUserInfo_(n, Value{{"alarmId", Value("ALARM-1")}});
    sel::setFireDate_(n, Value(start()));
    sel::setRepeatCalendar_(n, NSCalendar::calendarWithIdentifier("gregorian"));
    sel::setAllowSnooze_(n, true);
    Ref<Object> copy = sel::copy(n);
    ASSERT_TRUE(isKindOfClass(copy, "UILocalNotification"));
    EXPECT_NE(copy.get(), n.get());
    EXPECT_EQ(sel::userInfo(copy), sel::userInfo(n));
    EXPECT_TRUE(sel::allowSnooze(copy));
    EXPECT_EQ(sel::repeatCalendar(copy).get(), sel::repeatCalendar(n).get());
    sel::setUserInfo_(copy, Value{{"alarmId", Value("ALARM-1")}, {"isSnooze", Value(true)}});
    sel::setFireDate_(copy, Value(start().addingTimeInterval(60)));
    EXPECT_TRUE(sel::userInfo(n)["isSnooze"].isNil());
    EXPECT_EQ(sel::fireDate(n).date(), start());
}

class Scheduling : public ::testing::TestWithParam<const char*>, public SpringBoardTest {
protected:
    Scheduling() : SpringBoardTest(GetParam(), options()) {}
    static host::BootOptions options() {
        auto o = springBoardOn(GetParam());
        o.timeZone = "Europe/Berlin";
        return o;
    }
    Ref<Object> manager() { return sel::sharedManager(objc_getClass("AlarmManager")); }
    const char* schedulingCall() const {
        return major() == 9 ? "UNLocalNotificationClient setScheduledLocalNotifications:"
                            : "SBApplication scheduleLocalNotifications:replaceExistingNotifications:";
    }
};

TEST_P(Scheduling, EveryChangeOfTheAlarmsSchedulesTheActiveOnesInSpringBoard) {
    // Berlin is an hour ahead of UTC in January: 07:00 UTC is 08:00 there.
    Ref<Object> once = addAlarm(8, 0);
    Ref<Object> repeating = addAlarm(9, 30, kMonday | kWednesday);
    auto scheduled = springboard::scheduledNotifications();
    ASSERT_EQ(scheduled.size(), 3u);
    struct Want {
        const char* alarmId;
        double inHours;
        unsigned long long repeat;
    };
    const Want want[] = {{"ALARM-1", 1, 0}, {"ALARM-2", 2.5, NSCalendarUnitWeekOfYear}, {"ALARM-2", 50.5, NSCalendarUnitWeekOfYear}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        auto* n = scheduled[i].notification.get();
        EXPECT_EQ(n->alarmId(), Value(want[i].alarmId));
        EXPECT_DOUBLE_EQ(n->fireDate_.date().timeIntervalSinceDate(start()), want[i].inHours * kHour);
        EXPECT_EQ(n->repeatInterval_, want[i].repeat);
        EXPECT_EQ(as<NSTimeZone>(n->timeZone_.get())->name(), "Europe/Berlin");
        EXPECT_TRUE(isKindOfClass(n->repeatCalendar_, "NSCalendar"));
        EXPECT_EQ(n->alertBody_, Value("Wake up"));
        EXPECT_TRUE(n->allowSnooze_);
        EXPECT_FALSE(scheduled[i].snooze);
    }
    EXPECT_EQ(callLog::lines(schedulingCall()).size(), 2u);
    // The data provider publishes at each change.
    EXPECT_EQ(callLog::count("SBClockDataProvider", "_publishAlarmsWithScheduledNotifications:"), 2);
    EXPECT_TRUE(callsInOrder({schedulingCall(), "SBClockDataProvider _scheduledNotifications",
                              "SBClockDataProvider _publishAlarmsWithScheduledNotifications: 3"}));

    // Toggled off, then removed: gone from SpringBoard.
    sel::updateAlarm_active_(manager(), repeating, false);
    EXPECT_EQ(springboard::scheduledNotifications().size(), 1u);
    sel::removeAlarm_(manager(), once);
    EXPECT_TRUE(springboard::scheduledNotifications().empty());
    sel::updateAlarm_active_(manager(), repeating, true);
    EXPECT_EQ(springboard::scheduledNotifications().size(), 2u);
    EXPECT_EQ(callLog::lines(schedulingCall()).size(), 5u);
}

TEST_P(Scheduling, ARepeatingAlarmRingsEveryWeekAndStaysScheduled) {
    addAlarm(8, 0, kMonday);  // Mondays 08:00 Berlin, an hour from now
    const char* fire = major() == 9 ? "UNLocalNotificationClient" : "SBApplication";
    advance(kHour);
    EXPECT_EQ(callLog::count(fire, "_fireNotification:"), 1);
    sel::deactivateAlertItem_(alertItems(), visibleItem());
    ASSERT_EQ(springboard::scheduledNotifications().size(), 1u);
    EXPECT_DOUBLE_EQ(springboard::scheduledNotifications()[0].nextFireDate.timeIntervalSinceDate(clock::now()), 7 * kDay);
    advance(7 * kDay - 1);
    EXPECT_EQ(callLog::count(fire, "_fireNotification:"), 1);
    advance(1);
    EXPECT_EQ(callLog::count(fire, "_fireNotification:"), 2);
}

// What a system hooking the firing does to the fired notification (it marks it
// as the snooze marking does) never reaches the scheduled one.
void (*original_fireNotification)(id, id) = nullptr;
void markingFireNotification(id self, id n) {
    sel::setUserInfo_(n, Value{{"alarmId", sel::userInfo(n)["alarmId"]}, {"isSnooze", Value(true)}});
    original_fireNotification(self, n);
}

TEST_P(Scheduling, FiringAndSnoozingNeverChangeAScheduledNotification) {
    Class* receiver = objc_getClass(major() == 9 ? "UNLocalNotificationClient" : "SBApplication");
    MSHookMessageEx(receiver, sel::_fireNotification_, &markingFireNotification, &original_fireNotification);
    addAlarm(8, 0, kMonday);
    Ref<UILocalNotification> before = springboard::scheduledNotifications().at(0).notification;
    Value fireDate = before->fireDate_;
    advance(kHour);
    ASSERT_TRUE(touch::pressButton("Snooze"));
    auto scheduled = springboard::scheduledNotifications();
    ASSERT_EQ(scheduled.size(), 2u);
    for (const auto& s : scheduled) {
        SCOPED_TRACE(s.snooze ? "snooze" : "weekly");
        // The snooze is a copy of the marked notification; the weekly one is untouched.
        EXPECT_EQ(s.notification->userInfo_["isSnooze"].boolValue(), s.snooze);
        if (!s.snooze) {
            EXPECT_EQ(s.notification->fireDate_, fireDate);
        }
    }
    EXPECT_TRUE(before->userInfo_["isSnooze"].isNil());
    EXPECT_EQ(before->fireDate_, fireDate);
}

TEST_P(Scheduling, AlarmsKeepTheirNotificationAndTellAlarmNotificationsApart) {
    Ref<Object> alarm = addAlarm(8, 0, kMonday | kWednesday);
    Class* alarmClass = objc_getClass("Alarm");
    EXPECT_EQ(class_hasInstanceVariable(alarmClass, "_notification"), major() >= 8);
    auto* mine = as<Alarm>(alarm.get());
    ASSERT_TRUE(mine->notification);
    // The earliest of its two.
    EXPECT_DOUBLE_EQ(as<UILocalNotification>(mine->notification.get())->fireDate_.date().timeIntervalSinceDate(start()), kHour);

    // Loaded again, alarms have no notification until the notifications are loaded too.
    sel::loadAlarms(manager());
    Ref<Object> loaded = sel::alarmWithId_(manager(), sel::userInfo(mine->notification)["alarmId"]);
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(as<Alarm>(loaded.get())->notification);
    sel::loadScheduledNotifications(manager());
    EXPECT_TRUE(as<Alarm>(loaded.get())->notification);
    if (major() >= 8) {
        EXPECT_TRUE(isKindOfClass(object_getIvar(loaded, "_notification").object(), "UILocalNotification"));
    }

    auto other = UILocalNotification::make();
    sel::setUserInfo_(other, Value{{"timerId", Value("T")}});
    Class* managerClass = objc_getClass("AlarmManager");
    EXPECT_TRUE(sel::isAlarmNotification_(managerClass, mine->notification));
    EXPECT_FALSE(sel::isAlarmNotification_(managerClass, other));
    EXPECT_FALSE(sel::isAlarmNotification_(managerClass, nullptr));
}

TEST_P(Scheduling, ANotificationTheSystemWouldNeverFireIsRefused) {
    auto notification = [&](Value fireDate, unsigned long long repeat) {
        auto n = UILocalNotification::make();
        sel::setUserInfo_(n, Value{{"alarmId", Value("ALARM-9")}});
        n->fireDate_ = fireDate;
        n->repeatInterval_ = repeat;
        return Value(n);
    };
    const Value refused[] = {
        notification(Value(), NSCalendarUnitWeekOfYear),                       // repeats without a fire date
        notification(Value(start().addingTimeInterval(60)), 1 << 20),         // by no calendar unit
        notification(Value(Date{std::nan("")}), 0),                            // at no time
        notification(Value(Date{std::numeric_limits<double>::infinity()}), 0),
    };
    const Value kept = notification(Value(start().addingTimeInterval(60)), NSCalendarUnitDay);
    for (const Value& n : refused) {
        SCOPED_TRACE(as<UILocalNotification>(n.object())->repeatInterval_);
        springboard::scheduleClockNotifications(Value::array({n, kept}));
        ASSERT_EQ(springboard::scheduledNotifications().size(), 1u);
        EXPECT_EQ(springboard::scheduledNotifications()[0].notification->repeatInterval_, NSCalendarUnitDay);
    }
    EXPECT_TRUE(log::contains("not scheduling"));
    // The one kept fires once a day; nothing comes due at one instant for ever.
    const char* fire = major() == 9 ? "UNLocalNotificationClient" : "SBApplication";
    advance(kDay);
    EXPECT_EQ(callLog::count(fire, "_fireNotification:"), 1);
}

INSTANTIATE_TEST_SUITE_P(Versions, Scheduling, ::testing::Values("7.1", "8.4", "9.3"), [](const auto& info) {
    return "iOS" + std::string(1, info.param[0]);
});

// In the Clock app's process the hand-over goes to whatever the device
// transport installs; without one nothing leaves the process.
TEST(ClockAppScheduling, HandsTheWholeListToTheInstalledForwarder) {
    host::BootOptions options;
    options.bundleIdentifier = host::kClockApp;
    options.systemVersion = "8.4";
    testing::TestEnvironment env(options);
    EXPECT_FALSE(objc_getClass("SBApplication"));
    Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
    auto alarm = [] {
        Ref<Object> a = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(a, 7);
        return a;
    };
    sel::addAlarm_active_(manager, alarm(), true);  // no forwarder: nothing happens

    std::vector<std::size_t> handed;
    mobiletimer::setScheduleHandOver([&](const Value& list) {
        handed.push_back(list.count());
        for (const Value& n : list.array()) EXPECT_TRUE(isKindOfClass(n.object(), "UILocalNotification"));
    });
    sel::addAlarm_active_(manager, alarm(), true);
    Ref<Object> off = alarm();
    sel::addAlarm_active_(manager, off, false);
    sel::updateAlarm_active_(manager, off, true);
    sel::removeAlarm_(manager, off);
    EXPECT_EQ(handed, (std::vector<std::size_t>{2, 2, 3, 2}));
    mobiletimer::setScheduleHandOver(nullptr);
}

}  // namespace
}  // namespace platform::sbtest

#include "platform/mobiletimer/edit_alarm.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/window.h"

namespace platform {
namespace {

// "EditRecorder": the alarm list's side of the edit screen.
class EditRecorder : public NSObject {};

class StockEditScreen : public ::testing::Test {
protected:
    StockEditScreen() : env(host::BootOptions{.bundleIdentifier = host::kClockApp, .systemVersion = "8.4"}) {
        ClassBuilder<EditRecorder>("EditRecorder", "NSObject").method(sel::didEditAlarm_, [](id, id alarm) {
            callLog::record("EditRecorder", "didEditAlarm:", as<Alarm>(alarm)->summary());
        });
        manager = sel::sharedManager(objc_getClass("AlarmManager"));
        window = as<UIWindow>(sel::initWithFrame_(alloc("UIWindow"), Rect(0, 0, 320, 568)));
        sel::setHidden_(window, false);
    }
    Ref<Object> existingAlarm() {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::addAlarm_active_(manager, alarm, true);
        return alarm;
    }
    Ref<EditAlarmViewController> open(id alarm) {
        auto screen = as<EditAlarmViewController>(sel::initWithAlarm_(alloc("EditAlarmViewController"), alarm));
        sel::setRootViewController_(window, screen);
        return screen;
    }
    static Ref<Object> cellText(id screen, long long section, long long row) {
        Ref<Object> table = object_getIvar(object_getIvar(screen, "_editAlarmView").object(), "_settingsTable").object();
        return sel::textLabel(sel::tableView_cellForRowAtIndexPath_(screen, table, NSIndexPath::make(section, row)));
    }

    testing::TestEnvironment env;
    Ref<Object> manager;
    Ref<UIWindow> window;
};

TEST_F(StockEditScreen, TheViewHoldsThePickerAboveTheSettingsTable) {
    Ref<Object> alarm = existingAlarm();
    auto screen = open(alarm);
    Ref<Object> view = object_getIvar(screen, "_editAlarmView").object();
    ASSERT_TRUE(view);
    EXPECT_EQ(view.get(), screen->view_.get());
    Ref<Object> picker = object_getIvar(view, "_timePicker").object();
    Ref<Object> table = object_getIvar(view, "_settingsTable").object();
    EXPECT_EQ(sel::timePicker(view).get(), picker.get());
    EXPECT_TRUE(isKindOfClass(picker, "UIDatePicker"));
    EXPECT_EQ(sel::style(table), UITableViewStyleGrouped);
    EXPECT_EQ(sel::dataSource(table).get(), screen.get());
    EXPECT_EQ(sel::delegate(table).get(), screen.get());
    EXPECT_EQ(valueForKey(screen, "alarm").object(), alarm.get());
    // The picker shows the alarm's time (7:00) once the screen appears.
    EXPECT_EQ(sel::countDownDuration(picker), 7 * 3600);
    EXPECT_EQ(callLog::lines("EditAlarmViewController view"),
              (std::vector<std::string>{"EditAlarmViewController viewDidLoad", "EditAlarmViewController viewWillAppear:"}));
}

TEST_F(StockEditScreen, ANewAlarmHasNoDeleteRowAndGetsItsIdFromTheManagerOnDone) {
    Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
    auto screen = open(alarm);
    Ref<Object> table = screen->editAlarmView_->settingsTable_;
    EXPECT_EQ(sel::numberOfSectionsInTableView_(screen, table), 1);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(screen, table, 0), 4);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(screen, table, 1), 0);
    // Asked anyway, the second section answers the Delete row.
    EXPECT_EQ(sel::text(cellText(screen, 1, 5)), Value("Delete Alarm"));

    sel::setCountDownDuration_(screen->editAlarmView_->timePicker_, 6 * 3600 + 45 * 60);
    callLog::clear();
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_EQ(callLog::lines("Alarm"), (std::vector<std::string>{"EditAlarmViewController _doneButtonClicked:",
                                                                "AlarmManager addAlarm:active: ALARM-1 06:45 YES"}));
    EXPECT_EQ(sel::alarmId(alarm), Value("ALARM-1"));
}

TEST_F(StockEditScreen, AnExistingAlarmIsUpdatedWithTheProxysChangesOnlyOnDone) {
    Ref<Object> alarm = existingAlarm();
    auto screen = open(alarm);
    Ref<Object> table = screen->editAlarmView_->settingsTable_;
    EXPECT_EQ(sel::numberOfSectionsInTableView_(screen, table), 2);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(screen, table, 1), 1);
    const char* texts[] = {"Repeat", "Label", "Sound", "Snooze"};
    for (long long row = 0; row < 4; ++row) EXPECT_EQ(sel::text(cellText(screen, 0, row)), Value(texts[row]));
    Ref<Object> snooze = sel::tableView_cellForRowAtIndexPath_(screen, table, NSIndexPath::make(0, 3));
    EXPECT_TRUE(isKindOfClass(sel::accessoryView(snooze), "UISwitch"));

    Ref<Object> delegate = newObject("EditRecorder");
    sel::setDelegate_(screen, delegate);
    Ref<Object> proxy = sel::editingProxy(alarm);
    sel::setTitle_(proxy, Value("Work"));
    EXPECT_EQ(sel::uiTitle(alarm), Value());
    sel::setCountDownDuration_(screen->editAlarmView_->timePicker_, 5 * 3600 + 10 * 60);
    callLog::clear();
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_EQ(callLog::lines("Alarm"),
              (std::vector<std::string>{"EditAlarmViewController _doneButtonClicked:", "AlarmManager updateAlarm:active: ALARM-1 05:10 YES",
                                        "EditRecorder didEditAlarm: ALARM-1 05:10"}));
    EXPECT_EQ(sel::uiTitle(alarm), Value("Work"));
    EXPECT_NE(sel::editingProxy(alarm).get(), proxy.get());  // a later edit starts afresh

    // The Done button of the navigation item sends the same.
    Ref<Object> done = sel::rightBarButtonItem(sel::navigationItem(screen));
    callLog::clear();
    as<UIBarButtonItem>(done)->press();
    EXPECT_EQ(callLog::count("EditAlarmViewController", "_doneButtonClicked:"), 1);
}

TEST(StockEditScreenHosts, OnlyTheClockAppHasTheScreen) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "9.3"});
    EXPECT_TRUE(objc_getClass("Alarm"));
    EXPECT_FALSE(objc_getClass("EditAlarmViewController"));
}

}  // namespace
}  // namespace platform

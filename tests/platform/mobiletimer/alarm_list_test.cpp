#include "platform/mobiletimer/alarm_list.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/alarm.h"
#include "platform/mobiletimer/edit_alarm.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/window.h"

namespace platform {
namespace {

using Lines = std::vector<std::string>;

// The stock alarm list, without the tweak.
class StockAlarmList : public ::testing::Test {
protected:
    StockAlarmList() : env(host::BootOptions{.bundleIdentifier = host::kClockApp, .systemVersion = "9.3"}) {
        manager = sel::sharedManager(objc_getClass("AlarmManager"));
        for (long long h : {6, 7}) {
            Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
            sel::setHour_(alarm, h);
            sel::setMinute_(alarm, 5);
            if (h == 7) sel::setTitle_(alarm, Value("Gym"));
            sel::addAlarm_active_(manager, alarm, h == 6);
        }
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        list = as<AlarmViewController>(newObject("AlarmViewController"));
        sel::setRootViewController_(window, list);
        sel::makeKeyAndVisible(window);
        layoutIfNeeded(window);
    }
    AlarmView* row(long long r) { return as<AlarmTableViewCell>(list->tableView_->visibleCell({0, r}).get())->alarmView_.get(); }
    Point rowPoint(long long r) { return list->tableView_->toScreen(Point{100, list->tableView_->rectForRow({0, r}).midY()}); }
    Value alarms() { return sel::alarms(manager); }

    platform::testing::TestEnvironment env;
    Ref<Object> manager;
    Ref<UIWindow> window;
    Ref<AlarmViewController> list;
};

TEST_F(StockAlarmList, ShowsARowPerAlarmWithItsTimeNameAndSwitch) {
    EXPECT_EQ(list->tableView_->rowCount(0), 2);
    EXPECT_EQ(list->tableView_->rectForRow({0, 1}), Rect(0, 80, 320, 80));
    EXPECT_EQ(sel::text(row(0)->timeLabel_), Value("6:05"));
    EXPECT_EQ(sel::text(row(0)->nameLabel_), Value("Alarm"));
    EXPECT_EQ(sel::text(row(1)->nameLabel_), Value("Gym"));
    EXPECT_TRUE(row(0)->enabledSwitch_->on_);
    EXPECT_FALSE(row(1)->enabledSwitch_->on_);
    EXPECT_EQ(sel::frame(row(0)->enabledSwitch_), Rect(320 - 16 - 51, 24.5, 51, 31));
    EXPECT_EQ(object_getIvar(list->tableView_->visibleCell({0, 0}), "_alarmView").object(), row(0));
    EXPECT_EQ(object_getIvar(row(0), "_enabledSwitch").object(), row(0)->enabledSwitch_.get());
    // The cell handed the name to its view.
    EXPECT_EQ(callLog::lines("setName:andRepeatText:textColor:"),
              (Lines{"AlarmView setName:andRepeatText:textColor: Alarm", "AlarmView setName:andRepeatText:textColor: Gym"}));
    Ref<Object> item = sel::navigationItem(list);
    EXPECT_EQ(sel::leftBarButtonItem(item).get(), sel::editButtonItem(list).get());
    EXPECT_EQ(as<UIBarButtonItem>(sel::rightBarButtonItem(item))->systemItem_, UIBarButtonSystemItemAdd);
}

TEST_F(StockAlarmList, TheSwitchTurnsItsAlarmOnOrOff) {
    callLog::clear();
    touch::tap(row(1)->enabledSwitch_.get());
    EXPECT_EQ(callLog::count("AlarmManager", "updateAlarm:active:"), 1);
    EXPECT_TRUE(sel::isActive(alarms().at(1).object()));
    EXPECT_TRUE(row(1)->enabledSwitch_->on_);
}

TEST_F(StockAlarmList, OnlyEditModeOpensARowsAlarmAndOffersDeletion) {
    callLog::clear();
    touch::tap(rowPoint(1));
    EXPECT_FALSE(list->presented_);
    EXPECT_FALSE(list->tableView_->swipeToDeleteRow({0, 1}));
    as<UIBarButtonItem>(sel::editButtonItem(list))->press();
    EXPECT_TRUE(sel::isEditing(list->tableView_));
    EXPECT_EQ(sel::title(sel::editButtonItem(list)), Value("Done"));
    touch::tap(rowPoint(1));
    EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: 1"});
    // The edit screen comes inside a navigation controller of its own.
    Ref<Object> shown = list->presented_;
    ASSERT_TRUE(isKindOfClass(shown, "UINavigationController"));
    auto* screen = as<EditAlarmViewController>(sel::topViewController(shown).get());
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->alarm_.get(), alarms().at(1).object());
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_EQ(callLog::count("AlarmViewController", "didEditAlarm:"), 1);
    RunLoop::main().advance(0);  // the layout pass after the edit
    // Deleting a row removes its alarm.
    sel::tableView_commitEditingStyle_forRowAtIndexPath_(list, list->tableView_, UITableViewCellEditingStyleDelete, NSIndexPath::make(0, 0));
    EXPECT_EQ(alarms().count(), 1u);
    EXPECT_EQ(list->tableView_->rowCount(0), 1);
    EXPECT_EQ(sel::title(alarms().at(0).object()), Value("Gym"));
}

}  // namespace
}  // namespace platform

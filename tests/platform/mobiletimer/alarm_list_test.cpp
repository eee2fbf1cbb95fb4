#include "platform/mobiletimer/alarm_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/foundation/run_loop.h"
#include "platform/host/user_actions.h"
#include "platform/mobiletimer/alarm.h"
#include "platform/mobiletimer/edit_alarm.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/button.h"
#include "platform/uikit/navigation_controller.h"
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

// The list as the Clock app shows it: at the bottom of a navigation controller.
class StockAlarmListInNavigation : public StockAlarmList {
protected:
    StockAlarmListInNavigation() {
        navigation = as<UINavigationController>(sel::initWithRootViewController_(alloc("UINavigationController"), list));
        sel::setRootViewController_(window, navigation);
        RunLoop::main().advance(0);
    }
    // The texts of a bar, left to right.
    static std::vector<std::string> barOf(id navigationController) {
        std::vector<std::pair<double, std::string>> shown;
        for (const auto& v : as<UINavigationController>(navigationController)->navigationBar_->subviewList()) {
            Value text = as<UIButton>(v.get()) ? sel::currentTitle(v) : sel::text(v);
            shown.emplace_back(sel::frame(v).x(), text.stringOr(""));
        }
        std::sort(shown.begin(), shown.end());
        Lines out;
        for (const auto& s : shown) out.push_back(s.second);
        return out;
    }
    Ref<UINavigationController> navigation;
};

TEST_F(StockAlarmListInNavigation, TheBarShowsEditAndAddAndTheRowsStartBelowIt) {
    EXPECT_EQ(barOf(navigation), (Lines{"Edit", "Alarm", "+"}));
    layoutIfNeeded(window);
    Point first = list->tableView_->visibleCell({0, 0})->toScreen(Point{0, 0});
    EXPECT_EQ(first.y, 64);
    EXPECT_EQ(touch::hitTest(Point{100, 30}).view->isDescendantOf(navigation->navigationBar_), true);
}

TEST_F(StockAlarmListInNavigation, TheAddButtonPresentsANewAlarmsScreenInANavigationControllerThatDoneTakesAway) {
    callLog::clear();
    ASSERT_EQ(host::tapItemShowing("+"), "");
    EXPECT_EQ(callLog::count("AlarmViewController", "_addButtonClicked:"), 1);
    Ref<Object> shown = list->presented_;
    ASSERT_TRUE(isKindOfClass(shown, "UINavigationController"));
    auto* screen = as<EditAlarmViewController>(sel::topViewController(shown).get());
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->isNewAlarm());
    EXPECT_EQ(sel::delegate(screen).get(), list.get());
    RunLoop::main().advance(0);
    EXPECT_EQ(barOf(shown), (Lines{"Add Alarm", "Done"}));

    uikit::spin(screen->editAlarmView_->timePicker_.get(), 8 * 3600 + 15 * 60);
    callLog::clear();
    ASSERT_EQ(host::tapItemShowing("Done"), "");
    EXPECT_EQ(callLog::lines("Alarm"), (Lines{"EditAlarmViewController _doneButtonClicked:", "AlarmManager addAlarm:active: ALARM-3 08:15 YES",
                                              "AlarmViewController didEditAlarm: ALARM-3 08:15 (null)", "AlarmViewController reloadState",
                                              // The edit screen leaves before the list comes back.
                                              "EditAlarmViewController viewWillDisappear:", "AlarmViewController viewWillAppear:"}));
    // The whole navigation controller went; the list is on top again with the new row.
    EXPECT_FALSE(list->presented_);
    EXPECT_FALSE(sel::superview(sel::view(shown)));
    RunLoop::main().advance(0);
    EXPECT_EQ(list->tableView_->rowCount(0), 3);
    EXPECT_EQ(host::tapItemShowing("Done"), "nothing on the screen shows \"Done\"");
}

TEST_F(StockAlarmListInNavigation, TheEditButtonTurnsToDoneAndARowThenOpensItsAlarm) {
    ASSERT_EQ(host::tapItemShowing("Edit"), "");
    EXPECT_TRUE(sel::isEditing(list));
    RunLoop::main().advance(0);
    EXPECT_EQ(barOf(navigation), (Lines{"Done", "Alarm", "+"}));
    ASSERT_EQ(host::tapItemShowing("Gym"), "");
    Ref<Object> shown = list->presented_;
    ASSERT_TRUE(shown);
    RunLoop::main().advance(0);
    EXPECT_EQ(barOf(shown), (Lines{"Edit Alarm", "Done"}));
    // The frontmost Done is the edit screen's.
    ASSERT_EQ(host::tapItemShowing("Done"), "");
    EXPECT_EQ(callLog::lines("updateAlarm:active:"), (Lines{"AlarmManager updateAlarm:active: ALARM-2 07:05 YES"}));
    EXPECT_FALSE(list->presented_);
    EXPECT_TRUE(sel::isEditing(list));
    ASSERT_EQ(host::tapItemShowing("Done"), "");  // now the list's
    EXPECT_FALSE(sel::isEditing(list));
    RunLoop::main().advance(0);
    EXPECT_EQ(barOf(navigation), (Lines{"Edit", "Alarm", "+"}));
}

}  // namespace
}  // namespace platform

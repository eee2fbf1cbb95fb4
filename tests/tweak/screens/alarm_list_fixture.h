// A Clock app process with the tweak started and the alarm list in a key
// window (rows 80 points high from the top of the screen), and helpers to
// add alarms, reach rows and drive touches on them.
#pragma once

#include <gtest/gtest.h>

#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/alarm.h"
#include "platform/mobiletimer/alarm_list.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/window.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"
#include "tweak/screens/alarm_list.h"
#include "tweak/screens/alarm_list_state.h"
#include "tweak/screens/alarm_selection.h"
#include "tweak/screens/radial_menu.h"

namespace rousa::testing {

inline host::BootOptions clockAppOn(std::string version = "9.3") {
    host::BootOptions o;
    o.bundleIdentifier = host::kClockApp;
    o.systemVersion = std::move(version);
    return o;
}

class AlarmListTest : public ::testing::Test {
protected:
    explicit AlarmListTest(host::BootOptions options = clockAppOn()) : env(std::move(options)) {
        startTweakLibrary();
        manager = sel::sharedManager(objc_getClass("AlarmManager"));
    }

    // An alarm added through the (hooked) manager.
    Ref<Object> addAlarm(long long hour, long long minute, bool active = true, const char* title = nullptr) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, hour);
        sel::setMinute_(alarm, minute);
        if (title) sel::setTitle_(alarm, Value(title));
        sel::addAlarm_active_(manager, alarm, active);
        return alarm;
    }
    // Shows the list in a key window and lays it out.
    void show() {
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        list = as<AlarmViewController>(newObject("AlarmViewController"));
        sel::setRootViewController_(window, list);
        sel::makeKeyAndVisible(window);
        layoutIfNeeded(window);
    }
    UITableView* table() const { return list->tableView_.get(); }
    void layout() { layoutIfNeeded(window); }
    static void advance(double seconds) { RunLoop::main().advance(seconds); }

    Value alarms() const { return sel::alarms(manager); }
    long long alarmCount() const { return static_cast<long long>(alarms().count()); }
    Value alarmAt(long long row) const { return alarms().at(static_cast<std::size_t>(row)); }
    static std::string describe(const Value& alarm) { return as<Alarm>(alarm.object())->summary(); }
    // The alarms of alarmsSelected, as "id hh:mm".
    static std::vector<std::string> selected() {
        std::vector<std::string> out;
        for (const Value& a : alarmsSelected.array()) out.push_back(describe(a));
        return out;
    }
    // The rows whose cells look selected.
    std::vector<long long> rowsThatLookSelected() {
        layout();
        std::vector<long long> out;
        for (long long r = 0; r < table()->rowCount(0); ++r)
            if (Ref<UITableViewCell> cell = table()->visibleCell({0, r}); cell && cell->selected_) out.push_back(r);
        return out;
    }

    // A row's centre on the screen, and a point below the last row.
    Point rowPoint(long long row, double dx = 0) const {
        Rect r = table()->rectForRow({0, row});
        return table()->toScreen(Point{r.midX() + dx, r.midY()});
    }
    Point belowTheRows() const { return table()->toScreen(Point{160, table()->rowCount(0) * AlarmViewController::kRowHeight + 40}); }

    void tap(Point p) {
        touch::tap(p);
        advance(0);
    }
    // Presses for the long press's second, then moves by (dx, dy) and lifts.
    void longPress(Point at, double dx = 0, double dy = 0) {
        Ref<UITouch> t = touch::down(at);
        advance(1.0);
        if (dx != 0 || dy != 0) touch::move(t, Point{at.x + dx, at.y + dy});
        touch::up(t);
    }
    void pressEdit() {
        as<UIBarButtonItem>(sel::editButtonItem(list))->press();
        layout();
    }
    // The edit-mode toolbar's item whose action is `action`.
    UIBarButtonItem* toolbarItem(const char* action) const {
        for (const Value& item : sel::items(editToolbar).array())
            if (auto* i = item.objectAs<UIBarButtonItem>(); i && i->action_ == action) return i;
        return nullptr;
    }
    PRWRadialMenu* menu() const { return as<PRWRadialMenu>(radialMenu.get()); }

    platform::testing::TestEnvironment env;
    Ref<Object> manager;
    Ref<UIWindow> window;
    Ref<AlarmViewController> list;
};

}  // namespace rousa::testing

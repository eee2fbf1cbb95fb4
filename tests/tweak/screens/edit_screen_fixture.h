// A Clock app process with the tweak started, and helpers to open the edit
// screen for an alarm in a window and reach its table, rows and controls.
#pragma once

#include <gtest/gtest.h>

#include "platform/foundation/format.h"
#include "platform/foundation/plist.h"
#include "platform/mobiletimer/edit_alarm.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/color.h"
#include "platform/uikit/label.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/window.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alarm_selection.h"
#include "tweak/screens/edit_alarm.h"

namespace rousa::testing {

inline host::BootOptions clockApp(std::string version, long long idiom = UIUserInterfaceIdiomPhone) {
    host::BootOptions o;
    o.bundleIdentifier = host::kClockApp;
    o.systemVersion = std::move(version);
    o.interfaceIdiom = idiom;
    return o;
}

// Whether a colour has these RGBA components.
inline bool isColor(id color, double r, double g, double b, double a) {
    auto* c = as<UIColor>(color);
    return c && c->red() == r && c->green() == g && c->blue() == b && c->alphaComponent() == a;
}
inline bool isAccent(id color) { return isColor(color, 1.0, 0.231, 0.188, 1.0); }

class EditScreenTest : public ::testing::Test {
protected:
    explicit EditScreenTest(const std::string& version = "8.4", long long idiom = UIUserInterfaceIdiomPhone) : env(clockApp(version, idiom)) {
        startTweakLibrary();
        manager = sel::sharedManager(objc_getClass("AlarmManager"));
        window = UIView::make<UIWindow>("UIWindow", UIScreen::mainScreen()->bounds());
        sel::setHidden_(window, false);
    }
    ~EditScreenTest() override {
        // The screen's globals outlive the test's objects; let them go first.
        sel::setRootViewController_(window, nullptr);
    }

    // An alarm added through the (hooked) manager: it has an id and a default record.
    Ref<Object> addAlarm(long long hour, long long minute) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, hour);
        sel::setMinute_(alarm, minute);
        sel::addAlarm_active_(manager, alarm, true);
        return alarm;
    }
    static Ref<Object> newAlarm() { return sel::initWithDefaultValues(alloc("Alarm")); }
    static void store(const Value& alarmId, const std::function<void(KAlarm&)>& change) {
        auto record = KAlarm::make();
        record->setAlarmId(alarmId);
        change(*record);
        ASSERT_TRUE(RousaSetAlarm(record));
    }

    // Opens the screen in the window and runs the first layout pass.
    Ref<EditAlarmViewController> open(id alarm) {
        screen = as<EditAlarmViewController>(sel::initWithAlarm_(alloc("EditAlarmViewController"), alarm));
        sel::setRootViewController_(window, screen);
        layoutIfNeeded(window);
        return screen;
    }
    UITableView* table() const { return screen->editAlarmView_->settingsTable_.get(); }
    UIDatePicker* picker() const { return screen->editAlarmView_->timePicker_.get(); }

    // The cell the screen gives the table for a row (as the table would ask).
    Ref<UITableViewCell> build(long long section, long long row) {
        return as<UITableViewCell>(sel::tableView_cellForRowAtIndexPath_(screen, table(), NSIndexPath::make(section, row)));
    }
    // Scrolls so that the row is the first visible one, then lays the table out.
    void scrollTo(long long section, long long row) {
        sel::setContentOffset_(table(), Point{0, table()->rectForRow({section, row}).y()});
        layoutIfNeeded(table());
    }
    // Makes the table tall enough to show every row.
    void showEveryRow() {
        sel::setFrame_(table(), Rect(0, 216, 320, 3000));
        layoutIfNeeded(table());
    }
    // The rows of section 1 the stock cell provider was asked for, since the last clear.
    static std::vector<long long> stockRowsAsked() {
        std::vector<long long> rows;
        for (const auto& c : callLog::calls())
            if (c.cls == "EditAlarmViewController" && c.selector == "tableView:cellForRowAtIndexPath:" && c.detail.rfind("1.", 0) == 0) {
                long long row = std::stoll(c.detail.substr(2));
                if (rows.empty() || rows.back() != row) rows.push_back(row);
            }
        return rows;
    }
    static std::string text(id view) { return sel::text(view).stringOr("nil"); }

    platform::testing::TestEnvironment env;
    Ref<Object> manager;
    Ref<UIWindow> window;
    Ref<EditAlarmViewController> screen;
};

}  // namespace rousa::testing

#include "platform/mobiletimer/edit_alarm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/foundation/run_loop.h"
#include "platform/host/user_actions.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/button.h"
#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/touch.h"
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

    // The screen as the Clock app shows it: at the bottom of a navigation controller.
    Ref<EditAlarmViewController> openInNavigation(id alarm) {
        auto screen = as<EditAlarmViewController>(sel::initWithAlarm_(alloc("EditAlarmViewController"), alarm));
        navigation = as<UINavigationController>(sel::initWithRootViewController_(alloc("UINavigationController"), screen));
        sel::setRootViewController_(window, navigation);
        RunLoop::main().advance(0);
        return screen;
    }
    Ref<Object> top() const { return sel::topViewController(navigation); }
    // What the bar on top shows, left to right.
    std::vector<std::string> bar() const {
        std::vector<std::pair<double, std::string>> shown;
        for (const auto& v : navigation->navigationBar_->subviewList()) {
            Value text = as<UIButton>(v.get()) ? sel::currentTitle(v) : sel::text(v);
            shown.emplace_back(sel::frame(v).x(), text.stringOr(""));
        }
        std::sort(shown.begin(), shown.end());
        std::vector<std::string> out;
        for (const auto& s : shown) out.push_back(s.second);
        return out;
    }
    // What the Label row shows of the alarm's title.
    static Value labelRowDetail(EditAlarmViewController* screen) {
        Ref<Object> cell = sel::cellForRowAtIndexPath_(screen->editAlarmView_->settingsTable_, NSIndexPath::make(0, 1));
        return sel::text(sel::detailTextLabel(cell));
    }

    testing::TestEnvironment env;
    Ref<Object> manager;
    Ref<UIWindow> window;
    Ref<UINavigationController> navigation;
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

TEST_F(StockEditScreen, ASpinOfThePickerGoesIntoTheAlarmBeingEditedAndOutlivesTheLabelScreen) {
    Ref<Object> alarm = existingAlarm();  // 7:00
    auto screen = openInNavigation(alarm);
    Ref<Object> picker = screen->editAlarmView_->timePicker_;
    callLog::clear();
    uikit::spin(as<UIDatePicker>(picker), 6 * 3600 + 45 * 60);
    EXPECT_EQ(callLog::count("EditAlarmViewController", "handlePickerChanged"), 1);
    Ref<Object> proxy = sel::editingProxy(alarm);
    EXPECT_EQ(sel::hour(proxy), 6);
    EXPECT_EQ(sel::minute(proxy), 45);
    EXPECT_EQ(sel::hour(alarm), 7);  // until Done

    // To the label screen and back: the screen shows the proxy's time again.
    ASSERT_EQ(host::tapItemShowing("Label"), "");
    RunLoop::main().advance(0);
    ASSERT_EQ(host::tapItemShowing("Back"), "");
    RunLoop::main().advance(0);
    EXPECT_EQ(top().get(), screen.get());
    EXPECT_EQ(sel::countDownDuration(picker), 6 * 3600 + 45 * 60);
    callLog::clear();
    ASSERT_EQ(host::tapItemShowing("Done"), "");
    EXPECT_EQ(callLog::lines("AlarmManager"), (std::vector<std::string>{"AlarmManager updateAlarm:active: ALARM-1 06:45 YES"}));
}

TEST_F(StockEditScreen, TheLabelScreenEditsTheTitleThatTheLabelRowShows) {
    struct Case {
        const char* what;
        Value title;  // the alarm's before
        std::function<void(UITextField*)> type;
        Value row;   // what the Label row shows after
        Value want;  // the title Done stores
    };
    const Case cases[] = {
        {"a first title", Value(), [](UITextField* f) { f->insertText("Gym"); }, Value("Gym"), Value("Gym")},
        {"added to", Value("Work"), [](UITextField* f) { f->insertText(" out"); }, Value("Work out"), Value("Work out")},
        {"cleared", Value("Work"),
         [](UITextField* f) {
             while (f->deleteBackward()) {
             }
         },
         Value("Alarm"), Value()},
        {"left as it was", Value("Work"), [](UITextField*) {}, Value("Work"), Value("Work")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Object> alarm = existingAlarm();
        sel::setTitle_(alarm, c.title);
        auto screen = openInNavigation(alarm);
        EXPECT_EQ(bar(), (std::vector<std::string>{"Edit Alarm", "Done"}));
        EXPECT_EQ(labelRowDetail(screen), c.title.isString() ? c.title : Value("Alarm"));

        ASSERT_EQ(host::tapItemShowing("Label"), "");
        auto* labelScreen = as<EditAlarmLabelViewController>(top().get());
        ASSERT_TRUE(labelScreen);
        RunLoop::main().advance(0);
        EXPECT_EQ(bar(), (std::vector<std::string>{"Back", "Label"}));
        UITextField* field = labelScreen->textField_.get();
        EXPECT_EQ(object_getIvar(labelScreen, "_textField").object(), field);
        EXPECT_TRUE(sel::isFirstResponder(field));  // the keyboard is up
        EXPECT_EQ(sel::text(field), c.title.isString() ? c.title : Value(""));
        EXPECT_EQ(sel::placeholder(field), Value("Alarm"));
        EXPECT_EQ(touch::hitTest(touch::screenCenter(field)).view.get(), field);  // below the bar, not covered
        c.type(field);

        ASSERT_EQ(host::tapItemShowing("Back"), "");
        EXPECT_FALSE(sel::isFirstResponder(field));
        EXPECT_EQ(top().get(), screen.get());
        RunLoop::main().advance(0);
        EXPECT_EQ(labelRowDetail(screen), c.row);
        EXPECT_EQ(sel::title(alarm), c.title);  // the alarm itself waits for Done
        ASSERT_EQ(host::tapItemShowing("Done"), "");
        EXPECT_EQ(sel::title(alarm), c.want);
    }
}

TEST_F(StockEditScreen, OutsideANavigationControllerTheLabelRowOpensNothing) {
    auto screen = open(existingAlarm());
    RunLoop::main().advance(0);
    callLog::clear();
    ASSERT_EQ(host::tapItemShowing("Label"), "");
    EXPECT_EQ(callLog::lines("didSelectRowAtIndexPath:"), (std::vector<std::string>{"EditAlarmViewController tableView:didSelectRowAtIndexPath: 0.1"}));
    EXPECT_EQ(callLog::count("EditAlarmLabelViewController", "initWithAlarm:"), 0);
    EXPECT_EQ(sel::rootViewController(window).get(), screen.get());
    // Other rows open nothing either.
    ASSERT_EQ(host::tapItemShowing("Sound"), "");
    EXPECT_EQ(callLog::count("EditAlarmLabelViewController", "initWithAlarm:"), 0);
}

TEST(StockEditScreenHosts, OnlyTheClockAppHasTheScreen) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "9.3"});
    EXPECT_TRUE(objc_getClass("Alarm"));
    EXPECT_FALSE(objc_getClass("EditAlarmViewController"));
}

}  // namespace
}  // namespace platform

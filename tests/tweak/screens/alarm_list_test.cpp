#include <gtest/gtest.h>

#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/frameworks/sound_record.h"
#include "platform/springboard/device.h"
#include "platform/springboard/selectors.h"
#include "platform/uikit/activity_indicator.h"
#include "platform/uikit/application.h"
#include "platform/uikit/image.h"
#include "platform/uikit/toolbar.h"
#include "tests/tweak/screens/alarm_list_fixture.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alarm_shortcut.h"
#include "tweak/screens/clone_window.h"
#include "tweak/screens/edit_alarm.h"

namespace rousa::testing {
namespace {

using Lines = std::vector<std::string>;

// The menu's items lie 80 points from where the finger opened it.
constexpr double kToItem = 80;

std::string imagePathOf(const Ref<Object>& image) {
    auto* i = as<UIImage>(image.get());
    return i ? i->path_.substr(i->path_.rfind('/') + 1) : "";
}

class AlarmList : public AlarmListTest {
protected:
    // Three alarms, fresh, in the list.
    void threeAlarms() {
        for (const Value& a : alarms().array()) sel::removeAlarm_(manager, a.object());
        addAlarm(6, 30, true, "First");
        addAlarm(7, 0, true, "Second");
        addAlarm(7, 30, true, "Third");
        sel::reloadData(table());
        layout();
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const Value& a : alarms().array()) out.push_back(sel::title(a.object()).stringOr("nil"));
        return out;
    }
    int cellRequests() const { return callLog::count("AlarmViewController", "tableView:cellForRowAtIndexPath:"); }
    static void setPref(const char* key, bool on) { ASSERT_TRUE(RousaSetPref(key, Value(on))); }
    Ref<Object> presented() const { return sel::topViewController(list->presented_); }
    void dismissPresented() {
        if (list->presented_) sel::dismissViewControllerAnimated_completion_(list, false, Block());
        advance(0);
    }
};

// --- the long press and the radial menu -------------------------------------------------------------------

TEST_F(AlarmList, TheMenuIsSetUpOnceHiddenInTheKeyWindow) {
    addAlarm(6, 30);
    show();
    ASSERT_TRUE(menu());
    EXPECT_EQ(alarmTableView.lock().get(), table());
    EXPECT_EQ(sel::superview(menu()).get(), window.get());
    EXPECT_EQ(sel::frame(menu()), Rect(160 - 22, 0, 44, 44));
    EXPECT_TRUE(sel::isHidden(menu()));
    EXPECT_EQ(sel::delegate(menu()).get(), list.get());
    for (long long location : {0, 1, 2, 3, 4}) EXPECT_TRUE(sel::menuItemForLocation_(menu(), location)) << location;
    EXPECT_EQ(imagePathOf(sel::image(sel::menuItemForLocation_(menu(), 1))), "clone.png");
    EXPECT_EQ(imagePathOf(sel::image(sel::menuItemForLocation_(menu(), 3))), "delete.png");
    EXPECT_EQ(imagePathOf(sel::highlightedImage(sel::menuItemForLocation_(menu(), 3))), "deleteSelected.png");
    // One long press recognizer of a second, one tap recognizer.
    int presses = 0, taps = 0;
    for (const Value& r : sel::gestureRecognizers(table()).array()) {
        if (isKindOfClass(r.object(), "UILongPressGestureRecognizer")) {
            ++presses;
            EXPECT_EQ(sel::minimumPressDuration(r.object()), 1.0);
        }
        if (isKindOfClass(r.object(), "UITapGestureRecognizer")) ++taps;
    }
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(taps, 1);
    // A reload makes the cells anew but sets nothing up again.
    Ref<Object> first = radialMenu;
    sel::reloadData(table());
    layout();
    EXPECT_EQ(radialMenu.get(), first.get());
    EXPECT_EQ(sel::gestureRecognizers(table()).count(), 2u);
}

TEST_F(AlarmList, LongPressScenarios) {
    struct Case {
        const char* name;
        bool onRow;
        double dx, dy;
        bool cancel;
        bool opens;
        const char* done;  // "" nothing, "edit", "delete"
    };
    const Case cases[] = {
        {"lifted where it began", true, 0, 0, false, true, ""},
        {"moved onto the left item", true, -kToItem, 0, false, true, "edit"},
        {"moved onto the right item", true, kToItem, 0, false, true, "delete"},
        {"moved onto the bottom item", true, 0, kToItem, false, true, ""},
        {"moved onto the top item", true, 0, -kToItem, false, true, "clone"},
        {"moved far away", true, 0, 300, false, true, ""},
        {"cancelled", true, -kToItem, 0, true, true, ""},
        {"on no row", false, kToItem, 0, false, false, ""},
    };
    show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        threeAlarms();
        sound::clear();
        callLog::clear();
        const Point at = c.onRow ? rowPoint(1) : belowTheRows();
        Ref<UITouch> t = touch::down(at);
        advance(1.0);
        EXPECT_EQ(menu()->menuState != PRWRadialMenuStateContracted, c.opens);
        EXPECT_EQ(sel::isHidden(menu()), !c.opens);
        if (c.opens) {
            EXPECT_EQ(sel::frame(menu()), Rect(at.x - 22, at.y - 22, 44, 44));
            EXPECT_EQ(longPressedRow, 1);
            auto vibrations = sound::vibrations();
            ASSERT_EQ(vibrations.size(), 1u);
            EXPECT_EQ(vibrations[0].soundID, 4095u);
            EXPECT_EQ(vibrations[0].options, (Value{{"VibePattern", Value::array({Value(true), Value(50)})}, {"Intensity", Value(1)}}));
        } else {
            EXPECT_TRUE(sound::vibrations().empty());
        }
        if (c.dx != 0 || c.dy != 0) touch::move(t, Point{at.x + c.dx, at.y + c.dy});
        if (c.cancel) {
            touch::cancel(t);
        } else {
            touch::up(t);
        }
        advance(1.0);
        // Closed, and hidden again.
        EXPECT_EQ(menu()->menuState, PRWRadialMenuStateContracted);
        EXPECT_TRUE(sel::isHidden(menu()));
        EXPECT_EQ(callLog::count("AlarmViewController", "showEditViewForRow:"), std::string(c.done) == "edit" ? 1 : 0);
        if (std::string(c.done) == "edit") {
            EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: 1"});
        }
        EXPECT_EQ(titles(), std::string(c.done) == "delete" ? (std::vector<std::string>{"First", "Third"})
                                                            : (std::vector<std::string>{"First", "Second", "Third"}));
        EXPECT_EQ(table()->rowCount(0), alarmCount());
        // The clone item opens the clone window for the pressed alarm; Cancel closes it.
        EXPECT_EQ(static_cast<bool>(cloneWindow.lock()), std::string(c.done) == "clone");
        if (std::string(c.done) == "clone") {
            EXPECT_EQ(sel::title(currentStockAlarm), Value("Second"));
            layoutIfNeeded(as<UIView>(cloneWindow.lock().get()));
            EXPECT_TRUE(touch::pressButton(lCancel));
            advance(0.3);
            EXPECT_FALSE(cloneWindow.lock());
        }
        // The row's own selection and the tap did nothing else.
        EXPECT_EQ(callLog::count("AlarmViewController", "tableView:didSelectRowAtIndexPath:"), 0);
        dismissPresented();
    }
}

TEST_F(AlarmList, AClosedMenuSwallowsNoTaps) {
    addAlarm(6, 30);
    show();
    // The closed menu sits at the top centre; a tap there reaches the table's row.
    sel::setFrame_(menu(), Rect(160 - 22, 40 - 22, 44, 44));
    callLog::clear();
    tap(rowPoint(0));
    EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: 0"});
}

TEST_F(AlarmList, NoLongPressWhileEditing) {
    addAlarm(6, 30);
    show();
    pressEdit();
    sound::clear();
    longPress(rowPoint(0), kToItem);
    advance(1.0);
    EXPECT_TRUE(sel::isHidden(menu()));
    EXPECT_TRUE(sound::vibrations().empty());
    EXPECT_EQ(alarmCount(), 1);
}

// --- taps, edit mode and the selection --------------------------------------------------------------------------

TEST_F(AlarmList, ATapOutsideEditModeOpensTheRowsAlarm) {
    addAlarm(6, 30);
    addAlarm(7, 0);
    show();
    callLog::clear();
    tap(belowTheRows());
    EXPECT_EQ(callLog::count("AlarmViewController", "showEditViewForRow:"), 0);
    tap(rowPoint(1));
    EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: 1"});
    ASSERT_TRUE(presented());
    EXPECT_TRUE(isKindOfClass(presented(), "EditAlarmViewController"));
}

TEST_F(AlarmList, EditModeSelectsByTapsAndTheToolbar) {
    for (int i = 0; i < 4; ++i) addAlarm(6 + i, 0);
    show();
    pressEdit();
    ASSERT_TRUE(editToolbar);
    EXPECT_EQ(sel::superview(editToolbar).get(), sel::view(list).get());
    EXPECT_EQ(sel::frame(editToolbar), Rect(0, 568 - 99, 320, 50));
    EXPECT_EQ(sel::frame(sel::view(list)).height(), 568 - 50);
    EXPECT_TRUE(sel::allowsMultipleSelectionDuringEditing(table()));
    const std::string a0 = describe(alarmAt(0)), a1 = describe(alarmAt(1)), a2 = describe(alarmAt(2)), a3 = describe(alarmAt(3));

    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> selected;
        std::vector<long long> looks;
    };
    const Step steps[] = {
        {"tap row 0", [&] { tap(rowPoint(0)); }, {a0}, {0}},
        {"tap row 2", [&] { tap(rowPoint(2)); }, {a0, a2}, {0, 2}},
        {"tap row 0 again", [&] { tap(rowPoint(0)); }, {a2}, {2}},
        {"tap below the rows", [&] { tap(belowTheRows()); }, {a2}, {2}},
        // A row already selected stops the walk and clears the selection.
        {"select all with a row selected", [&] { toolbarItem("selectAll")->press(); }, {}, {}},
        {"select all", [&] { toolbarItem("selectAll")->press(); }, {a0, a1, a2, a3}, {0, 1, 2, 3}},
        {"tap row 1", [&] { tap(rowPoint(1)); }, {a0, a2, a3}, {0, 2, 3}},
        {"tap row 1 again", [&] { tap(rowPoint(1)); }, {a0, a2, a3, a1}, {0, 1, 2, 3}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(selected(), s.selected);
        EXPECT_EQ(rowsThatLookSelected(), s.looks);
    }
    // Neither the table's own selection nor the stock edit tap ran.
    EXPECT_EQ(callLog::count("AlarmViewController", "tableView:didSelectRowAtIndexPath:"), 0);
    EXPECT_EQ(callLog::count("AlarmViewController", "showEditViewForRow:"), 0);

    // Edit all opens the first selected alarm that is still there.
    sel::removeAlarm_(manager, alarmAt(0).object());
    toolbarItem("editAll")->press();
    EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: 1"});
    dismissPresented();

    // Leaving edit mode empties the selection and takes the toolbar away.
    pressEdit();
    EXPECT_TRUE(alarmsSelected.isArray());
    EXPECT_EQ(alarmsSelected.count(), 0u);
    EXPECT_FALSE(sel::superview(editToolbar));
    EXPECT_EQ(sel::frame(sel::view(list)).height(), 568);
}

TEST_F(AlarmList, EditAllWithoutASelectionDoesNothingAndWithEverySelectedAlarmGoneAsksForNoRow) {
    addAlarm(6, 0);
    addAlarm(7, 0);
    show();
    pressEdit();
    callLog::clear();
    toolbarItem("editAll")->press();
    EXPECT_EQ(callLog::count("AlarmViewController", "showEditViewForRow:"), 0);
    tap(rowPoint(1));
    sel::removeAlarm_(manager, alarmAt(1).object());
    toolbarItem("editAll")->press();
    EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: -1"});
    EXPECT_FALSE(presented());
}

TEST_F(AlarmList, EnteringEditModeAgainKeepsOneToolbarAndOneShrink) {
    addAlarm(6, 0);
    show();
    auto toolbars = [&] {
        int n = 0;
        for (const Value& v : sel::subviews(sel::view(list)).array()) n += isKindOfClass(v.object(), "UIToolbar");
        return n;
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        sel::setEditing_animated_(list, true, true);
        sel::setEditing_animated_(list, true, true);
        EXPECT_EQ(toolbars(), 1);
        EXPECT_EQ(sel::frame(sel::view(list)).height(), 568 - 50);
        sel::setEditing_animated_(list, false, true);
        EXPECT_EQ(toolbars(), 0);
        EXPECT_EQ(sel::frame(sel::view(list)).height(), 568);
    }
}

TEST_F(AlarmList, WithoutMassEditionEditModeKeepsTheStockSingleSelection) {
    setPref("massedition", false);
    addAlarm(6, 0);
    addAlarm(7, 0);
    show();
    pressEdit();
    EXPECT_FALSE(editToolbar);
    EXPECT_FALSE(sel::allowsMultipleSelectionDuringEditing(table()));
    EXPECT_EQ(sel::frame(sel::view(list)).height(), 568);
    // The tap recognizer (for swiping) takes the tap: it does nothing in edit mode.
    callLog::clear();
    tap(rowPoint(1));
    EXPECT_TRUE(rowsThatLookSelected().empty());
    EXPECT_FALSE(alarmsSelected.isArray() && alarmsSelected.count() > 0);
    EXPECT_EQ(callLog::count("AlarmViewController", "showEditViewForRow:"), 0);
}

TEST_F(AlarmList, WithNeitherMassEditionNorSwipingTheStockEditTapOpensTheRow) {
    setPref("massedition", false);
    setPref("swipedelete", false);
    addAlarm(6, 0);
    addAlarm(7, 0);
    show();
    for (const Value& r : sel::gestureRecognizers(table()).array()) EXPECT_FALSE(isKindOfClass(r.object(), "UITapGestureRecognizer"));
    callLog::clear();
    tap(rowPoint(1));  // outside edit mode the stock list does nothing
    EXPECT_EQ(callLog::count("AlarmViewController", "showEditViewForRow:"), 0);
    pressEdit();
    tap(rowPoint(1));
    EXPECT_EQ(callLog::lines("showEditViewForRow:"), Lines{"AlarmViewController showEditViewForRow: 1"});
}

// --- removal ----------------------------------------------------------------------------------------------------------

TEST_F(AlarmList, AMinuteRefreshInEditModeThenRemoveTakesExactlyTheAlarmsThatLookSelected) {
    for (int i = 0; i < 4; ++i) addAlarm(6 + i, 10);
    show();
    pressEdit();
    tap(rowPoint(1));
    tap(rowPoint(3));
    const std::vector<std::string> keep = {describe(alarmAt(0)), describe(alarmAt(2))};
    // The minute changes: the table reloads; the selected rows show it again.
    const int before = cellRequests();
    advance(60);
    EXPECT_GT(cellRequests(), before);
    EXPECT_EQ(rowsThatLookSelected(), (std::vector<long long>{1, 3}));

    toolbarItem("removeAll")->press();
    auto alerts = UIAlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->message_, Value(lRemoveAlarmsMessage));
    EXPECT_EQ(alerts[0]->buttonTitles_, (std::vector<Value>{Value(lRemoveAlarmsNo), Value(lRemoveAlarmsYes)}));
    alerts[0]->clickButton(1);

    // A spinner window, then the removal half a second later.
    Ref<UIWindow> spinner = UIWindow::keyWindow();
    ASSERT_TRUE(spinner);
    EXPECT_NE(spinner.get(), window.get());
    // Centred on the table, which edit mode made 50 points shorter.
    EXPECT_EQ(sel::frame(spinner), Rect(160 - 51, 259 - 51, 102, 102));
    ASSERT_EQ(spinner->subviewList().size(), 1u);
    auto* wheel = as<UIActivityIndicatorView>(spinner->subviewList()[0].get());
    ASSERT_TRUE(wheel);
    EXPECT_TRUE(wheel->animating_);
    advance(0.4);
    EXPECT_EQ(alarmCount(), 4);
    WeakRef<UIWindow> gone(spinner.get());
    spinner = nullptr;
    advance(0.1);
    std::vector<std::string> left;
    for (const Value& a : alarms().array()) left.push_back(describe(a));
    EXPECT_EQ(left, keep);
    EXPECT_EQ(table()->rowCount(0), 2);
    EXPECT_EQ(alarmsSelected.count(), 0u);
    EXPECT_FALSE(gone.lock());
    EXPECT_EQ(UIWindow::keyWindow().get(), window.get());
    // The rows still show the alarms left, and edit mode goes on.
    EXPECT_TRUE(sel::superview(editToolbar));
}

TEST_F(AlarmList, RemovingTheLastAlarmsEndsTheToolbarAndAKeepRemovesNothing) {
    addAlarm(6, 0);
    addAlarm(7, 0);
    show();
    pressEdit();
    toolbarItem("selectAll")->press();
    toolbarItem("removeAll")->press();
    UIAlertView::visibleAlerts().at(0)->clickButton(0);  // keep
    advance(1.0);
    EXPECT_EQ(alarmCount(), 2);
    toolbarItem("removeAll")->press();
    UIAlertView::visibleAlerts().at(0)->clickButton(1);
    advance(0.5);
    EXPECT_EQ(alarmCount(), 0);
    EXPECT_FALSE(sel::superview(editToolbar));
    EXPECT_EQ(sel::frame(sel::view(list)).height(), 568);
    // Their records went with them.
    EXPECT_TRUE(alarmRecords(RousaReadPrefsFile()).empty());
}

TEST_F(AlarmList, AnAlarmRemovedElsewhereLeavesTheSelection) {
    for (int i = 0; i < 3; ++i) addAlarm(6 + i, 0);
    show();
    pressEdit();
    toolbarItem("selectAll")->press();
    const std::string first = describe(alarmAt(0)), last = describe(alarmAt(2));
    sel::removeAlarm_(manager, alarmAt(1).object());
    sel::reloadData(table());
    EXPECT_EQ(rowsThatLookSelected(), (std::vector<long long>{0, 1}));
    EXPECT_EQ(selected(), (std::vector<std::string>{first, last}));
}

// --- swiping, toggling ----------------------------------------------------------------------------------------------------

TEST_F(AlarmList, SwipeToDeleteFollowsTheSetting) {
    addAlarm(6, 0);
    addAlarm(7, 0);
    show();
    EXPECT_TRUE(table()->swipeToDeleteRow({0, 0}));
    EXPECT_EQ(alarmCount(), 1);
    EXPECT_EQ(table()->rowCount(0), 1);
    setPref("swipedelete", false);
    EXPECT_FALSE(table()->swipeToDeleteRow({0, 0}));
    EXPECT_EQ(alarmCount(), 1);
}

TEST_F(AlarmList, TheToggleTurnsAllOnWhenFewerThanHalfAreActive) {
    setPref("togglealarms", true);
    show();
    Value items = sel::rightBarButtonItems(sel::navigationItem(list));
    ASSERT_EQ(items.count(), 2u);
    EXPECT_EQ(items.at(0).objectAs<UIBarButtonItem>()->systemItem_, UIBarButtonSystemItemAdd);
    auto* toggle = items.at(1).objectAs<UIBarButtonItem>();
    ASSERT_TRUE(toggle);
    EXPECT_EQ(imagePathOf(toggle->image_), "Toggle.png");
    struct Case {
        std::vector<bool> active;
        bool after;
    };
    const Case cases[] = {
        {{true, true, false, false}, false},  // a tie turns them off
        {{true, false, false, false}, true},
        {{false, false, false, false}, true},
        {{true, true, true, false}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.active));
        for (const Value& a : alarms().array()) sel::removeAlarm_(manager, a.object());
        for (std::size_t i = 0; i < c.active.size(); ++i) addAlarm(6, static_cast<long long>(i), c.active[i]);
        callLog::clear();
        log::clear();
        lockButtonPressed = true;
        toggle->press();
        EXPECT_FALSE(lockButtonPressed);
        EXPECT_EQ(callLog::count("AlarmManager", "updateAlarm:active:"), 4);
        for (const Value& a : alarms().array()) EXPECT_EQ(sel::isActive(a.object()), c.after);
        EXPECT_TRUE(log::contains(format("\033[1;35m[Rousa2] alarmState: %d\033[0m", c.after ? 1 : 0)));
    }
}

TEST_F(AlarmList, WithoutTheToggleSettingTheBarKeepsItsOwnItem) {
    show();
    EXPECT_EQ(sel::rightBarButtonItems(sel::navigationItem(list)).count(), 1u);
}

// --- the minute refresh, the foreground, the title -----------------------------------------------------------------------

TEST_F(AlarmList, TheListReloadsOncePerMinuteChange) {
    addAlarm(7, 30);
    show();
    Ref<Object> label = sel::viewWithTag_(as<AlarmTableViewCell>(table()->visibleCell({0, 0}).get())->alarmView_, 50);
    EXPECT_EQ(sel::text(label), Value("1h 31m"));
    const int start = cellRequests();
    advance(59);
    EXPECT_EQ(cellRequests(), start);
    advance(1);  // 06:01
    EXPECT_EQ(cellRequests(), start + 1);
    label = sel::viewWithTag_(as<AlarmTableViewCell>(table()->visibleCell({0, 0}).get())->alarmView_, 50);
    EXPECT_EQ(sel::text(label), Value("1h 30m"));
    advance(59);
    EXPECT_EQ(cellRequests(), start + 1);
    advance(1);
    EXPECT_EQ(cellRequests(), start + 2);
}

TEST_F(AlarmList, NoTimerWithoutTheClockAppLabel) {
    WKSEnableInClockApp = false;
    addAlarm(7, 30);
    show();
    const int start = cellRequests();
    advance(180);
    EXPECT_EQ(cellRequests(), start);
    EXPECT_FALSE(minuteTimer);
}

TEST_F(AlarmList, AppearingAgainRunsOneTimerAndDisappearingStopsIt) {
    addAlarm(7, 30);
    show();
    sel::viewWillAppear_(list, false);
    sel::viewWillAppear_(list, false);
    sel::viewWillDisappear_(list, false);
    layout();  // the stock appearance reloads once
    const int start = cellRequests();
    advance(180);
    EXPECT_EQ(cellRequests(), start);
}

TEST_F(AlarmList, BecomingActiveReloadsTheListOnScreenUntilTheAppEnds) {
    addAlarm(7, 30);
    show();
    auto* center = NSNotificationCenter::defaultCenter();
    Value app(UIApplication::sharedApplication());
    int start = cellRequests();
    center->postNotificationName(UIApplicationDidBecomeActiveNotification, app);
    layout();
    EXPECT_EQ(cellRequests(), start + 1);
    // Out of its window, nothing.
    sel::setRootViewController_(window, nullptr);
    start = cellRequests();
    center->postNotificationName(UIApplicationDidBecomeActiveNotification, app);
    layoutIfNeeded(list->view_.get());
    EXPECT_EQ(cellRequests(), start);
    sel::setRootViewController_(window, list);
    layout();
    center->postNotificationName(UIApplicationWillTerminateNotification, app);
    start = cellRequests();
    center->postNotificationName(UIApplicationDidBecomeActiveNotification, app);
    layout();
    EXPECT_EQ(cellRequests(), start);
}

TEST_F(AlarmList, AnEditedAlarmIsTitledWithTheTimeLeft) {
    setPref("alarmTimeTitle", true);
    struct Case {
        long long hour, minute;
        const char* title;
    };
    // It is 06:00.
    const Case cases[] = {
        {6, 0, "24 hours, 0 minutes left"},
        {7, 30, "1 hours, 30 minutes left"},
        {5, 59, "23 hours, 59 minutes left"},
    };
    show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        for (const Value& a : alarms().array()) sel::removeAlarm_(manager, a.object());
        addAlarm(c.hour, c.minute, true, "Wake");
        sel::reloadData(table());
        layout();
        tap(rowPoint(0));
        ASSERT_TRUE(presented());
        sel::_doneButtonClicked_(presented(), nullptr);
        advance(0);
        EXPECT_EQ(sel::title(alarmAt(0).object()), Value(c.title));
        EXPECT_EQ(callLog::lines("didEditAlarm:").back(), "AlarmViewController didEditAlarm: " + describe(alarmAt(0)) + " " + c.title);
    }
}

TEST_F(AlarmList, WithoutTheTitleSettingTheTitleStays) {
    addAlarm(7, 30, true, "Wake");
    show();
    tap(rowPoint(0));
    ASSERT_TRUE(presented());
    sel::_doneButtonClicked_(presented(), nullptr);
    EXPECT_EQ(sel::title(alarmAt(0).object()), Value("Wake"));
    EXPECT_EQ(callLog::count("AlarmViewController", "didEditAlarm:"), 1);
}

// --- every version ---------------------------------------------------------------------------------------------------------

class AlarmListVersions : public AlarmListTest, public ::testing::WithParamInterface<const char*> {
protected:
    AlarmListVersions() : AlarmListTest(clockAppOn(GetParam())) {}
};

TEST_P(AlarmListVersions, TheMenuDeletesTheAlarmTheLongPressBeganOn) {
    addAlarm(6, 30, true, "First");
    addAlarm(7, 0, true, "Second");
    show();
    // iOS 7 has no blur: the menu works without it.
    EXPECT_EQ(static_cast<bool>(sel::backgroundVisualEffect(menu())), std::string(GetParam()) != "7.1");
    longPress(rowPoint(0), kToItem);
    advance(1.0);
    ASSERT_EQ(alarmCount(), 1);
    EXPECT_EQ(sel::title(alarmAt(0).object()), Value("Second"));
    EXPECT_TRUE(sel::isHidden(menu()));
}

INSTANTIATE_TEST_SUITE_P(Versions, AlarmListVersions, ::testing::Values("7.1", "8.4", "9.3"), [](const auto& info) {
    std::string name = info.param;
    return "iOS" + name.substr(0, name.find('.'));
});

// --- the Control Centre shortcut ------------------------------------------------------------------------------------------

TEST(AlarmShortcut, TheTimerShortcutOpensTheAlarmListWithTheAlarmGlyph) {
    host::BootOptions options;
    options.bundleIdentifier = host::kSpringBoard;
    platform::testing::TestEnvironment env(options);
    startTweakLibrary();
    // The section choice of the Clock app changes nothing here.
    for (bool fromControlCentre : {false, true}) {
        SCOPED_TRACE(fromControlCentre);
        ASSERT_TRUE(RousaSetPref("alarmsfromcc", Value(fromControlCentre)));
        callLog::clear();
        UIApplication::sharedApplication()->openedURLs_.clear();
        device::pressControlCenterTimer();
        EXPECT_EQ(callLog::lines("SBCCTimerShortcut"),
                  Lines{"SBCCTimerShortcut activateAppWithDisplayID:url: com.apple.mobiletimer clock-alarm:default"});
        EXPECT_EQ(UIApplication::sharedApplication()->openedURLs_, std::vector<Value>{Value("clock-alarm:default")});
        for (long long state : {0, 1}) {
            Ref<UIImage> glyph = as<UIImage>(sel::glyphImageForState_(newObject("SBCCTimerShortcut"), state));
            ASSERT_TRUE(glyph);
            EXPECT_EQ(glyph->path_, "/Applications/MobileTimer.app/BarAlarmOn@2x.png");
            EXPECT_EQ(glyph->size_, (Size{22, 22}));
        }
        EXPECT_EQ(callLog::count("SBCCTimerShortcut", "glyphImageForState:"), 0);
    }
}

TEST(AlarmShortcut, TheClockAppOpensTheAlarmSectionWhenAsked) {
    platform::testing::TestEnvironment env(clockAppOn());
    startTweakLibrary();
    struct Case {
        bool fromControlCentre;
        const char* url;
        long long section;
    };
    const Case cases[] = {
        {false, "clock-alarm:default", 1}, {false, "clock-timer:default", 3}, {false, "clock-stopwatch:default", 2},
        {true, "clock-alarm:default", 1},  {true, "clock-timer:default", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        ASSERT_TRUE(RousaSetPref("alarmsfromcc", Value(c.fromControlCentre)));
        callLog::clear();
        EXPECT_EQ(sel::sectionFromClockAppURL_(objc_getClass("ClockManager"), Value(c.url)), c.section);
        EXPECT_EQ(callLog::count("ClockManager", "sectionFromClockAppURL:"), c.fromControlCentre ? 0 : 1);
    }
}

}  // namespace
}  // namespace rousa::testing

#include "tweak/screens/clone_window.h"

#include <gtest/gtest.h>

#include "platform/foundation/calendar.h"
#include "platform/uikit/activity_indicator.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/segmented_control.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/visual_effect_view.h"
#include "tests/tweak/screens/alarm_list_fixture.h"
#include "tweak/engine/store.h"

namespace rousa::testing {
namespace {

using Lines = std::vector<std::string>;

// The menu's top item lies 80 points above where the finger opened it.
constexpr double kToItem = 80;

bool isColor(id color, double r, double g, double b, double a) {
    auto* c = as<UIColor>(color);
    return c && c->red() == r && c->green() == g && c->blue() == b && c->alphaComponent() == a;
}
bool isAccent(id color) { return isColor(color, 1.0, 0.231, 0.188, 1.0); }

// The list fills the 320 x 568 screen: the clone window is inset from it
// (25 and 75 points, then one point larger on every side), 272 x 420 at
// (24, 74), until its last row makes it 8 x 44 + 25 = 377 high, centred on
// where it was.
const Rect kOpened(24, 74, 272, 420);
const Rect kPlaced(24, 74 + 34, 272, 377);

class CloneWindow : public AlarmListTest {
protected:
    explicit CloneWindow(host::BootOptions options = clockAppOn()) : AlarmListTest(std::move(options)) {}

    // The alarms, as "hh:mm title", in the manager's order.
    std::vector<std::string> listed() const {
        std::vector<std::string> out;
        for (const Value& a : alarms().array()) {
            id alarm = a.object();
            out.push_back(format("%02d:%02d %@", static_cast<int>(sel::hour(alarm)), static_cast<int>(sel::minute(alarm)), sel::title(alarm)));
        }
        return out;
    }
    // Long-presses the row, chooses the menu's clone item and lets the window grow and lay out.
    void open(long long row, double grow = 0.3) {
        longPress(rowPoint(row), 0, -kToItem);
        advance(grow);
        window_ = as<RS2CloneWindow>(cloneWindow.lock());
        ASSERT_TRUE(window_);
        layoutIfNeeded(window_.get());
    }
    UITableView* cloneTable() const { return as<UITableView>(window_->tableView.get()); }
    std::string rowText(long long row) const { return sel::text(sel::textLabel(cloneTable()->visibleCell({0, row}))).stringOr("nil"); }
    // What the user's finger does to a control.
    static void slide(const Ref<Object>& slider, float value) {
        sel::setValue_(slider, value);
        as<UIControl>(slider.get())->sendActions(UIControlEventValueChanged, nullptr);
    }
    static void chooseSegment(long long segment) {
        auto* control = as<UISegmentedControl>(timeMeasure.get());
        ASSERT_TRUE(control);
        Size size = control->bounds_.size;
        touch::tap(control->toScreen(Point{size.width * (segment + 0.5) / 2, size.height / 2}));
    }
    // Clone, then the half-second wait, the loop and its second. The test lets
    // the window go, as it lets itself go when it closes.
    void cloneAndWait() {
        ASSERT_TRUE(touch::pressButton(lClone));
        window_ = nullptr;
        advance(0.5);
        advance(1.0);
    }
    void removeAllAlarms() {
        for (const Value& a : alarms().array()) sel::removeAlarm_(manager, a.object());
        sel::reloadData(table());
        layout();
    }

    Ref<RS2CloneWindow> window_;
};

TEST_F(CloneWindow, OpensOverTheListWithItsRowsAndDefaults) {
    addAlarm(7, 0, true, "Wake");
    show();
    longPress(rowPoint(0), 0, -kToItem);
    Ref<RS2CloneWindow> w = as<RS2CloneWindow>(cloneWindow.lock());
    ASSERT_TRUE(w);
    // It grows from a hundredth over 0.3 s, key and visible, styled.
    EXPECT_TRUE(sel::isKeyWindow(w));
    EXPECT_FALSE(w->hidden_);
    const animation::Record* grow = nullptr;
    for (const auto& r : animation::records())
        if (r.changed(w.get(), "transform")) grow = &r;
    ASSERT_TRUE(grow);
    EXPECT_EQ(grow->duration, 0.3);
    EXPECT_EQ(grow->options, UIViewAnimationOptionCurveEaseOut);
    EXPECT_EQ(sel::cornerRadius(sel::layer(w)), 30);
    EXPECT_TRUE(sel::masksToBounds(sel::layer(w)));
    EXPECT_EQ(sel::borderWidth(sel::layer(w)), 1.0);
    EXPECT_TRUE(isColor(sel::borderColor(sel::layer(w)), 1, 0, 0, 0.5));
    EXPECT_TRUE(isColor(sel::backgroundColor(w), 1, 1, 1, 0.5));
    EXPECT_EQ(sel::frame(w), kOpened);
    EXPECT_EQ(currentStockAlarm.get(), alarmAt(0).object());
    // The menu closed as the window opened.
    advance(1.0);
    EXPECT_TRUE(sel::isHidden(menu()));
    window_ = w;
    layoutIfNeeded(w.get());

    // The table sits in a vibrancy view in the blur.
    auto* blur = as<UIVisualEffectView>(w->subviewList().at(0).get());
    ASSERT_TRUE(blur);
    auto* vibrancy = as<UIVisualEffectView>(blur->contentView_->subviewList().at(0).get());
    ASSERT_TRUE(vibrancy);
    EXPECT_TRUE(isKindOfClass(vibrancy->effect_, "UIVibrancyEffect"));
    EXPECT_EQ(sel::superview(cloneTable()).get(), vibrancy);
    EXPECT_EQ(sel::dataSource(cloneTable()).get(), w.get());
    EXPECT_EQ(cloneTable()->separatorStyle_, UITableViewCellSeparatorStyleNone);

    EXPECT_EQ(cloneTable()->rowCount(0), 8);
    EXPECT_EQ(cloneTable()->rectForRow({0, 7}).height(), 68);
    EXPECT_EQ(rowText(0), "Times to clone");
    EXPECT_EQ(rowText(2), "1 alarm");
    EXPECT_EQ(rowText(3), "Time difference");
    EXPECT_EQ(rowText(5), "5 minutes");
    EXPECT_EQ(sel::value(timesField), 1);
    EXPECT_EQ(sel::minimumValue(timesField), 1);
    EXPECT_EQ(sel::maximumValue(timesField), 100);
    EXPECT_EQ(sel::value(timeField), 5);
    EXPECT_EQ(sel::minimumValue(timeField), -59);
    EXPECT_EQ(sel::maximumValue(timeField), 59);
    EXPECT_EQ(sel::selectedSegmentIndex(timeMeasure), 0);
    EXPECT_EQ(sel::titleForSegmentAtIndex_(timeMeasure, 1), Value("hours"));
    EXPECT_TRUE(isAccent(sel::tintColor(timesField)));
    EXPECT_EQ(sel::frame(timeField), Rect(10, 6, 272 - 20, 32));
    EXPECT_EQ(sel::frame(w), kPlaced);
}

TEST_F(CloneWindow, TheButtonsRowSplitsTheBottomBetweenCancelAndClone) {
    addAlarm(7, 0);
    show();
    open(0);
    Ref<UITableViewCell> row = cloneTable()->visibleCell({0, 7});
    std::vector<UIButton*> buttons;
    for (const auto& v : row->contentView_->subviewList())
        if (auto* b = as<RS2CloneButton>(v.get())) buttons.push_back(b);
    ASSERT_EQ(buttons.size(), 2u);
    const double half = 272.0 / 2;
    EXPECT_EQ(sel::frame(buttons[0]), Rect(0, 15, half - 0.5, 44 + 25 - 15));
    EXPECT_EQ(sel::frame(buttons[1]), Rect(half, 15, half - 0.5, 44 + 25 - 15));
    EXPECT_EQ(sel::currentTitle(buttons[0]), Value("Cancel"));
    EXPECT_EQ(sel::currentTitle(buttons[1]), Value("Clone"));
    EXPECT_TRUE(isAccent(sel::titleColorForState_(buttons[1], UIControlStateNormal)));
    EXPECT_TRUE(isColor(sel::titleColorForState_(buttons[1], UIControlStateHighlighted), 1, 1, 1, 1));
    // Highlighted, a button takes the accent colour behind its title.
    sel::setHighlighted_(buttons[1], true);
    EXPECT_TRUE(isAccent(sel::backgroundColor(buttons[1])));
    EXPECT_TRUE(sel::isHighlighted(buttons[1]));
    sel::setHighlighted_(buttons[1], false);
    EXPECT_TRUE(isColor(sel::backgroundColor(buttons[1]), 0, 0, 0, 0));
}

TEST_F(CloneWindow, TheRowsTextsFollowTheControls) {
    addAlarm(7, 0);
    show();
    open(0);
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* copies;
        const char* step;
    };
    const Step steps[] = {
        {"three copies", [] { slide(timesField, 3); }, "3 alarms", "5 minutes"},
        // Above 1.0 the plural, whatever "%.0f" shows.
        {"1.3 copies", [] { slide(timesField, 1.3f); }, "1 alarms", "5 minutes"},
        {"2.5 copies", [] { slide(timesField, 2.5f); }, "2 alarms", "5 minutes"},
        {"-5 minutes", [] { slide(timeField, -5); }, "2 alarms", "-5 minutes"},
        {"-1 minute", [] { slide(timeField, -1); }, "2 alarms", "-1 minute"},
        {"0 minutes", [] { slide(timeField, 0); }, "2 alarms", "0 minute"},
        {"59 minutes", [] { slide(timeField, 59); }, "2 alarms", "59 minutes"},
        // Switching to hours clamps the step.
        {"hours", [] { chooseSegment(1); }, "2 alarms", "24 hours"},
        {"-30 clamped", [] { slide(timeField, -30); }, "2 alarms", "-24 hours"},
        {"one hour", [] { slide(timeField, 1); }, "2 alarms", "1 hour"},
        {"back to minutes keeps the value", [] { chooseSegment(0); }, "2 alarms", "1 minute"},
        {"40 minutes", [] { slide(timeField, 40); }, "2 alarms", "40 minutes"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(rowText(2), s.copies);
        EXPECT_EQ(rowText(5), s.step);
    }
    EXPECT_EQ(sel::minimumValue(timeField), -59);
    EXPECT_EQ(sel::maximumValue(timeField), 59);
}

TEST_F(CloneWindow, RebuiltRowsKeepTheChosenValuesAndTheWindowsPlace) {
    addAlarm(7, 0);
    show();
    open(0);
    slide(timesField, 4);
    chooseSegment(1);
    slide(timeField, 10);
    Ref<Object> oldTimes = timesField;
    sel::reloadData(cloneTable());
    layoutIfNeeded(window_.get());
    EXPECT_NE(timesField.get(), oldTimes.get());  // a new control
    EXPECT_EQ(sel::value(timesField), 4);
    EXPECT_EQ(sel::value(timeField), 10);
    EXPECT_EQ(sel::minimumValue(timeField), -24);
    EXPECT_EQ(sel::selectedSegmentIndex(timeMeasure), 1);
    EXPECT_EQ(rowText(2), "4 alarms");
    EXPECT_EQ(rowText(5), "10 hours");
    EXPECT_EQ(sel::frame(window_), kPlaced);
    // The new controls are live: they change the rows' texts.
    slide(timesField, 6);
    EXPECT_EQ(rowText(2), "6 alarms");
}

TEST_F(CloneWindow, CloningAddsTheCopiesAtEachStep) {
    struct Case {
        const char* name;
        long long hour, minute;
        float copies, step;
        bool hours;
        Lines added;
    };
    const Case cases[] = {
        {"the defaults", 7, 0, 1, 5, false, {"07:05 Wake #2"}},
        {"three, half an hour apart", 7, 0, 3, 30, false, {"07:30 Wake #2", "08:00 Wake #3", "08:30 Wake #4"}},
        {"backward across midnight", 0, 10, 3, -30, false, {"23:40 Wake #4", "23:10 Wake #3", "22:40 Wake #2"}},
        {"hours across midnight", 23, 0, 2, 2, true, {"01:00 Wake #2", "03:00 Wake #3"}},
        {"backward hours", 1, 0, 2, -3, true, {"22:00 Wake #3", "19:00 Wake #2"}},
        {"no step", 7, 0, 2, 0, false, {"07:00 Wake #2", "07:00 Wake #3"}},
        {"2.5 copies make two", 7, 0, 2.5f, 1, false, {"07:01 Wake #2", "07:02 Wake #3"}},
        {"2.6 copies make three", 7, 0, 2.6f, 1, false, {"07:01 Wake #2", "07:02 Wake #3", "07:03 Wake #4"}},
        {"a step of 1.5 rounds to 2", 7, 0, 1, 1.5f, false, {"07:02 Wake #2"}},
    };
    show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeAllAlarms();
        addAlarm(c.hour, c.minute, true, "Wake");
        sel::reloadData(table());
        layout();
        open(0);
        slide(timesField, c.copies);
        if (c.hours) chooseSegment(1);
        slide(timeField, c.step);
        cloneAndWait();
        Lines expected{format("%02d:%02d Wake", static_cast<int>(c.hour), static_cast<int>(c.minute))};
        expected.insert(expected.end(), c.added.begin(), c.added.end());
        EXPECT_EQ(listed(), expected);
        EXPECT_EQ(table()->rowCount(0), alarmCount());
        advance(1.0);
    }
}

TEST_F(CloneWindow, TheCopiesTakeTheSourcesSettingsAndRecord) {
    Ref<Object> source = addAlarm(6, 45, false, "Gym");
    sel::setDaySetting_(source, 0x1f);
    sel::setAllowsSnooze_(source, false);
    sel::setSound_ofType_(source, Value("Marimba"), 2);
    sel::updateAlarm_active_(manager, source, false);
    auto record = KAlarm::make();
    record->setAlarmId(sel::alarmId(source));
    record->setEnabled(true);
    record->setSnoozeTime(7);
    record->setCalcDifficult(KAlarmCalcDifficultyHard);
    ASSERT_TRUE(RousaSetAlarm(record));
    show();
    open(0);
    slide(timesField, 2);
    cloneAndWait();
    ASSERT_EQ(alarmCount(), 3);
    for (long long row : {1, 2}) {
        SCOPED_TRACE(row);
        id copy = alarmAt(row).object();
        EXPECT_EQ(sel::daySetting(copy), 0x1f);
        EXPECT_FALSE(sel::allowsSnooze(copy));
        EXPECT_FALSE(sel::isActive(copy));
        EXPECT_EQ(sel::sound(copy), Value("Marimba"));
        EXPECT_EQ(sel::soundType(copy), 2);
        Ref<KAlarm> copied = RousaGetAlarm(sel::alarmId(copy));
        ASSERT_TRUE(copied);
        EXPECT_TRUE(copied->enabled());
        EXPECT_EQ(copied->snoozeTime(), 7);
        EXPECT_EQ(copied->calcDifficult(), KAlarmCalcDifficultyHard);
    }
    // The source's own record is as it was.
    EXPECT_EQ(RousaGetAlarm(sel::alarmId(source))->snoozeTime(), 7);
}

TEST_F(CloneWindow, WithoutASourceRecordTheCopiesKeepTheirDefaultRecords) {
    ASSERT_TRUE(RousaSetPref("defSnoozeTime", Value(3)));
    Ref<Object> source = addAlarm(7, 0, true, "Wake");
    ASSERT_TRUE(RousaRemoveAlarm(sel::alarmId(source)));
    show();
    open(0);
    cloneAndWait();
    ASSERT_EQ(alarmCount(), 2);
    Ref<KAlarm> copied = RousaGetAlarm(sel::alarmId(alarmAt(1).object()));
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->snoozeTime(), 3);
    EXPECT_FALSE(RousaGetAlarm(sel::alarmId(source)));
    EXPECT_EQ(alarmRecords(RousaReadPrefsFile()).size(), 1u);
}

TEST_F(CloneWindow, TheDefaultTitleBecomesTheClockAppsOwn) {
    struct Case {
        const char* name;
        Value title;
    };
    const Case cases[] = {{"the default-title key", Value("ALARM_DEFAULT_TITLE")}, {"empty", Value("")}, {"none", Value()}};
    show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        removeAllAlarms();
        Ref<Object> source = addAlarm(7, 0);
        sel::setTitle_(source, c.title);
        sel::reloadData(table());
        layout();
        open(0);
        slide(timesField, 2);
        cloneAndWait();
        ASSERT_EQ(alarmCount(), 3);
        EXPECT_EQ(sel::title(alarmAt(1).object()), Value("Alarm #2"));
        EXPECT_EQ(sel::title(alarmAt(2).object()), Value("Alarm #3"));
        advance(1.0);
    }
}

TEST_F(CloneWindow, CloneShowsProgressClosesTheWindowAndTheWindowLetsItselfGo) {
    addAlarm(7, 0, true, "Wake");
    show();
    open(0);
    WeakRef<Object> clone(window_.get());
    window_ = nullptr;
    ASSERT_TRUE(touch::pressButton(lClone));
    Ref<UIWindow> progress = UIWindow::keyWindow();
    ASSERT_TRUE(progress);
    EXPECT_NE(progress.get(), clone.lock().get());
    EXPECT_EQ(sel::frame(progress), Rect(160 - 51, 377.0 / 2 - 1, 102, 102));
    auto* wheel = as<UIActivityIndicatorView>(progress->subviewList().at(0).get());
    ASSERT_TRUE(wheel);
    EXPECT_TRUE(wheel->animating_);
    EXPECT_TRUE(isColor(wheel->color_, 1, 0, 0, 1));
    EXPECT_EQ(wheel->transform_, AffineTransform::makeScale(1.5, 1.5));
    WeakRef<UIWindow> progressGone(progress.get());
    progress = nullptr;

    // The clone window shrinks over 0.3 s, then goes.
    advance(0.29);
    ASSERT_TRUE(clone.lock());
    EXPECT_EQ(sel::transform(clone.lock()), AffineTransform::makeScale(0.001, 0.001));
    advance(0.01);
    EXPECT_FALSE(clone.lock());
    EXPECT_EQ(alarmCount(), 1);
    // Half a second after Clone the loop runs; the progress window stays for its second more.
    const Date loop = clock::now().addingTimeInterval(0.2);
    advance(0.2);
    EXPECT_EQ(alarmCount(), 2);
    EXPECT_FALSE(progressGone.lock());
    EXPECT_NEAR(clock::now().sinceReferenceDate, loop.addingTimeInterval(1.0).sinceReferenceDate, 1e-6);
    EXPECT_EQ(UIWindow::keyWindow().get(), window.get());
}

TEST_F(CloneWindow, CancelClosesTheWindowAndAddsNothing) {
    addAlarm(7, 0);
    show();
    open(0);
    WeakRef<Object> clone(window_.get());
    window_ = nullptr;
    ASSERT_TRUE(touch::pressButton(lCancel));
    advance(0.3);
    EXPECT_FALSE(clone.lock());
    advance(2);
    EXPECT_EQ(alarmCount(), 1);
    EXPECT_EQ(UIWindow::keyWindow().get(), window.get());
}

TEST_F(CloneWindow, TheAlarmIsFixedWhenTheWindowOpens) {
    addAlarm(6, 0, true, "First");
    addAlarm(7, 0, true, "Second");
    show();
    // Clone before the window has grown: the pressed alarm is cloned.
    open(1, 0);
    cloneAndWait();
    EXPECT_EQ(listed(), (Lines{"06:00 First", "07:00 Second", "07:05 Second #2"}));
    // Without a source alarm, Clone only closes the window.
    open(0);
    currentStockAlarm = nullptr;
    WeakRef<Object> clone(window_.get());
    window_ = nullptr;
    ASSERT_TRUE(touch::pressButton(lClone));
    EXPECT_EQ(UIWindow::keyWindow().get(), clone.lock().get());  // no progress window
    advance(2);
    EXPECT_FALSE(clone.lock());
    EXPECT_EQ(alarmCount(), 3);
}

TEST_F(CloneWindow, ANewWindowStartsFromTheDefaults) {
    addAlarm(7, 0);
    show();
    open(0);
    slide(timesField, 9);
    ASSERT_TRUE(touch::pressButton(lCancel));
    window_ = nullptr;
    advance(1);
    open(0);
    EXPECT_EQ(sel::value(timesField), 1);
    EXPECT_EQ(rowText(2), "1 alarm");
}

// A daylight-saving change between the source's time and a copy's.
class CloneWindowOnAChangeDay : public CloneWindow {
protected:
    static host::BootOptions newYorkOnTheSpringChange() {
        host::BootOptions o = clockAppOn();
        o.timeZone = "America/New_York";
        // 2026-03-08 00:00 in New York (05:00 UTC); clocks go from 02:00 to 03:00.
        o.virtualClockStart = Date::fromUnix(static_cast<double>(calendar::daysFromCivil(2026, 3, 8) * 86400 + 5 * 3600));
        return o;
    }
    CloneWindowOnAChangeDay() : CloneWindow(newYorkOnTheSpringChange()) {}
};

TEST_F(CloneWindowOnAChangeDay, CopiesKeepTheirStepAcrossTheChange) {
    addAlarm(1, 30, true, "Early");
    show();
    open(0);
    slide(timesField, 3);
    slide(timeField, 30);
    cloneAndWait();
    EXPECT_EQ(listed(), (Lines{"01:30 Early", "02:00 Early #2", "02:30 Early #3", "03:00 Early #4"}));
}

// On iOS 7 there are no visual effects: the table goes into the window itself.
class CloneWindowWithoutEffects : public CloneWindow {
protected:
    CloneWindowWithoutEffects() : CloneWindow(clockAppOn("7.1")) {}
};

TEST_F(CloneWindowWithoutEffects, TheTableGoesIntoTheWindow) {
    addAlarm(7, 0);
    show();
    open(0);
    EXPECT_EQ(sel::superview(cloneTable()).get(), window_.get());
    cloneAndWait();
    EXPECT_EQ(alarmCount(), 2);
}

}  // namespace
}  // namespace rousa::testing

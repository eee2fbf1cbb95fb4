#include "tweak/screens/edit_alarm.h"

#include "edit_screen_fixture.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/navigation.h"
#include "tweak/engine/alarm_manager.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing_state.h"

namespace rousa {
namespace {

using testing::EditScreenTest;
using testing::isAccent;
using testing::isColor;

enum class Kind { Header, Value, Switch, Slider };

struct RowCase {
    long long row;
    const char* text;
    Kind kind;
    const char* value;  // a value row's label, a switch "on"/"off", the slider's value
    Rect frame;         // the control's frame in the fresh cell
};
const Rect kNone;

// --- the rows and their values -------------------------------------------------------------------

class EditRows : public EditScreenTest {};

TEST_F(EditRows, AnAlarmWithARecordShowsItInTheTweakRows) {
    Ref<Object> alarm = addAlarm(7, 0);
    store(sel::alarmId(alarm), [](KAlarm& r) {
        r.setEnabled(true);
        r.setVolume(0.5f);
        r.setSnoozeTime(7);
        r.setSnoozeMeasure(KAlarmMeasureMinutes);
        r.setVibrateRing(true);
        r.setDismissInterval(30);
        r.setDismissMeasure(KAlarmMeasureSeconds);
        r.setDismissAction(KAlarmDismissActionSnooze);
        r.setFadeinMeasure(KAlarmMeasureMinutes);
        r.setCalcEnabled(true);
        r.setCalcDifficult(KAlarmCalcDifficultyHard);
    });
    open(alarm);
    ASSERT_TRUE(editRecord);
    EXPECT_EQ(editRecord->alarmId(), sel::alarmId(alarm));
    EXPECT_EQ(sel::numberOfSections(table()), 2);
    EXPECT_EQ(sel::numberOfRowsInSection_(table(), 0), 4);
    EXPECT_EQ(sel::numberOfRowsInSection_(table(), 1), 19);
    EXPECT_EQ((std::vector<long long>{currentSnoozeMeasure, currentFadeMeasure, currentDismissMeasure, currentDismissAction, currentCalcDifficult}),
              (std::vector<long long>{2, 2, 1, 2, 2}));

    // A fresh cell is 320 x 44: a switch is 51 x 31, so controls sit 6.5 points down.
    const RowCase rows[] = {
        {0, "Rousa 2", Kind::Switch, "on", Rect(254, 6.5, 51, 31)},
        {1, "SNOOZE OPTIONS", Kind::Header, nullptr, kNone},
        {2, "Snooze duration", Kind::Value, "7", Rect(244, 6.5, 71, 31)},
        {3, "Unit", Kind::Value, "Minutes", Rect(244, 6.5, 71, 31)},
        {4, "VOLUME OPTIONS", Kind::Header, nullptr, kNone},
        {5, "", Kind::Slider, "0.5", Rect(47, 6, 216, 32)},
        {6, "Fade-in duration", Kind::Value, "Disabled", Rect(244, 6.5, 71, 31)},
        {7, "Unit", Kind::Value, "Minutes", Rect(244, 6.5, 71, 31)},
        {8, "Vibrate on ring", Kind::Switch, "on", Rect(254, 6.5, 51, 31)},
        {9, "Vibrate on silent", Kind::Switch, "off", Rect(254, 6.5, 51, 31)},
        {10, "AUTOMATIC STOP", Kind::Header, nullptr, kNone},
        {11, "Stop after", Kind::Value, "30", Rect(244, 6.5, 71, 31)},
        {12, "Unit", Kind::Value, "Seconds", Rect(244, 6.5, 71, 31)},
        {13, "Action", Kind::Value, "Snooze the alarm", Rect(184, 6.5, 131, 31)},
        {14, "QUESTION OPTIONS", Kind::Header, nullptr, kNone},
        {15, "Ask a question", Kind::Switch, "on", Rect(254, 6.5, 51, 31)},
        {16, "Difficulty", Kind::Value, "Hard", Rect(204, 6.5, 111, 31)},
        {17, "", Kind::Header, nullptr, kNone},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.row);
        Ref<UITableViewCell> cell = build(1, c.row);
        ASSERT_TRUE(cell);
        EXPECT_EQ(text(cell->textLabel_), c.text);
        if (c.kind == Kind::Header) {
            EXPECT_TRUE(isColor(sel::textColor(cell->textLabel_), 0.7, 0.7, 0.7, 1.0));
            EXPECT_EQ(cell->selectionStyle_, UITableViewCellSelectionStyleNone);
            EXPECT_EQ(cell->accessoryType_, UITableViewCellAccessoryNone);
            EXPECT_TRUE(isColor(sel::backgroundColor(cell), 0, 0, 0, 0));
            EXPECT_TRUE(cell->backgroundView_ && cell->selectedBackgroundView_);
            continue;
        }
        Ref<Object> control = *controlOfRow(c.row);
        EXPECT_EQ(keptCellOfRow(c.row)->get(), cell.get());
        EXPECT_EQ(sel::superview(control).get(), cell->contentView_.get());
        EXPECT_EQ(sel::frame(control), c.frame);
        EXPECT_TRUE(isAccent(sel::textColor(cell->textLabel_)));
        EXPECT_EQ(sel::textAlignment(cell->textLabel_), NSTextAlignmentLeft);
        EXPECT_TRUE(sel::isUserInteractionEnabled(cell) && sel::isEnabled(control) && sel::isEnabled(cell->textLabel_));
        switch (c.kind) {
            case Kind::Value:
                EXPECT_EQ(text(control), c.value);
                EXPECT_EQ(cell->accessoryType_, UITableViewCellAccessoryDisclosureIndicator);
                EXPECT_EQ(cell->selectionStyle_, UITableViewCellSelectionStyleGray);
                EXPECT_EQ(sel::textAlignment(control), NSTextAlignmentRight);
                EXPECT_TRUE(isColor(sel::textColor(control), 0.556863, 0.556863, 0.576471, 1.0));
                EXPECT_EQ(sel::autoresizingMask(control), UIViewAutoresizingFlexibleLeftMargin);
                break;
            case Kind::Switch:
                EXPECT_EQ(sel::isOn(control) ? "on" : "off", std::string(c.value));
                EXPECT_EQ(cell->selectionStyle_, UITableViewCellSelectionStyleNone);
                EXPECT_TRUE(isAccent(sel::onTintColor(control)));
                break;
            case Kind::Slider:
                EXPECT_EQ(format("%g", sel::value(control)), c.value);
                EXPECT_FLOAT_EQ(sel::minimumValue(control), 0.064159f);
                EXPECT_FLOAT_EQ(sel::maximumValue(control), 1.0f);
                EXPECT_TRUE(isAccent(sel::tintColor(control)));
                break;
            case Kind::Header: break;
        }
    }

    // The stock rows: Delete after the tweak rows, the settings above them, in the accent colour.
    EXPECT_EQ(text(build(1, 18)->textLabel_), "Delete Alarm");
    EXPECT_TRUE(isAccent(sel::textColor(build(1, 18)->textLabel_)));
    for (long long row = 0; row < 4; ++row) EXPECT_TRUE(isAccent(sel::textColor(build(0, row)->textLabel_)));
    EXPECT_TRUE(isAccent(sel::onTintColor(build(0, 3)->accessoryView_)));
}

TEST_F(EditRows, TheVolumeRowShowsTheSpeakersAndNeverGoesBelowItsMinimum) {
    Ref<Object> alarm = addAlarm(7, 0);
    store(sel::alarmId(alarm), [](KAlarm& r) { r.setEnabled(true); });  // volume 0
    open(alarm);
    Ref<UITableViewCell> cell = build(1, 5);
    EXPECT_FLOAT_EQ(sel::value(volumeSlider), 0.064159f);
    std::vector<std::string> images;
    for (const auto& v : cell->contentView_->subviewList())
        if (auto* view = as<UIImageView>(v.get())) {
            auto* image = as<UIImage>(view->image_.get());
            ASSERT_TRUE(image);
            EXPECT_EQ(image->size_, (Size{32, 32}));
            images.push_back(format("%@ %g", Value(fs::basename(image->path_)), sel::frame(view).x()));
        }
    EXPECT_EQ(images, (std::vector<std::string>{"SpeakerLoad1.png 15", "SpeakerMax.png 273"}));
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_FLOAT_EQ(RousaGetAlarm(sel::alarmId(alarm))->volume(), 0.064159f);
}

TEST_F(EditRows, ANewAlarmShowsTheDefaultsAndGetsNoRecordYet) {
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{
                                          {"defEnabled", Value(true)},       {"defSnoozeTime", Value(0)},      {"defSnoozeMeasure", Value(3)},
                                          {"defVolume", Value(0.25)},        {"defVibrateRing", Value(true)},  {"defVibrateSilent", Value(false)},
                                          {"defDismissTime", Value(0)},      {"defDismissMeasure", Value(2)},  {"defDismissAction", Value(1)},
                                          {"defFadeTime", Value(0)},         {"defFadeMeasure", Value(2)},     {"defCalcEnabled", Value(false)},
                                          {"defCalcDifficult", Value(3)},
                                      }));
    open(newAlarm());
    EXPECT_FALSE(editRecord);
    EXPECT_FALSE(RousaReadPrefsFile()["Alarms"]);
    EXPECT_EQ(sel::numberOfSections(table()), 2);
    EXPECT_EQ(sel::numberOfRowsInSection_(table(), 1), 18);
    const std::pair<Ref<Object>*, const char*> labels[] = {
        {&snoozeTimeLabel, "Default"},        {&snoozeMeasureLabel, "Hours"},   {&fadeTimeLabel, "Disabled"},
        {&fadeMeasureLabel, "Minutes"},       {&dismissTimeLabel, "Disabled"},  {&dismissMeasureLabel, "Minutes"},
        {&dismissActionLabel, "Stop the alarm"}, {&calcDifficultLabel, "Lifeless"},
    };
    for (const auto& [label, expected] : labels) EXPECT_EQ(text(*label), expected);
    EXPECT_TRUE(sel::isOn(enabledSwitch));
    EXPECT_TRUE(sel::isOn(vibrateRingSwitch));
    EXPECT_FALSE(sel::isOn(vibrateSilentSwitch));
    EXPECT_FALSE(sel::isOn(calcSwitch));
    EXPECT_FLOAT_EQ(sel::value(volumeSlider), 0.25f);
    EXPECT_EQ((std::vector<long long>{currentSnoozeMeasure, currentFadeMeasure, currentDismissMeasure, currentDismissAction, currentCalcDifficult}),
              (std::vector<long long>{3, 2, 2, 1, 3}));
}

TEST_F(EditRows, AnAlarmWithoutARecordGetsTheFilesDefaultRecordFirst) {
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"defSnoozeTime", Value(4)}, {"defFadeTime", Value(9)}}));
    Ref<Object> alarm = addAlarm(7, 0);
    RousaRemoveAlarm(sel::alarmId(alarm));
    open(alarm);
    ASSERT_TRUE(RousaGetAlarm(sel::alarmId(alarm)));
    EXPECT_EQ(text(snoozeTimeLabel), "4");
    // The record has no fade-in (its defaults do not include one); the record wins over defFadeTime.
    EXPECT_EQ(text(fadeTimeLabel), "Disabled");
}

TEST_F(EditRows, UnknownValuesShowTheirNumberAndAnUnknownDifficultyShowsEasy) {
    Ref<Object> alarm = addAlarm(7, 0);
    store(sel::alarmId(alarm), [](KAlarm& r) {
        r.setSnoozeMeasure(7);
        r.setFadeinTime(3);
        r.setFadeinMeasure(KAlarmMeasureHours);  // no hours for the fade-in
        r.setDismissMeasure(0);
        r.setDismissAction(5);
        r.setCalcDifficult(9);
    });
    open(alarm);
    EXPECT_EQ(text(snoozeMeasureLabel), "7");
    EXPECT_EQ(text(fadeTimeLabel), "3");
    EXPECT_EQ(text(fadeMeasureLabel), "3");
    EXPECT_EQ(text(dismissMeasureLabel), "0");
    EXPECT_EQ(text(dismissActionLabel), "5");
    EXPECT_EQ(text(calcDifficultLabel), "Easy");
    EXPECT_EQ(currentCalcDifficult, 9);
}

TEST_F(EditRows, ALaterScreenRefillsTheSameControls) {
    Ref<Object> first = addAlarm(7, 0), second = addAlarm(8, 0);
    store(sel::alarmId(first), [](KAlarm& r) { r.setSnoozeTime(3); });
    store(sel::alarmId(second), [](KAlarm& r) { r.setSnoozeTime(11); });
    open(first);
    Ref<Object> label = snoozeTimeLabel;
    EXPECT_EQ(text(label), "3");
    sel::setText_(label, Value("99"));  // changed, then left without Done
    open(second);
    EXPECT_EQ(snoozeTimeLabel.get(), label.get());
    EXPECT_EQ(text(label), "11");
    EXPECT_EQ(RousaGetAlarm(sel::alarmId(first))->snoozeTime(), 3);
}

// --- multiple edit ------------------------------------------------------------------------------------

TEST_F(EditRows, InMultipleEditTheScreenShowsSixteenRowsMoreAndTheTimeIsInert) {
    Ref<Object> a = addAlarm(7, 0), b = addAlarm(8, 0);
    alarmsSelected = Value::array({Value(a), Value(b)});
    open(a);
    EXPECT_EQ(sel::numberOfRowsInSection_(table(), 1), 17);
    EXPECT_EQ(text(build(1, 16)->textLabel_), "Difficulty");
    EXPECT_FALSE(sel::isUserInteractionEnabled(picker()));
    EXPECT_TRUE(isColor(sel::backgroundColor(picker()), 1.0, 0.0, 0.0, 0.15));
    for (long long row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        Ref<UITableViewCell> cell = build(0, row);
        bool inert = row < 2;
        EXPECT_EQ(isColor(sel::backgroundColor(cell), 1.0, 0.0, 0.0, 0.15), inert);
        EXPECT_EQ(sel::isUserInteractionEnabled(cell), !inert);
        EXPECT_EQ(sel::isEnabled(cell->textLabel_), !inert);
        EXPECT_TRUE(isAccent(sel::textColor(cell->textLabel_)));
    }
}

TEST_F(EditRows, AnEmptySelectionIsASingleEdit) {
    Ref<Object> a = addAlarm(7, 0);
    alarmsSelected = Value(Value::Array{});
    open(a);
    EXPECT_EQ(sel::numberOfRowsInSection_(table(), 1), 19);
    EXPECT_TRUE(sel::isUserInteractionEnabled(picker()));
}

// --- the enable switch ---------------------------------------------------------------------------------------

TEST_F(EditRows, TurningTheEnableSwitchOffGreysTheRowsAndReloadsTheVisibleOnes) {
    Ref<Object> alarm = addAlarm(7, 0);
    store(sel::alarmId(alarm), [](KAlarm& r) { r.setEnabled(true); });
    open(alarm);
    scrollTo(1, 0);
    ASSERT_TRUE(enabledCell);
    scrollTo(1, 2);  // rows 2 to 9 of the tweak section in view
    Ref<Object> before = snoozeTimeCell;
    Ref<Object> calcBefore = calcDifficultCell;

    callLog::clear();
    sel::setOn_(enabledSwitch, false);
    sel::sendActionsForControlEvents_(enabledSwitch, UIControlEventValueChanged);
    EXPECT_EQ(stockRowsAsked(), (std::vector<long long>{2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_NE(snoozeTimeCell.get(), before.get());
    for (long long row : {2, 3, 5, 6, 7, 8, 9}) {
        SCOPED_TRACE(row);
        Ref<Object> cell = *keptCellOfRow(row);
        EXPECT_FALSE(sel::isUserInteractionEnabled(cell));
        EXPECT_FALSE(sel::isEnabled(sel::textLabel(cell)));
        EXPECT_FALSE(sel::isEnabled(*controlOfRow(row)));
        EXPECT_FALSE(sel::isUserInteractionEnabled(*controlOfRow(row)));
        EXPECT_EQ(sel::cellForRowAtIndexPath_(table(), NSIndexPath::make(1, row)).get(), cell.get());
    }
    // Rows out of view are rebuilt greyed when they come into view.
    EXPECT_EQ(calcDifficultCell.get(), calcBefore.get());
    scrollTo(1, 11);
    EXPECT_FALSE(sel::isEnabled(calcDifficultLabel));
    EXPECT_FALSE(sel::isUserInteractionEnabled(calcDifficultCell));
    // The switch's own row stays live.
    EXPECT_TRUE(sel::isUserInteractionEnabled(enabledCell) && sel::isEnabled(enabledSwitch));

    sel::setOn_(enabledSwitch, true);
    sel::sendActionsForControlEvents_(enabledSwitch, UIControlEventValueChanged);
    for (long long row : {11, 12, 13, 15, 16}) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(sel::isUserInteractionEnabled(*keptCellOfRow(row)));
        EXPECT_TRUE(sel::isEnabled(*controlOfRow(row)));
    }
}

struct ConsistencyCase {
    const char* name;
    bool newAlarm;
    bool multiple;
    long long rows;
};
void PrintTo(const ConsistencyCase& c, std::ostream* os) { *os << c.name; }

class EditTableConsistency : public EditScreenTest, public ::testing::WithParamInterface<ConsistencyCase> {};

TEST_P(EditTableConsistency, EveryRowBuildsAndReloadsWithoutAnInconsistentUpdate) {
    const ConsistencyCase& c = GetParam();
    Ref<Object> a = addAlarm(7, 0), b = addAlarm(8, 0);
    if (c.multiple) alarmsSelected = Value::array({Value(a), Value(b)});
    open(c.newAlarm ? newAlarm() : a);
    showEveryRow();
    EXPECT_EQ(table()->cells_.size(), static_cast<std::size_t>(4 + c.rows));
    EXPECT_NO_THROW({
        for (bool on : {false, true}) {
            sel::setOn_(enabledSwitch, on);
            sel::sendActionsForControlEvents_(enabledSwitch, UIControlEventValueChanged);
        }
        std::vector<IndexPath> all;
        for (long long row = 0; row < c.rows; ++row) all.push_back({1, row});
        sel::reloadRowsAtIndexPaths_withRowAnimation_(table(), indexPathArray(all), UITableViewRowAnimationNone);
        sel::reloadData(table());
        layoutIfNeeded(table());
    });
    EXPECT_EQ(table()->cells_.size(), static_cast<std::size_t>(4 + c.rows));
}

INSTANTIATE_TEST_SUITE_P(Screens, EditTableConsistency,
                         ::testing::Values(ConsistencyCase{"existing_alarm", false, false, 19}, ConsistencyCase{"new_alarm", true, false, 18},
                                           ConsistencyCase{"multiple_edit", false, true, 17}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- the header and the navigation bar --------------------------------------------------------------------------

TEST_F(EditRows, TheHeaderShowsTheTimeUntilTheAlarmAndFollowsThePicker) {
    // The clock stands at Monday 06:00.
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"WKSClockAppTimeFormat", Value(2)}}));
    Ref<Object> alarm = addAlarm(7, 0);
    open(alarm);
    ASSERT_TRUE(timeUntilHeaderLabel);
    Ref<Object> header = sel::tableHeaderView(table());
    EXPECT_EQ(sel::superview(timeUntilHeaderLabel).get(), header.get());
    EXPECT_EQ(sel::frame(header), Rect(0, 0, 320, 44));
    EXPECT_EQ(text(timeUntilHeaderLabel), "1 hour 1 minute");
    EXPECT_EQ(sel::center(timeUntilHeaderLabel), (Point{160, 22}));
    EXPECT_EQ(sel::frame(timeUntilHeaderLabel).width(), 15 * 8.5);  // sized to its text
    EXPECT_TRUE(isColor(sel::textColor(timeUntilHeaderLabel), 1.0 / 3, 1.0 / 3, 1.0 / 3, 1));  // dark grey

    callLog::clear();
    sel::setCountDownDuration_(picker(), 6 * 3600 + 30 * 60);
    sel::sendActionsForControlEvents_(picker(), UIControlEventValueChanged);
    EXPECT_EQ(callLog::count("EditAlarmViewController", "handlePickerChanged"), 1);
    Ref<Object> proxy = sel::editingProxy(alarm);
    EXPECT_EQ(sel::hour(proxy), 6);
    EXPECT_EQ(sel::minute(proxy), 30);
    EXPECT_EQ(sel::hour(alarm), 7);  // the alarm itself changes on Done
    EXPECT_EQ(text(timeUntilHeaderLabel), "31 minutes");
    EXPECT_EQ(sel::center(timeUntilHeaderLabel), (Point{160, 22}));
}

TEST_F(EditRows, TheNavigationBarTakesTheAccentWhileTheScreenIsUp) {
    Ref<Object> appearance = sel::appearance(objc_getClass("UINavigationBar"));
    Ref<UIColor> before = UIColor::rgba(0, 0, 1, 1);
    sel::setTintColor_(appearance, before);
    open(addAlarm(7, 0));
    EXPECT_EQ(oldColor.get(), before.get());
    EXPECT_TRUE(isAccent(sel::tintColor(appearance)));
    auto bar = UIView::make("UINavigationBar", Rect(0, 0, 320, 44));
    EXPECT_TRUE(isAccent(sel::tintColor(bar)));
    sel::setRootViewController_(window, nullptr);  // the screen goes
    EXPECT_EQ(callLog::count("EditAlarmViewController", "viewWillDisappear:"), 1);
    EXPECT_EQ(sel::tintColor(appearance).get(), before.get());
}

TEST_F(EditRows, TheScreenAdoptsUIKitsSheetDelegateProtocolOnce) {
    Class* screen = objc_getClass("EditAlarmViewController");
    Protocol* sheetDelegate = objc_getProtocol("UIActionSheetDelegate");
    ASSERT_TRUE(sheetDelegate);
    open(addAlarm(7, 0));
    open(addAlarm(8, 0));
    // The class conforms to UIKit's one protocol of that name, adopted already.
    EXPECT_TRUE(class_conformsToProtocol(screen, sheetDelegate));
    EXPECT_FALSE(class_addProtocol(screen, sheetDelegate));
    EXPECT_FALSE(objc_allocateProtocol("UIActionSheetDelegate"));
    EXPECT_FALSE(log::contains("UIActionSheetDelegate"));
    EXPECT_EQ(sel::numberOfRowsInSection_(table(), 1), 19);
}

// --- Done -----------------------------------------------------------------------------------------------------------

class EditDone : public EditScreenTest, public ::testing::WithParamInterface<std::string> {
protected:
    EditDone() : EditScreenTest(GetParam()) {}
    // Changes every control and choice the way the rows and sheets would.
    static void changeEverything() {
        sel::setOn_(enabledSwitch, true);
        sel::setValue_(volumeSlider, 0.7f);
        sel::setText_(snoozeTimeLabel, Value("12abc"));
        currentSnoozeMeasure = KAlarmMeasureHours;
        sel::setOn_(vibrateRingSwitch, false);
        sel::setOn_(vibrateSilentSwitch, true);
        sel::setText_(dismissTimeLabel, Value(lDisabled));
        currentDismissMeasure = KAlarmMeasureMinutes;
        currentDismissAction = KAlarmDismissActionSnooze;
        sel::setText_(fadeTimeLabel, Value("15"));
        currentFadeMeasure = KAlarmMeasureSeconds;
        sel::setOn_(calcSwitch, true);
        currentCalcDifficult = KAlarmCalcDifficultyLifeless;
    }
    static Value expectedRecord(const Value& alarmId) {
        auto r = KAlarm::make();
        r->setAlarmId(alarmId);
        r->setEnabled(true);
        r->setVolume(0.7f);
        r->setSnoozeTime(12);
        r->setSnoozeMeasure(3);
        r->setVibrateSilent(true);
        r->setDismissMeasure(2);
        r->setDismissAction(2);
        r->setFadeinTime(15);
        r->setFadeinMeasure(1);
        r->setCalcEnabled(true);
        r->setCalcDifficult(3);
        return r->data();
    }
};

TEST_P(EditDone, DoneOnAnExistingAlarmStoresTheControlsAfterTheStockSave) {
    Ref<Object> alarm = addAlarm(7, 0);
    Ref<Object> other = addAlarm(9, 0);
    Value otherRecord = RousaGetAlarm(sel::alarmId(other))->data();
    open(alarm);
    changeEverything();
    lockButtonPressed = true;
    callLog::clear();
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_FALSE(lockButtonPressed);
    EXPECT_EQ(callLog::lines("AlarmManager"), (std::vector<std::string>{"AlarmManager updateAlarm:active: ALARM-1 07:00 YES"}));
    EXPECT_EQ(RousaGetAlarm(sel::alarmId(alarm))->data(), expectedRecord(sel::alarmId(alarm)));
    EXPECT_EQ(RousaGetAlarm(sel::alarmId(other))->data(), otherRecord);
    EXPECT_EQ(alarmRecords(RousaReadPrefsFile()).size(), 2u);
}

TEST_P(EditDone, DoneOnANewAlarmStoresTheControlsUnderTheIdTheStockSaveGaveIt) {
    Ref<Object> alarm = newAlarm();
    open(alarm);
    changeEverything();
    callLog::clear();
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_EQ(callLog::lines("AlarmManager"), (std::vector<std::string>{"AlarmManager addAlarm:active: ALARM-1 07:00 YES"}));
    Value alarmId = sel::alarmId(alarm);
    ASSERT_EQ(alarmId, Value("ALARM-1"));
    EXPECT_EQ(RousaGetAlarm(alarmId)->data(), expectedRecord(alarmId));
    EXPECT_EQ(alarmRecords(RousaReadPrefsFile()).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Versions, EditDone, ::testing::Values("7.1", "8.4", "9.3"),
                         [](const auto& info) { return "iOS" + info.param.substr(0, 1); });

// --- the multiple edit ----------------------------------------------------------------------------------------------------

class MultipleEdit : public EditScreenTest {
protected:
    MultipleEdit() {
        a = addAlarm(7, 0);
        b = addAlarm(8, 0);
        c = addAlarm(9, 0);
        store(sel::alarmId(c), [](KAlarm& r) { r.setSnoozeTime(44); });
    }
    std::vector<std::string> updates() { return callLog::lines("updateAlarm:active:"); }
    Ref<Object> a, b, c;
};

TEST_F(MultipleEdit, DoneWritesEverySelectedAlarmAndUpdatesEachThroughTheStock) {
    alarmsSelected = Value::array({Value(a), Value(b)});
    open(a);
    sel::setText_(snoozeTimeLabel, Value("20"));
    currentSnoozeMeasure = KAlarmMeasureMinutes;
    sel::setOn_(calcSwitch, true);
    sel::setSound_ofType_(sel::editingProxy(a), Value("Chimes"), 1);
    sel::setAllowsSnooze_(sel::editingProxy(a), false);
    callLog::clear();
    sel::_doneButtonClicked_(screen, nullptr);

    EXPECT_EQ(updates(), (std::vector<std::string>{"AlarmManager updateAlarm:active: ALARM-1 07:00 YES",
                                                   "AlarmManager updateAlarm:active: ALARM-2 08:00 YES"}));
    for (const Ref<Object>& alarm : {a, b}) {
        SCOPED_TRACE(sel::alarmId(alarm).string());
        Ref<KAlarm> record = RousaGetAlarm(sel::alarmId(alarm));
        EXPECT_EQ(record->data(), recordFromEditControls(sel::alarmId(alarm))->data());
        EXPECT_EQ(record->snoozeTime(), 20);
        EXPECT_EQ(record->snoozeMeasure(), 2);
        EXPECT_TRUE(record->calcEnabled());
        EXPECT_EQ(sel::sound(alarm), Value("Chimes"));
        EXPECT_EQ(sel::soundType(alarm), 1);
        EXPECT_FALSE(sel::allowsSnooze(alarm));
    }
    EXPECT_EQ(RousaGetAlarm(sel::alarmId(c))->snoozeTime(), 44);
    EXPECT_EQ(sel::sound(c), Value());
    EXPECT_TRUE(alarmsSelected.isArray());
    EXPECT_EQ(alarmsSelected.count(), 0u);
    EXPECT_FALSE(multiEditSaveRequested);
    EXPECT_FALSE(multiEditInProgress);
}

TEST_F(MultipleEdit, AToggleDuringASelectionPassesStraightThrough) {
    alarmsSelected = Value::array({Value(a), Value(b)});
    open(a);
    sel::setText_(snoozeTimeLabel, Value("20"));
    Value before = RousaReadPrefsFile();
    callLog::clear();
    sel::updateAlarm_active_(manager, c, false);
    EXPECT_EQ(updates(), (std::vector<std::string>{"AlarmManager updateAlarm:active: ALARM-3 09:00 NO"}));
    EXPECT_EQ(RousaReadPrefsFile(), before);
    EXPECT_EQ(alarmsSelected.count(), 2u);
}

TEST_F(MultipleEdit, AnAlarmRemovedMeanwhileIsSkipped) {
    alarmsSelected = Value::array({Value(a), Value(b)});
    open(a);
    sel::removeAlarm_(manager, b);
    callLog::clear();
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_EQ(updates(), (std::vector<std::string>{"AlarmManager updateAlarm:active: ALARM-1 07:00 YES"}));
    EXPECT_FALSE(RousaGetAlarm(sel::alarmId(b)));
    EXPECT_EQ(alarmsSelected.count(), 0u);
}

TEST_F(MultipleEdit, DoneThatAddsAnAlarmLeavesLaterUpdatesAlone) {
    alarmsSelected = Value::array({Value(a)});
    Ref<Object> fresh = newAlarm();
    open(fresh);
    sel::setText_(snoozeTimeLabel, Value("20"));
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_FALSE(multiEditSaveRequested);
    ASSERT_TRUE(sel::alarmId(fresh).isString());
    EXPECT_NE(RousaGetAlarm(sel::alarmId(fresh))->snoozeTime(), 20);  // the multiple edit stores no single record
    Value before = RousaReadPrefsFile();
    callLog::clear();
    sel::updateAlarm_active_(manager, a, false);
    EXPECT_EQ(updates().size(), 1u);
    EXPECT_EQ(RousaReadPrefsFile(), before);
}

}  // namespace
}  // namespace rousa

#include "tweak/screens/edit_alarm_sheets.h"

#include "edit_screen_fixture.h"
#include "platform/uikit/alert_sheets.h"

namespace rousa {
namespace {

using testing::EditScreenTest;

std::vector<std::string> buttonTitles(id alert) {
    std::vector<std::string> out;
    for (long long i = 0; i < sel::numberOfButtons(alert); ++i) out.push_back(sel::buttonTitleAtIndex_(alert, i).stringOr("nil"));
    return out;
}

class EditSheets : public EditScreenTest {
protected:
    explicit EditSheets(long long idiom = UIUserInterfaceIdiomPhone) : EditScreenTest("8.4", idiom) {
        alarm = addAlarm(7, 0);
        open(alarm);
    }
    // Taps the row of the tweak section and answers the one sheet it opens.
    Ref<UIActionSheet> tapRow(long long row) {
        table()->tapRow({1, row});
        auto up = UIActionSheet::visibleSheets();
        return up.size() == 1 ? up[0] : nullptr;
    }
    // Every label and choice a sheet may change, set to values no sheet gives.
    static void mark() {
        for (Ref<Object>* label : {&snoozeTimeLabel, &snoozeMeasureLabel, &fadeTimeLabel, &fadeMeasureLabel, &dismissTimeLabel,
                                   &dismissMeasureLabel, &dismissActionLabel, &calcDifficultLabel})
            sel::setText_(*label, Value("was"));
        currentSnoozeMeasure = currentFadeMeasure = currentDismissMeasure = currentDismissAction = currentCalcDifficult = 99;
    }
    Ref<Object> alarm;
};

struct SheetCase {
    long long row;
    long long tag;
    const char* title;
    std::vector<std::string> buttons;
};

TEST_F(EditSheets, EachValueRowOpensItsSheetWithTheCancelButtonLast) {
    const SheetCase sheets[] = {
        {2, kSnoozeTimeSheet, "Snooze duration", {"5", "10", "15", "Default", "Custom", "Cancel"}},
        {3, kSnoozeMeasureSheet, "Unit", {"Seconds", "Minutes", "Hours", "Cancel"}},
        {6, kFadeTimeSheet, "Fade-in duration", {"1", "2", "5", "Disabled", "Custom", "Cancel"}},
        {7, kFadeMeasureSheet, "Unit", {"Seconds", "Minutes", "Cancel"}},
        {11, kDismissTimeSheet, "Stop after", {"5", "10", "15", "Disabled", "Custom", "Cancel"}},
        {12, kDismissMeasureSheet, "Unit", {"Seconds", "Minutes", "Cancel"}},
        {13, kDismissActionSheet, "Action", {"Stop the alarm", "Snooze the alarm", "Cancel"}},
        {16, kCalcDifficultSheet, "Difficulty", {"Easy", "Normal", "Hard", "Lifeless", "Cancel"}},
    };
    for (const auto& c : sheets) {
        SCOPED_TRACE(c.row);
        Ref<UIActionSheet> sheet = tapRow(c.row);
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sel::tag(sheet), c.tag);
        EXPECT_EQ(sel::title(sheet), Value(c.title));
        EXPECT_EQ(buttonTitles(sheet), c.buttons);
        EXPECT_EQ(sel::cancelButtonIndex(sheet), static_cast<long long>(c.buttons.size()) - 1);
        EXPECT_EQ(sel::delegate(sheet).get(), screen.get());
        EXPECT_EQ(sheet->shownInView_.lock().get(), screen->view_.get());
        EXPECT_FALSE(sheet->inPopover_);
        sel::dismiss_(screen, sheet);
        EXPECT_TRUE(UIActionSheet::visibleSheets().empty());
    }
}

struct ChoiceCase {
    long long row;
    long long index;
    Ref<Object>* label;
    const char* text;         // the label afterwards
    long long* choice;        // null: the sheet sets no choice
    long long value;          // the choice afterwards
};

TEST_F(EditSheets, EachButtonSetsItsLabelAndChoiceAndCancelKeepsThePreviousOnes) {
    const ChoiceCase cases[] = {
        {2, 0, &snoozeTimeLabel, "5", nullptr, 0},
        {2, 1, &snoozeTimeLabel, "10", nullptr, 0},
        {2, 2, &snoozeTimeLabel, "15", nullptr, 0},
        {2, 3, &snoozeTimeLabel, "Default", nullptr, 0},
        {2, 5, &snoozeTimeLabel, "was", nullptr, 0},
        {11, 0, &dismissTimeLabel, "5", nullptr, 0},
        {11, 1, &dismissTimeLabel, "10", nullptr, 0},
        {11, 2, &dismissTimeLabel, "15", nullptr, 0},
        {11, 3, &dismissTimeLabel, "Disabled", nullptr, 0},
        {11, 5, &dismissTimeLabel, "was", nullptr, 0},
        {6, 0, &fadeTimeLabel, "1", nullptr, 0},
        {6, 1, &fadeTimeLabel, "2", nullptr, 0},
        {6, 2, &fadeTimeLabel, "5", nullptr, 0},
        {6, 3, &fadeTimeLabel, "Disabled", nullptr, 0},
        {6, 5, &fadeTimeLabel, "was", nullptr, 0},
        {3, 0, &snoozeMeasureLabel, "Seconds", &currentSnoozeMeasure, 1},
        {3, 1, &snoozeMeasureLabel, "Minutes", &currentSnoozeMeasure, 2},
        {3, 2, &snoozeMeasureLabel, "Hours", &currentSnoozeMeasure, 3},
        {3, 3, &snoozeMeasureLabel, "was", &currentSnoozeMeasure, 99},
        {12, 0, &dismissMeasureLabel, "Seconds", &currentDismissMeasure, 1},
        {12, 1, &dismissMeasureLabel, "Minutes", &currentDismissMeasure, 2},
        {12, 2, &dismissMeasureLabel, "was", &currentDismissMeasure, 99},
        {7, 0, &fadeMeasureLabel, "Seconds", &currentFadeMeasure, 1},
        {7, 1, &fadeMeasureLabel, "Minutes", &currentFadeMeasure, 2},
        {7, 2, &fadeMeasureLabel, "was", &currentFadeMeasure, 99},
        {13, 0, &dismissActionLabel, "Stop the alarm", &currentDismissAction, 1},
        {13, 1, &dismissActionLabel, "Snooze the alarm", &currentDismissAction, 2},
        {13, 2, &dismissActionLabel, "was", &currentDismissAction, 99},
        {16, 0, &calcDifficultLabel, "Easy", &currentCalcDifficult, 0},
        {16, 1, &calcDifficultLabel, "Normal", &currentCalcDifficult, 1},
        {16, 2, &calcDifficultLabel, "Hard", &currentCalcDifficult, 2},
        {16, 3, &calcDifficultLabel, "Lifeless", &currentCalcDifficult, 3},
        {16, 4, &calcDifficultLabel, "was", &currentCalcDifficult, 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(format("row %ld, button %ld", c.row, c.index));
        mark();
        Ref<UIActionSheet> sheet = tapRow(c.row);
        ASSERT_TRUE(sheet);
        sheet->clickButton(c.index);
        EXPECT_TRUE(UIActionSheet::visibleSheets().empty());
        EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
        EXPECT_EQ(text(*c.label), c.text);
        for (long long* choice : {&currentSnoozeMeasure, &currentFadeMeasure, &currentDismissMeasure, &currentDismissAction, &currentCalcDifficult})
            EXPECT_EQ(*choice, choice == c.choice ? c.value : 99);
    }
}

TEST_F(EditSheets, OnlyTheStockRowsReachTheStockSelection) {
    callLog::clear();
    for (long long row = 0; row < 19; ++row) {
        table()->tapRow({1, row});
        for (const auto& sheet : UIActionSheet::visibleSheets()) sel::dismiss_(screen, sheet);
    }
    for (long long row = 0; row < 4; ++row) table()->tapRow({0, row});
    EXPECT_EQ(callLog::lines("didSelectRowAtIndexPath"),
              (std::vector<std::string>{"EditAlarmViewController tableView:didSelectRowAtIndexPath: 1.18",
                                        "EditAlarmViewController tableView:didSelectRowAtIndexPath: 0.0",
                                        "EditAlarmViewController tableView:didSelectRowAtIndexPath: 0.1",
                                        "EditAlarmViewController tableView:didSelectRowAtIndexPath: 0.2",
                                        "EditAlarmViewController tableView:didSelectRowAtIndexPath: 0.3"}));
}

TEST_F(EditSheets, LengthRowsReloadWhenTappedAndUnitRowsAfterTheirSheet) {
    scrollTo(1, 2);  // rows 2 to 9 in view
    struct {
        long long row;
        long long button;
        std::vector<long long> reloadedOnTap, reloadedAfterSheet;
    } const cases[] = {
        {2, 0, {2}, {}},
        {6, 5, {6}, {}},
        {3, 1, {}, {3}},
        {7, 2, {}, {7}},  // the cancel button too
        {12, 0, {}, {}},  // out of view
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        callLog::clear();
        Ref<UIActionSheet> sheet = tapRow(c.row);
        ASSERT_TRUE(sheet);
        EXPECT_EQ(stockRowsAsked(), c.reloadedOnTap);
        callLog::clear();
        sheet->clickButton(c.button);
        EXPECT_EQ(stockRowsAsked(), c.reloadedAfterSheet);
    }
}

struct PromptCase {
    const char* name;
    long long row;
    long long tag;
    const char* message;
    Ref<Object>* label;
    const char* typed;
    const char* shown;  // the label afterwards
    long long (KAlarm::*field)() const;
    long long saved;
};
void PrintTo(const PromptCase& c, std::ostream* os) { *os << c.name; }

class CustomValues : public EditSheets, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(CustomValues, ACustomNumberIsTypedIntoAPromptAndSavedAsItsNumber) {
    const PromptCase& c = GetParam();
    sel::setText_(*c.label, Value("7"));
    Ref<UIActionSheet> sheet = tapRow(c.row);
    ASSERT_TRUE(sheet);
    sheet->clickButton(4);
    EXPECT_TRUE(UIActionSheet::visibleSheets().empty());
    auto prompts = UIAlertView::visibleAlerts();
    ASSERT_EQ(prompts.size(), 1u);
    Ref<UIAlertView> prompt = prompts[0];
    EXPECT_EQ(sel::tag(prompt), c.tag);
    EXPECT_EQ(sel::title(prompt), Value("Custom"));
    EXPECT_EQ(sel::message(prompt), Value(c.message));
    EXPECT_EQ(buttonTitles(prompt), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(sel::cancelButtonIndex(prompt), 0);
    EXPECT_EQ(sel::alertViewStyle(prompt), UIAlertViewStylePlainTextInput);
    EXPECT_EQ(sel::delegate(prompt).get(), screen.get());
    Ref<Object> field = sel::textFieldAtIndex_(prompt, 0);
    EXPECT_EQ(sel::keyboardType(field), UIKeyboardTypeNumberPad);
    EXPECT_EQ(sel::delegate(field).get(), screen.get());

    sel::setText_(field, Value(c.typed));
    prompt->clickButton(0);
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
    EXPECT_EQ(text(*c.label), c.shown);
    sel::_doneButtonClicked_(screen, nullptr);
    EXPECT_EQ((*RousaGetAlarm(sel::alarmId(alarm)).*c.field)(), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, CustomValues,
    ::testing::Values(PromptCase{"snooze_number", 2, kSnoozeTimePrompt, "Snooze duration", &snoozeTimeLabel, "45", "45", &KAlarm::snoozeTime, 45},
                      PromptCase{"stop_zero", 11, kDismissTimePrompt, "Stop after", &dismissTimeLabel, "0", "0", &KAlarm::dismissInterval, 0},
                      PromptCase{"fade_empty_keeps", 6, kFadeTimePrompt, "Fade-in duration", &fadeTimeLabel, "", "7", &KAlarm::fadeinTime, 7},
                      PromptCase{"snooze_letters", 2, kSnoozeTimePrompt, "Snooze duration", &snoozeTimeLabel, "abc", "abc", &KAlarm::snoozeTime, 0},
                      PromptCase{"snooze_leading_number", 2, kSnoozeTimePrompt, "Snooze duration", &snoozeTimeLabel, "12abc", "12abc",
                                 &KAlarm::snoozeTime, 12},
                      // More than the record holds: the largest value it can, never a wrapped one.
                      PromptCase{"stop_beyond_the_record", 11, kDismissTimePrompt, "Stop after", &dismissTimeLabel, "99999999999",
                                 "99999999999", &KAlarm::dismissInterval, 2147483647}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditSheets, APromptOrSheetOfAnotherTagChangesNothing) {
    mark();
    Ref<Object> other = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(alloc("UIAlertView"), Value("x"), Value(),
                                                                                                 screen, Value("OK"), Value());
    sel::setAlertViewStyle_(other, UIAlertViewStylePlainTextInput);
    sel::setText_(sel::textFieldAtIndex_(other, 0), Value("5"));
    sel::setTag_(other, 444);
    sel::alertView_clickedButtonAtIndex_(screen, other, 0);
    Ref<Object> sheet = sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles_(
        alloc("UIActionSheet"), Value("x"), screen, Value(), Value(), Value("a"));
    sel::setTag_(sheet, 121119930);
    sel::actionSheet_clickedButtonAtIndex_(screen, sheet, 0);
    for (Ref<Object>* label : {&snoozeTimeLabel, &dismissTimeLabel, &fadeTimeLabel, &calcDifficultLabel}) EXPECT_EQ(text(*label), "was");
    EXPECT_EQ(currentCalcDifficult, 99);
}

class PadSheets : public EditSheets {
protected:
    PadSheets() : EditSheets(UIUserInterfaceIdiomPad) {}
};

TEST_F(PadSheets, APadShowsTheSheetAtTheRowAndATapOutsideKeepsTheChoice) {
    for (long long row : {2, 3, 13, 16}) {
        SCOPED_TRACE(row);
        mark();
        Ref<UIActionSheet> sheet = tapRow(row);
        ASSERT_TRUE(sheet);
        EXPECT_TRUE(sheet->inPopover_);
        EXPECT_EQ(sheet->shownInView_.lock().get(), table());
        EXPECT_EQ(sheet->shownFromRect_, table()->rectForRow({1, row}));
        sheet->tapOutside();
        EXPECT_TRUE(UIActionSheet::visibleSheets().empty());
        EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
        for (Ref<Object>* label : {&snoozeTimeLabel, &snoozeMeasureLabel, &dismissActionLabel, &calcDifficultLabel}) EXPECT_EQ(text(*label), "was");
        EXPECT_EQ(currentSnoozeMeasure, 99);
        EXPECT_EQ(currentDismissAction, 99);
        EXPECT_EQ(currentCalcDifficult, 99);
    }
}

}  // namespace
}  // namespace rousa

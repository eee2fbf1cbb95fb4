#include "tweak/screens/edit_alarm_sheets.h"

#include <vector>

#include "platform/uikit/alert_sheets.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/table_view.h"
#include "tweak/engine/hooking.h"

namespace rousa {

void (*original_EditAlarmViewController_tableView_didSelectRowAtIndexPath_)(id, id, id) = nullptr;

namespace {

struct Sheet {
    long long tag = 0;
    std::string title;
    std::vector<std::string> buttons;  // the cancel button last
};

// The sheet a row of the tweak section opens; a tag of 0 for a row without one.
Sheet sheetForRow(long long row) {
    switch (row) {
        case 2: return {kSnoozeTimeSheet, lSnoozeDuration, {"5", "10", "15", lDefault, lCustom, lPopupCancel}};
        case 3: return {kSnoozeMeasureSheet, lMeasure, {lSeconds, lMinutes, lHours, lPopupCancel}};
        case 6: return {kFadeTimeSheet, lFadeDuration, {"1", "2", "5", lDisabled, lCustom, lPopupCancel}};
        case 7: return {kFadeMeasureSheet, lMeasure, {lSeconds, lMinutes, lPopupCancel}};
        case 11: return {kDismissTimeSheet, lAutoDismissTime, {"5", "10", "15", lDisabled, lCustom, lPopupCancel}};
        case 12: return {kDismissMeasureSheet, lMeasure, {lSeconds, lMinutes, lPopupCancel}};
        case 13: return {kDismissActionSheet, lAutoDismissAction, {lAutoDismissText1, lAutoDismissText2, lPopupCancel}};
        case 16: return {kCalcDifficultSheet, lCalcDifficult, {lCalcDifficult_easy, lCalcDifficult_normal, lCalcDifficult_hard, lCalcDifficult_lifeless, lPopupCancel}};
        default: return {};
    }
}

bool onPad() { return sel::userInterfaceIdiom(sel::currentDevice(objc_getClass("UIDevice"))) == UIUserInterfaceIdiomPad; }

void showSheet(id self, id table, id indexPath, const Sheet& s) {
    Ref<Object> sheet = sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles_(
        alloc("UIActionSheet"), Value(s.title), self, Value(), Value(), Value());
    for (std::size_t i = 0; i + 1 < s.buttons.size(); ++i) sel::addButtonWithTitle_(sheet, Value(s.buttons[i]));
    sel::setCancelButtonIndex_(sheet, sel::addButtonWithTitle_(sheet, Value(s.buttons.back())));
    sel::setTag_(sheet, s.tag);
    // A pad shows the sheet as a popover pointing at the row.
    if (onPad()) sel::showFromRect_inView_animated_(sheet, sel::rectForRowAtIndexPath_(table, indexPath), table, true);
    else sel::showInView_(sheet, sel::view(self));
}

void showPrompt(id self, id sheet, long long tag) {
    Ref<Object> prompt = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(
        alloc("UIAlertView"), Value(lCustom), sel::title(sheet), self, Value(lPopupOk), Value());
    sel::setAlertViewStyle_(prompt, UIAlertViewStylePlainTextInput);
    sel::setTag_(prompt, tag);
    Ref<Object> field = sel::textFieldAtIndex_(prompt, 0);
    sel::setDelegate_(field, self);
    sel::setKeyboardType_(field, UIKeyboardTypeNumberPad);
    sel::show(prompt);
}

// A length sheet: three fixed lengths, the zero text, the prompt; the cancel button keeps the label.
void chooseLength(id self, id sheet, long long index, id label, const char* const (&lengths)[3], const std::string& zero, long long prompt) {
    if (index >= 0 && index < 3) sel::setText_(label, Value(lengths[index]));
    else if (index == 3) sel::setText_(label, Value(zero));
    else if (index == 4) showPrompt(self, sheet, prompt);
}

// A sheet of choices in order, each with its value; another index (cancel) keeps the previous one.
void choose(long long index, id label, long long& current, const std::vector<std::pair<const std::string*, long long>>& choices) {
    if (index < 0 || index >= static_cast<long long>(choices.size())) return;
    const auto& [text, value] = choices[static_cast<std::size_t>(index)];
    sel::setText_(label, Value(*text));
    current = value;
}

}  // namespace

void replaced_EditAlarmViewController_tableView_didSelectRowAtIndexPath_(id self, id table, id indexPath) {
    const long long section = sel::section(indexPath), row = sel::row(indexPath);
    if (section != 1 || row < 0 || row >= kTweakRows) {
        callPrevious(original_EditAlarmViewController_tableView_didSelectRowAtIndexPath_, self, table, indexPath);
        return;
    }
    if (row == 2 || row == 6 || row == 11 || row == 16) reloadRowIfVisible(table, row);
    if (Sheet s = sheetForRow(row); s.tag != 0) showSheet(self, table, indexPath, s);
}

void EditAlarmViewController_actionSheet_clickedButtonAtIndex_(id self, id sheet, long long index) {
    static const char* const kSnoozeLengths[3] = {"5", "10", "15"};
    static const char* const kDismissLengths[3] = {"5", "10", "15"};
    static const char* const kFadeLengths[3] = {"1", "2", "5"};
    long long reloadRow = -1;
    switch (sel::tag(sheet)) {
        case kSnoozeTimeSheet: chooseLength(self, sheet, index, snoozeTimeLabel, kSnoozeLengths, lDefault, kSnoozeTimePrompt); break;
        case kDismissTimeSheet: chooseLength(self, sheet, index, dismissTimeLabel, kDismissLengths, lDisabled, kDismissTimePrompt); break;
        case kFadeTimeSheet: chooseLength(self, sheet, index, fadeTimeLabel, kFadeLengths, lDisabled, kFadeTimePrompt); break;
        case kSnoozeMeasureSheet:
            choose(index, snoozeMeasureLabel, currentSnoozeMeasure,
                   {{&lSeconds, KAlarmMeasureSeconds}, {&lMinutes, KAlarmMeasureMinutes}, {&lHours, KAlarmMeasureHours}});
            reloadRow = 3;
            break;
        case kDismissMeasureSheet:
            choose(index, dismissMeasureLabel, currentDismissMeasure, {{&lSeconds, KAlarmMeasureSeconds}, {&lMinutes, KAlarmMeasureMinutes}});
            reloadRow = 12;
            break;
        case kFadeMeasureSheet:
            choose(index, fadeMeasureLabel, currentFadeMeasure, {{&lSeconds, KAlarmMeasureSeconds}, {&lMinutes, KAlarmMeasureMinutes}});
            reloadRow = 7;
            break;
        case kDismissActionSheet:
            choose(index, dismissActionLabel, currentDismissAction,
                   {{&lAutoDismissText1, KAlarmDismissActionStop}, {&lAutoDismissText2, KAlarmDismissActionSnooze}});
            reloadRow = 13;
            break;
        case kCalcDifficultSheet:
            choose(index, calcDifficultLabel, currentCalcDifficult,
                   {{&lCalcDifficult_easy, KAlarmCalcDifficultyEasy},
                    {&lCalcDifficult_normal, KAlarmCalcDifficultyNormal},
                    {&lCalcDifficult_hard, KAlarmCalcDifficultyHard},
                    {&lCalcDifficult_lifeless, KAlarmCalcDifficultyLifeless}});
            reloadRow = 16;
            break;
        default: return;
    }
    if (reloadRow >= 0) reloadRowIfVisible(editTableView, reloadRow);
}

void EditAlarmViewController_alertView_clickedButtonAtIndex_(id, id alert, long long) {
    Ref<Object> label;
    switch (sel::tag(alert)) {
        case kSnoozeTimePrompt: label = snoozeTimeLabel; break;
        case kDismissTimePrompt: label = dismissTimeLabel; break;
        case kFadeTimePrompt: label = fadeTimeLabel; break;
        default: return;
    }
    if (sel::alertViewStyle(alert) == UIAlertViewStyleDefault) return;  // no field to read
    // Not checked here: Done stores the text's leading number (0 for none).
    Value typed = sel::text(sel::textFieldAtIndex_(alert, 0));
    if (typed.isString() && !typed.string().empty()) sel::setText_(label, typed);
}

void EditAlarmViewController_dismiss_(id, id sheetOrAlert) { sel::dismissWithClickedButtonIndex_animated_(sheetOrAlert, -1, true); }

}  // namespace rousa

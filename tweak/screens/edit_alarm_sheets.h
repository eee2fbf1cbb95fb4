// The edit screen's option sheets: a tap on a value row of the tweak section
// opens an action sheet of fixed choices; a length sheet's "custom" choice
// opens a prompt for a number. A choice goes into the row's value label and,
// for units, actions and difficulty, into the screen's current choice; Done
// turns them into the record. Cancel (and a tap outside a pad's sheet) keeps
// the previous choice. Clock app main thread only.
#pragma once

#include "tweak/screens/edit_alarm.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id, id)> dismiss_{"dismiss:"};
}  // namespace sel

// The sheets, by tag, and the rows that open them.
inline constexpr long long kSnoozeTimeSheet = 121119934;      // row 2
inline constexpr long long kSnoozeMeasureSheet = 121119931;   // row 3
inline constexpr long long kFadeTimeSheet = 121119937;        // row 6
inline constexpr long long kFadeMeasureSheet = 121119938;     // row 7
inline constexpr long long kDismissTimeSheet = 121119935;     // row 11
inline constexpr long long kDismissMeasureSheet = 121119932;  // row 12
inline constexpr long long kDismissActionSheet = 121119933;   // row 13
inline constexpr long long kCalcDifficultSheet = 121119939;   // row 16
// The custom-number prompts of the length sheets.
inline constexpr long long kSnoozeTimePrompt = 111;
inline constexpr long long kDismissTimePrompt = 222;
inline constexpr long long kFadeTimePrompt = 333;

extern void (*original_EditAlarmViewController_tableView_didSelectRowAtIndexPath_)(id, id, id);
void replaced_EditAlarmViewController_tableView_didSelectRowAtIndexPath_(id self, id table, id indexPath);
// Added: the sheets' and prompts' delegate, and dismissing either from code.
void EditAlarmViewController_actionSheet_clickedButtonAtIndex_(id self, id sheet, long long index);
void EditAlarmViewController_alertView_clickedButtonAtIndex_(id self, id alert, long long index);
void EditAlarmViewController_dismiss_(id self, id sheetOrAlert);

}  // namespace rousa

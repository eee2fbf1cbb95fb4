// The edit-alarm screen's extension: the Clock app's EditAlarmViewController
// gains a second table section of 18 rows that show and change the alarm's
// KAlarm record, a header with the time until the alarm, the accent colour in
// the navigation bar, and the saving of the record on Done. In multiple edit
// (alarmsSelected not empty) the screen edits every selected alarm; the
// AlarmManager hook then reads the controls below.
//
// All state is process-wide: the controls are made by the first screen and
// refilled by every later one. Clock app main thread only.
#pragma once

#include <string>

#include "platform/foundation/calendar.h"
#include "tweak/engine/alarm_record.h"
#include "tweak/screens/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id, id)> rousaFieldChanged_{"rousaFieldChanged:"};
}  // namespace sel

// --- texts (LoadEditAlarmStrings) -----------------------------------------------------------
extern std::string lSnoozeOptions, lSnoozeDuration, lFadeDuration, lDefault, lCustom, lMeasure, lSeconds, lMinutes, lHours;
extern std::string lVolumeOptions, lVibrateRing, lVibrateSilent, lAutoDismissOptions, lAutoDismissTime, lDisabled;
extern std::string lAutoDismissAction, lAutoDismissText1, lAutoDismissText2, lPopupCancel, lPopupOk;
extern std::string lCalcAlarm, lCalcOptions, lCalcDifficult, lCalcDifficult_easy, lCalcDifficult_normal, lCalcDifficult_hard,
    lCalcDifficult_lifeless;
extern std::string lRemoveAlarmsMessage, lRemoveAlarmsYes, lRemoveAlarmsNo;
// The Gregorian calendar of the alarm list's minute timer.
extern Ref<NSCalendar> gregorianCalendar;

// Loads the texts through RS2Localizer, opens the settings bundle
// (preferenceBundle) and makes the calendar.
void loadEditAlarmTexts();

// --- the record and the current choices ------------------------------------------------------
// The record of the alarm being edited, as read when the screen was made; null
// for a new alarm.
extern Ref<KAlarm> editRecord;
extern long long currentSnoozeMeasure;   // KAlarmMeasure
extern long long currentFadeMeasure;     // KAlarmMeasure
extern long long currentDismissMeasure;  // KAlarmMeasure
extern long long currentDismissAction;   // KAlarmDismissAction
extern long long currentCalcDifficult;   // KAlarmCalcDifficulty

// --- views and controls ------------------------------------------------------------------------
extern Ref<Object> editTableView;         // the settings table, as the cell provider last saw it
extern Ref<Object> timeUntilHeaderLabel;  // the label in the table header
extern Ref<Object> oldColor;              // the navigation bar tint before the screen

extern Ref<Object> enabledSwitch;        // UISwitch: the record applies to this alarm
extern Ref<Object> snoozeTimeLabel;      // UILabel: snooze length, lDefault for 0
extern Ref<Object> snoozeMeasureLabel;   // UILabel: its unit
extern Ref<Object> volumeSlider;         // UISlider: alarm volume
extern Ref<Object> fadeTimeLabel;        // UILabel: fade-in length, lDisabled for 0
extern Ref<Object> fadeMeasureLabel;     // UILabel: its unit
extern Ref<Object> vibrateRingSwitch;    // UISwitch
extern Ref<Object> vibrateSilentSwitch;  // UISwitch
extern Ref<Object> dismissTimeLabel;     // UILabel: automatic stop delay, lDisabled for 0
extern Ref<Object> dismissMeasureLabel;  // UILabel: its unit
extern Ref<Object> dismissActionLabel;   // UILabel: what the automatic stop does
extern Ref<Object> calcSwitch;           // UISwitch: the arithmetic question is asked
extern Ref<Object> calcDifficultLabel;   // UILabel: question difficulty

// The cell each control row was last given, by row of section 1.
extern Ref<Object> enabledCell;         // row 0
extern Ref<Object> snoozeTimeCell;      // row 2
extern Ref<Object> snoozeMeasureCell;   // row 3
extern Ref<Object> volumeCell;          // row 5
extern Ref<Object> fadeTimeCell;        // row 6
extern Ref<Object> fadeMeasureCell;     // row 7
extern Ref<Object> vibrateRingCell;     // row 8
extern Ref<Object> vibrateSilentCell;   // row 9
extern Ref<Object> dismissTimeCell;     // row 11
extern Ref<Object> dismissMeasureCell;  // row 12
extern Ref<Object> dismissActionCell;   // row 13
extern Ref<Object> calcCell;            // row 15
extern Ref<Object> calcDifficultCell;   // row 16

// The tweak rows of section 1 (the stock rows follow them).
inline constexpr long long kTweakRows = 18;
// In multiple edit: the stock count plus these (the blank last row and Delete go).
inline constexpr long long kMultipleEditExtraRows = 16;

// The record the controls and current choices describe, for that alarm id.
Ref<KAlarm> recordFromEditControls(const Value& alarmId);
// The row's control, and the global that keeps its cell (null for rows without one).
Ref<Object>* controlOfRow(long long row);
Ref<Object>* keptCellOfRow(long long row);
// Reloads the row of section 1 without animation when it is visible.
void reloadRowIfVisible(id table, long long row);

// --- colours -------------------------------------------------------------------------------------------
Ref<Object> accentColor();          // RGBA 1.0, 0.231, 0.188, 1.0
Ref<Object> valueTextColor();       // RGBA 0.556863, 0.556863, 0.576471, 1.0
Ref<Object> headerTextColor();      // white 0.7, alpha 1.0
Ref<Object> multipleEditTint();     // RGBA 1.0, 0.0, 0.0, 0.15

// --- EditAlarmViewController -------------------------------------------------------------------------------
extern Ref<Object> (*original_EditAlarmViewController_initWithAlarm_)(id, id);
extern void (*original_EditAlarmViewController_loadView)(id);
extern void (*original_EditAlarmViewController_viewDidLoad)(id);
extern void (*original_EditAlarmViewController_viewWillAppear_)(id, bool);
extern void (*original_EditAlarmViewController_viewDidLayoutSubviews)(id);
extern void (*original_EditAlarmViewController_handlePickerChanged)(id);
extern void (*original_EditAlarmViewController_viewWillDisappear_)(id, bool);
extern void (*original_EditAlarmViewController__doneButtonClicked_)(id, id);
extern long long (*original_EditAlarmViewController_numberOfSectionsInTableView_)(id, id);  // kept, never called
extern long long (*original_EditAlarmViewController_tableView_numberOfRowsInSection_)(id, id, long long);
extern Ref<Object> (*original_EditAlarmViewController_tableView_cellForRowAtIndexPath_)(id, id, id);

Ref<Object> replaced_EditAlarmViewController_initWithAlarm_(id self, id alarm);
void replaced_EditAlarmViewController_loadView(id self);
void replaced_EditAlarmViewController_viewDidLoad(id self);
void replaced_EditAlarmViewController_viewWillAppear_(id self, bool animated);
void replaced_EditAlarmViewController_viewDidLayoutSubviews(id self);
void replaced_EditAlarmViewController_handlePickerChanged(id self);
void replaced_EditAlarmViewController_viewWillDisappear_(id self, bool animated);
void replaced_EditAlarmViewController__doneButtonClicked_(id self, id sender);
long long replaced_EditAlarmViewController_numberOfSectionsInTableView_(id self, id table);
long long replaced_EditAlarmViewController_tableView_numberOfRowsInSection_(id self, id table, long long section);
Ref<Object> replaced_EditAlarmViewController_tableView_cellForRowAtIndexPath_(id self, id table, id indexPath);
// Added: the enable switch changed.
void EditAlarmViewController_rousaFieldChanged_(id self, id sender);

}  // namespace rousa

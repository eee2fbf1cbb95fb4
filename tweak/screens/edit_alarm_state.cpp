#include "platform/uikit/table_view.h"
#include "tweak/engine/format_remaining_time.h"
#include "tweak/engine/localizer.h"
#include "tweak/screens/edit_alarm.h"

namespace rousa {

// Constant-initialized: the start-up step fills them from a load-time
// constructor, which may run before the library's dynamic initialisers.
constinit std::string lSnoozeOptions, lSnoozeDuration, lFadeDuration, lDefault, lCustom, lMeasure, lSeconds, lMinutes, lHours;
constinit std::string lVolumeOptions, lVibrateRing, lVibrateSilent, lAutoDismissOptions, lAutoDismissTime, lDisabled;
constinit std::string lAutoDismissAction, lAutoDismissText1, lAutoDismissText2, lPopupCancel, lPopupOk;
constinit std::string lCalcAlarm, lCalcOptions, lCalcDifficult, lCalcDifficult_easy, lCalcDifficult_normal, lCalcDifficult_hard, lCalcDifficult_lifeless;
constinit std::string lRemoveAlarmsMessage, lRemoveAlarmsYes, lRemoveAlarmsNo;
constinit Ref<NSCalendar> gregorianCalendar;

constinit Ref<KAlarm> editRecord;
long long currentSnoozeMeasure = 0;
long long currentFadeMeasure = 0;
long long currentDismissMeasure = 0;
long long currentDismissAction = 0;
long long currentCalcDifficult = 0;

constinit Ref<Object> editTableView, timeUntilHeaderLabel, oldColor;
constinit Ref<Object> enabledSwitch, snoozeTimeLabel, snoozeMeasureLabel, volumeSlider, fadeTimeLabel, fadeMeasureLabel, vibrateRingSwitch,
    vibrateSilentSwitch, dismissTimeLabel, dismissMeasureLabel, dismissActionLabel, calcSwitch, calcDifficultLabel;
constinit Ref<Object> enabledCell, snoozeTimeCell, snoozeMeasureCell, volumeCell, fadeTimeCell, fadeMeasureCell, vibrateRingCell, vibrateSilentCell,
    dismissTimeCell, dismissMeasureCell, dismissActionCell, calcCell, calcDifficultCell;

void loadEditAlarmTexts() {
    lSnoozeOptions = localizedText("SNOOZE_OPTIONS");
    lSnoozeDuration = localizedText("SNOOZE_DURATION");
    lFadeDuration = localizedText("FADE_DURATION");
    lDefault = localizedText("LABEL_DEFAULT");
    lCustom = localizedText("LABEL_CUSTOM");
    lMeasure = localizedText("LABEL_MEASURE");
    lSeconds = localizedText("LABEL_SECONDS");
    lMinutes = localizedText("LABEL_MINUTES");
    lHours = localizedText("LABEL_HOURS");
    lVolumeOptions = localizedText("VOLUME_OPTIONS");
    lVibrateRing = localizedText("VIBRATE_RING");
    lVibrateSilent = localizedText("VIBRATE_SILENT");
    lAutoDismissOptions = localizedText("AUTO_DISMISS_OPTIONS");
    lAutoDismissTime = localizedText("AUTO_DISMISS_TIME");
    lDisabled = localizedText("LABEL_DISABLED");
    lAutoDismissAction = localizedText("AUTO_DISMISS_ACTION");
    lAutoDismissText1 = localizedText("AUTO_DISMISS_TEXT1");
    lAutoDismissText2 = localizedText("AUTO_DISMISS_TEXT2");
    lPopupCancel = localizedText("POPUP_CANCEL");
    lPopupOk = localizedText("POPUP_OK");
    lCalcAlarm = localizedText("CALC_ALARM");
    lCalcOptions = localizedText("CALC_OPTIONS");
    lCalcDifficult = localizedText("CALC_DIFFICULT");
    lCalcDifficult_easy = localizedText("CALC_DIFFICULT_0");
    lCalcDifficult_normal = localizedText("CALC_DIFFICULT_1");
    lCalcDifficult_hard = localizedText("CALC_DIFFICULT_2");
    lCalcDifficult_lifeless = localizedText("CALC_DIFFICULT_3");
    lRemoveAlarmsMessage = localizedText("REMOVE_ALARMS_MESSAGE");
    lRemoveAlarmsYes = localizedText("REMOVE_ALARMS_YES");
    lRemoveAlarmsNo = localizedText("REMOVE_ALARMS_NO");
    preferenceBundle = NSBundle::bundleWithPath(kRousaBundlePath);
    gregorianCalendar = NSCalendar::calendarWithIdentifier("gregorian");
}

Ref<KAlarm> recordFromEditControls(const Value& alarmId) {
    auto record = KAlarm::make();
    record->setAlarmId(alarmId);
    record->setEnabled(sel::isOn(enabledSwitch));
    record->setVolume(sel::value(volumeSlider));
    // A label's text is read as a number: lDefault, lDisabled or other words give 0.
    record->setSnoozeTime(sel::text(snoozeTimeLabel).intValue());
    record->setSnoozeMeasure(currentSnoozeMeasure);
    record->setVibrateRing(sel::isOn(vibrateRingSwitch));
    record->setVibrateSilent(sel::isOn(vibrateSilentSwitch));
    record->setDismissInterval(sel::text(dismissTimeLabel).intValue());
    record->setDismissMeasure(currentDismissMeasure);
    record->setDismissAction(currentDismissAction);
    record->setFadeinTime(sel::text(fadeTimeLabel).intValue());
    record->setFadeinMeasure(currentFadeMeasure);
    record->setCalcEnabled(sel::isOn(calcSwitch));
    record->setCalcDifficult(currentCalcDifficult);
    return record;
}

Ref<Object>* controlOfRow(long long row) {
    switch (row) {
        case 0: return &enabledSwitch;
        case 2: return &snoozeTimeLabel;
        case 3: return &snoozeMeasureLabel;
        case 5: return &volumeSlider;
        case 6: return &fadeTimeLabel;
        case 7: return &fadeMeasureLabel;
        case 8: return &vibrateRingSwitch;
        case 9: return &vibrateSilentSwitch;
        case 11: return &dismissTimeLabel;
        case 12: return &dismissMeasureLabel;
        case 13: return &dismissActionLabel;
        case 15: return &calcSwitch;
        case 16: return &calcDifficultLabel;
        default: return nullptr;
    }
}

Ref<Object>* keptCellOfRow(long long row) {
    switch (row) {
        case 0: return &enabledCell;
        case 2: return &snoozeTimeCell;
        case 3: return &snoozeMeasureCell;
        case 5: return &volumeCell;
        case 6: return &fadeTimeCell;
        case 7: return &fadeMeasureCell;
        case 8: return &vibrateRingCell;
        case 9: return &vibrateSilentCell;
        case 11: return &dismissTimeCell;
        case 12: return &dismissMeasureCell;
        case 13: return &dismissActionCell;
        case 15: return &calcCell;
        case 16: return &calcDifficultCell;
        default: return nullptr;
    }
}

void reloadRowIfVisible(id table, long long row) {
    for (const Value& path : sel::indexPathsForVisibleRows(table).array()) {
        id p = path.object();
        if (sel::section(p) == 1 && sel::row(p) == row) {
            sel::reloadRowsAtIndexPaths_withRowAnimation_(table, Value::array({path}), UITableViewRowAnimationNone);
            return;
        }
    }
}

namespace {
Ref<Object> rgba(double r, double g, double b, double a) { return sel::colorWithRed_green_blue_alpha_(objc_getClass("UIColor"), r, g, b, a); }
}  // namespace

Ref<Object> accentColor() { return rgba(1.0, 0.231, 0.188, 1.0); }
Ref<Object> valueTextColor() { return rgba(0.556863, 0.556863, 0.576471, 1.0); }
Ref<Object> headerTextColor() { return sel::colorWithWhite_alpha_(objc_getClass("UIColor"), 0.7, 1.0); }
Ref<Object> multipleEditTint() { return rgba(1.0, 0.0, 0.0, 0.15); }

}  // namespace rousa

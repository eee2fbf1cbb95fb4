#include "tweak/screens/edit_alarm.h"

#include "platform/foundation/bundle.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/control.h"
#include "platform/uikit/label.h"
#include "platform/uikit/table_view.h"
#include "tweak/engine/alarm_manager.h"
#include "tweak/engine/format_remaining_time.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alarm_selection.h"

namespace rousa {

Ref<Object> (*original_EditAlarmViewController_initWithAlarm_)(id, id) = nullptr;
void (*original_EditAlarmViewController_loadView)(id) = nullptr;
void (*original_EditAlarmViewController_viewDidLoad)(id) = nullptr;
void (*original_EditAlarmViewController_viewWillAppear_)(id, bool) = nullptr;
void (*original_EditAlarmViewController_viewDidLayoutSubviews)(id) = nullptr;
void (*original_EditAlarmViewController_handlePickerChanged)(id) = nullptr;
void (*original_EditAlarmViewController_viewWillDisappear_)(id, bool) = nullptr;
void (*original_EditAlarmViewController__doneButtonClicked_)(id, id) = nullptr;
long long (*original_EditAlarmViewController_numberOfSectionsInTableView_)(id, id) = nullptr;
long long (*original_EditAlarmViewController_tableView_numberOfRowsInSection_)(id, id, long long) = nullptr;
Ref<Object> (*original_EditAlarmViewController_tableView_cellForRowAtIndexPath_)(id, id, id) = nullptr;

namespace {

constexpr const char* kImagesPath = "/Library/Application Support/Rousa2";
constexpr double kHeaderHeight = 44;
constexpr float kMinimumVolume = 0.064159f;

Ref<Object> ivar(id obj, const char* name) { return Ref<Object>(object_getIvar(obj, name).object()); }
Ref<Object> editAlarmView(id self) { return ivar(self, "_editAlarmView"); }
Ref<Object> settingsTable(id self) { return ivar(editAlarmView(self), "_settingsTable"); }
Ref<Object> navigationBarAppearance() { return sel::appearance(objc_getClass("UINavigationBar")); }
Ref<Object> clearColor() { return sel::clearColor(objc_getClass("UIColor")); }
Ref<Object> editingProxy(id self) { return sel::editingProxy(valueForKey(self, "alarm").object()); }

// --- the controls' texts ------------------------------------------------------------------------

std::string number(long long v) { return format("%ld", v); }
std::string lengthText(long long v, const std::string& zero) { return v == 0 ? zero : number(v); }

std::string measureText(long long measure, bool hoursOffered) {
    if (measure == KAlarmMeasureSeconds) return lSeconds;
    if (measure == KAlarmMeasureMinutes) return lMinutes;
    if (hoursOffered && measure == KAlarmMeasureHours) return lHours;
    return number(measure);
}

std::string actionText(long long action) {
    if (action == KAlarmDismissActionStop) return lAutoDismissText1;
    if (action == KAlarmDismissActionSnooze) return lAutoDismissText2;
    return number(action);
}

std::string difficultyText(long long difficulty) {
    switch (difficulty) {
        case KAlarmCalcDifficultyNormal: return lCalcDifficult_normal;
        case KAlarmCalcDifficultyHard: return lCalcDifficult_hard;
        case KAlarmCalcDifficultyLifeless: return lCalcDifficult_lifeless;
        default: return lCalcDifficult_easy;
    }
}

void makeControls() {
    const char* switches = "UISwitch";
    const char* labels = "UILabel";
    struct {
        Ref<Object>* control;
        const char* cls;
    } const controls[] = {
        {&enabledSwitch, switches},      {&snoozeTimeLabel, labels},     {&snoozeMeasureLabel, labels},  {&volumeSlider, "UISlider"},
        {&fadeTimeLabel, labels},        {&fadeMeasureLabel, labels},    {&vibrateRingSwitch, switches}, {&vibrateSilentSwitch, switches},
        {&dismissTimeLabel, labels},     {&dismissMeasureLabel, labels}, {&dismissActionLabel, labels},  {&calcSwitch, switches},
        {&calcDifficultLabel, labels},
    };
    for (const auto& c : controls)
        if (!*c.control) *c.control = newObject(c.cls);
}

// Fills the controls and the current choices from the record, or from the
// defaults of the preferences for an alarm without one.
void fillControls(const KAlarm* record) {
    const bool enabled = record ? record->enabled() : defEnabled;
    const long long snoozeTime = record ? record->snoozeTime() : defSnoozeTime;
    const long long snoozeMeasure = record ? record->snoozeMeasure() : defSnoozeMeasure;
    const long long fadeTime = record ? record->fadeinTime() : defFadeTime;
    const long long fadeMeasure = record ? record->fadeinMeasure() : defFadeMeasure;
    const float volume = record ? record->volume() : defVolume;
    const bool vibrateRing = record ? record->vibrateRing() : defVibrateRing;
    const bool vibrateSilent = record ? record->vibrateSilent() : defVibrateSilent;
    const bool calc = record ? record->calcEnabled() : defCalcEnabled;
    const long long dismissTime = record ? record->dismissInterval() : defDismissTime;
    const long long dismissMeasure = record ? record->dismissMeasure() : defDismissMeasure;
    const long long dismissAction = record ? record->dismissAction() : defDismissAction;
    const long long calcDifficult = record ? record->calcDifficult() : defCalcDifficult;

    sel::setOn_(enabledSwitch, enabled);
    sel::setText_(snoozeTimeLabel, Value(lengthText(snoozeTime, lDefault)));
    currentSnoozeMeasure = snoozeMeasure;
    sel::setText_(snoozeMeasureLabel, Value(measureText(snoozeMeasure, true)));
    sel::setText_(fadeTimeLabel, Value(lengthText(fadeTime, lDisabled)));
    currentFadeMeasure = fadeMeasure;
    sel::setText_(fadeMeasureLabel, Value(measureText(fadeMeasure, false)));
    sel::setValue_(volumeSlider, volume);
    sel::setOn_(vibrateRingSwitch, vibrateRing);
    sel::setOn_(vibrateSilentSwitch, vibrateSilent);
    sel::setOn_(calcSwitch, calc);
    sel::setText_(dismissTimeLabel, Value(lengthText(dismissTime, lDisabled)));
    currentDismissMeasure = dismissMeasure;
    sel::setText_(dismissMeasureLabel, Value(measureText(dismissMeasure, false)));
    currentDismissAction = dismissAction;
    sel::setText_(dismissActionLabel, Value(actionText(dismissAction)));
    currentCalcDifficult = calcDifficult;
    sel::setText_(calcDifficultLabel, Value(difficultyText(calcDifficult)));
}

// --- the header ---------------------------------------------------------------------------------------

void centreHeaderLabel() {
    Ref<Object> header = sel::superview(timeUntilHeaderLabel);
    if (header) sel::setCenter_(timeUntilHeaderLabel, sel::center(header));
}

void showTimeUntilAlarm(id self) {
    Value fireDate = sel::nextFireDate(editingProxy(self));
    int seconds = fireDate.kind() == Value::Kind::Date ? saturatedSeconds(fireDate.date().timeIntervalSinceDate(clock::now())) : 0;
    sel::setText_(timeUntilHeaderLabel, Value(FormatRemainingTime(seconds, static_cast<unsigned>(WKSClockAppTimeFormat))));
    sel::sizeToFit(timeUntilHeaderLabel);
    centreHeaderLabel();
}

// --- the tweak rows ---------------------------------------------------------------------------------------

enum class RowKind { Enable, Header, Value, Slider, Switch };

struct TweakRow {
    RowKind kind;
    const std::string* text;  // null: the row's fixed text
    double rightInset = 0, extraWidth = 0;
};

const TweakRow& tweakRow(long long row) {
    static const TweakRow rows[kTweakRows] = {
        {RowKind::Enable, nullptr},
        {RowKind::Header, &lSnoozeOptions},
        {RowKind::Value, &lSnoozeDuration, 25, 20},
        {RowKind::Value, &lMeasure, 25, 20},
        {RowKind::Header, &lVolumeOptions},
        {RowKind::Slider, nullptr},
        {RowKind::Value, &lFadeDuration, 25, 20},
        {RowKind::Value, &lMeasure, 25, 20},
        {RowKind::Switch, &lVibrateRing},
        {RowKind::Switch, &lVibrateSilent},
        {RowKind::Header, &lAutoDismissOptions},
        {RowKind::Value, &lAutoDismissTime, 25, 20},
        {RowKind::Value, &lMeasure, 25, 20},
        {RowKind::Value, &lAutoDismissAction, 85, 80},
        {RowKind::Header, &lCalcOptions},
        {RowKind::Switch, &lCalcAlarm},
        {RowKind::Value, &lCalcDifficult, 65, 60},
        {RowKind::Header, nullptr},
    };
    return rows[row];
}

std::string rowText(long long row) {
    if (row == 0) return "Rousa 2";
    const std::string* text = tweakRow(row).text;
    return text ? *text : std::string();
}

void styleHeaderRow(id cell, long long row) {
    Ref<Object> label = sel::textLabel(cell);
    sel::setText_(label, Value(rowText(row)));
    sel::setAccessoryType_(cell, UITableViewCellAccessoryNone);
    sel::setTextColor_(label, headerTextColor());
    sel::setSelectionStyle_(cell, UITableViewCellSelectionStyleNone);
    sel::setBackgroundColor_(cell, clearColor());
    sel::setBackgroundView_(cell, newObject("UIView"));
    sel::setSelectedBackgroundView_(cell, newObject("UIView"));
}

Ref<Object> speakerImage(const char* name) {
    Ref<NSBundle> images = NSBundle::bundleWithPath(kImagesPath);
    Value path = images ? images->pathForResource(name, "png") : Value();
    return sel::imageWithContentsOfFile_(objc_getClass("UIImage"), path);
}

Ref<Object> speakerView(const char* name, Rect frame) {
    Ref<Object> view = sel::initWithFrame_(alloc("UIImageView"), frame);
    sel::setImage_(view, speakerImage(name));
    sel::setBackgroundColor_(view, clearColor());
    return view;
}

// Builds a fresh cell of the stock cell provider into the row's control row.
Ref<Object> buildControlRow(id self, id table, id indexPath, long long row) {
    Ref<Object> cell = callPrevious(original_EditAlarmViewController_tableView_cellForRowAtIndexPath_, self, table, indexPath);
    *keptCellOfRow(row) = cell;
    const TweakRow& kind = tweakRow(row);
    Ref<Object> control = *controlOfRow(row);
    Ref<Object> label = sel::textLabel(cell);
    sel::setText_(label, Value(rowText(row)));
    sel::setTextAlignment_(label, NSTextAlignmentLeft);
    sel::setTextColor_(label, accentColor());
    const bool on = row == 0 || sel::isOn(enabledSwitch);
    sel::setEnabled_(label, on);
    sel::setEnabled_(sel::detailTextLabel(cell), on);
    sel::setUserInteractionEnabled_(cell, on);
    sel::setUserInteractionEnabled_(control, on);
    sel::setEnabled_(control, on);

    Ref<Object> content = sel::contentView(cell);
    const Size area = sel::frame(content).size;
    switch (kind.kind) {
        case RowKind::Value: {
            sel::setAccessoryType_(cell, UITableViewCellAccessoryDisclosureIndicator);
            sel::setSelectionStyle_(cell, UITableViewCellSelectionStyleGray);
            const Size fit = sel::sizeThatFits_(enabledSwitch, Size{});
            sel::setFrame_(control, Rect(area.width - fit.width - kind.rightInset, (area.height - fit.height) / 2, fit.width + kind.extraWidth,
                                         fit.height));
            sel::setAutoresizingMask_(control, UIViewAutoresizingFlexibleLeftMargin);
            sel::setTextAlignment_(control, NSTextAlignmentRight);
            sel::setTextColor_(control, valueTextColor());
            sel::addSubview_(content, control);
            break;
        }
        case RowKind::Enable:
        case RowKind::Switch: {
            sel::setAccessoryType_(cell, UITableViewCellAccessoryNone);
            sel::setSelectionStyle_(cell, UITableViewCellSelectionStyleNone);
            const Size fit = sel::sizeThatFits_(control, Size{});
            sel::setFrame_(control, Rect(area.width - fit.width - 15, (area.height - fit.height) / 2, fit.width, fit.height));
            sel::setAutoresizingMask_(control, UIViewAutoresizingFlexibleLeftMargin);
            sel::setBackgroundColor_(control, clearColor());
            sel::setOnTintColor_(control, accentColor());
            sel::addSubview_(content, control);
            if (kind.kind == RowKind::Enable)
                sel::addTarget_action_forControlEvents_(control, self, sel::rousaFieldChanged_, UIControlEventValueChanged);
            break;
        }
        case RowKind::Slider: {
            sel::setText_(label, Value(""));
            sel::setAccessoryType_(cell, UITableViewCellAccessoryNone);
            sel::setSelectionStyle_(cell, UITableViewCellSelectionStyleNone);
            const double y = (area.height - 32) / 2;
            sel::setFrame_(control, Rect(47, y, area.width - 104, 32));
            sel::setAutoresizingMask_(control, UIViewAutoresizingFlexibleWidth);
            sel::setTintColor_(control, accentColor());
            sel::setBackgroundColor_(control, clearColor());
            sel::setMinimumValue_(control, kMinimumVolume);
            sel::setMaximumValue_(control, 1.0f);
            sel::addSubview_(content, control);
            sel::addSubview_(content, speakerView("SpeakerLoad1", Rect(15, y, 32, 32)));
            Ref<Object> loud = speakerView("SpeakerMax", Rect(area.width - 47, y, 32, 32));
            sel::setAutoresizingMask_(loud, UIViewAutoresizingFlexibleLeftMargin);
            sel::addSubview_(content, loud);
            break;
        }
        case RowKind::Header: break;
    }
    return cell;
}

}  // namespace

// --- creation and appearance ---------------------------------------------------------------------------------

Ref<Object> replaced_EditAlarmViewController_initWithAlarm_(id self, id alarm) {
    RousaLoadPrefs(false);
    // UIKit's protocol, adopted by the class once, however many screens follow.
    Class* screen = objc_getClass("EditAlarmViewController");
    Protocol* sheetDelegate = objc_getProtocol("UIActionSheetDelegate");
    if (!class_conformsToProtocol(screen, sheetDelegate) && !class_addProtocol(screen, sheetDelegate))
        NSLog("Rousa 2: UIActionSheetDelegate not added to EditAlarmViewController");
    Value alarmId = sel::alarmId(alarm);
    RousaAddAlarmIfMissing(alarmId);
    editRecord = RousaGetAlarm(alarmId);
    makeControls();
    fillControls(editRecord.get());
    return callPrevious(original_EditAlarmViewController_initWithAlarm_, self, alarm);
}

void replaced_EditAlarmViewController_loadView(id self) {
    Ref<Object> appearance = navigationBarAppearance();
    oldColor = sel::tintColor(appearance);
    sel::setTintColor_(appearance, accentColor());
    callPrevious(original_EditAlarmViewController_loadView, self);
}

void replaced_EditAlarmViewController_viewDidLoad(id self) {
    callPrevious(original_EditAlarmViewController_viewDidLoad, self);
    if (isMultipleEdit()) {
        Ref<Object> picker = sel::timePicker(editAlarmView(self));
        sel::setUserInteractionEnabled_(picker, false);
        sel::setBackgroundColor_(picker, multipleEditTint());
    }
    Ref<Object> label = newObject("UILabel");
    sel::setTextColor_(label, sel::darkGrayColor(objc_getClass("UIColor")));
    timeUntilHeaderLabel = label;
    Ref<Object> table = settingsTable(self);
    Ref<Object> header = sel::initWithFrame_(alloc("UIView"), Rect(0, 0, sel::bounds(table).width(), kHeaderHeight));
    sel::setTableHeaderView_(table, header);
    sel::addSubview_(header, label);
}

void replaced_EditAlarmViewController_viewWillAppear_(id self, bool animated) {
    callPrevious(original_EditAlarmViewController_viewWillAppear_, self, animated);
    showTimeUntilAlarm(self);
}

void replaced_EditAlarmViewController_viewDidLayoutSubviews(id self) {
    callPrevious(original_EditAlarmViewController_viewDidLayoutSubviews, self);
    centreHeaderLabel();
}

void replaced_EditAlarmViewController_handlePickerChanged(id self) {
    callPrevious(original_EditAlarmViewController_handlePickerChanged, self);
    const int seconds = saturatedSeconds(sel::countDownDuration(ivar(editAlarmView(self), "_timePicker")));
    const long long hour = seconds / 3600;
    const long long minute = (seconds - hour * 3600) / 60;
    Ref<Object> proxy = editingProxy(self);
    sel::setHour_(proxy, hour);
    sel::setMinute_(proxy, minute);
    showTimeUntilAlarm(self);
}

void replaced_EditAlarmViewController_viewWillDisappear_(id self, bool animated) {
    sel::setTintColor_(navigationBarAppearance(), oldColor);
    callPrevious(original_EditAlarmViewController_viewWillDisappear_, self, animated);
}

// --- Done ---------------------------------------------------------------------------------------------------------

void replaced_EditAlarmViewController__doneButtonClicked_(id self, id sender) {
    lockButtonPressed = false;
    if (isMultipleEdit()) {
        // The stock save reaches updateAlarm:active:, which writes every
        // selected alarm's record; only this call may start that.
        multiEditSaveRequested = true;
        struct Clear {
            ~Clear() { multiEditSaveRequested = false; }
        } clear;
        callPrevious(original_EditAlarmViewController__doneButtonClicked_, self, sender);
        return;
    }
    // The values are the controls' now; the id is the alarm's after the stock
    // save, which gives a new alarm its id.
    Ref<KAlarm> record = recordFromEditControls(Value());
    Ref<Object> alarm = ivar(self, "_alarm");
    callPrevious(original_EditAlarmViewController__doneButtonClicked_, self, sender);
    record->setAlarmId(sel::alarmId(alarm));
    RousaSetAlarm(record);
}

// --- the table --------------------------------------------------------------------------------------------------------

long long replaced_EditAlarmViewController_numberOfSectionsInTableView_(id, id) {
    // A new alarm's screen has the second section too.
    return 2;
}

long long replaced_EditAlarmViewController_tableView_numberOfRowsInSection_(id self, id table, long long section) {
    long long rows = callPrevious(original_EditAlarmViewController_tableView_numberOfRowsInSection_, self, table, section);
    if (section == 1) rows += isMultipleEdit() ? kMultipleEditExtraRows : kTweakRows;
    return rows;
}

Ref<Object> replaced_EditAlarmViewController_tableView_cellForRowAtIndexPath_(id self, id table, id indexPath) {
    Ref<Object> cell = callPrevious(original_EditAlarmViewController_tableView_cellForRowAtIndexPath_, self, table, indexPath);
    editTableView = Ref<Object>(table);
    const long long section = sel::section(indexPath), row = sel::row(indexPath);
    const bool multiple = isMultipleEdit();
    if (multiple && section == 0 && (row == 0 || row == 1)) {
        sel::setBackgroundColor_(cell, multipleEditTint());
        sel::setUserInteractionEnabled_(cell, false);
        sel::setEnabled_(sel::textLabel(cell), false);
        sel::setEnabled_(sel::detailTextLabel(cell), false);
    }
    if (section == 1 && row >= 0 && (row < kTweakRows - 1 || (row == kTweakRows - 1 && !multiple))) {
        if (tweakRow(row).kind == RowKind::Header) {
            styleHeaderRow(cell, row);
            return cell;
        }
        return buildControlRow(self, table, indexPath, row);
    }
    if (section == 1 && row == kTweakRows && !multiple) {
        sel::setTextColor_(sel::textLabel(cell), accentColor());
        return cell;
    }
    if (section == 0 && row >= 0 && row <= 2) {
        sel::setTextColor_(sel::textLabel(cell), accentColor());
        return cell;
    }
    if (section == 0 && row == 3) {
        sel::setOnTintColor_(sel::accessoryView(cell), accentColor());
        sel::setTextColor_(sel::textLabel(cell), accentColor());
        return cell;
    }
    return callPrevious(original_EditAlarmViewController_tableView_cellForRowAtIndexPath_, self, table, indexPath);
}

void EditAlarmViewController_rousaFieldChanged_(id, id sender) {
    const bool on = sel::isOn(sender);
    Ref<Object> table = editTableView;
    const Value visible = sel::indexPathsForVisibleRows(table);
    for (const Value& path : visible.array()) {
        id p = path.object();
        const long long row = sel::row(p);
        if (sel::section(p) != 1 || row < 1 || row > kTweakRows - 1) continue;
        sel::reloadRowsAtIndexPaths_withRowAnimation_(table, Value::array({path}), UITableViewRowAnimationNone);
        Ref<Object>* kept = keptCellOfRow(row);
        if (!kept) continue;
        sel::setEnabled_(sel::textLabel(*kept), on);
        sel::setEnabled_(sel::detailTextLabel(*kept), on);
        sel::setUserInteractionEnabled_(*kept, on);
        sel::setUserInteractionEnabled_(*controlOfRow(row), on);
        sel::setEnabled_(*controlOfRow(row), on);
    }
}

}  // namespace rousa

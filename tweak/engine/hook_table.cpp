#include "tweak/engine/hook_table.h"

#include "tweak/engine/alarm_manager.h"
#include "tweak/engine/buttons.h"
#include "tweak/engine/ringing.h"
#include "tweak/engine/volume.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/time_until_alarm.h"
#include "tweak/screens/alarm_list.h"
#include "tweak/screens/alarm_shortcut.h"
#include "tweak/screens/edit_alarm.h"
#include "tweak/screens/edit_alarm_sheets.h"
#include "tweak/screens/radial_menu.h"

namespace rousa {

// Row by row: gate, class, selector. The replacement and its saved previous
// implementation are named after class and selector (replaced_Class_sel:,
// original_Class_sel:, colons as underscores; twins of one selector end in
// iOS7 and iOS8up); an added method is Class_sel:.
#define REPLACE(gate, cls, selector) \
    replace(Gate::gate, #cls, sel::selector, &replaced_##cls##_##selector, &original_##cls##_##selector)
#define REPLACE_TWIN(gate, cls, selector, twin)                                         \
    replace(Gate::gate, #cls, sel::selector, &replaced_##cls##_##selector##_##twin, \
            &original_##cls##_##selector##_##twin)
#define REPLACE_CLASS(gate, cls, selector) \
    replaceClassMethod(Gate::gate, #cls, sel::selector, &replaced_##cls##_##selector, &original_##cls##_##selector)
#define ADD(gate, cls, selector) add(Gate::gate, #cls, sel::selector, &cls##_##selector)

const std::vector<HookRow>& hookTable() {
    static const std::vector<HookRow> table = {
        REPLACE(iOS7, SBSystemLocalNotificationAlert, willActivate),
        // SpringBoard's dismiss: takes a flag; the Clock app screens' own dismiss: (rousa::sel) a sender.
        replace(Gate::iOS7, "SBSystemLocalNotificationAlert", platform::sel::dismiss_, &replaced_SBSystemLocalNotificationAlert_dismiss_,
                &original_SBSystemLocalNotificationAlert_dismiss_),
        REPLACE(iOS7, SBSystemLocalNotificationAlert, alertSheetClass),
        ADD(iOS7, SBSystemLocalNotificationAlert, isAlarm),
        REPLACE(iOS7, SBApplication, systemLocalNotificationAlertShouldSnooze_),
        REPLACE_TWIN(iOS7, SBAlertItemsController, activateAlertItem_, iOS7),
        REPLACE_TWIN(iOS7, SBLockScreenViewController, biometricEventMonitorDidAuthenticate_, iOS7),
        REPLACE_TWIN(iOS7, SBLockScreenViewController, handleLockButtonPressed, iOS7),
        REPLACE_TWIN(iOS7, SBLockScreenViewController, handleVolumeUpButtonPressed, iOS7),
        REPLACE_TWIN(iOS7, SBLockScreenViewController, handleVolumeDownButtonPressed, iOS7),
        REPLACE(iOS7, SBLockScreenNotificationListController, observer_addBulletin_forFeed_),
        REPLACE(iOS7, SpringBoard, _lockButtonDownFromSource_),
        REPLACE(iOS7, SpringBoard, _lockButtonUpFromSource_),

        REPLACE(iOS7or8, SBApplication, _fireNotification_),

        REPLACE(iOS8or9up, BBServer, init),
        ADD(iOS8or9up, SBClockDataProvider, allowForAlarm_),
        REPLACE(iOS8or9up, SBClockDataProvider, _isAlarmNotification_),
        ADD(iOS8or9up, Alarm, notification),
        REPLACE(iOS8or9up, SBAlertItem, willActivate),
        REPLACE(iOS8or9up, SBLockScreenFullscreenBulletinViewController, initWithNibName_bundle_),
        REPLACE(iOS8or9up, SBApplication, snoozeNotificationForLocalNotification_),
        REPLACE_TWIN(iOS8or9up, SBAlertItemsController, activateAlertItem_, iOS8up),
        REPLACE(iOS8or9up, SBLockScreenViewController, presentFullscreenBulletinAlertWithItem_),
        REPLACE(iOS8or9up, SBLockScreenViewController, dismissFullscreenBulletinAlertWithItem_),
        REPLACE_TWIN(iOS8or9up, SBLockScreenViewController, biometricEventMonitorDidAuthenticate_, iOS8up),
        REPLACE_TWIN(iOS8or9up, SBLockScreenViewController, handleLockButtonPressed, iOS8up),
        REPLACE_TWIN(iOS8or9up, SBLockScreenViewController, handleVolumeUpButtonPressed, iOS8up),
        REPLACE_TWIN(iOS8or9up, SBLockScreenViewController, handleVolumeDownButtonPressed, iOS8up),
        REPLACE(iOS8or9up, SpringBoard, _lockButtonDown_fromSource_),
        REPLACE(iOS8or9up, SpringBoard, _lockButtonUp_fromSource_),

        REPLACE(iOS8, SBApplication, scheduleLocalNotifications_replaceExistingNotifications_),

        ADD(iOS9up, Alarm, alarmId),
        ADD(iOS9up, Alarm, setAlarmId_),
        ADD(iOS9up, SBBacklightController, screenIsOff),
        REPLACE(iOS9up, UNLocalNotificationClient, scheduleSnoozeNotification_),
        REPLACE(iOS9up, UNLocalNotificationClient, _fireNotification_),

        REPLACE(All, SBClockDataProvider, _scheduledNotifications),
        REPLACE(All, SBClockDataProvider, _publishAlarmsWithScheduledNotifications_),
        ADD(All, SBClockDataProvider, didScheduleNotifications_),
        REPLACE(All, SBLockScreenViewController, startLockScreenFadeInAnimationForSource_),
        ADD(All, SBLockScreenViewController, frameForAlarmView_),
        REPLACE(All, SBLockScreenSnoozedAlarmCell, setFireDate_),
        REPLACE(All, AlarmTableViewCell, refreshUI_animated_),
        REPLACE(All, AlarmView, setName_andRepeatText_textColor_),
        REPLACE(All, AlarmView, layoutSubviews),
        REPLACE(All, SBHUDController, _createUI),
        REPLACE(All, BBBulletin, unlockActionLabel),
        REPLACE(All, BBBulletin, fullUnlockActionLabel),
        REPLACE(All, BBBulletin, unlockActionLabelOverride),
        REPLACE(All, SBSoundController, _soundDidStartPlaying_),
        ADD(All, AVController, shouldFadeAudio),
        REPLACE(All, SBLockScreenManager, biometricEventMonitorShouldRelockAfterBioUnlock_),
        REPLACE(All, SBLockScreenManager, lockUIFromSource_withOptions_),
        REPLACE(All, SBLockScreenManager, unlockUIFromSource_withOptions_),
        REPLACE(All, SBAlertItemsController, deactivateAlertItem_),
        REPLACE(All, SBAlertItemsController, deactivateAlertItem_reason_),
        REPLACE(All, SBAlertItemsController, deactivateAlertItem_reason_animated_),
        REPLACE(All, SBCCTimerShortcut, activateAppWithDisplayID_url_),
        REPLACE(All, SBCCTimerShortcut, glyphImageForState_),
        REPLACE_CLASS(All, ClockManager, sectionFromClockAppURL_),
        REPLACE(All, EditAlarmViewController, viewDidLoad),
        REPLACE(All, EditAlarmViewController, viewWillAppear_),
        REPLACE(All, EditAlarmViewController, viewDidLayoutSubviews),
        REPLACE(All, EditAlarmViewController, handlePickerChanged),
        REPLACE(All, EditAlarmViewController, loadView),
        REPLACE(All, EditAlarmViewController, viewWillDisappear_),
        REPLACE(All, EditAlarmViewController, initWithAlarm_),
        ADD(All, EditAlarmViewController, rousaFieldChanged_),
        REPLACE(All, EditAlarmViewController, _doneButtonClicked_),
        ADD(All, EditAlarmViewController, dismiss_),
        REPLACE(All, EditAlarmViewController, numberOfSectionsInTableView_),
        REPLACE(All, EditAlarmViewController, tableView_numberOfRowsInSection_),
        REPLACE(All, EditAlarmViewController, tableView_cellForRowAtIndexPath_),
        REPLACE(All, EditAlarmViewController, tableView_didSelectRowAtIndexPath_),
        ADD(All, EditAlarmViewController, actionSheet_clickedButtonAtIndex_),
        ADD(All, EditAlarmViewController, alertView_clickedButtonAtIndex_),
        REPLACE(All, AlarmManager, addAlarm_active_),
        REPLACE(All, AlarmManager, updateAlarm_active_),
        REPLACE(All, AlarmManager, removeAlarm_),
        REPLACE_CLASS(All, SBSoundPreferences, shouldVibrateForCurrentRingerStateWithAudioCategory_),
        REPLACE(All, AlarmViewController, viewDidLoad),
        REPLACE(All, AlarmViewController, viewWillAppear_),
        REPLACE(All, AlarmViewController, viewWillDisappear_),
        ADD(All, AlarmViewController, reloadTableViewOnMinuteChange),
        ADD(All, AlarmViewController, applicationDidEnterForeground),
        ADD(All, AlarmViewController, applicationWillTerminate),
        REPLACE(All, AlarmViewController, didEditAlarm_),
        REPLACE(All, AlarmViewController, tableView_cellForRowAtIndexPath_),
        ADD(All, AlarmViewController, handleTap_),
        ADD(All, AlarmViewController, handleLongPress_),
        REPLACE(All, AlarmViewController, setEditing_animated_),
        ADD(All, AlarmViewController, selectAll),
        ADD(All, AlarmViewController, editAll),
        ADD(All, AlarmViewController, alertView_clickedButtonAtIndex_),
        ADD(All, AlarmViewController, removeAll),
        REPLACE(All, AlarmViewController, editButtonItem),
        REPLACE(All, AlarmViewController, tableView_canEditRowAtIndexPath_),
        REPLACE(All, AlarmViewController, tableView_editingStyleForRowAtIndexPath_),
        REPLACE(All, AlarmViewController, tableView_shouldHighlightRowAtIndexPath_),
        REPLACE(All, AlarmViewController, init),
        ADD(All, AlarmViewController, alarmToggleButtonPressed),
        ADD(All, AlarmViewController, dismiss_),
        ADD(All, AlarmViewController, radialMenuDidDismiss_),
    };
    return table;
}

#undef REPLACE
#undef REPLACE_TWIN
#undef REPLACE_CLASS
#undef ADD

bool gateIsOpen(Gate gate) {
    switch (gate) {
        case Gate::iOS7: return isiOS7();
        case Gate::iOS7or8: return isiOS7() || isiOS8();
        case Gate::iOS8or9up: return isiOS8() || isiOS9up();
        case Gate::iOS8: return isiOS8();
        case Gate::iOS9up: return isiOS9up();
        case Gate::All: return true;
    }
    return false;
}

namespace {
void installRow(const HookRow& row) {
    Class* cls = objc_getClass(row.cls);
    if (!cls) return;
    row.install(row.kind == HookRow::Kind::ReplaceClassMethod ? object_getClass(cls) : cls);
}
}  // namespace

void installHookRows(std::span<const HookRow> rows, const std::function<void()>& functionHooks) {
    for (Gate gate : {Gate::iOS7, Gate::iOS7or8, Gate::iOS8or9up, Gate::iOS8, Gate::iOS9up}) {
        if (!gateIsOpen(gate)) continue;
        for (const HookRow& row : rows)
            if (row.gate == gate) installRow(row);
    }
    if (functionHooks) functionHooks();
    for (const HookRow& row : rows)
        if (row.gate == Gate::All) installRow(row);
}

}  // namespace rousa

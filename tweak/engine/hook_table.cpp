#include "tweak/engine/hook_table.h"

#include "tweak/engine/alarm_manager.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/time_until_alarm.h"
#include "tweak/screens/alarm_list.h"
#include "tweak/screens/alarm_shortcut.h"
#include "tweak/screens/edit_alarm.h"
#include "tweak/screens/edit_alarm_sheets.h"
#include "tweak/screens/radial_menu.h"

namespace rousa {

const std::vector<HookRow>& hookTable() {
    using G = Gate;
    static const std::vector<HookRow> table = {
        // gate      class           selector                 replacement, previous
        add(G::iOS9up, "Alarm", sel::alarmId, &Alarm_alarmId),
        add(G::iOS9up, "Alarm", sel::setAlarmId_, &Alarm_setAlarmId_),

        replace(G::All, "SBClockDataProvider", sel::_scheduledNotifications, &replaced_SBClockDataProvider__scheduledNotifications,
                &original_SBClockDataProvider__scheduledNotifications),
        replace(G::All, "SBClockDataProvider", sel::_publishAlarmsWithScheduledNotifications_,
                &replaced_SBClockDataProvider__publishAlarmsWithScheduledNotifications_,
                &original_SBClockDataProvider__publishAlarmsWithScheduledNotifications_),
        add(G::All, "SBClockDataProvider", sel::didScheduleNotifications_, &SBClockDataProvider_didScheduleNotifications_),
        replace(G::All, "SBLockScreenViewController", sel::startLockScreenFadeInAnimationForSource_,
                &replaced_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_,
                &original_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_),
        add(G::All, "SBLockScreenViewController", sel::frameForAlarmView_, &SBLockScreenViewController_frameForAlarmView_),
        replace(G::All, "SBLockScreenSnoozedAlarmCell", sel::setFireDate_, &replaced_SBLockScreenSnoozedAlarmCell_setFireDate_,
                &original_SBLockScreenSnoozedAlarmCell_setFireDate_),
        replace(G::All, "AlarmTableViewCell", sel::refreshUI_animated_, &replaced_AlarmTableViewCell_refreshUI_animated_,
                &original_AlarmTableViewCell_refreshUI_animated_),
        replace(G::All, "AlarmView", sel::setName_andRepeatText_textColor_, &replaced_AlarmView_setName_andRepeatText_textColor_,
                &original_AlarmView_setName_andRepeatText_textColor_),
        replace(G::All, "AlarmView", sel::layoutSubviews, &replaced_AlarmView_layoutSubviews, &original_AlarmView_layoutSubviews),

        replace(G::All, "SBCCTimerShortcut", sel::activateAppWithDisplayID_url_, &replaced_SBCCTimerShortcut_activateAppWithDisplayID_url_,
                &original_SBCCTimerShortcut_activateAppWithDisplayID_url_),
        replace(G::All, "SBCCTimerShortcut", sel::glyphImageForState_, &replaced_SBCCTimerShortcut_glyphImageForState_,
                &original_SBCCTimerShortcut_glyphImageForState_),
        replaceClassMethod(G::All, "ClockManager", sel::sectionFromClockAppURL_, &replaced_ClockManager_sectionFromClockAppURL_,
                           &original_ClockManager_sectionFromClockAppURL_),

        replace(G::All, "EditAlarmViewController", sel::viewDidLoad, &replaced_EditAlarmViewController_viewDidLoad,
                &original_EditAlarmViewController_viewDidLoad),
        replace(G::All, "EditAlarmViewController", sel::viewWillAppear_, &replaced_EditAlarmViewController_viewWillAppear_,
                &original_EditAlarmViewController_viewWillAppear_),
        replace(G::All, "EditAlarmViewController", sel::viewDidLayoutSubviews, &replaced_EditAlarmViewController_viewDidLayoutSubviews,
                &original_EditAlarmViewController_viewDidLayoutSubviews),
        replace(G::All, "EditAlarmViewController", sel::handlePickerChanged, &replaced_EditAlarmViewController_handlePickerChanged,
                &original_EditAlarmViewController_handlePickerChanged),
        replace(G::All, "EditAlarmViewController", sel::loadView, &replaced_EditAlarmViewController_loadView,
                &original_EditAlarmViewController_loadView),
        replace(G::All, "EditAlarmViewController", sel::viewWillDisappear_, &replaced_EditAlarmViewController_viewWillDisappear_,
                &original_EditAlarmViewController_viewWillDisappear_),
        replace(G::All, "EditAlarmViewController", sel::initWithAlarm_, &replaced_EditAlarmViewController_initWithAlarm_,
                &original_EditAlarmViewController_initWithAlarm_),
        add(G::All, "EditAlarmViewController", sel::rousaFieldChanged_, &EditAlarmViewController_rousaFieldChanged_),
        replace(G::All, "EditAlarmViewController", sel::_doneButtonClicked_, &replaced_EditAlarmViewController__doneButtonClicked_,
                &original_EditAlarmViewController__doneButtonClicked_),
        add(G::All, "EditAlarmViewController", sel::dismiss_, &EditAlarmViewController_dismiss_),
        replace(G::All, "EditAlarmViewController", sel::numberOfSectionsInTableView_,
                &replaced_EditAlarmViewController_numberOfSectionsInTableView_,
                &original_EditAlarmViewController_numberOfSectionsInTableView_),
        replace(G::All, "EditAlarmViewController", sel::tableView_numberOfRowsInSection_,
                &replaced_EditAlarmViewController_tableView_numberOfRowsInSection_,
                &original_EditAlarmViewController_tableView_numberOfRowsInSection_),
        replace(G::All, "EditAlarmViewController", sel::tableView_cellForRowAtIndexPath_,
                &replaced_EditAlarmViewController_tableView_cellForRowAtIndexPath_,
                &original_EditAlarmViewController_tableView_cellForRowAtIndexPath_),
        replace(G::All, "EditAlarmViewController", sel::tableView_didSelectRowAtIndexPath_,
                &replaced_EditAlarmViewController_tableView_didSelectRowAtIndexPath_,
                &original_EditAlarmViewController_tableView_didSelectRowAtIndexPath_),
        add(G::All, "EditAlarmViewController", sel::actionSheet_clickedButtonAtIndex_, &EditAlarmViewController_actionSheet_clickedButtonAtIndex_),
        add(G::All, "EditAlarmViewController", sel::alertView_clickedButtonAtIndex_, &EditAlarmViewController_alertView_clickedButtonAtIndex_),

        replace(G::All, "AlarmManager", sel::addAlarm_active_, &replaced_AlarmManager_addAlarm_active_,
                &original_AlarmManager_addAlarm_active_),
        replace(G::All, "AlarmManager", sel::updateAlarm_active_, &replaced_AlarmManager_updateAlarm_active_,
                &original_AlarmManager_updateAlarm_active_),
        replace(G::All, "AlarmManager", sel::removeAlarm_, &replaced_AlarmManager_removeAlarm_, &original_AlarmManager_removeAlarm_),

        replace(G::All, "AlarmViewController", sel::viewDidLoad, &replaced_AlarmViewController_viewDidLoad, &original_AlarmViewController_viewDidLoad),
        replace(G::All, "AlarmViewController", sel::viewWillAppear_, &replaced_AlarmViewController_viewWillAppear_,
                &original_AlarmViewController_viewWillAppear_),
        replace(G::All, "AlarmViewController", sel::viewWillDisappear_, &replaced_AlarmViewController_viewWillDisappear_,
                &original_AlarmViewController_viewWillDisappear_),
        add(G::All, "AlarmViewController", sel::reloadTableViewOnMinuteChange, &AlarmViewController_reloadTableViewOnMinuteChange),
        add(G::All, "AlarmViewController", sel::applicationDidEnterForeground, &AlarmViewController_applicationDidEnterForeground),
        add(G::All, "AlarmViewController", sel::applicationWillTerminate, &AlarmViewController_applicationWillTerminate),
        replace(G::All, "AlarmViewController", sel::didEditAlarm_, &replaced_AlarmViewController_didEditAlarm_, &original_AlarmViewController_didEditAlarm_),
        replace(G::All, "AlarmViewController", sel::tableView_cellForRowAtIndexPath_, &replaced_AlarmViewController_tableView_cellForRowAtIndexPath_,
                &original_AlarmViewController_tableView_cellForRowAtIndexPath_),
        add(G::All, "AlarmViewController", sel::handleTap_, &AlarmViewController_handleTap_),
        add(G::All, "AlarmViewController", sel::handleLongPress_, &AlarmViewController_handleLongPress_),
        replace(G::All, "AlarmViewController", sel::setEditing_animated_, &replaced_AlarmViewController_setEditing_animated_,
                &original_AlarmViewController_setEditing_animated_),
        add(G::All, "AlarmViewController", sel::selectAll, &AlarmViewController_selectAll),
        add(G::All, "AlarmViewController", sel::editAll, &AlarmViewController_editAll),
        add(G::All, "AlarmViewController", sel::alertView_clickedButtonAtIndex_, &AlarmViewController_alertView_clickedButtonAtIndex_),
        add(G::All, "AlarmViewController", sel::removeAll, &AlarmViewController_removeAll),
        replace(G::All, "AlarmViewController", sel::editButtonItem, &replaced_AlarmViewController_editButtonItem,
                &original_AlarmViewController_editButtonItem),
        replace(G::All, "AlarmViewController", sel::tableView_canEditRowAtIndexPath_, &replaced_AlarmViewController_tableView_canEditRowAtIndexPath_,
                &original_AlarmViewController_tableView_canEditRowAtIndexPath_),
        replace(G::All, "AlarmViewController", sel::tableView_editingStyleForRowAtIndexPath_,
                &replaced_AlarmViewController_tableView_editingStyleForRowAtIndexPath_,
                &original_AlarmViewController_tableView_editingStyleForRowAtIndexPath_),
        replace(G::All, "AlarmViewController", sel::tableView_shouldHighlightRowAtIndexPath_,
                &replaced_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_,
                &original_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_),
        replace(G::All, "AlarmViewController", sel::init, &replaced_AlarmViewController_init, &original_AlarmViewController_init),
        add(G::All, "AlarmViewController", sel::alarmToggleButtonPressed, &AlarmViewController_alarmToggleButtonPressed),
        add(G::All, "AlarmViewController", sel::dismiss_, &AlarmViewController_dismiss_),
        add(G::All, "AlarmViewController", sel::radialMenuDidDismiss_, &AlarmViewController_radialMenuDidDismiss_),
    };
    return table;
}

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

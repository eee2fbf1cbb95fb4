// The Clock app's edit-alarm screen: EditAlarmViewController, whose view
// (EditAlarmView, "_editAlarmView") holds the time picker ("_timePicker", a
// UIDatePicker whose count-down duration is the time of day) above the
// settings table ("_settingsTable", grouped, with the controller as data
// source and delegate). The screen edits the alarm's editing proxy (the
// picker's time goes into it as it changes); Done copies the proxy back and
// adds the alarm to the shared AlarmManager (a new alarm, which gets its id
// there) or updates it, then dismisses the screen (the navigation controller
// the alarm list presents it in). A tap on the Label row (section 0 row 1)
// pushes the label screen.
//
// EditAlarmLabelViewController, the label screen: a text field
// ("_textField") holding the proxy's title, first responder while the screen
// shows; leaving the screen stores the field's text as the proxy's title (no
// title for an empty text), which the Label row then shows.
// Clock app only; main thread.
#pragma once

#include "platform/mobiletimer/alarm.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/text_field.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/view_controller.h"

namespace platform {

class EditAlarmView : public UIView {
public:
    Ref<UIDatePicker> timePicker_;
    Ref<UITableView> settingsTable_;
};

class EditAlarmViewController : public UIViewController {
public:
    // The stock rows: section 0 repeat, label, sound, snooze; section 1 the
    // Delete row, for an alarm that has an id.
    static constexpr long long kSettingsRows = 4;

    Ref<Alarm> alarm_;
    Ref<EditAlarmView> editAlarmView_;
    WeakRef<Object> delegate_;  // told didEditAlarm: after Done

    bool isNewAlarm() const { return !alarm_ || !alarm_->alarmId.isString(); }
};

class EditAlarmLabelViewController : public UIViewController {
public:
    Ref<Alarm> alarm_;
    Ref<UITextField> textField_;
};

namespace mobiletimer {
// Registers EditAlarmView, EditAlarmViewController and EditAlarmLabelViewController.
void registerEditAlarmClasses();
}  // namespace mobiletimer

}  // namespace platform

// The Clock app's alarm list: AlarmViewController shows one row per alarm of
// the shared AlarmManager in a plain table ("tableView", rows 80 points high),
// with an Edit button (editButtonItem) on the left and an Add button on the
// right of its navigation item. Each row is an AlarmTableViewCell whose
// "_alarmView" (an AlarmView) holds the time ("_timeLabel"), the name and the
// alarm's switch ("_enabledSwitch"); refreshUI:animated: fills it and hands
// the name to the view through setName:andRepeatText:textColor:.
//
// Stock behaviour: the switch turns its alarm on or off (updateAlarm:active:);
// the Add button, and in edit mode a tap on a row (showEditViewForRow:), open
// the edit screen inside a navigation controller that the list presents (the
// list being the screen's delegate, told didEditAlarm: after Done); in edit
// mode the rows offer the delete style; outside edit
// mode rows are not highlighted and offer no editing style, so a swipe
// deletes nothing. Deleting a row removes its alarm (removeAlarm:). Every
// stock method records its call. Clock app only; main thread.
#pragma once

#include "platform/uikit/table_view.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/view_controller.h"

namespace platform {

class AlarmView : public UIView {
public:
    Ref<UILabel> timeLabel_;
    Ref<UILabel> nameLabel_;
    Ref<UISwitch> enabledSwitch_;
};

class AlarmTableViewCell : public UITableViewCell {
public:
    Ref<AlarmView> alarmView_;
    Ref<Object> alarm_;
};

class AlarmViewController : public UIViewController {
public:
    static constexpr double kRowHeight = 80;
    Ref<UITableView> tableView_;
    Ref<Object> editButtonItem_;
    bool editing_ = false;
};

namespace mobiletimer {
// Registers AlarmView, AlarmTableViewCell and AlarmViewController.
void registerAlarmListClasses();
}  // namespace mobiletimer

}  // namespace platform

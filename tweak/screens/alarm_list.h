// The alarm list's extension: the Clock app's AlarmViewController refreshes its
// rows when the minute changes and on return to the foreground, titles an
// edited alarm with the time left, opens the radial menu (clone, edit,
// delete) on a long press on a row, selects many alarms in edit mode (with a
// toolbar to select all, edit all or remove the selected alarms), offers the
// delete style for swiping and turns all alarms on or off from a bar button.
//
// In edit mode with mass edition on, alarmsSelected (alarm_selection.h) is the
// one truth of the selection: each alarm at most once, compared by alarm id;
// the rows of its alarms are selected again whenever the table builds them,
// and alarms gone from the manager are dropped. All state is process-wide and
// set up at the list's first cell request. Clock app main thread only.
#pragma once

#include "platform/foundation/timer.h"
#include "tweak/screens/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id)> reloadTableViewOnMinuteChange{"reloadTableViewOnMinuteChange"};
inline constexpr Sel<void(id)> applicationDidEnterForeground{"applicationDidEnterForeground"};
inline constexpr Sel<void(id)> applicationWillTerminate{"applicationWillTerminate"};
inline constexpr Sel<void(id, id)> handleTap_{"handleTap:"};
inline constexpr Sel<void(id, id)> handleLongPress_{"handleLongPress:"};
inline constexpr Sel<void(id)> selectAll{"selectAll"};
inline constexpr Sel<void(id)> editAll{"editAll"};
inline constexpr Sel<void(id)> removeAll{"removeAll"};
inline constexpr Sel<void(id)> alarmToggleButtonPressed{"alarmToggleButtonPressed"};
}  // namespace sel

inline constexpr const char* kListImagesPath = "/Library/Application Support/Rousa2";
inline constexpr const char* UIApplicationWillTerminateNotification = "UIApplicationWillTerminateNotification";

// The list's radial menu (PRWRadialMenu), in the key window; hidden while closed.
extern Ref<Object> radialMenu;
// The row the last long press began on (0 when it began on no row).
extern long long longPressedRow;
// The toolbar of edit mode.
extern Ref<Object> editToolbar;
// The repeating refresh timer and the minute (0-59) of the last refresh.
extern Ref<NSTimer> minuteTimer;
extern long long lastMinute;
// The list view's frame when the view loaded.
extern Rect listViewFrame;

// A PNG of the list's image folder, or nil.
Ref<Object> listImage(const char* name);

extern Ref<Object> (*original_AlarmViewController_init)(id);
extern void (*original_AlarmViewController_viewDidLoad)(id);
extern void (*original_AlarmViewController_viewWillAppear_)(id, bool);
extern void (*original_AlarmViewController_viewWillDisappear_)(id, bool);
extern void (*original_AlarmViewController_didEditAlarm_)(id, id);
extern Ref<Object> (*original_AlarmViewController_tableView_cellForRowAtIndexPath_)(id, id, id);
extern void (*original_AlarmViewController_setEditing_animated_)(id, bool, bool);
extern Ref<Object> (*original_AlarmViewController_editButtonItem)(id);
extern bool (*original_AlarmViewController_tableView_canEditRowAtIndexPath_)(id, id, id);
extern long long (*original_AlarmViewController_tableView_editingStyleForRowAtIndexPath_)(id, id, id);
extern bool (*original_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_)(id, id, id);

Ref<Object> replaced_AlarmViewController_init(id self);
void replaced_AlarmViewController_viewDidLoad(id self);
void replaced_AlarmViewController_viewWillAppear_(id self, bool animated);
void replaced_AlarmViewController_viewWillDisappear_(id self, bool animated);
void replaced_AlarmViewController_didEditAlarm_(id self, id alarm);
Ref<Object> replaced_AlarmViewController_tableView_cellForRowAtIndexPath_(id self, id table, id indexPath);
void replaced_AlarmViewController_setEditing_animated_(id self, bool editing, bool animated);
Ref<Object> replaced_AlarmViewController_editButtonItem(id self);
bool replaced_AlarmViewController_tableView_canEditRowAtIndexPath_(id self, id table, id indexPath);
long long replaced_AlarmViewController_tableView_editingStyleForRowAtIndexPath_(id self, id table, id indexPath);
bool replaced_AlarmViewController_tableView_shouldHighlightRowAtIndexPath_(id self, id table, id indexPath);

// Added to AlarmViewController.
void AlarmViewController_reloadTableViewOnMinuteChange(id self);
void AlarmViewController_applicationDidEnterForeground(id self);
void AlarmViewController_applicationWillTerminate(id self);
void AlarmViewController_handleTap_(id self, id recognizer);
void AlarmViewController_handleLongPress_(id self, id recognizer);
void AlarmViewController_selectAll(id self);
void AlarmViewController_editAll(id self);
void AlarmViewController_removeAll(id self);
void AlarmViewController_alertView_clickedButtonAtIndex_(id self, id alert, long long index);
void AlarmViewController_alarmToggleButtonPressed(id self);
void AlarmViewController_dismiss_(id self, id alert);
// The menu closed: it hides until the next long press, so that it takes no taps.
void AlarmViewController_radialMenuDidDismiss_(id self, id menu);

}  // namespace rousa

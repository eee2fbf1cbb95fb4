// The time until an alarm rings. In SpringBoard: a small view with an icon and
// a label in the lock screen's date view for the next alarm of all, kept up to
// date from the Clock app's scheduled notifications. In the Clock app: a label
// in each row of the alarm list (or the text put after or in place of the
// alarm's name). The WKS preferences switch and place both. Main thread only.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

namespace sel {
// Added to SBClockDataProvider: (the Clock app's scheduled notifications).
inline constexpr Sel<void(id, Value)> didScheduleNotifications_{"didScheduleNotifications:"};
// Added to SBLockScreenViewController: (the lock-screen view) its frame in the date view.
inline constexpr Sel<Rect(id, id)> frameForAlarmView_{"frameForAlarmView:"};
}  // namespace sel

// The lock-screen view and its parts, by tag.
inline constexpr long long kTimeUntilAlarmViewTag = 50;
inline constexpr long long kTimeUntilAlarmLabelTag = 1;
inline constexpr long long kTimeUntilAlarmIconTag = 2;
// The label in a row's alarm view.
inline constexpr long long kClockAppTimeLabelTag = 50;
inline constexpr const char* kImagesPath = "/Library/Application Support/Rousa2";

// The earliest next fire date of the scheduled alarm notifications (a date),
// nil when none is scheduled.
extern Value nextAlarmDate;
// The lock screen shows a snoozed alarm's cell.
extern bool snoozedAlarmShown;

extern Value (*original_SBClockDataProvider__scheduledNotifications)(id);
extern void (*original_SBClockDataProvider__publishAlarmsWithScheduledNotifications_)(id, Value);
extern void (*original_SBLockScreenSnoozedAlarmCell_setFireDate_)(id, Value);
extern void (*original_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_)(id, int);
extern void (*original_AlarmTableViewCell_refreshUI_animated_)(id, id, bool);
extern void (*original_AlarmView_setName_andRepeatText_textColor_)(id, Value, Value, id);
extern void (*original_AlarmView_layoutSubviews)(id);

Value replaced_SBClockDataProvider__scheduledNotifications(id self);
void replaced_SBClockDataProvider__publishAlarmsWithScheduledNotifications_(id self, Value notifications);
void SBClockDataProvider_didScheduleNotifications_(id self, Value notifications);
void replaced_SBLockScreenSnoozedAlarmCell_setFireDate_(id self, Value fireDate);
void replaced_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_(id self, int source);
Rect SBLockScreenViewController_frameForAlarmView_(id self, id view);
void replaced_AlarmTableViewCell_refreshUI_animated_(id self, id alarm, bool animated);
void replaced_AlarmView_setName_andRepeatText_textColor_(id self, Value name, Value repeatText, id textColor);
void replaced_AlarmView_layoutSubviews(id self);

}  // namespace rousa

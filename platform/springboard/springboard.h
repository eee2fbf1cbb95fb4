// SpringBoard's classes, registered only in the SpringBoard host, per iOS
// version: the application and its buttons, the Clock app's SBApplication
// (iOS 9: UNLocalNotificationClient) with the schedule that fires its
// notifications on the run loop's clock, alert items, the lock screen, the
// bulletins, the sound and the volume indicator. The headers of the module:
// selectors.h, device.h (device state and drivers), app_switcher.h.
// Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/value.h"
#include "platform/uikit/local_notification.h"

namespace platform::springboard {

void registerClasses();

// SpringBoard's application object (the class "SpringBoard"), made on first use.
Ref<Object> application();
// The Clock app's SBApplication; made on first use.
Ref<Object> clockApplication();
// iOS 9: the Clock app's UNLocalNotificationClient; null before iOS 9.
Ref<Object> notificationClient();

// The Clock app's notifications as SpringBoard has them scheduled, in order:
// its own (copies of what it handed over) and SpringBoard's snoozes. Read them;
// do not change them.
struct ScheduledNotification {
    Ref<UILocalNotification> notification;
    bool snooze;
    Date nextFireDate;  // when it fires next
};
std::vector<ScheduledNotification> scheduledNotifications();

// What the Clock app's scheduling hands over: iOS 7 and 8 the Clock app's
// SBApplication scheduleLocalNotifications:replaceExistingNotifications: YES,
// iOS 9 UNLocalNotificationClient setScheduledLocalNotifications:. Installed as
// the Clock app's hand-over in SpringBoard's process.
void scheduleClockNotifications(const Value& notifications);

// Shows an alert that has nothing to do with alarms (a low-battery warning, say),
// with the title and an "OK" button, through SBAlertItemsController.
void showSystemAlert(const std::string& title);

// Fires a copy of the notification now, as the schedule does when the clock
// reaches its fire date (the schedule is left alone).
void fireNotification(id notification);

}  // namespace platform::springboard

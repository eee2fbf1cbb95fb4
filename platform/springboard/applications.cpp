// SpringBoard (the application and its buttons), the Clock app's SBApplication
// and, on iOS 9, its UNLocalNotificationClient, with the schedule that fires the
// Clock app's notifications when the clock reaches them.
#include <algorithm>

#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/iokit_hid.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/application.h"

namespace platform {

class SpringBoard : public UIApplication {};

class SBApplication : public NSObject {
public:
    Value bundleIdentifier;
};

class UNLocalNotificationClient : public NSObject {};

namespace springboard {
namespace detail {

namespace {

Value copies(const std::vector<Entry>& entries) {
    Value list = Value(Value::Array{});
    for (const auto& e : entries) list.mutableArray().push_back(Value(sel::copy(e.notification)));
    return list;
}

// The receiver of fired notifications: iOS 9 the client, before the app.
Ref<Object> fireReceiver() { return isiOS9() ? notificationClient() : clockApplication(); }

// A copy for the schedule; null (logged) for one the system would never fire,
// which kept would come due at one instant for ever.
Ref<UILocalNotification> scheduledCopy(id notification) {
    auto copy = as<UILocalNotification>(sel::copy(notification));
    if (copy && !copy->isSchedulable()) {
        NSLog("SpringBoard: not scheduling %@: it repeats without a fire date or by an unknown interval, or its date is not finite",
              describe(notification));
        return nullptr;
    }
    return copy;
}

void deliver(id notification) {
    Ref<Object> copy = sel::copy(notification);
    if (copy) sel::_fireNotification_(fireReceiver(), copy);
}

Date dueDate(const Entry& e, Date now) {
    const UILocalNotification& n = *e.notification;
    // The first date at or after now (a millisecond's margin: dates are whole seconds)...
    Value next = n.fireDate_.kind() == Value::Kind::Date && n.fireDate_.date() >= now
                     ? n.fireDate_
                     : n.nextFireDateAfter(now.addingTimeInterval(-0.001), n.timeZone_.get());
    // ...a one-time notification whose date has passed fires at once...
    if (next.kind() != Value::Kind::Date) return now;
    // ...and a repeating one that fired comes back after that firing.
    if (e.firedAt && next.date() <= *e.firedAt) next = n.nextFireDateAfter(*e.firedAt, n.timeZone_.get());
    return next.kind() == Value::Kind::Date ? next.date() : now;
}

void fireScheduled(Ref<UILocalNotification> n) {
    auto& entries = schedule();
    auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.notification == n; });
    if (it == entries.end()) return;
    bool repeats = n->repeatInterval_ != 0;
    if (repeats) it->firedAt = clock::now();
    else entries.erase(it);
    armSchedule();
    if (!repeats) publishClockNotifications();
    deliver(n);
}

// Whether a notification of a handed list is a snooze already scheduled: same
// alarm, same fire date.
bool isSameSnooze(const Entry& snooze, const UILocalNotification& n) {
    return snooze.notification->alarmId() == n.alarmId() && snooze.notification->fireDate_ == n.fireDate_;
}

void replaceSchedule(const Value& notifications) {
    auto& entries = schedule();
    // A snooze is SpringBoard's own notification: the Clock app's rescheduling
    // replaces its alarms and keeps the snoozes waiting.
    std::vector<Entry> snoozes;
    for (auto& e : entries)
        if (e.snooze) snoozes.push_back(std::move(e));
    entries.clear();
    for (const Value& item : notifications.array()) {
        auto copy = scheduledCopy(item.object());
        if (!copy) continue;
        bool snooze = item.object() && item.object() == pendingSnooze();
        // A waiting snooze handed on again with the list stays one entry.
        auto again = std::find_if(snoozes.begin(), snoozes.end(), [&](const Entry& e) { return isSameSnooze(e, *copy); });
        if (again != snoozes.end()) {
            snooze = true;
            snoozes.erase(again);
        }
        entries.push_back({copy, snooze, std::nullopt});
    }
    for (auto& e : snoozes) entries.push_back(std::move(e));
    armSchedule();
    publishClockNotifications();
}

void addSnooze(id notification) {
    auto copy = scheduledCopy(notification);
    if (!copy) return;
    schedule().push_back({copy, true, std::nullopt});
    armSchedule();
    publishClockNotifications();
}

// --- the buttons -------------------------------------------------------------------

void lockButtonDown(id, int source) {
    (void)source;
    ringing().upAtLockDown = ringingIsUp();
}

void lockButtonUp(id, int source) {
    // The alarm's alert or bulletin is up, or was when the button went down.
    bool alarm = ringingIsUp() || ringing().upAtLockDown;
    bool taken = alarm && sel::handleLockButtonPressed(lockScreenViewController());
    ringing().upAtLockDown = false;
    if (taken) return;
    Ref<Object> backlight = shared("SBBacklightController");
    if (!isLocked()) {
        sel::lockUIFromSource_withOptions_(shared("SBLockScreenManager"), source, Value());
        sel::setBacklightFactor_source_(backlight, 0.0f, source);
    } else {
        sel::setBacklightFactor_source_(backlight, sel::screenIsOn(backlight) ? 0.0f : 1.0f, source);
    }
}

std::string eventText(id event) {
    auto* e = as<IOHIDEvent>(event);
    return e ? e->text() : "nil";
}

}  // namespace

std::vector<Entry>& schedule() {
    static auto* s = new std::vector<Entry>();
    return *s;
}

Object*& pendingSnooze() {
    static Object* p = nullptr;
    return p;
}

namespace {
// SpringBoard keeps its schedule on the device, so that what was scheduled
// before a restart fires after it.
constexpr const char* kSchedulePath = "/var/mobile/Library/SpringBoard/LocalNotifications.plist";

void saveSchedule() {
    Value entries = Value(Value::Array{});
    for (const auto& e : schedule()) {
        Value::Dictionary d{{"notification", e.notification->propertyList()}, {"snooze", Value(e.snooze)}};
        if (e.firedAt) d["firedAt"] = Value(*e.firedAt);
        entries.mutableArray().push_back(Value(std::move(d)));
    }
    plist::writeFile(kSchedulePath, Value(Value::Dictionary{{"Scheduled", entries}}));
}
}  // namespace

void loadSchedule() {
    Value saved = plist::readFile(kSchedulePath)["Scheduled"];
    for (const Value& e : saved.array()) {
        auto n = UILocalNotification::fromPropertyList(e["notification"]);
        if (!n || !n->isSchedulable()) continue;
        std::optional<Date> firedAt;
        if (e["firedAt"].kind() == Value::Kind::Date) firedAt = e["firedAt"].date();
        schedule().push_back({n, e["snooze"].boolValue(), firedAt});
    }
    if (!schedule().empty()) armSchedule();
}

void armSchedule() {
    saveSchedule();
    auto& loop = RunLoop::main();
    loop.cancelOwner(&schedule(), "fire");
    Date now = clock::now();
    for (const auto& e : schedule()) {
        Ref<UILocalNotification> n = e.notification;
        loop.schedule(dueDate(e, now).timeIntervalSinceDate(now), [n] { fireScheduled(n); }, &schedule(), "fire");
    }
}

void publishClockNotifications() {
    Ref<Object> provider = shared("SBClockDataProvider");
    if (provider) sel::_publishAlarmsWithScheduledNotifications_(provider, sel::_scheduledNotifications(provider));
}

Ref<Object> clockApplication() {
    static auto* app = new Ref<Object>();
    if (!*app) {
        if (auto made = as<SBApplication>(alloc("SBApplication"))) {
            made->bundleIdentifier = Value(kClockBundleIdentifier);
            *app = made;
        }
    }
    return *app;
}

Ref<Object> notificationClient() {
    static auto* client = new Ref<Object>();
    if (!*client && isiOS9()) *client = newObject("UNLocalNotificationClient");
    return *client;
}

void registerApplications() {
    Version v = version();

    ClassBuilder<SpringBoard> springBoard("SpringBoard", "UIApplication");
    if (v == Version::iOS7) {
        springBoard
            .method(sel::_lockButtonDownFromSource_,
                    [](id self, int source) {
                        callLog::record("SpringBoard", "_lockButtonDownFromSource:", std::to_string(source));
                        lockButtonDown(self, source);
                    })
            .method(sel::_lockButtonUpFromSource_, [](id self, int source) {
                callLog::record("SpringBoard", "_lockButtonUpFromSource:", std::to_string(source));
                lockButtonUp(self, source);
            });
    } else {
        springBoard
            .method(sel::_lockButtonDown_fromSource_,
                    [](id self, id event, int source) {
                        callLog::record("SpringBoard", "_lockButtonDown:fromSource:", eventText(event) + " " + std::to_string(source));
                        lockButtonDown(self, source);
                    })
            .method(sel::_lockButtonUp_fromSource_, [](id self, id event, int source) {
                callLog::record("SpringBoard", "_lockButtonUp:fromSource:", eventText(event) + " " + std::to_string(source));
                lockButtonUp(self, source);
            });
    }
    springBoard.method(sel::_menuButtonDown_, [](id, id event) { callLog::record("SpringBoard", "_menuButtonDown:", eventText(event)); })
        .method(sel::_menuButtonUp_, [](id, id event) {
            callLog::record("SpringBoard", "_menuButtonUp:", eventText(event));
            // The Home button wakes the screen.
            wakeScreen(device::kSourceHomeButton);
        });

    ClassBuilder<SBApplication> app("SBApplication", "NSObject");
    app.getter<&SBApplication::bundleIdentifier>(sel::bundleIdentifier);
    if (v != Version::iOS9) {
        app.method(sel::_fireNotification_,
                   [](id self, id notification) {
                       callLog::record("SBApplication", "_fireNotification:", describe(notification));
                       if (!isiOS7()) {
                           // iOS 8: the alarm becomes a bulletin of the Clock app's data provider.
                           sel::_handleFiredNotification_(shared("SBClockDataProvider"), notification);
                           return;
                       }
                       auto* n = as<UILocalNotification>(notification);
                       if (!n) return;
                       if (!n->alarmId().isNil()) startAlarmSound(n);
                       wakeScreen(device::kSourceAlarm);
                       Ref<Object> alert = makeSystemLocalNotificationAlert(self, n);
                       ringing() = Ringing{Ref<UILocalNotification>(n), nullptr, alert, false};
                       sel::activateAlertItem_(shared("SBAlertItemsController"), alert);
                       sel::_handleFiredNotification_(shared("SBClockDataProvider"), notification);
                   })
            .method(sel::scheduleLocalNotifications_replaceExistingNotifications_, [](id, Value notifications, bool replace) {
                callLog::record("SBApplication", "scheduleLocalNotifications:replaceExistingNotifications:",
                                format("%lu %@", static_cast<unsigned long>(notifications.count()), replace ? "YES" : "NO"));
                if (replace) {
                    replaceSchedule(notifications);
                    return;
                }
                for (const Value& item : notifications.array()) {
                    if (auto copy = scheduledCopy(item.object()))
                        schedule().push_back({copy, item.object() == pendingSnooze(), std::nullopt});
                }
                armSchedule();
                publishClockNotifications();
            });
    }
    if (v == Version::iOS7) {
        app.method(sel::systemLocalNotificationAlertShouldSnooze_, [](id, id alert) {
            Ref<Object> n = sel::localNotification(alert);
            callLog::record("SBApplication", "systemLocalNotificationAlertShouldSnooze:", describe(n));
            if (auto copy = snoozeCopy(n, kSnoozeSeconds)) addSnooze(copy);
        });
    } else {
        app.method(sel::snoozeNotificationForLocalNotification_, [](id self, id notification) {
            callLog::record("SBApplication", "snoozeNotificationForLocalNotification:", describe(notification));
            auto copy = snoozeCopy(notification, kSnoozeSeconds);
            if (!copy) return;
            if (isiOS9()) {
                sel::scheduleSnoozeNotification_(notificationClient(), copy);
                return;
            }
            // iOS 8: the Clock app's whole list again, the snooze last.
            Value list = copies(schedule());
            list.mutableArray().push_back(Value(copy));
            pendingSnooze() = copy.get();
            sel::scheduleLocalNotifications_replaceExistingNotifications_(self, list, true);
            pendingSnooze() = nullptr;
        });
    }

    if (v == Version::iOS9) {
        ClassBuilder<UNLocalNotificationClient>("UNLocalNotificationClient", "NSObject")
            .method(sel::_fireNotification_,
                    [](id, id notification) {
                        // May come on another thread; the bulletin is made on the main thread.
                        callLog::record("UNLocalNotificationClient", "_fireNotification:", describe(notification));
                        Ref<Object> n(notification);
                        auto bulletin = [n] { sel::_handleFiredNotification_(shared("SBClockDataProvider"), n); };
                        if (NSThread::isMainThread()) bulletin();
                        else dispatch_async(dispatch_get_main_queue(), bulletin);
                    })
            .method(sel::scheduleSnoozeNotification_,
                    [](id, id notification) {
                        callLog::record("UNLocalNotificationClient", "scheduleSnoozeNotification:", describe(notification));
                        addSnooze(notification);
                    })
            .method(sel::setScheduledLocalNotifications_, [](id, Value notifications) {
                callLog::record("UNLocalNotificationClient", "setScheduledLocalNotifications:",
                                std::to_string(notifications.count()));
                replaceSchedule(notifications);
            });
    }
}

}  // namespace detail

Ref<Object> application() {
    Ref<Object> app(UIApplication::sharedApplication());
    if (!isKindOfClass(app, "SpringBoard")) {
        Ref<Object> made = newObject("SpringBoard");
        if (made) app = made;
    }
    return isKindOfClass(app, "SpringBoard") ? app : nullptr;
}

Ref<Object> clockApplication() { return detail::clockApplication(); }
Ref<Object> notificationClient() { return detail::notificationClient(); }

std::vector<ScheduledNotification> scheduledNotifications() {
    std::vector<ScheduledNotification> out;
    Date now = clock::now();
    for (const auto& e : detail::schedule()) out.push_back({e.notification, e.snooze, detail::dueDate(e, now)});
    return out;
}

void scheduleClockNotifications(const Value& notifications) {
    if (detail::isiOS9()) sel::setScheduledLocalNotifications_(detail::notificationClient(), notifications);
    else sel::scheduleLocalNotifications_replaceExistingNotifications_(detail::clockApplication(), notifications, true);
}

void fireNotification(id notification) { detail::deliver(notification); }

}  // namespace springboard
}  // namespace platform

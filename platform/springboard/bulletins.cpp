// BulletinBoard's BBServer and BBBulletin, and SpringBoard's SBClockDataProvider,
// which turns the Clock app's fired alarms into bulletins (and, on iOS 8 and
// later, starts their sound) and publishes its scheduled notifications.
#include <optional>

#include "platform/foundation/format.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"

namespace platform {

class BBBulletin : public NSObject {
public:
    Value sectionID;
    Value title;
    Value message;
    Ref<UILocalNotification> notification;
    bool allowsSnooze = false;
};

namespace springboard::detail {

namespace {

// The feed of the lock screen's notification list (iOS 7).
constexpr unsigned long long kLockScreenFeed = 8;

BBBulletin* bulletin(id self) { return as<BBBulletin>(self); }

Ref<Object> bulletinServer() {
    static auto* server = new Ref<Object>();
    if (!*server) *server = newObject("BBServer");
    return *server;
}

Ref<Object> makeBulletin(UILocalNotification* n) {
    auto b = as<BBBulletin>(newObject("BBBulletin"));
    if (!b) return nullptr;
    b->sectionID = Value(kClockBundleIdentifier);
    b->title = Value("Alarm");
    b->message = n->alertBody_;
    b->notification = n;
    b->allowsSnooze = n->allowSnooze_;
    return b;
}

// Where a published alarm bulletin goes: on iOS 7 the lock screen's list; later
// the full-screen bulletin on the lock screen, or a modal alert when unlocked.
void present(id server, id b) {
    if (isiOS7()) {
        sel::observer_addBulletin_forFeed_(lockScreenList(), server, b, kLockScreenFeed);
        return;
    }
    ringing().bulletin = b;
    if (isLocked()) {
        sel::presentFullscreenBulletinAlertWithItem_(lockScreenViewController(), b);
        return;
    }
    Ref<Object> alert = makeBulletinModalAlert(b);
    ringing().alertItem = alert;
    sel::activateAlertItem_(shared("SBAlertItemsController"), alert);
}

std::optional<Date> earliestSnooze() {
    std::optional<Date> earliest;
    for (const auto& s : schedule())
        if (s.snooze && s.notification->fireDate_.kind() == Value::Kind::Date) {
            Date d = s.notification->fireDate_.date();
            if (!earliest || d < *earliest) earliest = d;
        }
    return earliest;
}

}  // namespace

UILocalNotification* bulletinNotification(id b) { return bulletin(b) ? bulletin(b)->notification.get() : nullptr; }
bool bulletinAllowsSnooze(id b) { return bulletin(b) && bulletin(b)->allowsSnooze; }

void registerBulletins() {
    ClassBuilder<NSObject>("BBServer", "NSObject")
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    callLog::record("BBServer", "init");
                    return Ref<Object>(self);
                })
        .method(sel::publishBulletin_, [](id self, id b) {
            callLog::record("BBServer", "publishBulletin:", sel::sectionID(b).description());
            present(self, b);
        });

    ClassBuilder<BBBulletin>("BBBulletin", "NSObject")
        .getter<&BBBulletin::sectionID>(sel::sectionID)
        .getter<&BBBulletin::title>(sel::title)
        .getter<&BBBulletin::message>(sel::message)
        .method(sel::unlockActionLabel,
                [](id self) {
                    callLog::record("BBBulletin", "unlockActionLabel");
                    return Value(bulletin(self)->allowsSnooze ? "snooze" : "view");
                })
        .method(sel::fullUnlockActionLabel,
                [](id self) {
                    callLog::record("BBBulletin", "fullUnlockActionLabel");
                    return Value(bulletin(self)->allowsSnooze ? "slide to snooze" : "slide to view");
                })
        .method(sel::unlockActionLabelOverride, [](id) {
            callLog::record("BBBulletin", "unlockActionLabelOverride");
            return Value();
        });

    ClassBuilder<NSObject>("SBClockDataProvider", "NSObject")
        .classMethod(sel::sharedInstance, &sharedInstanceOf)
        .method(sel::_isAlarmNotification_,
                [](id, id n) {
                    Value alarmId = sel::userInfo(n)["alarmId"];
                    callLog::record("SBClockDataProvider", "_isAlarmNotification:", alarmId.description());
                    return !alarmId.isNil();
                })
        .method(sel::_handleFiredNotification_,
                [](id self, id notification) {
                    callLog::record("SBClockDataProvider", "_handleFiredNotification:", describe(notification));
                    auto* n = as<UILocalNotification>(notification);
                    if (!n || !sel::_isAlarmNotification_(self, n)) return;
                    if (!isiOS7()) {
                        ringing() = Ringing{Ref<UILocalNotification>(n), nullptr, nullptr, false};
                        startAlarmSound(n);
                        wakeScreen(device::kSourceAlarm);
                    }
                    Ref<Object> b = makeBulletin(n);
                    sel::publishBulletin_(bulletinServer(), b);
                })
        .method(sel::_scheduledNotifications,
                [](id) {
                    callLog::record("SBClockDataProvider", "_scheduledNotifications");
                    Value list = Value(Value::Array{});
                    for (const auto& e : schedule()) list.mutableArray().push_back(Value(sel::copy(e.notification)));
                    return list;
                })
        .method(sel::_publishAlarmsWithScheduledNotifications_, [](id, Value notifications) {
            callLog::record("SBClockDataProvider", "_publishAlarmsWithScheduledNotifications:",
                            std::to_string(notifications.count()));
            auto snooze = earliestSnooze();
            showSnoozedAlarm(snooze ? Value(*snooze) : Value());
        });
}

}  // namespace springboard::detail
}  // namespace platform

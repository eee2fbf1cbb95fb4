#include "tweak/engine/activator_actions.h"

#include <mutex>

#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/frameworks/activator.h"
#include "tweak/screens/alarm_list_state.h"
#include "tweak/screens/alert_window.h"

namespace rousa {

namespace {

// One per listener class, made once even when first asked from several threads.
template <int Index>
Ref<Object> sharedListener(id cls) {
    static std::once_flag once;
    static Ref<Object>* listener = nullptr;
    std::call_once(once, [cls] { listener = new Ref<Object>(sel::init(alloc(static_cast<Class*>(cls)))); });
    return *listener;
}

template <int Index>
void receiveEvent(id, id, id) {
    static Class* center = objc_getClass("NSDistributedNotificationCenter");
    if (!center) return;
    NSDistributedNotificationCenter::defaultCenter()->postNotificationName(kActivatorActions[Index].notification, Value());
}

template <int Index>
void registerListener() {
    ClassBuilder<NSObject>::inheritingType(kActivatorActions[Index].listenerClass, "NSObject")
        .protocol("LAListener")
        .classMethod(sel::sharedListener, &sharedListener<Index>)
        .method(sel::activator_receiveEvent_, &receiveEvent<Index>);
}

void turnAllAlarms(bool active) {
    try {
        Ref<Object> manager = sel::sharedManager(NSClassFromString("AlarmManager"));
        sel::loadAlarms(manager);
        sel::loadScheduledNotifications(manager);
        Value alarms = sel::alarms(manager);
        for (const Value& alarm : alarms.array()) sel::updateAlarm_active_(manager, alarm.object(), active);
        // The Clock app shows the alarms: its list reloads.
        if (NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleDisplayName").string() == "Clock")
            if (Ref<Object> table = alarmTableView.lock()) sel::reloadData(table);
    } catch (const NSException& e) {
        NSLog("Exception: %@", e.reason());
    }
    NSLog("finally");
}

}  // namespace

void registerActivatorClasses() {
    registerListener<0>();
    registerListener<1>();
    registerListener<2>();
    registerListener<3>();
    ClassBuilder<GlobalFunction>("GlobalFunction", "NSObject")
        .method(sel::init,
                [](id self) {
                    Ref<Object> made = sel::init.super(objc_getClass("GlobalFunction"), self);
                    auto* center = NSDistributedNotificationCenter::defaultCenter();
                    center->addObserver(made, sel::stopAlarm_, kActivatorActions[0].notification, Value());
                    center->addObserver(made, sel::snoozeAlarm_, kActivatorActions[1].notification, Value());
                    center->addObserver(made, sel::turnOnAlarms_, kActivatorActions[2].notification, Value());
                    center->addObserver(made, sel::turnOffAlarms_, kActivatorActions[3].notification, Value());
                    return made;
                })
        .method(sel::stopAlarm_, [](id, id) { sel::setAlarmToDismiss(RS2AlertWindow::sharedInstance()); })
        .method(sel::snoozeAlarm_, [](id, id) { sel::setAlarmToSnooze(RS2AlertWindow::sharedInstance()); })
        .method(sel::turnOnAlarms_, [](id, id) { turnAllAlarms(true); })
        .method(sel::turnOffAlarms_, [](id, id) { turnAllAlarms(false); });
}

void registerActivatorListeners(Class* activator) {
    Ref<Object> shared = sel::sharedInstance(activator);
    for (const auto& action : kActivatorActions)
        sel::registerListener_forName_(shared, sel::sharedListener(objc_getClass(action.listenerClass)), Value(action.listenerName));
}

void createGlobalFunction() {
    static Ref<Object>* observer = new Ref<Object>(sel::init(alloc("GlobalFunction")));
    (void)observer;
}

}  // namespace rousa

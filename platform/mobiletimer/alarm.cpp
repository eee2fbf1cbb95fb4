#include "platform/mobiletimer/alarm.h"

#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/process.h"
#include "platform/mobiletimer/clock_manager.h"
#include "platform/mobiletimer/scheduling.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"

namespace platform {

Value Alarm::dictionary() const {
    Value::Dictionary d{{"hour", Value(hour)},
                        {"minute", Value(minute)},
                        {"daySetting", Value(daySetting)},
                        {"active", Value(active)},
                        {"soundType", Value(soundType)},
                        {"allowsSnooze", Value(allowsSnooze)}};
    if (alarmId.isString()) d["alarmId"] = alarmId;
    if (title.isString()) d["title"] = title;
    if (sound.isString()) d["sound"] = sound;
    return Value(std::move(d));
}

Ref<Alarm> Alarm::fromDictionary(const Value& d) {
    auto a = as<Alarm>(alloc("Alarm"));
    if (!a) return nullptr;
    a->alarmId = d["alarmId"].isString() ? d["alarmId"] : Value();
    a->hour = d["hour"].integerValue();
    a->minute = d["minute"].integerValue();
    a->title = d["title"].isString() ? d["title"] : Value();
    a->daySetting = d["daySetting"].integerValue();
    a->active = d["active"].boolValue(true);
    a->sound = d["sound"].isString() ? d["sound"] : Value();
    a->soundType = d["soundType"].integerValue();
    a->allowsSnooze = d["allowsSnooze"].boolValue(true);
    return a;
}

Date Alarm::nextFireDateAfter(Date after) const {
    auto calendar = NSCalendar::currentCalendar();
    auto today = calendar->components(after);
    for (int offset = 0; offset <= 7; ++offset) {
        auto day = NSDateComponents::make();
        day->year = today->year;
        day->month = today->month;
        day->day = today->day + offset;
        day->hour = hour;
        day->minute = minute;
        day->second = 0;
        Date candidate = *calendar->dateFromComponents(*day);
        if (candidate <= after) continue;
        // weekday 1 is Sunday; bit 0 of daySetting is Monday ... bit 6 Sunday.
        long long weekday = calendar->components(candidate)->weekday;
        long long bit = weekday == 1 ? 6 : weekday - 2;
        if (daySetting == 0 || (daySetting >> bit & 1)) return candidate;
    }
    return after;
}

Alarm* Alarm::editingProxy() {
    if (!editingProxy_) {
        editingProxy_ = as<Alarm>(alloc(isa()));
        if (Alarm* p = editingProxy_.get()) {
            p->alarmId = alarmId;
            p->hour = hour;
            p->minute = minute;
            p->title = title;
            p->daySetting = daySetting;
            p->active = active;
            p->sound = sound;
            p->soundType = soundType;
            p->allowsSnooze = allowsSnooze;
        }
    }
    return editingProxy_.get();
}

void Alarm::applyEditingProxy() {
    Ref<Alarm> p = std::move(editingProxy_);
    editingProxy_ = nullptr;
    if (!p) return;
    hour = p->hour;
    minute = p->minute;
    title = p->title;
    daySetting = p->daySetting;
    sound = p->sound;
    soundType = p->soundType;
    allowsSnooze = p->allowsSnooze;
}

std::string Alarm::summary() const {
    return format("%@ %02d:%02d", alarmId, static_cast<int>(hour), static_cast<int>(minute));
}

namespace mobiletimer {
namespace {

AlarmManager* manager(id self) { return as<AlarmManager>(self); }
Alarm* alarm(id self) { return as<Alarm>(self); }

void save(const AlarmManager* m) {
    plist::update(kAlarmsPath, [&](Value::Dictionary& file) {
        Value list = Value(Value::Array{});
        for (const auto& a : m->alarms) list.mutableArray().push_back(a->dictionary());
        file["Alarms"] = list;
        return true;
    });
}

std::string nextAlarmId() {
    std::string id;
    plist::update(kAlarmsPath, [&](Value::Dictionary& file) {
        long long next = file["NextAlarmID"].integerValue(1);
        id = format("ALARM-%ld", next);
        file["NextAlarmID"] = Value(next + 1);
        return true;
    });
    return id;
}

Ref<AlarmManager>& shared() {
    static Ref<AlarmManager>* m = new Ref<AlarmManager>();
    return *m;
}

void loadAlarms(id self) {
    auto* m = manager(self);
    m->alarms.clear();
    for (const Value& d : plist::readFile(kAlarmsPath)["Alarms"].array())
        if (auto a = Alarm::fromDictionary(d)) m->alarms.push_back(a);
}

Alarm* find(AlarmManager* m, const Value& alarmId) {
    for (auto& a : m->alarms)
        if (alarmId.isString() && a->alarmId == alarmId) return a.get();
    return nullptr;
}

}  // namespace

void registerAlarmClasses() {
    bool iOS9 = process::info().coreFoundationVersion >= 1240.1;

    auto idGetter = [](id self) { return alarm(self)->alarmId; };
    auto idSetter = [](id self, Value v) { alarm(self)->alarmId = v; };
    ClassBuilder<Alarm> alarmClass("Alarm", "NSObject");
    alarmClass.method(sel::initWithDefaultValues, [](id self) {
                  auto* a = alarm(self);
                  a->hour = 7;
                  a->minute = 0;
                  a->active = true;
                  a->allowsSnooze = true;
                  return Ref<Object>(self);
              })
        .method(sel::isEqual_, [](id self, id other) {
            auto* b = as<Alarm>(other);
            if (!b) return false;
            auto* a = alarm(self);
            return a == b || (a->alarmId.isString() && a->alarmId == b->alarmId);
        })
        .method(sel::description, [](id self) { return Value("<Alarm " + alarm(self)->summary() + ">"); })
        .property<&Alarm::hour>(sel::hour, sel::setHour_)
        .property<&Alarm::minute>(sel::minute, sel::setMinute_)
        .property<&Alarm::title>(sel::title, sel::setTitle_)
        .property<&Alarm::daySetting>(sel::daySetting, sel::setDaySetting_)
        .getter<&Alarm::title>(sel::uiTitle)
        .getter<&Alarm::active>(sel::isActive)
        .getter<&Alarm::sound>(sel::sound)
        .getter<&Alarm::soundType>(sel::soundType)
        .method(sel::setSound_ofType_, [](id self, Value s, long long type) {
            alarm(self)->sound = s;
            alarm(self)->soundType = type;
        })
        .property<&Alarm::allowsSnooze>(sel::allowsSnooze, sel::setAllowsSnooze_)
        .method(sel::nextFireDate, [](id self) { return Value(alarm(self)->nextFireDateAfter(clock::now())); })
        .method(sel::editingProxy, [](id self) { return Ref<Object>(alarm(self)->editingProxy()); });
    if (iOS9) alarmClass.method(sel::alarmID, idGetter).method(sel::setAlarmID_, idSetter);
    else alarmClass.method(sel::alarmId, idGetter).method(sel::setAlarmId_, idSetter);
    // From iOS 8 on an alarm keeps its notification in _notification.
    if (process::info().coreFoundationVersion >= 1140.1) alarmClass.ivar<&Alarm::notification>("_notification");

    ClassBuilder<AlarmManager>("AlarmManager", "NSObject")
        .classMethod(sel::sharedManager, [](id) {
            auto& m = shared();
            if (!m) {
                m = as<AlarmManager>(alloc("AlarmManager"));
                mobiletimer::loadAlarms(m);
            }
            return Ref<Object>(m.get());
        })
        .classMethod(sel::isAlarmNotification_,
                     [](id, id notification) {
                         Value alarmId = sel::userInfo(notification)["alarmId"];
                         callLog::record("AlarmManager", "isAlarmNotification:", alarmId.description());
                         return !alarmId.isNil();
                     })
        .method(sel::loadAlarms, [](id self) {
            callLog::record("AlarmManager", "loadAlarms");
            mobiletimer::loadAlarms(self);
        })
        .method(sel::loadScheduledNotifications,
                [](id self) {
                    callLog::record("AlarmManager", "loadScheduledNotifications");
                    scheduleNotificationsFor(manager(self)->alarms);
                })
        .method(sel::alarms, [](id self) {
            Value list = Value(Value::Array{});
            for (auto& a : manager(self)->alarms) list.mutableArray().push_back(Value(a));
            return list;
        })
        .method(sel::alarmWithId_, [](id self, Value alarmId) { return Ref<Object>(find(manager(self), alarmId)); })
        .method(sel::addAlarm_active_, [](id self, id newAlarm, bool active) {
            auto* m = manager(self);
            auto* a = as<Alarm>(newAlarm);
            if (!a) return;
            if (!a->alarmId.isString()) a->alarmId = Value(nextAlarmId());
            a->active = active;
            if (!find(m, a->alarmId)) m->alarms.push_back(Ref<Alarm>(a));
            save(m);
            callLog::record("AlarmManager", "addAlarm:active:", a->summary() + (active ? " YES" : " NO"));
            scheduleAlarms(m);
        })
        .method(sel::updateAlarm_active_, [](id self, id changed, bool active) {
            auto* m = manager(self);
            auto* a = as<Alarm>(changed);
            if (!a) return;
            a->active = active;
            // The manager keeps one object per alarm id; an equal object replaces it.
            if (Alarm* mine = find(m, a->alarmId); mine && mine != a) {
                for (auto& slot : m->alarms)
                    if (slot.get() == mine) slot = Ref<Alarm>(a);
            }
            save(m);
            callLog::record("AlarmManager", "updateAlarm:active:", a->summary() + (active ? " YES" : " NO"));
            scheduleAlarms(m);
        })
        .method(sel::removeAlarm_, [](id self, id gone) {
            auto* m = manager(self);
            auto* a = as<Alarm>(gone);
            if (!a) return;
            std::erase_if(m->alarms, [&](const Ref<Alarm>& x) { return x->alarmId == a->alarmId; });
            save(m);
            callLog::record("AlarmManager", "removeAlarm:", a->summary());
            scheduleAlarms(m);
        });

    registerClockManager();
}

}  // namespace mobiletimer
}  // namespace platform

#include "tweak/engine/alarm_record.h"

#include "platform/foundation/plist.h"
#include "tweak/engine/store.h"

namespace rousa {

namespace {
Ref<KAlarmCurrent>& shared() {
    static auto* current = new Ref<KAlarmCurrent>();
    return *current;
}
// The dictionary form keeps integers in 32 bits: the low 32 bits of the field.
Value int32Number(long long v) { return Value(static_cast<int>(static_cast<std::int32_t>(v))); }
}  // namespace

Ref<KAlarm> KAlarm::make() { return as<KAlarm>(alloc("KAlarm")); }

Ref<KAlarm> KAlarm::initWithDefaultValues() {
    auto r = make();
    Value prefs = RousaReadPrefsFile();
    r->enabled_ = prefs["defEnabled"].boolValue(false);
    r->snoozeTime_ = prefs["defSnoozeTime"].intValue(1);
    r->snoozeMeasure_ = prefs["defSnoozeMeasure"].intValue(1);
    r->volume_ = prefs["defVolume"].floatValue(1.0f);
    r->vibrateRing_ = prefs["defVibrateRing"].boolValue(true);
    r->vibrateSilent_ = prefs["defVibrateSilent"].boolValue(true);
    r->dismissInterval_ = prefs["defDismissTime"].intValue(0);
    r->dismissMeasure_ = prefs["defDismissMeasure"].intValue(1);
    r->dismissAction_ = prefs["defDismissAction"].intValue(1);
    r->calcEnabled_ = prefs["defCalcEnabled"].boolValue(false);
    r->calcDifficult_ = prefs["defCalcDifficult"].intValue(1);
    return r;
}

Ref<KAlarm> KAlarm::initWithData(const Value& data) {
    auto r = make();
    r->fill(data);
    return r;
}

void KAlarm::fill(const Value& d) {
    alarmId_ = d["alarmId"];
    enabled_ = d["enabled"].boolValue();
    volume_ = d["volume"].floatValue();
    snoozeTime_ = d["snoozeTime"].intValue();
    snoozeMeasure_ = d["snoozeMeasure"].intValue();
    vibrateRing_ = d["vibrateRing"].boolValue();
    vibrateSilent_ = d["vibrateSilent"].boolValue();
    dismissInterval_ = d["dismissInterval"].intValue();
    dismissMeasure_ = d["dismissMeasure"].intValue();
    dismissAction_ = d["dismissAction"].intValue();
    fadeinTime_ = d["fadeinTime"].intValue();
    fadeinMeasure_ = d["fadeinMeasure"].intValue();
    calcEnabled_ = d["calcEnabled"].boolValue();
    calcDifficult_ = d["calcDifficult"].intValue();
}

Value KAlarm::data() const {
    Value::Dictionary d{
        {"enabled", Value(enabled_)},
        {"volume", Value(volume_)},
        {"snoozeTime", int32Number(snoozeTime_)},
        {"snoozeMeasure", int32Number(snoozeMeasure_)},
        {"vibrateRing", Value(vibrateRing_)},
        {"vibrateSilent", Value(vibrateSilent_)},
        {"dismissInterval", int32Number(dismissInterval_)},
        {"dismissMeasure", int32Number(dismissMeasure_)},
        {"dismissAction", int32Number(dismissAction_)},
        {"fadeinTime", int32Number(fadeinTime_)},
        {"fadeinMeasure", int32Number(fadeinMeasure_)},
        {"calcEnabled", Value(calcEnabled_)},
        {"calcDifficult", int32Number(calcDifficult_)},
    };
    if (!alarmId_.isNil()) d["alarmId"] = alarmId_;
    return Value(std::move(d));
}

long long KAlarm::snoozeTimeInSeconds() const {
    switch (snoozeMeasure_) {
        case KAlarmMeasureSeconds: return snoozeTime_;
        case KAlarmMeasureMinutes: return snoozeTime_ * 60;
        case KAlarmMeasureHours: return snoozeTime_ * 3600;
        default: return 0;
    }
}

long long KAlarm::dismissIntervalInSeconds() const {
    switch (dismissMeasure_) {
        case KAlarmMeasureSeconds: return dismissInterval_;
        case KAlarmMeasureMinutes: return dismissInterval_ * 60;
        default: return 0;  // hours are not offered for the automatic stop
    }
}

// Counting the interval in seconds keeps an unknown unit from stopping the
// alarm the instant it rings.
bool KAlarm::shouldAutoDismiss() const { return dismissIntervalInSeconds() > 0; }

bool KAlarm::shouldFadeAudio() const { return fadeinTime_ > 0; }

KAlarmCurrent* KAlarmCurrent::sharedInstance(const Value& alarmId) {
    auto& current = shared();
    if (alarmId.isNil()) return current.get();
    Ref<KAlarmCurrent> found;
    // The last equal element wins; only that one is converted.
    Value element;
    if (alarmId.isString())
        element = plist::readDocument(kRousaPrefsPath)->dictionaryWhere("Alarms", "alarmId", alarmId.string(), plist::Document::Match::Last);
    if (!element.isNil()) {
        found = as<KAlarmCurrent>(alloc("KAlarmCurrent"));
        found->fill(element);
    }
    if (!found) {
        // Never ring this alarm with an earlier alarm's settings.
        found = as<KAlarmCurrent>(alloc("KAlarmCurrent"));
        found->setAlarmId(alarmId);
    }
    current = found;
    return current.get();
}

KAlarmCurrent* KAlarmCurrent::sharedInstance() { return sharedInstance(Value()); }

void registerAlarmRecordClasses() {
    ClassBuilder<KAlarm>("KAlarm", "NSObject");
    ClassBuilder<KAlarmCurrent>("KAlarmCurrent", "KAlarm");
}

}  // namespace rousa

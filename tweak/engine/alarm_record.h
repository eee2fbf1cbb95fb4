// KAlarm: the settings record of one Clock-app alarm, kept by alarm id in the
// "Alarms" array of the preference file; KAlarmCurrent: the record of the
// alarm that rang last in this process. Main thread only.
#pragma once

#include <cstdint>

#include "tweak/engine/selectors.h"

namespace rousa {

// KAlarmMeasure
enum : long long { KAlarmMeasureSeconds = 1, KAlarmMeasureMinutes = 2, KAlarmMeasureHours = 3 };
// KAlarmDismissAction
enum : long long { KAlarmDismissActionStop = 1, KAlarmDismissActionSnooze = 2 };
// KAlarmCalcDifficulty
enum : long long { KAlarmCalcDifficultyEasy = 0, KAlarmCalcDifficultyNormal = 1, KAlarmCalcDifficultyHard = 2, KAlarmCalcDifficultyLifeless = 3 };

class KAlarm : public NSObject {
public:
    // A record with every field zero (init).
    static Ref<KAlarm> make();
    // A record for a new alarm, with the defaults of the preference file's
    // "def" keys; alarmId stays nil and no fade-in is set.
    static Ref<KAlarm> initWithDefaultValues();
    // A record from its dictionary form.
    static Ref<KAlarm> initWithData(const Value& data);
    // The dictionary form: fourteen keys, integers in 32 bits.
    Value data() const;

    long long snoozeTimeInSeconds() const;
    long long dismissIntervalInSeconds() const;
    bool shouldAutoDismiss() const;
    bool shouldFadeAudio() const;

    const Value& alarmId() const { return alarmId_; }
    void setAlarmId(Value v) { alarmId_ = std::move(v); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool v) { enabled_ = v; }
    float volume() const { return volume_; }
    void setVolume(float v) { volume_ = v; }
    long long snoozeTime() const { return snoozeTime_; }
    void setSnoozeTime(long long v) { snoozeTime_ = v; }
    long long snoozeMeasure() const { return snoozeMeasure_; }
    void setSnoozeMeasure(long long v) { snoozeMeasure_ = v; }
    bool vibrateRing() const { return vibrateRing_; }
    void setVibrateRing(bool v) { vibrateRing_ = v; }
    bool vibrateSilent() const { return vibrateSilent_; }
    void setVibrateSilent(bool v) { vibrateSilent_ = v; }
    long long dismissInterval() const { return dismissInterval_; }
    void setDismissInterval(long long v) { dismissInterval_ = v; }
    long long dismissMeasure() const { return dismissMeasure_; }
    void setDismissMeasure(long long v) { dismissMeasure_ = v; }
    long long dismissAction() const { return dismissAction_; }
    void setDismissAction(long long v) { dismissAction_ = v; }
    long long fadeinTime() const { return fadeinTime_; }
    void setFadeinTime(long long v) { fadeinTime_ = v; }
    long long fadeinMeasure() const { return fadeinMeasure_; }
    void setFadeinMeasure(long long v) { fadeinMeasure_ = v; }
    bool calcEnabled() const { return calcEnabled_; }
    void setCalcEnabled(bool v) { calcEnabled_ = v; }
    long long calcDifficult() const { return calcDifficult_; }
    void setCalcDifficult(long long v) { calcDifficult_ = v; }

protected:
    void fill(const Value& data);

private:
    Value alarmId_;
    bool enabled_ = false;
    float volume_ = 0;
    long long snoozeTime_ = 0;
    long long snoozeMeasure_ = 0;
    bool vibrateRing_ = false;
    bool vibrateSilent_ = false;
    long long dismissInterval_ = 0;
    long long dismissMeasure_ = 0;
    long long dismissAction_ = 0;
    long long fadeinTime_ = 0;
    long long fadeinMeasure_ = 0;
    bool calcEnabled_ = false;
    long long calcDifficult_ = 0;
};

class KAlarmCurrent : public KAlarm {
public:
    // With an id: makes the record stored under that id (the last equal one)
    // current, or a fresh all-zero record with that id when none is stored.
    // With nil: the current record unchanged. Returns the current record.
    static KAlarmCurrent* sharedInstance(const Value& alarmId);
    // The current record, or null before the first alarm rang here.
    static KAlarmCurrent* sharedInstance();
};

// Registers KAlarm and KAlarmCurrent with the runtime.
void registerAlarmRecordClasses();

}  // namespace rousa

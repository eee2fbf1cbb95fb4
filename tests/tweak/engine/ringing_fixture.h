// A SpringBoard process of one iOS version with the tweak started, an alarm
// of the Clock app one minute ahead (the clock stands at Monday 06:00) and its
// settings record, and helpers to let it ring.
#pragma once

#include "tests/platform/springboard/springboard_test_support.h"
#include "platform/foundation/log.h"
#include "platform/foundation/plist.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alert_window.h"

namespace rousa::testing {

using namespace platform;

struct RecordFields {
    bool enabled = true;
    float volume = 1.0f;
    long long snoozeTime = 0, snoozeMeasure = 1;
    bool vibrateRing = false, vibrateSilent = false;
    long long dismissInterval = 0, dismissMeasure = 1, dismissAction = 1;
    long long fadeinTime = 0, fadeinMeasure = 1;
    bool calcEnabled = false;
    long long calcDifficult = 0;
};

class Ringing : public sbtest::SpringBoardTest {
public:
    explicit Ringing(const std::string& version) : SpringBoardTest(version) {
        startTweakLibrary();
        log::clear();
    }

    // Global preferences of the file.
    static void preferences(Value::Dictionary keys) {
        plist::update(kRousaPrefsPath, [&](Value::Dictionary& prefs) {
            for (auto& [k, v] : keys) prefs[k] = v;
            return true;
        });
        RousaLoadPrefs(false);
    }

    // An alarm at 06:01 with this record.
    Ref<Object> alarmWithRecord(const RecordFields& f, long long minute = 1, bool snooze = true, const char* title = "Wake up") {
        Ref<Object> alarm = addAlarm(6, minute, 0, snooze, title);
        auto r = KAlarm::make();
        r->setAlarmId(sel::alarmId(alarm));
        r->setEnabled(f.enabled);
        r->setVolume(f.volume);
        r->setSnoozeTime(f.snoozeTime);
        r->setSnoozeMeasure(f.snoozeMeasure);
        r->setVibrateRing(f.vibrateRing);
        r->setVibrateSilent(f.vibrateSilent);
        r->setDismissInterval(f.dismissInterval);
        r->setDismissMeasure(f.dismissMeasure);
        r->setDismissAction(f.dismissAction);
        r->setFadeinTime(f.fadeinTime);
        r->setFadeinMeasure(f.fadeinMeasure);
        r->setCalcEnabled(f.calcEnabled);
        r->setCalcDifficult(f.calcDifficult);
        RousaSetAlarm(r);
        return alarm;
    }

    // Lets the clock reach 06:01 and the alert come up.
    void ring() { advance(60.5); }

    RS2AlertWindow* window() { return RS2AlertWindow::sharedInstance(); }
    bool windowShown() { return !sel::isHidden(window()) && sel::alpha(window()) > 0.5; }
    bool windowAsksQuestion() { return windowShown() && sel::alpha(window()->questionContainer) == 1.0; }
    bool soundPlaying() { return celestial::isPlaying(); }
};

}  // namespace rousa::testing

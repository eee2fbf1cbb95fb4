#include "tweak/screens/alarm_shortcut.h"

#include "tweak/engine/hooking.h"
#include "tweak/engine/preferences.h"

namespace rousa {

void (*original_SBCCTimerShortcut_activateAppWithDisplayID_url_)(id, Value, Value) = nullptr;
Ref<Object> (*original_SBCCTimerShortcut_glyphImageForState_)(id, long long) = nullptr;
long long (*original_ClockManager_sectionFromClockAppURL_)(id, Value) = nullptr;

void replaced_SBCCTimerShortcut_activateAppWithDisplayID_url_(id self, Value displayID, Value) {
    callPrevious(original_SBCCTimerShortcut_activateAppWithDisplayID_url_, self, displayID, Value(kAlarmShortcutURL));
}

Ref<Object> replaced_SBCCTimerShortcut_glyphImageForState_(id, long long) {
    return sel::imageWithContentsOfFile_(objc_getClass("UIImage"), Value(kAlarmGlyphPath));
}

long long replaced_ClockManager_sectionFromClockAppURL_(id self, Value url) {
    RousaLoadPrefs(false);
    if (alarmsfromcc) return kAlarmSection;
    return callPrevious(original_ClockManager_sectionFromClockAppURL_, self, url);
}

}  // namespace rousa

// The Control Centre's timer shortcut turned into an alarm shortcut: in
// SpringBoard it opens the Clock app on "clock-alarm:default" and shows the
// alarm glyph; in the Clock app, with "alarmsfromcc" on, any URL opens the
// alarm section. Main thread only.
#pragma once

#include "tweak/screens/selectors.h"

namespace rousa {

inline constexpr const char* kAlarmShortcutURL = "clock-alarm:default";
inline constexpr const char* kAlarmGlyphPath = "/Applications/MobileTimer.app/BarAlarmOn@2x.png";
// The Clock app's alarm section.
inline constexpr long long kAlarmSection = 1;

extern void (*original_SBCCTimerShortcut_activateAppWithDisplayID_url_)(id, Value, Value);
extern Ref<Object> (*original_SBCCTimerShortcut_glyphImageForState_)(id, long long);  // kept, never called
extern long long (*original_ClockManager_sectionFromClockAppURL_)(id, Value);

void replaced_SBCCTimerShortcut_activateAppWithDisplayID_url_(id self, Value displayID, Value url);
Ref<Object> replaced_SBCCTimerShortcut_glyphImageForState_(id self, long long state);
// A class method.
long long replaced_ClockManager_sectionFromClockAppURL_(id self, Value url);

}  // namespace rousa

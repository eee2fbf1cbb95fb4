// SpringBoard's ringing state, process-wide: the record of the alarm that rang
// last, whether an enabled alarm is ringing, and the flags that the sleep
// button, the volume indicator and the question window share. Main thread only.
#pragma once

#include "tweak/engine/alarm_record.h"

namespace rousa {

extern Ref<KAlarmCurrent> currentAlarm;
// Set when an enabled alarm fires, cleared when its alert ends.
extern bool alarmRinging;
// The lock button was pressed during this ringing (sleep actions 2 and 3).
extern bool lockButtonPressed;
// The next volume indicator is not shown.
extern bool suppressVolumeHUD;
// The Clock app's alarm waiting to be shown in the alert window with the question.
extern Ref<Object> pendingStockAlarm;
// The alert item SpringBoard activated for the ringing alarm (none for a
// full-screen bulletin on the lock screen); cleared when the ringing ends.
extern Ref<Object> alarmAlertItem;
// Counts the enabled alarms that fired; delayed work of a ringing compares it
// to know that its ringing is still the current one.
extern unsigned long long ringingCount;

// The shared alert window as the last presentation left it (null before).
extern Ref<Object> alertWindow;
// The ringtone volume when the alarm sound started, and whether it was saved
// during this ringing (only then is it restored when the ringing ends).
extern float savedRingtoneVolume;
extern bool ringtoneVolumeSaved;
// A restore of the saved volume is scheduled and has not run: a ringing that
// starts meanwhile keeps the saved volume, the user's, instead of reading its own.
extern bool ringtoneRestorePending;

// An alarm is ringing: alarmRinging is set and the current record is enabled.
bool isAlarmRinging();

}  // namespace rousa

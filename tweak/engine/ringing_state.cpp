#include "tweak/engine/ringing_state.h"

namespace rousa {

constinit Ref<KAlarmCurrent> currentAlarm;
bool alarmRinging = false;
bool lockButtonPressed = false;
bool suppressVolumeHUD = false;
constinit Ref<Object> pendingStockAlarm;
constinit Ref<Object> alarmAlertItem;
unsigned long long ringingCount = 0;
constinit Ref<Object> alertWindow;
float savedRingtoneVolume = 0;
bool ringtoneVolumeSaved = false;
bool ringtoneRestorePending = false;

bool isAlarmRinging() { return alarmRinging && currentAlarm && currentAlarm->enabled(); }

}  // namespace rousa

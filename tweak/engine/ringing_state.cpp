#include "tweak/engine/ringing_state.h"

namespace rousa {

Ref<KAlarmCurrent> currentAlarm;
bool alarmRinging = false;
bool lockButtonPressed = false;
bool suppressVolumeHUD = false;
Ref<Object> pendingStockAlarm;

}  // namespace rousa

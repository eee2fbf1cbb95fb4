#include "tweak/screens/alarm_list_state.h"

namespace rousa {

constinit WeakRef<Object> alarmTableView;
constinit Ref<Object> currentStockAlarm;
constinit WeakRef<Object> cloneWindow;

}  // namespace rousa

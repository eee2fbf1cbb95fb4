#include "tweak/screens/alarm_list_state.h"

namespace rousa {

constinit WeakRef<Object> alarmTableView;

}  // namespace rousa

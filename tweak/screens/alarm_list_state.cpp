#include "tweak/screens/alarm_list_state.h"

namespace rousa {

WeakRef<Object> alarmTableView;

}  // namespace rousa

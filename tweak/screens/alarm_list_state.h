// The Clock app's alarm list state that other parts of the tweak read: the
// clone window and the Activator actions. Clock app main thread only.
#pragma once

#include "tweak/screens/selectors.h"

namespace rousa {

// The alarm list's table view, set by the list's first cell request (held weakly).
extern WeakRef<Object> alarmTableView;
// The Clock app's alarm that the clone window copies, fixed when the window opens.
extern Ref<Object> currentStockAlarm;
// The clone window being shown; it holds itself while it is open.
extern WeakRef<Object> cloneWindow;

}  // namespace rousa

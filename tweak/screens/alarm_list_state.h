// The Clock app's alarm list state that other parts of the tweak read.
#pragma once

#include "tweak/screens/selectors.h"

namespace rousa {

// The alarm list's table view while the list is on screen (held weakly).
extern WeakRef<Object> alarmTableView;

}  // namespace rousa

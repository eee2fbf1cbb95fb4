// What the slot reads of its neighbours: the shared application and the
// library's clock.
#pragma once

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/application.h"

namespace adlib {

// The shared YBXApplication, or null.
inline Ref<Object> application() { return Ref<Object>(YBXApplication::sharedApplication()); }

// YBXAbsoluteTime's milliseconds.
inline double nowMilliseconds() { return static_cast<double>(YBXAbsoluteTimeInMilliseconds()); }

}  // namespace adlib

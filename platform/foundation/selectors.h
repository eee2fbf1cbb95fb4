// Selectors that Foundation's classes share with the frameworks above them,
// each declared once with its signature. ':' is written '_'.
#pragma once

#include "platform/runtime/nsobject.h"

namespace platform::sel {

// NSError, NSNotification, UILocalNotification: a dictionary or nil.
inline constexpr Sel<Value(id)> userInfo{"userInfo"};
// NSDateFormatter, UILocalNotification: an NSTimeZone (nil gives the default).
inline constexpr Sel<void(id, id)> setTimeZone_{"setTimeZone:"};

}  // namespace platform::sel

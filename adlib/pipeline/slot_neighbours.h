// What the slot sends to its neighbours: the shared application, the
// library's clock, and the request's extras, which are read by name until the
// request class has them.
#pragma once

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/application.h"

namespace adlib {

namespace ext {
// YBXRequest
inline constexpr Sel<Value(id)> networkExtrasAdditionalParameters{"networkExtrasAdditionalParameters"};
inline constexpr Sel<Value(id)> privateMediationExtras{"privateMediationExtras"};
}  // namespace ext

// The shared YBXApplication, or null.
inline Ref<Object> application() { return Ref<Object>(YBXApplication::sharedApplication()); }

// YBXAbsoluteTime's milliseconds.
inline double nowMilliseconds() { return static_cast<double>(YBXAbsoluteTimeInMilliseconds()); }

}  // namespace adlib

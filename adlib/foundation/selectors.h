// The ad library's selectors: the platform's, and those of the library's own
// classes and of the ybx_ methods it adds to platform classes, each declared
// once with its signature. ':' is written '_'.
#pragma once

#include <functional>

#include "platform/foundation/error.h"
#include "platform/frameworks/selectors.h"
#include "platform/uikit/selectors.h"

namespace adlib {
using namespace platform;

namespace sel {
using namespace platform::sel;

// A request as the errors see it (YBXRequest): its URL parameters, a dictionary or nil.
inline constexpr Sel<Value(id)> parameters{"parameters"};

}  // namespace sel
}  // namespace adlib

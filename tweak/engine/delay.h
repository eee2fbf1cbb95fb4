// The delay of the tweak's delayed work on the main queue.
#pragma once

#include <cstdint>
#include <limits>

#include "platform/foundation/run_loop.h"

namespace rousa {

// `seconds` from now, converted to nanoseconds with saturation: a record may
// ask for an interval longer than the clock can count (a custom 999999999
// minutes), which then means "not within this ringing", never "at once".
inline platform::dispatch_time_t delayFromNow(double seconds) {
    constexpr double kLimit = 9.0e18;  // nanoseconds, below the 64-bit bound
    double nanos = seconds * platform::NSEC_PER_SEC;
    std::int64_t delay = !(nanos > 0)      ? 0
                         : nanos >= kLimit ? std::numeric_limits<std::int64_t>::max()
                                           : static_cast<std::int64_t>(nanos);
    return platform::dispatch_time(platform::DISPATCH_TIME_NOW, delay);
}

}  // namespace rousa

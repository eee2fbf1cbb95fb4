// YBXAbsoluteTime: the library's millisecond clock, counted from the first
// time anything reads it, so the request timestamps stay small and never go
// back. Any thread.
#pragma once

#include <cstdint>

#include "adlib/foundation/selectors.h"

namespace adlib {

// Milliseconds since the first call; the first call answers 0.
std::uint64_t YBXAbsoluteTimeInMilliseconds();

void registerAbsoluteTimeClass();

}  // namespace adlib

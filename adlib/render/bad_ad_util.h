// YBXBadAdUtil: reports a creative the user found bad. So far only its shared
// instance and an entry point that does nothing. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

void registerBadAdUtilClass();

}  // namespace adlib

// Selectors of the alarm screens' own classes and of the methods they add to
// system classes; the engine's (and so the platform's) are visible here too.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa::sel {
}  // namespace rousa::sel

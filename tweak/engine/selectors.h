// The tweak's selectors: the platform's, and those of the tweak's own classes
// and of the methods it adds to system classes.
#pragma once

#include "platform/mobiletimer/selectors.h"
#include "platform/springboard/selectors.h"

namespace rousa {
using namespace platform;

namespace sel {
using namespace platform::sel;
}  // namespace sel

}  // namespace rousa

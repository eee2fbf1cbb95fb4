// Selectors shared by the small frameworks and the system classes above them.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform::sel {
inline constexpr Sel<Ref<Object>(id)> sharedInstance{"sharedInstance"};  // class method
}  // namespace platform::sel

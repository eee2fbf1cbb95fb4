// Selectors shared by the small frameworks and the system classes above them.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform::sel {
inline constexpr Sel<Ref<Object>(id)> sharedInstance{"sharedInstance"};  // class method
// Requests and loads that start and can be cancelled.
inline constexpr Sel<void(id)> start{"start"};
inline constexpr Sel<void(id)> cancel{"cancel"};
inline constexpr Sel<long long(id)> quantity{"quantity"};
inline constexpr Sel<void(id, long long)> setQuantity_{"setQuantity:"};
inline constexpr Sel<Ref<Object>(id)> error{"error"};

// SpringBoard's SBHUDController: makes the volume indicator. Celestial asks for
// it at every volume change, in every process (nil outside SpringBoard).
inline constexpr Sel<void(id)> _createUI{"_createUI"};

// Celestial: AVSystemController (category volumes) and AVController (a player).
inline constexpr Sel<Ref<Object>(id)> sharedAVSystemController{"sharedAVSystemController"};  // class method
// (volume out, category): NO when the volume cannot be read.
inline constexpr Sel<bool(id, float*, Value)> getVolume_forCategory_{"getVolume:forCategory:"};
inline constexpr Sel<bool(id, float, Value)> setVolumeTo_forCategory_{"setVolumeTo:forCategory:"};
inline constexpr Sel<float(id)> volume{"volume"};
inline constexpr Sel<void(id, float)> setVolume_{"setVolume:"};
}  // namespace platform::sel

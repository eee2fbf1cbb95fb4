// NSObject, the root class, and the selectors every object answers.
#pragma once

#include "platform/runtime/runtime.h"

namespace platform {

class NSObject : public Object {};

namespace sel {
inline constexpr Sel<Ref<Object>(id)> init{"init"};
inline constexpr Sel<bool(id, id)> isEqual_{"isEqual:"};
inline constexpr Sel<unsigned long(id)> hash{"hash"};
inline constexpr Sel<Value(id)> description{"description"};
}  // namespace sel

// [[cls alloc] init]; null when the class is missing.
Ref<Object> newObject(std::string_view className);

}  // namespace platform

// The Settings app's Preferences framework: PSSpecifier, one row of a settings
// page (its name, properties and title dictionaries). Registered in the
// Settings host.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform {

namespace sel {
inline constexpr Sel<void(id, Value)> setName_{"setName:"};
inline constexpr Sel<Value(id, Value)> propertyForKey_{"propertyForKey:"};
inline constexpr Sel<void(id, Value, Value)> setProperty_forKey_{"setProperty:forKey:"};
inline constexpr Sel<Value(id)> titleDictionary{"titleDictionary"};
inline constexpr Sel<void(id, Value)> setTitleDictionary_{"setTitleDictionary:"};
inline constexpr Sel<Value(id)> shortTitleDictionary{"shortTitleDictionary"};
inline constexpr Sel<void(id, Value)> setShortTitleDictionary_{"setShortTitleDictionary:"};
}  // namespace sel

class PSSpecifier : public NSObject {
public:
    Value name;
    Value properties = Value(Value::Dictionary{});
    Value titleDictionary;
    Value shortTitleDictionary;
};

namespace preferences {
void registerClasses();
}

}  // namespace platform

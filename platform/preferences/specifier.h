// The Settings app's Preferences framework: PSSpecifier, one row of a settings
// page: its name, cell type, properties (everything its page description
// gives: "key", "default", "defaults", "PostNotification", "cellClass",
// "footerText", ...), its target with the setter and getter that store and
// read its value, the valid values of a list row with their titles, and the
// page class a link opens. Registered in the Settings host. Main thread only.
#pragma once

#include <string>

#include "platform/uikit/selectors.h"

namespace platform {

// The kinds of row.
inline constexpr long long PSGroupCell = 0;
inline constexpr long long PSLinkCell = 1;
inline constexpr long long PSLinkListCell = 2;
inline constexpr long long PSListItemCell = 3;
inline constexpr long long PSTitleValueCell = 4;
inline constexpr long long PSSliderCell = 5;
inline constexpr long long PSSwitchCell = 6;
inline constexpr long long PSStaticTextCell = 7;
inline constexpr long long PSEditTextCell = 8;
inline constexpr long long PSButtonCell = 13;

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
    Value titleDictionary;       // keyed by the description of each value
    Value shortTitleDictionary;  // the same, short forms
    long long cellType = PSStaticTextCell;
    Value values;
    WeakRef<Object> target;
    std::string setter;  // "setPreferenceValue:specifier:" unless the description names another ("set")
    std::string getter;  // "readPreferenceValue:" unless the description names another ("get")
    std::string action;  // a button's ("action"), sent to the target with the specifier
    std::string detailControllerClass;
    // The bundle whose page description made the row (a root page's: its bundle's).
    std::string bundlePath;

    // A row of a page description. Cell types are given by name ("PSSwitchCell");
    // an unknown one is a static text row.
    static Ref<PSSpecifier> fromDescription(const Value& entry, id target, const std::string& bundlePath);
    static long long cellTypeNamed(std::string_view name);
    // The title a list row shows for a value: the short title when asked and
    // there is one, else the title; nil for a value without a title.
    Value titleOfValue(const Value& value, bool preferShort) const;
    Value property(std::string_view key) const { return properties[key]; }
};

// The key of a value in a title dictionary.
std::string titleKey(const Value& value);

namespace preferences {
// Registers the framework's classes; only the Settings app has them.
void registerClasses();
}

}  // namespace platform

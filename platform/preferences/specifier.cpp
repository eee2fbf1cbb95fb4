#include "platform/preferences/specifier.h"

#include "platform/foundation/process.h"

namespace platform::preferences {

void registerClasses() {
    if (!process::isSettingsApp()) return;
    ClassBuilder<PSSpecifier>("PSSpecifier", "NSObject")
        .property<&PSSpecifier::name>(sel::name, sel::setName_)
        .method(sel::propertyForKey_, [](id self, Value key) { return as<PSSpecifier>(self)->properties[key.string()]; })
        .method(sel::setProperty_forKey_, [](id self, Value value, Value key) {
            if (!key.isString()) return;
            auto& props = as<PSSpecifier>(self)->properties.mutableDictionary();
            if (value.isNil()) props.erase(key.string());
            else props[key.string()] = value;
        })
        .property<&PSSpecifier::titleDictionary>(sel::titleDictionary, sel::setTitleDictionary_)
        .property<&PSSpecifier::shortTitleDictionary>(sel::shortTitleDictionary, sel::setShortTitleDictionary_);
}

}  // namespace platform::preferences

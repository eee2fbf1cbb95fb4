// RS2Localizer: the translated texts of every part of the system, from the
// string tables of the settings bundle "/Library/PreferenceBundles/Rousa2.bundle",
// in whichever process it runs. One shared instance per process.
#pragma once

#include "platform/foundation/bundle.h"
#include "tweak/engine/selectors.h"

namespace rousa {

inline constexpr const char* kRousaBundlePath = "/Library/PreferenceBundles/Rousa2.bundle";

namespace sel {
inline constexpr Sel<Ref<Object>(id)> sharedLocalizer{"sharedLocalizer"};  // class method
}

class RS2Localizer : public NSObject {
public:
    // The shared instance, made once (thread-safe) from the class that first asked.
    static RS2Localizer* sharedLocalizer();

    Ref<NSBundle> localizationBundle() const;
    // The text for `key` in `table` (nil: the default table); the key itself
    // when the bundle or the table lacks it.
    std::string localizedStringForKey(std::string_view key, const Value& table) const;
    std::string localizedStringForKey(std::string_view key) const { return localizedStringForKey(key, Value()); }
    // Localizes each PSSpecifier of the array in place (name, footer text and the
    // string values of its title dictionaries) and returns the same array.
    Value localizedSpecifiersForSpecifiers(const Value& specifiers, const Value& table) const;
    Value localizedSpecifiersForSpecifiers(const Value& specifiers) const { return localizedSpecifiersForSpecifiers(specifiers, Value()); }
    // Stores the result of localizedSpecifiersForSpecifiers: through `out`; a
    // null `out` does nothing.
    void loadLocalizedSpecifiersForSpecifiers(const Value& specifiers, Value* out) const;
};

// The shared localizer's text for `key` in the default table; empty while the
// class is not registered (the screens' start-up steps read their texts with it).
std::string localizedText(std::string_view key);

void registerLocalizerClass();

}  // namespace rousa

#include "platform/foundation/locale.h"

namespace platform {

Ref<NSLocale> NSLocale::localeWithLocaleIdentifier(std::string_view identifier) {
    auto locale = as<NSLocale>(alloc("NSLocale"));
    if (locale) locale->identifier_ = std::string(identifier);
    return locale;
}

Ref<NSLocale> NSLocale::currentLocale() { return localeWithLocaleIdentifier("en_US"); }

namespace foundation {
void registerLocale() {
    ClassBuilder<NSLocale>("NSLocale", "NSObject").method(sel::localeIdentifier, [](id self) { return as<NSLocale>(self)->localeIdentifier(); });
}
}  // namespace foundation

}  // namespace platform

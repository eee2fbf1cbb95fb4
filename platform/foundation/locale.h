// NSLocale: a locale by its identifier ("en_US", "en_US_POSIX"), for the
// formatters that take one. Immutable; any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/nsobject.h"

namespace platform {

namespace sel {
inline constexpr Sel<std::string(id)> localeIdentifier{"localeIdentifier"};
}  // namespace sel

class NSLocale : public NSObject {
public:
    static Ref<NSLocale> localeWithLocaleIdentifier(std::string_view identifier);
    // The device's locale: "en_US".
    static Ref<NSLocale> currentLocale();
    const std::string& localeIdentifier() const { return identifier_; }

private:
    std::string identifier_;
};

namespace foundation {
void registerLocale();
}  // namespace foundation

}  // namespace platform

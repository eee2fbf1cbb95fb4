// NSUUID: sixteen bytes, written as upper-case hexadecimal in 8-4-4-4-12
// groups. New ones are random (version 4) from arc4random, so that tests can
// script them. Immutable; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime/nsobject.h"

namespace platform {

namespace sel {
inline constexpr Sel<std::string(id)> UUIDString{"UUIDString"};
}  // namespace sel

class NSUUID : public NSObject {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    // [NSUUID UUID]
    static Ref<NSUUID> UUID();
    // Null unless the text is the 36-character form (either letter case).
    static Ref<NSUUID> initWithUUIDString(std::string_view text);
    static Ref<NSUUID> initWithUUIDBytes(const Bytes& bytes);

    const Bytes& bytes() const { return bytes_; }  // getUUIDBytes:
    std::string UUIDString() const;

private:
    Bytes bytes_{};
};

namespace foundation {
void registerUUID();
}  // namespace foundation

}  // namespace platform

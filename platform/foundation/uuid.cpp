#include "platform/foundation/uuid.h"

#include <cstdio>

#include "platform/foundation/codecs.h"
#include "platform/foundation/random.h"

namespace platform {

namespace {
constexpr std::size_t kDashes[] = {8, 13, 18, 23};
}  // namespace

Ref<NSUUID> NSUUID::initWithUUIDBytes(const Bytes& bytes) {
    auto uuid = as<NSUUID>(alloc("NSUUID"));
    if (uuid) uuid->bytes_ = bytes;
    return uuid;
}

Ref<NSUUID> NSUUID::UUID() {
    Bytes b;
    for (std::size_t i = 0; i < b.size(); i += 4) {
        std::uint32_t r = platform::arc4random();
        for (std::size_t k = 0; k < 4; ++k) b[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
    }
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40);  // version 4
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return initWithUUIDBytes(b);
}

Ref<NSUUID> NSUUID::initWithUUIDString(std::string_view text) {
    if (text.size() != 36) return nullptr;
    Bytes b{};
    std::size_t byte = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == kDashes[0] || i == kDashes[1] || i == kDashes[2] || i == kDashes[3]) {
            if (text[i] != '-') return nullptr;
            ++i;
            continue;
        }
        int hi = hexDigitValue(text[i]), lo = hexDigitValue(text[i + 1]);
        if (hi < 0 || lo < 0) return nullptr;
        b[byte++] = static_cast<std::uint8_t>(hi << 4 | lo);
        i += 2;
    }
    return initWithUUIDBytes(b);
}

std::string NSUUID::UUIDString() const {
    std::string out;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", bytes_[i]);
        out += hex;
    }
    return out;
}

namespace foundation {
void registerUUID() {
    ClassBuilder<NSUUID>("NSUUID", "NSObject")
        .method(sel::UUIDString, [](id self) { return as<NSUUID>(self)->UUIDString(); })
        .method(sel::description, [](id self) { return Value(as<NSUUID>(self)->UUIDString()); })
        .method(sel::isEqual_, [](id self, id other) {
            auto* b = as<NSUUID>(other);
            return b && as<NSUUID>(self)->bytes() == b->bytes();
        });
}
}  // namespace foundation

}  // namespace platform

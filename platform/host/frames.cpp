#include "platform/host/frames.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/foundation/plist.h"

namespace platform::host {

namespace {
bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}
}  // namespace

Value portable(const Value& v) {
    using K = Value::Kind;
    switch (v.kind()) {
        case K::Array: {
            Value out = Value(Value::Array{});
            for (const Value& item : v.array())
                if (Value p = portable(item); !p.isNil()) out.mutableArray().push_back(p);
            return out;
        }
        case K::Dictionary: {
            Value out = Value(Value::Dictionary{});
            for (const auto& [key, item] : v.dictionary())
                if (Value p = portable(item); !p.isNil()) out.mutableDictionary()[key] = p;
            return out;
        }
        case K::Point:
        case K::Size:
        case K::Rect:
        case K::Object: return Value();
        default: return v;
    }
}

bool writeFrame(int fd, const Value& message) {
    auto bytes = plist::toBinary(portable(message));
    if (!bytes) return false;
    auto size = static_cast<std::uint32_t>(bytes->size());
    char header[4] = {static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8), static_cast<char>(size)};
    return writeAll(fd, header, 4) && writeAll(fd, bytes->data(), bytes->size());
}

std::optional<Value> readFrame(int fd) {
    unsigned char header[4];
    if (!readAll(fd, reinterpret_cast<char*>(header), 4)) return std::nullopt;
    std::uint32_t size = std::uint32_t(header[0]) << 24 | std::uint32_t(header[1]) << 16 | std::uint32_t(header[2]) << 8 | header[3];
    std::string bytes(size, '\0');
    if (!readAll(fd, bytes.data(), size)) return std::nullopt;
    auto v = plist::parse(bytes);
    if (!v) return std::nullopt;
    return std::move(v).value();
}

}  // namespace platform::host

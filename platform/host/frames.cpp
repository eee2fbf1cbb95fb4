#include "platform/host/frames.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

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

// The bytes read before the pipe closed or failed.
std::size_t readAll(int fd, char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
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
    if (!bytes || bytes->size() > kMaxFrameSize) return false;
    auto size = static_cast<std::uint32_t>(bytes->size());
    char header[4] = {static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8), static_cast<char>(size)};
    return writeAll(fd, header, 4) && writeAll(fd, bytes->data(), bytes->size());
}

Result<std::optional<Value>> readFrame(int fd) {
    unsigned char header[4];
    std::size_t got = readAll(fd, reinterpret_cast<char*>(header), 4);
    if (got == 0) return std::optional<Value>();
    if (got < 4) return Error{"frame header cut short"};
    std::uint32_t size = std::uint32_t(header[0]) << 24 | std::uint32_t(header[1]) << 16 | std::uint32_t(header[2]) << 8 | header[3];
    if (size > kMaxFrameSize) return Error{"frame of " + std::to_string(size) + " bytes is larger than " + std::to_string(kMaxFrameSize)};
    std::string bytes(size, '\0');
    if (readAll(fd, bytes.data(), size) < size) return Error{"frame cut short"};
    auto v = plist::parse(bytes);
    if (!v || !v->isDictionary()) return Error{"frame is not a property-list dictionary"};
    return std::optional<Value>(std::move(v).value());
}

}  // namespace platform::host

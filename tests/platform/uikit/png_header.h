// The start of a PNG file, its signature and header chunk: enough for an
// image of that size to be made from it (the checksum is not checked).
#pragma once

#include <cstdint>
#include <string>

namespace platform::testing {

inline std::string pngHeader(std::uint32_t width, std::uint32_t height) {
    std::string out = "\x89PNG\r\n\x1a\n";
    auto be = [&](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
    };
    be(13);
    out += "IHDR";
    be(width);
    be(height);
    out += std::string("\x08\x06\x00\x00\x00", 5);
    be(0);
    return out;
}

}  // namespace platform::testing

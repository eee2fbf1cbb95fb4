// The ad-library fuzz targets run in one booted publisher app with the library
// registered, loopback-only so that no input reaches the network. Inputs are
// bytes; the helpers below turn them into the texts and values a parser takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "adlib/foundation/macros.h"
#include "bench/adlib_bench_boot.h"
#include "platform/network/curl_transport.h"

namespace adlib::fuzz {

inline void bootOnce() {
    static bool booted = [] {
        adlib::bench::bootPublisherApp();
        platform::network::setLoopbackOnly(true);
        return true;
    }();
    (void)booted;
}

inline std::string_view text(const std::uint8_t* data, std::size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// The input's first line and the rest.
inline std::pair<std::string_view, std::string_view> firstLine(std::string_view input) {
    const size_t end = input.find('\n');
    if (end == std::string_view::npos) return {input, {}};
    return {input.substr(0, end), input.substr(end + 1)};
}

}  // namespace adlib::fuzz

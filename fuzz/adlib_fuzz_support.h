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
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
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

// One input's run: the app booted before it, and what the input handed to the
// main queue run before the next one, so that no work piles up between inputs
// and the code it reaches is fuzzed too. The log, kept whole for tests, is
// emptied.
struct OneInput {
    OneInput() { bootOnce(); }
    ~OneInput() {
        platform::RunLoop::main().runDue();
        platform::log::clear();
    }
    OneInput(const OneInput&) = delete;
    OneInput& operator=(const OneInput&) = delete;
};

inline std::string_view text(const std::uint8_t* data, std::size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// The input's first line and the rest.
inline std::pair<std::string_view, std::string_view> firstLine(std::string_view input) {
    const size_t end = input.find('\n');
    if (end == std::string_view::npos) return {input, {}};
    return {input.substr(0, end), input.substr(end + 1)};
}

}  // namespace adlib::fuzz

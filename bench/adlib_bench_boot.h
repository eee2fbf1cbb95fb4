// The ad-library benchmarks run in one booted publisher app with the library
// registered, booted on first use.
#pragma once

#include <string>

#include "adlib/foundation/library.h"
#include "platform/testing/test_environment.h"

namespace adlib::bench {

inline void bootPublisherApp() {
    static bool booted = [] {
        static std::string root = platform::testing::makeDeviceRoot();
        platform::host::boot(platform::host::BootOptions{.bundleIdentifier = platform::host::kPublisherApp,
                                                         .deviceRoot = root,
                                                         .virtualClockStart = platform::Date::fromUnix(platform::testing::kDefaultStart)});
        registerClasses();
        return true;
    }();
    (void)booted;
}

}  // namespace adlib::bench

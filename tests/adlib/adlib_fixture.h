// A booted publisher app with the ad library registered: the start of every
// test of the ad library.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "adlib/foundation/library.h"
#include "platform/testing/test_environment.h"

namespace adlib::testing {

inline host::BootOptions appOptions(std::string systemVersion = "9.3", long long idiom = 0, double scale = 2.0) {
    host::BootOptions options;
    options.bundleIdentifier = host::kPublisherApp;
    options.systemVersion = std::move(systemVersion);
    options.interfaceIdiom = idiom;
    options.screenScale = scale;
    return options;
}

class AdLibEnvironment : public platform::testing::TestEnvironment {
public:
    explicit AdLibEnvironment(host::BootOptions options = appOptions()) : TestEnvironment(std::move(options)) { registerClasses(); }
};

}  // namespace adlib::testing

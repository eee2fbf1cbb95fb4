#include "platform/host/boot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/dynamic_library.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/process.h"
#include "platform/runtime/runtime.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

struct VersionCase {
    std::string version;
    double number;
    std::string wantVersion;
    double wantNumber;
};

TEST(Boot, VersionsDefaultFromEachOther) {
    const VersionCase cases[] = {
        {"7.1.2", 0, "7.1.2", 847.24}, {"8.1", 0, "8.1", 1141.14}, {"9.0.2", 0, "9.0.2", 1240.10},
        {"", 847.27, "7.1", 847.27},   {"", 1145.15, "8.4", 1145.15}, {"", 1200, "8.4", 1200},
        {"9.3", 1280.38, "9.3", 1280.38}, {"", 0, "9.3", 1280.38},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version + " " + std::to_string(c.number));
        std::string got = testing::runInChild(host::BootOptions{.systemVersion = c.version, .coreFoundationVersion = c.number}, [] {
            return process::info().systemVersion + " " + std::to_string(kCFCoreFoundationVersionNumber);
        });
        EXPECT_EQ(got, c.wantVersion + " " + std::to_string(c.wantNumber));
    }
}

TEST(Boot, AChildWithoutARootGetsAFreshOneThatGoesWithIt) {
    std::string root = testing::runInChild(host::BootOptions{}, [] {
        if (!fs::writeFileAtomically("/var/mobile/Library/Preferences/child.plist", "x")) return std::string("not written");
        return fs::deviceRoot();
    });
    ASSERT_FALSE(root.empty());
    ASSERT_EQ(root[0], '/') << root;
    EXPECT_FALSE(fs::exists("/var/mobile/Library/Preferences/child.plist"));
    EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(Boot, ALeftOutLibraryIsNotFound) {
    registerLibrary("/usr/lib/libtest-only.dylib", {{"x", reinterpret_cast<void*>(1)}});
    std::string got = testing::runInChild(host::BootOptions{.missingLibraries = {"/usr/lib/libtest-only.dylib"}}, [] {
        return std::string(platform::dlopen("/usr/lib/libtest-only.dylib", RTLD_LAZY) ? "found" : "missing");
    });
    EXPECT_EQ(got, "missing");
    testing::TestEnvironment env;
    void* lib = platform::dlopen("/usr/lib/libtest-only.dylib", RTLD_LAZY);
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(platform::dlsym(lib, "x"), reinterpret_cast<void*>(1));
    EXPECT_EQ(platform::dlsym(lib, "y"), nullptr);
}

TEST(Boot, ALeftOutClassIsNotRegistered) {
    testing::TestEnvironment env(host::BootOptions{.missingClasses = {"NSTimer"}});
    EXPECT_EQ(objc_getClass("NSTimer"), nullptr);
    EXPECT_NE(objc_getClass("NSBundle"), nullptr);
}

}  // namespace
}  // namespace platform

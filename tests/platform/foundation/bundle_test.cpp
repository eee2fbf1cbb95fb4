#include "platform/foundation/bundle.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/foundation/file_system.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class Bundles : public ::testing::Test {
protected:
    testing::TestEnvironment env;
    void write(const std::string& devicePath, const std::string& text) {
        fs::createDirectories(fs::dirname(devicePath));
        std::ofstream(env.hostPath(devicePath)) << text;
    }
};

TEST_F(Bundles, LocalizedStringsFallBackToValueThenKey) {
    write("/Library/B.bundle/en.lproj/Localizable.strings", "\"HELLO\" = \"Hello\";");
    write("/Library/B.bundle/Other.strings", "\"HELLO\" = \"Hi\";");
    auto b = NSBundle::bundleWithPath("/Library/B.bundle");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->localizedStringForKey("HELLO", Value(""), Value()), "Hello");
    EXPECT_EQ(b->localizedStringForKey("HELLO", Value(""), Value("Other")), "Hi");
    EXPECT_EQ(b->localizedStringForKey("MISSING", Value(""), Value()), "MISSING");
    EXPECT_EQ(b->localizedStringForKey("MISSING", Value("fallback"), Value()), "fallback");
    EXPECT_EQ(b->localizedStringForKey("HELLO", Value(""), Value("NoSuchTable")), "HELLO");
}

TEST_F(Bundles, ResourcesAndIdentifiers) {
    write("/Library/B.bundle/Info.plist",
          "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>net.b</string></dict></plist>");
    write("/Library/B.bundle/Back@2x.png", "png");
    auto b = NSBundle::bundleWithPath("/Library/B.bundle/");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->pathForResource("Back@2x", "png").string(), "/Library/B.bundle/Back@2x.png");
    EXPECT_TRUE(b->pathForResource("Front", "png").isNil());
    EXPECT_EQ(NSBundle::bundleWithIdentifier("net.b").get(), b.get());
    EXPECT_EQ(NSBundle::bundleWithPath("/Library/B.bundle").get(), b.get());
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Missing.bundle"));
    EXPECT_EQ(NSBundle::mainBundle()->bundleIdentifier().string(), "com.apple.springboard");
}

}  // namespace
}  // namespace platform

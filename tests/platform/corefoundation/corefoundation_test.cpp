#include "platform/corefoundation/corefoundation.h"

#include <gtest/gtest.h>

#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

constexpr const char* kDomain = "net.quillory.Rousa2";

TEST(CFPreferences, SetKeepsTheFilesOtherKeysAndIsSeenAtOnce) {
    testing::TestEnvironment env;
    std::string path = CFPreferencesPathForDomain(kDomain);
    plist::writeFile(path, Value(Value::Dictionary{{"Alarms", Value::array({Value("record")})}, {"sleepaction", Value(3)}}));
    EXPECT_EQ(CFPreferencesCopyAppValue("sleepaction", kDomain).intValue(), 3);
    CFPreferencesSetAppValue("WKSLockScreenFontSize", Value(20), kDomain);
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSLockScreenFontSize", kDomain).intValue(), 20);
    Value file = plist::readFile(path);
    EXPECT_EQ(file["Alarms"], Value::array({Value("record")}));
    EXPECT_EQ(file["sleepaction"].intValue(), 3);
    EXPECT_EQ(file["WKSLockScreenFontSize"].intValue(), 20);
    CFPreferencesSetAppValue("sleepaction", Value(), kDomain);
    EXPECT_TRUE(plist::readFile(path)["sleepaction"].isNil());
}

TEST(CFPreferences, ASecondProcessSeesTheChangeAfterSynchronize) {
    testing::TestEnvironment env;
    EXPECT_TRUE(CFPreferencesCopyAppValue("WKSClockAppFontSize", kDomain).isNil());  // cached as absent
    std::string child = testing::runInChild([] {
        CFPreferencesSetAppValue("WKSClockAppFontSize", Value(30), kDomain);
        return std::string("set");
    });
    ASSERT_EQ(child, "set");
    EXPECT_TRUE(CFPreferencesCopyAppValue("WKSClockAppFontSize", kDomain).isNil());
    CFPreferencesAppSynchronize(kDomain);
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSClockAppFontSize", kDomain).intValue(), 30);
}

std::vector<std::string> received;
void onDarwin(CFNotificationCenterRef, void* observer, const Value& name, const void*, const Value&) {
    received.push_back(name.string() + (observer ? " with observer" : ""));
}

TEST(DarwinNotifyCenter, DeliversOnTheMainLoop) {
    testing::TestEnvironment env;
    auto* center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, nullptr, &onDarwin, Value("net.quillory.Rousa2/prefsChanged"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterPostNotification(center, Value("net.quillory.Rousa2/prefsChanged"), nullptr, Value(), true);
    CFNotificationCenterPostNotification(center, Value("other"), nullptr, Value(), true);
    EXPECT_TRUE(received.empty());
    RunLoop::main().runDue();
    EXPECT_EQ(received, (std::vector<std::string>{"net.quillory.Rousa2/prefsChanged"}));
}

}  // namespace
}  // namespace platform

#include "platform/corefoundation/corefoundation.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

constexpr const char* kDomain = "net.quillory.Rousa2";

TEST(AbsoluteTime, WorkerThreadsReadTheVirtualClock) {
    testing::TestEnvironment env;
    mach_timebase_info_data_t timebase{};
    ASSERT_EQ(mach_timebase_info(&timebase), KERN_SUCCESS);
    ASSERT_GT(timebase.denom, 0u);
    auto nanos = [&](std::uint64_t ticks) { return ticks * timebase.numer / timebase.denom; };
    dispatch_queue_t queue = dispatch_queue_create("com.example.timing", DISPATCH_QUEUE_SERIAL);
    auto readOnQueue = [&] {
        std::pair<std::uint64_t, CFAbsoluteTime> r;
        dispatch_async(queue, [&] { r = {mach_absolute_time(), CFAbsoluteTimeGetCurrent()}; });
        dispatch_sync(queue, [] {});
        return r;
    };
    auto [ticks, absolute] = readOnQueue();
    EXPECT_EQ(ticks, mach_absolute_time());
    EXPECT_DOUBLE_EQ(absolute, Date::fromUnix(testing::kDefaultStart).sinceReferenceDate);
    RunLoop::main().advance(2.5);
    auto [later, laterAbsolute] = readOnQueue();
    EXPECT_EQ(nanos(later - ticks), 2500000000u);
    EXPECT_DOUBLE_EQ(laterAbsolute - absolute, 2.5);
}

TEST(AbsoluteTime, ProgramsReadTheRealClock) {
    clock::useReal();
    double unixNow = static_cast<double>(std::time(nullptr));
    EXPECT_NEAR(CFAbsoluteTimeGetCurrent(), Date::fromUnix(unixNow).sinceReferenceDate, 5.0);
    std::uint64_t first = mach_absolute_time();
    EXPECT_GE(mach_absolute_time(), first);
}

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

#include "platform/foundation/user_defaults.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "platform/runtime/exception.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

host::BootOptions appOptions() {
    host::BootOptions options;
    options.bundleIdentifier = "net.quillory.AdSample";
    return options;
}

TEST(NSUserDefaults, NeverWrittenIsNotAStoredZero) {
    testing::TestEnvironment env(appOptions());
    auto* defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults->objectForKey("count").isNil());
    defaults->setObject(Value(0), "count");
    EXPECT_EQ(defaults->objectForKey("count"), Value(0));
    EXPECT_EQ(defaults->integerForKey("count"), 0);
    defaults->setDouble(2.5, "ratio");
    defaults->setBool(true, "seen");
    defaults->setObject(Value(Value::Dictionary{{"a", Value(1)}}), "dict");
    defaults->setObject(Value(42), "number");
    EXPECT_DOUBLE_EQ(defaults->doubleForKey("ratio"), 2.5);
    EXPECT_TRUE(defaults->boolForKey("seen"));
    EXPECT_EQ(defaults->dictionaryForKey("dict")["a"].intValue(), 1);
    EXPECT_TRUE(defaults->dictionaryForKey("number").isNil());
    EXPECT_EQ(defaults->stringForKey("number"), Value("42"));
    EXPECT_TRUE(defaults->stringForKey("dict").isNil());
    defaults->removeObjectForKey("count");
    EXPECT_TRUE(defaults->objectForKey("count").isNil());
    // Written through: the file holds every set at once.
    Value file = plist::readFile(NSUserDefaults::standardDomainPath());
    EXPECT_TRUE(file["count"].isNil());
    EXPECT_DOUBLE_EQ(file["ratio"].doubleValue(), 2.5);
    EXPECT_EQ(file["number"].intValue(), 42);
}

TEST(NSUserDefaults, ANonPropertyListValueRaisesAndIsNotStored) {
    testing::TestEnvironment env(appOptions());
    auto* defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_THROW(defaults->setObject(Value(Rect(0, 0, 1, 1)), "frame"), NSException);
    EXPECT_TRUE(defaults->objectForKey("frame").isNil());
}

TEST(NSUserDefaults, TheGlobalDomainGivesTheLanguages) {
    testing::TestEnvironment env(appOptions());
    auto* defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->objectForKey("AppleLanguages"), Value::array({Value("en")}));
    plist::writeFile(NSUserDefaults::globalDomainPath(),
                     Value(Value::Dictionary{{"AppleLanguages", Value::array({Value("de"), Value("en")})}}));
    defaults->synchronize();
    EXPECT_EQ(defaults->objectForKey("AppleLanguages"), Value::array({Value("de"), Value("en")}));
    // The app's own domain comes first.
    defaults->setObject(Value::array({Value("fr")}), "AppleLanguages");
    EXPECT_EQ(defaults->objectForKey("AppleLanguages"), Value::array({Value("fr")}));
}

TEST(NSUserDefaults, ASecondProcessReadsTheValueAfterSynchronize) {
    testing::TestEnvironment env(appOptions());
    auto* defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults->objectForKey("token").isNil());
    std::string child = testing::runInChild([] {
        NSUserDefaults::standardUserDefaults()->setObject(Value("abc"), "token");
        return NSUserDefaults::standardUserDefaults()->stringForKey("token").stringOr("");
    });
    ASSERT_EQ(child, "abc");
    EXPECT_TRUE(defaults->objectForKey("token").isNil());
    defaults->synchronize();
    EXPECT_EQ(defaults->stringForKey("token"), Value("abc"));
}

TEST(NSUserDefaults, ADamagedFileIsKeptAsideAndReadsAsEmpty) {
    testing::TestEnvironment env(appOptions());
    std::string path = NSUserDefaults::standardDomainPath();
    ASSERT_TRUE(fs::createDirectories(fs::dirname(path)));
    ASSERT_TRUE(fs::writeFileAtomically(path, "<?xml garbage").ok());
    auto* defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults->objectForKey("anything").isNil());
    defaults->setObject(Value(1), "fresh");
    EXPECT_EQ(fs::readFile(path + ".corrupt").value(), "<?xml garbage");
    EXPECT_EQ(plist::readFile(path), Value(Value::Dictionary{{"fresh", Value(1)}}));
}

TEST(NSUserDefaults, ConcurrentWritersLoseNothing) {
    testing::TestEnvironment env(appOptions());
    auto* defaults = NSUserDefaults::standardUserDefaults();
    constexpr int kThreads = 4, kKeys = 10;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back([defaults, t] {
            for (int k = 0; k < kKeys; ++k) defaults->setObject(Value(t * 100 + k), "key" + std::to_string(t) + "_" + std::to_string(k));
        });
    for (auto& w : writers) w.join();
    Value file = plist::readFile(NSUserDefaults::standardDomainPath());
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < kKeys; ++k) {
            std::string key = "key" + std::to_string(t) + "_" + std::to_string(k);
            EXPECT_EQ(defaults->integerForKey(key), t * 100 + k) << key;
            EXPECT_EQ(file[key].intValue(), t * 100 + k) << key;
        }
}

}  // namespace
}  // namespace platform

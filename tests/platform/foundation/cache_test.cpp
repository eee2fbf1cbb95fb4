#include "platform/foundation/cache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(NSCache, TheOldestSetGoesBeyondTheCountLimit) {
    testing::TestEnvironment env;
    auto cache = NSCache::make();
    cache->setCountLimit(2);
    cache->setObject(Value("a"), "1");
    cache->setObject(Value("b"), "2");
    cache->setObject(Value("a again"), "1");  // now the newest
    cache->setObject(Value("c"), "3");
    EXPECT_TRUE(cache->objectForKey("2").isNil());
    EXPECT_EQ(cache->objectForKey("1"), Value("a again"));
    EXPECT_EQ(cache->objectForKey("3"), Value("c"));
    cache->setCountLimit(1);
    EXPECT_EQ(cache->count(), 1u);
    EXPECT_EQ(cache->objectForKey("3"), Value("c"));
    cache->removeObjectForKey("3");
    EXPECT_TRUE(cache->objectForKey("3").isNil());
    cache->setObject(Value(1), "x");
    cache->removeAllObjects();
    EXPECT_EQ(cache->count(), 0u);
}

TEST(NSCache, EntriesSetFromThreadsAreFoundWholeOrEvicted) {
    testing::TestEnvironment env;
    auto cache = NSCache::make();
    constexpr int kThreads = 4, kKeys = 200, kLimit = 50;
    cache->setCountLimit(kLimit);
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back([&cache, t] {
            for (int k = 0; k < kKeys; ++k) {
                std::string key = std::to_string(t) + ":" + std::to_string(k);
                cache->setObject(Value(Value::Dictionary{{"key", Value(key)}, {"n", Value(k)}}), key);
                Value mine = cache->objectForKey(key);
                if (!mine.isNil()) {
                    EXPECT_EQ(mine["key"], Value(key));
                }
            }
        });
    for (auto& w : writers) w.join();
    EXPECT_EQ(cache->count(), static_cast<std::size_t>(kLimit));
    int found = 0;
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < kKeys; ++k) {
            std::string key = std::to_string(t) + ":" + std::to_string(k);
            Value v = cache->objectForKey(key);
            if (v.isNil()) continue;
            ++found;
            EXPECT_EQ(v["key"], Value(key));
            EXPECT_EQ(v["n"].intValue(), k);
        }
    EXPECT_EQ(found, kLimit);
}

}  // namespace
}  // namespace platform

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

// A delegate that records what it hears, and reads the cache while it hears it.
class EvictionRecorder : public NSObject {
public:
    std::vector<Value> evicted;
    std::vector<std::size_t> countsSeen;
};

TEST(NSCache, ItsDelegateHearsEachValueThatGoesOutsideTheLock) {
    testing::TestEnvironment env;
    ClassBuilder<EvictionRecorder>("EvictionRecorder", "NSObject")
        .method(sel::cache_willEvictObject_, [](id self, id cache, Value value) {
            auto* recorder = as<EvictionRecorder>(self);
            recorder->evicted.push_back(value);
            recorder->countsSeen.push_back(as<NSCache>(cache)->count());  // would deadlock under the lock
        });
    Ref<EvictionRecorder> recorder = as<EvictionRecorder>(newObject("EvictionRecorder"));
    auto cache = NSCache::make();
    cache->setDelegate(recorder.get());
    cache->setCountLimit(2);
    cache->setObject(Value("a"), "1");
    cache->setObject(Value("b"), "2");
    cache->setObject(Value("c"), "3");         // evicts a
    cache->setObject(Value("c again"), "3");   // replaces c
    cache->removeObjectForKey("2");            // b
    cache->removeObjectForKey("nothing");
    cache->removeAllObjects();                 // c again
    EXPECT_EQ(recorder->evicted, (std::vector<Value>{Value("a"), Value("c"), Value("b"), Value("c again")}));
    EXPECT_EQ(recorder->countsSeen, (std::vector<std::size_t>{2, 2, 1, 0}));

    // The delegate is weak: once it is gone, values simply go.
    recorder = nullptr;
    cache->setObject(Value("d"), "4");
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

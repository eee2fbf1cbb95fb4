#include "adlib/foundation/cache_set.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "platform/foundation/notification_center.h"
#include "platform/uikit/application.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Ref<YBXCacheSet> cacheSet(unsigned long long capacity) {
    return as<YBXCacheSet>(sel::initWithMaxCapacity_(alloc("YBXCacheSet"), capacity).get());
}

TEST(CacheSets, KeepUpToTheirCapacityAndHandObjectsOut) {
    AdLibEnvironment env;
    Ref<YBXCacheSet> set = cacheSet(1);
    ASSERT_TRUE(set);
    EXPECT_EQ(sel::maxCapacity(set.get()), 1u);
    Ref<Object> first = alloc("NSObject");
    Ref<Object> second = alloc("NSObject");
    sel::addObject_(set.get(), Value(first));
    sel::addObject_(set.get(), Value(second));
    EXPECT_EQ(sel::anyObject(set.get()).object(), first.get());
    EXPECT_TRUE(sel::anyObject(set.get()).isNil());

    Ref<YBXCacheSet> none = cacheSet(0);
    sel::addObject_(none.get(), Value(first));
    EXPECT_TRUE(sel::anyObject(none.get()).isNil());
}

TEST(CacheSets, AMemoryWarningEmptiesEverySet) {
    AdLibEnvironment env;
    Ref<YBXCacheSet> a = cacheSet(3);
    Ref<YBXCacheSet> b = cacheSet(3);
    for (int i = 0; i < 2; ++i) {
        sel::addObject_(a.get(), Value(alloc("NSObject")));
        sel::addObject_(b.get(), Value(alloc("NSObject")));
    }
    {
        // A set that is gone is not reached.
        Ref<YBXCacheSet> gone = cacheSet(1);
        sel::addObject_(gone.get(), Value(alloc("NSObject")));
    }
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidReceiveMemoryWarningNotification, Value());
    platform::testing::advance(0);
    EXPECT_TRUE(sel::anyObject(a.get()).isNil());
    EXPECT_TRUE(sel::anyObject(b.get()).isNil());
    // Still usable afterwards.
    sel::addObject_(a.get(), Value(alloc("NSObject")));
    EXPECT_FALSE(sel::anyObject(a.get()).isNil());
}

TEST(CacheSets, ThreadsAddAndTakeWithoutLosingOrDoublingObjects) {
    AdLibEnvironment env;
    constexpr int kThreads = 4;
    constexpr int kEach = 50;
    Ref<YBXCacheSet> set = cacheSet(kThreads * kEach);
    std::vector<Ref<Object>> objects;
    for (int i = 0; i < kThreads * kEach; ++i) objects.push_back(alloc("NSObject"));
    std::vector<std::thread> adders;
    for (int t = 0; t < kThreads; ++t)
        adders.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) sel::addObject_(set.get(), Value(objects[t * kEach + i]));
        });
    for (auto& thread : adders) thread.join();
    std::vector<std::vector<Object*>> taken(kThreads);
    std::vector<std::thread> takers;
    for (int t = 0; t < kThreads; ++t)
        takers.emplace_back([&, t] {
            while (true) {
                Value v = sel::anyObject(set.get());
                if (v.isNil()) break;
                taken[t].push_back(v.object());
            }
        });
    for (auto& thread : takers) thread.join();
    std::set<Object*> all;
    std::size_t count = 0;
    for (auto& list : taken) {
        count += list.size();
        all.insert(list.begin(), list.end());
    }
    EXPECT_EQ(count, objects.size());
    EXPECT_EQ(all.size(), objects.size());
}

}  // namespace
}  // namespace adlib

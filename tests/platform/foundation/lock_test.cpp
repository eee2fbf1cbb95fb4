#include "platform/foundation/lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class LockTest : public ::testing::Test {
protected:
    testing::TestEnvironment env;

    // Runs `body` on `threads` threads at once, `rounds` times each.
    template <class F>
    static void race(int threads, int rounds, F body) {
        std::vector<std::thread> all;
        for (int t = 0; t < threads; ++t)
            all.emplace_back([&] {
                for (int i = 0; i < rounds; ++i) body();
            });
        for (auto& t : all) t.join();
    }
};

TEST_F(LockTest, NSLockKeepsThreadsApart) {
    auto lock = NSLock::make();
    long counter = 0;
    race(4, 1000, [&] {
        lock->lock();
        ++counter;
        lock->unlock();
    });
    EXPECT_EQ(counter, 4000);
}

TEST_F(LockTest, NSLockTryLockFailsWhileAnotherThreadHoldsIt) {
    auto lock = NSLock::make();
    lock->lock();
    bool gotIt = true;
    std::thread([&] { gotIt = lock->tryLock(); }).join();
    EXPECT_FALSE(gotIt);
    lock->unlock();
    std::thread([&] {
        gotIt = lock->tryLock();
        if (gotIt) lock->unlock();
    }).join();
    EXPECT_TRUE(gotIt);
}

TEST_F(LockTest, AnObjectsLockKeepsThreadsApartAndNestsOnOneThread) {
    auto object = alloc("NSObject");
    long counter = 0;
    race(4, 500, [&] {
        Synchronized outer(object);
        Synchronized inner(object);  // the same thread again: no deadlock
        ++counter;
    });
    EXPECT_EQ(counter, 2000);
}

TEST_F(LockTest, LocksOfDifferentObjectsAreIndependent) {
    auto first = alloc("NSObject"), second = alloc("NSObject");
    Synchronized held(first);
    std::atomic<bool> done{false};
    std::thread other([&] {
        Synchronized mine(second);
        done = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10.0));
    other.join();
    Synchronized none(nullptr);  // nil locks nothing
}

TEST_F(LockTest, AnObjectsLockWaitsForItsHolder) {
    auto object = alloc("NSObject");
    std::atomic<bool> entered{false};
    std::thread other;
    {
        Synchronized held(object);
        other = std::thread([&] {
            Synchronized mine(object);
            entered = true;
        });
        EXPECT_FALSE(RunLoop::main().runUntil([&] { return entered.load(); }, 0.2));
    }
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return entered.load(); }, 10.0));
    other.join();
}

}  // namespace
}  // namespace platform

#include "platform/foundation/run_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/foundation/timer.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class RunLoopTest : public ::testing::Test {
protected:
    testing::TestEnvironment env;
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> ran;
};

TEST_F(RunLoopTest, RunsDueWorkInTimeOrderFifoAtEqualTimesAndNeverEarly) {
    loop.schedule(2.0, [&] { ran.push_back("b@2"); });
    loop.schedule(1.0, [&] { ran.push_back("a@1"); });
    loop.schedule(2.0, [&] { ran.push_back("c@2"); });
    loop.post([&] { ran.push_back("now"); });
    Date start = NSDate::date();
    loop.advance(1.999);
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "a@1"}));
    loop.advance(0.001);
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "a@1", "b@2", "c@2"}));
    EXPECT_DOUBLE_EQ(NSDate::timeIntervalSinceNow(start), -2.0);
}

TEST_F(RunLoopTest, TheClockStandsAtEachTasksTimeAndSmallStepsAddUp) {
    Date start = NSDate::date();
    double seenAt = -1;
    loop.schedule(0.3, [&] { seenAt = NSDate::date().timeIntervalSinceDate(start); });
    for (int i = 0; i < 10; ++i) loop.advance(0.1);
    EXPECT_NEAR(seenAt, 0.3, 1e-6);  // dates are doubles; the clock itself counts exactly
    int fired = 0;
    loop.schedule(1.0, [&] { ++fired; });
    for (int i = 0; i < 10; ++i) loop.advance(0.1);
    EXPECT_EQ(fired, 1);
}

TEST_F(RunLoopTest, WorkScheduledWhileRunningRunsInTheSameAdvanceWhenDue) {
    loop.schedule(1.0, [&] {
        ran.push_back("first");
        loop.schedule(0.5, [&] { ran.push_back("second"); });
        loop.schedule(5.0, [&] { ran.push_back("late"); });
    });
    loop.advance(2.0);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
}

TEST_F(RunLoopTest, MonotonicClockStartsAboveZeroAndFollowsTheVirtualClock) {
    auto t0 = mach_absolute_time();
    EXPECT_GT(t0, 0u);
    loop.advance(1.5);
    EXPECT_EQ(mach_absolute_time() - t0, 1500000000u);
}

TEST_F(RunLoopTest, SleepOnTheMainThreadMovesTheClockWithoutRunningWork) {
    loop.schedule(0.5, [&] { ran.push_back("due"); });
    Date before = NSDate::date();
    NSThread::sleepForTimeInterval(1.0);
    EXPECT_DOUBLE_EQ(NSDate::date().timeIntervalSinceDate(before), 1.0);
    EXPECT_TRUE(ran.empty());
    loop.runDue();
    EXPECT_EQ(ran, (std::vector<std::string>{"due"}));
}

TEST_F(RunLoopTest, PostsFromAnotherThreadRunWithRunUntil) {
    std::atomic<bool> posted{false};
    bool onMain = false;
    std::thread worker([&] {
        EXPECT_FALSE(NSThread::isMainThread());
        dispatch_async(dispatch_get_main_queue(), [&] { onMain = NSThread::isMainThread(); });
        posted = true;
    });
    EXPECT_TRUE(loop.runUntil([&] { return onMain; }, 5.0));
    worker.join();
    EXPECT_TRUE(posted);
}

TEST_F(RunLoopTest, DispatchSyncFromAnotherThreadRunsOnTheMainThreadAndWaits) {
    bool ran = false, done = false;
    std::thread worker([&] {
        dispatch_sync(dispatch_get_main_queue(), [&] { ran = NSThread::isMainThread(); });
        done = true;  // only after the block ran on the main thread
    });
    EXPECT_TRUE(loop.runUntil([&] { return ran; }, 5.0));
    worker.join();
    EXPECT_TRUE(done);
    bool inline_ = false;
    dispatch_sync(dispatch_get_main_queue(), [&] { inline_ = true; });
    EXPECT_TRUE(inline_);
}

class Target : public NSObject {
public:
    int fired = 0;
    std::vector<std::string> log;
};
inline constexpr Sel<void(id, id)> tick_{"tick:"};
inline constexpr Sel<void(id)> fade{"fade"};
inline constexpr Sel<void(id, Value)> note_{"note:"};

class TimerTest : public RunLoopTest {
protected:
    void SetUp() override {
        ClassBuilder<Target>("Target", "NSObject")
            .method(tick_, [](id self, id timer) { as<Target>(self)->fired += timer != nullptr; })
            .method(fade, [](id self) { as<Target>(self)->log.push_back("fade"); })
            .method(note_, [](id self, Value v) { as<Target>(self)->log.push_back(v.string()); });
    }
};

TEST_F(TimerTest, ATimerKeepsItsTargetAliveUntilInvalidated) {
    WeakRef<Object> weak;
    Ref<NSTimer> timer;
    {
        auto target = alloc("Target");
        weak = target.get();
        timer = NSTimer::scheduledTimerWithTimeInterval(1.0, target, tick_, Value(), true);
    }
    ASSERT_TRUE(weak.lock());
    loop.advance(3.0);
    EXPECT_EQ(as<Target>(weak.lock())->fired, 3);
    timer->invalidate();
    EXPECT_FALSE(weak.lock());
    EXPECT_FALSE(timer->isValid());
    loop.advance(3.0);
}

TEST_F(TimerTest, AOneShotTimerFiresOnceAndLetsItsTargetGo) {
    WeakRef<Object> weak;
    {
        auto target = alloc("Target");
        weak = target.get();
        NSTimer::scheduledTimerWithTimeInterval(0.5, target, tick_, Value(), false);
    }
    loop.advance(0.5);
    EXPECT_FALSE(weak.lock());
}

TEST_F(TimerTest, AZeroIntervalRepeatingTimerNeverSpins) {
    auto target = alloc("Target");
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0, target, tick_, Value(), true);
    loop.runDue();
    EXPECT_EQ(as<Target>(target)->fired, 0);  // not in the same turn
    loop.advance(0.001);
    EXPECT_EQ(as<Target>(target)->fired, 10);
    timer->invalidate();
}

TEST_F(TimerTest, AnUnscheduledTimerFiresOnlyOnceAddedToTheRunLoop) {
    auto target = alloc("Target");
    auto timer = NSTimer::timerWithTimeInterval(1.0, target, tick_, Value(), true);
    EXPECT_TRUE(timer->isValid());
    loop.advance(3.0);
    EXPECT_EQ(as<Target>(target)->fired, 0);
    NSRunLoopAddTimer(timer, NSDefaultRunLoopMode);
    NSRunLoopAddTimer(timer, NSRunLoopCommonModes);  // already scheduled: once only
    loop.advance(2.0);
    EXPECT_EQ(as<Target>(target)->fired, 2);
    timer->invalidate();
    NSRunLoopAddTimer(timer, NSDefaultRunLoopMode);  // an invalid timer stays off the loop
    loop.advance(2.0);
    EXPECT_EQ(as<Target>(target)->fired, 2);
}

TEST_F(TimerTest, DelayedPerformsRunAtTheirTimeAndCanBeCancelled) {
    auto target = alloc("Target");
    performSelectorAfterDelay(target, fade, Value(), 0.05);
    performSelectorAfterDelay(target, note_, Value("kept"), 0.1);
    performSelectorAfterDelay(target, note_, Value("dropped"), 0.1);
    cancelPreviousPerformRequestsWithTarget(target, note_, Value("dropped"));
    loop.advance(0.049);
    EXPECT_TRUE(as<Target>(target)->log.empty());
    loop.advance(0.1);
    EXPECT_EQ(as<Target>(target)->log, (std::vector<std::string>{"fade", "kept"}));

    performSelectorAfterDelay(target, fade, Value(), 1.0);
    cancelPreviousPerformRequestsWithTarget(target);
    loop.advance(2.0);
    EXPECT_EQ(as<Target>(target)->log.size(), 2u);
}

}  // namespace
}  // namespace platform

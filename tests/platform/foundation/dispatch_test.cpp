#include "platform/foundation/dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <thread>
#include <utility>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/timer.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class DispatchTest : public ::testing::Test {
protected:
    testing::TestEnvironment env;
    RunLoop& loop = RunLoop::main();
    dispatch_queue_t queue = dispatch_queue_create("com.example.state", DISPATCH_QUEUE_SERIAL);
};

class ManualDispatchTest : public DispatchTest {
protected:
    void SetUp() override { dispatch::setMode(dispatch::Mode::manual); }
};

// A value of two fields that a writer sets one after the other; a reader that
// is not kept apart from writers by the queue can see them disagree.
class GuardedRecord {
public:
    explicit GuardedRecord(dispatch_queue_t q) : queue_(q) {}
    void write(int k) {
        dispatch_async(queue_, [this, k] {
            a_ = k;
            std::this_thread::yield();
            b_ = -k;
        });
    }
    std::pair<int, int> read() {
        std::pair<int, int> r;
        dispatch_sync(queue_, [&] { r = {a_, b_}; });
        return r;
    }

private:
    dispatch_queue_t queue_;
    int a_ = 0, b_ = 0;
};

// --- queues, labels, order ------------------------------------------------------------

TEST_F(DispatchTest, QueuesCarryTheirLabels) {
    EXPECT_STREQ(dispatch_queue_get_label(queue), "com.example.state");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_queue_create(nullptr, DISPATCH_QUEUE_SERIAL)), "");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_main_queue()), "com.apple.main-thread");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0)), "com.apple.root.high-priority");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0)), "com.apple.root.default-priority");
    EXPECT_STREQ(dispatch_queue_get_label(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0)),
                 "com.apple.root.background-priority");
    EXPECT_EQ(dispatch_get_global_queue(7, 0), nullptr);
}

TEST_F(DispatchTest, ASerialQueueRunsOneBlockAtATimeInEachSubmittersOrder) {
    constexpr int kThreads = 4, kBlocks = 250;
    std::vector<std::pair<int, int>> ran;  // touched only on the queue
    std::atomic<int> active{0}, overlaps{0};
    std::vector<std::thread> submitters;
    for (int t = 0; t < kThreads; ++t) {
        submitters.emplace_back([&, t] {
            for (int i = 0; i < kBlocks; ++i) {
                dispatch_async(queue, [&, t, i] {
                    if (active.fetch_add(1) != 0) ++overlaps;
                    ran.emplace_back(t, i);
                    active.fetch_sub(1);
                });
            }
        });
    }
    for (auto& s : submitters) s.join();
    std::vector<std::pair<int, int>> seen;
    dispatch_sync(queue, [&] { seen = ran; });
    EXPECT_EQ(overlaps.load(), 0);
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kBlocks));
    std::vector<int> next(kThreads, 0);
    for (auto [t, i] : seen) EXPECT_EQ(i, next[t]++) << "submitter " << t;
}

TEST_F(DispatchTest, SyncRunsOnTheCallersThreadAfterTheEarlierBlocks) {
    std::vector<int> ran;
    for (int i = 0; i < 100; ++i) dispatch_async(queue, [&ran, i] { ran.push_back(i); });
    std::size_t seen = 0;
    std::thread::id runner;
    dispatch_sync(queue, [&] {
        seen = ran.size();
        runner = std::this_thread::get_id();
    });
    EXPECT_EQ(seen, 100u);
    EXPECT_EQ(runner, std::this_thread::get_id());
    // The queue goes on with blocks queued during the sync.
    dispatch_sync(queue, [&] { dispatch_async(queue, [&] { ran.push_back(100); }); });
    dispatch_sync(queue, [&] { seen = ran.size(); });
    EXPECT_EQ(seen, 101u);
}

struct Mix {
    const char* name;
    int writers;
    int readers;
};

class ThreadedMixTest : public DispatchTest, public ::testing::WithParamInterface<Mix> {};

TEST_P(ThreadedMixTest, ReadsNeverSeeAHalfWrittenValue) {
    constexpr int kRounds = 200;
    GuardedRecord record(queue);
    std::atomic<int> torn{0}, missed{0};
    std::vector<std::thread> threads;
    int writers = GetParam().writers;
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([&, w] {
            for (int i = 1; i <= kRounds; ++i) {
                int k = w * 1000 + i;
                record.write(k);
                auto [a, b] = record.read();
                if (a != -b) ++torn;
                // A lone writer's read waits for its own write.
                if (writers == 1 && a != k) ++missed;
            }
        });
    }
    for (int r = 0; r < GetParam().readers; ++r) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                auto [a, b] = record.read();
                if (a != -b) ++torn;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(missed.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(Mixes, ThreadedMixTest,
                         ::testing::Values(Mix{"OneWriter", 1, 0}, Mix{"OneWriterOneReader", 1, 1}, Mix{"OneWriterManyReaders", 1, 4},
                                           Mix{"ManyWritersOneReader", 4, 1}, Mix{"ManyWritersManyReaders", 4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- manual mode ----------------------------------------------------------------------

TEST_F(ManualDispatchTest, NothingRunsUntilTheTestDrainsTheQueue) {
    std::vector<std::string> ran;
    dispatch_async(queue, [&] { ran.push_back("first"); });
    dispatch_async(queue, [&] {
        ran.push_back("second");
        dispatch_async(queue, [&] { ran.push_back("added"); });
    });
    loop.advance(10);
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(dispatch::pendingCount(queue), 2u);
    EXPECT_TRUE(dispatch::drainOne(queue));
    EXPECT_EQ(ran, (std::vector<std::string>{"first"}));
    EXPECT_EQ(dispatch::drainAll(queue), 2u);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "added"}));
    EXPECT_FALSE(dispatch::drainOne(queue));
}

TEST_F(ManualDispatchTest, ATestChoosesWhichQueueGoesFirst) {
    dispatch_queue_t a = queue, b = dispatch_queue_create("com.example.other", DISPATCH_QUEUE_SERIAL);
    std::string order;
    auto submitBoth = [&] {
        dispatch_async(a, [&] { order += "A"; });
        dispatch_async(b, [&] { order += "B"; });
    };
    submitBoth();
    dispatch::drainAll(a);
    dispatch::drainAll(b);
    submitBoth();
    dispatch::drainAll(b);
    dispatch::drainAll(a);
    EXPECT_EQ(order, "ABBA");
}

TEST_F(ManualDispatchTest, GlobalQueuesWaitForTheTestToo) {
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    int ran = 0;
    dispatch_async(global, [&] { ++ran; });
    dispatch_async(global, [&] { ++ran; });
    EXPECT_EQ(ran, 0);
    EXPECT_EQ(dispatch::drainAll(global), 2u);
    EXPECT_EQ(ran, 2);
}

TEST_F(ManualDispatchTest, TheModeIsChosenBeforeAnyBlockIsSubmitted) {
    dispatch_async(queue, [] {});
    EXPECT_THROW(dispatch::setMode(dispatch::Mode::threaded), std::logic_error);
    EXPECT_EQ(dispatch::mode(), dispatch::Mode::manual);
    dispatch::drainAll(queue);
}

// Every way of draining the writes before each read gives the reads the same
// answers: a read waits for exactly the writes submitted before it.
TEST_F(ManualDispatchTest, ReadsSeeTheSameValuesWhateverTheInterleaving) {
    for (std::string mix : {"wr", "wwr", "wrwr", "rwwwr", "wwrwwr", "wwwrrw"}) {
        int reads = 0;
        std::vector<int> writesBefore;  // per read: how many writes precede it
        int writes = 0;
        for (char c : mix) {
            if (c == 'w') {
                ++writes;
            } else {
                writesBefore.push_back(writes);
                ++reads;
            }
        }
        // Every schedule: before read r, drain d_r blocks, 0 <= d_r <= writesBefore[r].
        std::vector<int> schedule(reads, 0);
        for (;;) {
            GuardedRecord record(queue);
            std::vector<int> seen, expected;
            int w = 0, r = 0;
            for (char c : mix) {
                if (c == 'w') {
                    record.write(++w);
                    continue;
                }
                for (int d = 0; d < schedule[r]; ++d) dispatch::drainOne(queue);
                auto [a, b] = record.read();
                EXPECT_EQ(a, -b) << mix;
                seen.push_back(a);
                expected.push_back(w);
                ++r;
            }
            dispatch::drainAll(queue);
            EXPECT_EQ(seen, expected) << mix;
            int i = 0;
            while (i < reads && ++schedule[i] > writesBefore[i]) schedule[i++] = 0;
            if (i == reads) break;
        }
    }
}

// --- delayed blocks, once ---------------------------------------------------------------

TEST_F(DispatchTest, DelayedBlocksOnAWorkerQueueRunWhenTheVirtualClockPassesTheirTime) {
    std::atomic<bool> ran{false};
    std::atomic<std::int64_t> ranAt{0};
    std::int64_t due = clock::nowNanos() + 1000000000;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), queue, [&] {
        ranAt = clock::nowNanos();
        ran = true;
    });
    loop.advance(0.999);
    dispatch_sync(queue, [] {});  // whatever was handed to the queue has run
    EXPECT_FALSE(ran);
    loop.advance(0.001);
    dispatch_sync(queue, [] {});
    EXPECT_TRUE(ran);
    EXPECT_GE(ranAt.load(), due);
}

TEST_F(ManualDispatchTest, DelayedBlocksReachTheQueueOnlyAtTheirTime) {
    bool ran = false;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 2 * NSEC_PER_SEC), queue, [&] { ran = true; });
    loop.advance(1.999);
    EXPECT_EQ(dispatch::pendingCount(queue), 0u);
    loop.advance(0.001);
    EXPECT_EQ(dispatch::pendingCount(queue), 1u);
    EXPECT_FALSE(ran);
    dispatch::drainAll(queue);
    EXPECT_TRUE(ran);
}

// An object's own queue goes with it: a queue let go runs what it was given,
// delayed blocks too, and is then freed.
TEST_F(DispatchTest, AQueueLetGoRunsItsBlocksAndThenGoes) {
    const std::size_t before = dispatch::liveQueueCount();
    std::atomic<int> ran{0};
    for (int i = 0; i < 50; ++i) {
        dispatch_queue_t own = dispatch_queue_create("com.example.own", DISPATCH_QUEUE_SERIAL);
        for (int block = 0; block < 3; ++block) dispatch_async(own, [&] { ++ran; });
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), own, [&] { ++ran; });
    }
    EXPECT_GT(dispatch::liveQueueCount(), before);
    loop.advance(1);
    EXPECT_TRUE(loop.runUntil([&] { return ran == 200 && dispatch::liveQueueCount() == before; }, 10.0))
        << ran << " blocks ran, " << dispatch::liveQueueCount() - before << " queues left";
}

TEST_F(ManualDispatchTest, AQueueLetGoWithBlocksNoTestDrainedLeavesNoneOutstanding) {
    const std::size_t before = dispatch::liveQueueCount();
    bool ran = false;
    {
        dispatch_queue_t own = dispatch_queue_create("com.example.own", DISPATCH_QUEUE_SERIAL);
        dispatch_async(own, [&] { ran = true; });
        EXPECT_EQ(dispatch::outstandingBlocks(), 1u);
    }
    EXPECT_FALSE(ran);
    EXPECT_EQ(dispatch::outstandingBlocks(), 0u);
    EXPECT_EQ(dispatch::liveQueueCount(), before);
}

TEST_F(DispatchTest, OnceRunsItsBlockOnceUnderRacingThreads) {
    static dispatch_once_t once;
    std::atomic<int> made{0};
    int value = 0;  // published by the guard
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            dispatch_once(&once, [&] {
                ++made;
                value = 42;
            });
            if (value != 42) ++wrong;
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(made.load(), 1);
    EXPECT_EQ(wrong.load(), 0);
}

// --- current queue and the main thread -------------------------------------------------

TEST_F(DispatchTest, AThreadKnowsWhichQueuesItIsRunning) {
    dispatch_queue_t other = dispatch_queue_create("com.example.other", DISPATCH_QUEUE_SERIAL);
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0);
    EXPECT_TRUE(dispatch_queue_is_current(dispatch_get_main_queue()));
    EXPECT_FALSE(dispatch_queue_is_current(queue));
    std::atomic<bool> onQueue{false}, onOther{true}, bothInSync{false}, onMain{true}, mainThread{true}, onGlobal{false};
    dispatch_async(queue, [&] {
        onQueue = dispatch_queue_is_current(queue);
        onOther = dispatch_queue_is_current(other);
        onMain = dispatch_queue_is_current(dispatch_get_main_queue());
        mainThread = NSThread::isMainThread();
        dispatch_sync(other, [&] { bothInSync = dispatch_queue_is_current(queue) && dispatch_queue_is_current(other); });
    });
    dispatch_sync(global, [&] { onGlobal = dispatch_queue_is_current(global); });
    dispatch_sync(queue, [] {});
    EXPECT_TRUE(onQueue);
    EXPECT_FALSE(onOther);
    EXPECT_TRUE(bothInSync);
    EXPECT_FALSE(onMain);
    EXPECT_FALSE(mainThread);
    EXPECT_TRUE(onGlobal);
    EXPECT_FALSE(dispatch_queue_is_current(queue));
}

TEST_F(DispatchTest, GlobalQueuesRunTheirBlocksSideBySide) {
    // Each block waits for the other: only a concurrent queue finishes both.
    dispatch_queue_t global = dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
    std::mutex m;
    std::condition_variable cv;
    int arrived = 0;
    std::atomic<int> finished{0};
    for (int i = 0; i < 2; ++i) {
        dispatch_async(global, [&] {
            bool both;
            {
                std::unique_lock lock(m);
                ++arrived;
                cv.notify_all();
                both = cv.wait_for(lock, std::chrono::seconds(10), [&] { return arrived == 2; });
            }
            if (both) ++finished;  // last: the test may end at once
        });
    }
    EXPECT_TRUE(loop.runUntil([&] { return finished == 2; }, 20.0));
}

TEST_F(DispatchTest, AWorkersSyncOntoTheMainQueueRunsWhenTheLoopTurns) {
    std::atomic<bool> done{false};
    bool ranOnMain = false;
    int steps = 0;  // written on the main thread, then by the worker after its sync
    dispatch_async(queue, [&] {
        dispatch_sync(dispatch_get_main_queue(), [&] {
            ranOnMain = NSThread::isMainThread();
            steps = 1;
        });
        steps = 2;
        done = true;
    });
    EXPECT_TRUE(loop.runUntil([&] { return done.load(); }, 10.0));
    EXPECT_TRUE(ranOnMain);
    EXPECT_EQ(steps, 2);
}

TEST_F(DispatchTest, MainOperationsRunAfterTheCurrentTurnInOrderWithMainQueueBlocks) {
    std::vector<std::string> ran;
    dispatch_async(dispatch_get_main_queue(), [&] {
        NSOperationQueue::mainQueue()->addOperationWithBlock([&] { ran.push_back("operation"); });
        dispatch_async(dispatch_get_main_queue(), [&] { ran.push_back("block"); });
        ran.push_back("turn");
    });
    loop.runDue();
    EXPECT_EQ(ran, (std::vector<std::string>{"turn", "operation", "block"}));

    std::atomic<bool> fromWorker{false};
    dispatch_async(queue, [&] { NSOperationQueue::mainQueue()->addOperationWithBlock([&] { fromWorker = NSThread::isMainThread(); }); });
    EXPECT_TRUE(loop.runUntil([&] { return fromWorker.load(); }, 10.0));
}

class Recorder : public NSObject {
public:
    std::vector<std::string> log;  // main thread only
};
inline constexpr Sel<void(id, Value)> record_{"record:"};

TEST_F(DispatchTest, PerformsOnTheMainThreadWaitOrNot) {
    ClassBuilder<Recorder>("Recorder", "NSObject").method(record_, [](id self, Value v) {
        as<Recorder>(self)->log.push_back(v.string() + (NSThread::isMainThread() ? "@main" : "@worker"));
    });
    auto target = alloc("Recorder");
    auto& log = as<Recorder>(target)->log;
    performSelectorOnMainThread(target, record_, Value("later"), false);
    performSelectorOnMainThread(target, record_, Value("now"), true);
    EXPECT_EQ(log, (std::vector<std::string>{"now@main"}));
    loop.runDue();
    EXPECT_EQ(log, (std::vector<std::string>{"now@main", "later@main"}));

    std::atomic<bool> returned{false};
    std::size_t seenOnReturn = 0;
    dispatch_async(queue, [&] {
        performSelectorOnMainThread(target, record_, Value("waited"), true);
        seenOnReturn = log.size();  // the main thread is waiting in runUntil
        returned = true;
    });
    EXPECT_TRUE(loop.runUntil([&] { return returned.load(); }, 10.0));
    EXPECT_EQ(seenOnReturn, 3u);
    EXPECT_EQ(log.back(), "waited@main");
}

// --- a sync onto the main queue from a queue the main thread waits for ------------------------

TEST(SyncOntoWaitingMainThread, IsReportedWithTheQueuesLabel) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            RunLoop::main().adoptCurrentThread();
            dispatch_queue_t queue = dispatch_queue_create("com.example.waited", DISPATCH_QUEUE_SERIAL);
            dispatch_async(queue, [queue] {
                // Until the main thread's sync waits behind this block.
                for (int i = 0; i < 1000000 && dispatch::pendingCount(queue) == 0; ++i) std::this_thread::yield();
                dispatch_sync(dispatch_get_main_queue(), [] {});
            });
            dispatch_sync(queue, [] {});
        },
        "queue \"com.example.waited\", which the main thread is waiting for");
}

// --- a sync onto the running queue --------------------------------------------------------

struct SelfSync {
    const char* name;
    const char* label;
    std::function<void(dispatch_queue_t, dispatch_queue_t)> run;  // a serial queue and another one
};

// No device root: the dying child would leave it behind.
class SyncOntoCurrentQueueTest : public ::testing::TestWithParam<SelfSync> {};

TEST_P(SyncOntoCurrentQueueTest, IsReportedWithTheQueuesLabel) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    dispatch_queue_t queue = dispatch_queue_create("com.example.state", DISPATCH_QUEUE_SERIAL);
    dispatch_queue_t other = dispatch_queue_create("com.example.other", DISPATCH_QUEUE_SERIAL);
    std::string pattern = std::string("dispatch_sync called on queue already owned by current thread: \"") + GetParam().label + "\"";
    EXPECT_DEATH(GetParam().run(queue, other), pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SyncOntoCurrentQueueTest,
    ::testing::Values(
        SelfSync{"FromItsOwnBlock", "com.example.state",
                 [](dispatch_queue_t q, dispatch_queue_t) { dispatch_sync(q, [q] { dispatch_sync(q, [] {}); }); }},
        SelfSync{"FromAWorker", "com.example.state",
                 [](dispatch_queue_t q, dispatch_queue_t) {
                     dispatch_async(q, [q] { dispatch_sync(q, [] {}); });
                     RunLoop::main().runUntil([] { return false; }, 30.0);
                 }},
        SelfSync{"ThroughAnotherQueue", "com.example.state",
                 [](dispatch_queue_t q, dispatch_queue_t other) {
                     dispatch_sync(q, [q, other] { dispatch_sync(other, [q] { dispatch_sync(q, [] {}); }); });
                 }},
        SelfSync{"MainQueueInATurnOfTheLoop", "com.apple.main-thread",
                 [](dispatch_queue_t, dispatch_queue_t) {
                     dispatch_async(dispatch_get_main_queue(), [] { dispatch_sync(dispatch_get_main_queue(), [] {}); });
                     RunLoop::main().runDue();
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchTest, TheMainThreadOutsideATurnRunsAMainQueueSyncAtOnce) {
    bool ran = false;
    dispatch_sync(dispatch_get_main_queue(), [&] { ran = true; });
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace platform

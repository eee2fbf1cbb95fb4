#include "platform/foundation/dispatch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace platform {

namespace {
// A dispatch_sync waiting in a serial queue for the blocks queued before it.
struct SyncTicket {
    bool granted = false;
};
struct Item {
    dispatch_block_t block;
    SyncTicket* ticket = nullptr;
};
}  // namespace

struct DispatchQueue {
    enum class Kind { main, serial, global };
    DispatchQueue(Kind k, std::string l);
    ~DispatchQueue();

    std::atomic<int> refs{1};
    const Kind kind;
    const std::string label;
    std::mutex mutex;
    std::condition_variable changed;  // a ticket granted, or the queue let go
    std::deque<Item> items;
    // Serial: a thread is running the queue (a worker, a sync caller or a test
    // draining it); only that thread takes blocks off it.
    bool owned = false;
    // Global: worker threads now running.
    int workers = 0;
};

namespace {

constexpr int kGlobalPoolSize = 4;

std::atomic<dispatch::Mode> currentMode{dispatch::Mode::threaded};
std::atomic<bool> submitted{false};

bool manual() { return currentMode.load(std::memory_order_relaxed) == dispatch::Mode::manual; }

std::atomic<std::size_t> liveQueues{0};

// A reference for whoever runs the queue's blocks (a worker, a delayed
// block), so that the queue outlives its last holder until they have run.
DispatchQueueRef retained(DispatchQueue* q) {
    q->refs.fetch_add(1, std::memory_order_relaxed);
    return DispatchQueueRef::adopt(q);
}

// The main and global queues are never let go, nor destroyed at exit: workers
// may still be running then.
const DispatchQueueRef& immortal(DispatchQueue::Kind kind, const char* label) {
    return *new DispatchQueueRef(DispatchQueueRef::adopt(new DispatchQueue(kind, label)));
}

// The queues whose blocks the calling thread is running, innermost last.
thread_local std::vector<DispatchQueue*> runningQueues;

struct Running {
    explicit Running(DispatchQueue* q) { runningQueues.push_back(q); }
    ~Running() { runningQueues.pop_back(); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
};

void run(DispatchQueue* q, const dispatch_block_t& block) {
    Running scope(q);
    block();
}

bool runningHere(DispatchQueue* q) { return std::find(runningQueues.begin(), runningQueues.end(), q) != runningQueues.end(); }

[[noreturn]] void reportSyncOntoCurrentQueue(DispatchQueue* q) {
    std::string line = "BUG IN CLIENT OF LIBDISPATCH: dispatch_sync called on queue already owned by current thread: \"" + q->label + "\"";
    log::write(line);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::abort();
}

// The serial queue whose earlier blocks the main thread waits for in a
// dispatch_sync; a block of it that waits for the main thread would hang both.
std::atomic<DispatchQueue*> mainThreadWaitsFor{nullptr};

#ifndef NDEBUG
[[noreturn]] void reportSyncOntoWaitingMainThread(DispatchQueue* q) {
    std::string line = "BUG IN CLIENT OF LIBDISPATCH: dispatch_sync onto the main queue from a block of queue \"" + q->label +
                       "\", which the main thread is waiting for";
    log::write(line);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::abort();
}
#endif

// Asynchronous blocks of queues other than the main one not yet run to their end.
std::atomic<std::size_t> outstanding{0};

}  // namespace

DispatchQueue::DispatchQueue(Kind k, std::string l) : kind(k), label(std::move(l)) { liveQueues.fetch_add(1); }

DispatchQueue::~DispatchQueue() {
    // Only in manual mode can blocks wait with nothing holding their queue:
    // the ones no test drained never run.
    outstanding.fetch_sub(items.size());
    liveQueues.fetch_sub(1);
}

DispatchQueueRef::DispatchQueueRef(const DispatchQueueRef& other) noexcept : queue_(other.queue_) {
    if (queue_) queue_->refs.fetch_add(1, std::memory_order_relaxed);
}

DispatchQueueRef::~DispatchQueueRef() {
    if (queue_ && queue_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete queue_;
}

namespace {

void noteSubmission(DispatchQueue* q) {
    if (q->kind != DispatchQueue::Kind::main) submitted.store(true, std::memory_order_relaxed);
}

// Called by the owner of a serial queue: runs its blocks until it is empty, or
// hands the queue to the sync caller that is next in line.
void drainOwned(DispatchQueue* q) {
    std::unique_lock lock(q->mutex);
    while (!q->items.empty()) {
        Item item = std::move(q->items.front());
        q->items.pop_front();
        if (item.ticket) {
            item.ticket->granted = true;
            q->changed.notify_all();
            return;
        }
        lock.unlock();
        run(q, item.block);
        item.block = nullptr;  // released outside the lock: it may own objects
        lock.lock();
    }
    q->owned = false;
}

void startSerialWorker(DispatchQueue* q) { std::thread([held = retained(q)] { drainOwned(held.get()); }).detach(); }

// The owner lets the queue go: a worker takes over whatever is left.
void releaseSerial(DispatchQueue* q, std::unique_lock<std::mutex>& lock) {
    if (!manual() && !q->items.empty()) {
        lock.unlock();
        startSerialWorker(q);
        return;
    }
    q->owned = false;
    q->changed.notify_all();
}

void runGlobalWorker(DispatchQueue* q) {
    std::unique_lock lock(q->mutex);
    while (!q->items.empty()) {
        dispatch_block_t block = std::move(q->items.front().block);
        q->items.pop_front();
        lock.unlock();
        run(q, block);
        block = nullptr;
        lock.lock();
    }
    --q->workers;
}

void syncSerial(DispatchQueue* q, const dispatch_block_t& block) {
    std::unique_lock lock(q->mutex);
    if (manual()) {
        // Nothing runs on its own: the caller runs the earlier blocks first.
        q->changed.wait(lock, [q] { return !q->owned; });
        q->owned = true;
        while (!q->items.empty()) {
            dispatch_block_t earlier = std::move(q->items.front().block);
            q->items.pop_front();
            lock.unlock();
            run(q, earlier);
            earlier = nullptr;
            lock.lock();
        }
    } else if (q->owned) {
        SyncTicket ticket;
        q->items.push_back(Item{nullptr, &ticket});
        q->changed.wait(lock, [&ticket] { return ticket.granted; });
    } else {
        q->owned = true;
    }
    lock.unlock();
    run(q, block);
    lock.lock();
    releaseSerial(q, lock);
}

}  // namespace

dispatch_queue_t dispatch_queue_create(const char* label, dispatch_queue_attr_t) {
    return DispatchQueueRef::adopt(new DispatchQueue(DispatchQueue::Kind::serial, label ? label : ""));
}

const char* dispatch_queue_get_label(dispatch_queue_t queue) { return queue ? queue->label.c_str() : ""; }

dispatch_queue_t dispatch_get_main_queue() {
    static const DispatchQueueRef& main = immortal(DispatchQueue::Kind::main, "com.apple.main-thread");
    return main;
}

dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long) {
    static const DispatchQueueRef& high = immortal(DispatchQueue::Kind::global, "com.apple.root.high-priority");
    static const DispatchQueueRef& normal = immortal(DispatchQueue::Kind::global, "com.apple.root.default-priority");
    static const DispatchQueueRef& background = immortal(DispatchQueue::Kind::global, "com.apple.root.background-priority");
    switch (priority) {
        case DISPATCH_QUEUE_PRIORITY_HIGH: return high;
        case DISPATCH_QUEUE_PRIORITY_DEFAULT: return normal;
        case DISPATCH_QUEUE_PRIORITY_BACKGROUND: return background;
        default: return nullptr;
    }
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block) {
    DispatchQueue* q = queue.get();
    if (q->kind == DispatchQueue::Kind::main) {
        RunLoop::main().post(std::move(block));
        return;
    }
    noteSubmission(q);
    outstanding.fetch_add(1);
    std::unique_lock lock(q->mutex);
    q->items.push_back(Item{[inner = std::move(block)]() mutable {
        inner();
        inner = nullptr;
        outstanding.fetch_sub(1);
    }});
    if (manual()) return;
    if (q->kind == DispatchQueue::Kind::serial) {
        if (q->owned) return;
        q->owned = true;
        lock.unlock();
        startSerialWorker(q);
    } else if (q->workers < kGlobalPoolSize) {
        ++q->workers;
        lock.unlock();
        std::thread([held = retained(q)] { runGlobalWorker(held.get()); }).detach();
    }
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block) {
    DispatchQueue* q = queue.get();
    if (q->kind == DispatchQueue::Kind::main) {
        RunLoop::main().schedule(when, std::move(block));
        return;
    }
    noteSubmission(q);
    RunLoop::main().schedule(when, [queue, block = std::move(block)]() mutable { dispatch_async(queue, std::move(block)); });
}

void dispatch_sync(dispatch_queue_t queue, const dispatch_block_t& block) {
    DispatchQueue* q = queue.get();
    switch (q->kind) {
        case DispatchQueue::Kind::main: {
            RunLoop& loop = RunLoop::main();
            if (loop.isMainThread()) {
                if (loop.isRunningTask()) reportSyncOntoCurrentQueue(q);
                block();
                return;
            }
#ifndef NDEBUG
            if (DispatchQueue* waited = mainThreadWaitsFor.load(); waited && runningHere(waited)) reportSyncOntoWaitingMainThread(waited);
#endif
            std::mutex m;
            std::condition_variable cv;
            bool finished = false;
            loop.post([&] {
                block();
                std::lock_guard guard(m);
                finished = true;
                cv.notify_all();
            });
            std::unique_lock lock(m);
            cv.wait(lock, [&] { return finished; });
            return;
        }
        case DispatchQueue::Kind::serial:
            if (runningHere(q)) reportSyncOntoCurrentQueue(q);
            noteSubmission(q);
            if (RunLoop::main().isMainThread()) {
                mainThreadWaitsFor.store(q);
                syncSerial(q, block);
                mainThreadWaitsFor.store(nullptr);
            } else {
                syncSerial(q, block);
            }
            return;
        case DispatchQueue::Kind::global:
            // A concurrent queue does not wait for the blocks before.
            run(q, block);
            return;
    }
}

bool dispatch_queue_is_current(dispatch_queue_t queue) {
    DispatchQueue* q = queue.get();
    if (q->kind == DispatchQueue::Kind::main) return RunLoop::main().isMainThread();
    return runningHere(q);
}

namespace dispatch {

void setMode(Mode m) {
    if (submitted.load(std::memory_order_relaxed) && m != currentMode.load())
        throw std::logic_error("dispatch::setMode after blocks were submitted");
    currentMode.store(m);
}

Mode mode() { return currentMode.load(); }

bool drainOne(dispatch_queue_t queue) {
    DispatchQueue* q = queue.get();
    if (q->kind == DispatchQueue::Kind::main) return false;
    if (q->kind == DispatchQueue::Kind::serial && runningHere(q)) reportSyncOntoCurrentQueue(q);
    std::unique_lock lock(q->mutex);
    bool serial = q->kind == DispatchQueue::Kind::serial;
    if (serial) q->changed.wait(lock, [q] { return !q->owned; });
    if (q->items.empty()) return false;
    dispatch_block_t block = std::move(q->items.front().block);
    q->items.pop_front();
    if (serial) q->owned = true;
    lock.unlock();
    run(q, block);
    block = nullptr;
    if (serial) {
        lock.lock();
        q->owned = false;
        q->changed.notify_all();
    }
    return true;
}

std::size_t drainAll(dispatch_queue_t q) {
    std::size_t ran = 0;
    while (drainOne(q)) ++ran;
    return ran;
}

std::size_t outstandingBlocks() { return outstanding.load(); }

std::size_t liveQueueCount() { return liveQueues.load(); }

std::size_t pendingCount(dispatch_queue_t queue) {
    DispatchQueue* q = queue.get();
    if (q->kind == DispatchQueue::Kind::main) return 0;
    std::lock_guard guard(q->mutex);
    return q->items.size();
}

}  // namespace dispatch

}  // namespace platform

// libdispatch: the main queue, labelled serial queues, the global queues by
// priority, delayed blocks and once-only guards.
//
// The main queue is the main run loop. Every other queue runs in one of two
// modes, chosen once per process before any block is submitted:
// - threaded (the default, what programs use): a serial queue drains its blocks
//   in submission order on a worker thread of its own, started when work
//   arrives and ended when the queue is empty; a global queue runs its blocks
//   on a small pool of such threads, several at a time;
// - manual: nothing runs until a test drains a queue (dispatch::drainOne,
//   dispatch::drainAll), so that a test can force an interleaving.
// dispatch_sync runs its block on the caller's thread once every block queued
// before it has run (in manual mode the caller runs those earlier blocks itself).
// A sync onto a queue that the calling thread is already running would deadlock
// on the platform; here it is reported, naming the queue, and the process aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <utility>

namespace platform {

struct DispatchQueue;

// A strong reference to a queue, as a queue is an object under ARC: a queue
// lives while something holds it or it has blocks to run, so an object's own
// queue goes with the object.
class DispatchQueueRef {
public:
    DispatchQueueRef() noexcept = default;
    DispatchQueueRef(std::nullptr_t) noexcept {}
    DispatchQueueRef(const DispatchQueueRef& other) noexcept;
    DispatchQueueRef(DispatchQueueRef&& other) noexcept : queue_(std::exchange(other.queue_, nullptr)) {}
    DispatchQueueRef& operator=(DispatchQueueRef other) noexcept {
        std::swap(queue_, other.queue_);
        return *this;
    }
    ~DispatchQueueRef();

    // Takes over the reference a new queue starts with.
    static DispatchQueueRef adopt(DispatchQueue* queue) noexcept {
        DispatchQueueRef ref;
        ref.queue_ = queue;
        return ref;
    }
    DispatchQueue* get() const noexcept { return queue_; }
    DispatchQueue* operator->() const noexcept { return queue_; }
    explicit operator bool() const noexcept { return queue_ != nullptr; }
    friend bool operator==(const DispatchQueueRef& a, const DispatchQueueRef& b) noexcept { return a.queue_ == b.queue_; }
    friend bool operator==(const DispatchQueueRef& a, std::nullptr_t) noexcept { return !a.queue_; }

private:
    DispatchQueue* queue_ = nullptr;
};

using dispatch_queue_t = DispatchQueueRef;
using dispatch_block_t = std::function<void()>;

// Created queues are serial; the platform's null attribute.
struct DispatchQueueAttr;
using dispatch_queue_attr_t = const DispatchQueueAttr*;
inline constexpr dispatch_queue_attr_t DISPATCH_QUEUE_SERIAL = nullptr;

dispatch_queue_t dispatch_queue_create(const char* label, dispatch_queue_attr_t attr);
// The queue's label; "" for a queue made without one.
const char* dispatch_queue_get_label(dispatch_queue_t queue);

dispatch_queue_t dispatch_get_main_queue();

inline constexpr long DISPATCH_QUEUE_PRIORITY_HIGH = 2;
inline constexpr long DISPATCH_QUEUE_PRIORITY_DEFAULT = 0;
inline constexpr long DISPATCH_QUEUE_PRIORITY_BACKGROUND = INT16_MIN;
// The concurrent global queue of a priority; null for an unknown priority.
dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long flags);

using dispatch_time_t = double;  // seconds from now
constexpr double NSEC_PER_SEC = 1e9;
constexpr int DISPATCH_TIME_NOW = 0;
inline dispatch_time_t dispatch_time(int /*DISPATCH_TIME_NOW*/, std::int64_t nanoseconds) {
    return static_cast<double>(nanoseconds) / NSEC_PER_SEC;
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
// The block is handed to its queue when the main run loop's clock reaches the
// time (the virtual clock in tests), never before.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
// The main queue's blocks run on the main thread: from another thread the call
// waits until the main loop next turns; on the main thread outside a turn of
// the loop the block runs at once.
void dispatch_sync(dispatch_queue_t queue, const dispatch_block_t& block);

// Whether the calling thread is running a block of `queue` (directly or through
// a dispatch_sync made from one); for the main queue, whether it is the main thread.
bool dispatch_queue_is_current(dispatch_queue_t queue);

using dispatch_once_t = std::once_flag;
inline void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t& block) { std::call_once(*predicate, block); }

namespace dispatch {
enum class Mode { threaded, manual };
// Chooses the process's mode; only before the first block is submitted to a
// queue other than the main queue.
void setMode(Mode mode);
Mode mode();
// Manual mode: runs the queue's next block on the calling thread; false when
// none is waiting. The main queue is drained by turning the run loop instead.
bool drainOne(dispatch_queue_t queue);
// Runs blocks until the queue is empty, also those that the blocks add; returns
// how many ran.
std::size_t drainAll(dispatch_queue_t queue);
// Blocks given to dispatch_async for queues other than the main queue that
// have not yet run to their end, on every queue: none when the queues are idle.
std::size_t outstandingBlocks();
// Blocks waiting on the queue (not counting one running).
std::size_t pendingCount(dispatch_queue_t queue);
// Queues alive now, the main and global queues among them.
std::size_t liveQueueCount();
}  // namespace dispatch

}  // namespace platform

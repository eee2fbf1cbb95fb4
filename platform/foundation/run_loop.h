// The process's clock and its main run loop.
//
// The clock is virtual in tests and under the device controller (it moves only
// when advanced) and real in programs started on their own. NSDate and
// mach_absolute_time read it. The main run loop runs, in order of (due time,
// posting order), the main-queue blocks, dispatch_after blocks, timers, delayed
// performs and animation steps that fall due, and never anything before its
// time. Work may be posted from any thread; it runs on the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/foundation/dispatch.h"
#include "platform/runtime/value.h"

namespace platform {

namespace clock {
// Makes the clock virtual, starting at `start`. Call before anything reads it.
void useVirtual(Date start);
void useReal();
bool isVirtual();
Date now();
// Nanoseconds of a monotonic clock that starts above 0.
std::uint64_t monotonicNanoseconds();
// Virtual time is counted in whole nanoseconds, so that small steps add up exactly.
std::int64_t nowNanos();
std::int64_t toNanos(Date d);
Date fromNanos(std::int64_t ns);
void setVirtualNanos(std::int64_t ns);
}  // namespace clock

// Ticks of the monotonic clock; the timebase converts them to nanoseconds.
std::uint64_t mach_absolute_time();
struct mach_timebase_info_data_t {
    std::uint32_t numer;
    std::uint32_t denom;
};
using kern_return_t = int;
constexpr kern_return_t KERN_SUCCESS = 0;
kern_return_t mach_timebase_info(mach_timebase_info_data_t* info);

class RunLoop {
public:
    using Task = std::function<void()>;
    using TaskId = std::uint64_t;

    // The main run loop; its thread is the main thread (the first caller's).
    static RunLoop& main();

    // Schedules `task` after `delay` seconds of the clock (0 or less: as soon as
    // the loop turns). `owner` and `tag` let a caller cancel a group of tasks.
    TaskId schedule(double delay, Task task, const void* owner = nullptr, std::string tag = {});
    // Posts from any thread, due now.
    TaskId post(Task task) { return schedule(0, std::move(task)); }
    void cancel(TaskId task);
    // Cancels every task of `owner` whose tag begins with `tag`.
    void cancelOwner(const void* owner, std::string_view tag = {});
    bool isScheduled(TaskId task) const;
    std::size_t pendingCount() const;

    // Virtual clock: moves the clock on by `seconds`, running what falls due in
    // order; the clock stands at each task's due time while it runs.
    void advance(double seconds);
    void advanceTo(Date when);
    // Runs what is due now without moving the clock.
    void runDue();
    // For work that arrives from other threads: runs due work as it comes,
    // without moving the virtual clock, until `done` holds or `realTimeout`
    // seconds of real time have passed. Returns whether `done` held.
    bool runUntil(const std::function<bool()>& done, double realTimeout);
    // The due time of the earliest task, if any.
    bool nextDue(Date* when) const;

    // Real clock: runs until stop().
    void run();
    void stop();

    bool isMainThread() const;
    // Whether the calling thread is running one of the loop's tasks now.
    bool isRunningTask() const;
    // Makes the calling thread the main thread (boot does this).
    void adoptCurrentThread();

private:
    RunLoop();
    void advanceToNanos(std::int64_t limit);
    struct Impl;
    Impl* impl_;
};

namespace NSThread {
bool isMainThread();
// On the main thread with the virtual clock, moves the clock on without running
// loop work meanwhile; otherwise sleeps for real.
void sleepForTimeInterval(double seconds);
}  // namespace NSThread

namespace NSDate {
Date date();
Date dateWithTimeIntervalSinceNow(double seconds);
double timeIntervalSinceNow(Date d);
}  // namespace NSDate

}  // namespace platform

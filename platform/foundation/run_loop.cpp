#include "platform/foundation/run_loop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace platform {

// --- clock -------------------------------------------------------------------------

namespace clock {
namespace {
// Virtual time is kept in whole nanoseconds since the reference date, so that
// many small steps add up exactly.
struct State {
    std::atomic<bool> isVirtual{false};
    std::mutex mutex;
    std::int64_t virtualNow = 0;
    std::int64_t virtualStart = 0;
    std::chrono::steady_clock::time_point realStart = std::chrono::steady_clock::now();
};
State& state() {
    static State* s = new State();
    return *s;
}
}  // namespace

namespace {
// Seconds as nanoseconds, saturated at a century either way (so that a sum
// of a time and a delay cannot overflow); NaN is 0.
std::int64_t saturatedNanos(double seconds) {
    constexpr double kLimit = 100.0 * 366 * 86400;
    if (std::isnan(seconds)) return 0;
    return static_cast<std::int64_t>(std::llround(std::clamp(seconds, -kLimit, kLimit) * 1e9));
}
}  // namespace

std::int64_t toNanos(Date d) { return saturatedNanos(d.sinceReferenceDate); }
Date fromNanos(std::int64_t ns) { return Date{static_cast<double>(ns) / 1e9}; }

std::int64_t nowNanos() {
    auto& s = state();
    if (!s.isVirtual) {
        using namespace std::chrono;
        auto unixNs = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
        return unixNs - static_cast<std::int64_t>(Date::kUnixOffset) * 1000000000LL;
    }
    std::lock_guard guard(s.mutex);
    return s.virtualNow;
}

void useVirtual(Date start) {
    auto& s = state();
    std::lock_guard guard(s.mutex);
    s.virtualNow = s.virtualStart = toNanos(start);
    s.isVirtual = true;
}

void useReal() { state().isVirtual = false; }

bool isVirtual() { return state().isVirtual; }

Date now() { return fromNanos(nowNanos()); }

// Moves the virtual clock; never backwards.
void setVirtualNanos(std::int64_t ns) {
    auto& s = state();
    std::lock_guard guard(s.mutex);
    if (ns > s.virtualNow) s.virtualNow = ns;
}

std::uint64_t monotonicNanoseconds() {
    auto& s = state();
    std::int64_t elapsed;
    if (s.isVirtual) {
        std::lock_guard guard(s.mutex);
        elapsed = s.virtualNow - s.virtualStart;
    } else {
        elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - s.realStart).count();
    }
    return static_cast<std::uint64_t>(elapsed) + 1000000000ULL;
}
}  // namespace clock

namespace {
std::int64_t delayNanos(double seconds) { return seconds > 0 ? clock::saturatedNanos(seconds) : 0; }
// `now` moved on by a delay (never negative), saturated at the end of time.
std::int64_t laterBy(std::int64_t now, std::int64_t delay) {
    std::int64_t later = 0;
    if (__builtin_add_overflow(now, delay, &later)) return std::numeric_limits<std::int64_t>::max();
    return later;
}
}  // namespace

std::uint64_t mach_absolute_time() { return clock::monotonicNanoseconds(); }

kern_return_t mach_timebase_info(mach_timebase_info_data_t* info) {
    info->numer = 1;
    info->denom = 1;
    return KERN_SUCCESS;
}

// --- run loop ------------------------------------------------------------------------

namespace {
// How deep the calling thread is in tasks of the loop.
thread_local int taskDepth = 0;

void runTask(RunLoop::Task& task) {
    ++taskDepth;
    struct Leave {
        ~Leave() { --taskDepth; }
    } leave;
    task();
}
}  // namespace

struct RunLoop::Impl {
    struct Entry {
        Task task;
        const void* owner;
        std::string tag;
    };
    using Key = std::pair<std::int64_t, std::uint64_t>;  // (due in nanoseconds, posting order)

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::map<Key, Entry> tasks;
    std::unordered_map<TaskId, Key> index;
    std::uint64_t nextSeq = 1;
    std::atomic<std::thread::id> mainThread{std::this_thread::get_id()};
    bool stopped = false;

    // Takes the earliest task due at or before `limit`.
    bool takeDue(std::int64_t limit, Key* key, Entry* entry) {
        std::lock_guard guard(mutex);
        if (tasks.empty() || tasks.begin()->first.first > limit) return false;
        auto it = tasks.begin();
        *key = it->first;
        *entry = std::move(it->second);
        index.erase(it->first.second);
        tasks.erase(it);
        return true;
    }
};

RunLoop& RunLoop::main() {
    static RunLoop* loop = new RunLoop();
    return *loop;
}

RunLoop::RunLoop() : impl_(new Impl()) {}

RunLoop::TaskId RunLoop::schedule(double delay, Task task, const void* owner, std::string tag) {
    std::int64_t due = laterBy(clock::nowNanos(), delayNanos(delay));
    TaskId id;
    {
        std::lock_guard guard(impl_->mutex);
        id = impl_->nextSeq++;
        Impl::Key key{due, id};
        impl_->tasks.emplace(key, Impl::Entry{std::move(task), owner, std::move(tag)});
        impl_->index.emplace(id, key);
    }
    impl_->wake.notify_all();
    return id;
}

void RunLoop::cancel(TaskId task) {
    Task dropped;  // destroyed outside the lock: it may release objects
    std::lock_guard guard(impl_->mutex);
    auto it = impl_->index.find(task);
    if (it == impl_->index.end()) return;
    auto t = impl_->tasks.find(it->second);
    dropped = std::move(t->second.task);
    impl_->tasks.erase(t);
    impl_->index.erase(it);
}

void RunLoop::cancelOwner(const void* owner, std::string_view tag) {
    std::vector<Task> dropped;
    std::lock_guard guard(impl_->mutex);
    for (auto it = impl_->tasks.begin(); it != impl_->tasks.end();) {
        if (it->second.owner == owner && it->second.tag.compare(0, tag.size(), tag) == 0) {
            dropped.push_back(std::move(it->second.task));
            impl_->index.erase(it->first.second);
            it = impl_->tasks.erase(it);
        } else {
            ++it;
        }
    }
}

bool RunLoop::isScheduled(TaskId task) const {
    std::lock_guard guard(impl_->mutex);
    return impl_->index.count(task) != 0;
}

std::size_t RunLoop::pendingCount() const {
    std::lock_guard guard(impl_->mutex);
    return impl_->tasks.size();
}

bool RunLoop::nextDue(Date* when) const {
    std::lock_guard guard(impl_->mutex);
    if (impl_->tasks.empty()) return false;
    *when = clock::fromNanos(impl_->tasks.begin()->first.first);
    return true;
}

void RunLoop::advanceTo(Date when) { advanceToNanos(clock::toNanos(when)); }

void RunLoop::advanceToNanos(std::int64_t limit) {
    Impl::Key key;
    Impl::Entry entry;
    while (impl_->takeDue(limit, &key, &entry)) {
        clock::setVirtualNanos(key.first);
        Task task = std::move(entry.task);
        runTask(task);
    }
    clock::setVirtualNanos(limit);
}

void RunLoop::advance(double seconds) { advanceToNanos(laterBy(clock::nowNanos(), delayNanos(seconds))); }

void RunLoop::runDue() {
    Impl::Key key;
    Impl::Entry entry;
    while (impl_->takeDue(clock::nowNanos(), &key, &entry)) {
        Task task = std::move(entry.task);
        runTask(task);
    }
}

bool RunLoop::runUntil(const std::function<bool()>& done, double realTimeout) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(realTimeout));
    for (;;) {
        runDue();
        if (done()) return true;
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        // `done` may come true on another thread without posting anything
        // here, so it is looked at again every millisecond.
        std::unique_lock lock(impl_->mutex);
        auto dueNow = [&] { return !impl_->tasks.empty() && impl_->tasks.begin()->first.first <= clock::nowNanos(); };
        impl_->wake.wait_until(lock, std::min<std::chrono::steady_clock::time_point>(deadline, now + std::chrono::milliseconds(1)), dueNow);
    }
}

void RunLoop::run() {
    {
        std::lock_guard guard(impl_->mutex);
        impl_->stopped = false;
    }
    for (;;) {
        runDue();
        std::unique_lock lock(impl_->mutex);
        if (impl_->stopped) return;
        if (impl_->tasks.empty()) {
            impl_->wake.wait(lock);
        } else {
            std::int64_t wait = impl_->tasks.begin()->first.first - clock::nowNanos();
            if (wait > 0) impl_->wake.wait_for(lock, std::chrono::nanoseconds(wait));
        }
    }
}

void RunLoop::stop() {
    {
        std::lock_guard guard(impl_->mutex);
        impl_->stopped = true;
    }
    impl_->wake.notify_all();
}

bool RunLoop::isMainThread() const { return std::this_thread::get_id() == impl_->mainThread.load(); }

bool RunLoop::isRunningTask() const { return taskDepth > 0; }

void RunLoop::adoptCurrentThread() { impl_->mainThread = std::this_thread::get_id(); }

// --- threads and dates -------------------------------------------------------------------

bool NSThread::isMainThread() { return RunLoop::main().isMainThread(); }

void NSThread::sleepForTimeInterval(double seconds) {
    if (clock::isVirtual() && isMainThread()) {
        clock::setVirtualNanos(laterBy(clock::nowNanos(), delayNanos(seconds)));
        return;
    }
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

Date NSDate::date() { return clock::now(); }
Date NSDate::dateWithTimeIntervalSinceNow(double seconds) { return clock::now().addingTimeInterval(seconds); }
double NSDate::timeIntervalSinceNow(Date d) { return d.timeIntervalSinceDate(clock::now()); }

}  // namespace platform

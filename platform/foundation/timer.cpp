#include "platform/foundation/timer.h"

#include <map>

namespace platform {

namespace {
constexpr double kMinimumInterval = 0.0001;
}

Ref<NSTimer> NSTimer::timerWithTimeInterval(double interval, id target, SEL selector, Value userInfo, bool repeats) {
    auto timer = as<NSTimer>(alloc("NSTimer"));
    timer->target_ = target;
    timer->selector_ = std::string(selector.name);
    timer->userInfo_ = std::move(userInfo);
    timer->interval_ = interval;
    timer->repeats_ = repeats;
    timer->valid_ = true;
    timer->fireDate_ = NSDate::dateWithTimeIntervalSinceNow(interval > 0 ? interval : kMinimumInterval);
    return timer;
}

Ref<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double interval, id target, SEL selector, Value userInfo, bool repeats) {
    Ref<NSTimer> timer = timerWithTimeInterval(interval, target, selector, std::move(userInfo), repeats);
    timer->arm();
    return timer;
}

void NSRunLoopAddTimer(NSTimer* timer, std::string_view) {
    if (timer && timer->valid_ && !timer->task_) timer->arm();
}

Ref<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double interval, bool repeats, std::function<void(NSTimer*)> block) {
    auto timer = as<NSTimer>(alloc("NSTimer"));
    timer->block_ = std::move(block);
    timer->interval_ = interval;
    timer->repeats_ = repeats;
    timer->valid_ = true;
    timer->arm();
    return timer;
}

void NSTimer::arm() {
    double delay = interval_ > 0 ? interval_ : kMinimumInterval;
    fireDate_ = NSDate::dateWithTimeIntervalSinceNow(delay);
    Ref<NSTimer> self(this);  // the run loop keeps a scheduled timer
    task_ = RunLoop::main().schedule(delay, [self] { self->fire(); }, this, "timer");
}

void NSTimer::fire() {
    if (!valid_) return;
    Ref<NSTimer> protector(this);
    if (repeats_) {
        arm();
    } else {
        valid_ = false;
        task_ = 0;
    }
    if (block_) {
        auto block = block_;
        block(this);
    } else if (target_) {
        Ref<Object> target = target_;
        if (!repeats_) target_ = nullptr;
        Value arg(static_cast<Object*>(this));
        invoke(target, selector_, std::span<const Value>(&arg, methodArity(target, selector_) >= 1 ? 1 : 0));
    }
    if (!repeats_) block_ = nullptr;
}

void NSTimer::invalidate() {
    if (!valid_) return;
    valid_ = false;
    Ref<NSTimer> protector(this);
    if (task_) RunLoop::main().cancel(task_);
    task_ = 0;
    target_ = nullptr;
    block_ = nullptr;
}

// --- delayed performs ---------------------------------------------------------------

void performSelectorAfterDelay(id target, SEL selector, const Value& object, double delay) {
    if (!target) return;
    Ref<Object> keep(target);
    std::string name(selector.name);
    RunLoop::main().schedule(delay, [keep, name, object] { performSelector(keep, name, object); }, target,
                             "perform:" + name + ":" + object.description());
}

void cancelPreviousPerformRequestsWithTarget(id target) { RunLoop::main().cancelOwner(target, "perform:"); }

void cancelPreviousPerformRequestsWithTarget(id target, SEL selector, const Value& object) {
    RunLoop::main().cancelOwner(target, "perform:" + std::string(selector.name) + ":" + object.description());
}

void performSelectorOnMainThread(id target, SEL selector, const Value& object, bool waitUntilDone) {
    if (!target) return;
    Ref<Object> keep(target);
    std::string name(selector.name);
    auto perform = [keep, name, object] { performSelector(keep, name, object); };
    if (!waitUntilDone) {
        RunLoop::main().post(perform);
    } else if (NSThread::isMainThread()) {
        perform();
    } else {
        dispatch_sync(dispatch_get_main_queue(), perform);
    }
}

}  // namespace platform

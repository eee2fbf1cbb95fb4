// NSTimer on the main run loop, and the delayed and main-thread performs of NSObject. A
// scheduled timer is kept by the run loop and retains its target until it is
// invalidated, as on the platform. Main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/run_loop.h"
#include "platform/runtime/nsobject.h"

namespace platform {

class NSTimer : public NSObject {
public:
    // The selector takes nothing or the timer. An interval of 0 or less fires
    // after 0.1 ms, as the platform does, so a repeating timer never spins.
    static Ref<NSTimer> scheduledTimerWithTimeInterval(double interval, id target, SEL selector, Value userInfo, bool repeats);
    // timerWithTimeInterval:target:selector:userInfo:repeats: the same timer,
    // not yet scheduled: it fires once it is added to the run loop.
    static Ref<NSTimer> timerWithTimeInterval(double interval, id target, SEL selector, Value userInfo, bool repeats);
    // A timer with a block, for platform code.
    static Ref<NSTimer> scheduledTimerWithTimeInterval(double interval, bool repeats, std::function<void(NSTimer*)> block);

    void invalidate();
    bool isValid() const { return valid_; }
    void fire();
    Date fireDate() const { return fireDate_; }
    double timeInterval() const { return interval_; }
    const Value& userInfo() const { return userInfo_; }
    id target() const { return target_.get(); }

private:
    friend void NSRunLoopAddTimer(NSTimer* timer, std::string_view mode);
    void arm();
    Ref<Object> target_;
    std::string selector_;
    std::function<void(NSTimer*)> block_;
    Value userInfo_;
    double interval_ = 0;
    bool repeats_ = false;
    bool valid_ = false;
    Date fireDate_;
    RunLoop::TaskId task_ = 0;
};

inline constexpr std::string_view NSDefaultRunLoopMode = "kCFRunLoopDefaultMode";
inline constexpr std::string_view NSRunLoopCommonModes = "kCFRunLoopCommonModes";
// [[NSRunLoop mainRunLoop] addTimer:forMode:]: schedules a valid timer that
// is not scheduled yet, its interval from now; every mode runs on the one loop.
void NSRunLoopAddTimer(NSTimer* timer, std::string_view mode);

// performSelector:withObject:afterDelay: — retains target and object until it runs.
void performSelectorAfterDelay(id target, SEL selector, const Value& object, double delay);
// cancelPreviousPerformRequestsWithTarget: (and its selector-and-object form).
void cancelPreviousPerformRequestsWithTarget(id target);
void cancelPreviousPerformRequestsWithTarget(id target, SEL selector, const Value& object);
// performSelectorOnMainThread:withObject:waitUntilDone: — from any thread. On
// the main thread a waiting perform runs at once, otherwise on the next turn;
// from another thread a waiting perform returns after it ran on the main thread.
void performSelectorOnMainThread(id target, SEL selector, const Value& object, bool waitUntilDone);


}  // namespace platform

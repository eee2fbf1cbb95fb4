// Timers that do not keep their target alive: the NSTimer category
// YBXWeakTargetAdditions makes a YBXWeakTimerTarget, which holds the target
// weakly and is the timer's real target. When the target is gone, the timer
// invalidates itself at its next firing. Main thread, like the run loop's timers.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/timer.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id, double, id, SEL, Value, bool)> ybx_scheduledTimerWithTimeInterval_weakTarget_selector_userInfo_repeats_{
    "ybx_scheduledTimerWithTimeInterval:weakTarget:selector:userInfo:repeats:"};
inline constexpr Sel<Ref<Object>(id, double, id, SEL, Value, bool)> ybx_timerWithTimeInterval_weakTarget_selector_userInfo_repeats_{
    "ybx_timerWithTimeInterval:weakTarget:selector:userInfo:repeats:"};
inline constexpr Sel<void(id, id)> runWithTimer_{"runWithTimer:"};
}  // namespace sel

class YBXWeakTimerTarget : public NSObject {
public:
    WeakRef<Object> weakTarget;
    std::string selector;
};

enum class TimerScheduling { scheduled, unscheduled };

// The timer whose firing sends `selector` (with the timer) to the target while it lives.
Ref<NSTimer> ybx_timerWithWeakTarget(TimerScheduling scheduling, double interval, id target, SEL selector, Value userInfo, bool repeats);

void registerWeakTimerClasses();

}  // namespace adlib

#include "adlib/foundation/weak_timer.h"

#include <array>

namespace adlib {

Ref<NSTimer> ybx_timerWithWeakTarget(TimerScheduling scheduling, double interval, id target, SEL selector, Value userInfo, bool repeats) {
    Ref<Object> weakTarget = sel::init(alloc("YBXWeakTimerTarget"));
    auto* t = as<YBXWeakTimerTarget>(weakTarget.get());
    if (!t) return nullptr;
    t->weakTarget = target;
    t->selector = std::string(selector.name);
    return scheduling == TimerScheduling::scheduled
               ? NSTimer::scheduledTimerWithTimeInterval(interval, weakTarget, sel::runWithTimer_, std::move(userInfo), repeats)
               : NSTimer::timerWithTimeInterval(interval, weakTarget, sel::runWithTimer_, std::move(userInfo), repeats);
}

void registerWeakTimerClasses() {
    ClassBuilder<YBXWeakTimerTarget>("YBXWeakTimerTarget", "NSObject").method(sel::runWithTimer_, [](id self, id timer) {
        auto* t = as<YBXWeakTimerTarget>(self);
        Ref<Object> target = t->weakTarget.lock();
        if (!target) {
            if (auto* nsTimer = as<NSTimer>(timer)) nsTimer->invalidate();
            return;
        }
        if (!respondsToSelector(target, t->selector)) return;
        const std::array<Value, 1> args{Value(timer)};
        invoke(target, t->selector, args);
    });

    Class* timerClass = objc_getClass("NSTimer");
    Class* meta = timerClass ? timerClass->metaclass() : nullptr;
    class_addMethod(meta, sel::ybx_scheduledTimerWithTimeInterval_weakTarget_selector_userInfo_repeats_,
                    [](id, double interval, id target, SEL selector, Value userInfo, bool repeats) {
                        return Ref<Object>(ybx_timerWithWeakTarget(TimerScheduling::scheduled, interval, target, selector, std::move(userInfo), repeats));
                    });
    class_addMethod(meta, sel::ybx_timerWithTimeInterval_weakTarget_selector_userInfo_repeats_,
                    [](id, double interval, id target, SEL selector, Value userInfo, bool repeats) {
                        return Ref<Object>(
                            ybx_timerWithWeakTarget(TimerScheduling::unscheduled, interval, target, selector, std::move(userInfo), repeats));
                    });
}

}  // namespace adlib

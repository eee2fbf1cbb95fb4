#include "platform/mobiletimer/clock_manager.h"

#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"

namespace platform::mobiletimer {

void registerClockManager() {
    ClassBuilder<ClockManager>("ClockManager", "NSObject")
        .classMethod(sel::sharedManager,
                     [](id) {
                         static auto* shared = new Ref<Object>(newObject("ClockManager"));
                         return *shared;
                     })
        .method(sel::setRunningInAssistantPlugin_, [](id self, bool running) {
            callLog::record("ClockManager", "setRunningInAssistantPlugin:", running ? "YES" : "NO");
            as<ClockManager>(self)->runningInAssistantPlugin = running;
        });
}

}  // namespace platform::mobiletimer

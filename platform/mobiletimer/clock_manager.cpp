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
        .classMethod(sel::sectionFromClockAppURL_,
                     [](id, Value url) {
                         // The section named by the URL's scheme; the world clock for any other.
                         std::string text = url.isString() ? url.string() : url.description();
                         callLog::record("ClockManager", "sectionFromClockAppURL:", text);
                         std::string scheme = text.substr(0, text.find(':'));
                         if (scheme == "clock-alarm") return 1LL;
                         if (scheme == "clock-stopwatch") return 2LL;
                         if (scheme == "clock-timer") return 3LL;
                         return 0LL;
                     })
        .method(sel::setRunningInAssistantPlugin_, [](id self, bool running) {
            callLog::record("ClockManager", "setRunningInAssistantPlugin:", running ? "YES" : "NO");
            as<ClockManager>(self)->runningInAssistantPlugin = running;
        });
}

}  // namespace platform::mobiletimer

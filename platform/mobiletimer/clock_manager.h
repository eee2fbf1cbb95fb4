// ClockManager: the Clock framework's shared manager; SpringBoard tells it
// when the alarm rings while Siri's view is up. Its class method
// sectionFromClockAppURL: picks the Clock app's section for a URL by scheme
// ("clock-worldclock" 0, "clock-alarm" 1, "clock-stopwatch" 2, "clock-timer"
// 3, the world clock for others). Main thread only.
#pragma once

#include "platform/runtime/nsobject.h"

namespace platform {

class ClockManager : public NSObject {
public:
    bool runningInAssistantPlugin = false;
};

namespace mobiletimer {
void registerClockManager();
}

}  // namespace platform

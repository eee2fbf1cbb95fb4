// ClockManager: the Clock framework's shared manager; SpringBoard tells it
// when the alarm rings while Siri's view is up. Main thread only.
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

// The four Activator actions. In SpringBoard four listeners receive
// Activator's events and only post a distributed notification; in every
// process with the tweak one GlobalFunction observes those notifications and
// acts: stop or snooze the ringing alarm (in SpringBoard, where the alert
// window is), or turn every alarm on or off through that process's alarm
// manager. Main thread only.
#pragma once

#include "tweak/engine/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<Ref<Object>(id)> sharedListener{"sharedListener"};  // class method
inline constexpr Sel<void(id, id)> stopAlarm_{"stopAlarm:"};
inline constexpr Sel<void(id, id)> snoozeAlarm_{"snoozeAlarm:"};
inline constexpr Sel<void(id, id)> turnOnAlarms_{"turnOnAlarms:"};
inline constexpr Sel<void(id, id)> turnOffAlarms_{"turnOffAlarms:"};
}  // namespace sel

struct ActivatorAction {
    const char* listenerClass;
    const char* listenerName;
    const char* notification;
};
inline constexpr ActivatorAction kActivatorActions[] = {
    {"StopAlarm", "net.quillory.Rousa2.stop-alarm", "net.quillory.stopAlarm"},
    {"SnoozeAlarm", "net.quillory.Rousa2.snooze-alarm", "net.quillory.snoozeAlarm"},
    {"TurnOnAlarms", "net.quillory.Rousa2.turnon-alarms", "net.quillory.turnOnAlarms"},
    {"TurnOffAlarms", "net.quillory.Rousa2.turnoff-alarms", "net.quillory.turnOffAlarms"},
};

class GlobalFunction : public NSObject {};

// Registers the listener classes and GlobalFunction.
void registerActivatorClasses();
// Registers the four shared listeners with Activator's shared instance.
void registerActivatorListeners(Class* activator);
// Made once by the UIApplicationMain replacement and kept for the process.
void createGlobalFunction();

}  // namespace rousa

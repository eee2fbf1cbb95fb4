// Activator: LAActivator with its shared instance and listener registry, the
// LAListener protocol and LAEvent. Present when its library
// "/usr/lib/libactivator.dylib" is (a test can leave it out). Tests and the
// scenario runner send an event to a listener name.
#pragma once

#include <map>
#include <string>

#include "platform/runtime/nsobject.h"

namespace platform {

inline constexpr const char* kActivatorPath = "/usr/lib/libactivator.dylib";

namespace sel {
inline constexpr Sel<void(id, id, Value)> registerListener_forName_{"registerListener:forName:"};
inline constexpr Sel<void(id, id, id)> activator_receiveEvent_{"activator:receiveEvent:"};
}  // namespace sel

class LAActivator : public NSObject {
public:
    // Listeners are kept for the life of the process, as Activator does.
    std::map<std::string, Ref<Object>, std::less<>> listeners;
};

class LAEvent : public NSObject {
public:
    std::string name;
    bool handled = false;
};

namespace activator {
void registerClasses();
// Sends an event to the listener registered under `listenerName`; false when
// there is none (or no Activator).
bool sendEvent(std::string_view listenerName, std::string_view eventName = "libactivator.test");
}  // namespace activator

}  // namespace platform

#include "platform/frameworks/iokit_hid.h"

#include "platform/foundation/format.h"
#include "platform/runtime/call_log.h"

namespace platform {

std::string IOHIDEvent::text() const {
    return format("page 0x%x usage 0x%x down %d", usagePage, usage, down ? 1 : 0);
}

Ref<Object> IOHIDEventCreateKeyboardEvent(CFAllocatorRef, std::uint64_t timestamp, std::uint32_t usagePage, std::uint32_t usage,
                                          bool down, std::uint32_t options) {
    auto event = as<IOHIDEvent>(alloc("IOHIDEvent"));
    if (!event) return nullptr;
    event->timestamp = timestamp;
    event->usagePage = usagePage;
    event->usage = usage;
    event->down = down;
    event->options = options;
    callLog::record("IOKit", "IOHIDEventCreateKeyboardEvent", event->text());
    return event;
}

namespace iokit {
void registerClasses() {
    ClassBuilder<IOHIDEvent>("IOHIDEvent", "NSObject").method(sel::description, [](id self) {
        return Value("<IOHIDEvent " + as<IOHIDEvent>(self)->text() + ">");
    });
}
}  // namespace iokit

}  // namespace platform

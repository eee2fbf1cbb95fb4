// IOKit's HID events: the keyboard events (a Home-button press is two of
// them) that SpringBoard's button handlers take. Every host has them.
// Creating an event is recorded in the call log. Any thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/nsobject.h"

namespace platform {

using CFAllocatorRef = const void*;
inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

// The consumer usage page and its menu (Home button) usage.
inline constexpr std::uint32_t kHIDPage_Consumer = 0x0C;
inline constexpr std::uint32_t kHIDUsage_Csmr_Menu = 0x40;

class IOHIDEvent : public NSObject {
public:
    std::uint64_t timestamp = 0;
    std::uint32_t usagePage = 0;
    std::uint32_t usage = 0;
    bool down = false;
    std::uint32_t options = 0;
    // "page 0xc usage 0x40 down 1" (for call logs)
    std::string text() const;
};

// Null when the process has no IOHIDEvent class. The event is released by
// its last reference.
Ref<Object> IOHIDEventCreateKeyboardEvent(CFAllocatorRef allocator, std::uint64_t timestamp, std::uint32_t usagePage,
                                          std::uint32_t usage, bool down, std::uint32_t options);

namespace iokit {
void registerClasses();
}

}  // namespace platform

// Calling a hooked method's previous implementation.
#pragma once

#include <type_traits>
#include <utility>

#include "platform/runtime/runtime.h"

namespace rousa {

// Calls the saved previous implementation; an empty slot (the class or selector
// was missing when the hook was installed) answers the zero value, as a message
// to nil would.
template <class R, class... A, class... Args>
R callPrevious(R (*previous)(platform::id, A...), platform::id self, Args&&... args) {
    if (!previous) {
        if constexpr (std::is_void_v<R>) return;
        else return R{};
    }
    return previous(self, std::forward<Args>(args)...);
}

}  // namespace rousa

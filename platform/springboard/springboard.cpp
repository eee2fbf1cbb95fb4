#include "platform/springboard/springboard.h"

#include "platform/foundation/process.h"
#include "platform/springboard/app_switcher.h"

namespace platform::springboard {

void registerClasses() {
    if (!process::isSpringBoard()) return;
    registerAppSwitcher();
}

}  // namespace platform::springboard

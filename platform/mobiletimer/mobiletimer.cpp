#include "platform/mobiletimer/mobiletimer.h"

#include "platform/foundation/process.h"
#include "platform/mobiletimer/alarm.h"

namespace platform::mobiletimer {

void registerClasses() {
    // The alarm model lives in a framework that the Clock app and SpringBoard load.
    if (!process::isClockApp() && !process::isSpringBoard()) return;
    registerAlarmClasses();
}

}  // namespace platform::mobiletimer

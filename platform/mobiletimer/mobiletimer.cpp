#include "platform/mobiletimer/mobiletimer.h"

#include "platform/foundation/bundle.h"
#include "platform/foundation/process.h"
#include "platform/mobiletimer/alarm.h"
#include "platform/mobiletimer/alarm_list.h"
#include "platform/mobiletimer/app_delegate.h"
#include "platform/mobiletimer/edit_alarm.h"

namespace platform::mobiletimer {

void registerClasses() {
    // The alarm model lives in a framework that the Clock app and SpringBoard load.
    if (!process::isClockApp() && !process::isSpringBoard()) return;
    NSBundle::registerBundleLocation("com.apple.mobiletimer", "/Applications/MobileTimer.app");
    registerAlarmClasses();
    // The screens are the Clock app's own.
    if (process::isClockApp()) {
        registerEditAlarmClasses();
        registerAlarmListClasses();
        registerAppDelegateClass();
    }
}

}  // namespace platform::mobiletimer

#include "platform/foundation/foundation.h"

#include "platform/foundation/bundle.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/timer.h"

namespace platform::foundation {

void registerClasses() {
    ClassBuilder<NSTimer>("NSTimer", "NSObject");
    ClassBuilder<NSNotification>("NSNotification", "NSObject");
    ClassBuilder<NSNotificationCenter>("NSNotificationCenter", "NSObject");
    ClassBuilder<NSDistributedNotificationCenter>("NSDistributedNotificationCenter", "NSNotificationCenter");
    ClassBuilder<NSBundle>("NSBundle", "NSObject");
}

}  // namespace platform::foundation

#include "platform/foundation/foundation.h"

#include "platform/foundation/bundle.h"
#include "platform/foundation/cache.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/date_formatter.h"
#include "platform/foundation/error.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/locale.h"
#include "platform/foundation/lock.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/number_formatter.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/regex.h"
#include "platform/foundation/timer.h"
#include "platform/foundation/user_defaults.h"
#include "platform/foundation/uuid.h"

namespace platform::foundation {

void registerClasses() {
    ClassBuilder<NSTimer>("NSTimer", "NSObject");
    ClassBuilder<NSNotification>("NSNotification", "NSObject");
    ClassBuilder<NSNotificationCenter>("NSNotificationCenter", "NSObject");
    ClassBuilder<NSDistributedNotificationCenter>("NSDistributedNotificationCenter", "NSNotificationCenter");
    ClassBuilder<NSBundle>("NSBundle", "NSObject");
    ClassBuilder<NSTimeZone>("NSTimeZone", "NSObject");
    ClassBuilder<NSCalendar>("NSCalendar", "NSObject");
    ClassBuilder<NSDateComponents>("NSDateComponents", "NSObject");
    ClassBuilder<NSLock>("NSLock", "NSObject");
    ClassBuilder<NSOperationQueue>("NSOperationQueue", "NSObject");
    ClassBuilder<NSUserDefaults>("NSUserDefaults", "NSObject");
    ClassBuilder<NSFileManager>("NSFileManager", "NSObject");
    ClassBuilder<NSCache>("NSCache", "NSObject");
    registerDateFormatter();
    registerError();
    registerLocale();
    registerNumberFormatter();
    registerRegularExpression();
    registerUUID();
}

}  // namespace platform::foundation

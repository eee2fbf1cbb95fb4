// Registers the Foundation classes (NSTimer, NSLock, NSOperationQueue,
// NSNotification, the notification centres, NSBundle) with the runtime; boot calls it.
#pragma once

namespace platform::foundation {
void registerClasses();
}

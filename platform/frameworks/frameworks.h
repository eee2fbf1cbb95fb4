// Small platform frameworks (BackBoardServices, Activator, Celestial, IOKit's
// HID events, AudioToolbox, and the publisher app's): boot registers them.
#pragma once

namespace platform::frameworks {
void registerClasses();
// AdSupport, CoreTelephony, AVFoundation, StoreKit and EventKit: the publisher app's.
void registerAppClasses();
}

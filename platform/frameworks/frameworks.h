// Small platform frameworks (BackBoardServices, Activator, Celestial, IOKit's
// HID events, AudioToolbox): boot registers them.
#pragma once

namespace platform::frameworks {
void registerClasses();
}

// The Clock app's classes (MobileTimer): the alarm model, which SpringBoard
// loads too, and the Clock app's screens.
#pragma once

namespace platform::mobiletimer {
void registerClasses();
}

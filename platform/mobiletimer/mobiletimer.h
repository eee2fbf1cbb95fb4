// The Clock app's classes (MobileTimer): the alarm model, which SpringBoard
// loads too (alarm.h), and the Clock app's screens (edit_alarm.h).
#pragma once

namespace platform::mobiletimer {
void registerClasses();
}

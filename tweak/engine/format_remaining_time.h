// The time left until an alarm as text, in the four formats of the time
// settings (WKSClockAppTimeFormat, WKSLockScreenTimeFormat), with the unit
// words of the settings bundle. Main thread only (it reads the bundle object
// that the start-up opens).
#pragma once

#include <string>

#include "platform/foundation/bundle.h"
#include "tweak/engine/selectors.h"

namespace rousa {

// The settings bundle, opened by the edit screen's start-up step; null before.
extern Ref<NSBundle> preferenceBundle;

// Formats 0 "1d 2h 5m", 1 "1day 2hrs 5mins", 2 "1 day 2 hours 5 minutes",
// 3 "1:2:05" (in the bundle's words; the minute is rounded up). A value of 0
// or less formats as nothing left ("0m", "0 minutes", "0:00"); a format
// above 3 gives "".
std::string FormatRemainingTime(int seconds, unsigned format);

// Seconds as a whole number for FormatRemainingTime: toward zero, saturating
// at the 32-bit bounds; not-a-number gives 0.
int saturatedSeconds(double seconds);

}  // namespace rousa

// The alarm screens' part of the tweak library's start-up.
#pragma once

namespace rousa {

// Registers the screens' own classes with the runtime.
void registerScreenClasses();
// The first start-up step: the clone window's localized texts.
void LoadCloneWindowStrings();
// The third start-up step: the edit screen's localized texts, the settings
// bundle object and the Gregorian calendar.
void LoadEditAlarmStrings();

}  // namespace rousa

#include "tweak/screens/screens.h"

#include "tweak/screens/edit_alarm.h"

namespace rousa {

void registerScreenClasses() {}

void LoadCloneWindowStrings() {}

void LoadEditAlarmStrings() { loadEditAlarmTexts(); }

}  // namespace rousa

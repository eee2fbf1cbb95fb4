#include "tweak/screens/screens.h"

namespace rousa {

void registerScreenClasses() {}

void LoadCloneWindowStrings() {}

void LoadEditAlarmStrings() {}

}  // namespace rousa

#include "tweak/screens/screens.h"

#include "tweak/screens/radial_menu.h"
#include "tweak/screens/radial_menu_demo.h"

namespace rousa {

void registerScreenClasses() {
    registerRadialMenuClasses();
    registerRadialMenuDemoClass();
}

void LoadCloneWindowStrings() {}

void LoadEditAlarmStrings() {}

}  // namespace rousa

#include "tweak/screens/screens.h"

#include "tweak/screens/alert_controls.h"
#include "tweak/screens/alert_window.h"
#include "tweak/screens/blur_view.h"
#include "tweak/screens/clone_window.h"
#include "tweak/screens/edit_alarm.h"
#include "tweak/screens/radial_menu.h"
#include "tweak/screens/radial_menu_demo.h"
#include "tweak/screens/window_view.h"

namespace rousa {

void registerScreenClasses() {
    registerAlertControlClasses();
    registerBlurViewClass();
    registerAlertWindowClass();
    registerWindowViewClasses();
    registerRadialMenuClasses();
    registerRadialMenuDemoClass();
    registerCloneWindowClasses();
}

void LoadCloneWindowStrings() { loadCloneWindowTexts(); }

void LoadEditAlarmStrings() { loadEditAlarmTexts(); }

}  // namespace rousa

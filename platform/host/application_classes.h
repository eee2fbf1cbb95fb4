// What UIApplicationMain gets in each host: SpringBoard's principal class
// ("SpringBoard"), the Clock app's and the Settings app's delegates
// ("MobileTimerAppDelegate", "PreferencesAppDelegate"), the publisher app's
// ("AdSampleAppDelegate", which its own program registers). A class the process
// lacks is left out (nil), so that a test that leaves it out still launches.
#pragma once

#include <string_view>

#include "platform/runtime/value.h"

namespace platform::host {

struct ApplicationClasses {
    Value principalClassName;
    Value delegateClassName;
};

ApplicationClasses applicationClassesFor(std::string_view bundleIdentifier);

}  // namespace platform::host

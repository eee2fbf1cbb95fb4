// The settings bundle's start-up and its globals: the bundle object and the
// digits that number rows accept. The plug-in's load-time constructor runs
// the start-up; tests run it after boot. Settings app, main thread.
#pragma once

#include <string_view>

#include "platform/foundation/bundle.h"
#include "settings/selectors.h"

namespace rousa {

// The settings bundle "/Library/PreferenceBundles/Rousa2.bundle", opened by path; null before the start-up.
extern Ref<NSBundle> settingsBundle;
// The characters a ResigningTextCell lets through ("1234567890"); empty before the start-up.
extern std::string_view digitCharacterSet;

// Registers the bundle's classes (and RS2Localizer when the process has no
// such class yet), opens the bundle and sets the digit set. Does nothing
// outside the Settings app, whose framework the pages need.
void startSettingsBundle();

}  // namespace rousa

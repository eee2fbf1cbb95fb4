// The settings pages, each a Rousa2BaseController with its page description:
// the root page "Rousa2" (title image, web link, support mail), the global
// settings "Rousa2Configuration", the time-until-alarm settings "Rousa2Time",
// the defaults of new alarms "Rousa2Defaults", the Activator actions
// "Rousa2Activator" and the credits "Rousa2Credits"; and
// WKSTimeFormatListController, the examples of the time formats
// ("WKSTimeFormat", not localized). Settings app main thread.
#pragma once

#include "settings/base_controller.h"

namespace rousa {

// The root page's title image and the address its web link opens.
inline constexpr const char* kTitleImagePath = "/Library/PreferenceBundles/Rousa2.bundle/Rousa2.png";
inline constexpr const char* kWebsiteAddress = "https://quillory.net/rousa2";

void registerPageClasses();

}  // namespace rousa

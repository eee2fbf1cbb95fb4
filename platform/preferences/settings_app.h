// The Settings app around the pages: its window (key and visible) with a
// navigation controller whose root is the app's own (empty) list, and the
// opening of a preference bundle's entry: the bundle's principal page
// (NSPrincipalClass of its Info.plist; its executable must be loaded) made
// with a row that names the bundle, pushed and titled with the entry's label.
// Settings app main thread only.
#pragma once

#include <string_view>

#include "platform/preferences/list_controller.h"
#include "platform/uikit/navigation_controller.h"

namespace platform::preferences {

// Made on first use; lives as long as the process.
UINavigationController* rootNavigationController();
// The page opened; null when the bundle or its principal class is missing.
Ref<PSListController> openBundle(std::string_view bundlePath, std::string_view label);

}  // namespace platform::preferences

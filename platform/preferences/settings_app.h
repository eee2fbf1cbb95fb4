// The Settings app around the pages. Its application delegate
// (PreferencesAppDelegate) shows, when the app has launched, its window (key
// and visible) with a navigation controller whose root is the app's own list
// (PrefsListController, "Settings"). The list has one link row per
// PreferenceLoader entry: each "<Name>.plist" of kPreferenceLoaderFolder holds
// {"entry": {"bundle", "cell", "label", ...}}; a tap on the row loads the
// executable of "/Library/PreferenceBundles/<bundle>.bundle" when its
// principal class is not loaded yet, then opens the bundle with the entry's
// label. Opening a bundle makes its principal page (NSPrincipalClass of its
// Info.plist; its executable must be loaded) with a row that names the
// bundle, pushes it and titles it with the label. Settings app main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/preferences/list_controller.h"
#include "platform/uikit/navigation_controller.h"

namespace platform::preferences {

inline constexpr const char* kPreferenceLoaderFolder = "/Library/PreferenceLoader/Preferences";
inline constexpr const char* kPreferenceBundlesFolder = "/Library/PreferenceBundles";

// Made on first use, with the window; lives as long as the process.
UINavigationController* rootNavigationController();
// The page opened; null when the bundle or its principal class is missing.
Ref<PSListController> openBundle(std::string_view bundlePath, std::string_view label);
// Loads "<bundlePath>/<name>" for the bundle "<name>.bundle" (loadDeviceLibrary);
// false when it is missing or does not load.
bool loadBundleExecutable(std::string_view bundlePath);
// The device path of a PreferenceLoader entry's bundle ("Rousa2" ->
// "/Library/PreferenceBundles/Rousa2.bundle").
std::string entryBundlePath(std::string_view bundleName);

// Registers PrefsListController and PreferencesAppDelegate.
void registerSettingsAppClasses();

}  // namespace platform::preferences

// The Substrate loader: after boot, loads every tweak library of
// "/Library/MobileSubstrate/DynamicLibraries" whose filter property list names
// this process's bundle identifier, with the system's dlopen, so that its
// start-up runs in this process over the one platform already loaded here.
// Bundle executables (settings pages) are loaded the same way when needed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::host {

inline constexpr const char* kDynamicLibrariesFolder = "/Library/MobileSubstrate/DynamicLibraries";

// The names of the libraries loaded ("Rousa2").
std::vector<std::string> loadTweakLibraries();
// Whether a filter property list names the bundle identifier.
bool filterNames(std::string_view filterPath, std::string_view bundleIdentifier);
// Loads "<bundlePath>/<name>" for the bundle "<name>.bundle"; false when it is
// missing or does not load.
bool loadBundleExecutable(std::string_view bundlePath);

}  // namespace platform::host

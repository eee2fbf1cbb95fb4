// The Substrate loader: after boot, loads every tweak library of
// "/Library/MobileSubstrate/DynamicLibraries" whose filter property list names
// this process's bundle identifier, with the system's dlopen, so that its
// start-up runs in this process over the one platform already loaded here.
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

}  // namespace platform::host

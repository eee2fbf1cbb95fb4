// What this simulated process is: its host (bundle identifier), iOS version,
// time zone and which platform pieces it has. Set once by boot.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform::process {

struct Info {
    std::string bundleIdentifier;
    std::string systemVersion;     // "9.3"
    double coreFoundationVersion;  // kCFCoreFoundationVersionNumber
    std::string timeZone;          // an IANA name, "UTC" by default
};

void set(Info info);
const Info& info();
const std::string& bundleIdentifier();
bool isSpringBoard();
bool isClockApp();
bool isSettingsApp();

// Which platform libraries this process has (boot installs the rule: what a
// test leaves out is missing). Which classes it has is the runtime's class filter.
void setLibraryPresence(std::function<bool(std::string_view path)> hasLibrary);
bool hasLibrary(std::string_view path);

}  // namespace platform::process

// boot: sets up one simulated iOS process: which host it is, its iOS version,
// its device root, time zone and clock, and which platform classes and
// libraries it has; then registers the platform's classes. Starts no threads.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/network/reachability.h"
#include "platform/runtime/value.h"

namespace platform::host {

inline constexpr const char* kSpringBoard = "com.apple.springboard";
inline constexpr const char* kClockApp = "com.apple.mobiletimer";
inline constexpr const char* kSettingsApp = "com.apple.Preferences";
// The `app` host kind: a publisher app, with a sandbox of its own.
inline constexpr const char* kPublisherApp = "net.quillory.AdSample";

struct BootOptions {
    std::string bundleIdentifier = kSpringBoard;
    // The iOS version string and the CoreFoundation version number; each
    // defaults from the other, and both may be set (for a number between the
    // ranges of two versions). Neither set: iOS 9.3.
    std::string systemVersion;
    double coreFoundationVersion = 0;
    std::string deviceRoot;  // host folder that stands for "/"
    std::string timeZone = "UTC";
    std::set<std::string> missingClasses;
    std::set<std::string> missingLibraries;
    // Set: the clock is virtual and starts here; unset: the real clock.
    std::optional<Date> virtualClockStart;
    std::function<std::uint32_t()> random;
    // A seed for the default random source, so that a run can be repeated.
    std::optional<std::uint64_t> randomSeed;
    // The device: 0 phone (320 x 568 points), 1 pad (768 x 1024); the screen's scale.
    long long interfaceIdiom = 0;
    double screenScale = 2.0;
    // The device's network, as reachability reports it.
    network::Connectivity connectivity = network::Connectivity::wifi;
};

void boot(const BootOptions& options);
// Whether this process was booted (a forked child inherits its parent's boot).
bool isBooted();

// The CoreFoundation version number of an iOS version ("7.1" -> 847.24) and back.
double coreFoundationVersionFor(const std::string& systemVersion);
std::string systemVersionFor(double coreFoundationVersion);

// The device path of a host's own app bundle.
std::string bundlePathFor(const std::string& bundleIdentifier);
// The device path of an app's sandbox (its home folder, holding Documents,
// Library/Caches and Library/Preferences); "/var/mobile" for the system's hosts.
std::string homePathFor(const std::string& bundleIdentifier);

}  // namespace platform::host

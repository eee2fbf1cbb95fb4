#include "platform/host/boot.h"

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/foundation.h"
#include "platform/foundation/process.h"
#include "platform/foundation/random.h"
#include "platform/frameworks/frameworks.h"
#include "platform/mobiletimer/mobiletimer.h"
#include "platform/network/network.h"
#include "platform/preferences/specifier.h"
#include "platform/springboard/springboard.h"
#include "platform/foundation/run_loop.h"
#include "platform/runtime/runtime.h"
#include "platform/uikit/uikit.h"
#include "platform/webkit/web_view.h"

namespace platform::host {

namespace {
struct VersionPair {
    const char* version;
    double number;
};
// Releases and their CoreFoundation numbers, oldest first.
constexpr VersionPair kVersions[] = {
    {"7.0", 847.20}, {"7.1", 847.24}, {"8.0", 1140.10}, {"8.1", 1141.14}, {"8.2", 1142.16}, {"8.3", 1144.17},
    {"8.4", 1145.15}, {"9.0", 1240.10}, {"9.1", 1241.11}, {"9.2", 1242.13}, {"9.3", 1280.38},
};

std::string displayNameFor(const std::string& bundleIdentifier) {
    if (bundleIdentifier == kClockApp) return "Clock";
    if (bundleIdentifier == kSettingsApp) return "Settings";
    if (bundleIdentifier == kSpringBoard) return "SpringBoard";
    if (bundleIdentifier == kPublisherApp) return "AdSample";
    return bundleIdentifier;
}
}  // namespace

double coreFoundationVersionFor(const std::string& systemVersion) {
    double best = kVersions[0].number;
    for (const auto& v : kVersions) {
        // "8.1.2" counts as 8.1; a version newer than every entry gets the newest.
        std::string prefix = v.version;
        if (systemVersion.compare(0, prefix.size(), prefix) == 0) return v.number;
        if (stringDoubleValue(systemVersion) >= stringDoubleValue(v.version)) best = v.number;
    }
    return best;
}

std::string systemVersionFor(double number) {
    std::string best = kVersions[0].version;
    for (const auto& v : kVersions)
        if (number >= v.number) best = v.version;
    return best;
}

std::string bundlePathFor(const std::string& bundleIdentifier) {
    if (bundleIdentifier == kSpringBoard) return "/System/Library/CoreServices/SpringBoard.app";
    if (bundleIdentifier == kClockApp) return "/Applications/MobileTimer.app";
    if (bundleIdentifier == kSettingsApp) return "/Applications/Preferences.app";
    return "/Applications/" + bundleIdentifier + ".app";
}

std::string homePathFor(const std::string& bundleIdentifier) {
    if (bundleIdentifier != kPublisherApp) return "/var/mobile";
    return "/var/mobile/Containers/Data/Application/" + bundleIdentifier;
}

namespace {
bool booted = false;

Value infoDictionaryFor(const std::string& bundleIdentifier, const std::string& systemVersion) {
    Value::Dictionary info{{"CFBundleIdentifier", Value(bundleIdentifier)},
                           {"CFBundleDisplayName", Value(displayNameFor(bundleIdentifier))},
                           {"CFBundleVersion", Value(systemVersion)}};
    if (bundleIdentifier == kPublisherApp) {
        // A store app: its own version and the SDK it was built with.
        info["CFBundleVersion"] = Value("1.0");
        info["CFBundleShortVersionString"] = Value("1.0");
        info["DTSDKName"] = Value("iphoneos9.3");
        info["DTPlatformName"] = Value("iphoneos");
    }
    return Value(std::move(info));
}
}  // namespace

bool isBooted() { return booted; }

void boot(const BootOptions& options) {
    booted = true;
    if (options.virtualClockStart) clock::useVirtual(*options.virtualClockStart);
    else clock::useReal();
    RunLoop::main().adoptCurrentThread();

    if (!options.deviceRoot.empty()) fs::setDeviceRoot(options.deviceRoot);

    std::string version = options.systemVersion;
    double number = options.coreFoundationVersion;
    if (version.empty() && number == 0) version = "9.3";
    if (number == 0) number = coreFoundationVersionFor(version);
    if (version.empty()) version = systemVersionFor(number);
    kCFCoreFoundationVersionNumber = number;
    process::set(process::Info{options.bundleIdentifier, version, number, options.timeZone});

    auto missingClasses = options.missingClasses;
    setClassFilter([missingClasses](std::string_view name) { return !missingClasses.count(std::string(name)); });
    auto missingLibraries = options.missingLibraries;
    process::setLibraryPresence([missingLibraries](std::string_view path) { return !missingLibraries.count(std::string(path)); });

    setRandomSource(options.random);
    if (options.randomSeed) seedRandom(*options.randomSeed);

    runtime::registerClasses();
    foundation::registerClasses();
    network::registerClasses();
    network::setConnectivity(options.connectivity);
    uikit::setDeviceTraits({options.interfaceIdiom, options.screenScale});
    uikit::registerClasses();
    webkit::registerClasses();
    mobiletimer::registerClasses();
    springboard::registerClasses();
    frameworks::registerClasses();
    if (options.bundleIdentifier == kPublisherApp) frameworks::registerAppClasses();
    preferences::registerClasses();

    NSBundle::setMainBundle(bundlePathFor(options.bundleIdentifier), infoDictionaryFor(options.bundleIdentifier, version));

    std::string home = homePathFor(options.bundleIdentifier);
    setHomeDirectory(home);
    if (options.bundleIdentifier == kPublisherApp)
        for (const char* folder : {"/Documents", "/Library/Caches", "/Library/Preferences"}) fs::createDirectories(home + folder);
}

}  // namespace platform::host

#include "platform/host/application_classes.h"

#include "platform/host/boot.h"
#include "platform/runtime/runtime.h"

namespace platform::host {

namespace {
Value ifRegistered(const char* className) { return objc_getClass(className) ? Value(className) : Value(); }
}  // namespace

ApplicationClasses applicationClassesFor(std::string_view bundleIdentifier) {
    if (bundleIdentifier == kSpringBoard) return {ifRegistered("SpringBoard"), Value()};
    if (bundleIdentifier == kClockApp) return {Value(), ifRegistered("MobileTimerAppDelegate")};
    if (bundleIdentifier == kSettingsApp) return {Value(), ifRegistered("PreferencesAppDelegate")};
    if (bundleIdentifier == kPublisherApp) return {Value(), ifRegistered("AdSampleAppDelegate")};
    return {};
}

}  // namespace platform::host

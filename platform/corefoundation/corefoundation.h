// CoreFoundation: the absolute time, the version number, application
// preferences over the domain's property-list file, and the Darwin notify centre.
#pragma once

#include <string_view>

#include "platform/runtime/value.h"

namespace platform {

// Seconds since the reference date (2001-01-01 UTC), from the process's clock:
// the virtual clock in tests, the real one in programs; from any thread.
using CFAbsoluteTime = double;
CFAbsoluteTime CFAbsoluteTimeGetCurrent();

// Set by boot from the iOS version of the process.
extern double kCFCoreFoundationVersionNumber;

// Preferences of a domain live in "/var/mobile/Library/Preferences/<domain>.plist".
// Reads come from the process's copy of the file, read on first use and again
// on CFPreferencesAppSynchronize; a set is written through under the file's
// lock and returns after the file is on disk, so the process sees it at once.
Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationID);
// A nil value removes the key.
void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view applicationID);
bool CFPreferencesAppSynchronize(std::string_view applicationID);
std::string CFPreferencesPathForDomain(std::string_view applicationID);

// The Darwin notify centre: names only (object and user information are not
// carried). Observers are called on the main run loop, in this process and,
// through the device transport, in the others.
struct CFNotificationCenter;
using CFNotificationCenterRef = CFNotificationCenter*;
using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer, const Value& name, const void* object,
                                        const Value& userInfo);
enum CFNotificationSuspensionBehavior {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback,
                                     const Value& name, const void* object, CFNotificationSuspensionBehavior behavior);
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, const Value& name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const Value& name, const void* object,
                                          const Value& userInfo, bool deliverImmediately);
// A Darwin notification that arrived from another process.
void CFNotificationCenterDeliverFromOtherProcess(std::string_view name);

}  // namespace platform

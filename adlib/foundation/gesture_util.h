// YBXGestureUtil (class operations only: reachability flags, a view's class
// chain, the walk over the key window's visible views) and YBXGestureIdUtil
// (the device identifier the signals carry, its type and the opt-out). The
// view walk and the identifier util run on the main thread.
#pragma once

#include <cstdint>
#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/reachability.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id, SCNetworkReachabilityFlags*)> reachability_{"reachability:"};
inline constexpr Sel<std::string(id, id, long long)> viewInheritenceHierarchy_maxSize_{"viewInheritenceHierarchy:maxSize:"};
inline constexpr Sel<Value(id, std::string)> walkViews_{"walkViews:"};
inline constexpr Sel<void(id, int*, int*, int*)> getOSMajor_minor_bugFix_32_{"getOSMajor:minor:bugFix:"};
inline constexpr Sel<Value(id)> deviceIdentifierType{"deviceIdentifierType"};
inline constexpr Sel<bool(id)> deviceOptedOut{"deviceOptedOut"};
inline constexpr Sel<Value(id)> deviceIdentifierText{"deviceIdentifier"};
}  // namespace sel

// The user-defaults key of the per-app identifier of systems before iOS 6.
inline constexpr const char* kYBXAppIdDefaultsKey = "madAppId";
inline constexpr std::size_t kYBXViewNameMaxSize = 128;

class YBXGestureUtil : public NSObject {
public:
    // The flags for the all-zero IPv4 address; 0 when they cannot be read.
    static SCNetworkReachabilityFlags reachability();
    // The class name, then ":" and each superclass up to the root; cut to
    // maxSize characters; "" for null.
    static std::string viewInheritenceHierarchy(id view, std::size_t maxSize);
    // A record for every visible view under the key window, in order; below a
    // view whose class chain is `stop` the walk does not descend.
    static Value walkViews(const std::string& stop);
};

class YBXGestureIdUtil : public NSObject {
public:
    static YBXGestureIdUtil* sharedInstance();
    static void getOSVersion(int* major, int* minor, int* bugFix);
    static bool isOSAtLeast(int major, int minor, int bug);

    // The advertising identifier's text (OS 6 and later), else the per-app one.
    Value deviceIdentifier();
    // 4 (advertising identifier) on OS 6 and later, else 1 (per-app UUID).
    int deviceIdentifierType();
    bool deviceOptedOut();

    NSUserDefaults* userDefaults_ = nullptr;
};

void registerGestureUtilClasses();

}  // namespace adlib

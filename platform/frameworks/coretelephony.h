// CoreTelephony: CTTelephonyNetworkInfo's current radio access technology,
// which tests set; a change is announced on the default centre from a worker
// thread, as the platform does. Any thread.
#pragma once

#include "platform/frameworks/selectors.h"

namespace platform {

inline constexpr const char* CTRadioAccessTechnologyDidChangeNotification = "CTRadioAccessTechnologyDidChangeNotification";
inline constexpr const char* CTRadioAccessTechnologyGPRS = "CTRadioAccessTechnologyGPRS";
inline constexpr const char* CTRadioAccessTechnologyEdge = "CTRadioAccessTechnologyEdge";
inline constexpr const char* CTRadioAccessTechnologyWCDMA = "CTRadioAccessTechnologyWCDMA";
inline constexpr const char* CTRadioAccessTechnologyHSDPA = "CTRadioAccessTechnologyHSDPA";
inline constexpr const char* CTRadioAccessTechnologyHSUPA = "CTRadioAccessTechnologyHSUPA";
inline constexpr const char* CTRadioAccessTechnologyCDMA1x = "CTRadioAccessTechnologyCDMA1x";
inline constexpr const char* CTRadioAccessTechnologyCDMAEVDORev0 = "CTRadioAccessTechnologyCDMAEVDORev0";
inline constexpr const char* CTRadioAccessTechnologyCDMAEVDORevA = "CTRadioAccessTechnologyCDMAEVDORevA";
inline constexpr const char* CTRadioAccessTechnologyCDMAEVDORevB = "CTRadioAccessTechnologyCDMAEVDORevB";
inline constexpr const char* CTRadioAccessTechnologyeHRPD = "CTRadioAccessTechnologyeHRPD";
inline constexpr const char* CTRadioAccessTechnologyLTE = "CTRadioAccessTechnologyLTE";

namespace sel {
inline constexpr Sel<Value(id)> currentRadioAccessTechnology{"currentRadioAccessTechnology"};
}  // namespace sel

class CTTelephonyNetworkInfo : public NSObject {};

namespace coretelephony {
// LTE at first; nil means no cellular radio.
void setRadioAccessTechnology(Value technology);
// Sets the technology and posts the change notification from a worker
// thread, returning when the post was delivered.
void changeRadioAccessTechnologyFromWorker(Value technology);
void registerClasses();
}  // namespace coretelephony

}  // namespace platform

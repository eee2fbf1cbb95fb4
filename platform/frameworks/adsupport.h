// AdSupport: ASIdentifierManager, the advertising identifier and whether the
// user allows tracking with it. Tests set both; any thread.
#pragma once

#include <string>

#include "platform/frameworks/selectors.h"

namespace platform {

namespace sel {
inline constexpr Sel<Ref<Object>(id)> sharedManager{"sharedManager"};  // class method
inline constexpr Sel<bool(id)> isAdvertisingTrackingEnabled{"isAdvertisingTrackingEnabled"};
inline constexpr Sel<Ref<Object>(id)> advertisingIdentifier{"advertisingIdentifier"};  // an NSUUID or nil
}  // namespace sel

class ASIdentifierManager : public NSObject {};

namespace adsupport {
// Tracking on, with a fixed identifier, at first. An empty identifier gives nil.
void setAdvertising(bool trackingEnabled, std::string identifier);
void registerClasses();
}  // namespace adsupport

}  // namespace platform

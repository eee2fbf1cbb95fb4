// YBXNetwork: the library's network monitor. For now only switched on and off
// by the device; watching reachability comes with the connections.
#pragma once

#include <atomic>

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id)> enableNetworkChecking{"enableNetworkChecking"};
inline constexpr Sel<void(id)> disableNetworkChecking{"disableNetworkChecking"};
inline constexpr Sel<bool(id)> isNetworkCheckingEnabled{"isNetworkCheckingEnabled"};
}  // namespace sel

class YBXNetwork : public NSObject {
public:
    std::atomic<bool> checking_{false};
};

void registerNetworkClass();

}  // namespace adlib

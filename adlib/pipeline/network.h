// YBXNetwork: the library's network monitor. It watches the reachability of
// the ad server's host and answers the network type that every ad request
// sends. Any thread: its fields are read synchronously and written
// asynchronously on its lock queue; enabling and disabling are serialised on
// the enable queue, which also hears the reachability callbacks. While it
// checks, the monitor keeps itself alive.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"
#include "platform/network/reachability.h"

namespace adlib {

// Network type codes.
inline constexpr unsigned long long YBXNetworkTypeUnknown = 0;
inline constexpr unsigned long long YBXNetworkTypeNotReachable = 1;
inline constexpr unsigned long long YBXNetworkTypeWiFi = 2;
inline constexpr unsigned long long YBXNetworkTypeCellular = 3;

namespace sel {
inline constexpr Sel<void(id)> enableNetworkChecking{"enableNetworkChecking"};
inline constexpr Sel<void(id)> disableNetworkChecking{"disableNetworkChecking"};
inline constexpr Sel<bool(id)> isNetworkCheckingEnabled{"isNetworkCheckingEnabled"};
inline constexpr Sel<unsigned long long(id)> networkType{"networkType"};
inline constexpr Sel<void(id, unsigned long long)> setNetworkType_{"setNetworkType:"};
inline constexpr Sel<void(id, unsigned int)> setNetworkTypeFromFlags_{"setNetworkTypeFromFlags:"};
inline constexpr Sel<unsigned long long(id)> lastKnownNetworkType{"lastKnownNetworkType"};
inline constexpr Sel<unsigned long long(id)> changeCount{"changeCount"};
inline constexpr Sel<Value(id)> networkTypeString{"networkTypeString"};
inline constexpr Sel<Value(id)> lastKnownNetworkTypeString{"lastKnownNetworkTypeString"};
}  // namespace sel

// "wi" for Wi-Fi, "ed" for cellular, nil for the others.
Value YBXNetworkTypeString(unsigned long long type);
// Cellular (WWAN) only while reachable; reachable otherwise Wi-Fi; else not reachable.
unsigned long long YBXNetworkTypeFromFlags(SCNetworkReachabilityFlags flags);

class YBXNetwork : public NSObject {
public:
    ~YBXNetwork() override;

    void enableNetworkChecking();
    void disableNetworkChecking();
    bool isNetworkCheckingEnabled();

    unsigned long long networkType();
    unsigned long long lastKnownNetworkType();
    unsigned long long changeCount();
    void setNetworkType(unsigned long long type);
    void setNetworkTypeFromFlags(SCNetworkReachabilityFlags flags);

private:
    friend void registerNetworkClass();
    void setUp();

    dispatch_queue_t lockQueue_ = nullptr;
    dispatch_queue_t enableCheckingQueue_ = nullptr;
    // On the lock queue.
    unsigned long long changeCount_ = 0;
    unsigned long long networkType_ = YBXNetworkTypeUnknown;
    unsigned long long lastKnownNetworkType_ = YBXNetworkTypeUnknown;
    // On the enable queue.
    SCNetworkReachabilityRef networkReachabilityRef_;
    Ref<Object> selfReference_;
};

void registerNetworkClass();

}  // namespace adlib

// SystemConfiguration's network reachability. What a target's flags say comes
// from the device's connectivity (Wi-Fi, cellular or none), which boot sets
// and tests change; every target reaches the network as the device does. A
// target with a callback and a dispatch queue hears each change of its flags
// on that queue; a target made from a host name also hears its flags once
// when it is first scheduled, as the platform calls back once the name has
// been resolved.
#pragma once

#include <sys/socket.h>

#include <cstdint>

#include "platform/foundation/dispatch.h"
#include "platform/runtime/nsobject.h"

namespace platform {

using SCNetworkReachabilityFlags = std::uint32_t;
inline constexpr SCNetworkReachabilityFlags kSCNetworkReachabilityFlagsTransientConnection = 1u << 0;
inline constexpr SCNetworkReachabilityFlags kSCNetworkReachabilityFlagsReachable = 1u << 1;
inline constexpr SCNetworkReachabilityFlags kSCNetworkReachabilityFlagsConnectionRequired = 1u << 2;
inline constexpr SCNetworkReachabilityFlags kSCNetworkReachabilityFlagsIsWWAN = 1u << 18;

class SCNetworkReachability;
using SCNetworkReachabilityRef = Ref<SCNetworkReachability>;

using SCNetworkReachabilityCallBack = void (*)(SCNetworkReachability* target, SCNetworkReachabilityFlags flags, void* info);
struct SCNetworkReachabilityContext {
    long version = 0;
    void* info = nullptr;
    const void* (*retain)(const void* info) = nullptr;
    void (*release)(const void* info) = nullptr;
    const char* (*copyDescription)(const void* info) = nullptr;
};

class SCNetworkReachability : public NSObject {
public:
    ~SCNetworkReachability() override;

private:
    friend struct ReachabilityAccess;
    // Guarded by the process's one reachability lock.
    bool byName_ = false;
    bool announced_ = false;  // a name target's first callback was sent
    SCNetworkReachabilityCallBack callback_ = nullptr;
    SCNetworkReachabilityContext context_;
    dispatch_queue_t queue_ = nullptr;
};

// The allocator argument is the platform's and is not used. Null for a null
// name or address.
SCNetworkReachabilityRef SCNetworkReachabilityCreateWithName(const void* allocator, const char* nodename);
SCNetworkReachabilityRef SCNetworkReachabilityCreateWithAddress(const void* allocator, const sockaddr* address);
bool SCNetworkReachabilityGetFlags(SCNetworkReachability* target, SCNetworkReachabilityFlags* flags);
// A null callback removes it. The context is copied; its info is retained
// through the context's retain and released when replaced or when the target
// goes.
bool SCNetworkReachabilitySetCallback(SCNetworkReachability* target, SCNetworkReachabilityCallBack callout,
                                      SCNetworkReachabilityContext* context);
// A null queue stops the callbacks.
bool SCNetworkReachabilitySetDispatchQueue(SCNetworkReachability* target, dispatch_queue_t queue);

namespace network {
enum class Connectivity { wifi, cellular, none };
// The device's connectivity; a change calls back every scheduled target whose
// flags it changes. Wi-Fi at first.
void setConnectivity(Connectivity connectivity);
Connectivity connectivity();
SCNetworkReachabilityFlags flagsFor(Connectivity connectivity);
void registerReachability();
}  // namespace network

}  // namespace platform

// The mediation protocols: YBXMAdNetworkAdapter (what an adapter class
// implements), YBXMAdNetworkConnector (what an adapter may ask of its
// connector) and YBXMDelegate (what the manager and connectors ask of the
// glue). Their selectors are declared in selectors.h in protocol order;
// here they get their runtime names, registered once while the library starts.
#pragma once

#include <type_traits>
#include <utility>

#include "adlib/foundation/selectors.h"

namespace adlib {

inline constexpr const char* kYBXMAdNetworkAdapterProtocol = "YBXMAdNetworkAdapter";
inline constexpr const char* kYBXMAdNetworkConnectorProtocol = "YBXMAdNetworkConnector";
inline constexpr const char* kYBXMDelegateProtocol = "YBXMDelegate";

void registerMediationProtocols();

// Sends to a weakly held delegate only what it implements; otherwise the zero
// answer. Delegates of the mediation protocols implement what they choose.
template <class R, class... A, class... Args>
R askOptional(const WeakRef<Object>& target, Sel<R(id, A...)> selector, Args&&... args) {
    Ref<Object> delegate = target.lock();
    if (!delegate || !respondsToSelector(delegate, selector.name)) {
        if constexpr (std::is_void_v<R>) return;
        else return R{};
    }
    return selector(delegate, std::forward<Args>(args)...);
}

}  // namespace adlib

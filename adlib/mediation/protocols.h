// The mediation protocols: YBXMAdNetworkAdapter (what an adapter class
// implements), YBXMAdNetworkConnector (what an adapter may ask of its
// connector) and YBXMDelegate (what the manager and connectors ask of the
// glue). Their selectors are declared in selectors.h in protocol order;
// here they get their runtime names, registered once while the library starts.
#pragma once

namespace adlib {

inline constexpr const char* kYBXMAdNetworkAdapterProtocol = "YBXMAdNetworkAdapter";
inline constexpr const char* kYBXMAdNetworkConnectorProtocol = "YBXMAdNetworkConnector";
inline constexpr const char* kYBXMDelegateProtocol = "YBXMDelegate";

void registerMediationProtocols();

}  // namespace adlib

// The mediation protocols: YBXMAdNetworkAdapter (what an adapter class
// implements), YBXMAdNetworkConnector (what an adapter may ask of its
// connector) and YBXMDelegate (what the manager and connectors ask of the
// glue). Their selectors are declared in selectors.h in protocol order;
// here the connector's and the delegate's get their runtime names, registered
// once while the library starts.
#pragma once

#include "adlib/mediation/ad_network_adapter.h"

namespace adlib {

// kYBXMAdNetworkAdapterProtocol: with the adapter discovery.
inline constexpr const char* kYBXMAdNetworkConnectorProtocol = "YBXMAdNetworkConnector";
inline constexpr const char* kYBXMDelegateProtocol = "YBXMDelegate";

void registerMediationProtocols();

}  // namespace adlib

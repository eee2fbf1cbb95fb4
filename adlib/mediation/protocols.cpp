#include "adlib/mediation/protocols.h"

#include "platform/runtime/runtime.h"

namespace adlib {

void registerMediationProtocols() {
    for (const char* name : {kYBXMAdNetworkAdapterProtocol, kYBXMAdNetworkConnectorProtocol, kYBXMDelegateProtocol}) {
        if (platform::objc_getProtocol(name)) continue;
        platform::objc_registerProtocol(platform::objc_allocateProtocol(name));
    }
}

}  // namespace adlib

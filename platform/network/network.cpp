#include "platform/network/network.h"

#include "platform/network/connection.h"
#include "platform/network/reachability.h"
#include "platform/network/response.h"
#include "platform/network/url.h"
#include "platform/network/url_protocol.h"

namespace platform::network {

void registerClasses() {
    registerURL();
    registerRequests();
    registerResponses();
    registerConnection();
    registerURLProtocol();
    registerReachability();
}

}  // namespace platform::network

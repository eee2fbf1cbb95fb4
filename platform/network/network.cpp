#include "platform/network/network.h"

#include "platform/network/connection.h"
#include "platform/network/response.h"
#include "platform/network/url.h"

namespace platform::network {

void registerClasses() {
    registerURL();
    registerRequests();
    registerResponses();
    registerConnection();
}

}  // namespace platform::network

#include "platform/network/network.h"

#include "platform/network/response.h"
#include "platform/network/url.h"

namespace platform::network {

void registerClasses() {
    registerURL();
    registerRequests();
    registerResponses();
}

}  // namespace platform::network

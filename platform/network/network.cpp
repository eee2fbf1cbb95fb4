#include "platform/network/network.h"

#include "platform/network/url.h"

namespace platform::network {

void registerClasses() {
    registerURL();
}

}  // namespace platform::network

// YBXMRAIDInterceptor: the URL protocol class that answers an MRAID
// creative's load of "mraid.js" with the library's own script. Its state is
// class-wide and guarded by one class lock, so any thread may switch it.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url_protocol.h"

namespace adlib {

class YBXMRAIDInterceptor : public NSURLProtocol {
public:
    // Whether the interceptor may claim loads at all; starts NO.
    static void allow();
    static void disallow();
    static bool isAllowed();
    // How many ad requests are on their way: while any is, loads may be claimed.
    static void enableCanInitWithRequest();
    static void disableCanInitWithRequest();
    static void resetCanInitWithRequestCounter();
    static bool canInitWithRequestIsEnabled();
};

void registerMRAIDInterceptorClass();

}  // namespace adlib

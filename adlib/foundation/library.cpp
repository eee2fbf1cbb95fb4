#include "adlib/foundation/library.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"

namespace adlib {

void registerClasses() {
    // The runtime keeps the first registration; a class cannot be registered twice.
    if (objc_getClass("YBXMacros") || !objc_getClass("NSObject")) return;
    registerMacrosClass();
    registerDeviceClass();
    registerAdTypeClasses();
    registerRequestErrorClasses();
}

}  // namespace adlib

#include "adlib/pipeline/network.h"

namespace adlib {

void registerNetworkClass() {
    ClassBuilder<YBXNetwork>("YBXNetwork", "NSObject")
        .method(sel::enableNetworkChecking, [](id self) { as<YBXNetwork>(self)->checking_ = true; })
        .method(sel::disableNetworkChecking, [](id self) { as<YBXNetwork>(self)->checking_ = false; })
        .method(sel::isNetworkCheckingEnabled, [](id self) { return as<YBXNetwork>(self)->checking_.load(); });
}

}  // namespace adlib

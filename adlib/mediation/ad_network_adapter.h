// YBXMAdNetworkAdapter: the discovery of mediation adapter classes, every
// class whose chain adopts the adapter protocol of the same name. The list is
// made once per process, after the classes are registered; any thread.
#pragma once

#include "adlib/foundation/selectors.h"
#include "adlib/mediation/protocols.h"

namespace adlib {

// The names of the adapter classes (sorted); nil when there is none.
Value YBXMAvailableAdapterNames();
bool YBXMClassIsAdapterClass(const Class* cls);
// Whether instances of the class answer getBannerWithSize: (adapters of an
// older interface do not).
bool YBXMClassImplementsCurrentAdapterAPI(const Class* cls);

void registerAdNetworkAdapterClass();

}  // namespace adlib

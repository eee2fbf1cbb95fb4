// The tweak library as a host loads it: its start-up runs when the library is
// loaded, before the host's main.
#include "adlib/foundation/library.h"
#include "tweak/engine/installer.h"

namespace {
__attribute__((constructor)) void loadRousa2() {
    rousa::startTweakLibrary();
    adlib::registerClasses();
}
}  // namespace

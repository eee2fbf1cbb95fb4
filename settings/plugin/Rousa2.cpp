// The settings bundle's executable as the Settings app loads it: its start-up
// runs when the plug-in is loaded.
#include "adlib/foundation/library.h"
#include "settings/settings.h"

namespace {
__attribute__((constructor)) void loadRousa2Bundle() {
    rousa::startSettingsBundle();
    adlib::registerClasses();
}
}  // namespace

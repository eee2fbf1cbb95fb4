#include "platform/frameworks/frameworks.h"

#include "platform/frameworks/activator.h"
#include "platform/frameworks/backboardservices.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/iokit_hid.h"

namespace platform::frameworks {

void registerClasses() {
    backboardservices::registerLibrary();
    activator::registerClasses();
    // Celestial, IOKit and AudioToolbox are in every host.
    celestial::registerClasses();
    iokit::registerClasses();
}

}  // namespace platform::frameworks

#include "platform/frameworks/frameworks.h"

#include "platform/frameworks/activator.h"
#include "platform/frameworks/backboardservices.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/iokit_hid.h"
#include "platform/frameworks/messageui.h"
#include "platform/frameworks/twitter.h"

namespace platform::frameworks {

void registerClasses() {
    backboardservices::registerLibrary();
    activator::registerClasses();
    // Celestial, IOKit and AudioToolbox are in every host.
    celestial::registerClasses();
    iokit::registerClasses();
    twitter::registerClasses();
    messageui::registerClasses();
}

}  // namespace platform::frameworks

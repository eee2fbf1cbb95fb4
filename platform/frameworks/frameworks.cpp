#include "platform/frameworks/frameworks.h"

#include "platform/frameworks/activator.h"
#include "platform/frameworks/adsupport.h"
#include "platform/frameworks/avfoundation.h"
#include "platform/frameworks/backboardservices.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/coretelephony.h"
#include "platform/frameworks/eventkit.h"
#include "platform/frameworks/iokit_hid.h"
#include "platform/frameworks/messageui.h"
#include "platform/frameworks/storekit.h"
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

void registerAppClasses() {
    adsupport::registerClasses();
    coretelephony::registerClasses();
    avfoundation::registerClasses();
    storekit::registerClasses();
    eventkit::registerClasses();
}

}  // namespace platform::frameworks

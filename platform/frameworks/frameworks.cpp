#include "platform/frameworks/frameworks.h"

#include "platform/frameworks/activator.h"
#include "platform/frameworks/backboardservices.h"

namespace platform::frameworks {

void registerClasses() {
    backboardservices::registerLibrary();
    activator::registerClasses();
}

}  // namespace platform::frameworks

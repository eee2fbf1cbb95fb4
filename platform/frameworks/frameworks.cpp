#include "platform/frameworks/frameworks.h"

#include "platform/frameworks/backboardservices.h"

namespace platform::frameworks {

void registerClasses() { backboardservices::registerLibrary(); }

}  // namespace platform::frameworks

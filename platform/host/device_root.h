// A device root: a folder that stands for the device's "/", holding what the
// build staged (the resources, the installed tweak and settings bundle) and the
// folders a device has.
#pragma once

#include <string>

namespace platform::host {

// A fresh temporary device root with the staged folder copied in (symbolic
// links kept, so that installed libraries point at the build's files).
std::string makeDeviceRoot(const std::string& stagedFolder);
void removeDeviceRoot(const std::string& root);

}  // namespace platform::host

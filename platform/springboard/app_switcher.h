// SBAppSwitcherModel: the app switcher's order (most recent first), plain
// state that tests and the scenario runner set.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/nsobject.h"

namespace platform {

class SBAppSwitcherModel : public NSObject {};

namespace springboard {
void setAppSwitcherOrder(std::vector<std::string> bundleIdentifiers);
const std::vector<std::string>& appSwitcherOrder();
void registerAppSwitcher();
}  // namespace springboard

}  // namespace platform

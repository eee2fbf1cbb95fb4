// The settings bundle's selectors: the platform's (Preferences, UIKit,
// Twitter), and those of the bundle's own classes.
#pragma once

#include "platform/frameworks/twitter.h"
#include "platform/preferences/list_controller.h"
#include "tweak/engine/selectors.h"

namespace rousa::sel {
inline constexpr Sel<void(id)> tweetSP{"tweetSP"};
inline constexpr Sel<void(id)> increaseAlpha{"increaseAlpha"};
inline constexpr Sel<void(id, id)> supportClicked_{"supportClicked:"};
inline constexpr Sel<void(id, id)> websiteClicked_{"websiteClicked:"};
inline constexpr Sel<double(id, double)> preferredHeightForWidth_{"preferredHeightForWidth:"};
inline constexpr Sel<Ref<Object>(id)> settingsView{"settingsView"};
inline constexpr Sel<void(id, id)> setSettingsView_{"setSettingsView:"};
}  // namespace rousa::sel

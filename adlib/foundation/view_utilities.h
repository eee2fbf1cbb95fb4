// YBXViewUtilities: where a view stands on the screen, as the banner view and
// the interstitial report it to creatives. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Value(id, id, id)> positionOfView_inScreen_{"positionOfView:inScreen:"};
}  // namespace sel

// "x", "y", "width", "height" (the frame in screen coordinates) and "visible";
// nil for a view without a superview or a window.
Value positionOfViewInScreen(id view, id screen);

void registerViewUtilitiesClass();

}  // namespace adlib

// YBXViewUtilities: where a view stands on the screen, as the banner view and
// the interstitial report it to creatives; and the UIView category
// YBXRenderAdditions, a view's snapshot. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Value(id, id, id)> positionOfView_inScreen_{"positionOfView:inScreen:"};
// An image of the view's layer in an image context of its bounds' size, scale 1.
inline constexpr Sel<Ref<Object>(id)> ybx_render{"ybx_render"};
}  // namespace sel

// "x", "y", "width", "height" (the frame in screen coordinates) and "visible";
// nil for a view without a superview or a window.
Value positionOfViewInScreen(id view, id screen);

// The share (0 to 1) of an image's pixels that are exactly the colour, both
// as premultiplied 8-bit RGBA bytes; 0 for an image without pixels or a
// colour without RGB or white components. Comparing bytes rather than
// fractions lets any colour match, not only multiples of 1/255.
double percentOfImageOfColor(id image, id color);

void registerViewUtilitiesClass();

}  // namespace adlib

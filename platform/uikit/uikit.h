// UIKit's core for the headless platform: registers its classes (boot calls
// registerClasses right after the foundation's) and carries the device traits
// (idiom, screen scale) that boot passes in. The headers of the module:
//   geometry.h (AffineTransform), selectors.h, color.h, font.h, text_metrics.h,
//   layer.h, responder.h, view.h, animation.h, window.h, label.h, control.h,
//   button.h, image.h, image_view.h, screen.h (UIScreen, UIDevice),
//   application.h (UIApplication, UIApplicationMain), view_controller.h, touch.h.
#pragma once

#include "platform/uikit/screen.h"

namespace platform::uikit {

void registerClasses();

}  // namespace platform::uikit

// UIKit's core for the headless platform: registers its classes (boot calls
// registerClasses right after the foundation's) and carries the device traits
// (idiom, screen scale) that boot passes in. The headers of the module:
//   geometry.h (AffineTransform), selectors.h, color.h, font.h, text_metrics.h,
//   layer.h, responder.h, view.h, animation.h, window.h, label.h, control.h,
//   button.h, image.h, image_view.h, screen.h (UIScreen, UIDevice),
//   application.h (UIApplication, UIApplicationMain), view_controller.h, touch.h,
//   gesture_recognizer.h, long_press_gesture_recognizer.h, tap_gesture_recognizer.h,
//   visual_effect.h (UIVisualEffect, UIBlurEffect, UIVibrancyEffect), visual_effect_view.h.
//   table_view.h (UIScrollView, UITableView, UITableViewCell, NSIndexPath),
//   value_controls.h (UISwitch, UISlider, UIDatePicker), text_field.h, navigation.h,
//   navigation_controller.h, layout_constraint.h (NSLayoutConstraint),
//   alert_sheets.h (UIActionSheet, UIAlertView), graphics.h (CoreGraphics bitmap
//   contexts, UIKit image contexts, renderInContext:).
#pragma once

#include "platform/uikit/screen.h"

namespace platform::uikit {

void registerClasses();

}  // namespace platform::uikit

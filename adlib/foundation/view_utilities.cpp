#include "adlib/foundation/view_utilities.h"

#include "platform/uikit/graphics.h"
#include "platform/uikit/image.h"

namespace adlib {

Value positionOfViewInScreen(id view, id screen) {
    Ref<Object> superview = sel::superview(view);
    Ref<Object> window = sel::window(view);
    if (!superview || !window) return Value();
    Rect frame = sel::frame(view);
    Rect inWindow = sel::convertRect_toView_(superview, frame, window);
    Rect onScreen = sel::convertRect_toWindow_(window, inWindow, nullptr);
    Rect visibleArea = sel::applicationFrame(screen);
    double x = onScreen.x(), y = onScreen.y();
    bool visible = !sel::isHidden(view) && x + frame.width() > 0 && y + frame.height() > 0 && x <= visibleArea.width() &&
                   y <= visibleArea.height();
    return Value{{"x", static_cast<float>(x)},
                 {"y", static_cast<float>(y)},
                 {"width", static_cast<float>(onScreen.width())},
                 {"height", static_cast<float>(onScreen.height())},
                 {"visible", visible}};
}

namespace {

Ref<Object> render(id view) {
    UIGraphicsBeginImageContextWithOptions(sel::bounds(view).size, false, 1.0);
    sel::renderInContext_(sel::layer(view), UIGraphicsGetCurrentContext().get());
    Ref<Object> image(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    return image;
}

}  // namespace

void registerViewUtilitiesClass() {
    class_addMethod(objc_getClass("UIView"), sel::ybx_render, &render);
    ClassBuilder<NSObject>("YBXViewUtilities", "NSObject").classMethod(sel::positionOfView_inScreen_, [](id, id view, id screen) {
        return positionOfViewInScreen(view, screen);
    });
}

}  // namespace adlib

#include "adlib/foundation/view_utilities.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <vector>

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

std::uint8_t toByte(double fraction) { return static_cast<std::uint8_t>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255.0)); }

}  // namespace

double percentOfImageOfColor(id image, id color) {
    auto* uiImage = as<UIImage>(image);
    CGImageRef bitmap = uiImage ? uiImage->CGImage() : nullptr;
    const std::size_t width = CGImageGetWidth(bitmap), height = CGImageGetHeight(bitmap);
    if (width == 0 || height == 0) return 0.0;
    std::vector<double> c = CGColorGetComponents(color);
    double r, g, b, a;
    switch (CGColorGetColorSpaceModel(color)) {
        case kCGColorSpaceModelMonochrome:
            if (c.size() < 2) return 0.0;
            r = g = b = c[0];
            a = c[1];
            break;
        case kCGColorSpaceModelRGB:
            if (c.size() < 4) return 0.0;
            r = c[0], g = c[1], b = c[2], a = c[3];
            break;
        default: return 0.0;
    }
    const std::array<std::uint8_t, 4> wanted{toByte(r * a), toByte(g * a), toByte(b * a), toByte(a)};

    std::vector<std::uint8_t> pixels(width * height * 4);
    CGContextRef context = CGBitmapContextCreate(pixels.data(), width, height, 8, width * 4, CGColorSpaceCreateDeviceRGB(),
                                                 kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    if (!context) return 0.0;
    CGContextDrawImage(context, Rect(0, 0, static_cast<double>(width), static_cast<double>(height)), bitmap);
    std::size_t equal = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        if (std::equal(wanted.begin(), wanted.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i))) ++equal;
    return static_cast<double>(equal) / static_cast<double>(width * height);
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

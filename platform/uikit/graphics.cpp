#include "platform/uikit/graphics.h"

#include <algorithm>
#include <cmath>

#include "platform/uikit/color.h"
#include "platform/uikit/image.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/layer.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/view.h"

namespace platform {

namespace {

std::uint8_t toByte(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

}  // namespace

CGContext::CGContext(std::uint8_t* data, std::size_t width, std::size_t height, std::size_t bytesPerRow, bool opaque)
    : data_(data), width_(width), height_(height), bytesPerRow_(bytesPerRow), opaque_(opaque) {
    if (!data_) {
        own_.assign(bytesPerRow_ * height_, 0);
        data_ = own_.data();
    }
    State base;
    // CoreGraphics' own space: y up from the bottom row.
    base.ctm = AffineTransform{1, 0, 0, -1, 0, static_cast<double>(height_)};
    base.clip = Rect(0, 0, static_cast<double>(width_), static_cast<double>(height_));
    states_.push_back(base);
}

bool CGContext::pixelBox(Rect rect, long& x0, long& y0, long& x1, long& y1) const {
    Rect device = states_.back().ctm.apply(rect);
    const Rect& clip = states_.back().clip;
    double left = std::max(device.minX(), clip.minX()), right = std::min(device.maxX(), clip.maxX());
    double top = std::max(device.minY(), clip.minY()), bottom = std::min(device.maxY(), clip.maxY());
    // A pixel is covered when its centre is.
    x0 = std::lround(std::ceil(left - 0.5));
    x1 = std::lround(std::ceil(right - 0.5));
    y0 = std::lround(std::ceil(top - 0.5));
    y1 = std::lround(std::ceil(bottom - 0.5));
    x0 = std::max(x0, 0L);
    y0 = std::max(y0, 0L);
    x1 = std::min(x1, static_cast<long>(width_));
    y1 = std::min(y1, static_cast<long>(height_));
    return x0 < x1 && y0 < y1;
}

void CGContext::blend(std::uint8_t* pixel, const double src[4]) {
    double keep = 1 - src[3];
    for (int i = 0; i < 4; ++i) pixel[i] = toByte(src[i] + pixel[i] / 255.0 * keep);
    if (opaque_) pixel[3] = 255;
}

void CGContext::fill(Rect rect, const double rgba[4]) {
    long x0, y0, x1, y1;
    if (!pixelBox(rect, x0, y0, x1, y1)) return;
    double a = rgba[3] * states_.back().alpha;
    const double src[4] = {rgba[0] * a, rgba[1] * a, rgba[2] * a, a};
    for (long y = y0; y < y1; ++y)
        for (long x = x0; x < x1; ++x) blend(data_ + y * bytesPerRow_ + x * 4, src);
}

void CGContext::clear(Rect rect) {
    long x0, y0, x1, y1;
    if (!pixelBox(rect, x0, y0, x1, y1)) return;
    for (long y = y0; y < y1; ++y)
        for (long x = x0; x < x1; ++x) {
            std::uint8_t* p = data_ + y * bytesPerRow_ + x * 4;
            p[0] = p[1] = p[2] = 0;
            p[3] = opaque_ ? 255 : 0;
        }
}

void CGContext::draw(Rect rect, const CGImage& image) {
    if (image.width == 0 || image.height == 0) return;
    Rect device = states_.back().ctm.apply(rect);
    if (device.width() <= 0 || device.height() <= 0) return;
    long x0, y0, x1, y1;
    if (!pixelBox(rect, x0, y0, x1, y1)) return;
    // The image's top row goes where the rectangle's maximum y lands.
    bool upright = states_.back().ctm.apply(Point{rect.minX(), rect.maxY()}).y <= states_.back().ctm.apply(Point{rect.minX(), rect.minY()}).y;
    double alpha = states_.back().alpha;
    for (long y = y0; y < y1; ++y) {
        double fy = (y + 0.5 - device.minY()) / device.height();
        if (!upright) fy = 1 - fy;
        auto sy = std::min(image.height - 1, static_cast<std::size_t>(std::max(0.0, fy * image.height)));
        for (long x = x0; x < x1; ++x) {
            double fx = (x + 0.5 - device.minX()) / device.width();
            auto sx = std::min(image.width - 1, static_cast<std::size_t>(std::max(0.0, fx * image.width)));
            const std::uint8_t* s = &image.pixels[(sy * image.width + sx) * 4];
            const double src[4] = {s[0] / 255.0 * alpha, s[1] / 255.0 * alpha, s[2] / 255.0 * alpha, s[3] / 255.0 * alpha};
            blend(data_ + y * bytesPerRow_ + x * 4, src);
        }
    }
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return std::make_shared<const CGColorSpace>(); }

std::size_t CGImageGetWidth(const CGImageRef& image) { return image ? image->width : 0; }
std::size_t CGImageGetHeight(const CGImageRef& image) { return image ? image->height : 0; }

CGContextRef CGBitmapContextCreate(void* data, std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                                   std::size_t bytesPerRow, const CGColorSpaceRef& space, std::uint32_t bitmapInfo) {
    std::uint32_t alpha = bitmapInfo & kCGBitmapAlphaInfoMask;
    std::uint32_t order = bitmapInfo & kCGBitmapByteOrderMask;
    if (bitsPerComponent != 8 || !space || width == 0 || height == 0) return nullptr;
    if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big) return nullptr;
    if (alpha != kCGImageAlphaPremultipliedLast && alpha != kCGImageAlphaNoneSkipLast) return nullptr;
    if (bytesPerRow == 0) bytesPerRow = width * 4;
    if (bytesPerRow < width * 4) return nullptr;
    return std::make_shared<CGContext>(static_cast<std::uint8_t*>(data), width, height, bytesPerRow,
                                       alpha == kCGImageAlphaNoneSkipLast);
}

void* CGBitmapContextGetData(const CGContextRef& context) { return context ? context->data() : nullptr; }
std::size_t CGBitmapContextGetWidth(const CGContextRef& context) { return context ? context->width() : 0; }
std::size_t CGBitmapContextGetHeight(const CGContextRef& context) { return context ? context->height() : 0; }
std::size_t CGBitmapContextGetBytesPerRow(const CGContextRef& context) { return context ? context->bytesPerRow() : 0; }

CGImageRef CGBitmapContextCreateImage(const CGContextRef& context) {
    if (!context) return nullptr;
    auto image = std::make_shared<CGImage>();
    image->width = context->width();
    image->height = context->height();
    image->pixels.resize(image->width * image->height * 4);
    for (std::size_t y = 0; y < image->height; ++y)
        std::copy_n(context->data() + y * context->bytesPerRow(), image->width * 4, image->pixels.data() + y * image->width * 4);
    return image;
}

void CGContextSaveGState(const CGContextRef& context) {
    if (context) context->save();
}
void CGContextRestoreGState(const CGContextRef& context) {
    if (context) context->restore();
}
void CGContextTranslateCTM(const CGContextRef& context, double tx, double ty) {
    if (context) context->state().ctm = context->state().ctm.translated(tx, ty);
}
void CGContextScaleCTM(const CGContextRef& context, double sx, double sy) {
    if (context) context->state().ctm = context->state().ctm.scaled(sx, sy);
}
AffineTransform CGContextGetCTM(const CGContextRef& context) { return context ? context->state().ctm : AffineTransform{}; }

void CGContextClipToRect(const CGContextRef& context, Rect rect) {
    if (!context) return;
    auto& state = context->state();
    Rect device = state.ctm.apply(rect);
    double left = std::max(device.minX(), state.clip.minX()), right = std::min(device.maxX(), state.clip.maxX());
    double top = std::max(device.minY(), state.clip.minY()), bottom = std::min(device.maxY(), state.clip.maxY());
    state.clip = Rect(left, top, std::max(0.0, right - left), std::max(0.0, bottom - top));
}

void CGContextSetAlpha(const CGContextRef& context, double alpha) {
    if (context) context->state().alpha = std::clamp(alpha, 0.0, 1.0);
}

void CGContextSetRGBFillColor(const CGContextRef& context, double r, double g, double b, double a) {
    if (!context) return;
    auto& fill = context->state().fill;
    fill[0] = r, fill[1] = g, fill[2] = b, fill[3] = a;
}

void CGContextSetFillColorWithColor(const CGContextRef& context, id color) {
    auto* c = as<UIColor>(color);
    if (c) CGContextSetRGBFillColor(context, c->red(), c->green(), c->blue(), c->alphaComponent());
    else CGContextSetRGBFillColor(context, 0, 0, 0, 0);
}

void CGContextFillRect(const CGContextRef& context, Rect rect) {
    if (context) context->fill(rect, context->state().fill);
}

void CGContextClearRect(const CGContextRef& context, Rect rect) {
    if (context) context->clear(rect);
}

void CGContextDrawImage(const CGContextRef& context, Rect rect, const CGImageRef& image) {
    if (context && image) context->draw(rect, *image);
}

std::size_t CGColorGetNumberOfComponents(id color) { return CGColorGetComponents(color).size(); }

std::vector<double> CGColorGetComponents(id color) {
    auto* c = as<UIColor>(color);
    if (!c) return {};
    switch (c->space()) {
        case UIColor::Space::White: return {c->red(), c->alphaComponent()};
        case UIColor::Space::RGB: return {c->red(), c->green(), c->blue(), c->alphaComponent()};
        case UIColor::Space::Pattern: return {c->alphaComponent()};
    }
    return {};
}

CGColorSpaceModel CGColorGetColorSpaceModel(id color) {
    auto* c = as<UIColor>(color);
    if (!c) return kCGColorSpaceModelUnknown;
    switch (c->space()) {
        case UIColor::Space::White: return kCGColorSpaceModelMonochrome;
        case UIColor::Space::RGB: return kCGColorSpaceModelRGB;
        case UIColor::Space::Pattern: return kCGColorSpaceModelPattern;
    }
    return kCGColorSpaceModelUnknown;
}

// --- image contexts --------------------------------------------------------------------

namespace {

struct ImageContext {
    CGContextRef context;
    double scale;
};

std::vector<ImageContext>& imageContexts() {
    static std::vector<ImageContext> stack;
    return stack;
}

}  // namespace

void UIGraphicsBeginImageContextWithOptions(Size size, bool opaque, double scale) {
    uikit::detail::checkMainThread();
    if (scale <= 0) scale = uikit::deviceTraits().screenScale;
    auto w = static_cast<std::size_t>(std::ceil(std::max(0.0, size.width) * scale));
    auto h = static_cast<std::size_t>(std::ceil(std::max(0.0, size.height) * scale));
    CGContextRef context;
    if (w > 0 && h > 0) {
        context = CGBitmapContextCreate(nullptr, w, h, 8, 0, CGColorSpaceCreateDeviceRGB(),
                                        opaque ? kCGImageAlphaNoneSkipLast : kCGImageAlphaPremultipliedLast);
        if (opaque)
            for (std::size_t i = 3; i < w * h * 4; i += 4) context->data()[i] = 255;
        // UIKit's space: origin at the top left, in points.
        context->state().ctm = AffineTransform::makeScale(scale, scale);
    }
    imageContexts().push_back({context, scale});
}

void UIGraphicsBeginImageContext(Size size) { UIGraphicsBeginImageContextWithOptions(size, false, 1.0); }

CGContextRef UIGraphicsGetCurrentContext() {
    auto& stack = imageContexts();
    return stack.empty() ? nullptr : stack.back().context;
}

Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
    auto& stack = imageContexts();
    if (stack.empty() || !stack.back().context) return nullptr;
    return UIImage::withCGImage(CGBitmapContextCreateImage(stack.back().context), stack.back().scale);
}

void UIGraphicsEndImageContext() {
    auto& stack = imageContexts();
    if (!stack.empty()) stack.pop_back();
}

// --- rendering the view tree -------------------------------------------------------------

namespace {

void renderView(UIView* view, const CGContextRef& context) {
    if (view->hidden_ || view->alpha_ <= 0) return;
    CGContextSaveGState(context);
    CGContextSetAlpha(context, context->state().alpha * view->alpha_);
    Rect bounds = view->bounds_;
    CGContextTranslateCTM(context, -bounds.origin.x, -bounds.origin.y);
    if (view->layer_ && view->layer_->masksToBounds) CGContextClipToRect(context, bounds);
    id background = view->backgroundColor_ ? view->backgroundColor_.get() : (view->layer_ ? view->layer_->backgroundColor.get() : nullptr);
    if (background) {
        CGContextSetFillColorWithColor(context, background);
        CGContextFillRect(context, bounds);
    }
    view->drawContent(context);
    for (const Ref<UIView>& sub : view->subviewList()) {
        CGContextSaveGState(context);
        Rect frame = sub->frameValue();
        CGContextTranslateCTM(context, frame.origin.x, frame.origin.y);
        renderView(sub.get(), context);
        CGContextRestoreGState(context);
    }
    CGContextRestoreGState(context);
}

}  // namespace

namespace uikit::detail {

void renderLayer(CALayer* layer, CGContext* context) {
    if (!layer || !context) return;
    // The context is shared with its owner, who keeps it alive meanwhile.
    CGContextRef ref(std::shared_ptr<CGContext>{}, context);
    // A layer has no geometry of its own here: only a view's layer paints.
    Ref<Object> delegate = layer->delegate.lock();
    auto* view = as<UIView>(delegate.get());
    if (!view) return;
    checkMainThread();
    renderView(view, ref);
}

}  // namespace uikit::detail
}  // namespace platform

// The small part of CoreGraphics that the system draws with, and UIKit's image
// contexts over it: 8-bit RGBA bitmap contexts (premultiplied alpha, red
// first, four bytes a pixel), filled rectangles and images drawn through a
// current transform of scales and translations, and images made from a
// bitmap. Row 0 of a bitmap is its top row. A context made by
// CGBitmapContextCreate has CoreGraphics' own space (origin at the bottom
// left, y up); an image context of UIGraphicsBeginImageContextWithOptions has
// UIKit's (origin at the top left, in points of the given scale).
//
// renderInContext: of a view's layer paints the view tree: each visible view
// (not hidden, alpha above 0) its background colour over its bounds, then its
// own content (UIView::drawContent: an image view its image, a web view its
// page), then its subviews, clipped where the view clips to its bounds.
// Main thread only for image contexts and rendering; contexts and images
// themselves are plain values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/uikit/geometry.h"
#include "platform/uikit/selectors.h"

namespace platform {

class UIImage;

struct CGColorSpace {};
using CGColorSpaceRef = std::shared_ptr<const CGColorSpace>;
CGColorSpaceRef CGColorSpaceCreateDeviceRGB();

// CGImageAlphaInfo; only the premultiplied-last and skip-last layouts of four
// bytes a pixel are drawn into.
enum CGImageAlphaInfo : std::uint32_t {
    kCGImageAlphaNone = 0,
    kCGImageAlphaPremultipliedLast = 1,
    kCGImageAlphaPremultipliedFirst = 2,
    kCGImageAlphaLast = 3,
    kCGImageAlphaFirst = 4,
    kCGImageAlphaNoneSkipLast = 5,
    kCGImageAlphaNoneSkipFirst = 6,
};
inline constexpr std::uint32_t kCGBitmapAlphaInfoMask = 0x1F;
inline constexpr std::uint32_t kCGBitmapByteOrderMask = 0x7000;
inline constexpr std::uint32_t kCGBitmapByteOrderDefault = 0;
inline constexpr std::uint32_t kCGBitmapByteOrder32Big = 4 << 12;

// An immutable bitmap: RGBA, premultiplied, row 0 at the top.
struct CGImage {
    std::size_t width = 0, height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes
};
using CGImageRef = std::shared_ptr<const CGImage>;
std::size_t CGImageGetWidth(const CGImageRef& image);
std::size_t CGImageGetHeight(const CGImageRef& image);

class CGContext;
using CGContextRef = std::shared_ptr<CGContext>;

// Null unless 8 bits a component, 4 bytes a pixel (bytesPerRow 0 means
// width * 4; less than that is refused), an RGB space and a premultiplied-last
// or skip-last layout in the default or 32-bit big-endian byte order (both
// put red first). With `data` the caller's memory (bytesPerRow * height
// bytes, kept as it is) is drawn into; without it the context holds its own,
// zero-filled.
CGContextRef CGBitmapContextCreate(void* data, std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                                   std::size_t bytesPerRow, const CGColorSpaceRef& space, std::uint32_t bitmapInfo);
void* CGBitmapContextGetData(const CGContextRef& context);
std::size_t CGBitmapContextGetWidth(const CGContextRef& context);
std::size_t CGBitmapContextGetHeight(const CGContextRef& context);
std::size_t CGBitmapContextGetBytesPerRow(const CGContextRef& context);
// A copy of the bitmap as it is now.
CGImageRef CGBitmapContextCreateImage(const CGContextRef& context);

void CGContextSaveGState(const CGContextRef& context);
void CGContextRestoreGState(const CGContextRef& context);
void CGContextTranslateCTM(const CGContextRef& context, double tx, double ty);
void CGContextScaleCTM(const CGContextRef& context, double sx, double sy);
AffineTransform CGContextGetCTM(const CGContextRef& context);
// Later drawing is limited to the rectangle (in the current space) as well.
void CGContextClipToRect(const CGContextRef& context, Rect rect);
// Multiplies the alpha of later drawing.
void CGContextSetAlpha(const CGContextRef& context, double alpha);
void CGContextSetRGBFillColor(const CGContextRef& context, double r, double g, double b, double a);
// A UIColor (what `CGColor` answers); nil fills with transparent black.
void CGContextSetFillColorWithColor(const CGContextRef& context, id color);
// Source-over: the fill colour over what is there.
void CGContextFillRect(const CGContextRef& context, Rect rect);
// Sets the rectangle's pixels to transparent black.
void CGContextClearRect(const CGContextRef& context, Rect rect);
// Scales the image into the rectangle (nearest pixel), upright in
// CoreGraphics' space (and so upside down in a flipped one, as there).
void CGContextDrawImage(const CGContextRef& context, Rect rect, const CGImageRef& image);

// A colour's components (the `CGColor` of a UIColor): white and alpha for the
// white space, red, green, blue and alpha for RGB; alpha alone for a pattern;
// 0 components for anything else.
std::size_t CGColorGetNumberOfComponents(id color);
std::vector<double> CGColorGetComponents(id color);

// CGColorSpaceGetModel(CGColorGetColorSpace(color)): the model of a colour's space.
enum CGColorSpaceModel : int {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
    kCGColorSpaceModelPattern = 6,
};
CGColorSpaceModel CGColorGetColorSpaceModel(id color);

// UIKit's stack of image contexts. A scale of 0 or less is the screen's.
// The bitmap is the size times the scale, rounded up; an opaque one starts
// opaque black, any other transparent.
void UIGraphicsBeginImageContextWithOptions(Size size, bool opaque, double scale);
void UIGraphicsBeginImageContext(Size size);
// The top context, or null.
CGContextRef UIGraphicsGetCurrentContext();
// An image of the top context's bitmap (in points, with its scale), or nil.
Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();

namespace sel {
inline constexpr Sel<void(id, CGContext*)> renderInContext_{"renderInContext:"};
inline constexpr Sel<CGImageRef(id)> CGImage{"CGImage"};
}  // namespace sel

class CGContext {
public:
    struct State {
        AffineTransform ctm;
        Rect clip;  // in pixels of the bitmap
        double alpha = 1;
        double fill[4] = {0, 0, 0, 1};
    };
    CGContext(std::uint8_t* data, std::size_t width, std::size_t height, std::size_t bytesPerRow, bool opaque);

    std::size_t width() const { return width_; }
    std::size_t height() const { return height_; }
    std::size_t bytesPerRow() const { return bytesPerRow_; }
    std::uint8_t* data() { return data_; }
    State& state() { return states_.back(); }
    void save() { states_.push_back(states_.back()); }
    void restore() {
        if (states_.size() > 1) states_.pop_back();
    }
    // Paints premultiplied `rgba` source-over into the pixels that `rect` (in
    // the current space) covers.
    void fill(Rect rect, const double rgba[4]);
    void clear(Rect rect);
    void draw(Rect rect, const CGImage& image);

private:
    // The pixel box a rectangle of the current space covers, within the clip.
    bool pixelBox(Rect rect, long& x0, long& y0, long& x1, long& y1) const;
    void blend(std::uint8_t* pixel, const double premultiplied[4]);

    std::vector<std::uint8_t> own_;
    std::uint8_t* data_;
    std::size_t width_, height_, bytesPerRow_;
    bool opaque_;
    std::vector<State> states_;
};

}  // namespace platform

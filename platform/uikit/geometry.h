// The affine transform of views (CGAffineTransform) and the geometry helpers
// the view tree uses. Values, no state; any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/runtime.h"

namespace platform {

// [x' y' 1] = [x y 1] * | a  b  0 |
//                       | c  d  0 |
//                       | tx ty 1 |
struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform makeScale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform makeTranslation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    // Counter-clockwise in a y-up system, which is clockwise on screen (y down).
    static AffineTransform makeRotation(double angle);

    // This transform followed by `then` (CGAffineTransformConcat(*this, then)).
    AffineTransform concat(const AffineTransform& then) const;
    AffineTransform scaled(double sx, double sy) const { return makeScale(sx, sy).concat(*this); }
    AffineTransform rotated(double angle) const { return makeRotation(angle).concat(*this); }
    AffineTransform translated(double x, double y) const { return makeTranslation(x, y).concat(*this); }
    bool isIdentity() const { return *this == AffineTransform{}; }
    bool isInvertible() const { return a * d - b * c != 0; }
    // The inverse; the transform itself when it cannot be inverted, as CoreGraphics does.
    AffineTransform inverted() const;

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // A size carries no position: the translation does not apply.
    Size apply(Size s) const { return {a * s.width + c * s.height, b * s.width + d * s.height}; }
    // The smallest rectangle holding the transformed corners; the null rectangle stays null.
    Rect apply(const Rect& r) const;

    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

// Dynamic sends and key-value coding carry a transform as an array of six
// numbers [a, b, c, d, tx, ty]; anything else reads as the identity.
template <>
struct ValueConv<AffineTransform> {
    static AffineTransform from(const Value& v);
    static Value to(const AffineTransform& t);
};

// The bounding box of points; used for converted rectangles.
Rect boundingBox(const Point* points, int count);

// "{w, h}" with optional blanks, each number read as strtod reads it; any
// other text gives the zero size.
Size CGSizeFromString(std::string_view text);
// "{%g, %g}"
std::string NSStringFromCGSize(Size size);
// The same rectangle with a non-negative width and height; the null rectangle stays null.
Rect CGRectStandardize(const Rect& rect);
// The common part of two rectangles, standardized; the null rectangle when they
// do not meet or either is null. Rectangles that only touch meet in a
// rectangle without area.
Rect CGRectIntersection(const Rect& a, const Rect& b);

}  // namespace platform

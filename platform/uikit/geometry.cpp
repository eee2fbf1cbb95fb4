#include "platform/uikit/geometry.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "platform/foundation/format.h"

namespace platform {

AffineTransform AffineTransform::makeRotation(double angle) {
    double s = std::sin(angle), c = std::cos(angle);
    return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::concat(const AffineTransform& t) const {
    return {a * t.a + b * t.c,         a * t.b + b * t.d,         c * t.a + d * t.c,
            c * t.b + d * t.d,         tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

AffineTransform AffineTransform::inverted() const {
    double det = a * d - b * c;
    if (det == 0) return *this;
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Rect AffineTransform::apply(const Rect& r) const {
    if (r.isNull()) return r;
    const Point corners[] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                             apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    return boundingBox(corners, 4);
}

Rect boundingBox(const Point* points, int count) {
    if (count <= 0) return Rect::null();
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minX = std::min(minX, points[i].x);
        maxX = std::max(maxX, points[i].x);
        minY = std::min(minY, points[i].y);
        maxY = std::max(maxY, points[i].y);
    }
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

Size CGSizeFromString(std::string_view text) {
    // strtod needs a terminated string.
    const std::string s(text);
    const char* p = s.c_str();
    auto skipBlanks = [&p] {
        while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    };
    auto expect = [&](char c) {
        skipBlanks();
        if (*p != c) return false;
        ++p;
        return true;
    };
    auto number = [&p](double* out) {
        char* end = nullptr;
        *out = std::strtod(p, &end);
        if (end == p) return false;
        p = end;
        return true;
    };
    double w = 0, h = 0;
    if (!expect('{') || !number(&w) || !expect(',') || !number(&h) || !expect('}')) return Size{};
    return Size{w, h};
}

std::string NSStringFromCGSize(Size size) { return format("{%g, %g}", size.width, size.height); }

Rect CGRectStandardize(const Rect& r) {
    if (r.isNull()) return r;
    return Rect(r.minX(), r.minY(), std::abs(r.width()), std::abs(r.height()));
}

Rect CGRectIntersection(const Rect& a, const Rect& b) {
    if (a.isNull() || b.isNull()) return Rect::null();
    const double minX = std::max(a.minX(), b.minX());
    const double minY = std::max(a.minY(), b.minY());
    const double maxX = std::min(a.maxX(), b.maxX());
    const double maxY = std::min(a.maxY(), b.maxY());
    if (maxX < minX || maxY < minY) return Rect::null();
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

AffineTransform ValueConv<AffineTransform>::from(const Value& v) {
    const auto& items = v.array();
    if (items.size() != 6) return {};
    for (const auto& item : items)
        if (!item.isNumber()) return {};
    return {items[0].doubleValue(), items[1].doubleValue(), items[2].doubleValue(),
            items[3].doubleValue(), items[4].doubleValue(), items[5].doubleValue()};
}

Value ValueConv<AffineTransform>::to(const AffineTransform& t) {
    return Value::array({t.a, t.b, t.c, t.d, t.tx, t.ty});
}

}  // namespace platform

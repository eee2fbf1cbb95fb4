#include "platform/uikit/color.h"

#include <cmath>

#include "platform/foundation/format.h"
#include "platform/uikit/internal.h"

namespace platform {

Ref<UIColor> UIColor::make(Space space, double r, double g, double b, double a) {
    auto color = as<UIColor>(alloc("UIColor"));
    if (!color) return nullptr;
    color->space_ = space;
    color->r_ = r;
    color->g_ = g;
    color->b_ = b;
    color->a_ = a;
    return color;
}

Ref<UIColor> UIColor::pattern(id image) {
    Ref<UIColor> color = make(Space::Pattern, 0, 0, 0, 1);
    if (color) color->image_ = image;
    return color;
}

bool UIColor::sameComponents(const UIColor& o) const {
    return r_ == o.r_ && g_ == o.g_ && b_ == o.b_ && a_ == o.a_;
}

std::string UIColor::text() const {
    if (space_ == Space::White) return format("UIDeviceWhiteColorSpace %g %g", r_, a_);
    if (space_ == Space::Pattern) return "UIPatternColor";
    return format("UIDeviceRGBColorSpace %g %g %g %g", r_, g_, b_, a_);
}

Ref<UIColor> systemTintColor() { return UIColor::rgba(0, 122.0 / 255.0, 1, 1); }

namespace {

Ref<Object> hsb(double h, double s, double v, double a) {
    // The standard HSB to RGB conversion, hue in [0, 1).
    h = h - std::floor(h);
    double sector = h * 6;
    int i = static_cast<int>(std::floor(sector)) % 6;
    double f = sector - std::floor(sector);
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double r = v, g = t, b = p;
    switch (i) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
    }
    return UIColor::rgba(r, g, b, a);
}

}  // namespace

namespace uikit::detail {

void registerColor() {
    using S = UIColor::Space;
    ClassBuilder<UIColor>("UIColor", "NSObject")
        .classMethod(sel::colorWithRed_green_blue_alpha_,
                     [](id, double r, double g, double b, double a) -> Ref<Object> { return UIColor::rgba(r, g, b, a); })
        .classMethod(sel::colorWithWhite_alpha_, [](id, double w, double a) -> Ref<Object> { return UIColor::white(w, a); })
        .classMethod(sel::colorWithHue_saturation_brightness_alpha_, [](id, double h, double s, double b, double a) { return hsb(h, s, b, a); })
        .classMethod(sel::colorWithPatternImage_, [](id, id image) -> Ref<Object> { return image ? UIColor::pattern(image) : nullptr; })
        .classMethod(sel::blackColor, [](id) -> Ref<Object> { return UIColor::white(0, 1); })
        .classMethod(sel::darkGrayColor, [](id) -> Ref<Object> { return UIColor::white(1.0 / 3.0, 1); })
        .classMethod(sel::lightGrayColor, [](id) -> Ref<Object> { return UIColor::white(2.0 / 3.0, 1); })
        .classMethod(sel::whiteColor, [](id) -> Ref<Object> { return UIColor::white(1, 1); })
        .classMethod(sel::grayColor, [](id) -> Ref<Object> { return UIColor::white(0.5, 1); })
        .classMethod(sel::redColor, [](id) -> Ref<Object> { return UIColor::rgba(1, 0, 0, 1); })
        .classMethod(sel::greenColor, [](id) -> Ref<Object> { return UIColor::rgba(0, 1, 0, 1); })
        .classMethod(sel::blueColor, [](id) -> Ref<Object> { return UIColor::rgba(0, 0, 1, 1); })
        .classMethod(sel::cyanColor, [](id) -> Ref<Object> { return UIColor::rgba(0, 1, 1, 1); })
        .classMethod(sel::yellowColor, [](id) -> Ref<Object> { return UIColor::rgba(1, 1, 0, 1); })
        .classMethod(sel::magentaColor, [](id) -> Ref<Object> { return UIColor::rgba(1, 0, 1, 1); })
        .classMethod(sel::orangeColor, [](id) -> Ref<Object> { return UIColor::rgba(1, 0.5, 0, 1); })
        .classMethod(sel::purpleColor, [](id) -> Ref<Object> { return UIColor::rgba(0.5, 0, 0.5, 1); })
        .classMethod(sel::brownColor, [](id) -> Ref<Object> { return UIColor::rgba(0.6, 0.4, 0.2, 1); })
        .classMethod(sel::clearColor, [](id) -> Ref<Object> { return UIColor::white(0, 0); })
        .method(sel::colorWithAlphaComponent_,
                [](id self, double a) -> Ref<Object> {
                    auto* c = as<UIColor>(self);
                    if (c->space() == S::Pattern) return UIColor::pattern(c->patternImage());
                    return UIColor::make(c->space(), c->red(), c->green(), c->blue(), a);
                })
        .method(sel::CGColor, [](id self) { return Ref<Object>(self); })
        .method(sel::getRed_green_blue_alpha_,
                [](id self, double* r, double* g, double* b, double* a) {
                    auto* c = as<UIColor>(self);
                    if (c->space() == S::Pattern) return false;  // a pattern has no components to convert
                    if (r) *r = c->red();
                    if (g) *g = c->green();
                    if (b) *b = c->blue();
                    if (a) *a = c->alphaComponent();
                    return true;
                })
        .method(sel::getWhite_alpha_,
                [](id self, double* w, double* a) {
                    auto* c = as<UIColor>(self);
                    if (c->space() != S::White) return false;
                    if (w) *w = c->red();
                    if (a) *a = c->alphaComponent();
                    return true;
                })
        .method(sel::isEqual_,
                [](id self, id other) {
                    auto* a = as<UIColor>(self);
                    auto* b = as<UIColor>(other);
                    return b && a->space() == b->space() && a->sameComponents(*b);
                })
        .method(sel::hash,
                [](id self) {
                    auto* c = as<UIColor>(self);
                    return static_cast<unsigned long>(c->red() * 255) << 24 ^ static_cast<unsigned long>(c->green() * 255) << 16 ^
                           static_cast<unsigned long>(c->blue() * 255) << 8 ^ static_cast<unsigned long>(c->alphaComponent() * 255);
                })
        .method(sel::description, [](id self) { return Value(as<UIColor>(self)->text()); });
}

}  // namespace uikit::detail
}  // namespace platform

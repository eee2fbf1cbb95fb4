#include "platform/uikit/activity_indicator.h"

#include "platform/uikit/internal.h"

namespace platform::uikit::detail {

void registerActivityIndicator() {
    ClassBuilder<UIActivityIndicatorView>("UIActivityIndicatorView", "UIView")
        .method(sel::initWithActivityIndicatorStyle_,
                [](id self, long long style) {
                    double side = style == UIActivityIndicatorViewStyleWhiteLarge ? 37 : 20;
                    Ref<Object> base = sel::initWithFrame_(self, Rect(0, 0, side, side));
                    if (auto* v = as<UIActivityIndicatorView>(base.get())) v->style_ = style;
                    return base;
                })
        .method(sel::activityIndicatorViewStyle, [](id self) { return as<UIActivityIndicatorView>(self)->style_; })
        .method(sel::color, [](id self) { return as<UIActivityIndicatorView>(self)->color_; })
        .method(sel::setColor_, [](id self, id color) { as<UIActivityIndicatorView>(self)->color_ = color; })
        .method(sel::startAnimating, [](id self) { as<UIActivityIndicatorView>(self)->animating_ = true; })
        .method(sel::stopAnimating, [](id self) { as<UIActivityIndicatorView>(self)->animating_ = false; })
        .method(sel::isAnimating, [](id self) { return as<UIActivityIndicatorView>(self)->animating_; });
}

}  // namespace platform::uikit::detail

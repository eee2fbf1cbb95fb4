#include "platform/uikit/image_view.h"

#include "platform/uikit/graphics.h"
#include "platform/uikit/image.h"
#include "platform/uikit/internal.h"

namespace platform {

void UIImageView::drawContent(const std::shared_ptr<CGContext>& context) {
    auto* image = as<UIImage>(image_.get());
    if (!image) return;
    // Upright in UIKit's flipped space, as UIImage's drawInRect: draws.
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, bounds_.origin.x, bounds_.origin.y + bounds_.size.height);
    CGContextScaleCTM(context, 1, -1);
    CGContextDrawImage(context, Rect({0, 0}, bounds_.size), image->CGImage());
    CGContextRestoreGState(context);
}

namespace uikit::detail {

void registerImageView() {
    ClassBuilder<UIImageView>("UIImageView", "UIView")
        .method(sel::initWithImage_,
                [](id self, id image) -> Ref<Object> {
                    auto* i = as<UIImage>(image);
                    Ref<Object> base = sel::initWithFrame_(self, Rect({0, 0}, i ? i->size_ : Size{}));
                    if (base) sel::setImage_(base, image);
                    return base;
                })
        .method(sel::image, [](id self) { return as<UIImageView>(self)->image_; })
        .method(sel::setImage_, [](id self, id image) { as<UIImageView>(self)->image_ = image; })
        .property<&UIImageView::highlighted_>(sel::isHighlighted, sel::setHighlighted_)
        .method(sel::sizeThatFits_, [](id self, Size) {
            auto* i = as<UIImage>(as<UIImageView>(self)->image_.get());
            return i ? i->size_ : Size{};
        });
}

}  // namespace uikit::detail
}  // namespace platform

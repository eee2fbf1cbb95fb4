#include "platform/uikit/image_view.h"

#include "platform/uikit/image.h"
#include "platform/uikit/internal.h"

namespace platform {

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

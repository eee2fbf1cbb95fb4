#include "platform/uikit/button.h"

#include <algorithm>

#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/image.h"
#include "platform/uikit/internal.h"

namespace platform {

namespace {

Class* buttonClass() {
    static Class* c = objc_getClass("UIButton");
    return c;
}

template <class T>
T forState(const std::map<unsigned long long, T>& table, unsigned long long state) {
    auto it = table.find(state);
    if (it == table.end()) it = table.find(UIControlStateNormal);
    return it == table.end() ? T() : it->second;
}

template <class T>
void store(std::map<unsigned long long, T>& table, T value, unsigned long long state) {
    if (value) table[state] = std::move(value);
    else table.erase(state);
}

Ref<Object> titleColorFor(UIButton* b, unsigned long long state) {
    if (Ref<Object> c = forState(b->titleColors_, state)) return c;
    // No colour set: the system button's title takes the tint, the custom one is white.
    if (b->buttonType_ == UIButtonTypeSystem) return sel::tintColor(b);
    return UIColor::white(1, 1);
}

}  // namespace

Ref<UIButton> UIButton::buttonWithType(long long type) {
    return Ref<UIButton>(as<UIButton>(sel::buttonWithType_(buttonClass(), type).get()));
}

void UIButton::updateContent() {
    unsigned long long state = stateMask();
    Value title = forState(titles_, state);
    if (titleLabel_) {
        sel::setText_(titleLabel_, title);
        sel::setTextColor_(titleLabel_, titleColorFor(this, state));
        if (title && titleLabel_->superview().get() != this) sel::addSubview_(this, titleLabel_);
    }
    Ref<Object> image = forState(images_, state);
    if (imageView_) {
        sel::setImage_(imageView_, image);
        if (image && imageView_->superview().get() != this) sel::addSubview_(this, imageView_);
    }
    uikit::detail::markNeedsLayout(this);
}

namespace {

template <const Sel<void(id, bool)>& S>
void setStateFlag(id self, bool on) {
    S.super(buttonClass(), self, on);
    as<UIButton>(self)->updateContent();
}

Size imageSize(UIButton* b) {
    auto* image = as<UIImage>(forState(b->images_, b->stateMask()).get());
    return image ? image->size_ : Size{};
}

Size titleSize(UIButton* b) {
    if (!b->titleLabel_ || !forState(b->titles_, b->stateMask())) return {};
    return sel::sizeThatFits_(b->titleLabel_, Size{});
}

}  // namespace

namespace uikit::detail {

void registerButton() {
    ClassBuilder<UIButton>("UIButton", "UIControl")
        .classMethod(sel::buttonWithType_,
                     [](id cls, long long type) -> Ref<Object> {
                         Ref<Object> made = alloc(static_cast<Class*>(cls));
                         auto* b = as<UIButton>(made.get());
                         if (!b) return nullptr;
                         b->buttonType_ = type;
                         return sel::initWithFrame_(made, Rect());
                     })
        .method(sel::initWithFrame_,
                [](id self, Rect frame) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_.super(buttonClass(), self, frame);
                    auto* b = as<UIButton>(base.get());
                    if (!b) return base;
                    if (!b->titleLabel_) {
                        b->titleLabel_ = UIView::make<UILabel>("UILabel", Rect());
                        if (b->titleLabel_) sel::setFont_(b->titleLabel_, UIFont::systemFont(15));
                    }
                    if (!b->imageView_) b->imageView_ = UIView::make<UIImageView>("UIImageView", Rect());
                    b->updateContent();
                    return base;
                })
        .method(sel::buttonType, [](id self) { return as<UIButton>(self)->buttonType_; })
        .method(sel::setTitle_forState_,
                [](id self, Value title, unsigned long long state) {
                    auto* b = as<UIButton>(self);
                    store(b->titles_, title.isString() ? title : Value(), state);
                    b->updateContent();
                })
        .method(sel::titleForState_, [](id self, unsigned long long state) { return forState(as<UIButton>(self)->titles_, state); })
        .method(sel::currentTitle,
                [](id self) {
                    auto* b = as<UIButton>(self);
                    return forState(b->titles_, b->stateMask());
                })
        .method(sel::titleLabel, [](id self) -> Ref<Object> { return as<UIButton>(self)->titleLabel_; })
        .method(sel::setTitleColor_forState_,
                [](id self, id color, unsigned long long state) {
                    auto* b = as<UIButton>(self);
                    store(b->titleColors_, Ref<Object>(color), state);
                    b->updateContent();
                })
        .method(sel::titleColorForState_, [](id self, unsigned long long state) { return titleColorFor(as<UIButton>(self), state); })
        .method(sel::currentTitleColor,
                [](id self) {
                    auto* b = as<UIButton>(self);
                    return titleColorFor(b, b->stateMask());
                })
        .method(sel::setImage_forState_,
                [](id self, id image, unsigned long long state) {
                    auto* b = as<UIButton>(self);
                    store(b->images_, Ref<Object>(image), state);
                    b->updateContent();
                })
        .method(sel::imageForState_, [](id self, unsigned long long state) { return forState(as<UIButton>(self)->images_, state); })
        .method(sel::currentImage,
                [](id self) {
                    auto* b = as<UIButton>(self);
                    return forState(b->images_, b->stateMask());
                })
        .method(sel::setBackgroundImage_forState_,
                [](id self, id image, unsigned long long state) { store(as<UIButton>(self)->backgroundImages_, Ref<Object>(image), state); })
        .method(sel::backgroundImageForState_,
                [](id self, unsigned long long state) { return forState(as<UIButton>(self)->backgroundImages_, state); })
        .method(sel::imageView, [](id self) -> Ref<Object> { return as<UIButton>(self)->imageView_; })
        .property<&UIButton::adjustsImageWhenHighlighted_>(sel::adjustsImageWhenHighlighted, sel::setAdjustsImageWhenHighlighted_)
        .property<&UIButton::showsTouchWhenHighlighted_>(sel::showsTouchWhenHighlighted, sel::setShowsTouchWhenHighlighted_)
        .method(sel::setHighlighted_, &setStateFlag<sel::setHighlighted_>)
        .method(sel::setSelected_, &setStateFlag<sel::setSelected_>)
        .method(sel::setEnabled_, &setStateFlag<sel::setEnabled_>)
        .method(sel::sizeThatFits_,
                [](id self, Size) {
                    auto* b = as<UIButton>(self);
                    Size image = imageSize(b), title = titleSize(b);
                    return Size{image.width + title.width, std::max(image.height, title.height)};
                })
        .method(sel::layoutSubviews, [](id self) {
            // The image beside the title, the pair centred in the bounds.
            sel::layoutSubviews.super(buttonClass(), self);
            auto* b = as<UIButton>(self);
            Size image = imageSize(b), title = titleSize(b);
            Rect bounds = b->bounds_;
            double x = bounds.x() + (bounds.width() - image.width - title.width) / 2;
            if (b->imageView_ && b->imageView_->superview().get() == b)
                sel::setFrame_(b->imageView_, Rect(x, bounds.y() + (bounds.height() - image.height) / 2, image.width, image.height));
            if (b->titleLabel_ && b->titleLabel_->superview().get() == b)
                sel::setFrame_(b->titleLabel_,
                               Rect(x + image.width, bounds.y() + (bounds.height() - title.height) / 2, title.width, title.height));
        });
}

}  // namespace uikit::detail
}  // namespace platform

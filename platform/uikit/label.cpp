#include "platform/uikit/label.h"

#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/text_metrics.h"

namespace platform {

Size UILabel::textSize(Size limit) const {
    auto* font = as<UIFont>(font_.get());
    return text::measure(text_.stringOr(""), font ? font->pointSize() : 17.0, limit.width, numberOfLines_);
}

namespace {

Class* labelClass() {
    static Class* c = objc_getClass("UILabel");
    return c;
}

}  // namespace

namespace uikit::detail {

void registerLabel() {
    ClassBuilder<UILabel>("UILabel", "UIView")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_.super(labelClass(), self, frame);
                    if (auto* l = as<UILabel>(base.get())) {
                        if (!l->font_) l->font_ = UIFont::systemFont(17);
                        if (!l->textColor_) l->textColor_ = UIColor::white(0, 1);
                    }
                    return base;
                })
        .method(sel::text, [](id self) { return as<UILabel>(self)->text_; })
        .method(sel::setText_, [](id self, Value text) { as<UILabel>(self)->text_ = text.isString() ? text : Value(); })
        .method(sel::font, [](id self) { return as<UILabel>(self)->font_; })
        .method(sel::setFont_,
                [](id self, id font) {
                    // nil restores the default font, as UIKit does.
                    as<UILabel>(self)->font_ = font ? Ref<Object>(font) : Ref<Object>(UIFont::systemFont(17));
                })
        .method(sel::textColor, [](id self) { return as<UILabel>(self)->textColor_; })
        .method(sel::setTextColor_, [](id self, id color) { as<UILabel>(self)->textColor_ = color; })
        .property<&UILabel::textAlignment_>(sel::textAlignment, sel::setTextAlignment_)
        .property<&UILabel::numberOfLines_>(sel::numberOfLines, sel::setNumberOfLines_)
        .property<&UILabel::lineBreakMode_>(sel::lineBreakMode, sel::setLineBreakMode_)
        .property<&UILabel::adjustsFontSizeToFitWidth_>(sel::adjustsFontSizeToFitWidth, sel::setAdjustsFontSizeToFitWidth_)
        .property<&UILabel::highlighted_>(sel::isHighlighted, sel::setHighlighted_)
        .property<&UILabel::enabled_>(sel::isEnabled, sel::setEnabled_)
        .method(sel::sizeThatFits_, [](id self, Size size) { return as<UILabel>(self)->textSize(size); });
}

}  // namespace uikit::detail
}  // namespace platform

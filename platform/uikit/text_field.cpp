#include "platform/uikit/text_field.h"

#include "platform/uikit/internal.h"

namespace platform {

namespace uikit::detail {

void registerTextField() {
    ClassBuilder<UITextField>("UITextField", "UIControl")
        .method(sel::text, [](id self) {
            // An empty field answers an empty string, never nil.
            const Value& t = as<UITextField>(self)->text_;
            return t.isString() ? t : Value("");
        })
        .method(sel::setText_, [](id self, Value text) { as<UITextField>(self)->text_ = text.isString() ? text : Value(); })
        .property<&UITextField::placeholder_>(sel::placeholder, sel::setPlaceholder_)
        .property<&UITextField::keyboardType_>(sel::keyboardType, sel::setKeyboardType_)
        .method(sel::delegate, [](id self) { return as<UITextField>(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { as<UITextField>(self)->delegate_ = delegate; });
}

}  // namespace uikit::detail
}  // namespace platform

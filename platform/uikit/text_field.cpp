#include "platform/uikit/text_field.h"

#include "platform/uikit/internal.h"

namespace platform {

namespace {

Class* fieldClass() {
    static Class* c = objc_getClass("UITextField");
    return c;
}

UITextField* field(id self) { return as<UITextField>(self); }

}  // namespace

bool UITextField::replaceCharacters(NSRange range, const std::string& replacement) {
    std::string current = text_.stringOr("");
    if (range.location > current.size() || range.length > current.size() - range.location) return false;
    Ref<UITextField> protector(this);
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate, sel::textField_shouldChangeCharactersInRange_replacementString_.name) &&
        !sel::textField_shouldChangeCharactersInRange_replacementString_(delegate, this, range, Value(replacement)))
        return false;
    current.replace(range.location, range.length, replacement);
    text_ = Value(current);
    sendActions(UIControlEventEditingChanged, nullptr);
    return true;
}

bool UITextField::insertText(const std::string& text) {
    return replaceCharacters(NSRange{text_.stringOr("").size(), 0}, text);
}

bool UITextField::deleteBackward() {
    std::string current = text_.stringOr("");
    if (current.empty()) return false;
    // A whole UTF-8 character.
    std::size_t start = current.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(current[start]) & 0xC0) == 0x80) --start;
    return replaceCharacters(NSRange{start, current.size() - start}, "");
}

bool UITextField::pressReturn() {
    Ref<UITextField> protector(this);
    Ref<Object> delegate = delegate_.lock();
    bool answer = true;
    if (delegate && respondsToSelector(delegate, sel::textFieldShouldReturn_.name)) answer = sel::textFieldShouldReturn_(delegate, this);
    if (answer) sendActions(UIControlEventEditingDidEndOnExit, nullptr);
    return answer;
}

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
        .method(sel::setDelegate_, [](id self, id delegate) { as<UITextField>(self)->delegate_ = delegate; })
        .method(sel::canBecomeFirstResponder, [](id self) { return field(self)->enabled_; })
        .method(sel::becomeFirstResponder,
                [](id self) {
                    bool was = sel::isFirstResponder(self);
                    if (!sel::becomeFirstResponder.super(fieldClass(), self)) return false;
                    if (was) return true;
                    Ref<UITextField> protector(field(self));
                    if (Ref<Object> d = field(self)->delegate_.lock(); d && respondsToSelector(d, sel::textFieldDidBeginEditing_.name))
                        sel::textFieldDidBeginEditing_(d, self);
                    field(self)->sendActions(UIControlEventEditingDidBegin, nullptr);
                    return true;
                })
        // A tap on the field starts editing it.
        .method(sel::endTrackingWithTouch_withEvent_,
                [](id self, id, id) {
                    if (field(self)->touchInside_) sel::becomeFirstResponder(self);
                })
        .method(sel::resignFirstResponder, [](id self) {
            bool was = sel::isFirstResponder(self);
            if (!sel::resignFirstResponder.super(fieldClass(), self)) return false;
            if (!was) return true;
            Ref<UITextField> protector(field(self));
            if (Ref<Object> d = field(self)->delegate_.lock(); d && respondsToSelector(d, sel::textFieldDidEndEditing_.name))
                sel::textFieldDidEndEditing_(d, self);
            field(self)->sendActions(UIControlEventEditingDidEnd, nullptr);
            return true;
        });
}

}  // namespace uikit::detail
}  // namespace platform

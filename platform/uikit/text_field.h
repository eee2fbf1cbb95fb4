// UITextField: a line of text the user types, with its keyboard type,
// placeholder and delegate (weak). Tests set the text from code, or act as the
// keyboard: every change the keyboard makes (typing, pasting, deleting) first
// asks the delegate's textField:shouldChangeCharactersInRange:replacementString:
// and is dropped whole on NO; an accepted change sends editing-changed. The
// field becomes first responder to edit (textFieldDidBeginEditing:,
// editing-did-begin) and ends editing when it resigns (textFieldDidEndEditing:,
// editing-did-end). Offsets count bytes of the UTF-8 text. Main thread only.
#pragma once

#include <string>

#include "platform/uikit/control.h"

namespace platform {

inline constexpr long long UIKeyboardTypeDefault = 0;
inline constexpr long long UIKeyboardTypeASCIICapable = 1;
inline constexpr long long UIKeyboardTypeNumbersAndPunctuation = 2;
inline constexpr long long UIKeyboardTypeURL = 3;
inline constexpr long long UIKeyboardTypeNumberPad = 4;
inline constexpr long long UIKeyboardTypePhonePad = 5;
inline constexpr long long UIKeyboardTypeDecimalPad = 8;

class UITextField : public UIControl {
public:
    Value text_;
    Value placeholder_;
    long long keyboardType_ = UIKeyboardTypeDefault;
    WeakRef<Object> delegate_;

    // The keyboard's changes; each answers whether it was made.
    bool replaceCharacters(NSRange range, const std::string& replacement);
    // Typing or pasting at the end of the text.
    bool insertText(const std::string& text);
    // The delete key: the last character.
    bool deleteBackward();
    // The return key: asks textFieldShouldReturn:; answers the delegate's answer (YES without one).
    bool pressReturn();
};

}  // namespace platform

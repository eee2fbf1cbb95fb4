// UITextField: a line of text the user types, with its keyboard type,
// placeholder and delegate (weak). Tests type by setting the text. Main
// thread only.
#pragma once

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
};

}  // namespace platform

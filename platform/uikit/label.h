// UILabel: text in a font and colour. Its size to fit follows the metrics of
// text_metrics.h. Labels do not take touches (userInteractionEnabled NO).
// Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

inline constexpr long long NSTextAlignmentLeft = 0;
inline constexpr long long NSTextAlignmentCenter = 1;
inline constexpr long long NSTextAlignmentRight = 2;
inline constexpr long long NSTextAlignmentJustified = 3;
inline constexpr long long NSTextAlignmentNatural = 4;

inline constexpr long long NSLineBreakByWordWrapping = 0;
inline constexpr long long NSLineBreakByCharWrapping = 1;
inline constexpr long long NSLineBreakByClipping = 2;
inline constexpr long long NSLineBreakByTruncatingHead = 3;
inline constexpr long long NSLineBreakByTruncatingTail = 4;
inline constexpr long long NSLineBreakByTruncatingMiddle = 5;

class UILabel : public UIView {
public:
    UILabel() { userInteractionEnabled_ = false; }

    Value text_;
    Ref<Object> font_;       // system font 17 until set
    Ref<Object> textColor_;  // black until set
    long long textAlignment_ = NSTextAlignmentLeft;
    long long numberOfLines_ = 1;
    long long lineBreakMode_ = NSLineBreakByTruncatingTail;
    bool adjustsFontSizeToFitWidth_ = false;
    bool highlighted_ = false;
    bool enabled_ = true;

    // The size the text needs within `limit` (a width of 0 or less: no limit).
    Size textSize(Size limit) const;
};

}  // namespace platform

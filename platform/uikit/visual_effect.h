// The effects a UIVisualEffectView shows: UIBlurEffect (effectWithStyle:, the
// style kept) and UIVibrancyEffect (effectForBlurEffect:, the blur kept).
// Nothing is rendered. Effects are immutable, so a copy is the effect itself.
// They exist from iOS 8 on: earlier systems do not have the classes.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform {

inline constexpr long long UIBlurEffectStyleExtraLight = 0;
inline constexpr long long UIBlurEffectStyleLight = 1;
inline constexpr long long UIBlurEffectStyleDark = 2;

class UIVisualEffect : public NSObject {};

class UIBlurEffect : public UIVisualEffect {
public:
    long long style_ = UIBlurEffectStyleExtraLight;
};

class UIVibrancyEffect : public UIVisualEffect {
public:
    Ref<UIBlurEffect> blurEffect_;
};

}  // namespace platform

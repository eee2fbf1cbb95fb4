// UIActivityIndicatorView: the spinning wheel, in one of three styles and a
// colour; it only records whether it spins. Its size is fixed by the style
// (37 points for the large one, 20 for the others) when made with a style;
// made with a frame it keeps the frame. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

inline constexpr long long UIActivityIndicatorViewStyleWhiteLarge = 0;
inline constexpr long long UIActivityIndicatorViewStyleWhite = 1;
inline constexpr long long UIActivityIndicatorViewStyleGray = 2;

class UIActivityIndicatorView : public UIView {
public:
    long long style_ = UIActivityIndicatorViewStyleWhite;
    Ref<Object> color_;  // nil: the style's
    bool animating_ = false;
};

}  // namespace platform

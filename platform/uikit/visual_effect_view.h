// UIVisualEffectView: a view that shows an effect (visual_effect.h) over what
// lies behind it, with a content view for its subviews that fills it and
// follows its size. Nothing is rendered. iOS 8 and later, as the effects.
// Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

class UIVisualEffectView : public UIView {
public:
    Ref<Object> effect_;
    Ref<UIView> contentView_;
};

}  // namespace platform

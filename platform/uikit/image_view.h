// UIImageView: shows an image (nothing is drawn); its size to fit is the
// image's size. Image views do not take touches. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

class UIImageView : public UIView {
public:
    UIImageView() { userInteractionEnabled_ = false; }
    Ref<Object> image_;
    bool highlighted_ = false;
};

}  // namespace platform

// UIImageView: shows an image, scaled to its bounds when its layer is
// rendered; its size to fit is the image's size. Image views do not take
// touches. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

class UIImageView : public UIView {
public:
    UIImageView() { userInteractionEnabled_ = false; }
    Ref<Object> image_;
    bool highlighted_ = false;

    void drawContent(const std::shared_ptr<CGContext>& context) override;
};

}  // namespace platform

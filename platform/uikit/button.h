// UIButton: a control with a title, title colour, image and background image
// per state (a state without its own falls back to the normal state's), a
// title label and an image view that show the current state's content, and a
// button type (0 custom, 1 system). Its size to fit is its image beside its
// title. Main thread only.
#pragma once

#include <map>

#include "platform/uikit/control.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/label.h"

namespace platform {

inline constexpr long long UIButtonTypeCustom = 0;
inline constexpr long long UIButtonTypeSystem = 1;
inline constexpr long long UIButtonTypeDetailDisclosure = 2;
inline constexpr long long UIButtonTypeInfoLight = 3;
inline constexpr long long UIButtonTypeInfoDark = 4;
inline constexpr long long UIButtonTypeContactAdd = 5;

class UIButton : public UIControl {
public:
    // buttonWithType: on the UIButton class.
    static Ref<UIButton> buttonWithType(long long type);

    long long buttonType_ = UIButtonTypeCustom;
    std::map<unsigned long long, Value> titles_;
    std::map<unsigned long long, Ref<Object>> titleColors_;
    std::map<unsigned long long, Ref<Object>> images_;
    std::map<unsigned long long, Ref<Object>> backgroundImages_;
    Ref<UILabel> titleLabel_;
    Ref<UIImageView> imageView_;
    bool adjustsImageWhenHighlighted_ = true;
    bool showsTouchWhenHighlighted_ = false;

    // Shows the current state's title, title colour and image.
    void updateContent();
};

}  // namespace platform

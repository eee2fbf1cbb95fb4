// The controls that hold a value: UISwitch (on or off, 51 x 31 points
// whatever its frame says; a tap toggles it and sends value-changed),
// UISlider (a float kept within its minimum and maximum) and UIDatePicker
// (the picked time as a count-down duration in seconds, 0 to 23:59). Set
// from code, none of them sends an action, as in UIKit. Main thread only.
#pragma once

#include "platform/uikit/control.h"

namespace platform {

class UISwitch : public UIControl {
public:
    static constexpr Size kSize{51, 31};
    bool on_ = false;
    Ref<Object> onTintColor_;
};

class UISlider : public UIControl {
public:
    float value_ = 0;
    float minimumValue_ = 0;
    float maximumValue_ = 1;
};

inline constexpr long long UIDatePickerModeTime = 0;
inline constexpr long long UIDatePickerModeDate = 1;
inline constexpr long long UIDatePickerModeDateAndTime = 2;
inline constexpr long long UIDatePickerModeCountDownTimer = 3;

class UIDatePicker : public UIControl {
public:
    static constexpr Size kSize{320, 216};
    static constexpr double kMaximumDuration = 23 * 3600 + 59 * 60;
    long long mode_ = UIDatePickerModeDateAndTime;
    double countDownDuration_ = 0;
};

}  // namespace platform

// The controls that hold a value: UISwitch (on or off, 51 x 31 points
// whatever its frame says; a tap toggles it and sends value-changed),
// UISlider (a float kept within its minimum and maximum; a touch that begins
// on its thumb drags it, each move and the lift setting the value under the
// finger and sending value-changed when it changed) and UIDatePicker (the
// picked time as a count-down duration in seconds, 0 to 23:59; a user's spin
// is uikit::spin). Set from code, none of them sends an action, as in UIKit.
// Main thread only.
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
    static constexpr double kThumbSize = 31;
    float value_ = 0;
    float minimumValue_ = 0;
    float maximumValue_ = 1;

    // The thumb, in the slider's coordinates: a square across the track's
    // height, its left edge from 0 (minimum) to the width less its size (maximum).
    Rect thumbRect() const;
    // The point at the middle of the thumb when it shows `value` (in the slider's coordinates).
    Point pointForValue(float value) const;
    // The value the thumb shows when its middle is at x (clamped).
    float valueAt(double x) const;
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

namespace uikit {
// What a user's spin of the picker's wheels does: the picker shows the time
// (seconds into the day, clamped as countDownDuration is) and sends value-changed.
void spin(UIDatePicker* picker, double countDownSeconds);
}  // namespace uikit

}  // namespace platform

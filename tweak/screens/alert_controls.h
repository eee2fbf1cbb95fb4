// The alert window's own controls: RS2Button (fills with its tint while
// pressed), RS2CircleButton (the round Snooze and Dismiss buttons),
// RS2NumberButton (a round digit key) and RS2NumberPad (the keypad of the
// arithmetic question). Their images are PNG files of the settings bundle.
// Main thread only.
#pragma once

#include "platform/uikit/button.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/label.h"
#include "tweak/screens/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id, int)> setType_{"setType:"};
inline constexpr Sel<void(id, int)> setupForNumber_{"setupForNumber:"};
inline constexpr Sel<int(id)> num{"num"};
inline constexpr Sel<void(id, int)> setNum_{"setNum:"};
inline constexpr Sel<Ref<Object>(id)> number{"number"};
inline constexpr Sel<void(id, id)> setNumber_{"setNumber:"};
inline constexpr Sel<void(id, id)> buttonWasPressed_{"buttonWasPressed:"};
inline constexpr Sel<void(id, id)> deleteWasPressed_{"deleteWasPressed:"};
// The number pad's delegate.
inline constexpr Sel<void(id, int)> keypadButtonPressedWithNumber_{"keypadButtonPressedWithNumber:"};
inline constexpr Sel<void(id)> backButtonPressed{"backButtonPressed"};
}  // namespace sel

// The value of the decimal-point key.
inline constexpr int kDecimalPointKey = 42;

// "/Library/PreferenceBundles/Rousa2.bundle/<name>@2x.png" on a screen whose
// scale is above 1, "<name>.png" otherwise.
std::string alertImagePath(std::string_view name);

class RS2Button : public UIButton {};

class RS2CircleButton : public RS2Button {
public:
    Ref<UIImageView> image;
};

class RS2NumberButton : public RS2Button {
public:
    int num = 0;
    Ref<UILabel> number;
};

class RS2NumberPad : public UIView {
public:
    // Held weakly: the alert window owns the pad.
    WeakRef<Object> delegate;
};

void registerAlertControlClasses();

}  // namespace rousa

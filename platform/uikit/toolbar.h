// UIToolbar: a bar that holds bar button items (navigation.h) from left to
// right, each shown as a button as in a navigation bar; flexible spaces share
// the room the buttons leave, fixed spaces take none. Nothing is drawn: a tap
// on an item's button is UIBarButtonItem::press. Main thread only.
#pragma once

#include "platform/uikit/navigation.h"

namespace platform {

class UIToolbar : public UIItemBar {
public:
    static constexpr double kMargin = 8;  // between the edges and the outer items, and between items without spaces
    Value items_;  // array of UIBarButtonItem, nil until set

protected:
    void makeContent() override;
};

}  // namespace platform

// UIToolbar: a bar that holds bar button items (navigation.h) from left to
// right; flexible spaces share the room between the others. Nothing is
// drawn: a tap on an item is UIBarButtonItem::press. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

class UIToolbar : public UIView {
public:
    Value items_;  // array of UIBarButtonItem, nil until set
};

}  // namespace platform

// Twitter: TWTweetComposeViewController, the sheet that shares a line of text.
// A view controller that keeps its initial text; it is presented like any
// other and sends nothing. Main thread only.
#pragma once

#include "platform/uikit/view_controller.h"

namespace platform {

namespace sel {
// YES when the text was taken (the sheet takes it until it is presented).
inline constexpr Sel<bool(id, Value)> setInitialText_{"setInitialText:"};
}  // namespace sel

class TWTweetComposeViewController : public UIViewController {
public:
    Value initialText_;
};

namespace twitter {
void registerClasses();
}

}  // namespace platform

// UIResponder: the base of views, view controllers and the application. Touch
// methods that a responder does not handle go up its responder chain; one
// responder of the process may be first responder. Main thread only.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform {

class UIResponder : public NSObject {};

// The current first responder, if any.
Ref<Object> currentFirstResponder();

}  // namespace platform

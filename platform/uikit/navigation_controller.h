// UINavigationController: a stack of view controllers under a navigation
// bar. The top controller's view fills the navigation controller's view; a
// push or a pop swaps it and sends the appearance callbacks in UIKit's order
// (the leaving controller's will-callback first) when the navigation
// controller's view is on a visible window; the top controller also appears and
// disappears with the navigation controller (presented or dismissed, say), as
// UIKit forwards the callbacks. Each controller on the stack
// knows the navigation controller weakly (navigationController) and its
// navigation item is told the bar. Transitions take effect at once, animated
// or not; a controller that leaves the stack is released at the end of the
// current run-loop pass, as UIKit's autorelease does. Main thread only.
#pragma once

#include <vector>

#include "platform/uikit/navigation.h"
#include "platform/uikit/view_controller.h"

namespace platform {

class UINavigationController : public UIViewController {
public:
    std::vector<Ref<UIViewController>> stack_;  // bottom first
    Ref<UINavigationBar> navigationBar_;

    // Replaces the stack; the old top leaves and the new top appears when they differ.
    void setStack(std::vector<Ref<UIViewController>> stack, bool animated);
    // The top controller appears and disappears with the navigation controller.
    UIViewController* appearanceChild() const override { return stack_.empty() ? nullptr : stack_.back().get(); }
};

}  // namespace platform

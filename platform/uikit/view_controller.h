// UIViewController: loads its view on first access (loadView, then
// viewDidLoad), gets appearance callbacks when its view goes onto or off a
// visible window, and presents another controller full screen in its view's
// window. A controller owns its view and the controller it presents; the view
// and the presented controller point back weakly. By default it does not hide
// the status bar, autorotates, supports every orientation but upside down on a
// phone (all four on a pad) and, asked the old way, portrait only; a rotation
// of the device (uikit::rotateDevice) tells the topmost presented controller
// of the key window. Main thread only.
#pragma once

#include "platform/uikit/view.h"

namespace platform {

class UIViewController : public UIResponder {
public:
    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };

    Ref<UIView> view_;
    Value title_;
    Ref<Object> navigationItem_;  // made on first use (navigation.h)
    Ref<UIViewController> presented_;
    WeakRef<UIViewController> presenting_;
    // The container whose child this is (a navigation controller), if any.
    WeakRef<UIViewController> parentViewController_;
    Appearance appearance_ = Appearance::Disappeared;
    long long modalPresentationStyle_ = 0;  // full screen
    bool transitionAnimated_ = false;
    bool beingDismissed_ = false;
    long long modalTransitionStyle_ = 0;
    // Custom transitions (view_controller_transitioning.h): the delegate, and
    // for a controller presented through an animator, the container it was
    // shown in and where the presenting view was before.
    WeakRef<Object> transitioningDelegate_;
    Ref<UIView> transitionContainer_;
    WeakRef<UIView> presentingViewHome_;
    long long presentingViewHomeIndex_ = 0;

    bool isViewLoaded() const { return static_cast<bool>(view_); }
    // The child whose appearance follows the container's (a navigation
    // controller's top controller), as UIKit forwards the callbacks; null for none.
    virtual UIViewController* appearanceChild() const { return nullptr; }
    // Whether the controller's view is on a visible window and not covered by a
    // controller it presents.
    bool shouldBeVisible() const;
};

// UIKit's appearance transitions: begin sends viewWillAppear: or
// viewWillDisappear: when the controller is not already going that way; end
// sends the matching did-callback of a transition in progress. Both then go on
// to the controller's appearance child.
void beginAppearanceTransition(UIViewController* controller, bool appearing, bool animated);
void endAppearanceTransition(UIViewController* controller);

}  // namespace platform

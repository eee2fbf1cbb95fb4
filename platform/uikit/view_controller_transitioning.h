// Custom transitions of presented controllers, as UIKit runs them: a
// controller presented (or dismissed) animated whose transitioningDelegate
// (weak) hands out an animator is moved by that animator inside a container
// view over the window, through a transition context; when the delegate also
// hands out an interaction controller for the presentation, the presentation
// follows the interaction until it finishes or cancels. A cancelled
// presentation puts everything back as it was: the presented view leaves, the
// presenting view returns to where it was, and nothing stays presented.
//
// The animations are not paused while an interaction runs (nothing is drawn
// here): an animator's completeTransition: that comes before the interaction
// has finished or cancelled waits for it, and then the transition ends as the
// interaction decided. UIPercentDrivenInteractiveTransition starts the animator
// at once and keeps the last percentage it was given. Main thread only.
#pragma once

#include <optional>

#include "platform/uikit/view_controller.h"

namespace platform {

inline constexpr const char* UITransitionContextFromViewControllerKey = "UITransitionContextFromViewControllerKey";
inline constexpr const char* UITransitionContextToViewControllerKey = "UITransitionContextToViewControllerKey";

namespace sel {
inline constexpr Sel<Ref<Object>(id)> transitioningDelegate{"transitioningDelegate"};
inline constexpr Sel<void(id, id)> setTransitioningDelegate_{"setTransitioningDelegate:"};
// The transitioning delegate's, each optional: (presented, presenting, source)
// and (dismissed) give an animator or nil; (animator) an interaction controller or nil.
inline constexpr Sel<Ref<Object>(id, id, id, id)> animationControllerForPresentedController_presentingController_sourceController_{
    "animationControllerForPresentedController:presentingController:sourceController:"};
inline constexpr Sel<Ref<Object>(id, id)> animationControllerForDismissedController_{"animationControllerForDismissedController:"};
inline constexpr Sel<Ref<Object>(id, id)> interactionControllerForPresentation_{"interactionControllerForPresentation:"};
inline constexpr Sel<Ref<Object>(id, id)> interactionControllerForDismissal_{"interactionControllerForDismissal:"};
// The animator's: (context).
inline constexpr Sel<double(id, id)> transitionDuration_{"transitionDuration:"};
inline constexpr Sel<void(id, id)> animateTransition_{"animateTransition:"};
// The interaction controller's: (context).
inline constexpr Sel<void(id, id)> startInteractiveTransition_{"startInteractiveTransition:"};
// The context's, and UIPercentDrivenInteractiveTransition's.
inline constexpr Sel<void(id, double)> updateInteractiveTransition_{"updateInteractiveTransition:"};
inline constexpr Sel<void(id)> finishInteractiveTransition{"finishInteractiveTransition"};
inline constexpr Sel<void(id)> cancelInteractiveTransition{"cancelInteractiveTransition"};
inline constexpr Sel<double(id)> percentComplete{"percentComplete"};
// The context's.
inline constexpr Sel<Ref<Object>(id)> containerView{"containerView"};
inline constexpr Sel<Ref<Object>(id, Value)> viewControllerForKey_{"viewControllerForKey:"};
inline constexpr Sel<bool(id)> isInteractive{"isInteractive"};
inline constexpr Sel<bool(id)> transitionWasCancelled{"transitionWasCancelled"};
inline constexpr Sel<void(id, bool)> completeTransition_{"completeTransition:"};
// UIView's: a plain view of the view's size standing in for its picture.
inline constexpr Sel<Ref<Object>(id, bool)> snapshotViewAfterScreenUpdates_{"snapshotViewAfterScreenUpdates:"};
}  // namespace sel

class UIViewControllerTransitionContext : public NSObject {
public:
    bool presenting_ = true;
    Ref<UIView> containerView_;
    Ref<UIViewController> from_;
    Ref<UIViewController> to_;
    Ref<Object> animator_;
    bool interactive_ = false;
    bool interactionDecided_ = false;
    bool cancelled_ = false;
    bool completed_ = false;
    double percentComplete_ = 0;
    // An animator's completeTransition: that came while the interaction ran.
    std::optional<bool> heldCompletion_;
    Block completion_;

    void complete(bool didComplete);
    void decideInteraction(bool cancelled);
};

class UIPercentDrivenInteractiveTransition : public NSObject {
public:
    Ref<UIViewControllerTransitionContext> context_;
    double percentComplete_ = 0;
};

namespace uikit::detail {
// present/dismiss (view_controller.cpp) hand over here when the presented
// controller's transitioning delegate has an animator; YES when it took over.
bool presentWithTransition(UIViewController* presenter, UIViewController* presented, Block& completion);
bool dismissWithTransition(UIViewController* presenter, UIViewController* presented, Block& completion);
// A dismissal without animator of a controller presented through one: the
// presenting view goes home and the container leaves the window.
void transitionPresentationGone(UIViewController* presented);
}  // namespace uikit::detail

}  // namespace platform

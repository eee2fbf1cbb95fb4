// The finger-following presentation of the swipe-to-view store sheet:
// YBXViewControllerFullScreenSwipeAnimation moves the sheet (and a snapshot of
// the ad, when the ad is dragged along) between the swipe's start and the full
// screen; YBXAnimationContext holds the frames of one run;
// YBXPercentDrivenUserInteractionAnimationController turns the pan into the
// transition's progress, finishes or cancels it on release and is the sheet's
// transitioning delegate. None of them exists below system version 7.0.
// Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/uikit/view_controller_transitioning.h"

namespace adlib {

class YBXAnimationContext : public NSObject {
public:
    Ref<Object> animatedViewController_;
    Rect animatedViewStartFrame_{};
    Rect animatedViewEndFrame_{};
    Rect draggableViewStartFrame_{};
    Rect draggableViewEndFrame_{};
    Ref<Object> draggableViewScreenshot_;
};

class YBXViewControllerFullScreenSwipeAnimation : public NSObject {
public:
    // The frames of a presentation or a dismissal in the transition's container.
    Ref<YBXAnimationContext> presentationContext(id container, id sheet);
    Ref<YBXAnimationContext> dismissalContext(id container, id sheet);
    void animateTransition(id transitionContext);

    long long direction_ = 0;  // YBXSwipeDirection
    double startY_ = 0;        // window coordinates
    Ref<Object> draggableView_;
    double transitionDuration_ = 0;
    bool presenting_ = false;
    Rect draggableViewEndFrameAfterAnimation_{};
    Rect animatedViewFrameBeforeAnimation_{};
    bool draggableViewShownOnPresentation_ = false;
};

class YBXPercentDrivenUserInteractionAnimationController : public UIPercentDrivenInteractiveTransition {
public:
    void handlePanGesture(id recognizer);
    // How far the pan at window y has brought the presentation, in [0, 1].
    double progressAt(double y) const;

    Ref<Object> transitionAnimation_;
    WeakRef<Object> delegate_;
};

void registerSwipeAnimationClasses();

}  // namespace adlib

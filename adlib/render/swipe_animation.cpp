#include "adlib/render/swipe_animation.h"

#include <algorithm>

#include "adlib/foundation/device.h"
#include "adlib/render/swipe_configurations.h"
#include "platform/uikit/gesture_recognizer.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

YBXViewControllerFullScreenSwipeAnimation* animationOf(id self) { return as<YBXViewControllerFullScreenSwipeAnimation>(self); }
YBXPercentDrivenUserInteractionAnimationController* interactionOf(id self) {
    return as<YBXPercentDrivenUserInteractionAnimationController>(self);
}

bool isOS7OrLater() { return sel::isOSAtLeastMajor_minor_bug_(YBXDevice::currentDevice(), 7, 0, 0); }

Ref<Object> initOnOS7(id self) { return isOS7OrLater() ? Ref<Object>(self) : nullptr; }

Ref<YBXAnimationContext> makeContext(id sheet) {
    Ref<YBXAnimationContext> context(as<YBXAnimationContext>(sel::init(alloc("YBXAnimationContext")).get()));
    context->animatedViewController_ = Ref<Object>(sheet);
    return context;
}

// The draggable view's rectangle in the container's coordinates.
Rect placeOf(id draggable, id container) { return sel::convertRect_toView_(draggable, sel::bounds(draggable), container); }

}  // namespace

Ref<YBXAnimationContext> YBXViewControllerFullScreenSwipeAnimation::presentationContext(id container, id sheet) {
    Ref<YBXAnimationContext> context = makeContext(sheet);
    const Rect bounds = sel::bounds(container);
    const double H = bounds.height();
    const bool topToBottom = direction_ == YBXSwipeDirectionTopToBottom;
    double sheetY = topToBottom ? startY_ - H : startY_;
    draggableViewShownOnPresentation_ = false;
    draggableViewEndFrameAfterAnimation_ = Rect{};
    if (id draggable = draggableView_.get()) {
        const Rect r = placeOf(draggable, container);
        const Rect end = topToBottom ? Rect(r.x(), H, r.width(), r.height()) : Rect(r.x(), -r.height(), r.width(), r.height());
        const Size own = sel::bounds(draggable).size;
        // A picture that would be stretched on the way is no picture of the ad.
        if (r.size == own && end.size == own) {
            context->draggableViewScreenshot_ = sel::snapshotViewAfterScreenUpdates_(draggable, true);
            context->draggableViewStartFrame_ = r;
            context->draggableViewEndFrame_ = end;
            draggableViewEndFrameAfterAnimation_ = end;
            draggableViewShownOnPresentation_ = true;
            sheetY = topToBottom ? r.y() - H : r.y() + r.height();
        }
    }
    context->animatedViewStartFrame_ = Rect(bounds.x(), sheetY, bounds.width(), H);
    context->animatedViewEndFrame_ = bounds;
    animatedViewFrameBeforeAnimation_ = context->animatedViewStartFrame_;
    return context;
}

Ref<YBXAnimationContext> YBXViewControllerFullScreenSwipeAnimation::dismissalContext(id container, id sheet) {
    Ref<YBXAnimationContext> context = makeContext(sheet);
    context->animatedViewStartFrame_ = sel::frame(sel::view(sheet).get());
    context->animatedViewEndFrame_ = animatedViewFrameBeforeAnimation_;
    if (id draggable = draggableView_.get(); draggable && draggableViewShownOnPresentation_) {
        context->draggableViewScreenshot_ = sel::snapshotViewAfterScreenUpdates_(draggable, true);
        context->draggableViewStartFrame_ = draggableViewEndFrameAfterAnimation_;
        context->draggableViewEndFrame_ = placeOf(draggable, container);
    }
    return context;
}

void YBXViewControllerFullScreenSwipeAnimation::animateTransition(id transitionContext) {
    Ref<Object> container = sel::containerView(transitionContext);
    Ref<Object> from = sel::viewControllerForKey_(transitionContext, Value(UITransitionContextFromViewControllerKey));
    Ref<Object> to = sel::viewControllerForKey_(transitionContext, Value(UITransitionContextToViewControllerKey));
    Ref<Object> sheet = presenting_ ? to : from;
    // The view below first, the sheet on top.
    sel::addSubview_(container.get(), sel::view(presenting_ ? from.get() : to.get()).get());
    Ref<Object> sheetView = sel::view(sheet.get());
    sel::addSubview_(container.get(), sheetView.get());
    Ref<YBXAnimationContext> context = presenting_ ? presentationContext(container.get(), sheet.get()) : dismissalContext(container.get(), sheet.get());

    Ref<Object> screenshot = context->draggableViewScreenshot_;
    if (screenshot) {
        sel::setFrame_(screenshot.get(), context->draggableViewStartFrame_);
        sel::addSubview_(container.get(), screenshot.get());
    }
    sel::setFrame_(sheetView.get(), context->animatedViewStartFrame_);
    Ref<Object> transition(transitionContext);
    UIView::animateWithDuration(
        transitionDuration_,
        [context, sheetView, screenshot] {
            if (screenshot) sel::setFrame_(screenshot.get(), context->draggableViewEndFrame_);
            sel::setFrame_(sheetView.get(), context->animatedViewEndFrame_);
        },
        [transition, screenshot](bool) {
            // The picture has done its part: left behind it would hide the live ad.
            if (screenshot) sel::removeFromSuperview(screenshot.get());
            sel::completeTransition_(transition.get(), !sel::transitionWasCancelled(transition.get()));
        });
}

double YBXPercentDrivenUserInteractionAnimationController::progressAt(double y) const {
    auto* animation = animationOf(transitionAnimation_.get());
    if (!animation) return 0;
    const double startY = animation->startY_;
    double progress = 0;
    if (animation->direction_ == YBXSwipeDirectionTopToBottom) {
        const double span = UIScreen::mainScreen()->bounds().height() - startY;
        progress = span > 0 ? (y - startY) / span : 0;
    } else {
        progress = startY > 0 ? (startY - y) / startY : 0;
    }
    return std::clamp(progress, 0.0, 1.0);
}

void YBXPercentDrivenUserInteractionAnimationController::handlePanGesture(id recognizer) {
    Ref<YBXPercentDrivenUserInteractionAnimationController> protector(this);
    auto* animation = animationOf(transitionAnimation_.get());
    const unsigned long long state = sel::state(recognizer);
    if (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStatePossible) return;
    if (state == UIGestureRecognizerStateChanged) {
        sel::updateInteractiveTransition_(this, progressAt(sel::locationInView_(recognizer, nullptr).y));
        return;
    }
    bool finish = false;
    if (state == UIGestureRecognizerStateEnded && animation) {
        const long long direction = animation->direction_;
        const bool topToBottom = animation->presenting_ ? direction == YBXSwipeDirectionTopToBottom : direction == YBXSwipeDirectionBottomToTop;
        const double velocity = sel::velocityInView_(recognizer, nullptr).y;
        finish = topToBottom ? velocity > 0 : velocity < 0;
    }
    Ref<Object> delegate = delegate_.lock();
    if (finish) {
        sel::finishInteractiveTransition(this);
        if (delegate) sel::animationControllerDidFinishAnimationTransition_(delegate.get(), this);
    } else {
        sel::cancelInteractiveTransition(this);
        if (delegate) sel::animationControllerDidCancelAnimationTransition_(delegate.get(), this);
    }
}

void registerSwipeAnimationClasses() {
    ClassBuilder<YBXAnimationContext>("YBXAnimationContext", "NSObject")
        .method(sel::animatedViewController, [](id self) { return as<YBXAnimationContext>(self)->animatedViewController_; })
        .getter<&YBXAnimationContext::animatedViewStartFrame_>(sel::animatedViewStartFrame)
        .getter<&YBXAnimationContext::animatedViewEndFrame_>(sel::animatedViewEndFrame)
        .getter<&YBXAnimationContext::draggableViewStartFrame_>(sel::draggableViewStartFrame)
        .getter<&YBXAnimationContext::draggableViewEndFrame_>(sel::draggableViewEndFrame)
        .method(sel::draggableViewScreenshot, [](id self) { return as<YBXAnimationContext>(self)->draggableViewScreenshot_; });

    using Animation = YBXViewControllerFullScreenSwipeAnimation;
    ClassBuilder<Animation>("YBXViewControllerFullScreenSwipeAnimation", "NSObject")
        .protocol("UIViewControllerAnimatedTransitioning")
        .method(sel::init, &initOnOS7)
        .method(sel::transitionDuration_, [](id self, id) { return animationOf(self)->transitionDuration_; })
        .method(sel::animateTransition_, [](id self, id context) { animationOf(self)->animateTransition(context); })
        .method(sel::willAnimatePresentation, [](id self) { animationOf(self)->presenting_ = true; })
        .method(sel::willAnimateDismissal, [](id self) { animationOf(self)->presenting_ = false; })
        .property<&Animation::direction_>(sel::direction, sel::setDirection_)
        .property<&Animation::startY_>(sel::startY, sel::setStartY_)
        .method(sel::draggableView, [](id self) { return animationOf(self)->draggableView_; })
        .method(sel::setDraggableView_, [](id self, id view) { animationOf(self)->draggableView_ = Ref<Object>(view); })
        .property<&Animation::transitionDuration_>(sel::transitionDuration, sel::setTransitionDuration_)
        .getter<&Animation::presenting_>(sel::presenting)
        .getter<&Animation::draggableViewEndFrameAfterAnimation_>(sel::draggableViewEndFrameAfterAnimation)
        .getter<&Animation::animatedViewFrameBeforeAnimation_>(sel::animatedViewFrameBeforeAnimation)
        .getter<&Animation::draggableViewShownOnPresentation_>(sel::draggableViewShownOnPresentation);

    using Interaction = YBXPercentDrivenUserInteractionAnimationController;
    ClassBuilder<Interaction>("YBXPercentDrivenUserInteractionAnimationController", "UIPercentDrivenInteractiveTransition")
        .protocol("UIViewControllerTransitioningDelegate")
        .method(sel::init, &initOnOS7)
        .method(sel::transitionAnimation, [](id self) { return interactionOf(self)->transitionAnimation_; })
        .method(sel::setTransitionAnimation_, [](id self, id animation) { interactionOf(self)->transitionAnimation_ = Ref<Object>(animation); })
        .method(sel::delegate, [](id self) { return interactionOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { interactionOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::handlePanGesture_, [](id self, id recognizer) { interactionOf(self)->handlePanGesture(recognizer); })
        .method(sel::animationControllerForPresentedController_presentingController_sourceController_,
                [](id self, id, id, id) {
                    Ref<Object> animation = interactionOf(self)->transitionAnimation_;
                    sel::willAnimatePresentation(animation.get());
                    return animation;
                })
        .method(sel::animationControllerForDismissedController_,
                [](id self, id) {
                    Ref<Object> animation = interactionOf(self)->transitionAnimation_;
                    sel::willAnimateDismissal(animation.get());
                    return animation;
                })
        .method(sel::interactionControllerForPresentation_, [](id self, id) { return Ref<Object>(self); });
}

}  // namespace adlib

#include "platform/uikit/view_controller_transitioning.h"

#include <algorithm>

#include "platform/foundation/run_loop.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/window.h"

namespace platform {

namespace {

UIViewControllerTransitionContext* contextOf(id self) { return as<UIViewControllerTransitionContext>(self); }
UIPercentDrivenInteractiveTransition* interactionOf(id self) { return as<UIPercentDrivenInteractiveTransition>(self); }

Ref<Object> askDelegate(UIViewController* presented, auto selector, auto... arguments) {
    Ref<Object> delegate = presented->transitioningDelegate_.lock();
    if (!delegate || !respondsToSelector(delegate, selector.name)) return nullptr;
    return selector(delegate, arguments...);
}

void runSoon(Block completion) {
    if (completion) RunLoop::main().post(std::move(completion));
}

// The presenting view goes back where it was before the presentation moved it
// into the container, and the container leaves the window.
void sendPresentingViewHome(UIViewController* presenter, UIViewController* presented) {
    Ref<UIView> home = presented->presentingViewHome_.lock();
    if (presenter->view_ && home && presenter->view_->superview() != home) {
        const long long count = static_cast<long long>(home->subviewList().size());
        insertSubview(home, presenter->view_, std::min(presented->presentingViewHomeIndex_, count));
    }
    if (presented->transitionContainer_) sel::removeFromSuperview(presented->transitionContainer_);
    presented->transitionContainer_ = nullptr;
    presented->presentingViewHome_ = nullptr;
}

void unlink(UIViewController* presenter, UIViewController* presented) {
    presenter->presented_ = nullptr;
    presented->presenting_ = nullptr;
}

Ref<UIViewControllerTransitionContext> makeContext(bool presenting, UIViewController* from, UIViewController* to, id animator,
                                                   UIView* container, Block& completion) {
    Ref<UIViewControllerTransitionContext> context(as<UIViewControllerTransitionContext>(alloc("UIViewControllerTransitionContext")));
    context->presenting_ = presenting;
    context->from_ = from;
    context->to_ = to;
    context->animator_ = animator;
    context->containerView_ = container;
    context->completion_ = std::move(completion);
    return context;
}

// An interaction controller, when the delegate gave one, drives the animator.
void startTransition(UIViewControllerTransitionContext* context, id animator, const Ref<Object>& interaction) {
    if (interaction) {
        context->interactive_ = true;
        sel::startInteractiveTransition_(interaction.get(), context);
    } else {
        sel::animateTransition_(animator, context);
    }
}

}  // namespace

void UIViewControllerTransitionContext::complete(bool didComplete) {
    if (interactive_ && !interactionDecided_) {
        heldCompletion_ = didComplete;
        return;
    }
    if (completed_) return;
    completed_ = true;
    Ref<UIViewControllerTransitionContext> protector(this);
    UIViewController* presenter = presenting_ ? from_.get() : to_.get();
    UIViewController* presented = presenting_ ? to_.get() : from_.get();
    if (presenting_ && didComplete) {
        // Full screen: the presenting view leaves the window until the dismissal.
        if (presenter->view_ && presenter->view_->superview() == containerView_) sel::removeFromSuperview(presenter->view_);
        endAppearanceTransition(presented);
        endAppearanceTransition(presenter);
        runSoon(std::move(completion_));
    } else if (presenting_) {
        if (presented->view_ && presented->view_->superview()) sel::removeFromSuperview(presented->view_);
        sendPresentingViewHome(presenter, presented);
        unlink(presenter, presented);
        beginAppearanceTransition(presented, false, true);
        endAppearanceTransition(presented);
        beginAppearanceTransition(presenter, true, true);
        endAppearanceTransition(presenter);
    } else if (didComplete) {
        if (presented->view_ && presented->view_->superview()) sel::removeFromSuperview(presented->view_);
        sendPresentingViewHome(presenter, presented);
        unlink(presenter, presented);
        endAppearanceTransition(presented);
        endAppearanceTransition(presenter);
        Ref<UIViewController> dismissed(presented);
        RunLoop::main().post([dismissed, completion = std::move(completion_)] {
            dismissed->beingDismissed_ = false;
            if (completion) completion();
        });
    } else {
        // A dismissal called off: the presented controller stays on top.
        if (presenter->view_ && presenter->view_->superview() == containerView_) sel::removeFromSuperview(presenter->view_);
        presented->beingDismissed_ = false;
        beginAppearanceTransition(presented, true, true);
        endAppearanceTransition(presented);
        beginAppearanceTransition(presenter, false, true);
        endAppearanceTransition(presenter);
    }
}

void UIViewControllerTransitionContext::decideInteraction(bool cancelled) {
    if (!interactive_ || interactionDecided_) return;
    interactionDecided_ = true;
    cancelled_ = cancelled;
    if (heldCompletion_) complete(!cancelled);
}

namespace uikit::detail {

bool presentWithTransition(UIViewController* presenter, UIViewController* presented, Block& completion) {
    Ref<Object> animator =
        askDelegate(presented, sel::animationControllerForPresentedController_presentingController_sourceController_, presented, presenter, presenter);
    Ref<UIWindow> window = presenter->view_ ? presenter->view_->window() : nullptr;
    if (!animator || !window) return false;
    Ref<UIViewController> protector(presenter);
    Ref<UIViewController> presentedProtector(presented);
    presenter->presented_ = presented;
    presented->presenting_ = presenter;
    beginAppearanceTransition(presenter, false, true);
    sel::view(presented);
    beginAppearanceTransition(presented, !window->hidden_, true);

    Ref<UIView> container = UIView::make("UIView", window->bounds_);
    sel::addSubview_(window, container);
    presented->transitionContainer_ = container;
    if (Ref<UIView> home = presenter->view_->superview()) {
        const auto& list = home->subviewList();
        presented->presentingViewHome_ = home.get();
        presented->presentingViewHomeIndex_ = std::find(list.begin(), list.end(), presenter->view_) - list.begin();
    }
    Ref<UIViewControllerTransitionContext> context = makeContext(true, presenter, presented, animator, container, completion);
    startTransition(context.get(), animator.get(), askDelegate(presented, sel::interactionControllerForPresentation_, animator.get()));
    return true;
}

bool dismissWithTransition(UIViewController* presenter, UIViewController* presented, Block& completion) {
    if (!presented->transitionContainer_) return false;
    Ref<Object> animator = askDelegate(presented, sel::animationControllerForDismissedController_, presented);
    if (!animator) return false;
    Ref<UIViewController> protector(presenter);
    Ref<UIViewController> presentedProtector(presented);
    presented->beingDismissed_ = true;
    beginAppearanceTransition(presented, false, true);
    Ref<UIWindow> window = presented->view_ ? presented->view_->window() : nullptr;
    beginAppearanceTransition(presenter, window && !window->hidden_, true);
    Ref<UIViewControllerTransitionContext> context =
        makeContext(false, presented, presenter, animator, presented->transitionContainer_, completion);
    startTransition(context.get(), animator.get(), askDelegate(presented, sel::interactionControllerForDismissal_, animator.get()));
    return true;
}

void transitionPresentationGone(UIViewController* presented) {
    if (!presented->transitionContainer_) return;
    if (Ref<UIViewController> presenter = presented->presenting_.lock()) sendPresentingViewHome(presenter, presented);
}

void registerViewControllerTransitions() {
    ClassBuilder<UIViewController>(objc_getClass("UIViewController"))
        .method(sel::transitioningDelegate, [](id self) { return as<UIViewController>(self)->transitioningDelegate_.lock(); })
        .method(sel::setTransitioningDelegate_, [](id self, id delegate) { as<UIViewController>(self)->transitioningDelegate_ = delegate; });

    ClassBuilder<UIView>(objc_getClass("UIView"))
        .method(sel::snapshotViewAfterScreenUpdates_, [](id self, bool) -> Ref<Object> {
            return UIView::make("UIView", Rect{{0, 0}, as<UIView>(self)->bounds_.size});
        });

    ClassBuilder<UIViewControllerTransitionContext>("UIViewControllerTransitionContext", "NSObject")
        .protocol("UIViewControllerContextTransitioning")
        .method(sel::containerView, [](id self) -> Ref<Object> { return contextOf(self)->containerView_; })
        .method(sel::viewControllerForKey_,
                [](id self, Value key) -> Ref<Object> {
                    if (!key.isString()) return nullptr;
                    if (key.string() == UITransitionContextFromViewControllerKey) return contextOf(self)->from_;
                    if (key.string() == UITransitionContextToViewControllerKey) return contextOf(self)->to_;
                    return nullptr;
                })
        .method(sel::isInteractive, [](id self) { return contextOf(self)->interactive_ && !contextOf(self)->interactionDecided_; })
        .method(sel::transitionWasCancelled, [](id self) { return contextOf(self)->cancelled_; })
        .method(sel::percentComplete, [](id self) { return contextOf(self)->percentComplete_; })
        .method(sel::updateInteractiveTransition_, [](id self, double percent) { contextOf(self)->percentComplete_ = percent; })
        .method(sel::finishInteractiveTransition, [](id self) { contextOf(self)->decideInteraction(false); })
        .method(sel::cancelInteractiveTransition, [](id self) { contextOf(self)->decideInteraction(true); })
        .method(sel::completeTransition_, [](id self, bool didComplete) { contextOf(self)->complete(didComplete); });

    ClassBuilder<UIPercentDrivenInteractiveTransition>("UIPercentDrivenInteractiveTransition", "NSObject")
        .protocol("UIViewControllerInteractiveTransitioning")
        .method(sel::startInteractiveTransition_,
                [](id self, id context) {
                    interactionOf(self)->context_ = Ref<UIViewControllerTransitionContext>(contextOf(context));
                    interactionOf(self)->percentComplete_ = 0;
                    if (UIViewControllerTransitionContext* c = contextOf(context)) sel::animateTransition_(c->animator_, context);
                })
        .method(sel::percentComplete, [](id self) { return interactionOf(self)->percentComplete_; })
        .method(sel::updateInteractiveTransition_,
                [](id self, double percent) {
                    auto* interaction = interactionOf(self);
                    interaction->percentComplete_ = std::clamp(percent, 0.0, 1.0);
                    sel::updateInteractiveTransition_(interaction->context_, interaction->percentComplete_);
                })
        .method(sel::finishInteractiveTransition,
                [](id self) {
                    Ref<UIViewControllerTransitionContext> context = std::move(interactionOf(self)->context_);
                    sel::finishInteractiveTransition(context);
                })
        .method(sel::cancelInteractiveTransition, [](id self) {
            Ref<UIViewControllerTransitionContext> context = std::move(interactionOf(self)->context_);
            sel::cancelInteractiveTransition(context);
        });
}

}  // namespace uikit::detail
}  // namespace platform

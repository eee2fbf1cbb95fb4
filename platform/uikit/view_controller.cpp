#include "platform/uikit/view_controller.h"

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/view_controller_transitioning.h"
#include "platform/uikit/window.h"

namespace platform {

using Appearance = UIViewController::Appearance;

bool UIViewController::shouldBeVisible() const {
    if (!view_ || presented_) return false;
    Ref<UIWindow> w = view_->window();
    return w && !w->hidden_;
}

void beginAppearanceTransition(UIViewController* c, bool appearing, bool animated) {
    if (!c) return;
    if (appearing && (c->appearance_ == Appearance::Disappeared || c->appearance_ == Appearance::Disappearing)) {
        c->appearance_ = Appearance::Appearing;
        c->transitionAnimated_ = animated;
        sel::viewWillAppear_(c, animated);
    } else if (!appearing && (c->appearance_ == Appearance::Appeared || c->appearance_ == Appearance::Appearing)) {
        c->appearance_ = Appearance::Disappearing;
        c->transitionAnimated_ = animated;
        sel::viewWillDisappear_(c, animated);
    }
    beginAppearanceTransition(c->appearanceChild(), appearing, animated);
}

void endAppearanceTransition(UIViewController* c) {
    if (!c) return;
    if (c->appearance_ == Appearance::Appearing) {
        c->appearance_ = Appearance::Appeared;
        sel::viewDidAppear_(c, c->transitionAnimated_);
    } else if (c->appearance_ == Appearance::Disappearing) {
        c->appearance_ = Appearance::Disappeared;
        sel::viewDidDisappear_(c, c->transitionAnimated_);
    }
    endAppearanceTransition(c->appearanceChild());
}

namespace uikit::detail {

std::vector<Ref<UIViewController>> controllersIn(UIView* root) {
    std::vector<Ref<UIViewController>> out;
    for (const auto& v : subtree(root))
        if (Ref<UIViewController> c = v->viewController_.lock()) out.push_back(c);
    return out;
}

void beginAppearance(const std::vector<Ref<UIViewController>>& controllers, bool inVisibleWindow) {
    for (const auto& c : controllers) beginAppearanceTransition(c, inVisibleWindow && !c->presented_, false);
}

void endAppearance(const std::vector<Ref<UIViewController>>& controllers) {
    for (const auto& c : controllers) endAppearanceTransition(c);
}

}  // namespace uikit::detail

namespace {

void runSoon(Block completion) {
    if (completion) RunLoop::main().post(std::move(completion));
}

void present(id self, id other, bool animated, Block completion) {
    auto* presenter = as<UIViewController>(self);
    Ref<UIViewController> presented(as<UIViewController>(other));
    if (!presented)
        raise("NSInvalidArgumentException", "Application tried to present a nil modal view controller on target " + objectDescription(self) + ".");
    if (presented.get() == presenter || presented->presenting_.lock())
        raise("NSInvalidArgumentException", "Application tried to present modally an active controller " + objectDescription(presented) + ".");
    if (presenter->presented_) {
        NSLog("Warning: Attempt to present %@ on %@ which is already presenting %@", presented, self, presenter->presented_);
        return;
    }
    Ref<UIWindow> window = presenter->view_ ? presenter->view_->window() : nullptr;
    if (!window) {
        NSLog("Warning: Attempt to present %@ on %@ whose view is not in the window hierarchy!", presented, self);
        return;
    }
    if (animated && uikit::detail::presentWithTransition(presenter, presented, completion)) return;
    Ref<UIViewController> protector(presenter);
    bool visible = !window->hidden_;
    beginAppearanceTransition(presenter, false, animated);
    presenter->presented_ = presented;
    presented->presenting_ = presenter;
    Ref<Object> view = sel::view(presented);
    beginAppearanceTransition(presented, visible, animated);
    if (view) {
        sel::setFrame_(view, window->bounds_);
        sel::setAutoresizingMask_(view, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        sel::addSubview_(window, view);
    }
    endAppearanceTransition(presented);
    endAppearanceTransition(presenter);
    runSoon(std::move(completion));
}

void dismiss(id self, bool animated, Block completion) {
    auto* c = as<UIViewController>(self);
    Ref<UIViewController> presenter, presented;
    if (c->presented_) {
        presenter = c;
        presented = c->presented_;
    } else if (Ref<UIViewController> p = c->presenting_.lock()) {
        presenter = p;
        presented = Ref<UIViewController>(c);
    } else if (Ref<UIViewController> parent = c->parentViewController_.lock()) {
        // A child (of a presented navigation controller, say) dismisses what contains it.
        sel::dismissViewControllerAnimated_completion_(parent, animated, std::move(completion));
        return;
    } else {
        return;
    }
    // Everything presented above the presenter goes, the topmost first.
    std::vector<Ref<UIViewController>> stack;
    for (Ref<UIViewController> p = presented; p; p = p->presented_) stack.insert(stack.begin(), p);
    if (animated && stack.size() == 1 && uikit::detail::dismissWithTransition(presenter, presented, completion)) return;
    for (const auto& p : stack) beginAppearanceTransition(p, false, animated);
    Ref<UIWindow> window = presenter->view_ ? presenter->view_->window() : nullptr;
    beginAppearanceTransition(presenter, window && !window->hidden_, animated);
    for (const auto& p : stack)
        if (p->view_ && p->view_->superview()) sel::removeFromSuperview(p->view_);
    for (const auto& p : stack) uikit::detail::transitionPresentationGone(p);
    for (const auto& p : stack) {
        p->presented_ = nullptr;
        p->presenting_ = nullptr;
    }
    presenter->presented_ = nullptr;
    for (const auto& p : stack) p->beingDismissed_ = true;
    for (const auto& p : stack) endAppearanceTransition(p);
    endAppearanceTransition(presenter);
    // The controllers count as being dismissed until the completion's turn.
    RunLoop::main().post([stack, completion = std::move(completion)] {
        for (const auto& p : stack) p->beingDismissed_ = false;
        if (completion) completion();
    });
}

}  // namespace

namespace uikit::detail {

void registerViewController() {
    ClassBuilder<UIViewController>("UIViewController", "UIResponder")
        // No nib is ever loaded: the view comes from loadView.
        .method(sel::initWithNibName_bundle_, [](id self, Value, id) { return sel::init(self); })
        .method(sel::view,
                [](id self) -> Ref<Object> {
                    auto* c = as<UIViewController>(self);
                    if (!c->view_) {
                        Ref<Object> protector(self);
                        sel::loadView(self);
                        if (c->view_) sel::viewDidLoad(self);
                    }
                    return c->view_;
                })
        .method(sel::setView_,
                [](id self, id view) {
                    auto* c = as<UIViewController>(self);
                    Ref<UIView> next(as<UIView>(view));
                    if (c->view_ == next) return;
                    if (c->view_ && c->view_->viewController_.lock().get() == c) c->view_->viewController_ = nullptr;
                    c->view_ = next;
                    if (next) next->viewController_ = c;
                })
        .method(sel::isViewLoaded, [](id self) { return as<UIViewController>(self)->isViewLoaded(); })
        .method(sel::loadView,
                [](id self) {
                    Rect bounds = UIScreen::mainScreen() ? UIScreen::mainScreen()->bounds() : Rect();
                    sel::setView_(self, UIView::make("UIView", bounds));
                })
        .method(sel::viewDidLoad, [](id) {})
        .method(sel::viewWillAppear_, [](id, bool) {})
        .method(sel::viewDidAppear_, [](id, bool) {})
        .method(sel::viewWillDisappear_, [](id, bool) {})
        .method(sel::viewDidDisappear_, [](id, bool) {})
        .method(sel::viewWillLayoutSubviews, [](id) {})
        .method(sel::viewDidLayoutSubviews, [](id) {})
        .method(sel::nextResponder,
                [](id self) -> Ref<Object> {
                    auto* c = as<UIViewController>(self);
                    if (c->view_)
                        if (Ref<UIView> up = c->view_->superview()) return up;
                    return c->presenting_.lock();
                })
        .method(sel::title, [](id self) { return as<UIViewController>(self)->title_; })
        .method(sel::setTitle_,
                [](id self, Value title) {
                    // The navigation item, once made, shows the controller's title.
                    auto* c = as<UIViewController>(self);
                    c->title_ = title;
                    if (c->navigationItem_) sel::setTitle_(c->navigationItem_, title);
                })
        .property<&UIViewController::modalPresentationStyle_>(sel::modalPresentationStyle, sel::setModalPresentationStyle_)
        .method(sel::prefersStatusBarHidden, [](id) { return false; })
        .method(sel::shouldAutorotate, [](id) { return true; })
        .method(sel::supportedInterfaceOrientations,
                [](id) -> unsigned long long { return UI_USER_INTERFACE_IDIOM() == UIUserInterfaceIdiomPad ? 30 : 26; })
        .method(sel::shouldAutorotateToInterfaceOrientation_, [](id, long long o) { return o == UIInterfaceOrientationPortrait; })
        .method(sel::interfaceOrientation, [](id) { return sel::statusBarOrientation(UIApplication::sharedApplication()); })
        .method(sel::willRotateToInterfaceOrientation_duration_, [](id, long long, double) {})
        .method(sel::didRotateFromInterfaceOrientation_, [](id, long long) {})
        .method(sel::presentViewController_animated_completion_, &present)
        .method(sel::dismissViewControllerAnimated_completion_, &dismiss)
        .method(sel::isBeingDismissed, [](id self) { return as<UIViewController>(self)->beingDismissed_; })
        .method(sel::modalTransitionStyle, [](id self) { return as<UIViewController>(self)->modalTransitionStyle_; })
        .method(sel::setModalTransitionStyle_, [](id self, long long style) { as<UIViewController>(self)->modalTransitionStyle_ = style; })
        .method(sel::presentedViewController, [](id self) -> Ref<Object> { return as<UIViewController>(self)->presented_; })
        .method(sel::presentingViewController, [](id self) -> Ref<Object> {
            // A child answers for its container.
            for (Ref<UIViewController> c(as<UIViewController>(self)); c; c = c->parentViewController_.lock())
                if (Ref<UIViewController> p = c->presenting_.lock()) return p;
            return nullptr;
        });
}

}  // namespace uikit::detail
}  // namespace platform

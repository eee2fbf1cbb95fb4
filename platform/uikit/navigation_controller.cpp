#include "platform/uikit/navigation_controller.h"

#include <algorithm>

#include "platform/foundation/run_loop.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/window.h"

namespace platform {

namespace {

constexpr double kStatusBarHeight = 20;

UINavigationController* navigation(id self) { return as<UINavigationController>(self); }

bool contains(const std::vector<Ref<UIViewController>>& stack, const UIViewController* c) {
    return std::any_of(stack.begin(), stack.end(), [c](const Ref<UIViewController>& s) { return s.get() == c; });
}

UINavigationItem* itemOf(UIViewController* c) { return as<UINavigationItem>(sel::navigationItem(c).get()); }

void adopt(UINavigationController* n, UIViewController* c) {
    c->parentViewController_ = n;
    if (UINavigationItem* item = itemOf(c)) item->navigationBar_ = n->navigationBar_.get();
}

void letGo(UINavigationController* n, UIViewController* c) {
    if (c->parentViewController_.lock().get() == n) c->parentViewController_ = nullptr;
    if (UINavigationItem* item = itemOf(c); item && item->navigationBar_.lock() == n->navigationBar_) item->navigationBar_ = nullptr;
}

// UIKit's automatic scroll-view insets: the content of a scroll view that is
// the controller's view, or its first subview, starts below the bar.
void insetBelowBar(UINavigationController* n, UIView* view) {
    UIView* scroll = as<UIScrollView>(view);
    if (!scroll && !view->subviewList().empty()) scroll = as<UIScrollView>(view->subviewList().front().get());
    if (!scroll || !(scroll->bounds_.origin == Point{})) return;
    sel::setContentOffset_(scroll, Point{0, -n->navigationBar_->frameValue().maxY()});
}

void show(UINavigationController* n, UIViewController* top) {
    Ref<UIView> view(as<UIView>(sel::view(top).get()));
    if (!view || !n->view_) return;
    sel::setFrame_(view, n->view_->bounds_);
    sel::setAutoresizingMask_(view, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    insetBelowBar(n, view);
    // Below the bar.
    insertSubview(n->view_, view, 0);
}

Ref<UIViewController> controllerOf(const Value& v) { return Ref<UIViewController>(v.objectAs<UIViewController>()); }

}  // namespace

void UINavigationController::setStack(std::vector<Ref<UIViewController>> stack, bool animated) {
    Ref<UINavigationController> protector(this);
    Ref<UIViewController> oldTop = stack_.empty() ? nullptr : stack_.back();
    Ref<UIViewController> newTop = stack.empty() ? nullptr : stack.back();
    std::vector<Ref<UIViewController>> leaving;
    for (const auto& c : stack_)
        if (!contains(stack, c)) {
            letGo(this, c);
            leaving.push_back(c);
        }
    // As UIKit's autorelease: a controller that leaves the stack (even from its
    // own method) lives until the end of the current run-loop pass.
    if (!leaving.empty()) RunLoop::main().post([leaving] {});
    for (const auto& c : stack) adopt(this, c);
    stack_ = std::move(stack);
    if (navigationBar_) navigationBar_->setNeedsContent();
    if (oldTop == newTop || !view_) return;
    if (newTop) sel::view(newTop);  // loaded before anything leaves
    bool visible = shouldBeVisible();
    if (visible) {
        beginAppearanceTransition(oldTop, false, animated);
        beginAppearanceTransition(newTop, true, animated);
    }
    if (oldTop && oldTop->view_ && oldTop->view_->superview() == view_) sel::removeFromSuperview(oldTop->view_);
    if (newTop) show(this, newTop);
    if (visible) {
        endAppearanceTransition(oldTop);
        endAppearanceTransition(newTop);
    }
}

namespace uikit::detail {

void registerNavigationController() {
    ClassBuilder<UINavigationController>("UINavigationController", "UIViewController")
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    auto* n = navigation(self);
                    if (!n->navigationBar_) {
                        double width = UIScreen::mainScreen()->bounds().width();
                        n->navigationBar_ = UIView::make<UINavigationBar>("UINavigationBar", Rect(0, kStatusBarHeight, width, UINavigationBar::kHeight));
                        if (n->navigationBar_) n->navigationBar_->navigationController_ = n;
                    }
                    return Ref<Object>(self);
                })
        .method(sel::initWithRootViewController_,
                [](id self, id root) -> Ref<Object> {
                    Ref<Object> base = sel::init(self);
                    if (auto* n = navigation(base.get()); n && as<UIViewController>(root)) n->setStack({Ref<UIViewController>(as<UIViewController>(root))}, false);
                    return base;
                })
        .method(sel::loadView,
                [](id self) {
                    auto* n = navigation(self);
                    sel::setView_(self, UIView::make("UIView", UIScreen::mainScreen()->bounds()));
                    Rect bounds = n->view_->bounds_;
                    sel::setFrame_(n->navigationBar_, Rect(0, kStatusBarHeight, bounds.width(), UINavigationBar::kHeight));
                    sel::setAutoresizingMask_(n->navigationBar_, UIViewAutoresizingFlexibleWidth);
                    sel::addSubview_(n->view_, n->navigationBar_);
                    if (!n->stack_.empty()) show(n, n->stack_.back());
                })
        .method(sel::navigationBar, [](id self) -> Ref<Object> { return navigation(self)->navigationBar_; })
        .method(sel::pushViewController_animated_,
                [](id self, id controller, bool animated) {
                    auto* n = navigation(self);
                    auto* c = as<UIViewController>(controller);
                    if (!c) raise("NSInvalidArgumentException", "Application tried to push a nil view controller on target " + objectDescription(self) + ".");
                    if (contains(n->stack_, c))
                        raise("NSInvalidArgumentException",
                              "Pushing the same view controller instance more than once is not supported (" + objectDescription(c) + ")");
                    auto stack = n->stack_;
                    stack.emplace_back(c);
                    n->setStack(std::move(stack), animated);
                })
        .method(sel::popViewControllerAnimated_,
                [](id self, bool animated) -> Ref<Object> {
                    auto* n = navigation(self);
                    if (n->stack_.size() <= 1) return nullptr;
                    Ref<UIViewController> popped = n->stack_.back();
                    auto stack = n->stack_;
                    stack.pop_back();
                    n->setStack(std::move(stack), animated);
                    return popped;
                })
        .method(sel::topViewController,
                [](id self) -> Ref<Object> {
                    auto* n = navigation(self);
                    return n->stack_.empty() ? nullptr : n->stack_.back();
                })
        .method(sel::viewControllers,
                [](id self) {
                    Value::Array out;
                    for (const auto& c : navigation(self)->stack_) out.emplace_back(c);
                    return Value(std::move(out));
                })
        .method(sel::setViewControllers_animated_, [](id self, Value controllers, bool animated) {
            std::vector<Ref<UIViewController>> stack;
            for (const Value& v : controllers.array())
                if (Ref<UIViewController> c = controllerOf(v); c && !contains(stack, c)) stack.push_back(c);
            navigation(self)->setStack(std::move(stack), animated);
        });

    ClassBuilder<UIViewController>(objc_getClass("UIViewController")).method(sel::navigationController, [](id self) -> Ref<Object> {
        for (Ref<UIViewController> c = as<UIViewController>(self)->parentViewController_.lock(); c; c = c->parentViewController_.lock())
            if (as<UINavigationController>(c.get())) return c;
        return nullptr;
    });
}

}  // namespace uikit::detail
}  // namespace platform

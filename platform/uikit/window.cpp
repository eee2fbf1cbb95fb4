#include "platform/uikit/window.h"

#include <algorithm>

#include "platform/uikit/application.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/view_controller.h"

namespace platform {

namespace {

struct WindowState {
    std::vector<WeakRef<UIWindow>> windows;
    // Windows in the order they became key, the current key window last.
    std::vector<WeakRef<UIWindow>> keyHistory;
    WeakRef<UIWindow> key;
    const void* keyIdentity = nullptr;  // the key window, also while it is being destroyed
    std::uint64_t nextOrder = 0;
};

WindowState& state() {
    static auto* s = new WindowState();
    return *s;
}

Class* windowClass() {
    static Class* c = objc_getClass("UIWindow");
    return c;
}

void forget(std::vector<WeakRef<UIWindow>>& list, const void* window) {
    std::erase_if(list, [&](const WeakRef<UIWindow>& w) {
        Ref<UIWindow> alive = w.lock();
        return !alive || alive.get() == window;
    });
}

// The key window went (hidden or destroyed): the latest earlier key window
// that is still visible becomes key.
void handBackKey(const void* gone) {
    auto& s = state();
    forget(s.keyHistory, gone);
    s.key = nullptr;
    s.keyIdentity = nullptr;
    for (auto it = s.keyHistory.rbegin(); it != s.keyHistory.rend(); ++it) {
        if (Ref<UIWindow> w = it->lock(); w && !w->hidden_) {
            sel::makeKeyWindow(w);
            return;
        }
    }
}

void orderFront(UIWindow* w) { w->order_ = ++state().nextOrder; }

void setHidden(id self, bool hidden) {
    auto* w = as<UIWindow>(self);
    if (w->hidden_ == hidden) return;
    Ref<UIWindow> protector(w);
    auto controllers = uikit::detail::controllersIn(w);
    uikit::detail::beginAppearance(controllers, !hidden);
    sel::setHidden_.super(windowClass(), self, hidden);
    if (!hidden) orderFront(w);
    uikit::detail::endAppearance(controllers);
    if (hidden && state().keyIdentity == w) {
        sel::resignKeyWindow(w);
        handBackKey(w);
    }
}

void makeKeyWindow(id self) {
    auto* w = as<UIWindow>(self);
    auto& s = state();
    Ref<UIWindow> old = s.key.lock();
    if (old.get() == w) return;
    forget(s.keyHistory, w);
    s.keyHistory.emplace_back(w);
    s.key = w;
    s.keyIdentity = w;
    if (old) sel::resignKeyWindow(old);
    sel::becomeKeyWindow(w);
}

void setRootViewController(id self, id controller) {
    auto* w = as<UIWindow>(self);
    Ref<UIViewController> next(as<UIViewController>(controller));
    if (w->rootViewController_ == next) return;
    Ref<UIWindow> protector(w);
    Ref<UIViewController> old = w->rootViewController_;
    w->rootViewController_ = next;
    if (old && old->view_ && old->view_->superview().get() == w) sel::removeFromSuperview(old->view_);
    if (!next) return;
    Ref<Object> view = sel::view(next);
    if (!view) return;
    sel::setFrame_(view, w->bounds_);
    sel::setAutoresizingMask_(view, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::addSubview_(w, view);
}

}  // namespace

UIWindow::~UIWindow() { uikit::detail::windowGone(this); }

Ref<UIWindow> UIWindow::keyWindow() { return state().key.lock(); }

std::vector<Ref<UIWindow>> UIWindow::allWindows() {
    std::vector<Ref<UIWindow>> out;
    for (const auto& w : state().windows)
        if (Ref<UIWindow> alive = w.lock()) out.push_back(alive);
    std::stable_sort(out.begin(), out.end(), [](const Ref<UIWindow>& a, const Ref<UIWindow>& b) {
        if (a->windowLevel_ != b->windowLevel_) return a->windowLevel_ < b->windowLevel_;
        return a->order_ < b->order_;
    });
    return out;
}

std::vector<Ref<UIWindow>> UIWindow::visibleWindowsFrontToBack() {
    std::vector<Ref<UIWindow>> out;
    auto all = allWindows();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (!(*it)->hidden_) out.push_back(*it);
    return out;
}

namespace uikit::detail {

void windowGone(const UIWindow* window) {
    auto& s = state();
    forget(s.windows, window);
    if (s.keyIdentity == window) handBackKey(window);
    else forget(s.keyHistory, window);
}

void registerWindow() {
    ClassBuilder<UIWindow>("UIWindow", "UIView")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_.super(windowClass(), self, frame);
                    auto* w = as<UIWindow>(base.get());
                    if (!w) return base;
                    auto& list = state().windows;
                    if (std::none_of(list.begin(), list.end(), [&](const WeakRef<UIWindow>& e) { return e.lock().get() == w; })) {
                        list.emplace_back(w);
                        orderFront(w);  // a newer window is in front of the older ones of its level
                    }
                    return base;
                })
        .method(sel::nextResponder, [](id) -> Ref<Object> { return Ref<Object>(UIApplication::sharedApplication()); })
        .method(sel::windowLevel, [](id self) { return as<UIWindow>(self)->windowLevel_; })
        .method(sel::setWindowLevel_, [](id self, double level) { as<UIWindow>(self)->windowLevel_ = level; })
        .method(sel::setHidden_, &setHidden)
        .method(sel::makeKeyAndVisible,
                [](id self) {
                    Ref<Object> protector(self);
                    orderFront(as<UIWindow>(self));
                    sel::makeKeyWindow(self);
                    sel::setHidden_(self, false);
                })
        .method(sel::makeKeyWindow, &makeKeyWindow)
        .method(sel::becomeKeyWindow, [](id) {})
        .method(sel::resignKeyWindow, [](id) {})
        .method(sel::isKeyWindow, [](id self) { return state().keyIdentity == self && state().key.lock().get() == self; })
        .method(sel::rootViewController, [](id self) -> Ref<Object> { return as<UIWindow>(self)->rootViewController_; })
        .method(sel::setRootViewController_, &setRootViewController)
        .method(sel::_shouldCreateContextAsSecure, [](id) { return false; })
        .method(sel::screen, [](id) -> Ref<Object> { return Ref<Object>(UIScreen::mainScreen()); })
        .method(sel::sendEvent_, [](id self, id event) { deliverTouches(as<UIWindow>(self), as<UIEvent>(event)); })
        .method(sel::convertRect_toWindow_, [](id self, Rect r, id other) {
            if (r.isNull()) return r;
            auto* from = as<UIWindow>(self);
            auto* to = as<UIWindow>(other);
            const Point corners[] = {{r.minX(), r.minY()}, {r.maxX(), r.minY()}, {r.minX(), r.maxY()}, {r.maxX(), r.maxY()}};
            Point out[4];
            for (int i = 0; i < 4; ++i) out[i] = to ? to->fromScreen(from->toScreen(corners[i])) : from->toScreen(corners[i]);
            return boundingBox(out, 4);
        });
}

}  // namespace uikit::detail
}  // namespace platform

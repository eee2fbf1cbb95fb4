#include "platform/uikit/touch.h"

#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/internal.h"

namespace platform {

Point UITouch::locationInView(const UIView* view) const {
    if (view) return view->fromScreen(location_);
    if (window_) return window_->fromScreen(location_);
    return location_;
}

namespace touch {

namespace {

Interceptor& interceptor() {
    static auto* i = new Interceptor();
    return *i;
}

double now() { return static_cast<double>(clock::nowNanos()) / 1e9; }

void deliver(UITouch* t) {
    if (!t || !t->view_) return;
    auto event = as<UIEvent>(alloc("UIEvent"));
    event->touches_ = Value::array({Value(t)});
    event->timestamp_ = t->timestamp_;
    sel::sendEvent_(UIApplication::sharedApplication(), event);
}

void step(UITouch* t, long long phase, Point location) {
    if (!t || t->phase_ == UITouchPhaseEnded || t->phase_ == UITouchPhaseCancelled) return;
    t->previousLocation_ = t->location_;
    t->location_ = location;
    t->phase_ = phase;
    t->timestamp_ = now();
    deliver(t);
}

bool visibleChain(const UIView* v) {
    for (Ref<UIView> up(const_cast<UIView*>(v)); up; up = up->superview())
        if (up->hidden_ || up->alpha_ < kHitTestMinimumAlpha) return false;
    return true;
}

// Front to back: later subviews and their subtrees before earlier ones, a view after its subviews.
Ref<UIButton> findButton(UIView* v, std::string_view title) {
    if (v->hidden_ || v->alpha_ < kHitTestMinimumAlpha) return nullptr;
    auto subviews = v->subviewList();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if (Ref<UIButton> b = findButton(it->get(), title)) return b;
    if (auto* b = as<UIButton>(v)) {
        Value current = sel::currentTitle(b);
        if (current.isString() && current.string() == title) return Ref<UIButton>(b);
    }
    return nullptr;
}

}  // namespace

Hit hitTest(Point p) {
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) {
        Ref<Object> hit = sel::hitTest_withEvent_(w, w->fromScreen(p), nullptr);
        if (auto* v = as<UIView>(hit.get())) return Hit{w, Ref<UIView>(v)};
    }
    return {};
}

Ref<UITouch> down(Point p) {
    uikit::detail::checkMainThread();
    auto t = as<UITouch>(alloc("UITouch"));
    Hit hit = hitTest(p);
    t->view_ = hit.view;
    t->window_ = hit.window;
    t->location_ = t->previousLocation_ = p;
    t->phase_ = UITouchPhaseBegan;
    t->timestamp_ = now();
    deliver(t);
    return t;
}

void move(UITouch* t, Point p) { step(t, UITouchPhaseMoved, p); }
void up(UITouch* t) { step(t, UITouchPhaseEnded, t ? t->location_ : Point{}); }
void cancel(UITouch* t) { step(t, UITouchPhaseCancelled, t ? t->location_ : Point{}); }

Ref<UIView> tap(Point p) {
    Ref<UITouch> t = down(p);
    up(t);
    return t->view_;
}

Point screenCenter(const UIView* v) {
    Rect b = v->bounds_;
    return v->toScreen(Point{b.midX(), b.midY()});
}

Ref<UIView> tap(UIView* v) { return v ? tap(screenCenter(v)) : nullptr; }

bool pressButton(std::string_view title) {
    for (const auto& w : UIWindow::visibleWindowsFrontToBack()) {
        Ref<UIButton> b = findButton(w, title);
        if (!b || !visibleChain(b)) continue;
        Ref<UIView> hit = tap(b.get());
        return hit && hit->isDescendantOf(b);
    }
    return false;
}

void setInterceptor(Interceptor i) { interceptor() = std::move(i); }

}  // namespace touch

namespace uikit::detail {

void deliverTouches(UIWindow* window, UIEvent* event) {
    if (!event) return;
    Ref<UIEvent> protector(event);
    for (const Value& item : event->touches_.array()) {
        auto* t = item.objectAs<UITouch>();
        if (!t || t->window_.get() != window || !t->view_) continue;
        if (auto& i = touch::interceptor(); i && i(t, event)) continue;
        Value touches = Value::array({item});
        switch (t->phase_) {
            case UITouchPhaseBegan: sel::touchesBegan_withEvent_(t->view_, touches, event); break;
            case UITouchPhaseMoved: sel::touchesMoved_withEvent_(t->view_, touches, event); break;
            case UITouchPhaseEnded: sel::touchesEnded_withEvent_(t->view_, touches, event); break;
            case UITouchPhaseCancelled: sel::touchesCancelled_withEvent_(t->view_, touches, event); break;
            default: break;
        }
    }
}

void registerTouch() {
    ClassBuilder<UITouch>("UITouch", "NSObject")
        .method(sel::locationInView_, [](id self, id view) { return as<UITouch>(self)->locationInView(as<UIView>(view)); })
        .method(sel::previousLocationInView_,
                [](id self, id view) {
                    auto* t = as<UITouch>(self);
                    if (auto* v = as<UIView>(view)) return v->fromScreen(t->previousLocation_);
                    return t->window_ ? t->window_->fromScreen(t->previousLocation_) : t->previousLocation_;
                })
        .method(sel::view, [](id self) -> Ref<Object> { return as<UITouch>(self)->view_; })
        .method(sel::window, [](id self) -> Ref<Object> { return as<UITouch>(self)->window_; })
        .method(sel::phase, [](id self) { return as<UITouch>(self)->phase_; })
        .method(sel::tapCount, [](id self) { return as<UITouch>(self)->tapCount_; })
        .method(sel::timestamp, [](id self) { return as<UITouch>(self)->timestamp_; });
    ClassBuilder<UIEvent>("UIEvent", "NSObject")
        .method(sel::allTouches, [](id self) { return as<UIEvent>(self)->touches_; })
        .method(sel::type, [](id) { return UIEventTypeTouches; })
        .method(sel::timestamp, [](id self) { return as<UIEvent>(self)->timestamp_; });
}

}  // namespace uikit::detail
}  // namespace platform

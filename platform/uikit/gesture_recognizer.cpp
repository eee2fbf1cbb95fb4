#include "platform/uikit/gesture_recognizer.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/uikit/internal.h"

namespace platform {

Point UIGestureRecognizer::locationInView(const UIView* view) const { return pointInView(location_, view); }

Point UIGestureRecognizer::pointInView(Point screenPoint, const UIView* view) const {
    if (view) return view->fromScreen(screenPoint);
    if (Ref<UIView> own = this->view())
        if (Ref<UIWindow> w = own->window()) return w->fromScreen(screenPoint);
    return screenPoint;
}

void UIGestureRecognizer::sendActions() {
    Ref<UIGestureRecognizer> protector(this);
    auto targets = targets_;
    for (const auto& t : targets)
        if (Ref<Object> target = t.target.lock()) sendAction(target, t.action, this);
}

namespace {

bool isActive(unsigned long long s) { return s == UIGestureRecognizerStateBegan || s == UIGestureRecognizerStateChanged; }
bool isOver(unsigned long long s) {
    return s == UIGestureRecognizerStateEnded || s == UIGestureRecognizerStateCancelled || s == UIGestureRecognizerStateFailed;
}

// What the recognizers know of one touch, from its beginning to its end.
struct Tracking {
    std::vector<Ref<UIGestureRecognizer>> recognizers;  // hit view first, then its superviews'
    bool viewReceived = false;                          // the view had the touch's beginning
    bool taken = false;                                 // a recognizer took it from the view
};

std::map<const UITouch*, Tracking>& trackings() {
    static auto* t = new std::map<const UITouch*, Tracking>();
    return *t;
}

Tracking* trackingOf(const UITouch* t) {
    auto it = trackings().find(t);
    return it == trackings().end() ? nullptr : &it->second;
}

bool holds(const UIGestureRecognizer* r, const UITouch* t) {
    return std::any_of(r->touches_.begin(), r->touches_.end(), [&](const Ref<UITouch>& mine) { return mine.get() == t; });
}

void resetRecognizer(UIGestureRecognizer* r) {
    r->state_ = UIGestureRecognizerStatePossible;
    r->touches_.clear();
    sel::reset(r);
}

// The other recognizers that follow any touch this one follows.
std::vector<Ref<UIGestureRecognizer>> sharingTouches(UIGestureRecognizer* r) {
    std::vector<Ref<UIGestureRecognizer>> out;
    for (const auto& t : r->touches_) {
        Tracking* tracking = trackingOf(t.get());
        if (!tracking) continue;
        for (const auto& other : tracking->recognizers)
            if (other.get() != r && holds(other.get(), t.get()) && std::find(out.begin(), out.end(), other) == out.end())
                out.push_back(other);
    }
    return out;
}

bool delegateAllowsTogether(UIGestureRecognizer* r, UIGestureRecognizer* other) {
    Ref<Object> d = r->delegate_.lock();
    return d && respondsToSelector(d, sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_.name) &&
           sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_(d, r, other);
}

bool together(UIGestureRecognizer* a, UIGestureRecognizer* b) { return delegateAllowsTogether(a, b) || delegateAllowsTogether(b, a); }

bool delegateLetsBegin(UIGestureRecognizer* r) {
    Ref<Object> d = r->delegate_.lock();
    if (!d || !respondsToSelector(d, sel::gestureRecognizerShouldBegin_.name)) return true;
    return sel::gestureRecognizerShouldBegin_(d, r);
}

// The recognizer's touches go no further to their views; a view that had a
// touch's beginning is told that the touch was cancelled.
void takeTouches(UIGestureRecognizer* r) {
    auto touches = r->touches_;
    for (const auto& t : touches) {
        Tracking* tracking = trackingOf(t.get());
        if (!tracking || tracking->taken) continue;
        tracking->taken = true;
        if (!tracking->viewReceived || !t->view_) continue;
        auto event = as<UIEvent>(alloc("UIEvent"));
        if (!event) continue;
        event->touches_ = Value::array({Value(t.get())});
        event->timestamp_ = t->timestamp_;
        sel::touchesCancelled_withEvent_(t->view_, event->touches_, event);
    }
}

// UIKit lets a control take a single tap that a tap recognizer of one of its
// superviews would otherwise take: the switch in a table row still switches.
bool tapOnControl(UIGestureRecognizer* r) {
    static Class* tapClass = objc_getClass("UITapGestureRecognizer");
    static Class* controlClass = objc_getClass("UIControl");
    if (!isKindOfClass(r, tapClass) || sel::numberOfTapsRequired(r) != 1) return false;
    Ref<UIView> own = r->view();
    for (const auto& t : r->touches_)
        for (Ref<UIView> v = t->view_; v && v != own; v = v->superview())
            if (isKindOfClass(v, controlClass) && v->receivesTouches()) return true;
    return false;
}

void setState(id self, unsigned long long state) {
    auto* r = as<UIGestureRecognizer>(self);
    Ref<UIGestureRecognizer> protector(r);
    bool starting = r->state_ == UIGestureRecognizerStatePossible &&
                    (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateEnded);
    if (starting) {
        auto others = sharingTouches(r);
        bool blocked = std::any_of(others.begin(), others.end(),
                                   [&](const Ref<UIGestureRecognizer>& o) { return isActive(o->state_) && !together(r, o); });
        if (blocked || tapOnControl(r) || !delegateLetsBegin(r)) {
            state = UIGestureRecognizerStateFailed;
        } else {
            for (const auto& o : others)
                if (o->state_ == UIGestureRecognizerStatePossible && !together(r, o)) sel::setState_(o, UIGestureRecognizerStateFailed);
            if (r->cancelsTouchesInView_) takeTouches(r);
        }
    }
    r->state_ = state;
    if (state != UIGestureRecognizerStatePossible && state != UIGestureRecognizerStateFailed) r->sendActions();
    if (isOver(state) && r->state_ == state && r->touches_.empty()) resetRecognizer(r);
}

void forget(UIGestureRecognizer* r) {
    if (r->state_ != UIGestureRecognizerStatePossible || !r->touches_.empty()) resetRecognizer(r);
}

// touch.h's interceptor: the recognizers see each phase of a touch before its view.
bool intercept(UITouch* t, UIEvent* event) {
    Ref<UITouch> protector(t);
    if (t->phase_ == UITouchPhaseBegan) {
        Tracking tracking;
        for (Ref<UIView> v = t->view_; v; v = v->superview()) {
            auto recognizers = v->gestureRecognizers_;
            for (const auto& item : recognizers) {
                Ref<UIGestureRecognizer> r(as<UIGestureRecognizer>(item.get()));
                if (!r || !r->enabled_) continue;
                Ref<Object> d = r->delegate_.lock();
                if (d && respondsToSelector(d, sel::gestureRecognizer_shouldReceiveTouch_.name) &&
                    !sel::gestureRecognizer_shouldReceiveTouch_(d, r, t))
                    continue;
                r->touches_.push_back(protector);
                tracking.recognizers.push_back(r);
            }
        }
        if (tracking.recognizers.empty()) return false;
        trackings()[t] = std::move(tracking);
    }
    Tracking* tracking = trackingOf(t);
    if (!tracking) return false;

    Value touches = Value::array({Value(t)});
    auto recognizers = tracking->recognizers;
    for (const auto& r : recognizers) {
        if (!r->enabled_ || !holds(r, t) || isOver(r->state_)) continue;
        r->location_ = t->location_;
        switch (t->phase_) {
            case UITouchPhaseBegan: sel::touchesBegan_withEvent_(r, touches, event); break;
            case UITouchPhaseMoved: sel::touchesMoved_withEvent_(r, touches, event); break;
            case UITouchPhaseEnded: sel::touchesEnded_withEvent_(r, touches, event); break;
            case UITouchPhaseCancelled: sel::touchesCancelled_withEvent_(r, touches, event); break;
            default: break;
        }
    }

    tracking = trackingOf(t);
    if (!tracking) return false;
    bool withheld = tracking->taken;
    if (t->phase_ == UITouchPhaseEnded || t->phase_ == UITouchPhaseCancelled) {
        Tracking done = std::move(*tracking);
        trackings().erase(t);
        for (const auto& r : done.recognizers) {
            std::erase_if(r->touches_, [&](const Ref<UITouch>& mine) { return mine.get() == t; });
            if (r->touches_.empty() && isOver(r->state_)) resetRecognizer(r);
        }
    } else if (!withheld && t->phase_ == UITouchPhaseBegan) {
        tracking->viewReceived = true;
    }
    return withheld;
}

bool sameTarget(const UIGestureRecognizer::Target& t, id target, std::string_view action) {
    return t.target.lock().get() == target && t.action == action;
}

}  // namespace

namespace gesture {

void drive(UIGestureRecognizer* r, unsigned long long state, Point screenPoint) {
    if (!r) return;
    r->location_ = screenPoint;
    sel::setState_(r, state);
}

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace gesture

namespace uikit::detail {

void registerGestureRecognizer() {
    ClassBuilder<UIGestureRecognizer>("UIGestureRecognizer", "NSObject")
        .method(sel::init, [](id self) { return sel::initWithTarget_action_(self, nullptr, SEL{}); })
        .method(sel::initWithTarget_action_,
                [](id self, id target, SEL action) {
                    sel::addTarget_action_(self, target, action);
                    return Ref<Object>(self);
                })
        .method(sel::addTarget_action_,
                [](id self, id target, SEL action) {
                    auto* r = as<UIGestureRecognizer>(self);
                    if (!target || action.name.empty()) return;
                    for (const auto& t : r->targets_)
                        if (sameTarget(t, target, action.name)) return;
                    r->targets_.push_back(UIGestureRecognizer::Target{target, std::string(action.name)});
                })
        .method(sel::removeTarget_action_,
                [](id self, id target, SEL action) {
                    // A nil target or an empty action matches every target or action.
                    std::erase_if(as<UIGestureRecognizer>(self)->targets_, [&](const UIGestureRecognizer::Target& t) {
                        return (!target || t.target.lock().get() == target) && (action.name.empty() || t.action == action.name);
                    });
                })
        .method(sel::state, [](id self) { return as<UIGestureRecognizer>(self)->state_; })
        .method(sel::setState_, &setState)
        .method(sel::reset, [](id) {})
        .method(sel::view, [](id self) -> Ref<Object> { return as<UIGestureRecognizer>(self)->view(); })
        .method(sel::locationInView_, [](id self, id view) { return as<UIGestureRecognizer>(self)->locationInView(as<UIView>(view)); })
        // Every kind here follows one touch at a time: each touch index is at the gesture's location.
        .method(sel::locationOfTouch_inView_,
                [](id self, unsigned long long, id view) { return as<UIGestureRecognizer>(self)->locationInView(as<UIView>(view)); })
        .method(sel::numberOfTouches, [](id self) -> unsigned long long { return as<UIGestureRecognizer>(self)->touches_.size(); })
        .method(sel::isEnabled, [](id self) { return as<UIGestureRecognizer>(self)->enabled_; })
        .method(sel::setEnabled_,
                [](id self, bool enabled) {
                    auto* r = as<UIGestureRecognizer>(self);
                    Ref<UIGestureRecognizer> protector(r);
                    if (r->enabled_ == enabled) return;
                    // Turned off in the middle of a gesture: the gesture is cancelled and its touches
                    // forgotten. The cancel's action already sees it off, and may turn it on again.
                    r->enabled_ = enabled;
                    if (!enabled && isActive(r->state_)) sel::setState_(r, UIGestureRecognizerStateCancelled);
                    if (!enabled) forget(r);
                })
        .method(sel::delegate, [](id self) { return as<UIGestureRecognizer>(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { as<UIGestureRecognizer>(self)->delegate_ = d; })
        .property<&UIGestureRecognizer::cancelsTouchesInView_>(sel::cancelsTouchesInView, sel::setCancelsTouchesInView_)
        // The kinds read the touches; the base class makes nothing of them.
        .method(sel::touchesBegan_withEvent_, [](id, Value, id) {})
        .method(sel::touchesMoved_withEvent_, [](id, Value, id) {})
        .method(sel::touchesEnded_withEvent_, [](id, Value, id) {})
        .method(sel::touchesCancelled_withEvent_, [](id, Value, id) {});

    ClassBuilder<UIView>(objc_getClass("UIView"))
        .method(sel::addGestureRecognizer_,
                [](id self, id recognizer) {
                    auto* v = as<UIView>(self);
                    Ref<UIGestureRecognizer> r(as<UIGestureRecognizer>(recognizer));
                    if (!r) return;
                    Ref<UIView> old = r->view();
                    if (old.get() == v) return;
                    if (old) sel::removeGestureRecognizer_(old, r);
                    v->gestureRecognizers_.push_back(r);
                    r->view_ = v;
                })
        .method(sel::removeGestureRecognizer_,
                [](id self, id recognizer) {
                    auto* v = as<UIView>(self);
                    auto& list = v->gestureRecognizers_;
                    auto it = std::find_if(list.begin(), list.end(), [&](const Ref<Object>& o) { return o.get() == recognizer; });
                    if (it == list.end()) return;
                    Ref<Object> keep = *it;
                    list.erase(it);
                    auto* r = as<UIGestureRecognizer>(keep.get());
                    r->view_ = nullptr;
                    forget(r);
                })
        .method(sel::gestureRecognizers, [](id self) {
            const auto& list = as<UIView>(self)->gestureRecognizers_;
            if (list.empty()) return Value();
            Value::Array out;
            for (const auto& r : list) out.emplace_back(r);
            return Value(std::move(out));
        });

    touch::setInterceptor(&intercept);
}

}  // namespace uikit::detail
}  // namespace platform

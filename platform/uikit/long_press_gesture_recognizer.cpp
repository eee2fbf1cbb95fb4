#include "platform/uikit/long_press_gesture_recognizer.h"

#include "platform/uikit/internal.h"

namespace platform {

void UILongPressGestureRecognizer::stopTimer() {
    if (pressTimer_) RunLoop::main().cancel(pressTimer_);
    pressTimer_ = 0;
}

namespace {

Class* longPressClass() {
    static Class* c = objc_getClass("UILongPressGestureRecognizer");
    return c;
}

UILongPressGestureRecognizer* press(id self) { return as<UILongPressGestureRecognizer>(self); }

void touchesBegan(id self, Value, id) {
    auto* r = press(self);
    if (r->state_ != UIGestureRecognizerStatePossible || r->pressTimer_) return;
    r->start_ = r->location_;
    if (r->minimumPressDuration_ <= 0) {
        sel::setState_(r, UIGestureRecognizerStateBegan);
        return;
    }
    WeakRef<UILongPressGestureRecognizer> weak(r);
    r->pressTimer_ = RunLoop::main().schedule(r->minimumPressDuration_, [weak] {
        Ref<UILongPressGestureRecognizer> held = weak.lock();
        if (!held) return;
        held->pressTimer_ = 0;
        if (held->state_ == UIGestureRecognizerStatePossible && !held->touches_.empty())
            sel::setState_(held, UIGestureRecognizerStateBegan);
    }, r, "long press");
}

void touchesMoved(id self, Value, id) {
    auto* r = press(self);
    if (r->state_ == UIGestureRecognizerStatePossible) {
        if (gesture::distance(r->start_, r->location_) > r->allowableMovement_) {
            r->stopTimer();
            sel::setState_(r, UIGestureRecognizerStateFailed);
        }
    } else {
        sel::setState_(r, UIGestureRecognizerStateChanged);
    }
}

void touchesEnded(id self, Value, id) {
    auto* r = press(self);
    r->stopTimer();
    sel::setState_(r, r->state_ == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateFailed : UIGestureRecognizerStateEnded);
}

void touchesCancelled(id self, Value, id) {
    auto* r = press(self);
    r->stopTimer();
    sel::setState_(r, r->state_ == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateFailed : UIGestureRecognizerStateCancelled);
}

}  // namespace

namespace uikit::detail {

void registerLongPressGestureRecognizer() {
    ClassBuilder<UILongPressGestureRecognizer>("UILongPressGestureRecognizer", "UIGestureRecognizer")
        .property<&UILongPressGestureRecognizer::minimumPressDuration_>(sel::minimumPressDuration, sel::setMinimumPressDuration_)
        .property<&UILongPressGestureRecognizer::allowableMovement_>(sel::allowableMovement, sel::setAllowableMovement_)
        .method(sel::touchesBegan_withEvent_, &touchesBegan)
        .method(sel::touchesMoved_withEvent_, &touchesMoved)
        .method(sel::touchesEnded_withEvent_, &touchesEnded)
        .method(sel::touchesCancelled_withEvent_, &touchesCancelled)
        .method(sel::reset, [](id self) {
            press(self)->stopTimer();
            sel::reset.super(longPressClass(), self);
        });
}

}  // namespace uikit::detail
}  // namespace platform

#include "platform/uikit/tap_gesture_recognizer.h"

#include "platform/uikit/internal.h"

namespace platform {

void UITapGestureRecognizer::stopTimer() {
    if (intervalTimer_) RunLoop::main().cancel(intervalTimer_);
    intervalTimer_ = 0;
}

namespace {

Class* tapClass() {
    static Class* c = objc_getClass("UITapGestureRecognizer");
    return c;
}

UITapGestureRecognizer* tapOf(id self) { return as<UITapGestureRecognizer>(self); }

bool strayed(UITapGestureRecognizer* r) { return gesture::distance(r->start_, r->location_) > kTapAllowableMovement; }

void fail(UITapGestureRecognizer* r) {
    r->stopTimer();
    sel::setState_(r, UIGestureRecognizerStateFailed);
}

void touchesBegan(id self, Value, id) {
    auto* r = tapOf(self);
    if (r->state_ != UIGestureRecognizerStatePossible) return;
    r->stopTimer();
    if (r->taps_ == 0) r->start_ = r->location_;
    else if (strayed(r)) fail(r);
}

void touchesMoved(id self, Value, id) {
    auto* r = tapOf(self);
    if (r->state_ == UIGestureRecognizerStatePossible && strayed(r)) fail(r);
}

void touchesEnded(id self, Value, id) {
    auto* r = tapOf(self);
    if (r->state_ != UIGestureRecognizerStatePossible) return;
    if (strayed(r)) {
        fail(r);
        return;
    }
    if (++r->taps_ >= r->numberOfTapsRequired_) {
        sel::setState_(r, UIGestureRecognizerStateEnded);
        return;
    }
    WeakRef<UITapGestureRecognizer> weak(r);
    r->intervalTimer_ = RunLoop::main().schedule(kTapMaximumInterval, [weak] {
        Ref<UITapGestureRecognizer> held = weak.lock();
        if (!held) return;
        held->intervalTimer_ = 0;
        if (held->state_ == UIGestureRecognizerStatePossible) sel::setState_(held, UIGestureRecognizerStateFailed);
    }, r, "tap interval");
}

void touchesCancelled(id self, Value, id) { fail(tapOf(self)); }

}  // namespace

namespace uikit::detail {

void registerTapGestureRecognizer() {
    ClassBuilder<UITapGestureRecognizer>("UITapGestureRecognizer", "UIGestureRecognizer")
        .property<&UITapGestureRecognizer::numberOfTapsRequired_>(sel::numberOfTapsRequired, sel::setNumberOfTapsRequired_)
        .method(sel::touchesBegan_withEvent_, &touchesBegan)
        .method(sel::touchesMoved_withEvent_, &touchesMoved)
        .method(sel::touchesEnded_withEvent_, &touchesEnded)
        .method(sel::touchesCancelled_withEvent_, &touchesCancelled)
        .method(sel::reset, [](id self) {
            auto* r = tapOf(self);
            r->stopTimer();
            r->taps_ = 0;
            sel::reset.super(tapClass(), self);
        });
}

}  // namespace uikit::detail
}  // namespace platform

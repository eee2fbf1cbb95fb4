#include "platform/uikit/pan_gesture_recognizer.h"

#include "platform/uikit/internal.h"

namespace platform {

namespace {

// How far a touch moves before it counts as a pan.
constexpr double kPanHysteresis = 10;

UIPanGestureRecognizer* pan(id self) { return as<UIPanGestureRecognizer>(self); }

double touchTime(const UIPanGestureRecognizer* r) { return r->touches_.empty() ? 0 : r->touches_.front()->timestamp_; }

void touchesBegan(id self, Value, id) {
    auto* r = pan(self);
    if (r->state_ != UIGestureRecognizerStatePossible) return;
    r->start_ = r->lastMoveLocation_ = r->location_;
    r->lastMoveTime_ = touchTime(r);
    r->velocity_ = {};
}

void touchesMoved(id self, Value, id) {
    auto* r = pan(self);
    const double now = touchTime(r);
    const double elapsed = now - r->lastMoveTime_;
    if (elapsed > 0)
        r->velocity_ = {(r->location_.x - r->lastMoveLocation_.x) / elapsed, (r->location_.y - r->lastMoveLocation_.y) / elapsed};
    r->lastMoveTime_ = now;
    r->lastMoveLocation_ = r->location_;
    if (r->state_ == UIGestureRecognizerStatePossible) {
        if (gesture::distance(r->start_, r->location_) > kPanHysteresis) sel::setState_(r, UIGestureRecognizerStateBegan);
    } else {
        sel::setState_(r, UIGestureRecognizerStateChanged);
    }
}

void touchesEnded(id self, Value, id) {
    auto* r = pan(self);
    sel::setState_(r, r->state_ == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateFailed : UIGestureRecognizerStateEnded);
}

void touchesCancelled(id self, Value, id) {
    auto* r = pan(self);
    sel::setState_(r, r->state_ == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateFailed : UIGestureRecognizerStateCancelled);
}

// A vector given in screen coordinates, in a view's (nil: the window's).
Point vectorInView(const UIGestureRecognizer* r, Point vector, id view) {
    const Point origin = r->pointInView({0, 0}, as<UIView>(view));
    const Point tip = r->pointInView(vector, as<UIView>(view));
    return {tip.x - origin.x, tip.y - origin.y};
}

}  // namespace

namespace gesture {

void drivePan(UIPanGestureRecognizer* r, unsigned long long state, Point screenPoint, Point velocity) {
    if (!r) return;
    if (state == UIGestureRecognizerStateBegan) r->start_ = screenPoint;
    r->velocity_ = velocity;
    drive(r, state, screenPoint);
}

}  // namespace gesture

namespace uikit::detail {

void registerPanGestureRecognizer() {
    ClassBuilder<UIPanGestureRecognizer>("UIPanGestureRecognizer", "UIGestureRecognizer")
        .method(sel::translationInView_,
                [](id self, id view) {
                    auto* r = pan(self);
                    return vectorInView(r, {r->location_.x - r->start_.x, r->location_.y - r->start_.y}, view);
                })
        .method(sel::velocityInView_, [](id self, id view) { return vectorInView(pan(self), pan(self)->velocity_, view); })
        .method(sel::touchesBegan_withEvent_, &touchesBegan)
        .method(sel::touchesMoved_withEvent_, &touchesMoved)
        .method(sel::touchesEnded_withEvent_, &touchesEnded)
        .method(sel::touchesCancelled_withEvent_, &touchesCancelled);
}

}  // namespace uikit::detail
}  // namespace platform

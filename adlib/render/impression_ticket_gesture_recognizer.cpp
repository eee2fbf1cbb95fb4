#include "adlib/render/impression_ticket_gesture_recognizer.h"

#include <cmath>

namespace adlib {

namespace {

YBXImpressionTicketGestureRecognizer* recognizerOf(id self) { return as<YBXImpressionTicketGestureRecognizer>(self); }

Class* recognizerClass() { return objc_getClass("YBXImpressionTicketGestureRecognizer"); }

}  // namespace

void YBXImpressionTicketGestureRecognizer::fail() { sel::setState_(this, UIGestureRecognizerStateFailed); }

void YBXImpressionTicketGestureRecognizer::began(const Value& touches) {
    // A second finger joins the touches the recognizer follows.
    if (touches.array().size() != 1 || touches_.size() > 1) fail();
}

void YBXImpressionTicketGestureRecognizer::moved(const Value& touches) {
    if (state_ == UIGestureRecognizerStateFailed || touches.array().empty()) return;
    id touch = touches.array().front().object();
    Ref<UIView> inView = view();
    const Point now = sel::locationInView_(touch, inView.get());
    const Point before = sel::previousLocationInView_(touch, inView.get());
    if (std::fabs(now.y - before.y) > kYBXZigZagMaximumDrift) {
        fail();
        return;
    }
    const double dx = std::fabs(now.x - before.x);
    const bool leftwards = now.x < before.x;
    const bool rightwards = now.x > before.x;
    // Legs 1 and 3 run rightwards, 2 and 4 leftwards; a turn needs a long enough leg.
    switch (gestureState_) {
        case 0:
            if (leftwards) return fail();
            distanceMoved_ += dx;
            gestureState_ = 1;
            return;
        case 1:
        case 3:
            if (!leftwards) {
                distanceMoved_ += dx;
            } else if (distanceMoved_ < kYBXZigZagMinimumLeg) {
                fail();
            } else {
                distanceMoved_ = dx;
                ++gestureState_;
            }
            return;
        case 2:
            if (!rightwards) {
                distanceMoved_ += dx;
            } else if (distanceMoved_ < kYBXZigZagMinimumLeg) {
                fail();
            } else {
                distanceMoved_ = dx;
                gestureState_ = 3;
            }
            return;
        case 4:
            if (rightwards) return fail();
            distanceMoved_ += dx;
            return;
        default: return;
    }
}

void YBXImpressionTicketGestureRecognizer::ended() {
    if (state_ == UIGestureRecognizerStatePossible && gestureState_ == 4) {
        sel::setState_(this, UIGestureRecognizerStateRecognized);
        return;
    }
    if (state_ == UIGestureRecognizerStatePossible) fail();
    gestureState_ = 0;
}

void registerImpressionTicketGestureRecognizerClass() {
    ClassBuilder<YBXImpressionTicketGestureRecognizer>("YBXImpressionTicketGestureRecognizer", "UIGestureRecognizer")
        .method(sel::touchesBegan_withEvent_, [](id self, Value touches, id) { recognizerOf(self)->began(touches); })
        .method(sel::touchesMoved_withEvent_, [](id self, Value touches, id) { recognizerOf(self)->moved(touches); })
        .method(sel::touchesEnded_withEvent_, [](id self, Value, id) { recognizerOf(self)->ended(); })
        .method(sel::touchesCancelled_withEvent_,
                [](id self, Value, id) {
                    recognizerOf(self)->fail();
                    recognizerOf(self)->gestureState_ = 0;
                    recognizerOf(self)->distanceMoved_ = 0;
                })
        .method(sel::reset,
                [](id self) {
                    recognizerOf(self)->gestureState_ = 0;
                    recognizerOf(self)->distanceMoved_ = 0;
                    sel::reset.super(recognizerClass(), self);
                })
        .getter<&YBXImpressionTicketGestureRecognizer::gestureState_>(sel::gestureState)
        .getter<&YBXImpressionTicketGestureRecognizer::distanceMoved_>(sel::distanceMoved);
}

}  // namespace adlib

// UIGestureRecognizer: turns touches on a view (or on its subviews) into a
// gesture and sends its actions to its targets, as UIKit does: on the moves
// to began, changed, ended (recognized) and cancelled, never on failed. A view
// owns its recognizers (addGestureRecognizer:); a recognizer knows its view,
// its targets and its delegate weakly.
//
// Touches reach a recognizer before its view: when a touch begins, every
// enabled recognizer of the hit view and of its superviews (that the
// delegate's gestureRecognizer:shouldReceiveTouch: lets have it) gets the
// touch's phases through touchesBegan:withEvent: and the others, which the
// kinds (long press, tap) and their subclasses implement. When a recognizer
// begins or recognizes with cancelsTouchesInView (the default), the view gets
// touchesCancelled:withEvent: and no further phase of that touch. A recognizer
// about to begin asks its delegate's gestureRecognizerShouldBegin:; two
// recognizers sharing a touch exclude each other (the first to begin wins,
// the other fails) unless a delegate allows them together. A single-tap
// recognizer fails when its touch is on an enabled control inside its view:
// the control takes the tap, as in UIKit.
//
// A recognizer that ended, was cancelled or failed is reset to possible (and
// sent `reset`) once it holds no touch: right after the move when it holds
// none, else when its last touch ends. Tests may also drive a recognizer
// through its states without touches (gesture::drive). Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/touch.h"

namespace platform {

// UIGestureRecognizerState, read with the `state` selector.
inline constexpr unsigned long long UIGestureRecognizerStatePossible = 0;
inline constexpr unsigned long long UIGestureRecognizerStateBegan = 1;
inline constexpr unsigned long long UIGestureRecognizerStateChanged = 2;
inline constexpr unsigned long long UIGestureRecognizerStateEnded = 3;
inline constexpr unsigned long long UIGestureRecognizerStateCancelled = 4;
inline constexpr unsigned long long UIGestureRecognizerStateFailed = 5;
inline constexpr unsigned long long UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded;

class UIGestureRecognizer : public NSObject {
public:
    struct Target {
        WeakRef<Object> target;
        std::string action;
    };

    std::vector<Target> targets_;
    unsigned long long state_ = UIGestureRecognizerStatePossible;
    WeakRef<UIView> view_;
    WeakRef<Object> delegate_;
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
    // Where the gesture is, in screen coordinates: its touch's last location,
    // or the location it was driven to.
    Point location_;
    // The touches it follows, from their beginning to their end.
    std::vector<Ref<UITouch>> touches_;

    Ref<UIView> view() const { return view_.lock(); }
    // The location in the view's coordinates; nil: in the recognizer's window's.
    Point locationInView(const UIView* view) const;
    // A screen point in the view's coordinates; nil: in the recognizer's window's.
    Point pointInView(Point screenPoint, const UIView* view) const;
    // Sends the action of every target still alive, in the order they were added.
    void sendActions();
};

namespace gesture {

// Moves the recognizer to `state` at `screenPoint` (setState: through the
// method table, so its actions run as for touches).
void drive(UIGestureRecognizer* recognizer, unsigned long long state, Point screenPoint);

// For the kinds: the distance between two points.
double distance(Point a, Point b);

}  // namespace gesture
}  // namespace platform

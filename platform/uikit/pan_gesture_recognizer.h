// UIPanGestureRecognizer: a continuous gesture that begins once its touch has
// moved more than 10 points from where it went down; every later move is a
// change and lifting the finger ends it (lifting before it began fails it).
// Its translation is measured from where the touch went down, its velocity
// from the last two moves on the run loop's clock. Tests may drive it state by
// state without touches (gesture::drivePan), setting where the finger is and
// how fast it moves. Main thread only.
#pragma once

#include "platform/uikit/gesture_recognizer.h"

namespace platform {

class UIPanGestureRecognizer : public UIGestureRecognizer {
public:
    Point start_;     // screen coordinates, where the touch went down
    Point velocity_;  // points per second
    double lastMoveTime_ = 0;
    Point lastMoveLocation_;
};

namespace gesture {

// Moves the pan to `state` with the finger at `screenPoint`, moving at
// `velocity` (points per second); a drive to began also marks where the pan
// started.
void drivePan(UIPanGestureRecognizer* recognizer, unsigned long long state, Point screenPoint, Point velocity = {});

}  // namespace gesture
}  // namespace platform

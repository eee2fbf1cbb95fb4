// UILongPressGestureRecognizer: a continuous gesture that begins when a touch
// has stayed down for minimumPressDuration (0.5 s by default, on the run
// loop's clock) without moving more than allowableMovement (10 points) from
// where it began; then every move is a change, and lifting the finger ends
// it. Moving too far or lifting early fails it. A duration of 0 or less
// begins at the touch's beginning. Main thread only.
#pragma once

#include "platform/foundation/run_loop.h"
#include "platform/uikit/gesture_recognizer.h"

namespace platform {

class UILongPressGestureRecognizer : public UIGestureRecognizer {
public:
    double minimumPressDuration_ = 0.5;
    double allowableMovement_ = 10;
    Point start_;  // screen coordinates
    RunLoop::TaskId pressTimer_ = 0;

    void stopTimer();
};

}  // namespace platform

// UITapGestureRecognizer: a discrete gesture, recognized (ended) when the
// touch of its numberOfTapsRequired-th tap (1 by default) lifts. Each touch
// must stay within kTapAllowableMovement points of where the first tap
// began, and each further tap must begin within kTapMaximumInterval seconds
// of the previous lift (run loop clock); otherwise it fails. Its touch
// handling goes through the method table, so that a subclass can take
// touches from its view on its own terms. Main thread only.
#pragma once

#include "platform/foundation/run_loop.h"
#include "platform/uikit/gesture_recognizer.h"

namespace platform {

inline constexpr double kTapAllowableMovement = 10;
inline constexpr double kTapMaximumInterval = 0.35;

class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    unsigned long long numberOfTapsRequired_ = 1;
    unsigned long long taps_ = 0;  // lifted so far in this gesture
    Point start_;                  // where the first tap began, screen coordinates
    RunLoop::TaskId intervalTimer_ = 0;

    void stopTimer();
};

}  // namespace platform

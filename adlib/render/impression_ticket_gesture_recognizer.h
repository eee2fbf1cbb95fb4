// YBXImpressionTicketGestureRecognizer: a right-left-right-left stroke of one
// finger over an ad web view, which opens the creative's debug dialog. The
// first three legs must each run at least 15 points; a move that drifts more
// than 5 points vertically ends it. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/uikit/gesture_recognizer.h"

namespace adlib {

inline constexpr double kYBXZigZagMinimumLeg = 15.0;
inline constexpr double kYBXZigZagMaximumDrift = 5.0;

class YBXImpressionTicketGestureRecognizer : public UIGestureRecognizer {
public:
    void began(const Value& touches);
    void moved(const Value& touches);
    void ended();
    void fail();

    long long gestureState_ = 0;  // the leg the stroke is on, 0-4
    double distanceMoved_ = 0;   // along the current leg
};

void registerImpressionTicketGestureRecognizerClass();

}  // namespace adlib

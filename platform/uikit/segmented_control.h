// UISegmentedControl: a row of titled segments of equal width, one of them
// selected (-1: none). A tap on a segment other than the selected one selects
// it and sends value-changed; set from code, the selection sends nothing, as
// in UIKit. Made with its items it is 29 points high and 60 points wide per
// segment. Main thread only.
#pragma once

#include <vector>

#include "platform/uikit/control.h"

namespace platform {

class UISegmentedControl : public UIControl {
public:
    static constexpr double kHeight = 29;
    static constexpr double kSegmentWidth = 60;
    std::vector<Value> titles_;
    long long selectedSegmentIndex_ = -1;

    // The segment under a point of the control, or -1.
    long long segmentAt(Point p) const;
};

}  // namespace platform

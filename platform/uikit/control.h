// UIControl: target-action for control events, the highlighted / selected /
// enabled states, and touch tracking. Targets are not retained. A touch down
// sets highlighted, a touch up sends touch-up-inside when the point is inside
// (pointInside:withEvent:) and touch-up-outside otherwise, and clears
// highlighted; state changes go through their selectors, so a subclass's
// setHighlighted: runs. A disabled control is passed over by hit testing.
// Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/view.h"

namespace platform {

inline constexpr unsigned long long UIControlEventTouchDown = 1 << 0;
inline constexpr unsigned long long UIControlEventTouchDownRepeat = 1 << 1;
inline constexpr unsigned long long UIControlEventTouchDragInside = 1 << 2;
inline constexpr unsigned long long UIControlEventTouchDragOutside = 1 << 3;
inline constexpr unsigned long long UIControlEventTouchDragEnter = 1 << 4;
inline constexpr unsigned long long UIControlEventTouchDragExit = 1 << 5;
inline constexpr unsigned long long UIControlEventTouchUpInside = 1 << 6;
inline constexpr unsigned long long UIControlEventTouchUpOutside = 1 << 7;
inline constexpr unsigned long long UIControlEventTouchCancel = 1 << 8;
inline constexpr unsigned long long UIControlEventValueChanged = 1 << 12;
inline constexpr unsigned long long UIControlEventEditingDidBegin = 1 << 16;
inline constexpr unsigned long long UIControlEventEditingChanged = 1 << 17;
inline constexpr unsigned long long UIControlEventEditingDidEnd = 1 << 18;
inline constexpr unsigned long long UIControlEventEditingDidEndOnExit = 1 << 19;
inline constexpr unsigned long long UIControlEventAllTouchEvents = 0x00000FFF;
inline constexpr unsigned long long UIControlEventAllEditingEvents = 0x000F0000;
inline constexpr unsigned long long UIControlEventAllEvents = 0xFFFFFFFF;

inline constexpr unsigned long long UIControlStateNormal = 0;
inline constexpr unsigned long long UIControlStateHighlighted = 1 << 0;
inline constexpr unsigned long long UIControlStateDisabled = 1 << 1;
inline constexpr unsigned long long UIControlStateSelected = 1 << 2;

class UIControl : public UIView {
public:
    struct Target {
        WeakRef<Object> target;
        bool hasTarget = false;  // NO: a nil target, sent up the responder chain
        std::string action;
        unsigned long long events = 0;
    };

    std::vector<Target> targets_;
    bool highlighted_ = false;
    bool selected_ = false;
    bool enabled_ = true;
    bool tracking_ = false;
    bool touchInside_ = false;

    unsigned long long stateMask() const;
    // Sends the actions registered for any of `events` (sendAction:to:forEvent:
    // through the method table), in the order they were added.
    void sendActions(unsigned long long events, id event);
    bool receivesTouches() const override { return enabled_; }
};

}  // namespace platform

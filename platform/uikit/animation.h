// View animations on the main run loop. Inside an animations block every
// animatable property change (alpha, center, bounds, transform,
// backgroundColor; a frame change is a change of center and/or bounds) takes
// its final value at once and is recorded in the current animation. The
// completion runs on the run loop after delay + duration with finished YES,
// never inside the call (a zero duration: on the next turn).
//
// - An animation started inside another's animations block takes the
//   enclosing animation's duration, delay and timing (spring included); its
//   own completion still runs, at that timing.
// - When a new animation changes a property of a view that an earlier,
//   unfinished animation changed, the earlier completion runs with finished NO
//   as the new animation starts (when its animations block has returned,
//   before the animate call returns).
// - Setting a property to the value it has changes nothing and records nothing.
// - With animations disabled (setAnimationsEnabled: NO, performWithoutAnimation:)
//   changes are not recorded; completions still run at their time.
//
// Every animation of the process is kept in a record that tests read.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/view.h"

namespace platform {

inline constexpr unsigned long long UIViewAnimationOptionLayoutSubviews = 1 << 0;
inline constexpr unsigned long long UIViewAnimationOptionAllowUserInteraction = 1 << 1;
inline constexpr unsigned long long UIViewAnimationOptionBeginFromCurrentState = 1 << 2;
inline constexpr unsigned long long UIViewAnimationOptionRepeat = 1 << 3;
inline constexpr unsigned long long UIViewAnimationOptionAutoreverse = 1 << 4;
inline constexpr unsigned long long UIViewAnimationOptionOverrideInheritedDuration = 1 << 5;
inline constexpr unsigned long long UIViewAnimationOptionOverrideInheritedCurve = 1 << 6;
inline constexpr unsigned long long UIViewAnimationOptionAllowAnimatedContent = 1 << 7;
inline constexpr unsigned long long UIViewAnimationOptionShowHideTransitionViews = 1 << 8;
inline constexpr unsigned long long UIViewAnimationOptionOverrideInheritedOptions = 1 << 9;
inline constexpr unsigned long long UIViewAnimationOptionCurveEaseInOut = 0 << 16;
inline constexpr unsigned long long UIViewAnimationOptionCurveEaseIn = 1 << 16;
inline constexpr unsigned long long UIViewAnimationOptionCurveEaseOut = 2 << 16;
inline constexpr unsigned long long UIViewAnimationOptionCurveLinear = 3 << 16;

namespace animation {

struct Change {
    WeakRef<UIView> view;
    const void* identity = nullptr;  // the view's address, also after it went away
    std::string property;            // "alpha", "center", "bounds", "transform", "backgroundColor"
};

struct Record {
    int index = 0;        // position in records()
    int parent = -1;      // the enclosing animation, if nested
    double duration = 0;  // in effect (inherited when nested)
    double delay = 0;     // in effect (inherited when nested)
    unsigned long long options = 0;  // as given
    bool spring = false;
    double springDamping = 0;
    double springVelocity = 0;
    std::vector<Change> changes;
    std::int64_t startNanos = 0;  // the clock when the animation started
    bool completed = false;       // the completion ran (or would have, without one)
    bool finished = false;        // the flag it ran with

    bool changed(const void* view, std::string_view property) const;
};

// Every animation of the process, oldest first.
const std::vector<Record>& records();
// The most recent animation, or null.
const Record* last();

// The stock setters call this before storing a new value of an animatable property.
void noteChange(UIView* view, std::string_view property);
// Whether an animations block is running (and animations are enabled).
bool isAnimating();

}  // namespace animation
}  // namespace platform

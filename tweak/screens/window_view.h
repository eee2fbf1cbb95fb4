// RS2GWindowView: a view that sits directly on a window (never as its first
// subview) and turns with the status bar, so that what it holds is upright in
// every interface orientation; with operations to add, fill, slide and fade
// subviews, and lookups over the window views currently on a window. No screen
// of the system creates one; it is a reusable control. Main thread only.
#pragma once

#include <functional>
#include <vector>

#include "platform/uikit/view.h"
#include "tweak/screens/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<Ref<Object>(id, id)> initAndAddToWindow_{"initAndAddToWindow:"};
inline constexpr Sel<Ref<Object>(id)> initAndAddToKeyWindow{"initAndAddToKeyWindow"};
inline constexpr Sel<unsigned long long(id)> supportedInterfaceOrientations{"supportedInterfaceOrientations"};
inline constexpr Sel<void(id, unsigned long long)> setSupportedInterfaceOrientations_{"setSupportedInterfaceOrientations:"};
inline constexpr Sel<void(id)> rotateAccordingToStatusBarOrientationAndSupportedOrientations{
    "rotateAccordingToStatusBarOrientationAndSupportedOrientations"};
inline constexpr Sel<void(id, long long)> rotateManuallyToOrientation_{"rotateManuallyToOrientation:"};
inline constexpr Sel<long long(id)> desiredOrientation{"desiredOrientation"};
inline constexpr Sel<void(id, AffineTransform, Rect)> setIfNotEqualTransform_frame_{"setIfNotEqualTransform:frame:"};
inline constexpr Sel<void(id, id)> statusBarFrameOrOrientationChanged_{"statusBarFrameOrOrientationChanged:"};
inline constexpr Sel<Ref<Object>(id)> controller{"controller"};
inline constexpr Sel<void(id, id)> setController_{"setController:"};
inline constexpr Sel<Block(id)> onDidMoveToWindow{"onDidMoveToWindow"};
inline constexpr Sel<void(id, Block)> setOnDidMoveToWindow_{"setOnDidMoveToWindow:"};
inline constexpr Sel<Block(id)> onDidMoveOutOfWindow{"onDidMoveOutOfWindow"};
inline constexpr Sel<void(id, Block)> setOnDidMoveOutOfWindow_{"setOnDidMoveOutOfWindow:"};
inline constexpr Sel<bool(id)> onlySubviewsCapturesTouch{"onlySubviewsCapturesTouch"};
inline constexpr Sel<void(id, bool)> setOnlySubviewsCapturesTouch_{"setOnlySubviewsCapturesTouch:"};
// Class methods.
inline constexpr Sel<double(id)> getStatusBarHeight{"getStatusBarHeight"};
inline constexpr Sel<Rect(id, Rect, long long, double)> rectInWindowBounds_statusBarOrientation_statusBarHeight_{
    "rectInWindowBounds:statusBarOrientation:statusBarHeight:"};
inline constexpr Sel<Value(id)> allActiveWindowViews{"allActiveWindowViews"};
inline constexpr Sel<Ref<Object>(id, std::function<bool(id)>)> firstActiveWindowViewPassingTest_{"firstActiveWindowViewPassingTest:"};
inline constexpr Sel<Ref<Object>(id, id)> activeWindowViewForController_{"activeWindowViewForController:"};
inline constexpr Sel<Ref<Object>(id, id)> activeWindowViewContainingView_{"activeWindowViewContainingView:"};
// Subview operations.
inline constexpr Sel<void(id, id)> addSubViewAndKeepSamePosition_{"addSubViewAndKeepSamePosition:"};
inline constexpr Sel<void(id, id)> addSubviewAndFillBounds_{"addSubviewAndFillBounds:"};
inline constexpr Sel<void(id, id, Block)> addSubviewAndFillBounds_withSlideUpAnimationOnDone_{"addSubviewAndFillBounds:withSlideUpAnimationOnDone:"};
inline constexpr Sel<void(id, Block)> fadeOutAndRemoveFromSuperview_{"fadeOutAndRemoveFromSuperview:"};
inline constexpr Sel<void(id, Block)> slideDownSubviewsAndRemoveFromSuperview_{"slideDownSubviewsAndRemoveFromSuperview:"};
inline constexpr Sel<void(id)> bringToFront{"bringToFront"};
inline constexpr Sel<bool(id)> isInFront{"isInFront"};
}  // namespace sel

class RS2GWindowView : public UIView {
public:
    ~RS2GWindowView() override;
    unsigned long long supportedInterfaceOrientations = 30;  // all four
    WeakRef<Object> controller;
    std::function<void()> onDidMoveToWindow;
    std::function<void()> onDidMoveOutOfWindow;
    bool onlySubviewsCapturesTouch = false;
};

// A helper class of the window view, with nothing in it.
class TQWindowViewHelper : public NSObject {};

double UIInterfaceOrientationAngleOfOrientation(long long orientation);
double UIInterfaceOrientationAngleBetween(long long a, long long b);
bool UIInterfaceOrientationsIsForSameAxis(long long a, long long b);
unsigned long long TQInterfaceOrientationMaskFromOrientation(long long orientation);

void registerWindowViewClasses();

}  // namespace rousa

// Touches that tests (and a scenario runner acting only through hit testing)
// drive: UITouch and UIEvent, hit testing in screen coordinates, the
// lower-level down / move / up / cancel of one finger, and taps. A touch
// reaches a view only through hit testing: the visible windows are tried from
// the highest level down, and the first whose hitTest:withEvent: finds a view
// wins. Delivery goes UIApplication sendEvent: -> UIWindow sendEvent: -> the
// view's touches...:withEvent: (through the method table). Main thread only.
#pragma once

#include <functional>
#include <string_view>

#include "platform/uikit/window.h"

namespace platform {

inline constexpr long long UITouchPhaseBegan = 0;
inline constexpr long long UITouchPhaseMoved = 1;
inline constexpr long long UITouchPhaseStationary = 2;
inline constexpr long long UITouchPhaseEnded = 3;
inline constexpr long long UITouchPhaseCancelled = 4;

inline constexpr long long UIEventTypeTouches = 0;

class UITouch : public NSObject {
public:
    long long phase_ = UITouchPhaseBegan;
    Point location_;          // screen coordinates
    Point previousLocation_;  // screen coordinates
    Ref<UIView> view_;        // the view hit when the touch began; null when nothing was hit
    Ref<UIWindow> window_;
    double timestamp_ = 0;
    unsigned long long tapCount_ = 1;

    Point locationInView(const UIView* view) const;
};

class UIEvent : public NSObject {
public:
    Value touches_;  // array of UITouch
    double timestamp_ = 0;
};

namespace touch {

struct Hit {
    Ref<UIWindow> window;
    Ref<UIView> view;
};
// What a touch at a screen point reaches.
Hit hitTest(Point screenPoint);

// One finger. down hit-tests and delivers touchesBegan:withEvent:; the others
// deliver to the view the touch began on. A touch that hit nothing is inert.
Ref<UITouch> down(Point screenPoint);
void move(UITouch* touch, Point screenPoint);
void up(UITouch* touch);  // at the touch's last location
void cancel(UITouch* touch);

// down and up at one point; the view that was hit, or null.
Ref<UIView> tap(Point screenPoint);
// Taps the view's centre converted to the screen: a covered view is not
// reached. The view that was hit, or null.
Ref<UIView> tap(UIView* view);
// Finds the frontmost visible button whose current title is `title` and taps
// its centre; true when the tap reached the button (or a view inside it).
bool pressButton(std::string_view title);
// The view's centre in screen coordinates.
Point screenCenter(const UIView* view);

// Where later gesture recognizers come in: called for each touch of each event
// before its view; answering true keeps that phase from the view.
using Interceptor = std::function<bool(UITouch* touch, UIEvent* event)>;
void setInterceptor(Interceptor interceptor);

}  // namespace touch
}  // namespace platform

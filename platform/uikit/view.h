// UIView: a node of the headless view tree. A view stores its centre, bounds
// and transform (the frame is derived from them, as in UIKit), alpha, hidden,
// interaction, tag, autoresizing mask, colours and its layer; it owns its
// subviews and knows its superview weakly. Layout runs in passes on the main
// run loop; animations are in animation.h. Nothing is drawn until a layer is
// rendered into a bitmap (graphics.h). Main thread only.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/uikit/layer.h"
#include "platform/uikit/responder.h"

namespace platform {

class CGContext;
class UIViewController;
class UIWindow;

inline constexpr unsigned long long UIViewAutoresizingNone = 0;
inline constexpr unsigned long long UIViewAutoresizingFlexibleLeftMargin = 1 << 0;
inline constexpr unsigned long long UIViewAutoresizingFlexibleWidth = 1 << 1;
inline constexpr unsigned long long UIViewAutoresizingFlexibleRightMargin = 1 << 2;
inline constexpr unsigned long long UIViewAutoresizingFlexibleTopMargin = 1 << 3;
inline constexpr unsigned long long UIViewAutoresizingFlexibleHeight = 1 << 4;
inline constexpr unsigned long long UIViewAutoresizingFlexibleBottomMargin = 1 << 5;

inline constexpr long long UIViewContentModeScaleToFill = 0;
inline constexpr long long UIViewContentModeScaleAspectFit = 1;
inline constexpr long long UIViewContentModeScaleAspectFill = 2;
inline constexpr long long UIViewContentModeCenter = 4;

// intrinsicContentSize's side for "none".
inline constexpr double UIViewNoIntrinsicMetric = -1;

// Hit testing passes over views with an alpha below this.
inline constexpr double kHitTestMinimumAlpha = 0.01;

class UIView : public UIResponder {
public:
    // [[cls alloc] initWithFrame:frame]; null when the class is missing.
    static Ref<UIView> make(std::string_view className, Rect frame);
    template <class T>
    static Ref<T> make(std::string_view className, Rect frame) {
        return Ref<T>(as<T>(make(className, frame).get()));
    }

    // Animations, sent to the UIView class through its class methods (see animation.h).
    static void animateWithDuration(double duration, Block animations, FinishedBlock completion = {});
    static void animateWithDuration(double duration, double delay, unsigned long long options, Block animations,
                                    FinishedBlock completion);
    static void animateWithDuration(double duration, double delay, double springDamping, double springVelocity,
                                    unsigned long long options, Block animations, FinishedBlock completion);
    static void performWithoutAnimation(Block actions);

    // --- the stored state. Read it freely; change it through the selectors, so
    // that overrides, hooks, animations and layout see the change. -------------
    Point center_;
    Rect bounds_;
    AffineTransform transform_;
    double alpha_ = 1;
    bool hidden_ = false;
    bool opaque_ = true;
    bool userInteractionEnabled_ = true;
    bool exclusiveTouch_ = false;
    long long tag_ = 0;
    long long contentMode_ = UIViewContentModeScaleToFill;
    unsigned long long autoresizingMask_ = UIViewAutoresizingNone;
    bool autoresizesSubviews_ = true;
    Ref<Object> backgroundColor_;
    Ref<Object> tintColor_;  // the view's own; nil: inherited
    Ref<CALayer> layer_;
    bool needsLayout_ = false;
    // The controller whose view this is.
    WeakRef<UIViewController> viewController_;
    // Owned; each knows its view weakly (gesture_recognizer.h).
    std::vector<Ref<Object>> gestureRecognizers_;
    // The layout constraints the view holds (layout_constraint.h), and whether
    // its frame is its own (YES) or the constraints' to place.
    std::vector<Ref<Object>> constraints_;
    bool translatesAutoresizingMaskIntoConstraints_ = true;
    // What assistive technology reads out; not read here otherwise.
    Value accessibilityLabel_;
    bool isAccessibilityElement_ = false;

    // --- the tree ---------------------------------------------------------------
    Ref<UIView> superview() const { return superview_.lock(); }
    const std::vector<Ref<UIView>>& subviewList() const { return subviews_; }
    // The nearest window among the view and its ancestors, or null.
    Ref<UIWindow> window() const;
    // The topmost ancestor (the view itself when it has no superview).
    Ref<UIView> root() const;
    bool isDescendantOf(const UIView* ancestor) const;

    // --- geometry ---------------------------------------------------------------
    // The frame from centre, bounds size and transform, without a send.
    Rect frameValue() const;
    // Between the view's own coordinates and its superview's (for a window or a
    // view without superview: the screen's).
    Point toSuperviewSpace(Point p) const;
    Point fromSuperviewSpace(Point p) const;
    Point toScreen(Point p) const;
    Point fromScreen(Point p) const;

    // Whether touches may reach the view at all (besides hidden, alpha and
    // userInteractionEnabled); a disabled control answers NO.
    virtual bool receivesTouches() const { return true; }

    // What the view paints over its background when its layer is rendered
    // (graphics.h), in its bounds' space; nothing by default.
    virtual void drawContent(const std::shared_ptr<CGContext>& context) { (void)context; }

private:
    friend void insertSubview(UIView* parent, UIView* child, long long index);
    friend void removeSubview(UIView* child);
    WeakRef<UIView> superview_;
    std::vector<Ref<UIView>> subviews_;
};

// What a storyboard or nib hands to initWithCoder: here: nothing is archived,
// the coder only carries the frame the decoded view starts with.
class NSCoder : public NSObject {
public:
    static Ref<NSCoder> withFrame(Rect frame);
    Rect frame_;
};

// The hierarchy operations behind addSubview:, insertSubview:..., bringSubviewToFront:
// and removeFromSuperview: a view moves from its old superview; the move sends
// willMoveToSuperview:, willMoveToWindow:/didMoveToWindow (when the window
// changes), didMoveToSuperview, didAddSubview: / willRemoveSubview: through the
// method table, and the appearance callbacks of the controllers concerned. An
// index beyond the end appends. Adding a view to itself or to its own subview
// raises NSInvalidArgumentException.
void insertSubview(UIView* parent, UIView* child, long long index);
void removeSubview(UIView* child);

// Runs a layout pass over the view's tree now: from the highest ancestor that
// needs layout, every view that needs it gets layoutSubviews (and its
// controller viewWillLayoutSubviews / viewDidLayoutSubviews), parents first.
void layoutIfNeeded(UIView* view);

}  // namespace platform

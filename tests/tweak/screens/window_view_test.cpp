#include "tweak/screens/window_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/window.h"
#include "tweak/engine/installer.h"

namespace rousa {
namespace {

class WindowView : public ::testing::Test {
protected:
    WindowView() {
        registerTweakClasses();
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        sel::makeKeyAndVisible(window);
        sel::addSubview_(window, UIView::make("UIView", Rect(0, 0, 320, 568)));  // the window's first view
    }
    Ref<Object> addWindowView() { return sel::initAndAddToKeyWindow(alloc("RS2GWindowView")); }
    static void setOrientation(long long o) { sel::setStatusBarOrientation_(Ref<Object>(UIApplication::sharedApplication()), o); }

    platform::testing::TestEnvironment env;
    Ref<UIWindow> window;
};

int transformSets = 0;
void (*original_setTransform)(id, AffineTransform) = nullptr;
void countingSetTransform(id self, AffineTransform t) {
    ++transformSets;
    original_setTransform(self, t);
}

TEST_F(WindowView, TurnsWithTheStatusBarAsFarAsItsOrientationsAllow) {
    struct Case {
        unsigned long long mask;
        long long statusBar;
        long long desired;
    };
    const Case cases[] = {{30, 1, 1}, {30, 2, 2}, {30, 3, 3}, {30, 4, 4}, {24, 1, 4}, {8, 1, 3}, {2, 3, 1}, {4, 3, 2}};
    auto view = addWindowView();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mask) + " in " + std::to_string(c.statusBar));
        setOrientation(c.statusBar);
        sel::setSupportedInterfaceOrientations_(view, c.mask);
        EXPECT_EQ(sel::desiredOrientation(view), c.desired);
        EXPECT_EQ(sel::transform(view), AffineTransform::makeRotation(UIInterfaceOrientationAngleOfOrientation(c.desired)));
        Rect f = sel::frame(view);
        EXPECT_NEAR(f.x(), 0, 1e-9);
        EXPECT_NEAR(f.y(), 0, 1e-9);
        EXPECT_NEAR(f.width(), 320, 1e-9);
        EXPECT_NEAR(f.height(), 568, 1e-9);
    }
}

TEST_F(WindowView, TheSameTransformAndFrameChangeNothing) {
    auto view = addWindowView();
    MSHookMessageEx(objc_getClass("RS2GWindowView"), sel::setTransform_, &countingSetTransform, &original_setTransform);
    sel::rotateManuallyToOrientation_(view, 3);
    EXPECT_EQ(transformSets, 1);
    sel::rotateManuallyToOrientation_(view, 3);
    sel::rotateAccordingToStatusBarOrientationAndSupportedOrientations(view);  // the status bar is in portrait
    EXPECT_EQ(transformSets, 2);
}

TEST_F(WindowView, WrongPlacementsRaise) {
    auto view = sel::initWithFrame_(alloc("RS2GWindowView"), Rect(0, 0, 10, 10));
    auto empty = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    sel::setHidden_(empty, false);
    try {
        sel::addSubview_(empty, view);
        FAIL();
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSInternalInconsistencyException");
        EXPECT_EQ(e.reason(), "TQWindowView is not meant to be first subview on window since UIWindow automatically rotates the first view for you.");
    }
    auto nested = sel::initWithFrame_(alloc("RS2GWindowView"), Rect(0, 0, 10, 10));
    try {
        sel::addSubview_(as<UIView>(window)->subviewList().front(), nested);
        FAIL();
    } catch (const NSException& e) {
        EXPECT_EQ(e.reason(), "TQWindowView should only be added directly on UIWindow");
    }
    auto loose = UIView::make("UIView", Rect(0, 0, 5, 5));
    try {
        sel::addSubViewAndKeepSamePosition_(addWindowView(), loose);
        FAIL();
    } catch (const NSException& e) {
        EXPECT_EQ(e.reason(), "When calling addSubViewAndKeepSamePosition: we are expecting the view to be moved is already in a view hierarchy.");
    }
}

TEST_F(WindowView, ActiveViewsAreListedWhileOnAWindow) {
    auto a = addWindowView(), b = addWindowView();
    Class* cls = objc_getClass("RS2GWindowView");
    EXPECT_EQ(sel::allActiveWindowViews(cls).count(), 2u);
    auto child = UIView::make("UIView", Rect(0, 0, 5, 5));
    sel::addSubviewAndFillBounds_(b, child);
    EXPECT_EQ(sel::activeWindowViewContainingView_(cls, child).get(), b.get());
    int movedOut = 0;
    as<RS2GWindowView>(a)->onDidMoveOutOfWindow = [&] { ++movedOut; };
    sel::removeFromSuperview(a);
    EXPECT_EQ(movedOut, 1);
    EXPECT_EQ(sel::allActiveWindowViews(cls).count(), 1u);
    EXPECT_TRUE(sel::isInFront(b));
}

TEST_F(WindowView, OnlySubviewsCaptureTouchesWhenAsked) {
    auto view = addWindowView();
    as<RS2GWindowView>(view)->onlySubviewsCapturesTouch = true;
    EXPECT_NE(touch::hitTest({100, 100}).view.get(), as<UIView>(view));
    auto button = UIView::make("UIView", Rect(0, 0, 50, 50));
    sel::addSubview_(view, button);
    EXPECT_EQ(touch::hitTest({10, 10}).view.get(), as<UIView>(button));
}

TEST_F(WindowView, SlidesAndFadesTakeFourTenthsOfASecond) {
    auto view = addWindowView();
    auto sheet = UIView::make("UIView", Rect(0, 0, 320, 100));
    bool done = false;
    sel::addSubviewAndFillBounds_withSlideUpAnimationOnDone_(view, sheet, [&] { done = true; });
    EXPECT_EQ(sel::frame(sheet), Rect(0, 0, 320, 568));
    RunLoop::main().advance(0.4);
    EXPECT_TRUE(done);
    done = false;
    sel::slideDownSubviewsAndRemoveFromSuperview_(view, [&] { done = true; });
    EXPECT_EQ(sel::frame(sheet), Rect(0, 568, 320, 568));
    RunLoop::main().advance(0.4);
    EXPECT_TRUE(done);
    EXPECT_FALSE(sel::superview(view));
}

TEST_F(WindowView, TurnsOnTheStatusBarsNotificationsAlone) {
    auto view = addWindowView();
    setOrientation(3);  // posts the orientation change
    EXPECT_EQ(sel::transform(view), AffineTransform::makeRotation(std::numbers::pi / 2));
    // A frame change of the status bar turns it too, to wherever the bar now stands.
    UIApplication::sharedApplication()->statusBarOrientation_ = 4;
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidChangeStatusBarFrameNotification, Value());
    EXPECT_EQ(sel::transform(view), AffineTransform::makeRotation(-std::numbers::pi / 2));
    // Gone from its window and released, it is no longer told.
    WeakRef<Object> weak(view.get());
    sel::removeFromSuperview(view);
    view = nullptr;
    RunLoop::main().advance(0.1);
    EXPECT_FALSE(weak.lock());
    setOrientation(1);
}

TEST_F(WindowView, AViewFromAnArchiveIsSetUpAlike) {
    Ref<Object> view = sel::initWithCoder_(alloc("RS2GWindowView"), nullptr);
    ASSERT_TRUE(view);
    EXPECT_EQ(sel::supportedInterfaceOrientations(view), 30u);
    sel::addSubview_(window, view);
    setOrientation(2);
    EXPECT_EQ(sel::transform(view), AffineTransform::makeRotation(std::numbers::pi));
}

TEST_F(WindowView, ItsPropertiesStoreWhatTheyAreGiven) {
    Ref<Object> view = sel::initWithFrame_(alloc("RS2GWindowView"), Rect());
    Ref<Object> controller = sel::init(alloc("UIViewController"));
    sel::setController_(view, controller);
    EXPECT_EQ(sel::controller(view).get(), controller.get());
    EXPECT_EQ(sel::activeWindowViewForController_(objc_getClass("RS2GWindowView"), controller).get(), nullptr);  // not on a window yet
    int in = 0, out = 0;
    sel::setOnDidMoveToWindow_(view, [&] { ++in; });
    sel::setOnDidMoveOutOfWindow_(view, [&] { ++out; });
    sel::addSubview_(window, view);
    EXPECT_EQ(sel::activeWindowViewForController_(objc_getClass("RS2GWindowView"), controller).get(), view.get());
    sel::removeFromSuperview(view);
    EXPECT_EQ(in, 1);
    EXPECT_EQ(out, 1);
    EXPECT_TRUE(static_cast<bool>(sel::onDidMoveToWindow(view)));
    sel::setOnlySubviewsCapturesTouch_(view, true);
    EXPECT_TRUE(sel::onlySubviewsCapturesTouch(view));
    // The controller is not held.
    WeakRef<Object> weak(controller.get());
    controller = nullptr;
    EXPECT_FALSE(weak.lock());
    EXPECT_FALSE(sel::controller(view));
}

TEST_F(WindowView, FadingOutRemovesItAfterFourTenthsOfASecond) {
    auto view = addWindowView();
    bool done = false;
    sel::fadeOutAndRemoveFromSuperview_(view, [&] { done = true; });
    EXPECT_EQ(sel::alpha(view), 0.0);
    RunLoop::main().advance(0.39);
    EXPECT_TRUE(sel::superview(view));
    EXPECT_FALSE(done);
    RunLoop::main().advance(0.01);
    EXPECT_FALSE(sel::superview(view));
    EXPECT_TRUE(done);
}

TEST_F(WindowView, AViewAddedKeepsItsPlaceOnScreen) {
    auto view = addWindowView();
    auto container = UIView::make("UIView", Rect(50, 60, 200, 200));
    sel::addSubview_(sel::subviews(window).at(0).object(), container);
    auto moved = UIView::make("UIView", Rect(10, 20, 30, 40));
    sel::addSubview_(container, moved);
    sel::addSubViewAndKeepSamePosition_(view, moved);
    EXPECT_EQ(sel::superview(moved).get(), view.get());
    EXPECT_EQ(sel::frame(moved), Rect(60, 80, 30, 40));
}

TEST(WindowViewAngles, FreeFunctions) {
    EXPECT_DOUBLE_EQ(UIInterfaceOrientationAngleOfOrientation(2), std::numbers::pi);
    EXPECT_DOUBLE_EQ(UIInterfaceOrientationAngleBetween(3, 4), std::numbers::pi);
    EXPECT_TRUE(UIInterfaceOrientationsIsForSameAxis(3, 4));
    EXPECT_FALSE(UIInterfaceOrientationsIsForSameAxis(1, 3));
    EXPECT_EQ(TQInterfaceOrientationMaskFromOrientation(4), 16u);
}

}  // namespace
}  // namespace rousa

#include "tweak/screens/window_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

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

TEST(WindowViewAngles, FreeFunctions) {
    EXPECT_DOUBLE_EQ(UIInterfaceOrientationAngleOfOrientation(2), std::numbers::pi);
    EXPECT_DOUBLE_EQ(UIInterfaceOrientationAngleBetween(3, 4), std::numbers::pi);
    EXPECT_TRUE(UIInterfaceOrientationsIsForSameAxis(3, 4));
    EXPECT_FALSE(UIInterfaceOrientationsIsForSameAxis(1, 3));
    EXPECT_EQ(TQInterfaceOrientationMaskFromOrientation(4), 16u);
}

}  // namespace
}  // namespace rousa

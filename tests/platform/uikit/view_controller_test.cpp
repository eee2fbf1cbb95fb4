#include "platform/uikit/view_controller.h"

#include <gtest/gtest.h>

#include "platform/foundation/log.h"
#include "platform/uikit/navigation_controller.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

class Controllers : public UIKitTest {};

TEST_F(Controllers, TheViewLoadsOnceOnFirstAccess) {
    Ref<Object> c = controller("A");
    EXPECT_FALSE(sel::isViewLoaded(c));
    Ref<Object> view = sel::view(c);
    sel::view(c);
    EXPECT_EQ(callLog::lines("RecordingController"),
              (std::vector<std::string>{"RecordingController loadView A", "RecordingController viewDidLoad A"}));
    EXPECT_TRUE(sel::isViewLoaded(c));
    EXPECT_EQ(sel::frame(view), Rect(0, 0, 320, 568));  // the main screen's bounds
    EXPECT_EQ(sel::nextResponder(view).get(), c.get());
}

TEST_F(Controllers, AppearanceFollowsTheViewOnAVisibleWindow) {
    auto w = makeWindow(Rect(0, 0, 320, 568), UIWindowLevelNormal, false);
    Ref<Object> a = controller("A");
    sel::setRootViewController_(w, a);
    EXPECT_TRUE(appearanceCalls().empty());  // the window is hidden
    sel::makeKeyAndVisible(w);
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillAppear: A", "viewDidAppear: A"}));
    callLog::clear();
    sel::setHidden_(w, true);
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillDisappear: A", "viewDidDisappear: A"}));
    sel::setHidden_(w, false);
    callLog::clear();

    // A controller's view added to and removed from the visible window.
    Ref<Object> b = controller("B");
    sel::addSubview_(w, sel::view(b));
    sel::removeFromSuperview(sel::view(b));
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillAppear: B", "viewDidAppear: B", "viewWillDisappear: B",
                                                      "viewDidDisappear: B"}));
}

TEST_F(Controllers, PresentingCoversThePresenterAndCompletesOnTheRunLoop) {
    auto w = makeWindow();
    Ref<Object> a = controller("A");
    sel::setRootViewController_(w, a);
    Ref<Object> b = controller("B");
    callLog::clear();
    bool presented = false;
    sel::presentViewController_animated_completion_(a, b, true, [&] { presented = true; });
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillDisappear: A", "viewWillAppear: B", "viewDidAppear: B",
                                                      "viewDidDisappear: A"}));
    EXPECT_FALSE(presented);
    advance(0);
    EXPECT_TRUE(presented);
    EXPECT_EQ(sel::presentedViewController(a).get(), b.get());
    EXPECT_EQ(sel::presentingViewController(b).get(), a.get());
    Ref<Object> bView = sel::view(b);
    EXPECT_EQ(sel::superview(bView).get(), w.get());
    EXPECT_EQ(sel::frame(bView), sel::bounds(w));
    EXPECT_EQ(touch::hitTest(Point{10, 10}).view.get(), bView.get());  // on top

    callLog::clear();
    bool dismissed = false;
    sel::dismissViewControllerAnimated_completion_(b, true, [&] { dismissed = true; });  // asked of the presented one
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillDisappear: B", "viewWillAppear: A", "viewDidDisappear: B",
                                                      "viewDidAppear: A"}));
    EXPECT_FALSE(sel::presentedViewController(a));
    EXPECT_FALSE(sel::presentingViewController(b));
    EXPECT_FALSE(sel::superview(bView));
    EXPECT_FALSE(dismissed);
    advance(0);
    EXPECT_TRUE(dismissed);
}

TEST_F(Controllers, PresentingNeedsAViewInAWindowAndOnlyOneAtATime) {
    Ref<Object> a = controller("A");
    Ref<Object> b = controller("B");
    bool ran = false;
    sel::presentViewController_animated_completion_(a, b, false, [&] { ran = true; });
    advance(0);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(sel::presentedViewController(a));
    EXPECT_TRUE(log::contains("whose view is not in the window hierarchy"));

    auto w = makeWindow();
    sel::setRootViewController_(w, a);
    sel::presentViewController_animated_completion_(a, b, false, Block());
    Ref<Object> c = controller("C");
    sel::presentViewController_animated_completion_(a, c, false, Block());
    EXPECT_EQ(sel::presentedViewController(a).get(), b.get());
    EXPECT_TRUE(log::contains("which is already presenting"));
    EXPECT_THROW(sel::presentViewController_animated_completion_(a, nullptr, false, Block()), NSException);
}

TEST_F(Controllers, ViewDidLayoutSubviewsFollowsTheViewsLayout) {
    Ref<Object> c = controller("A");
    auto v = makeView(Rect(0, 0, 10, 10), nullptr, 1, "RecordingView");
    sel::setView_(c, v);
    advance(0);
    callLog::clear();
    sel::setNeedsLayout(v);
    advance(0);
    EXPECT_EQ(callLog::lines("ayoutSubviews"),
              (std::vector<std::string>{"RecordingView layoutSubviews 1", "RecordingController viewDidLayoutSubviews A"}));
}

TEST_F(Controllers, AChildOfAPresentedContainerDismissesTheContainer) {
    auto w = makeWindow();
    Ref<Object> a = controller("A");
    sel::setRootViewController_(w, a);
    Ref<Object> b = controller("B"), c = controller("C");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), b);
    sel::pushViewController_animated_(nav, c, false);
    callLog::clear();
    sel::presentViewController_animated_completion_(a, nav, false, Block());
    // The top child takes the callbacks with its container, in the order of a plain presentation.
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillDisappear: A", "viewWillAppear: C", "viewDidAppear: C", "viewDidDisappear: A"}));
    // The children answer for their container.
    EXPECT_EQ(sel::presentingViewController(c).get(), a.get());
    EXPECT_EQ(sel::presentingViewController(b).get(), a.get());
    EXPECT_EQ(touch::hitTest(Point{160, 300}).view.get(), sel::view(c).get());

    callLog::clear();
    bool dismissed = false;
    sel::dismissViewControllerAnimated_completion_(c, true, [&] { dismissed = true; });
    EXPECT_FALSE(sel::presentedViewController(a));
    EXPECT_FALSE(sel::presentingViewController(c));
    EXPECT_FALSE(sel::superview(sel::view(nav)));
    // C leaves with its container, as a presented controller of its own would.
    EXPECT_EQ(appearanceCalls(), (std::vector<std::string>{"viewWillDisappear: C", "viewWillAppear: A", "viewDidDisappear: C", "viewDidAppear: A"}));
    EXPECT_EQ(touch::hitTest(Point{160, 300}).view.get(), sel::view(a).get());
    EXPECT_FALSE(dismissed);
    advance(0);
    EXPECT_TRUE(dismissed);
    // The stack itself stays as it was.
    EXPECT_EQ(sel::topViewController(nav).get(), c.get());
}

TEST_F(Controllers, AChildOfAContainerThatIsNotPresentedDismissesNothing) {
    auto w = makeWindow();
    Ref<Object> b = controller("B");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), b);
    sel::setRootViewController_(w, nav);
    EXPECT_FALSE(sel::presentingViewController(b));
    bool dismissed = false;
    sel::dismissViewControllerAnimated_completion_(b, false, [&] { dismissed = true; });
    advance(0);
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(sel::superview(sel::view(nav)).get(), w.get());
    EXPECT_EQ(sel::superview(sel::view(b)).get(), sel::view(nav).get());

    // A controller the child presents is what its dismissal takes away.
    Ref<Object> d = controller("D");
    sel::presentViewController_animated_completion_(b, d, false, Block());
    EXPECT_EQ(sel::presentedViewController(b).get(), d.get());
    sel::dismissViewControllerAnimated_completion_(b, false, Block());
    EXPECT_FALSE(sel::presentedViewController(b));
    EXPECT_FALSE(sel::superview(sel::view(d)));
    EXPECT_EQ(sel::superview(sel::view(b)).get(), sel::view(nav).get());
}

TEST_F(Controllers, OrientationAndStatusBarDefaults) {
    Ref<Object> c = controller("A");
    EXPECT_EQ(sel::modalPresentationStyle(c), 0);
    sel::setModalPresentationStyle_(c, 5);
    EXPECT_EQ(sel::modalPresentationStyle(c), 5);
    EXPECT_FALSE(sel::prefersStatusBarHidden(c));
    EXPECT_TRUE(sel::shouldAutorotate(c));
    EXPECT_EQ(sel::supportedInterfaceOrientations(c), 26u);  // a phone: all but upside down
    for (long long o : {1, 2, 3, 4}) EXPECT_EQ(sel::shouldAutorotateToInterfaceOrientation_(c, o), o == 1) << o;
    EXPECT_EQ(sel::interfaceOrientation(c), UIInterfaceOrientationPortrait);
    uikit::rotateDevice(UIInterfaceOrientationLandscapeLeft);
    EXPECT_EQ(sel::interfaceOrientation(c), UIInterfaceOrientationLandscapeLeft);
}

TEST_F(Controllers, ARotationTellsTheTopmostPresentedControllerOfTheKeyWindow) {
    auto w = makeWindow();
    sel::makeKeyAndVisible(w);
    Ref<Object> a = controller("A");
    sel::setRootViewController_(w, a);
    auto rotations = [] {
        std::vector<std::string> out;
        for (const auto& line : callLog::lines("RecordingController"))
            if (line.find("otate") != std::string::npos) out.push_back(line.substr(std::string_view("RecordingController ").size()));
        return out;
    };
    uikit::rotateDevice(UIInterfaceOrientationLandscapeRight);
    EXPECT_EQ(rotations(), (std::vector<std::string>{"willRotateToInterfaceOrientation:duration: A 3 0.4",
                                                     "didRotateFromInterfaceOrientation: A 1 interface 3"}));
    Ref<Object> b = controller("B");
    Ref<Object> c = controller("C");
    sel::presentViewController_animated_completion_(a, b, false, Block());
    sel::presentViewController_animated_completion_(b, c, false, Block());
    callLog::clear();
    uikit::rotateDevice(UIInterfaceOrientationPortrait);
    EXPECT_EQ(rotations(), (std::vector<std::string>{"willRotateToInterfaceOrientation:duration: C 1 0.4",
                                                     "didRotateFromInterfaceOrientation: C 3 interface 1"}));
    // The same orientation again turns nothing.
    callLog::clear();
    uikit::rotateDevice(UIInterfaceOrientationPortrait);
    EXPECT_TRUE(rotations().empty());
}

}  // namespace
}  // namespace platform::uitest

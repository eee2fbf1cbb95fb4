#include "platform/uikit/touch.h"

#include <gtest/gtest.h>

#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

class HitTesting : public UIKitTest {
protected:
    HitTesting() {
        window = makeWindow();
        sel::setTag_(window, 100);
        background = makeView(Rect(0, 0, 320, 568), window, 1);
        target = makeView(Rect(100, 100, 50, 50), background, 2);
    }
    std::string hitAt(Point p) { return tagOf(touch::hitTest(p).view); }

    Ref<UIWindow> window;
    Ref<UIView> background, target;
};

struct HitCase {
    const char* name;
    std::function<void(UIView* target, UIView* background)> change;
    std::string want;  // tag of the view a touch at (125, 125) reaches
};

TEST_F(HitTesting, SkipsHiddenTransparentAndNonInteractiveViews) {
    const HitCase cases[] = {
        {"plain", [](UIView*, UIView*) {}, "2"},
        {"hidden", [](UIView* t, UIView*) { sel::setHidden_(t, true); }, "1"},
        {"alpha below 0.01", [](UIView* t, UIView*) { sel::setAlpha_(t, 0.009); }, "1"},
        {"alpha of 0.01", [](UIView* t, UIView*) { sel::setAlpha_(t, 0.01); }, "2"},
        {"no user interaction", [](UIView* t, UIView*) { sel::setUserInteractionEnabled_(t, false); }, "1"},
        {"parent without interaction takes its subtree along", [](UIView*, UIView* b) { sel::setUserInteractionEnabled_(b, false); }, "100"},
        {"hidden parent", [](UIView*, UIView* b) { sel::setHidden_(b, true); }, "100"},
        {"a later sibling on top wins",
         [](UIView*, UIView* b) {
             auto cover = UIView::make("UIView", Rect(110, 110, 30, 30));
             sel::setTag_(cover, 3);
             sel::addSubview_(b, cover);
         },
         "3"},
        {"a subview outside its parent's bounds is not reached",
         [](UIView* t, UIView*) {
             auto child = UIView::make("UIView", Rect(20, 20, 10, 10));  // (125, 125) is inside the child only if the parent reached it
             sel::setTag_(child, 4);
             sel::addSubview_(t, child);
             sel::setFrame_(t, Rect(100, 100, 20, 20));
         },
         "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Fresh views for every case.
        sel::removeFromSuperview(background);
        background = makeView(Rect(0, 0, 320, 568), window, 1);
        target = makeView(Rect(100, 100, 50, 50), background, 2);
        c.change(target, background);
        EXPECT_EQ(hitAt(Point{125, 125}), c.want);
    }
}

TEST_F(HitTesting, DisabledControlsAreSkipped) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    sel::setFrame_(button, Rect(0, 0, 50, 50));
    sel::setTag_(button, 5);
    sel::addSubview_(target, button);
    EXPECT_EQ(hitAt(Point{125, 125}), "5");
    sel::setEnabled_(button, false);
    EXPECT_EQ(hitAt(Point{125, 125}), "2");
}

TEST_F(HitTesting, PointInsideGoesThroughTheMethodTable) {
    // A view that takes touches well outside its bounds (as a larger target would).
    ClassBuilder<UIView>::inheritingType("GenerousView", "UIView").method(sel::pointInside_withEvent_, [](id self, Point p, id) {
        Rect b = sel::bounds(self);
        return Rect(b.x() - 40, b.y() - 40, b.width() + 80, b.height() + 80).contains(p);
    });
    auto generous = makeView(Rect(200, 200, 10, 10), background, 6, "GenerousView");
    EXPECT_EQ(hitAt(Point{180, 180}), "6");
    EXPECT_EQ(hitAt(Point{150, 150}), "1");
    (void)generous;
}

TEST_F(HitTesting, HigherWindowsAreTriedFirst) {
    auto alert = makeWindow(Rect(0, 0, 320, 568), 2000);
    sel::setTag_(alert, 200);
    auto low = makeWindow(Rect(0, 0, 320, 568), -1);
    sel::setTag_(low, 300);
    EXPECT_EQ(hitAt(Point{125, 125}), "200");
    sel::setUserInteractionEnabled_(alert, false);  // finds nothing: the next window gets its turn
    EXPECT_EQ(hitAt(Point{125, 125}), "2");
    sel::setHidden_(window, true);
    EXPECT_EQ(hitAt(Point{125, 125}), "300");
    sel::setHidden_(low, true);
    EXPECT_EQ(touch::hitTest(Point{125, 125}).view.get(), nullptr);
}

TEST_F(HitTesting, WindowsOfOneLevelOrderByShowing) {
    auto second = makeWindow();
    sel::setTag_(second, 400);
    EXPECT_EQ(hitAt(Point{5, 5}), "400");
    sel::makeKeyAndVisible(window);
    EXPECT_EQ(hitAt(Point{5, 5}), "1");
}

TEST_F(HitTesting, TouchesReachTheViewAndGoUpTheResponderChain) {
    auto recording = makeView(Rect(0, 0, 50, 50), target, 7, "RecordingView");
    auto plain = makeView(Rect(10, 10, 10, 10), recording, 8);
    callLog::clear();
    Ref<UIView> hit = touch::tap(Point{115, 115});  // inside `plain`, which passes touches on
    EXPECT_EQ(tagOf(hit), "8");
    EXPECT_EQ(callLog::lines("RecordingView"),
              (std::vector<std::string>{"RecordingView touchesBegan:withEvent: 7", "RecordingView touchesEnded:withEvent: 7"}));
}

TEST_F(HitTesting, TappingAViewReachesWhatCoversIt) {
    auto cover = makeView(Rect(90, 90, 70, 70), background, 9);
    EXPECT_EQ(tagOf(touch::tap(target.get())), "9");
    sel::setHidden_(cover, true);
    EXPECT_EQ(tagOf(touch::tap(target.get())), "2");
    EXPECT_EQ(touch::screenCenter(target.get()), (Point{125, 125}));
}

TEST_F(HitTesting, TouchLocationsAreInTheViewsCoordinates) {
    auto t = touch::down(Point{110, 120});
    EXPECT_EQ(sel::locationInView_(t, target), (Point{10, 20}));
    EXPECT_EQ(sel::locationInView_(t, nullptr), (Point{110, 120}));
    EXPECT_EQ(sel::view(t).get(), target.get());
    touch::move(t, Point{130, 140});
    EXPECT_EQ(sel::previousLocationInView_(t, target), (Point{10, 20}));
    EXPECT_EQ(sel::locationInView_(t, target), (Point{30, 40}));
    EXPECT_EQ(sel::phase(t), UITouchPhaseMoved);
    touch::up(t);
    EXPECT_EQ(sel::phase(t), UITouchPhaseEnded);
}

TEST_F(HitTesting, AnInterceptorCanKeepTouchesFromTheView) {
    auto recording = makeView(Rect(0, 0, 50, 50), target, 7, "RecordingView");
    std::vector<long long> phases;
    touch::setInterceptor([&](UITouch* t, UIEvent*) {
        phases.push_back(t->phase_);
        return t->phase_ == UITouchPhaseEnded;
    });
    callLog::clear();
    touch::tap(Point{110, 110});
    EXPECT_EQ(phases, (std::vector<long long>{UITouchPhaseBegan, UITouchPhaseEnded}));
    EXPECT_EQ(callLog::lines("RecordingView"), (std::vector<std::string>{"RecordingView touchesBegan:withEvent: 7"}));
    touch::setInterceptor(nullptr);
    (void)recording;
}

}  // namespace
}  // namespace platform::uitest

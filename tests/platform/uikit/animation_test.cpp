#include "platform/uikit/animation.h"

#include <gtest/gtest.h>

#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

class Animations : public UIKitTest {
protected:
    Animations() { view = makeView(Rect(0, 0, 100, 100)); }
    Ref<UIView> view;
    std::vector<std::string> events;
    FinishedBlock note(std::string name) {
        return [this, name](bool finished) { events.push_back(name + (finished ? " YES" : " NO")); };
    }
};

TEST_F(Animations, FinalValuesAtOnceCompletionAfterTheDuration) {
    UIView::animateWithDuration(0.3, [&] { sel::setAlpha_(view, 0); }, note("fade"));
    EXPECT_EQ(sel::alpha(view), 0);
    EXPECT_TRUE(events.empty());
    advance(0.299);
    EXPECT_TRUE(events.empty());
    advance(0.001);
    EXPECT_EQ(events, (std::vector<std::string>{"fade YES"}));
    ASSERT_TRUE(animation::last());
    EXPECT_TRUE(animation::last()->completed);
    EXPECT_TRUE(animation::last()->finished);
}

TEST_F(Animations, ZeroDurationCompletesOnTheNextTurnNeverInsideTheCall) {
    UIView::animateWithDuration(0, [&] { sel::setCenter_(view, Point{1, 2}); }, note("now"));
    EXPECT_TRUE(events.empty());
    advance(0);
    EXPECT_EQ(events, (std::vector<std::string>{"now YES"}));
}

TEST_F(Animations, DelayAddsToTheDuration) {
    UIView::animateWithDuration(0.3, 0.2, UIViewAnimationOptionCurveEaseOut, [&] { sel::setAlpha_(view, 0.5); }, note("late"));
    EXPECT_EQ(sel::alpha(view), 0.5);
    advance(0.49);
    EXPECT_TRUE(events.empty());
    advance(0.01);
    EXPECT_EQ(events, (std::vector<std::string>{"late YES"}));
    EXPECT_EQ(animation::last()->delay, 0.2);
    EXPECT_EQ(animation::last()->options, UIViewAnimationOptionCurveEaseOut);
}

TEST_F(Animations, AnInterruptedAnimationCompletesWithFinishedNO) {
    UIView::animateWithDuration(1.0, [&] { sel::setAlpha_(view, 0); }, note("hide"));
    advance(0.5);
    UIView::animateWithDuration(0.3, [&] {
        sel::setAlpha_(view, 1);
        events.push_back("block");
    }, note("show"));
    // The earlier one ran when the new one started: after its block, before the call returned.
    EXPECT_EQ(events, (std::vector<std::string>{"block", "hide NO"}));
    advance(0.3);
    EXPECT_EQ(events, (std::vector<std::string>{"block", "hide NO", "show YES"}));
    advance(1.0);  // the earlier one does not complete again
    EXPECT_EQ(events.size(), 3u);
    const auto& r = animation::records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(r[0].completed);
    EXPECT_FALSE(r[0].finished);
}

TEST_F(Animations, OnlyTheSamePropertyOfTheSameViewInterrupts) {
    auto other = makeView(Rect(0, 0, 10, 10));
    UIView::animateWithDuration(1.0, [&] { sel::setAlpha_(view, 0); }, note("alpha"));
    UIView::animateWithDuration(0.5, [&] { sel::setCenter_(view, Point{5, 5}); }, note("center"));
    UIView::animateWithDuration(0.5, [&] { sel::setAlpha_(other, 0); }, note("other"));
    UIView::animateWithDuration(0.5, [&] { sel::setAlpha_(view, 0); }, note("same value"));  // no change, no interruption
    EXPECT_TRUE(events.empty());
    advance(1.0);
    EXPECT_EQ(events, (std::vector<std::string>{"center YES", "other YES", "same value YES", "alpha YES"}));
}

TEST_F(Animations, NestedAnimationsTakeTheEnclosingTiming) {
    UIView::animateWithDuration(0.52, 0, 0.7, 0.35, 0, [&] {
        UIView::animateWithDuration(0.0, [&] { sel::setAlpha_(view, 0.25); }, note("inner"));
    }, note("outer"));
    const auto& r = animation::records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].parent, 0);
    EXPECT_EQ(r[1].duration, 0.52);
    EXPECT_TRUE(r[1].spring);
    EXPECT_EQ(r[1].springDamping, 0.7);
    EXPECT_EQ(r[1].springVelocity, 0.35);
    EXPECT_TRUE(r[1].changed(view.get(), "alpha"));
    EXPECT_FALSE(r[0].changed(view.get(), "alpha"));
    advance(0.51);
    EXPECT_TRUE(events.empty());
    advance(0.01);
    EXPECT_EQ(events, (std::vector<std::string>{"inner YES", "outer YES"}));
}

TEST_F(Animations, RecordsTheChangedProperties) {
    auto color = UIColor::rgba(1, 0, 0, 1);
    UIView::animateWithDuration(0.4, [&] {
        sel::setFrame_(view, Rect(10, 10, 50, 50));  // a frame is a center and bounds
        sel::setTransform_(view, AffineTransform::makeScale(2, 2));
        sel::setBackgroundColor_(view, color);
    });
    const auto* r = animation::last();
    ASSERT_TRUE(r);
    std::vector<std::string> props;
    for (const auto& c : r->changes) props.push_back(c.property);
    EXPECT_EQ(props, (std::vector<std::string>{"center", "bounds", "transform", "backgroundColor"}));
    EXPECT_EQ(r->changes[0].view.lock().get(), view.get());
    EXPECT_FALSE(r->spring);
    EXPECT_EQ(r->duration, 0.4);
}

TEST_F(Animations, ChangesOutsideABlockAreNotRecorded) {
    sel::setAlpha_(view, 0.5);
    EXPECT_TRUE(animation::records().empty());
    UIView::animateWithDuration(0.2, [&] { UIView::performWithoutAnimation([&] { sel::setAlpha_(view, 0.1); }); }, note("quiet"));
    EXPECT_TRUE(animation::last()->changes.empty());
    EXPECT_EQ(sel::alpha(view), 0.1);
    advance(0.2);
    EXPECT_EQ(events, (std::vector<std::string>{"quiet YES"}));
    EXPECT_TRUE(sel::areAnimationsEnabled(objc_getClass("UIView")));
}

TEST_F(Animations, AutoresizedSubviewsAnimateWithTheirSuperview) {
    auto child = makeView(Rect(0, 0, 100, 100), view);
    sel::setAutoresizingMask_(child, UIViewAutoresizingFlexibleWidth);
    UIView::animateWithDuration(0.3, [&] { sel::setFrame_(view, Rect(0, 0, 200, 100)); });
    EXPECT_TRUE(animation::last()->changed(child.get(), "bounds"));
    EXPECT_EQ(sel::frame(child), Rect(0, 0, 200, 100));
}

}  // namespace
}  // namespace platform::uitest

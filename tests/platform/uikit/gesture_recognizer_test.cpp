#include "platform/uikit/gesture_recognizer.h"

#include <gtest/gtest.h>

#include "platform/uikit/long_press_gesture_recognizer.h"
#include "platform/uikit/tap_gesture_recognizer.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

namespace gsel {
using namespace platform::sel;
inline constexpr Sel<void(id, id)> handle_{"handle:"};
inline constexpr Sel<void(id)> handle{"handle"};
}  // namespace gsel

const char* stateName(unsigned long long s) {
    static const char* names[] = {"possible", "began", "changed", "ended", "cancelled", "failed"};
    return s < 6 ? names[s] : "?";
}

// "GestureTarget": its actions record the sender's state and location in the
// sender's view; as a delegate it answers what the test sets.
class GestureTarget : public NSObject {
public:
    bool shouldBegin = true;
    bool shouldReceive = true;
    bool together = false;
    std::string name = "target";
};

// "TouchView": records every touch phase it is given.
class TouchView : public UIView {};

void registerGestureTestClasses() {
    ClassBuilder<GestureTarget>("GestureTarget", "NSObject")
        .method(gsel::handle_,
                [](id self, id sender) {
                    auto* r = as<UIGestureRecognizer>(sender);
                    Point p = sel::locationInView_(sender, r ? r->view().get() : nullptr);
                    callLog::record("GestureTarget", as<GestureTarget>(self)->name,
                                    format("%s %g,%g", stateName(sel::state(sender)), p.x, p.y));
                })
        .method(gsel::handle, [](id self) { callLog::record("GestureTarget", as<GestureTarget>(self)->name, "no sender"); })
        .method(sel::gestureRecognizerShouldBegin_, [](id self, id) { return as<GestureTarget>(self)->shouldBegin; })
        .method(sel::gestureRecognizer_shouldReceiveTouch_, [](id self, id, id) { return as<GestureTarget>(self)->shouldReceive; })
        .method(sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_,
                [](id self, id, id) { return as<GestureTarget>(self)->together; });
    ClassBuilder<TouchView>("TouchView", "UIView")
        .method(sel::touchesBegan_withEvent_, [](id self, Value, id) { callLog::record("TouchView", "began", tagOf(self)); })
        .method(sel::touchesMoved_withEvent_, [](id self, Value, id) { callLog::record("TouchView", "moved", tagOf(self)); })
        .method(sel::touchesEnded_withEvent_, [](id self, Value, id) { callLog::record("TouchView", "ended", tagOf(self)); })
        .method(sel::touchesCancelled_withEvent_, [](id self, Value, id) { callLog::record("TouchView", "cancelled", tagOf(self)); });
}

class Gestures : public UIKitTest {
protected:
    Gestures() {
        registerGestureTestClasses();
        window = makeWindow();
        view = makeView(Rect(100, 100, 100, 100), window, 1, "TouchView");
        target = as<GestureTarget>(newObject("GestureTarget"));
    }
    template <class T = UIGestureRecognizer>
    Ref<T> make(const char* cls, GestureTarget* to, const char* name = "target") {
        if (to) to->name = name;
        auto r = as<T>(sel::initWithTarget_action_(alloc(cls), to, gsel::handle_));
        return r;
    }
    Ref<UILongPressGestureRecognizer> longPressOn(UIView* v) {
        auto r = make<UILongPressGestureRecognizer>("UILongPressGestureRecognizer", target);
        sel::addGestureRecognizer_(v, r);
        return r;
    }
    static std::vector<std::string> actions() { return callLog::lines("GestureTarget"); }
    static std::vector<std::string> viewPhases() { return callLog::lines("TouchView"); }

    Ref<UIWindow> window;
    Ref<UIView> view;
    Ref<GestureTarget> target;
};

using Lines = std::vector<std::string>;

TEST_F(Gestures, DrivenThroughItsStatesItSendsActionsWithTheLocation) {
    auto r = make("UIGestureRecognizer", target);
    sel::addGestureRecognizer_(view, r);
    auto second = as<GestureTarget>(newObject("GestureTarget"));
    second->name = "second";
    sel::addTarget_action_(r, second, gsel::handle);
    sel::addTarget_action_(r, second, gsel::handle);  // a pair that is there already is not added again
    callLog::clear();
    gesture::drive(r, UIGestureRecognizerStateBegan, Point{110, 120});
    gesture::drive(r, UIGestureRecognizerStateChanged, Point{150, 160});
    gesture::drive(r, UIGestureRecognizerStateEnded, Point{150, 160});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 10,20", "GestureTarget second no sender",
                                "GestureTarget target changed 50,60", "GestureTarget second no sender",
                                "GestureTarget target ended 50,60", "GestureTarget second no sender"}));
    // Over and holding no touch: possible again.
    EXPECT_EQ(sel::state(r), UIGestureRecognizerStatePossible);
    EXPECT_EQ(sel::locationInView_(r, nullptr), (Point{150, 160}));  // the window's coordinates
    EXPECT_EQ(sel::view(r).get(), view.get());
}

TEST_F(Gestures, FailingSendsNothingCancellingSendsTheAction) {
    auto r = make("UIGestureRecognizer", target);
    sel::addGestureRecognizer_(view, r);
    callLog::clear();
    gesture::drive(r, UIGestureRecognizerStateFailed, Point{110, 110});
    EXPECT_TRUE(actions().empty());
    gesture::drive(r, UIGestureRecognizerStateBegan, Point{110, 110});
    gesture::drive(r, UIGestureRecognizerStateCancelled, Point{120, 110});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 10,10", "GestureTarget target cancelled 20,10"}));
}

TEST_F(Gestures, TargetsDelegateAndViewAreNotRetained) {
    auto r = make("UIGestureRecognizer", target);
    sel::setDelegate_(r, target);
    {
        auto host = makeView(Rect(0, 0, 10, 10), window);
        sel::addGestureRecognizer_(host, r);
        sel::removeFromSuperview(host);
    }
    EXPECT_EQ(sel::view(r).get(), nullptr);
    target = nullptr;
    EXPECT_EQ(sel::delegate(r).get(), nullptr);
    callLog::clear();
    gesture::drive(r, UIGestureRecognizerStateBegan, Point{});
    EXPECT_TRUE(actions().empty());
}

TEST_F(Gestures, AViewKeepsItsRecognizersAndARecognizerHasOneView) {
    auto a = make("UIGestureRecognizer", target);
    auto b = make("UITapGestureRecognizer", target);
    EXPECT_TRUE(sel::gestureRecognizers(view).isNil());
    sel::addGestureRecognizer_(view, a);
    sel::addGestureRecognizer_(view, b);
    EXPECT_EQ(sel::gestureRecognizers(view), Value::array({Value(a), Value(b)}));
    auto other = makeView(Rect(0, 0, 10, 10), window);
    sel::addGestureRecognizer_(other, a);  // moves
    EXPECT_EQ(sel::gestureRecognizers(view), Value::array({Value(b)}));
    EXPECT_EQ(sel::view(a).get(), other.get());
    sel::removeGestureRecognizer_(other, a);
    EXPECT_TRUE(sel::gestureRecognizers(other).isNil());
    EXPECT_EQ(sel::view(a).get(), nullptr);
}

TEST_F(Gestures, ALongPressBeginsAfterItsDurationAndTakesTheTouchFromTheView) {
    auto r = longPressOn(view);
    EXPECT_DOUBLE_EQ(sel::minimumPressDuration(r), 0.5);
    EXPECT_DOUBLE_EQ(sel::allowableMovement(r), 10);
    sel::setMinimumPressDuration_(r, 1.0);
    callLog::clear();
    auto t = touch::down(Point{150, 150});
    touch::move(t, Point{155, 150});  // within the allowable movement
    advance(0.99);
    EXPECT_TRUE(actions().empty());
    advance(0.01);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 55,50"}));
    touch::move(t, Point{180, 190});
    touch::up(t);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 55,50", "GestureTarget target changed 80,90",
                                "GestureTarget target ended 80,90"}));
    EXPECT_EQ(viewPhases(), (Lines{"TouchView began 1", "TouchView moved 1", "TouchView cancelled 1"}));
    EXPECT_EQ(sel::state(r), UIGestureRecognizerStatePossible);
}

TEST_F(Gestures, ALongPressFailsWhenTheTouchMovesOrLiftsEarly) {
    struct Case {
        const char* name;
        std::function<void(UITouch*)> run;
    };
    const Case cases[] = {
        {"lifted before the duration", [](UITouch* t) { touch::up(t); }},
        {"moved beyond the allowable movement",
         [this](UITouch* t) {
             touch::move(t, Point{150, 161});
             advance(1.0);
             touch::up(t);
         }},
        {"cancelled", [](UITouch* t) { touch::cancel(t); }},
    };
    auto r = longPressOn(view);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        callLog::clear();
        Ref<UITouch> t = touch::down(Point{150, 150});
        c.run(t);
        advance(1.0);
        EXPECT_TRUE(actions().empty());
        Lines phases = viewPhases();
        EXPECT_NE(std::find(phases.begin(), phases.end(), "TouchView began 1"), phases.end());
        EXPECT_EQ(std::find(phases.begin(), phases.end(), "TouchView cancelled 1") != phases.end(), std::string(c.name) == "cancelled");
        EXPECT_EQ(sel::state(r), UIGestureRecognizerStatePossible);
    }
    // And the next press works.
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{150, 150});
    advance(0.5);
    touch::up(t);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 50,50", "GestureTarget target ended 50,50"}));
}

TEST_F(Gestures, ALongPressWithoutDurationBeginsAtOnceAndTheViewSeesNothing) {
    auto r = longPressOn(view);
    sel::setMinimumPressDuration_(r, 0);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{120, 130});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 20,30"}));
    touch::up(t);
    EXPECT_TRUE(viewPhases().empty());
}

TEST_F(Gestures, ASuperviewsRecognizerSeesTouchesOnItsSubviews) {
    auto child = makeView(Rect(10, 10, 20, 20), view, 2, "TouchView");
    auto tap = make<UITapGestureRecognizer>("UITapGestureRecognizer", target);
    sel::addGestureRecognizer_(view, tap);
    callLog::clear();
    touch::tap(Point{115, 115});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target ended 15,15"}));
    EXPECT_EQ(viewPhases(), (Lines{"TouchView began 2", "TouchView cancelled 2"}));
    (void)child;
}

TEST_F(Gestures, ATapRecognizesOnLiftUnlessTheTouchStrays) {
    auto tap = make<UITapGestureRecognizer>("UITapGestureRecognizer", target);
    sel::addGestureRecognizer_(view, tap);
    EXPECT_EQ(sel::numberOfTapsRequired(tap), 1u);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{150, 150});
    touch::move(t, Point{158, 150});
    touch::up(t);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target ended 58,50"}));
    callLog::clear();
    t = touch::down(Point{150, 150});
    touch::move(t, Point{150, 161});
    touch::up(t);
    EXPECT_TRUE(actions().empty());
    EXPECT_EQ(viewPhases(), (Lines{"TouchView began 1", "TouchView moved 1", "TouchView ended 1"}));
}

TEST_F(Gestures, WithoutCancellingTouchesTheViewStillGetsThem) {
    auto tap = make<UITapGestureRecognizer>("UITapGestureRecognizer", target);
    sel::setCancelsTouchesInView_(tap, false);
    sel::addGestureRecognizer_(view, tap);
    callLog::clear();
    touch::tap(Point{150, 150});
    EXPECT_EQ(actions().size(), 1u);
    EXPECT_EQ(viewPhases(), (Lines{"TouchView began 1", "TouchView ended 1"}));
}

TEST_F(Gestures, ADoubleTapNeedsItsSecondTapInTime) {
    auto tap = make<UITapGestureRecognizer>("UITapGestureRecognizer", target);
    sel::setNumberOfTapsRequired_(tap, 2);
    sel::addGestureRecognizer_(view, tap);
    callLog::clear();
    touch::tap(Point{150, 150});
    advance(0.3);
    touch::tap(Point{152, 150});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target ended 52,50"}));
    callLog::clear();
    touch::tap(Point{150, 150});
    advance(0.4);  // too late: the first tap failed, this one starts over
    touch::tap(Point{150, 150});
    EXPECT_TRUE(actions().empty());
    advance(0.1);
    touch::tap(Point{150, 150});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target ended 50,50"}));
}

TEST_F(Gestures, ALongPressThatBeganKeepsATapOnTheSameTouchFromRecognizing) {
    auto press = longPressOn(view);
    auto tapTarget = as<GestureTarget>(newObject("GestureTarget"));
    auto tap = make<UITapGestureRecognizer>("UITapGestureRecognizer", tapTarget, "tap");
    sel::addGestureRecognizer_(view, tap);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{150, 150});
    advance(0.5);
    touch::up(t);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 50,50", "GestureTarget target ended 50,50"}));

    // A delegate that lets them work together: both recognize.
    sel::setDelegate_(tap, tapTarget);
    tapTarget->together = true;
    callLog::clear();
    t = touch::down(Point{150, 150});
    advance(0.5);
    touch::up(t);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 50,50", "GestureTarget target ended 50,50", "GestureTarget tap ended 50,50"}));
    (void)press;
}

TEST_F(Gestures, TheDelegateDecidesWhetherItBeginsAndWhichTouchesItGets) {
    auto tap = make<UITapGestureRecognizer>("UITapGestureRecognizer", target);
    sel::setDelegate_(tap, target);
    sel::addGestureRecognizer_(view, tap);
    target->shouldBegin = false;
    callLog::clear();
    touch::tap(Point{150, 150});
    EXPECT_TRUE(actions().empty());
    EXPECT_EQ(viewPhases(), (Lines{"TouchView began 1", "TouchView ended 1"}));
    target->shouldBegin = true;
    target->shouldReceive = false;
    callLog::clear();
    touch::tap(Point{150, 150});
    EXPECT_TRUE(actions().empty());
    target->shouldReceive = true;
    touch::tap(Point{150, 150});
    EXPECT_EQ(actions().size(), 1u);
}

TEST_F(Gestures, ADisabledRecognizerGetsNoTouchAndDisablingCancelsAGesture) {
    auto r = longPressOn(view);
    sel::setEnabled_(r, false);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{150, 150});
    advance(1.0);
    touch::up(t);
    EXPECT_TRUE(actions().empty());
    sel::setEnabled_(r, true);
    t = touch::down(Point{150, 150});
    advance(0.5);
    sel::setEnabled_(r, false);
    touch::move(t, Point{160, 160});
    touch::up(t);
    EXPECT_EQ(actions(), (Lines{"GestureTarget target began 50,50", "GestureTarget target cancelled 50,50"}));
    EXPECT_EQ(sel::state(r), UIGestureRecognizerStatePossible);
}

// A subclass sees the touches through the method table first.
TEST_F(Gestures, ASubclassCanTakeOverTheTouchHandling) {
    static Class* cls = ClassBuilder<UITapGestureRecognizer>::inheritingType("EagerTap", "UITapGestureRecognizer")
                            .method(sel::touchesBegan_withEvent_,
                                    [](id self, Value touches, id event) {
                                        sel::touchesBegan_withEvent_.super(cls, self, touches, event);
                                        sel::setState_(self, UIGestureRecognizerStateEnded);  // recognizes on touching down
                                    })
                            .get();
    auto r = make<UITapGestureRecognizer>("EagerTap", target);
    sel::addGestureRecognizer_(view, r);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{150, 150});
    EXPECT_EQ(actions(), (Lines{"GestureTarget target ended 50,50"}));
    touch::up(t);
    EXPECT_TRUE(viewPhases().empty());
    EXPECT_EQ(actions().size(), 1u);
}

}  // namespace
}  // namespace platform::uitest

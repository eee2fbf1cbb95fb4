#include "tweak/screens/radial_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/uikit/color.h"
#include "platform/uikit/gesture_recognizer.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/visual_effect.h"
#include "tests/tweak/screens/radial_menu_fixture.h"

namespace rousa::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr Point C{160, 300};  // the menus' centre on the screen
Point at(double dx, double dy) { return Point{C.x + dx, C.y + dy}; }

Class* itemClass() { return objc_getClass("PRWRadialMenuItem"); }

UIButton* buttonAt(PRWRadialMenu* menu, long long location) {
    return as<UIButton>(menu->itemButtons[descriptionStringForLocation(location).string()].object());
}

std::string highlightedLocations(PRWRadialMenu* menu) {
    std::string out;
    for (long long l = PRWRadialMenuLocationCenter; l <= PRWRadialMenuLocationBottom; ++l)
        if (buttonAt(menu, l)->highlighted_) out += std::to_string(l);
    return out.empty() ? "none" : out;
}

void expectNear(Rect actual, Rect expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9) << "x";
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9) << "y";
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9) << "width";
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9) << "height";
}

// An item whose handlers record; its selected handler also notes the menu's state.
Ref<Object> recordingItem(const std::string& name, bool dismisses = true) {
    return sel::menuItemWithRadialMenuStandardItem_highlightedHandler_selectedHandler_(
        itemClass(), PRWRadialMenuStandardItemConfirm,
        [name](id, id, bool h) { callLog::record("Item", name + " highlighted", h ? "YES" : "NO"); },
        [name, dismisses](id menu, id item) {
            EXPECT_TRUE(as<PRWRadialMenuItem>(item));
            callLog::record("Item", name + " selected", format("state %lld", sel::menuState(menu)));
            if (dismisses) sel::dismissMenuAnimated_(menu, true);
        });
}

Lines selections() { return callLog::lines("selected"); }

// --- set-up -------------------------------------------------------------------------------------------

TEST_F(RadialMenuTest, EveryInitialiserSetsUpTheClosedMenuInFull) {
    Ref<Object> light = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), UIBlurEffectStyleLight);
    struct Case {
        const char* name;
        std::function<Ref<Object>()> make;
        Rect frame;
        long long style;
    };
    const Case cases[] = {
        {"init", [] { return sel::init(alloc("PRWRadialMenu")); }, Rect(0, 0, 30, 30), UIBlurEffectStyleDark},
        {"initWithFrame:", [] { return sel::initWithFrame_(alloc("PRWRadialMenu"), Rect(10, 20, 60, 40)); }, Rect(10, 20, 60, 40),
         UIBlurEffectStyleDark},
        {"initWithBackgroundVisualEffect:", [&] { return sel::initWithBackgroundVisualEffect_(alloc("PRWRadialMenu"), light); },
         Rect(0, 0, 30, 30), UIBlurEffectStyleLight},
        {"initWithBackgroundVisualEffect: nil", [] { return sel::initWithBackgroundVisualEffect_(alloc("PRWRadialMenu"), nullptr); },
         Rect(0, 0, 30, 30), UIBlurEffectStyleDark},
        {"initWithCoder:", [] { return sel::initWithCoder_(alloc("PRWRadialMenu"), nullptr); }, Rect(), UIBlurEffectStyleDark},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        callLog::clear();
        Ref<PRWRadialMenu> menu = as<PRWRadialMenu>(c.make());
        ASSERT_TRUE(menu);
        Rect b = sel::bounds(menu);
        EXPECT_EQ(sel::frame(menu), c.frame);
        EXPECT_FALSE(sel::clipsToBounds(menu));
        EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);
        EXPECT_FALSE(sel::isMenuVisible(menu));
        EXPECT_FALSE(sel::isExclusiveTouch(menu));
        EXPECT_DOUBLE_EQ(sel::menuRadius(menu), kPRWRadialMenuContractedRadius);

        Ref<Object> main = sel::mainButton(menu);
        EXPECT_TRUE(isKindOfClass(main, "PRWButton"));
        EXPECT_EQ(sel::buttonType(main), UIButtonTypeSystem);
        EXPECT_EQ(sel::frame(main), Rect(0, 0, b.width(), b.height()));
        EXPECT_EQ(sel::autoresizingMask(main), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        EXPECT_DOUBLE_EQ(sel::alpha(main), 1.0);

        Ref<Object> disc = sel::radialMenu(menu);
        EXPECT_TRUE(sel::clipsToBounds(disc));
        EXPECT_DOUBLE_EQ(sel::alpha(disc), 0.0);
        expectNear(sel::frame(disc), Rect(b.width() / 2 - 15, b.height() / 2 - 15, 30, 30));
        EXPECT_EQ(sel::subviews(menu), Value::array({Value(main), Value(disc)}));

        Ref<Object> background = sel::radialMenuBackground(menu);
        ASSERT_TRUE(isKindOfClass(background, "UIVisualEffectView"));
        EXPECT_EQ(object_getIvar(sel::effect(background), "_style"), Value(c.style));
        EXPECT_EQ(sel::backgroundVisualEffect(menu).get(), sel::effect(background).get());
        EXPECT_EQ(sel::superview(background).get(), disc.get());
        EXPECT_DOUBLE_EQ(sel::cornerRadius(sel::layer(background)), 192);
        EXPECT_TRUE(sel::clipsToBounds(background));
        EXPECT_EQ(sel::bounds(background).size, (Size{384, 384}));
        EXPECT_EQ(sel::transform(background), AffineTransform::makeScale(15.0 / 192, 15.0 / 192));
        expectNear(sel::frame(background), Rect(0, 0, 30, 30));

        Value buttons = sel::itemButtons(menu);
        ASSERT_EQ(buttons.count(), 5u);
        for (long long l = PRWRadialMenuLocationCenter; l <= PRWRadialMenuLocationBottom; ++l) {
            SCOPED_TRACE(l);
            UIButton* button = buttonAt(menu, l);
            ASSERT_TRUE(button);
            EXPECT_EQ(button->superview().get(), disc.get());
            EXPECT_EQ(button->buttonType_, UIButtonTypeCustom);
            EXPECT_EQ(button->hidden_, l != PRWRadialMenuLocationCenter);
            EXPECT_FALSE(button->adjustsImageWhenHighlighted_);
            EXPECT_TRUE(as<UIColor>(sel::tintColor(button).get())->sameComponents(*UIColor::white(1, 1)));
        }
        Ref<Object> centre = sel::menuItemForLocation_(menu, PRWRadialMenuLocationCenter);
        EXPECT_EQ(sel::type(centre), PRWRadialMenuItemTypeStandardItem);
        EXPECT_EQ(sel::standardItem(centre), PRWRadialMenuStandardItemCancel);
        EXPECT_EQ(sel::delegate(centre).get(), menu.get());
        EXPECT_EQ(sel::items(menu).count(), 1u);

        auto* press = as<UILongPressGestureRecognizer>(sel::pressGestureRecognizer(menu).get());
        ASSERT_TRUE(press);
        EXPECT_EQ(press->view().get(), menu.get());
        EXPECT_EQ(sel::gestureRecognizers(menu), Value::array({Value(press)}));
        EXPECT_DOUBLE_EQ(press->minimumPressDuration_, 0.5);
        ASSERT_EQ(press->targets_.size(), 1u);
        EXPECT_EQ(press->targets_[0].target.lock().get(), menu.get());
        EXPECT_EQ(press->targets_[0].action, "didTouch:");

        advance(0.1);
        EXPECT_EQ(sel::activeStateTransitionCount(menu), 0);
    }
}

// --- geometry ---------------------------------------------------------------------------------------------

TEST_F(RadialMenuTest, EachLocationKeepsItsPlaceOnTheDiscAtEveryRadius) {
    auto menu = menuAround(C);
    struct Step {
        long long state;
        double radius;
    };
    for (Step step : {Step{PRWRadialMenuStateNormal, 105}, Step{PRWRadialMenuStateExpanded, 120}, Step{PRWRadialMenuStateContracted, 15},
                      Step{PRWRadialMenuStateNormal, 105}}) {
        SCOPED_TRACE(format("state %lld", step.state));
        sel::setMenuState_(menu, step.state);
        double r = step.radius, side = 2 * r, mid = (side - 30) / 2, far = side - 8 - 30;
        EXPECT_DOUBLE_EQ(sel::menuRadius(menu), r);
        expectNear(sel::frame(sel::radialMenu(menu)), Rect(22 - r, 22 - r, side, side));
        expectNear(sel::frame(sel::radialMenuBackground(menu)), Rect(0, 0, side, side));
        const Rect want[] = {Rect(mid, mid, 30, 30), Rect(mid, 8, 30, 30), Rect(8, mid, 30, 30), Rect(far, mid, 30, 30),
                             Rect(mid, far, 30, 30)};
        for (long long l = PRWRadialMenuLocationCenter; l <= PRWRadialMenuLocationBottom; ++l) {
            SCOPED_TRACE(descriptionStringForLocation(l).string());
            expectNear(sel::frame(buttonAt(menu, l)), want[l]);
        }
    }
}

TEST_F(RadialMenuTest, PointsFallIntoTheCentreTheQuartersOrNowhere) {
    auto menu = menuAround(C);
    struct Case {
        double dx, dy;
        long long want;
    };
    const Case cases[] = {
        {0, 0, PRWRadialMenuLocationCenter},    {47.9, 0, PRWRadialMenuLocationCenter}, {0, -48, PRWRadialMenuLocationTop},
        {-100, 0, PRWRadialMenuLocationLeft},   {100, 0, PRWRadialMenuLocationRight},   {0, 100, PRWRadialMenuLocationBottom},
        {60, -50, PRWRadialMenuLocationRight},  {50, -60, PRWRadialMenuLocationTop},    {-60, 50, PRWRadialMenuLocationLeft},
        {-50, 60, PRWRadialMenuLocationBottom}, {179.9, 0, PRWRadialMenuLocationRight}, {180, 0, PRWRadialMenuLocationNone},
        {0, -200, PRWRadialMenuLocationNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(format("%g, %g", c.dx, c.dy));
        Point p{22 + c.dx, 22 + c.dy};
        EXPECT_DOUBLE_EQ(sel::distanceOfPointFromCenter_(menu, p), std::hypot(c.dx, c.dy));
        EXPECT_EQ(sel::locationForPoint_(menu, p), c.want);
    }
    sel::setMenuState_(menu, PRWRadialMenuStateNormal);
    EXPECT_EQ(sel::pointRelativeToCenter_(menu, Point{10, 200}), (Point{-95, 95}));
    EXPECT_DOUBLE_EQ(CGPointDistance(Point{1, 1}, Point{4, 5}), 5.0);
}

TEST(RadialMenuNames, LocationKeysAndStandardItemNames) {
    const char* keys[] = {"PRWRadialMenuLocationCenter", "PRWRadialMenuLocationTop", "PRWRadialMenuLocationLeft",
                          "PRWRadialMenuLocationRight", "PRWRadialMenuLocationBottom"};
    for (long long l = 0; l < 5; ++l) {
        EXPECT_EQ(descriptionStringForLocation(l), Value(keys[l]));
        EXPECT_EQ(locationFromLocationString(Value(keys[l])), l);
    }
    EXPECT_TRUE(descriptionStringForLocation(-1).isNil());
    EXPECT_TRUE(descriptionStringForLocation(5).isNil());
    EXPECT_EQ(locationFromLocationString(Value("PRWRadialMenuLocationMiddle")), -1);
    EXPECT_EQ(locationFromLocationString(Value()), -1);
    const char* names[] = {"PRWRadialMenuStandardItemCancel", "PRWRadialMenuStandardItemConfirm", "PRWRadialMenuStandardItemPause",
                           "PRWRadialMenuStandardItemPlay", "PRWRadialMenuStandardItemCamera"};
    for (long long s = 0; s < 5; ++s) EXPECT_EQ(NSStringFromPRWRadialMenuStandardItem(s), Value(names[s]));
    EXPECT_TRUE(NSStringFromPRWRadialMenuStandardItem(5).isNil());
    EXPECT_TRUE(NSStringFromPRWRadialMenuStandardItem(-1).isNil());
}

// --- touches ----------------------------------------------------------------------------------------------

TEST_F(RadialMenuTest, APressOpensTheMenuFollowsTheFingerAndLiftingChooses) {
    auto menu = menuAround(C);
    auto delegate = newObject("MenuDelegate");
    sel::setDelegate_(menu, delegate);
    sel::setItem_forLocation_(menu, recordingItem("top"), PRWRadialMenuLocationTop);
    sel::setItem_forLocation_(menu, recordingItem("right"), PRWRadialMenuLocationRight);
    callLog::clear();

    Ref<UITouch> t = touch::down(C);
    advance(0.49);
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);
    advance(0.01);
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateNormal);
    EXPECT_DOUBLE_EQ(sel::menuRadius(menu), 105);
    EXPECT_DOUBLE_EQ(sel::alpha(sel::radialMenu(menu)), 1.0);
    EXPECT_DOUBLE_EQ(sel::alpha(sel::mainButton(menu)), 0.0);
    EXPECT_EQ(highlightedLocations(menu), "0");
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0"}));

    touch::move(t, at(0, -80));  // over the top item: the disc grows
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateExpanded);
    EXPECT_DOUBLE_EQ(sel::menuRadius(menu), 120);
    EXPECT_EQ(highlightedLocations(menu), "1");
    touch::move(t, at(-80, 0));  // over the left, which has no item: the centre
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateNormal);
    EXPECT_DOUBLE_EQ(sel::menuRadius(menu), 105);
    EXPECT_EQ(highlightedLocations(menu), "0");
    touch::move(t, at(90, 10));
    EXPECT_EQ(highlightedLocations(menu), "3");
    touch::move(t, at(-5, -90));
    EXPECT_EQ(highlightedLocations(menu), "1");
    // Every highlight tells every item: twice as the press began (nothing, then the centre), then once per move.
    EXPECT_EQ(callLog::lines("Item right"), (Lines{"Item right highlighted NO", "Item right highlighted NO", "Item right highlighted NO",
                                                   "Item right highlighted NO", "Item right highlighted YES", "Item right highlighted NO"}));

    touch::up(t);
    EXPECT_EQ(selections(), (Lines{"Item top selected state 1"}));
    EXPECT_EQ(highlightedLocations(menu), "none");
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);  // the handler closed it
    advance(1.0);
    // No time passed while the finger moved: the opening never completed on its own.
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0",
                                      "MenuDelegate radialMenuWillDismiss: state 0, running 1",
                                      "MenuDelegate radialMenuDidDismiss: state 0, running 0"}));
}

TEST_F(RadialMenuTest, WhereTheFingerLiftsChoosesTheItem) {
    auto menu = menuAround(C);
    sel::setItem_forLocation_(menu, recordingItem("centre"), PRWRadialMenuLocationCenter);
    sel::setItem_forLocation_(menu, recordingItem("right"), PRWRadialMenuLocationRight);
    struct Case {
        const char* name;
        Point lift;
        std::string want;
    };
    const Case cases[] = {
        {"within 48 points: the centre", at(30, 30), "Item centre selected state 1"},
        {"a quarter with an item", at(120, -20), "Item right selected state 1"},
        {"a quarter without one: the centre", at(0, 120), "Item centre selected state 1"},
        {"180 points or more: closed, then the centre", at(150, 101), "Item centre selected state 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        callLog::clear();
        Ref<UITouch> t = touch::down(C);
        advance(0.5);
        touch::move(t, c.lift);
        touch::up(t);
        EXPECT_EQ(selections(), (Lines{c.want}));
        EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);
        advance(1.0);
    }
}

TEST_F(RadialMenuTest, WithNoItemToChooseLiftingCloses) {
    auto menu = menuAround(C);
    sel::setItem_forLocation_(menu, nullptr, PRWRadialMenuLocationCenter);
    Ref<UITouch> t = touch::down(C);
    advance(0.5);
    EXPECT_TRUE(sel::isMenuVisible(menu));
    touch::up(t);
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);
}

// The alarm list hands the events of its own recognizer (on the table) to the menu.
TEST_F(RadialMenuTest, AnotherRecognizersEventsDriveTheMenu) {
    auto table = as<UIView>(sel::initWithFrame_(alloc("UIView"), Rect(0, 0, 320, 568)));
    sel::insertSubview_atIndex_(window, table, 0);
    auto menu = menuAround(C);
    sel::setItem_forLocation_(menu, recordingItem("right"), PRWRadialMenuLocationRight);
    auto press = as<UILongPressGestureRecognizer>(sel::initWithTarget_action_(alloc("UILongPressGestureRecognizer"), menu, sel::didTouch_));
    sel::addGestureRecognizer_(table, press);
    callLog::clear();

    gesture::drive(press, UIGestureRecognizerStateBegan, at(5, 5));
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateNormal);
    EXPECT_EQ(highlightedLocations(menu), "0");
    gesture::drive(press, UIGestureRecognizerStateChanged, at(80, 0));
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateExpanded);
    EXPECT_EQ(highlightedLocations(menu), "3");
    gesture::drive(press, UIGestureRecognizerStateCancelled, at(80, 0));  // stays open, nothing highlighted
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateNormal);
    EXPECT_EQ(highlightedLocations(menu), "none");
    EXPECT_TRUE(selections().empty());

    gesture::drive(press, UIGestureRecognizerStateBegan, at(0, 0));
    gesture::drive(press, UIGestureRecognizerStateEnded, at(100, 0));
    EXPECT_EQ(selections(), (Lines{"Item right selected state 1"}));

    // Real touches on the table reach the menu the same way.
    callLog::clear();
    sel::setMinimumPressDuration_(press, 1.0);
    Ref<UITouch> t = touch::down(Point{20, 20});  // far from the closed menu: the table's
    advance(1.0);
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateNormal);
    touch::move(t, Point{20, 140});
    touch::up(t);
    EXPECT_EQ(selections(), (Lines{}));  // beyond 180 points: the standard centre item, which closes
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);
}

TEST_F(RadialMenuTest, AnOpenMenuTakesEveryTouchAndTracksItAtOnce) {
    auto menu = menuAround(C);
    Ref<Object> press = sel::pressGestureRecognizer(menu);
    EXPECT_TRUE(sel::pointInside_withEvent_(menu, Point{1, 1}, nullptr));
    EXPECT_FALSE(sel::pointInside_withEvent_(menu, Point{-5, 22}, nullptr));
    EXPECT_NE(touch::hitTest(Point{20, 20}).view.get(), menu.get());

    sel::displayMenu(menu);
    advance(1.0);
    EXPECT_TRUE(sel::isExclusiveTouch(menu));
    EXPECT_DOUBLE_EQ(sel::minimumPressDuration(press), 0.0);
    EXPECT_TRUE(sel::pointInside_withEvent_(menu, Point{-300, 900}, nullptr));
    EXPECT_EQ(touch::hitTest(Point{20, 20}).view.get(), menu.get());

    Ref<UITouch> t = touch::down(at(0, -80));  // over the top, which has no item: the centre lights at once
    EXPECT_EQ(highlightedLocations(menu), "0");
    touch::move(t, Point{20, 20});
    touch::up(t);  // far away: the standard centre item closes the menu
    EXPECT_EQ(sel::menuState(menu), PRWRadialMenuStateContracted);
    EXPECT_FALSE(sel::isExclusiveTouch(menu));
    EXPECT_DOUBLE_EQ(sel::minimumPressDuration(press), 0.5);
}

TEST_F(RadialMenuTest, TheMainButtonTakesTouchesInItsBoundsOnly) {
    auto menu = menuAround(C);
    Ref<Object> main = sel::mainButton(menu);
    sel::setImage_forState_(menu, pngImage(10), UIControlStateNormal);
    EXPECT_TRUE(sel::imageForState_(menu, UIControlStateNormal));
    EXPECT_EQ(sel::imageForState_(main, UIControlStateNormal).get(), sel::imageForState_(menu, UIControlStateNormal).get());
    EXPECT_EQ(sel::hitTest_withEvent_(main, Point{2, 2}, nullptr).get(), main.get());  // not its image view
    EXPECT_EQ(sel::hitTest_withEvent_(main, Point{44.5, 2}, nullptr).get(), nullptr);
    EXPECT_TRUE(sel::pointInside_withEvent_(main, Point{43.9, 43.9}, nullptr));
    EXPECT_FALSE(sel::pointInside_withEvent_(main, Point{-0.1, 10}, nullptr));
}

// --- states, the delegate and animations ---------------------------------------------------------------------

TEST_F(RadialMenuTest, TheDelegateHearsEachChangeOnceAndInOrder) {
    auto menu = menuAround(C);
    auto delegate = newObject("MenuDelegate");
    sel::setDelegate_(menu, delegate);
    callLog::clear();

    sel::displayMenu(menu);
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0"}));
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 1);
    advance(0.5);
    EXPECT_EQ(delegateCalls().size(), 1u);
    advance(0.05);
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 0);

    // The same state again changes nothing; opening wider tells nothing.
    std::size_t animations = animation::records().size();
    sel::displayMenu(menu);
    sel::setMenuState_animated_(menu, PRWRadialMenuStateNormal, true);
    sel::setMenuState_(menu, PRWRadialMenuStateNormal);
    EXPECT_EQ(animation::records().size(), animations);
    sel::setMenuState_animated_(menu, PRWRadialMenuStateExpanded, true);
    advance(1.0);

    sel::dismissMenuAnimated_(menu, true);
    sel::dismissMenuAnimated_(menu, true);
    advance(1.0);
    sel::dismissMenuAnimated_(menu, false);
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0",
                                      "MenuDelegate radialMenuDidDisplay: state 1, running 0",
                                      "MenuDelegate radialMenuWillDismiss: state 0, running 0",
                                      "MenuDelegate radialMenuDidDismiss: state 0, running 0"}));

    // Without animation the did-calls come on the next turn of the loop.
    callLog::clear();
    sel::setMenuState_animated_(menu, PRWRadialMenuStateNormal, false);
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0"}));
    advance(0);
    EXPECT_EQ(delegateCalls().back(), "MenuDelegate radialMenuDidDisplay: state 1, running 0");
}

TEST_F(RadialMenuTest, OverlappingTransitionsReportOnlyWhenTheLastOneCompletes) {
    auto menu = menuAround(C);
    auto delegate = newObject("MenuDelegate");
    sel::setDelegate_(menu, delegate);
    callLog::clear();

    sel::displayMenu(menu);
    const int opening = animation::last()->index;
    advance(0.2);
    sel::dismissMenuAnimated_(menu, true);  // before the opening completed
    // The closing took over the opening's properties: the opening completed
    // at once, unfinished, and the closing is the one still running.
    EXPECT_TRUE(animation::records()[static_cast<std::size_t>(opening)].completed);
    EXPECT_FALSE(animation::records()[static_cast<std::size_t>(opening)].finished);
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 1);
    advance(0.5);
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 1);
    advance(0.05);
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 0);
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0",
                                      "MenuDelegate radialMenuWillDismiss: state 0, running 1",
                                      "MenuDelegate radialMenuDidDismiss: state 0, running 0"}));

    // Growing while it opens: the transition that completes last was no
    // opening, so the opening is never reported as done.
    callLog::clear();
    sel::displayMenu(menu);
    sel::setMenuState_animated_(menu, PRWRadialMenuStateExpanded, true);
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 1);
    advance(1.0);
    EXPECT_EQ(sel::activeStateTransitionCount(menu), 0);
    EXPECT_EQ(delegateCalls(), (Lines{"MenuDelegate radialMenuWillDisplay: state 1, running 0"}));
}

const animation::Record* lastSpring() {
    const auto& all = animation::records();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (it->spring && it->parent < 0) return &*it;
    return nullptr;
}

TEST_F(RadialMenuTest, StateChangesAreSpringAnimationsWithTheirParameters) {
    auto menu = menuAround(C);
    struct Case {
        long long from, to;
        double duration, damping, velocity;
    };
    const Case cases[] = {
        {0, 1, 0.52, 0.7, 0.35}, {0, 2, 0.52, 0.8, 0.35}, {1, 0, 0.52, 1.0, 0.0},
        {1, 2, 0.52, 1.0, 0.0},  {2, 1, 0.36, 1.0, 0.3},  {2, 0, 0.52, 1.0, 0.0},
    };
    Class* cls = objc_getClass("PRWRadialMenu");
    for (const auto& c : cases) {
        SCOPED_TRACE(format("%lld -> %lld", c.from, c.to));
        PRWRadialMenuAnimationParameters p = sel::menuStateAnimationParametersFromMenuState_toMenuState_(cls, c.from, c.to);
        EXPECT_DOUBLE_EQ(p.duration, c.duration);
        EXPECT_DOUBLE_EQ(p.damping, c.damping);
        EXPECT_DOUBLE_EQ(p.velocity, c.velocity);

        sel::setMenuState_(menu, c.from);
        advance(1.0);
        sel::setMenuState_animated_(menu, c.to, true);
        const animation::Record* spring = lastSpring();
        ASSERT_TRUE(spring);
        EXPECT_DOUBLE_EQ(spring->duration, c.duration);
        EXPECT_DOUBLE_EQ(spring->delay, 0.0);
        EXPECT_DOUBLE_EQ(spring->springDamping, c.damping);
        EXPECT_DOUBLE_EQ(spring->springVelocity, c.velocity);
        EXPECT_EQ(spring->options, 0u);
        // The state's own animation, nested, runs with the spring's timing.
        const animation::Record* state = animation::last();
        ASSERT_EQ(state->parent, spring->index);
        EXPECT_DOUBLE_EQ(state->duration, c.duration);
        EXPECT_TRUE(state->spring);
        EXPECT_TRUE(state->changed(sel::radialMenu(menu).get(), "bounds"));
        EXPECT_TRUE(state->changed(sel::radialMenuBackground(menu).get(), "transform"));
        EXPECT_EQ(state->changed(sel::radialMenu(menu).get(), "alpha"), c.from == 0 || c.to == 0);
        advance(1.0);
    }
    for (auto [from, to] : std::initializer_list<std::pair<long long, long long>>{{0, 0}, {1, 1}, {-1, 0}, {0, 3}, {3, 2}}) {
        SCOPED_TRACE(format("%lld -> %lld", from, to));
        PRWRadialMenuAnimationParameters p = sel::menuStateAnimationParametersFromMenuState_toMenuState_(cls, from, to);
        EXPECT_DOUBLE_EQ(p.duration, 0.0);
        EXPECT_DOUBLE_EQ(p.damping, 1.0);
        EXPECT_DOUBLE_EQ(p.velocity, 0.0);
    }
    // Without animation: the state's own zero-length animation only.
    sel::setMenuState_(menu, PRWRadialMenuStateContracted);
    sel::setMenuState_animated_(menu, PRWRadialMenuStateNormal, false);
    EXPECT_FALSE(animation::last()->spring);
    EXPECT_EQ(animation::last()->parent, -1);
    EXPECT_DOUBLE_EQ(animation::last()->duration, 0.0);
}

// --- items ------------------------------------------------------------------------------------------------------

TEST_F(RadialMenuTest, HighlightingTintsTheButtonAndTellsEveryItem) {
    auto menu = menuAround(C);
    sel::setTintColor_(menu, UIColor::rgba(1, 0, 0, 1));
    sel::setItem_forLocation_(menu, recordingItem("centre"), PRWRadialMenuLocationCenter);
    sel::setItem_forLocation_(menu, recordingItem("top"), PRWRadialMenuLocationTop);
    sel::setItem_forLocation_(menu, sel::menuItemWithRadialMenuStandardItem_handler_(itemClass(), 0, nullptr), PRWRadialMenuLocationLeft);
    callLog::clear();
    sel::highlightLocation_(menu, PRWRadialMenuLocationTop);
    for (long long l = PRWRadialMenuLocationCenter; l <= PRWRadialMenuLocationBottom; ++l) {
        SCOPED_TRACE(l);
        UIButton* b = buttonAt(menu, l);
        EXPECT_EQ(b->highlighted_, l == PRWRadialMenuLocationTop);
        auto* tint = as<UIColor>(sel::tintColor(b).get());
        EXPECT_TRUE(tint->sameComponents(l == PRWRadialMenuLocationTop ? *UIColor::rgba(1, 0, 0, 1) : *UIColor::white(1, 1)));
    }
    Lines calls = callLog::lines("highlighted");
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(calls, (Lines{"Item centre highlighted NO", "Item top highlighted YES"}));
    sel::highlightLocation_(menu, PRWRadialMenuLocationNone);
    EXPECT_EQ(highlightedLocations(menu), "none");
}

TEST_F(RadialMenuTest, PlacingOutsideTheLocationsStoresNothing) {
    auto menu = menuAround(C);
    auto other = menuAround(Point{50, 50});
    Ref<Object> loose = recordingItem("loose");
    Ref<Object> elsewhere = recordingItem("elsewhere");
    sel::setItem_forLocation_(other, elsewhere, PRWRadialMenuLocationTop);
    for (long long l : {-1LL, 5LL, 100LL}) {
        SCOPED_TRACE(l);
        sel::setItem_forLocation_(menu, loose, l);
        sel::setItem_forLocation_(menu, elsewhere, l);
        EXPECT_EQ(sel::menuItemForLocation_(menu, l).get(), nullptr);
    }
    EXPECT_EQ(sel::items(menu).count(), 1u);
    EXPECT_EQ(sel::delegate(loose).get(), nullptr);
    EXPECT_EQ(sel::delegate(elsewhere).get(), other.get());
    EXPECT_TRUE(sel::locationStringForItem_(menu, loose).isNil());
}

class RadialMenuItems : public RadialMenuTest, public ::testing::WithParamInterface<const char*> {
protected:
    RadialMenuItems() : RadialMenuTest(clockApp(GetParam())) {}
};

TEST_P(RadialMenuItems, ButtonsShowTheImagesOfTheirItemsType) {
    plantImage("PRWRadialMenuStandardItemConfirm");
    Ref<Object> icon = pngImage(20);
    Ref<Object> image = pngImage(21);
    Ref<Object> highlighted = pngImage(22);
    auto menu = menuAround(C);
    Ref<Object> pair = sel::menuItemWithImage_highlightedImage_handler_(itemClass(), image, highlighted, nullptr);
    sel::setItem_forLocation_(menu, sel::menuItemWithRadialMenuStandardItem_handler_(itemClass(), PRWRadialMenuStandardItemConfirm, nullptr),
                              PRWRadialMenuLocationTop);
    sel::setItem_forLocation_(menu, sel::menuItemWithIcon_handler_(itemClass(), icon, nullptr), PRWRadialMenuLocationLeft);
    sel::setItem_forLocation_(menu, pair, PRWRadialMenuLocationRight);
    sel::setItem_forLocation_(menu, sel::menuItemWithRadialMenuStandardItem_handler_(itemClass(), PRWRadialMenuStandardItemPause, nullptr),
                              PRWRadialMenuLocationBottom);

    auto images = [&](long long l) { return buttonAt(menu, l)->images_; };
    EXPECT_EQ(imagePath(images(PRWRadialMenuLocationTop)[UIControlStateNormal]), "PRWRadialMenuStandardItemConfirm.png");
    EXPECT_EQ(images(PRWRadialMenuLocationTop).count(UIControlStateHighlighted), 0u);
    EXPECT_EQ(images(PRWRadialMenuLocationLeft), (std::map<unsigned long long, Ref<Object>>{{UIControlStateNormal, icon}}));
    EXPECT_EQ(images(PRWRadialMenuLocationRight),
              (std::map<unsigned long long, Ref<Object>>{{UIControlStateNormal, image}, {UIControlStateHighlighted, highlighted}}));
    // Missing resources: no image.
    EXPECT_TRUE(images(PRWRadialMenuLocationBottom).empty());
    EXPECT_TRUE(images(PRWRadialMenuLocationCenter).empty());
    for (long long l = PRWRadialMenuLocationCenter; l <= PRWRadialMenuLocationBottom; ++l) EXPECT_FALSE(buttonAt(menu, l)->hidden_);

    // The item tells the menu when its images change.
    EXPECT_EQ(sel::locationStringForItem_(menu, pair), Value("PRWRadialMenuLocationRight"));
    sel::setImage_(pair, icon);
    sel::setHighlightedImage_(pair, image);
    EXPECT_EQ(images(PRWRadialMenuLocationRight),
              (std::map<unsigned long long, Ref<Object>>{{UIControlStateNormal, icon}, {UIControlStateHighlighted, image}}));

    // Removing hides the button.
    sel::setItem_forLocation_(menu, nullptr, PRWRadialMenuLocationRight);
    EXPECT_TRUE(buttonAt(menu, PRWRadialMenuLocationRight)->hidden_);
    EXPECT_EQ(sel::menuItemForLocation_(menu, PRWRadialMenuLocationRight).get(), nullptr);
    EXPECT_TRUE(sel::locationStringForItem_(menu, pair).isNil());
    EXPECT_EQ(sel::items(menu).count(), 4u);
}

TEST_P(RadialMenuItems, TheMenuWorksWithOrWithoutItsBlur) {
    auto menu = menuAround(C);
    EXPECT_EQ(static_cast<bool>(sel::radialMenuBackground(menu)), std::string(GetParam()) != "7.1");
    sel::setItem_forLocation_(menu, recordingItem("left"), PRWRadialMenuLocationLeft);
    callLog::clear();
    Ref<UITouch> t = touch::down(C);
    advance(0.5);
    touch::move(t, at(-100, 0));
    EXPECT_DOUBLE_EQ(sel::menuRadius(menu), 120);
    touch::up(t);
    EXPECT_EQ(selections(), (Lines{"Item left selected state 1"}));
}

INSTANTIATE_TEST_SUITE_P(Versions, RadialMenuItems, ::testing::Values("7.1", "9.3"),
                         [](const auto& info) { return std::string("iOS") + (info.param[0] == '7' ? "7" : "9"); });

}  // namespace
}  // namespace rousa::testing

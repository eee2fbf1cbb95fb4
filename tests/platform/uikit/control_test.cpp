#include "platform/uikit/control.h"

#include <gtest/gtest.h>

#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

class Controls : public UIKitTest {
protected:
    Controls() {
        window = makeWindow();
        button = as<UIButton>(sel::buttonWithType_(objc_getClass("RecordingButton"), UIButtonTypeCustom));
        sel::setFrame_(button, Rect(100, 100, 60, 60));
        sel::setTag_(button, 1);
        sel::addSubview_(window, button);
        target = newObject("ActionTarget");
    }

    Ref<UIWindow> window;
    Ref<UIButton> button;
    Ref<Object> target;
};

TEST_F(Controls, TouchUpInsideSendsTheActionWithItsArguments) {
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventTouchUpInside);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventTouchUpInside);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_withEvent_, UIControlEventTouchUpInside);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{130, 130});
    EXPECT_TRUE(callLog::lines("ActionTarget").empty());
    touch::up(t);
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped", "ActionTarget tapped: 1",
                                                                         "ActionTarget tapped:withEvent: 1 event"}));
}

TEST_F(Controls, TrackingHighlightsThroughTheSubclassesSetter) {
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventTouchUpInside);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{130, 130});
    EXPECT_TRUE(sel::isHighlighted(button));
    EXPECT_EQ(sel::state(button), UIControlStateHighlighted);
    touch::move(t, Point{300, 500});  // dragged outside
    EXPECT_FALSE(sel::isHighlighted(button));
    touch::move(t, Point{110, 110});  // and back in
    EXPECT_TRUE(sel::isHighlighted(button));
    touch::up(t);
    EXPECT_FALSE(sel::isHighlighted(button));
    EXPECT_EQ(callLog::lines("RecordingButton"),
              (std::vector<std::string>{"RecordingButton setHighlighted: YES", "RecordingButton setHighlighted: NO",
                                        "RecordingButton setHighlighted: YES", "RecordingButton setHighlighted: NO"}));
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 1);
}

TEST_F(Controls, ReleasingOutsideSendsTouchUpOutsideOnly) {
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventTouchUpInside);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventTouchUpOutside);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_withEvent_, UIControlEventTouchDown);
    callLog::clear();
    Ref<UITouch> t = touch::down(Point{130, 130});
    touch::move(t, Point{10, 10});
    touch::up(t);
    EXPECT_EQ(callLog::lines("ActionTarget"),
              (std::vector<std::string>{"ActionTarget tapped:withEvent: 1 event", "ActionTarget tapped: 1"}));
}

TEST_F(Controls, TargetsAreNotRetainedAndCanBeRemoved) {
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventTouchUpInside);
    EXPECT_EQ(target->retainCount(), 1);
    EXPECT_EQ(sel::allTargets(button).count(), 1u);
    EXPECT_EQ(sel::actionsForTarget_forControlEvent_(button, target, UIControlEventTouchUpInside), Value::array({Value("tapped")}));
    sel::removeTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventTouchUpInside);
    EXPECT_EQ(sel::allControlEvents(button), 0u);
    callLog::clear();
    touch::tap(button.get());
    EXPECT_EQ(callLog::count("ActionTarget", "tapped"), 0);

    sel::addTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventTouchUpInside);
    target = nullptr;  // gone: nothing is sent, nothing breaks
    touch::tap(button.get());
    EXPECT_EQ(callLog::count("ActionTarget", "tapped"), 0);
    EXPECT_EQ(sel::allTargets(button).count(), 0u);
}

TEST_F(Controls, ANilTargetGoesUpTheResponderChain) {
    // The action reaches the first responder of the chain that answers it: here the view controller.
    ClassBuilder<UIViewController>::inheritingType("TappedController", "UIViewController")
        .method(sel::tapped_, [](id, id sender) { callLog::record("TappedController", "tapped:", tagOf(sender)); });
    Ref<Object> controller = newObject("TappedController");
    sel::setRootViewController_(window, controller);
    sel::addSubview_(sel::view(controller), button);
    sel::addTarget_action_forControlEvents_(button, nullptr, sel::tapped_, UIControlEventTouchUpInside);
    touch::tap(button.get());
    EXPECT_EQ(callLog::lines("TappedController"), (std::vector<std::string>{"TappedController tapped: 1"}));
}

TEST_F(Controls, SendActionsForControlEventsAndTheirOrder) {
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventValueChanged);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventValueChanged | UIControlEventTouchDown);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventTouchDown);  // merges with the first
    callLog::clear();
    sel::sendActionsForControlEvents_(button, UIControlEventValueChanged);
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped: 1", "ActionTarget tapped"}));
    EXPECT_EQ(sel::allControlEvents(button), UIControlEventValueChanged | UIControlEventTouchDown);
}

TEST_F(Controls, ADisabledControlTakesNoTouch) {
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped, UIControlEventTouchUpInside);
    sel::setEnabled_(button, false);
    EXPECT_EQ(sel::state(button), UIControlStateDisabled);
    callLog::clear();
    EXPECT_EQ(tagOf(touch::tap(button.get())), "0");  // the window itself
    EXPECT_EQ(callLog::count("ActionTarget", "tapped"), 0);
    EXPECT_EQ(callLog::count("RecordingButton", "setHighlighted:"), 0);
}

TEST_F(Controls, ButtonTitlesAndColoursPerState) {
    EXPECT_FALSE(sel::currentTitle(button));
    sel::setTitle_forState_(button, Value("Snooze"), UIControlStateNormal);
    sel::setTitle_forState_(button, Value("Pressed"), UIControlStateHighlighted);
    sel::setTitleColor_forState_(button, UIColor::white(0, 1), UIControlStateHighlighted);
    EXPECT_EQ(sel::titleForState_(button, UIControlStateSelected), Value("Snooze"));  // falls back to normal
    EXPECT_EQ(sel::currentTitle(button), Value("Snooze"));
    EXPECT_EQ(sel::text(sel::titleLabel(button)), Value("Snooze"));
    EXPECT_EQ(Value(sel::titleColorForState_(button, UIControlStateNormal)), Value(UIColor::white(1, 1)));
    EXPECT_EQ(sel::superview(sel::titleLabel(button)).get(), button.get());

    sel::setHighlighted_(button, true);
    EXPECT_EQ(sel::currentTitle(button), Value("Pressed"));
    EXPECT_EQ(sel::text(sel::titleLabel(button)), Value("Pressed"));
    EXPECT_EQ(Value(sel::textColor(sel::titleLabel(button))), Value(UIColor::white(0, 1)));
    sel::setHighlighted_(button, false);
    sel::setTitle_forState_(button, Value(), UIControlStateHighlighted);
    sel::setHighlighted_(button, true);
    EXPECT_EQ(sel::currentTitle(button), Value("Snooze"));

    // A system button's title takes the tint.
    auto system = UIButton::buttonWithType(UIButtonTypeSystem);
    EXPECT_EQ(sel::buttonType(system), UIButtonTypeSystem);
    sel::setTintColor_(system, UIColor::rgba(1, 0, 0, 1));
    EXPECT_EQ(Value(sel::currentTitleColor(system)), Value(UIColor::rgba(1, 0, 0, 1)));
}

TEST_F(Controls, ButtonWithTypeOnASubclassRunsItsInitWithFrame) {
    ClassBuilder<UIButton>::inheritingType("ClearButton", "UIButton").method(sel::initWithFrame_, [](id self, Rect f) {
        Ref<Object> base = sel::initWithFrame_.super(objc_getClass("ClearButton"), self, f);
        callLog::record("ClearButton", "initWithFrame:");
        sel::setBackgroundColor_(base, UIColor::white(0, 0));
        return base;
    });
    Ref<Object> b = sel::buttonWithType_(objc_getClass("ClearButton"), UIButtonTypeCustom);
    EXPECT_EQ(b->isa()->name(), "ClearButton");
    EXPECT_EQ(callLog::count("ClearButton", "initWithFrame:"), 1);
    EXPECT_EQ(Value(sel::backgroundColor(b)), Value(UIColor::white(0, 0)));
}

TEST_F(Controls, PressingAButtonByItsTitle) {
    sel::setTitle_forState_(button, Value("Dismiss"), UIControlStateNormal);
    sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventTouchUpInside);
    callLog::clear();
    EXPECT_TRUE(touch::pressButton("Dismiss"));
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 1);
    EXPECT_FALSE(touch::pressButton("Snooze"));

    // Covered: the tap lands on the cover, the button is not pressed.
    auto cover = makeView(Rect(0, 0, 320, 568), window, 9);
    EXPECT_FALSE(touch::pressButton("Dismiss"));
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 1);
    sel::removeFromSuperview(cover);
    // Hidden buttons are not found.
    sel::setHidden_(button, true);
    EXPECT_FALSE(touch::pressButton("Dismiss"));
    // A hidden window's buttons neither.
    sel::setHidden_(button, false);
    sel::setHidden_(window, true);
    EXPECT_FALSE(touch::pressButton("Dismiss"));
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 1);
}

}  // namespace
}  // namespace platform::uitest

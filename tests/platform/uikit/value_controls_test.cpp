#include "platform/uikit/value_controls.h"

#include <gtest/gtest.h>

#include "platform/uikit/navigation.h"
#include "platform/uikit/text_field.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

using ValueControls = UIKitTest;

TEST_F(ValueControls, ASwitchHasItsOwnSizeAndATapFlipsItAndSendsValueChanged) {
    auto window = makeWindow();
    Ref<Object> target = newObject("ActionTarget");
    auto toggle = UIView::make("UISwitch", Rect(100, 100, 200, 200));
    sel::setTag_(toggle, 7);
    sel::addSubview_(window, toggle);
    EXPECT_EQ(sel::frame(toggle), Rect(100, 100, 51, 31));
    EXPECT_EQ(sel::sizeThatFits_(toggle, Size{}), (Size{51, 31}));
    sel::addTarget_action_forControlEvents_(toggle, target, sel::tapped_, UIControlEventValueChanged);

    callLog::clear();
    sel::setOn_(toggle, true);  // from code: no action
    EXPECT_TRUE(sel::isOn(toggle));
    EXPECT_TRUE(callLog::lines("ActionTarget").empty());

    touch::up(touch::down(Point{120, 110}));
    EXPECT_FALSE(sel::isOn(toggle));
    Ref<UITouch> outside = touch::down(Point{120, 110});
    touch::move(outside, Point{300, 400});
    touch::up(outside);  // released elsewhere: unchanged
    EXPECT_FALSE(sel::isOn(toggle));
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped: 7"}));
}

TEST_F(ValueControls, ASliderKeepsItsValueWithinItsBounds) {
    struct Step {
        const char* what;
        std::function<void(id)> apply;
        float value, minimum, maximum;
    };
    Ref<Object> slider = newObject("UISlider");
    const Step steps[] = {
        {"fresh", [](id) {}, 0, 0, 1},
        {"value above the maximum", [](id s) { sel::setValue_(s, 3); }, 1, 0, 1},
        {"value below the minimum", [](id s) { sel::setValue_(s, -1); }, 0, 0, 1},
        {"a minimum above the value raises it", [](id s) { sel::setMinimumValue_(s, 0.25f); }, 0.25f, 0.25f, 1},
        {"value", [](id s) { sel::setValue_animated_(s, 0.5f, true); }, 0.5f, 0.25f, 1},
        {"a maximum below the value lowers it", [](id s) { sel::setMaximumValue_(s, 0.4f); }, 0.4f, 0.25f, 0.4f},
        {"a minimum above the maximum moves both", [](id s) { sel::setMinimumValue_(s, 0.6f); }, 0.6f, 0.6f, 0.6f},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.apply(slider);
        EXPECT_FLOAT_EQ(sel::value(slider), step.value);
        EXPECT_FLOAT_EQ(sel::minimumValue(slider), step.minimum);
        EXPECT_FLOAT_EQ(sel::maximumValue(slider), step.maximum);
    }
}

TEST_F(ValueControls, ADatePickerKeepsADurationWithinADay) {
    Ref<Object> picker = newObject("UIDatePicker");
    sel::setDatePickerMode_(picker, UIDatePickerModeTime);
    EXPECT_EQ(sel::datePickerMode(picker), UIDatePickerModeTime);
    sel::setCountDownDuration_(picker, 7 * 3600 + 30 * 60);
    EXPECT_EQ(sel::countDownDuration(picker), 27000);
    sel::setCountDownDuration_(picker, 90000);
    EXPECT_EQ(sel::countDownDuration(picker), 86340);
    sel::setCountDownDuration_(picker, -5);
    EXPECT_EQ(sel::countDownDuration(picker), 0);
}

TEST_F(ValueControls, ATextFieldAnswersAnEmptyStringAndKeepsItsDelegateWeakly) {
    Ref<Object> field = newObject("UITextField");
    EXPECT_EQ(sel::text(field), Value(""));
    sel::setText_(field, Value("12"));
    EXPECT_EQ(sel::text(field), Value("12"));
    sel::setKeyboardType_(field, UIKeyboardTypeNumberPad);
    EXPECT_EQ(sel::keyboardType(field), UIKeyboardTypeNumberPad);
    {
        Ref<Object> delegate = newObject("ActionTarget");
        sel::setDelegate_(field, delegate);
        EXPECT_EQ(sel::delegate(field).get(), delegate.get());
    }
    EXPECT_FALSE(sel::delegate(field));
}

TEST_F(ValueControls, ANavigationBarTakesTheAppearanceTintUnlessItHasItsOwn) {
    Class* bars = objc_getClass("UINavigationBar");
    Ref<Object> proxy = sel::appearance(bars);
    EXPECT_EQ(proxy.get(), sel::appearance(bars).get());
    EXPECT_FALSE(sel::tintColor(proxy));
    auto bar = UIView::make("UINavigationBar", Rect(0, 0, 320, 44));
    EXPECT_TRUE(as<UIColor>(sel::tintColor(bar).get())->sameComponents(*systemTintColor()));

    Ref<UIColor> red = UIColor::rgba(1, 0, 0, 1);
    sel::setTintColor_(proxy, red);
    EXPECT_EQ(sel::tintColor(bar).get(), red.get());
    Ref<UIColor> green = UIColor::rgba(0, 1, 0, 1);
    sel::setTintColor_(bar, green);
    EXPECT_EQ(sel::tintColor(bar).get(), green.get());
    sel::setTintColor_(proxy, nullptr);
    EXPECT_FALSE(sel::tintColor(proxy));
}

TEST_F(ValueControls, ABarButtonItemSendsItsActionToItsTargetWhileEnabled) {
    Ref<Object> target = newObject("ActionTarget");
    auto done = as<UIBarButtonItem>(
        sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemDone, target, sel::tapped));
    EXPECT_EQ(sel::target(done).get(), target.get());
    EXPECT_EQ(std::string(sel::action(done).name), "tapped");
    callLog::clear();
    done->press();
    sel::setEnabled_(done, false);
    done->press();
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped"}));

    Ref<Object> controller = newObject("UIViewController");
    sel::setTitle_(controller, Value("Edit"));
    Ref<Object> item = sel::navigationItem(controller);
    EXPECT_EQ(item.get(), sel::navigationItem(controller).get());
    EXPECT_EQ(sel::title(item), Value("Edit"));
    sel::setRightBarButtonItem_(item, done);
    EXPECT_EQ(sel::rightBarButtonItem(item).get(), done.get());
}

}  // namespace
}  // namespace platform::uitest

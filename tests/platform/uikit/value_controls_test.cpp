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

// A slider 231 points wide (a 200-point run for the thumb's middle) from 0 to
// 10 at 5, on a visible window, that reports value-changed.
class SliderDrag : public UIKitTest {
protected:
    SliderDrag() {
        window = makeWindow();
        target = newObject("ActionTarget");
        slider = UIView::make<UISlider>("UISlider", Rect(40, 200, 231, 40));
        sel::setTag_(slider, 3);
        sel::setMaximumValue_(slider, 10);
        sel::setValue_(slider, 5);
        sel::addSubview_(window, slider);
        sel::addTarget_action_forControlEvents_(slider, target, sel::tapped_, UIControlEventValueChanged);
        callLog::clear();
    }
    // The screen point at the thumb's middle when the slider shows `value`.
    Point at(float value) { return slider->toScreen(slider->pointForValue(value)); }
    int changes() { return callLog::count("ActionTarget", "tapped:"); }

    Ref<UIWindow> window;
    Ref<Object> target;
    Ref<UISlider> slider;
};

TEST_F(SliderDrag, TheThumbSitsAlongTheTrackByValue) {
    EXPECT_EQ(slider->thumbRect(), Rect(100, 4.5, 31, 31));
    sel::setValue_(slider, 0);
    EXPECT_EQ(slider->thumbRect(), Rect(0, 4.5, 31, 31));
    EXPECT_EQ(at(0), (Point{40 + 15.5, 220}));
    sel::setValue_(slider, 10);
    EXPECT_EQ(slider->thumbRect(), Rect(200, 4.5, 31, 31));
    EXPECT_EQ(at(10), (Point{40 + 215.5, 220}));
    for (float v : {0.f, 2.5f, 7.f, 10.f}) EXPECT_FLOAT_EQ(slider->valueAt(slider->pointForValue(v).x), v) << v;
}

TEST_F(SliderDrag, OnlyATouchThatBeginsOnTheThumbMovesIt) {
    struct Case {
        const char* what;
        Point down;
        std::vector<Point> moves;  // then the lift, where the last move left the finger
        float want;
        int changes;
    };
    const Point thumb{40 + 115.5, 220};
    const Case cases[] = {
        {"dragged from its middle", thumb, {Point{40 + 135.5, 220}, Point{40 + 175.5, 220}}, 8, 2},
        {"dragged from its edge, the value follows the finger", Point{40 + 101, 210}, {Point{40 + 55.5, 230}}, 2, 1},
        {"dragged there and back", thumb, {Point{40 + 135.5, 220}, Point{40 + 35.5, 220}}, 1, 2},
        {"dragged past the end, it stops at the maximum", thumb, {Point{300, 220}, Point{400, 260}}, 10, 1},
        {"dragged below the start, it stops at the minimum", thumb, {Point{0, 220}}, 0, 1},
        {"touched and lifted in place", thumb, {}, 5, 0},
        {"a move that lands on the same value", thumb, {Point{40 + 115.5, 235}}, 5, 0},
        {"touched on the track beside the thumb", Point{40 + 30, 220}, {Point{40 + 195.5, 220}}, 5, 0},
        {"touched on the track, the finger slid onto the thumb", Point{40 + 60, 220}, {thumb, Point{40 + 175.5, 220}}, 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sel::setValue_(slider, 5);
        callLog::clear();
        Ref<UITouch> finger = touch::down(c.down);
        ASSERT_EQ(finger->view_.get(), slider.get());
        for (Point p : c.moves) touch::move(finger, p);
        touch::up(finger);
        EXPECT_FLOAT_EQ(sel::value(slider), c.want);
        EXPECT_EQ(changes(), c.changes);
    }
}

TEST_F(SliderDrag, EachChangeIsReportedWithTheValueAlreadySet) {
    static std::vector<float> seen;
    ClassBuilder<NSObject>::inheritingType("SliderWatcher", "NSObject").method(sel::tapped_, [](id, id s) { seen.push_back(sel::value(s)); });
    Ref<Object> watcher = newObject("SliderWatcher");
    sel::addTarget_action_forControlEvents_(slider, watcher, sel::tapped_, UIControlEventValueChanged);
    Ref<UITouch> finger = touch::down(at(5));
    touch::move(finger, at(6));
    touch::move(finger, at(9));
    touch::up(finger);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen[0], 6);
    EXPECT_FLOAT_EQ(seen[1], 9);
}

TEST_F(SliderDrag, ADisabledSliderTakesNoDrag) {
    sel::setEnabled_(slider, false);
    Ref<UITouch> finger = touch::down(at(5));
    EXPECT_NE(finger->view_.get(), slider.get());
    touch::move(finger, at(9));
    touch::up(finger);
    EXPECT_FLOAT_EQ(sel::value(slider), 5);
    EXPECT_EQ(changes(), 0);
}

TEST_F(ValueControls, ASpinOfATimePickerShowsTheTimeAndSendsValueChanged) {
    auto window = makeWindow();
    Ref<Object> target = newObject("ActionTarget");
    auto picker = UIView::make<UIDatePicker>("UIDatePicker", Rect(0, 0, 320, 216));
    sel::setTag_(picker, 4);
    sel::addSubview_(window, picker);
    sel::addTarget_action_forControlEvents_(picker, target, sel::tapped_, UIControlEventValueChanged);
    struct Case {
        double seconds, want;
    };
    for (const Case& c : {Case{6 * 3600 + 45 * 60, 6 * 3600 + 45 * 60}, Case{90000, 86340}, Case{-60, 0}}) {
        SCOPED_TRACE(c.seconds);
        callLog::clear();
        uikit::spin(picker, c.seconds);
        EXPECT_EQ(sel::countDownDuration(picker), c.want);
        EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped: 4"}));
    }
    uikit::spin(nullptr, 60);  // no picker: nothing happens
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/segmented_control.h"

#include <gtest/gtest.h>

#include "platform/uikit/activity_indicator.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/toolbar.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

class SegmentedControl : public UIKitTest {};

TEST_F(SegmentedControl, ATapOnAnotherSegmentSelectsItAndSendsValueChanged) {
    auto window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    sel::setHidden_(window, false);
    Ref<Object> control = sel::initWithItems_(alloc("UISegmentedControl"), Value::array({Value("minutes"), Value("hours")}));
    EXPECT_EQ(sel::frame(control), Rect(0, 0, 120, 29));
    EXPECT_EQ(sel::selectedSegmentIndex(control), -1);
    sel::setFrame_(control, Rect(10, 100, 200, 32));
    sel::addSubview_(window, control);
    Ref<Object> target = newObject("ActionTarget");
    sel::addTarget_action_forControlEvents_(control, target, sel::tapped_, UIControlEventValueChanged);
    // From code: no action.
    sel::setSelectedSegmentIndex_(control, 0);
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 0);
    touch::tap(Point{160, 116});
    EXPECT_EQ(sel::selectedSegmentIndex(control), 1);
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 1);
    touch::tap(Point{160, 116});  // the selected one again: nothing
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 1);
    touch::tap(Point{20, 116});
    EXPECT_EQ(sel::selectedSegmentIndex(control), 0);
    EXPECT_EQ(callLog::count("ActionTarget", "tapped:"), 2);
    EXPECT_EQ(sel::numberOfSegments(control), 2u);
    EXPECT_EQ(sel::titleForSegmentAtIndex_(control, 1), Value("hours"));
    EXPECT_TRUE(sel::titleForSegmentAtIndex_(control, 2).isNil());
    sel::setSelectedSegmentIndex_(control, 5);
    EXPECT_EQ(sel::selectedSegmentIndex(control), -1);
}

TEST_F(SegmentedControl, ToolbarsSpinnersAndBarItemsKeepWhatTheyAreGiven) {
    Ref<Object> image = sel::imageWithData_(objc_getClass("UIImage"), Value());
    Ref<Object> item = sel::initWithImage_style_target_action_(alloc("UIBarButtonItem"), image, UIBarButtonItemStylePlain, nullptr, sel_registerName("go"));
    Ref<Object> space = sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemFlexibleSpace, nullptr, SEL{});
    Ref<Object> toolbar = sel::initWithFrame_(alloc("UIToolbar"), Rect(0, 469, 320, 50));
    sel::setItems_(toolbar, Value::array({Value(item), Value(space)}));
    EXPECT_EQ(sel::items(toolbar).count(), 2u);
    EXPECT_EQ(sel::action(item).name, "go");

    Ref<Object> navigation = sel::initWithTitle_(alloc("UINavigationItem"), Value("List"));
    sel::setRightBarButtonItems_(navigation, Value::array({Value(space), Value(item)}));
    EXPECT_EQ(sel::rightBarButtonItem(navigation).get(), space.get());
    sel::setRightBarButtonItem_(navigation, item);
    EXPECT_EQ(sel::rightBarButtonItems(navigation).count(), 1u);

    Ref<Object> large = sel::initWithActivityIndicatorStyle_(alloc("UIActivityIndicatorView"), UIActivityIndicatorViewStyleWhiteLarge);
    EXPECT_EQ(sel::frame(large).size, (Size{37, 37}));
    EXPECT_FALSE(sel::isAnimating(large));
    sel::startAnimating(large);
    EXPECT_TRUE(sel::isAnimating(large));
    sel::stopAnimating(large);
    EXPECT_FALSE(sel::isAnimating(large));
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/toolbar.h"

#include <gtest/gtest.h>

#include "platform/uikit/image.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

// A toolbar along the bottom of a visible window.
class Toolbar : public UIKitTest {
protected:
    Toolbar() {
        target = newObject("ActionTarget");
        window = makeWindow();
        toolbar = UIView::make("UIToolbar", Rect(0, 524, 320, 44));
        sel::addSubview_(window, toolbar);
    }
    Ref<Object> titled(const char* title) {
        return sel::initWithTitle_style_target_action_(alloc("UIBarButtonItem"), Value(title), UIBarButtonItemStylePlain, target, sel::tapped);
    }
    static Ref<Object> space(long long kind) { return sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), kind, nullptr, SEL{}); }
    void show(std::initializer_list<Ref<Object>> items) {
        Value::Array list;
        for (const auto& i : items) list.emplace_back(i);
        sel::setItems_(toolbar, Value(std::move(list)));
        advance(0);
    }
    Rect frameOf(std::string_view text) {
        UIView* v = shownView(toolbar, text);
        EXPECT_TRUE(v) << "the toolbar shows no " << text;
        return v ? sel::frame(v) : Rect();
    }

    Ref<Object> target;
    Ref<UIWindow> window;
    Ref<UIView> toolbar;
};

constexpr double kMargin = UIToolbar::kMargin;

TEST_F(Toolbar, FlexibleSpacesShareTheRoomTheButtonsLeave) {
    Ref<Object> flexible = space(UIBarButtonSystemItemFlexibleSpace);
    show({titled("Left"), flexible, titled("Right")});
    EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"Left", "Right"}));
    EXPECT_EQ(frameOf("Left").x(), kMargin);
    EXPECT_EQ(frameOf("Right").maxX(), 320 - kMargin);

    // Two spaces take equal shares: the middle button stands between them.
    show({titled("Left"), space(UIBarButtonSystemItemFlexibleSpace), titled("Middle"), space(UIBarButtonSystemItemFlexibleSpace), titled("Right")});
    Rect left = frameOf("Left"), middle = frameOf("Middle"), right = frameOf("Right");
    EXPECT_EQ(left.x(), kMargin);
    EXPECT_DOUBLE_EQ(middle.x() - left.maxX(), right.x() - middle.maxX());
    EXPECT_DOUBLE_EQ(right.maxX(), 320 - kMargin);
    for (const Rect& r : {left, middle, right}) {
        EXPECT_EQ(r.y(), 0);
        EXPECT_EQ(r.height(), 44);
    }

    // A space first pushes everything to the right edge.
    show({space(UIBarButtonSystemItemFlexibleSpace), titled("Only")});
    EXPECT_DOUBLE_EQ(frameOf("Only").maxX(), 320 - kMargin);
}

TEST_F(Toolbar, WithoutFlexibleSpacesButtonsStandAMarginApartAndFixedSpacesTakeNoRoom) {
    struct Case {
        const char* what;
        bool fixedBetween;
    };
    for (const Case& c : {Case{"side by side", false}, Case{"a fixed space between", true}}) {
        SCOPED_TRACE(c.what);
        if (c.fixedBetween) show({titled("One"), space(UIBarButtonSystemItemFixedSpace), titled("Two")});
        else show({titled("One"), titled("Two")});
        EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"One", "Two"}));
        EXPECT_EQ(frameOf("One").x(), kMargin);
        EXPECT_EQ(frameOf("Two").x(), frameOf("One").maxX() + kMargin);
    }
}

TEST_F(Toolbar, ATapOnAButtonPressesItsItemWhileItIsEnabled) {
    Ref<Object> go = titled("Go");
    show({go, space(UIBarButtonSystemItemFlexibleSpace), titled("Stop")});
    callLog::clear();
    EXPECT_TRUE(touch::pressButton("Go"));
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped"}));

    sel::setEnabled_(go, false);
    advance(0);
    EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"Go (disabled)", "Stop"}));
    callLog::clear();
    EXPECT_FALSE(touch::pressButton("Go"));
    EXPECT_TRUE(callLog::lines("ActionTarget").empty());
}

TEST_F(Toolbar, AnImageItemShowsItsImageOnAButtonAsWideAsTheImageAndItsPadding) {
    Ref<UIImage> image = as<UIImage>(newObject("UIImage"));
    image->size_ = Size{22, 22};
    Ref<Object> item = sel::initWithImage_style_target_action_(alloc("UIBarButtonItem"), image, UIBarButtonItemStylePlain, target, sel::tapped);
    show({item});
    auto views = shownViews(toolbar);
    ASSERT_EQ(views.size(), 1u);
    auto* button = as<UIButton>(views[0]);
    ASSERT_TRUE(button);
    EXPECT_EQ(sel::currentImage(button).get(), image.get());
    EXPECT_EQ(sel::frame(button), Rect(kMargin, 0, 22 + 16, 44));
    callLog::clear();
    EXPECT_EQ(touch::tap(button).get(), button);
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped"}));
}

TEST_F(Toolbar, ItemsAndTheirChangesShowOnTheNextLayoutPass) {
    Ref<Object> item = titled("First");
    show({item});
    sel::setTitle_(item, Value("Renamed"));
    EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"First"}));
    advance(0);
    EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"Renamed"}));

    sel::setItems_animated_(toolbar, Value::array({Value(titled("A")), Value(space(UIBarButtonSystemItemFlexibleSpace)), Value(titled("B"))}), true);
    EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"Renamed"}));
    advance(0);
    EXPECT_EQ(shownIn(toolbar), (std::vector<std::string>{"A", "B"}));

    // A wider bar places them again.
    sel::setFrame_(toolbar, Rect(0, 276, 568, 44));
    advance(0);
    EXPECT_EQ(frameOf("B").maxX(), 568 - kMargin);

    sel::setItems_(toolbar, Value());
    advance(0);
    EXPECT_TRUE(shownIn(toolbar).empty());
}

TEST_F(Toolbar, CustomViewsWidthsAndAccessibility) {
    auto spinner = UIView::make("UIView", Rect(0, 0, 20, 20));
    sel::setTag_(spinner, 7);
    Ref<Object> custom = sel::initWithCustomView_(alloc("UIBarButtonItem"), spinner);
    EXPECT_EQ(sel::customView(custom).get(), spinner.get());
    Ref<Object> refresh = sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemRefresh, target, sel::tapped);
    sel::setWidth_(refresh, 27);
    EXPECT_EQ(sel::width(refresh), 27);
    EXPECT_EQ(sel::width(custom), 0);
    sel::setAccessibilityLabel_(refresh, Value("Reload"));
    sel::setIsAccessibilityElement_(refresh, true);
    EXPECT_EQ(sel::accessibilityLabel(refresh), Value("Reload"));
    EXPECT_TRUE(sel::isAccessibilityElement(refresh));
    show({custom, space(UIBarButtonSystemItemFlexibleSpace), refresh});
    // The custom view itself stands in the bar; the refresh item is as wide as it was told.
    EXPECT_EQ(sel::superview(spinner).get(), toolbar.get());
    EXPECT_EQ(sel::frame(spinner).x(), kMargin);
    EXPECT_EQ(sel::frame(spinner).width(), 20);
    std::vector<UIView*> views = shownViews(toolbar);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(sel::frame(views[1]).width(), 27);
    EXPECT_EQ(sel::frame(views[1]).maxX(), 320 - kMargin);
}

}  // namespace
}  // namespace platform::uitest

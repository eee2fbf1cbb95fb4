#include "platform/uikit/view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/uikit/layer.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

using View = UIKitTest;

void expectRect(Rect got, Rect want) {
    EXPECT_NEAR(got.x(), want.x(), 1e-9);
    EXPECT_NEAR(got.y(), want.y(), 1e-9);
    EXPECT_NEAR(got.width(), want.width(), 1e-9);
    EXPECT_NEAR(got.height(), want.height(), 1e-9);
}

// --- geometry -------------------------------------------------------------------------

TEST_F(View, FrameIsDerivedFromCenterBoundsAndTransform) {
    auto v = makeView(Rect(10, 20, 100, 50));
    EXPECT_EQ(sel::center(v), (Point{60, 45}));
    EXPECT_EQ(sel::bounds(v), Rect(0, 0, 100, 50));

    // setFrame: keeps the bounds origin.
    sel::setBounds_(v, Rect(5, 5, 100, 50));
    sel::setFrame_(v, Rect(0, 0, 40, 30));
    EXPECT_EQ(sel::bounds(v), Rect(5, 5, 40, 30));
    EXPECT_EQ(sel::center(v), (Point{20, 15}));

    // A scale around the centre: the frame grows, the bounds stay.
    sel::setTransform_(v, AffineTransform::makeScale(2, 3));
    expectRect(sel::frame(v), Rect(-20, -30, 80, 90));
    EXPECT_EQ(sel::bounds(v), Rect(5, 5, 40, 30));

    // A quarter turn: setting the frame gives bounds of the turned size.
    sel::setTransform_(v, AffineTransform::makeRotation(M_PI / 2));
    sel::setFrame_(v, Rect(0, 0, 568, 320));
    expectRect(sel::bounds(v), Rect(5, 5, 320, 568));
    expectRect(sel::frame(v), Rect(0, 0, 568, 320));
}

TEST_F(View, TransformTravelsThroughKeyValueCoding) {
    auto v = makeView(Rect(0, 0, 10, 10));
    setValueForKey(v, ValueConv<AffineTransform>::to(AffineTransform::makeScale(0.5, 0.25)), "transform");
    EXPECT_EQ(sel::transform(v), AffineTransform::makeScale(0.5, 0.25));
    EXPECT_EQ(ValueConv<AffineTransform>::from(valueForKey(v, "transform")), AffineTransform::makeScale(0.5, 0.25));
    EXPECT_EQ(valueForKey(v, "frame").rect(), sel::frame(v));
    EXPECT_EQ(valueForKey(v, "hidden").boolValue(true), false);
}

TEST(AffineTransform, ConcatInvertAndApply) {
    auto t = AffineTransform::makeScale(2, 3).concat(AffineTransform::makeTranslation(10, 20));
    EXPECT_EQ(t.apply(Point{1, 1}), (Point{12, 23}));
    Point back = t.inverted().apply(t.apply(Point{-4, 7}));
    EXPECT_NEAR(back.x, -4, 1e-12);
    EXPECT_NEAR(back.y, 7, 1e-12);
    // CGAffineTransformScale(t, ...) scales first, then applies t.
    EXPECT_EQ(AffineTransform::makeTranslation(10, 0).scaled(2, 2).apply(Point{1, 0}), (Point{12, 0}));
    Point turned = AffineTransform::makeRotation(M_PI / 2).apply(Point{1, 0});
    EXPECT_NEAR(turned.x, 0, 1e-12);
    EXPECT_NEAR(turned.y, 1, 1e-12);
    EXPECT_FALSE(AffineTransform::makeScale(0, 1).isInvertible());
    EXPECT_TRUE(AffineTransform::makeScale(1, 1).apply(Rect::null()).isNull());
    EXPECT_EQ(ValueConv<AffineTransform>::from(Value("junk")), AffineTransform::identity());
}

// --- autoresizing ------------------------------------------------------------------------

struct MaskCase {
    const char* name;
    unsigned long long mask;
    Rect want;  // the subview (10, 20, 30, 40) after its 100 x 100 superview became 200 x 150
};

TEST_F(View, AutoresizingFollowsUIKitRules) {
    constexpr auto L = UIViewAutoresizingFlexibleLeftMargin, W = UIViewAutoresizingFlexibleWidth,
                   R = UIViewAutoresizingFlexibleRightMargin, T = UIViewAutoresizingFlexibleTopMargin,
                   H = UIViewAutoresizingFlexibleHeight, B = UIViewAutoresizingFlexibleBottomMargin;
    // Margins: left 10, right 60 (of 100 wide); top 20, bottom 40 (of 100 high).
    const MaskCase cases[] = {
        {"none", UIViewAutoresizingNone, Rect(10, 20, 30, 40)},
        {"left", L, Rect(110, 20, 30, 40)},
        {"width", W, Rect(10, 20, 130, 40)},
        {"right", R, Rect(10, 20, 30, 40)},
        {"top", T, Rect(10, 70, 30, 40)},
        {"height", H, Rect(10, 20, 30, 90)},
        {"bottom", B, Rect(10, 20, 30, 40)},
        {"left+right share by margin", L | R, Rect(10 + 100.0 * 10 / 70, 20, 30, 40)},
        {"left+width", L | W, Rect(35, 20, 105, 40)},
        {"left+width+right", L | W | R, Rect(20, 20, 60, 40)},
        {"width+height", W | H, Rect(10, 20, 130, 90)},
        {"top+bottom", T | B, Rect(10, 20 + 50.0 * 20 / 60, 30, 40)},
        {"height+bottom", H | B, Rect(10, 20, 30, 65)},
        {"all margins", L | R | T | B, Rect(10 + 100.0 * 10 / 70, 20 + 50.0 * 20 / 60, 30, 40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto parent = makeView(Rect(0, 0, 100, 100));
        auto child = makeView(Rect(10, 20, 30, 40), parent);
        sel::setAutoresizingMask_(child, c.mask);
        sel::setFrame_(parent, Rect(0, 0, 200, 150));
        expectRect(sel::frame(child), c.want);
        // Back to the old size gives the old frame.
        sel::setFrame_(parent, Rect(0, 0, 100, 100));
        expectRect(sel::frame(child), Rect(10, 20, 30, 40));
    }
}

TEST_F(View, AutoresizingNeedsASizeChangeAndAutoresizesSubviews) {
    auto parent = makeView(Rect(0, 0, 100, 100));
    auto child = makeView(Rect(10, 20, 30, 40), parent);
    sel::setAutoresizingMask_(child, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleLeftMargin);
    sel::setFrame_(parent, Rect(50, 50, 100, 100));  // moved, same size
    EXPECT_EQ(sel::frame(child), Rect(10, 20, 30, 40));
    sel::setBounds_(parent, Rect(0, 0, 140, 100));  // setBounds: resizes too
    EXPECT_EQ(sel::frame(child), Rect(20, 20, 60, 40));
    sel::setAutoresizesSubviews_(parent, false);
    sel::setBounds_(parent, Rect(0, 0, 300, 100));
    EXPECT_EQ(sel::frame(child), Rect(20, 20, 60, 40));
}

TEST_F(View, FlexibleMarginsOfZeroShareEqually) {
    auto parent = makeView(Rect(0, 0, 100, 100));
    auto child = makeView(Rect(0, 0, 100, 100), parent);
    sel::setAutoresizingMask_(child, UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin);
    sel::setFrame_(parent, Rect(0, 0, 200, 100));
    EXPECT_EQ(sel::frame(child), Rect(50, 0, 100, 100));
}

// --- hierarchy ------------------------------------------------------------------------------

TEST_F(View, AddSubviewMovesTheViewFromItsOldParent) {
    auto a = makeView(Rect(0, 0, 10, 10), nullptr, 1);
    auto b = makeView(Rect(0, 0, 10, 10), nullptr, 2);
    auto child = makeView(Rect(0, 0, 5, 5), a, 3);
    sel::addSubview_(b, child);
    EXPECT_EQ(sel::subviews(a).count(), 0u);
    ASSERT_EQ(sel::subviews(b).count(), 1u);
    EXPECT_EQ(sel::subviews(b).at(0).object(), child.get());
    EXPECT_EQ(sel::superview(child).get(), b.get());
    EXPECT_THROW(sel::addSubview_(child, child), NSException);
    EXPECT_THROW(sel::addSubview_(child, b), NSException);
}

TEST_F(View, SubviewOrderOperations) {
    auto parent = makeView(Rect(0, 0, 100, 100));
    auto one = makeView(Rect(), parent, 1);
    auto two = makeView(Rect(), parent, 2);
    auto three = makeView(Rect(), parent, 3);
    auto order = [&] {
        std::string out;
        Value subviews = sel::subviews(parent);
        for (const auto& v : subviews.array()) out += tagOf(v.object());
        return out;
    };
    EXPECT_EQ(order(), "123");
    sel::bringSubviewToFront_(parent, one);
    EXPECT_EQ(order(), "231");
    sel::sendSubviewToBack_(parent, three);
    EXPECT_EQ(order(), "321");
    sel::insertSubview_belowSubview_(parent, three, one);
    EXPECT_EQ(order(), "231");
    sel::insertSubview_aboveSubview_(parent, two, one);
    EXPECT_EQ(order(), "312");
    auto four = makeView(Rect(), nullptr, 4);
    sel::insertSubview_belowSubview_(parent, four, two);
    EXPECT_EQ(order(), "3142");
    auto five = makeView(Rect(), nullptr, 5);
    sel::insertSubview_atIndex_(parent, five, 99);
    EXPECT_EQ(order(), "31425");
    sel::insertSubview_atIndex_(parent, five, 0);
    EXPECT_EQ(order(), "53142");
    sel::removeFromSuperview(four);
    EXPECT_EQ(order(), "5312");
    EXPECT_FALSE(sel::superview(four));
}

TEST_F(View, ViewWithTagSearchesTheViewAndItsDescendants) {
    auto root = makeView(Rect(), nullptr, 1);
    auto mid = makeView(Rect(), root, 2);
    auto leaf = makeView(Rect(), mid, 7);
    EXPECT_EQ(sel::viewWithTag_(root, 1).get(), root.get());
    EXPECT_EQ(sel::viewWithTag_(root, 7).get(), leaf.get());
    EXPECT_FALSE(sel::viewWithTag_(mid, 1));
}

TEST_F(View, WindowMovesAreAnnouncedOnlyWhenTheWindowChanges) {
    auto w1 = makeWindow();
    auto w2 = makeWindow();
    auto holder = makeView(Rect(0, 0, 10, 10), w1, 9);
    auto v = makeView(Rect(0, 0, 10, 10), nullptr, 5, "RecordingView");
    auto inner = makeView(Rect(0, 0, 1, 1), v, 6, "RecordingView");
    callLog::clear();

    sel::addSubview_(w1, v);
    EXPECT_EQ(callLog::lines("RecordingView"),
              (std::vector<std::string>{"RecordingView willMoveToWindow: 5 window", "RecordingView willMoveToWindow: 6 window",
                                        "RecordingView didMoveToWindow 5 window", "RecordingView didMoveToWindow 6 window",
                                        "RecordingView didMoveToSuperview 5"}));
    callLog::clear();
    sel::addSubview_(holder, v);  // same window
    EXPECT_EQ(callLog::count("RecordingView", "didMoveToWindow"), 0);
    EXPECT_EQ(callLog::count("RecordingView", "didMoveToSuperview"), 1);
    sel::addSubview_(w2, v);  // another window
    EXPECT_EQ(callLog::count("RecordingView", "didMoveToWindow"), 2);
    callLog::clear();
    sel::removeFromSuperview(v);
    EXPECT_EQ(callLog::lines("RecordingView didMoveToWindow"),
              (std::vector<std::string>{"RecordingView didMoveToWindow 5 nil", "RecordingView didMoveToWindow 6 nil"}));
    EXPECT_FALSE(sel::window(inner));
}

// --- coordinates ----------------------------------------------------------------------------

TEST_F(View, ConvertsPointsAndRectsBetweenViews) {
    auto w = makeWindow();
    auto a = makeView(Rect(10, 20, 100, 100), w);
    auto b = makeView(Rect(5, 5, 50, 50), a);
    auto sibling = makeView(Rect(200, 300, 10, 10), w);
    EXPECT_EQ(sel::convertPoint_toView_(b, Point{1, 1}, nullptr), (Point{16, 26}));
    EXPECT_EQ(sel::convertPoint_fromView_(b, Point{16, 26}, nullptr), (Point{1, 1}));
    EXPECT_EQ(sel::convertPoint_toView_(b, Point{0, 0}, sibling), (Point{-185, -275}));
    EXPECT_EQ(sel::convertRect_toView_(b, Rect(0, 0, 10, 10), a), Rect(5, 5, 10, 10));

    // A bounds origin shifts what a view shows (as scrolling does).
    sel::setBounds_(a, Rect(0, 50, 100, 100));
    EXPECT_EQ(sel::convertPoint_toView_(b, Point{0, 0}, nullptr), (Point{15, -25}));

    // A transformed ancestor: scaled twice around its centre (60, 70).
    sel::setBounds_(a, Rect(0, 0, 100, 100));
    sel::setTransform_(a, AffineTransform::makeScale(2, 2));
    EXPECT_EQ(sel::convertPoint_toView_(a, Point{50, 50}, nullptr), (Point{60, 70}));
    EXPECT_EQ(sel::convertPoint_toView_(a, Point{0, 0}, nullptr), (Point{-40, -30}));
    expectRect(sel::convertRect_toView_(b, Rect(0, 0, 10, 10), nullptr), Rect(-30, -20, 20, 20));
    EXPECT_EQ(sel::convertPoint_fromView_(a, Point{-40, -30}, nullptr), (Point{0, 0}));
}

TEST_F(View, ConvertsBetweenWindowsThroughTheScreen) {
    auto w1 = makeWindow();
    auto w2 = makeWindow(Rect(100, 50, 200, 200));
    auto v1 = makeView(Rect(10, 10, 10, 10), w1);
    auto v2 = makeView(Rect(0, 0, 10, 10), w2);
    EXPECT_EQ(sel::convertPoint_toView_(v2, Point{0, 0}, v1), (Point{90, 40}));
    EXPECT_EQ(v2->toScreen(Point{0, 0}), (Point{100, 50}));
    EXPECT_EQ(sel::convertPoint_toView_(v2, Point{0, 0}, nullptr), (Point{0, 0}));  // nil: its window
}

// --- layer -----------------------------------------------------------------------------------

TEST_F(View, TheLayerComesFromTheClassesLayerClass) {
    auto plain = makeView(Rect());
    auto layer = as<CALayer>(sel::layer(plain));
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->isa()->name(), "CALayer");
    EXPECT_EQ(sel::delegate(layer).get(), plain.get());

    ClassBuilder<UIView>::inheritingType("BackdropView", "UIView")
        .classMethod(sel::layerClass, [](id) { return objc_getClass("CABackdropLayer"); });
    auto backdrop = makeView(Rect(), nullptr, 0, "BackdropView");
    EXPECT_EQ(sel::layer(backdrop)->isa()->name(), "CABackdropLayer");

    sel::setClipsToBounds_(plain, true);
    EXPECT_TRUE(sel::masksToBounds(layer));
    sel::setCornerRadius_(layer, 30);
    sel::setBorderWidth_(layer, 1);
    sel::setBorderColor_(layer, sel::CGColor(sel::colorWithWhite_alpha_(objc_getClass("UIColor"), 1, 0.75)));
    EXPECT_EQ(Value(sel::borderColor(layer)), Value(UIColor::white(1, 0.75)));
    sel::setBackgroundColor_(plain, UIColor::rgba(1, 0, 0, 1));
    EXPECT_EQ(Value(sel::backgroundColor(layer)), Value(UIColor::rgba(1, 0, 0, 1)));

    // Layers and filters keep keys they do not define.
    setValueForKey(layer, Value(5), "shadowWhatever");
    EXPECT_EQ(valueForKey(layer, "shadowWhatever"), Value(5));
    Ref<Object> filter = sel::filterWithName_(objc_getClass("CAFilter"), Value(kCAFilterGaussianBlur));
    setValueForKey(filter, Value(20.0), "inputRadius");
    sel::setFilters_(layer, Value::array({Value(filter)}));
    EXPECT_EQ(valueForKey(sel::filters(layer).at(0).object(), "inputRadius"), Value(20.0));
    EXPECT_EQ(sel::name(filter), Value("gaussianBlur"));
}

TEST(ViewLayer, FallsBackToCALayerWhenTheSystemLacksTheClass) {
    testing::TestEnvironment env(host::BootOptions{.missingClasses = {"CABackdropLayer"}});
    ClassBuilder<UIView>::inheritingType("BackdropView", "UIView")
        .classMethod(sel::layerClass, [](id) { return objc_getClass("CABackdropLayer"); });
    auto v = UIView::make("BackdropView", Rect());
    EXPECT_EQ(sel::layer(v)->isa()->name(), "CALayer");
}

TEST_F(View, TintIsInheritedFromTheSuperview) {
    auto parent = makeView(Rect());
    auto child = makeView(Rect(), parent);
    EXPECT_EQ(Value(sel::tintColor(child)), Value(UIColor::rgba(0, 122.0 / 255, 1, 1)));
    sel::setTintColor_(parent, UIColor::white(1, 0.35));
    EXPECT_EQ(Value(sel::tintColor(child)), Value(UIColor::white(1, 0.35)));
}

// --- layout ----------------------------------------------------------------------------------

TEST_F(View, SetNeedsLayoutRunsOnePassOnTheRunLoop) {
    auto v = makeView(Rect(0, 0, 10, 10), nullptr, 1, "RecordingView");
    advance(0);
    callLog::clear();
    sel::setNeedsLayout(v);
    sel::setNeedsLayout(v);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 0);
    advance(0);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 1);
    advance(1);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 1);

    sel::setNeedsLayout(v);
    sel::layoutIfNeeded(v);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 2);
    advance(0);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 2);
}

TEST_F(View, SizeChangesAndNewSubviewsNeedLayout) {
    auto v = makeView(Rect(0, 0, 10, 10), nullptr, 1, "RecordingView");
    advance(0);
    callLog::clear();
    sel::setFrame_(v, Rect(5, 5, 10, 10));  // moved only
    advance(0);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 0);
    sel::setFrame_(v, Rect(5, 5, 20, 10));
    advance(0);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 1);
    makeView(Rect(), v);
    advance(0);
    EXPECT_EQ(callLog::count("RecordingView", "layoutSubviews"), 2);
}

TEST_F(View, LayoutGoesParentsFirstFromTheHighestViewThatNeedsIt) {
    auto parent = makeView(Rect(0, 0, 10, 10), nullptr, 1, "RecordingView");
    auto child = makeView(Rect(0, 0, 10, 10), parent, 2, "RecordingView");
    advance(0);
    callLog::clear();
    sel::setNeedsLayout(child);
    sel::setNeedsLayout(parent);
    sel::layoutIfNeeded(child);
    EXPECT_EQ(callLog::lines("layoutSubviews"),
              (std::vector<std::string>{"RecordingView layoutSubviews 1", "RecordingView layoutSubviews 2"}));
}

TEST_F(View, SizeToFitUsesSizeThatFitsAndKeepsTheOrigin) {
    ClassBuilder<UIView>::inheritingType("FixedSizeView", "UIView").method(sel::sizeThatFits_, [](id, Size) { return Size{33, 44}; });
    auto v = makeView(Rect(7, 8, 1, 1), nullptr, 0, "FixedSizeView");
    sel::sizeToFit(v);
    EXPECT_EQ(sel::frame(v), Rect(7, 8, 33, 44));
    auto plain = makeView(Rect(7, 8, 5, 6));
    sel::sizeToFit(plain);
    EXPECT_EQ(sel::frame(plain), Rect(7, 8, 5, 6));
}

}  // namespace
}  // namespace platform::uitest

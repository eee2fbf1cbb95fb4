#include "platform/uikit/color.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/uikit/graphics.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

using Colors = UIKitTest;

Ref<UIColor> color(Ref<Object> o) { return Ref<UIColor>(as<UIColor>(o.get())); }

TEST_F(Colors, NamedColoursAndTheirSpaces) {
    Class* c = objc_getClass("UIColor");
    struct Case {
        const char* name;
        Ref<Object> got;
        UIColor::Space space;
        double r, g, b, a;
    };
    const Case cases[] = {
        {"black", sel::blackColor(c), UIColor::Space::White, 0, 0, 0, 1},
        {"white", sel::whiteColor(c), UIColor::Space::White, 1, 1, 1, 1},
        {"clear", sel::clearColor(c), UIColor::Space::White, 0, 0, 0, 0},
        {"red", sel::redColor(c), UIColor::Space::RGB, 1, 0, 0, 1},
        {"white at 0.75", sel::colorWithWhite_alpha_(c, 1, 0.75), UIColor::Space::White, 1, 1, 1, 0.75},
        {"rgba", sel::colorWithRed_green_blue_alpha_(c, 0.1, 0.2, 0.3, 0.4), UIColor::Space::RGB, 0.1, 0.2, 0.3, 0.4},
        {"hue of a sixth is yellow", sel::colorWithHue_saturation_brightness_alpha_(c, 1.0 / 6, 1, 1, 1), UIColor::Space::RGB, 1, 1, 0, 1},
        {"red at 0.35", sel::colorWithAlphaComponent_(sel::redColor(c), 0.35), UIColor::Space::RGB, 1, 0, 0, 0.35},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        auto got = color(k.got);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->space(), k.space);
        EXPECT_NEAR(got->red(), k.r, 1e-12);
        EXPECT_NEAR(got->green(), k.g, 1e-12);
        EXPECT_NEAR(got->blue(), k.b, 1e-12);
        EXPECT_EQ(got->alphaComponent(), k.a);
    }
}

TEST_F(Colors, EqualityNeedsTheSameSpaceAndComponents) {
    EXPECT_EQ(Value(UIColor::white(1, 1)), Value(UIColor::white(1, 1)));
    EXPECT_NE(Value(UIColor::white(1, 1)), Value(UIColor::rgba(1, 1, 1, 1)));  // as UIKit: another space
    EXPECT_TRUE(UIColor::white(1, 1)->sameComponents(*UIColor::rgba(1, 1, 1, 1)));
    double w = -1, a = -1;
    EXPECT_TRUE(sel::getWhite_alpha_(UIColor::white(0.5, 0.8), &w, &a));
    EXPECT_EQ(w, 0.5);
    EXPECT_EQ(a, 0.8);
    EXPECT_FALSE(sel::getWhite_alpha_(UIColor::rgba(1, 0, 0, 1), &w, &a));
    EXPECT_EQ(sel::description(UIColor::rgba(1, 0, 0, 1)), Value("UIDeviceRGBColorSpace 1 0 0 1"));
}

TEST_F(Colors, PatternColoursHaveNoComponentsToConvert) {
    Class* c = objc_getClass("UIColor");
    EXPECT_FALSE(sel::colorWithPatternImage_(c, nullptr));
    Ref<Object> image = newObject("NSObject");
    auto pattern = color(sel::colorWithPatternImage_(c, image.get()));
    ASSERT_TRUE(pattern);
    EXPECT_EQ(pattern->space(), UIColor::Space::Pattern);
    EXPECT_EQ(pattern->patternImage(), image.get());
    double r = -1, w = -1, a = -1;
    EXPECT_FALSE(sel::getRed_green_blue_alpha_(pattern.get(), &r, &r, &r, &a));
    EXPECT_FALSE(sel::getWhite_alpha_(pattern.get(), &w, &a));
    EXPECT_EQ(r, -1);
    struct Case {
        const char* name;
        Ref<Object> color;
        CGColorSpaceModel model;
        std::vector<double> components;
    } cases[] = {
        {"grey", UIColor::white(0.5, 1), kCGColorSpaceModelMonochrome, {0.5, 1}},
        {"red", UIColor::rgba(1, 0, 0, 0.5), kCGColorSpaceModelRGB, {1, 0, 0, 0.5}},
        {"pattern", pattern, kCGColorSpaceModelPattern, {1}},
        {"no colour", nullptr, kCGColorSpaceModelUnknown, {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        id cg = k.color ? sel::CGColor(k.color.get()).get() : nullptr;
        EXPECT_EQ(CGColorGetColorSpaceModel(cg), k.model);
        EXPECT_EQ(CGColorGetComponents(cg), k.components);
        EXPECT_EQ(CGColorGetNumberOfComponents(cg), k.components.size());
    }
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/visual_effect.h"

#include <gtest/gtest.h>

#include "platform/uikit/visual_effect_view.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

class VisualEffects : public UIKitTest {};

TEST_F(VisualEffects, ABlurKeepsItsStyleAndAVibrancyItsBlur) {
    Ref<Object> dark = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), UIBlurEffectStyleDark);
    ASSERT_TRUE(isKindOfClass(dark, "UIVisualEffect"));
    EXPECT_EQ(object_getIvar(dark, "_style"), Value(2));
    Ref<Object> vibrancy = sel::effectForBlurEffect_(objc_getClass("UIVibrancyEffect"), dark);
    ASSERT_TRUE(isKindOfClass(vibrancy, "UIVisualEffect"));
    EXPECT_EQ(as<UIVibrancyEffect>(vibrancy.get())->blurEffect_.get(), dark.get());
}

TEST_F(VisualEffects, TheViewShowsItsEffectWithAContentViewThatFollowsItsSize) {
    Ref<Object> blur = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), UIBlurEffectStyleLight);
    Ref<Object> view = sel::initWithEffect_(alloc("UIVisualEffectView"), blur);
    ASSERT_TRUE(view);
    EXPECT_EQ(sel::effect(view).get(), blur.get());
    Ref<Object> content = sel::contentView(view);
    ASSERT_TRUE(content);
    EXPECT_EQ(sel::superview(content).get(), view.get());
    EXPECT_EQ(sel::frame(content), Rect());
    sel::setFrame_(view, Rect(10, 10, 384, 200));
    EXPECT_EQ(sel::frame(content), Rect(0, 0, 384, 200));
}

TEST(VisualEffectsOnIOS7, TheClassesDoNotExist) {
    host::BootOptions options;
    options.systemVersion = "7.1";
    testing::TestEnvironment env(options);
    for (const char* name : {"UIVisualEffect", "UIBlurEffect", "UIVibrancyEffect", "UIVisualEffectView"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(objc_getClass(name), nullptr);
    }
    EXPECT_EQ(sel::effectWithStyle_(objc_getClass("UIBlurEffect"), UIBlurEffectStyleDark).get(), nullptr);
}

}  // namespace
}  // namespace platform::uitest

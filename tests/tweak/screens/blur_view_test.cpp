#include "tweak/screens/blur_view.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"
#include "tweak/engine/installer.h"

namespace rousa {
namespace {

Ref<Object> makeBlur() { return sel::initWithFrame_(alloc("FJBlurView"), Rect(0, 0, 320, 568)); }

TEST(BlurView, ANewViewIsBackedByTheBackdropLayerWithItsDefaults) {
    platform::testing::TestEnvironment env;
    registerTweakClasses();
    auto view = makeBlur();
    EXPECT_TRUE(isKindOfClass(sel::layer(view), "CABackdropLayer"));
    Value filters = sel::filters(sel::layer(view));
    ASSERT_EQ(filters.count(), 1u);
    EXPECT_EQ(filters.at(0).object(), sel::blurFilter(view).get());
    EXPECT_EQ(sel::name(sel::blurFilter(view)).string(), kCAFilterGaussianBlur);
    EXPECT_DOUBLE_EQ(sel::blurRadius(view), 5.0);
    EXPECT_TRUE(sel::blurCroppingRect(view).isNull());
    EXPECT_TRUE(sel::blurEdges(view));
    EXPECT_TRUE(sel::quality(view).isNil());
    EXPECT_EQ(sel::blurQuality(view).string(), "default");
}

TEST(BlurView, SettingsLiveInTheFilter) {
    platform::testing::TestEnvironment env;
    registerTweakClasses();
    auto view = makeBlur();
    sel::setBlurRadius_(view, 20.1);
    EXPECT_DOUBLE_EQ(sel::blurRadius(view), static_cast<double>(20.1f));
    sel::setBlurEdges_(view, false);
    EXPECT_FALSE(sel::blurEdges(view));
    EXPECT_EQ(valueForKey(sel::blurFilter(view), "inputHardEdges"), Value(1));
    sel::setBlurCroppingRect_(view, Rect(0, 0, 10, 20));
    EXPECT_EQ(sel::blurCroppingRect(view), Rect(0, 0, 10, 20));
    sel::setQuality_(view, Value(FJBlurViewQualityLow));
    EXPECT_EQ(sel::quality(view).string(), "low");
    sel::setBlurQuality_(view, Value("other"));
    EXPECT_EQ(sel::quality(view).string(), "low");  // the stored field does not touch the filter
}

TEST(BlurView, WithoutABackdropLayerItIsAPlainLayer) {
    platform::testing::TestEnvironment env(host::BootOptions{.missingClasses = {"CABackdropLayer"}});
    registerTweakClasses();
    auto view = makeBlur();
    EXPECT_EQ(object_getClass(sel::layer(view))->name(), "CALayer");
    EXPECT_DOUBLE_EQ(sel::blurRadius(view), 5.0);
}

}  // namespace
}  // namespace rousa

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "adlib/foundation/device.h"
#include "adlib/foundation/intrinsic_images.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/utilities.h"
#include "adlib/foundation/view_utilities.h"
#include "adlib/foundation/weak_timer.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/url.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/color.h"
#include "platform/uikit/graphics.h"
#include "platform/uikit/image.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/view.h"
#include "platform/uikit/window.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::appOptions;

// A timer target that counts its firings.
class Ticker : public NSObject {
public:
    int fired = 0;
};
inline constexpr Sel<void(id, id)> tick_{"tick:"};
inline constexpr Sel<void(id, id)> missing_{"missing:"};
inline constexpr Sel<void(id)> none{"none"};
inline constexpr Sel<void(id, Value, Value)> two_{"two:and:"};

void registerTicker() {
    ClassBuilder<Ticker>("Ticker", "NSObject")
        .method(tick_, [](id self, id timer) { as<Ticker>(self)->fired += as<NSTimer>(timer) ? 1 : 100; })
        .method(none, [](id self) { as<Ticker>(self)->fired += 1000; })
        .method(two_, [](id self, Value, Value) { as<Ticker>(self)->fired += 10000; });
}

TEST(WeakTimers, NeverKeepTheirTargetAlive) {
    AdLibEnvironment env;
    registerTicker();
    Class* timerClass = objc_getClass("NSTimer");
    WeakRef<Object> weak;
    Ref<Object> gone;
    {
        Ref<Object> target = alloc("Ticker");
        weak = target.get();
        gone = sel::ybx_scheduledTimerWithTimeInterval_weakTarget_selector_userInfo_repeats_(timerClass, 1.0, target, tick_, Value(), true);
        platform::testing::advance(2.0);
        EXPECT_EQ(as<Ticker>(target.get())->fired, 2);  // alive: called with the timer
    }
    EXPECT_FALSE(weak.lock());  // the timer did not keep it
    EXPECT_TRUE(as<NSTimer>(gone.get())->isValid());
    platform::testing::advance(1.0);
    EXPECT_FALSE(as<NSTimer>(gone.get())->isValid());  // invalidated at its next firing

    Ref<Object> target = alloc("Ticker");
    Ref<Object> deaf = sel::ybx_scheduledTimerWithTimeInterval_weakTarget_selector_userInfo_repeats_(timerClass, 1.0, target, missing_, Value(), true);
    platform::testing::advance(3.0);
    EXPECT_EQ(as<Ticker>(target.get())->fired, 0);
    EXPECT_TRUE(as<NSTimer>(deaf.get())->isValid());  // a target that does not respond keeps it running
    as<NSTimer>(deaf.get())->invalidate();

    Ref<Object> later = sel::ybx_timerWithTimeInterval_weakTarget_selector_userInfo_repeats_(timerClass, 1.0, target, tick_, Value(), false);
    platform::testing::advance(2.0);
    EXPECT_EQ(as<Ticker>(target.get())->fired, 0);  // not scheduled
    NSRunLoopAddTimer(as<NSTimer>(later.get()), NSDefaultRunLoopMode);
    platform::testing::advance(1.0);
    EXPECT_EQ(as<Ticker>(target.get())->fired, 1);
}

TEST(InvokeSelector, OnlyMethodsOfOneArgument) {
    AdLibEnvironment env;
    registerTicker();
    Ref<Object> target = alloc("Ticker");
    EXPECT_FALSE(InvokeSelectorWithObject(target, none, Value()));
    EXPECT_TRUE(InvokeSelectorWithObject(target, tick_, Value()));
    EXPECT_FALSE(InvokeSelectorWithObject(target, two_, Value()));
    EXPECT_FALSE(InvokeSelectorWithObject(target, missing_, Value()));
    EXPECT_FALSE(InvokeSelectorWithObject(nullptr, tick_, Value()));
    EXPECT_EQ(as<Ticker>(target.get())->fired, 100);  // tick: with a nil object, once
}

TEST(SmallFunctions, RectanglesURLsAndTheCategoryProbe) {
    AdLibEnvironment env;
    EXPECT_TRUE(CheckStaticLibraryCategoriesLoaded());
    EXPECT_EQ(ybx_negativeOne(), Value(-1));
    EXPECT_TRUE(ybx_negativeOne().isDecimal());

    Ref<NSError> error;
    EXPECT_EQ(MakeRectFromDictionary(Value{{"x", 1}, {"y", 2}, {"width", 3}, {"height", 4.5}}, &error), Rect(1, 2, 3, 4.5));
    EXPECT_FALSE(error);
    Value noWidth{{"x", 1}, {"y", 2}, {"width", "3"}, {"height", 4}};
    EXPECT_EQ(MakeRectFromDictionary(noWidth, &error), Rect());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "cg_rect_conversion");
    EXPECT_EQ(error->code(), 1);
    EXPECT_EQ(error->localizedDescription(), format("Invalid SDK Core rectangle %@.", noWidth));
    EXPECT_EQ(MakeDictionaryFromRect(Rect(1, 2, 3, 4)), (Value{{"x", 1.0}, {"y", 2.0}, {"width", 3.0}, {"height", 4.0}}));

    Value urls = MakeURLArrayFromStrings(Value::array({"http://a/", "not a url", 5, "http://b/"}));
    ASSERT_EQ(urls.count(), 2u);
    EXPECT_EQ(sel::absoluteString(urls.at(1).object()), "http://b/");
    EXPECT_TRUE(MakeURLArrayFromStrings(Value::array({"not a url"})).isNil());
}

TEST(ViewPosition, InScreenCoordinates) {
    AdLibEnvironment env;
    Class* utilities = objc_getClass("YBXViewUtilities");
    UIScreen* screen = UIScreen::mainScreen();
    Ref<UIView> loose = UIView::make("UIView", Rect(0, 0, 10, 10));
    EXPECT_TRUE(sel::positionOfView_inScreen_(utilities, loose, screen).isNil());

    Ref<UIView> window = UIView::make("UIWindow", Rect(0, 10, 320, 558));
    Ref<UIView> container = UIView::make("UIView", Rect(0, 100, 320, 400));
    Ref<UIView> banner = UIView::make("UIView", Rect(0, 50, 320, 50));
    sel::addSubview_(window, container);
    sel::addSubview_(container, banner);
    Value position = sel::positionOfView_inScreen_(utilities, banner, screen);
    EXPECT_EQ(position, (Value{{"x", 0.0f}, {"y", 160.0f}, {"width", 320.0f}, {"height", 50.0f}, {"visible", true}}));

    sel::setFrame_(banner, Rect(0, -220, 320, 50));  // scrolled above the screen
    EXPECT_EQ(sel::positionOfView_inScreen_(utilities, banner, screen)["visible"], Value(false));
    sel::setFrame_(banner, Rect(0, 50, 320, 50));
    sel::setHidden_(banner, true);
    EXPECT_EQ(sel::positionOfView_inScreen_(utilities, banner, screen)["visible"], Value(false));
}

TEST(ViewRender, SnapshotsTheLayerAtScaleOne) {
    AdLibEnvironment env;
    Ref<UIView> view = UIView::make("UIView", Rect(5, 5, 4, 3));
    sel::setBackgroundColor_(view, sel::redColor(objc_getClass("UIColor")));
    Ref<Object> snapshot = sel::ybx_render(view);
    auto* image = as<UIImage>(snapshot.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size_, (Size{4, 3}));
    EXPECT_EQ(image->scale_, 1.0);
    std::shared_ptr<const CGImage> pixels = image->CGImage();
    ASSERT_TRUE(pixels);
    ASSERT_EQ(pixels->width, 4u);
    EXPECT_EQ(pixels->pixels[0], 255);  // red
    EXPECT_EQ(pixels->pixels[1], 0);
    EXPECT_EQ(pixels->pixels[3], 255);  // opaque
}

// A 10 x 10 snapshot of a view painted with the background colour and, in its
// top rows, a drawn colour.
Ref<Object> paintedImage(id background, id drawn, double drawnRows) {
    Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 10, 10));
    sel::setBackgroundColor_(view, background);
    if (drawnRows > 0) {
        Ref<UIView> content = UIView::make("UIView", Rect(0, 0, 10, drawnRows));
        sel::setBackgroundColor_(content, drawn);
        sel::addSubview_(view, content);
    }
    return sel::ybx_render(view);
}

TEST(PercentOfImage, CountsPixelsWhosePremultipliedBytesMatch) {
    AdLibEnvironment env;
    Ref<Object> red = UIColor::rgba(1, 0, 0, 1);
    struct Case {
        const char* name;
        Ref<Object> background, drawn, asked;
        double drawnRows, share;
    } cases[] = {
        {"grey 0.5 everywhere", UIColor::white(0.5, 1), red, UIColor::white(0.5, 1), 0, 1.0},
        {"a grey not a multiple of 1/255", UIColor::white(0.3, 1), red, UIColor::white(0.3, 1), 0, 1.0},
        {"the same grey asked in RGB", UIColor::white(0.3, 1), red, UIColor::rgba(0.3, 0.3, 0.3, 1), 0, 1.0},
        {"half-transparent colour", UIColor::rgba(0.2, 0.4, 0.6, 0.5), red, UIColor::rgba(0.2, 0.4, 0.6, 0.5), 0, 1.0},
        {"clear page, clear colour", UIColor::rgba(0, 0, 0, 0), red, UIColor::rgba(0, 0, 0, 0), 0, 1.0},
        {"clear page, transparent white asked", UIColor::rgba(0, 0, 0, 0), red, UIColor::white(1, 0), 0, 1.0},
        {"11 % drawn on a clear page", UIColor::rgba(0, 0, 0, 0), red, UIColor::rgba(0, 0, 0, 0), 1.1, 0.9},
        {"a shade off", UIColor::white(0.5, 1), red, UIColor::white(0.49, 1), 0, 0.0},
        {"opaque grey asked on a clear page", UIColor::rgba(0, 0, 0, 0), red, UIColor::white(0.5, 1), 0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Object> image = paintedImage(c.background.get(), c.drawn.get(), c.drawnRows);
        EXPECT_DOUBLE_EQ(percentOfImageOfColor(image.get(), c.asked.get()), c.share);
    }
}

TEST(PercentOfImage, NothingMatchesWithoutPixelsOrComponents) {
    AdLibEnvironment env;
    Ref<Object> grey = UIColor::white(0.5, 1);
    Ref<Object> image = paintedImage(grey.get(), nullptr, 0);
    EXPECT_EQ(percentOfImageOfColor(image.get(), UIColor::pattern(image.get()).get()), 0.0);
    EXPECT_EQ(percentOfImageOfColor(image.get(), nullptr), 0.0);
    EXPECT_EQ(percentOfImageOfColor(nullptr, grey.get()), 0.0);
    EXPECT_EQ(percentOfImageOfColor(newObject("NSObject").get(), grey.get()), 0.0);
}

struct DensityCase {
    const char* name;
    double scale;
    double pixels;  // of the close button's bitmap
    double imageScale;
};

class BuiltInImages : public ::testing::TestWithParam<DensityCase> {};

TEST_P(BuiltInImages, KeepTheirPointSizeOnEveryScreen) {
    AdLibEnvironment env(appOptions("9.3", 0, GetParam().scale));
    Ref<Object> images = sel::sharedInstance(objc_getClass("YBXIntrinsicImages"));
    ASSERT_EQ(images, sel::sharedInstance(objc_getClass("YBXIntrinsicImages")));
    auto* close = as<UIImage>(sel::closeButton(images).get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->scale_ * close->size_.width, GetParam().pixels);
    EXPECT_EQ(close->scale_, GetParam().imageScale);
    EXPECT_EQ(close->size_, (Size{25, 25}));
    EXPECT_EQ(sel::closeButton(images).get(), close);  // made once
    for (Ref<Object> arrow : {sel::browserBackButton(images), sel::browserForwardButton(images)}) {
        auto* image = as<UIImage>(arrow.get());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size_, (Size{27, 27}));
    }
    // The stored PNGs decode: the bitmap is the chosen form's.
    std::shared_ptr<const CGImage> pixels = close->CGImage();
    ASSERT_TRUE(pixels);
    EXPECT_EQ(static_cast<double>(pixels->width), GetParam().pixels);

    Ref<Object> clearImage = sel::transparentImage(images);
    auto* clear = as<UIImage>(clearImage.get());
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->size_, (Size{10, 10}));
    EXPECT_EQ(clear->scale_, GetParam().scale);
    std::shared_ptr<const CGImage> clearPixels = clear->CGImage();
    ASSERT_TRUE(clearPixels);
    EXPECT_EQ(static_cast<double>(clearPixels->width), 10 * GetParam().scale);
    bool anyAlpha = false;
    for (std::size_t i = 3; i < clearPixels->pixels.size(); i += 4) anyAlpha |= clearPixels->pixels[i] != 0;
    EXPECT_FALSE(anyAlpha);  // not opaque: transparent throughout

    Value chosen = sel::chooseImage_orDoubleDensityImage_(images, Value("single"), Value("double"));
    EXPECT_EQ(chosen, Value(GetParam().scale == 1.0 ? "single" : "double"));
}

INSTANTIATE_TEST_SUITE_P(Densities, BuiltInImages,
                         ::testing::Values(DensityCase{"one", 1.0, 25, 1.0}, DensityCase{"two", 2.0, 50, 2.0},
                                           DensityCase{"three", 3.0, 50, 2.0}),
                         [](const auto& info) { return std::string(info.param.name); });

// No device root: the dying child would leave it behind.
TEST(MainThreadDeath, AWaitingMainThreadIsReportedNotHung) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            RunLoop::main().adoptCurrentThread();
            dispatch_queue_t queue = dispatch_queue_create("com.orvane.marlex.device", DISPATCH_QUEUE_SERIAL);
            dispatch_async(queue, [queue] {
                for (int i = 0; i < 1000000 && dispatch::pendingCount(queue) == 0; ++i) std::this_thread::yield();
                RunSynchronouslyOnMainThread([] {});
            });
            dispatch_sync(queue, [] {});
        },
        "which the main thread is waiting for");
}

}  // namespace
}  // namespace adlib

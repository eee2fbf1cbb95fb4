// The web app controller: its close button (custom close and MRAID), the
// expanded banner's round trip, the interstitial's viewability calls, the
// kept content and "onshow", the MRAID rotation fades, and the transparent
// interstitial laid over the key window (slide-in, rotation, fade-out, kept
// alive by nothing but itself). Events sent to pages and rotations are
// recorded at the ad web view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "adlib/foundation/intrinsic_images.h"
#include "adlib/render/web_app_view_controller.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/adlib/render/full_screen_support.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::slotCalls;

std::vector<std::string>& pageCalls() {
    static std::vector<std::string> log;
    return log;
}

void (*previousNotify)(id, std::string) = nullptr;
void (*previousDidRotate)(id, long long) = nullptr;

void registerPageRecorders() {
    MSHookMessageEx(objc_getClass("YBXWebView"), sel::notifyOfSdkEvent_,
                    +[](id self, std::string event) {
                        pageCalls().push_back(event);
                        previousNotify(self, event);
                    },
                    &previousNotify);
    MSHookMessageEx(objc_getClass("YBXWebView"), sel::didRotateToOrientation_,
                    +[](id self, long long o) {
                        pageCalls().push_back("rotated " + std::to_string(o));
                        previousDidRotate(self, o);
                    },
                    &previousDidRotate);
}

class WebAppTest : public ::testing::Test {
protected:
    WebAppTest() {
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
        slotCalls().clear();
        pageCalls().clear();
    }

    Ref<YBXWebAppViewController> make(id webView = nullptr, id slotFor = nullptr) {
        Ref<YBXWebAppViewController> made = as<YBXWebAppViewController>(sel::initWithWebView_(alloc("YBXWebAppViewController"), webView).get());
        sel::setSlot_(made.get(), slotFor ? slotFor : slot.get());
        return made;
    }
    int count(const std::vector<std::string>& log, const std::string& what) { return std::count(log.begin(), log.end(), what); }
    // The events sent to pages, without the rotations.
    std::vector<std::string> events() {
        std::vector<std::string> sent;
        for (const std::string& s : pageCalls())
            if (s.rfind("rotated ", 0) != 0) sent.push_back(s);
        return sent;
    }
    // The durations of the animations since `from` that changed a property of a view.
    static std::vector<double> animated(const void* view, std::string_view property, std::size_t from) {
        std::vector<double> durations;
        const auto& records = platform::animation::records();
        for (std::size_t i = from; i < records.size(); ++i)
            if (records[i].changed(view, property)) durations.push_back(records[i].duration);
        return durations;
    }
    UIApplication* app() { return UIApplication::sharedApplication(); }

    AdLibEnvironment env;
    // Before the members that are made of them.
    struct Fakes {
        Fakes() {
            testing::registerFullScreenFakes();
            registerPageRecorders();
        }
    } fakes;
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
    Ref<Object> root = newObject("UIViewController");
    Ref<Object> slot = testing::makeFullScreenSlot();
    Ref<Object> mraidSlot = testing::makeFullScreenSlot(true);
};

// --- the close button ---------------------------------------------------------------------------------

TEST_F(WebAppTest, TheCloseButtonFollowsCustomCloseAndMRAID) {
    Ref<Object> images = YBXIntrinsicImagesSharedInstance();
    struct Case {
        bool customClose, mraid;
        bool shown;
        bool transparentImage;
    } cases[] = {
        {false, false, true, false},
        {false, true, true, false},
        {true, false, false, false},
        // The creative draws its own mark over a live, invisible tap area.
        {true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.customClose) + " " + std::to_string(c.mraid));
        Ref<YBXWebAppViewController> controller = make(nullptr, c.mraid ? mraidSlot.get() : slot.get());
        sel::setUseCustomClose_(controller.get(), c.customClose);
        sel::presentFromViewController_(controller.get(), root.get());
        auto* button = as<UIButton>(controller->closeButton_.get());
        EXPECT_EQ(sel::accessibilityLabel(button), Value(kYBXCloseButtonLabel));
        EXPECT_TRUE(sel::showsTouchWhenHighlighted(button));
        // MRAID: 50 x 50 at the content's top right; else 32 x 32 at its top left.
        const Rect content = sel::frame(controller->webView_.get());
        EXPECT_EQ(sel::frame(button), c.mraid ? Rect(content.x() + content.width() - 50, content.y(), 50, 50)
                                              : Rect(content.x(), content.y(), 32, 32));
        EXPECT_EQ(sel::superview(button).get(), c.shown ? sel::view(controller.get()).get() : nullptr);
        if (c.shown) {
            Ref<Object> expected = c.transparentImage ? sel::transparentImage(images.get()) : sel::closeButton(images.get());
            EXPECT_EQ(sel::imageForState_(button, UIControlStateNormal).get(), expected.get());
            // A tap closes the ad.
            sel::sendActionsForControlEvents_(button, UIControlEventTouchUpInside);
            EXPECT_FALSE(sel::presentedViewController(root.get()));
        } else {
            // Switching custom close off again brings the button back.
            sel::setUseCustomClose_(controller.get(), false);
            EXPECT_EQ(sel::superview(button).get(), sel::view(controller.get()).get());
            sel::relinquishScreen(controller.get());
        }
        platform::testing::advance(1);
    }
}

// --- the expanded banner ------------------------------------------------------------------------------

TEST_F(WebAppTest, AnExpandedBannerComesBackAsItWas) {
    Ref<UIView> banner = UIView::make("UIView", Rect(0, 430, 320, 50));
    sel::addSubview_(sel::view(root.get()).get(), banner.get());
    Ref<YBXWebView> page = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    sel::addSubview_(banner.get(), page.get());
    Ref<Object> bannerDelegate = newObject("YBXWebViewDelegate");
    sel::setDelegate_(page.get(), bannerDelegate.get());
    Ref<Object> bannerController = newObject("UIViewController");
    sel::setViewController_(page.get(), bannerController.get());

    Ref<YBXWebAppViewController> controller = make(page.get());
    EXPECT_TRUE(controller->isExpandable_);
    sel::presentFromViewController_(controller.get(), root.get());
    EXPECT_EQ(sel::superview(page.get()).get(), sel::view(controller.get()).get());
    EXPECT_EQ(sel::viewController(page.get()).get(), controller.get());
    EXPECT_EQ(sel::delegate(page.get()).get(), controller->webViewDelegate_.get());
    ASSERT_TRUE(controller->renderedBanner_);
    EXPECT_EQ(sel::superview(controller->renderedBanner_.get()).get(), banner.get());
    EXPECT_EQ(sel::frame(controller->renderedBanner_.get()), Rect(0, 0, 320, 50));

    sel::relinquishScreen(controller.get());
    platform::testing::advance(1);
    EXPECT_EQ(events(), (std::vector<std::string>{"expanding", "onhide", "collapsed"}));
    EXPECT_EQ(sel::superview(page.get()).get(), banner.get());
    EXPECT_EQ(sel::frame(page.get()), Rect(0, 0, 320, 50));
    EXPECT_EQ(sel::delegate(page.get()).get(), bannerDelegate.get());
    EXPECT_EQ(sel::viewController(page.get()).get(), bannerController.get());
    // The banner's own settings, which the expansion replaced.
    EXPECT_FALSE(sel::bounces(sel::scrollView(page.get()).get()));
    EXPECT_FALSE(sel::scalesPageToFit(sel::webView(page.get()).get()));
    EXPECT_TRUE(sel::mediaPlaybackRequiresUserAction(page.get()));
    EXPECT_FALSE(sel::isHidden(page.get()));

    // The picture left in the banner goes with the controller.
    Ref<Object> picture = controller->renderedBanner_;
    controller = nullptr;
    platform::testing::advance(0);
    EXPECT_FALSE(sel::superview(picture.get()));
}

TEST_F(WebAppTest, OnlyTheInterstitialsControllerTellsItsSlotOfViewability) {
    struct Case {
        const char* name;
        bool handedWebView, inBanner, isInterstitial;
        bool expanding;
        std::vector<std::string> slotHears;
    } cases[] = {
        {"the interstitial", true, false, true, false, {"interstitialViewWillAppear", "interstitialViewWillDisappear"}},
        {"an expanded banner", true, true, false, true, {}},
        {"a web app opened by a creative", false, false, false, false, {}},
    };
    static Ref<Object>* interstitialSlot = nullptr;
    interstitialSlot = &slot;
    ClassBuilder<NSObject>("WebAppTestInterstitial", "NSObject").method(sel::slot, [](id) { return *interstitialSlot; });
    Ref<Object> interstitial = newObject("WebAppTestInterstitial");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slotCalls().clear();
        pageCalls().clear();
        Ref<UIView> banner = UIView::make("UIView", Rect(0, 430, 320, 50));
        Ref<YBXWebView> page = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
        if (c.inBanner) sel::addSubview_(banner.get(), page.get());
        Ref<YBXWebAppViewController> controller = make(c.handedWebView ? page.get() : nullptr);
        if (c.isInterstitial) sel::setInterstitial_(controller.get(), interstitial.get());
        EXPECT_EQ(controller->isExpandable_, c.inBanner);
        sel::presentFromViewController_(controller.get(), root.get());
        sel::relinquishScreen(controller.get());
        platform::testing::advance(1);
        std::vector<std::string> heard;
        for (const std::string& s : slotCalls())
            if (s.rfind("interstitialView", 0) == 0) heard.push_back(s);
        EXPECT_EQ(heard, c.slotHears);
        EXPECT_EQ(count(pageCalls(), "expanding"), c.expanding ? 1 : 0);
        EXPECT_EQ(count(pageCalls(), "collapsed"), c.expanding ? 1 : 0);
    }
}

TEST_F(WebAppTest, KeptContentLoadsWithItsDelegateAndHearsOnShowOnce) {
    Ref<YBXWebAppViewController> controller = make();
    sel::loadHTML_baseURL_(controller.get(), Value("<p>web app</p>"), NSURL::URLWithString("http://ads.test/").get());
    EXPECT_TRUE(controller->HTMLToLoad_.isString());
    sel::presentFromViewController_(controller.get(), root.get());
    EXPECT_TRUE(controller->HTMLToLoad_.isNil());
    platform::testing::advance(1);
    EXPECT_TRUE(sel::hasLoadedAtLeastOnce(controller->webViewDelegate_.get()));
    EXPECT_EQ(count(pageCalls(), "onshow"), 1);
    sel::relinquishScreen(controller.get());
}

// --- rotation -------------------------------------------------------------------------------------------

TEST_F(WebAppTest, AnMRAIDCloseButtonFadesAcrossARotation) {
    for (bool mraid : {true, false}) {
        SCOPED_TRACE(mraid);
        pageCalls().clear();
        Ref<YBXWebAppViewController> controller = make(nullptr, mraid ? mraidSlot.get() : slot.get());
        sel::presentFromViewController_(controller.get(), root.get());
        const std::size_t before = platform::animation::records().size();
        platform::uikit::rotateDevice(UIInterfaceOrientationLandscapeRight);
        platform::testing::advance(1);
        auto* button = as<UIView>(controller->closeButton_.get());
        const std::vector<double> fades = mraid ? std::vector<double>{0.2, 0.2} : std::vector<double>{};
        EXPECT_EQ(animated(button, "alpha", before), fades);
        EXPECT_EQ(sel::alpha(button), 1);
        if (mraid) {
            EXPECT_EQ(sel::frame(button).x(), sel::frame(controller->webView_.get()).width() - 50);
        }
        EXPECT_EQ(count(pageCalls(), "rotated 3"), 1);
        sel::relinquishScreen(controller.get());
        platform::testing::advance(1);
        platform::uikit::rotateDevice(UIInterfaceOrientationPortrait);
    }
}

// --- the transparent interstitial -------------------------------------------------------------------------

TEST(TransparentInterstitialGeometry, SlideInOffsetsAndRotationsPerOrientation) {
    const Rect f(0, 0, 320, 460);
    struct Case {
        long long orientation;
        Point offset;
        double angle;
    } cases[] = {{1, {0, 460}, 0}, {2, {0, -460}, 3.14159265358979}, {3, {-320, 0}, 1.5707963267949},
                 {4, {320, 0}, -1.5707963267949}, {0, {0, 460}, 0}, {7, {0, 460}, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const Point offset = YBXSlideInOffset(c.orientation, f);
        EXPECT_EQ(offset.x, c.offset.x);
        EXPECT_EQ(offset.y, c.offset.y);
        const AffineTransform t = YBXTransformForOrientation(c.orientation);
        EXPECT_NEAR(t.b, std::sin(c.angle), 1e-9);
        EXPECT_NEAR(t.a, std::cos(c.angle), 1e-9);
    }
    EXPECT_EQ(YBXFrameOfSizeCenteredInFrame(Size{100, 50}, Rect(10, 20, 300, 150)), Rect(110, 70, 100, 50));
}

TEST_F(WebAppTest, ATransparentInterstitialLivesOverTheKeyWindowUntilItCloses) {
    for (bool openedInApp : {false, true}) {
        SCOPED_TRACE(openedInApp);
        app()->statusBarHidden_ = false;
        pageCalls().clear();
        WeakRef<Object> alive;
        Ref<Object> content, page;
        Ref<Object> view;
        {
            Ref<YBXWebAppViewController> controller = make();
            sel::setTransparentInterstitial_(controller.get(), true);
            const std::size_t before = platform::animation::records().size();
            sel::presentFromViewController_(controller.get(), root.get());
            alive = WeakRef<Object>(controller.get());
            view = sel::view(controller.get());
            content = controller->contentView_;
            page = controller->webView_;
            EXPECT_FALSE(sel::presentedViewController(root.get()));
            EXPECT_EQ(sel::superview(view.get()).get(), window.get());
            EXPECT_TRUE(controller->displayingAsTransparentInterstitial_);
            EXPECT_FALSE(app()->statusBarHidden_);
            ASSERT_TRUE(content);
            const Rect screen = sel::bounds(UIScreen::mainScreen());
            const double side = std::max(screen.width(), screen.height());
            EXPECT_EQ(sel::bounds(content.get()).size.width, side);
            EXPECT_EQ(sel::bounds(content.get()).size.height, side);
            EXPECT_EQ(sel::superview(page.get()).get(), content.get());
            EXPECT_EQ(sel::superview(controller->closeButton_.get()).get(), content.get());
            // The slide-in.
            EXPECT_EQ(animated(content.get(), "center", before), std::vector<double>{0.4});
        }
        // Held by nothing but itself.
        platform::testing::advance(1);
        ASSERT_FALSE(alive.expired());

        // A status-bar change: the 0.4 s update, then the page hears the rotation.
        const int rotations = count(pageCalls(), "rotated 1");
        NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidChangeStatusBarFrameNotification, Value());
        EXPECT_EQ(platform::animation::last()->duration, 0.4);
        EXPECT_EQ(count(pageCalls(), "rotated 1"), rotations);
        platform::testing::advance(0.4);
        EXPECT_EQ(count(pageCalls(), "rotated 1"), rotations + 1);

        const std::size_t closing = platform::animation::records().size();
        {
            Ref<Object> controller = alive.lock();
            if (openedInApp) {
                sel::didOpenInApplication(controller.get());
            } else {
                sel::relinquishScreen(controller.get());
            }
        }
        EXPECT_EQ(animated(page.get(), "alpha", closing), std::vector<double>{0.2});
        EXPECT_EQ(count(pageCalls(), "onhide"), 1);
        EXPECT_FALSE(app()->statusBarHidden_);
        EXPECT_TRUE(sel::superview(view.get()));
        platform::testing::advance(0.21);
        EXPECT_FALSE(sel::superview(view.get()));
        platform::testing::advance(0);
        EXPECT_TRUE(alive.expired());
    }
}

}  // namespace
}  // namespace adlib

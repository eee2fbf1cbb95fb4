// YBXBannerView: its initialisers and size rules, frame and bounds, the root
// controller, visibility answers and refresh, window moves and the relays to
// its public delegate. Page builds are read from the SDK-core controller hook.
#include "adlib/pipeline/banner_view.h"

#include <gtest/gtest.h>

#include "adlib/foundation/request_error.h"
#include "platform/foundation/log.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::neighbourLog;

// A publisher delegate recording each call; "BannerTestSilentDelegate" implements none.
class BannerDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<long long> codes;
    std::vector<bool> onMainThread;
};

void registerBannerDelegates() {
    if (objc_getClass("BannerTestDelegate")) return;
    ClassBuilder<BannerDelegate>("BannerTestSilentDelegate", "NSObject");
    auto record = [](id self, const char* name) {
        as<BannerDelegate>(self)->calls.emplace_back(name);
        as<BannerDelegate>(self)->onMainThread.push_back(NSThread::isMainThread());
    };
    static auto recorder = record;
    ClassBuilder<BannerDelegate>("BannerTestDelegate", "BannerTestSilentDelegate")
        .method(sel::adViewDidReceiveAd_, [](id self, id) { recorder(self, "adViewDidReceiveAd:"); })
        .method(sel::adView_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    recorder(self, "adView:didFailToReceiveAdWithError:");
                    as<BannerDelegate>(self)->codes.push_back(sel::code(error));
                })
        .method(sel::adViewWillPresentScreen_, [](id self, id) { recorder(self, "adViewWillPresentScreen:"); })
        .method(sel::adViewWillDismissScreen_, [](id self, id) { recorder(self, "adViewWillDismissScreen:"); })
        .method(sel::adViewDidDismissScreen_, [](id self, id) { recorder(self, "adViewDidDismissScreen:"); })
        .method(sel::adViewWillLeaveApplication_, [](id self, id) { recorder(self, "adViewWillLeaveApplication:"); });
}

Ref<BannerDelegate> makeBannerDelegate(bool silent = false) {
    registerBannerDelegates();
    return as<BannerDelegate>(sel::init(alloc(silent ? "BannerTestSilentDelegate" : "BannerTestDelegate")));
}

Ref<YBXBannerView> bannerWithSize(const YBXAdSize& size) { return as<YBXBannerView>(sel::initWithAdSize_(alloc("YBXBannerView"), size)); }

Ref<Object> slotOf(YBXBannerView* banner) { return sel::slot(banner); }

// Each window a banner's slot was told of (null: none).
std::vector<Object*>& windowMoves() {
    static std::vector<Object*> moves;
    return moves;
}
void (*previousWindowMove)(id, id) = nullptr;
int intrinsicInvalidations = 0;
void (*previousInvalidate)(id) = nullptr;

class BannerViewTest : public testing::SlotTest {
protected:
    BannerViewTest() {
        MSHookMessageEx(objc_getClass("YBXSlot"), sel::bannerDidMoveToWindow_,
                        +[](id self, id window) {
                            windowMoves().push_back(window);
                            previousWindowMove(self, window);
                        },
                        &previousWindowMove);
        MSHookMessageEx(objc_getClass("UIView"), sel::invalidateIntrinsicContentSize,
                        +[](id self) {
                            ++intrinsicInvalidations;
                            previousInvalidate(self);
                        },
                        &previousInvalidate);
        platform::log::clear();
    }

    // A banner on screen in a window, with a root controller and a delegate.
    Ref<YBXBannerView> placedBanner(const YBXAdSize& size = kYBXAdSizeBanner) {
        Ref<YBXBannerView> banner = bannerWithSize(size);
        sel::addSubview_(window.get(), banner.get());
        sel::setRootViewController_(banner.get(), root.get());
        sel::setDelegate_(banner.get(), delegate.get());
        return banner;
    }

    size_t pagesBuilt() const { return neighbourLog().builtAdURLFor.size(); }

    Ref<UIWindow> window = [] {
        Ref<UIWindow> w = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
        sel::makeKeyAndVisible(w.get());
        return w;
    }();
    Ref<Object> root = sel::init(alloc("UIViewController"));
    Ref<BannerDelegate> delegate = makeBannerDelegate();
};

constexpr const char* kSizeLine = "<Orvane> Unable to set adSize property with %@. Please use one of the standard ad sizes or create a custom ad size using YBXAdSizeFromCGSize.";

TEST_F(BannerViewTest, TheInitialisersAcceptOnlySizesValidForTheScreen) {
    struct Case {
        const char* name;
        YBXAdSize size;
        bool made;
    };
    const Case cases[] = {
        {"standard", kYBXAdSizeMediumRectangle, true},
        {"smart", kYBXAdSizeSmartBannerPortrait, true},
        {"custom within the screen", YBXAdSizeFromCGSize(Size{200, 120}), true},
        {"custom beyond the screen", YBXAdSizeFromCGSize(Size{2000, 50}), false},
        {"invalid", kYBXAdSizeInvalid, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::log::clear();
        Ref<YBXBannerView> banner = bannerWithSize(c.size);
        EXPECT_EQ(static_cast<bool>(banner), c.made);
        const std::string line = format(kSizeLine, Value(YBXAdSizeDescription(c.size)));
        EXPECT_EQ(platform::log::contains(line), !c.made) << line;
        EXPECT_EQ(static_cast<bool>(as<YBXBannerView>(sel::initWithFrame_adSize_(alloc("YBXBannerView"), Rect(5, 6, 1, 1), c.size))), c.made);
        if (!c.made) continue;
        EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(banner.get()), c.size));
        EXPECT_EQ(sel::frame(banner.get()).size, YBXAdSizeResolvedCGSize(c.size));
        EXPECT_EQ(sel::intrinsicContentSize(banner.get()), YBXAdSizeResolvedCGSize(c.size));
        // The slot's web view is the banner's content, configured as a banner.
        Ref<Object> webView = sel::webView(banner.get());
        EXPECT_EQ(sel::superview(webView.get()).get(), banner.get());
        EXPECT_EQ(sel::adView(banner.get()).get(), webView.get());
        EXPECT_TRUE(sel::isHidden(webView.get()));
        EXPECT_TRUE(sel::clipsToBounds(banner.get()));
        EXPECT_EQ(sel::slotDelegate(slotOf(banner.get()).get()).get(), banner.get());
        EXPECT_EQ(sel::adEventDelegate(slotOf(banner.get()).get()).get(), banner.get());
    }
    Ref<Object> placed = sel::initWithAdSize_origin_(alloc("YBXBannerView"), kYBXAdSizeBanner, Point{10, 400});
    EXPECT_EQ(sel::frame(placed.get()), Rect(10, 400, 320, 50));
    Ref<Object> framed = sel::initWithFrame_(alloc("YBXBannerView"), Rect(0, 20, 300, 250));
    ASSERT_TRUE(framed);
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(framed.get()), kYBXAdSizeMediumRectangle));
    // A plain banner starts at a custom zero size and takes its frame's size later.
    Ref<Object> plain = sel::init(alloc("YBXBannerView"));
    ASSERT_TRUE(plain);
    sel::setFrame_(plain.get(), Rect(0, 0, 320, 50));
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(plain.get()), kYBXAdSizeBanner));
}

TEST_F(BannerViewTest, TheSameSizeTwiceReloadsOnce) {
    Ref<YBXBannerView> banner = placedBanner();
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_EQ(pagesBuilt(), 1u);
    sel::setAdSize_(banner.get(), kYBXAdSizeMediumRectangle);
    EXPECT_EQ(pagesBuilt(), 2u);
    sel::setAdSize_(banner.get(), kYBXAdSizeMediumRectangle);
    EXPECT_EQ(pagesBuilt(), 2u);
    EXPECT_EQ(sel::frame(banner.get()).size, (Size{300, 250}));
    // An invalid size never reaches the slot.
    sel::setAdSize_(banner.get(), YBXAdSizeFromCGSize(Size{5000, 5000}));
    EXPECT_EQ(pagesBuilt(), 2u);
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(banner.get()), kYBXAdSizeMediumRectangle));
    EXPECT_TRUE(platform::log::contains(format(kSizeLine, Value(YBXAdSizeDescription(YBXAdSizeFromCGSize(Size{5000, 5000}))))));
}

TEST_F(BannerViewTest, FrameAndBoundsTakeOnlyANewNonZeroSize) {
    struct Case {
        const char* name;
        YBXAdSize start;
        bool bounds;
        Size size;
        bool reloads;
    };
    const Case cases[] = {
        {"frame, equal", kYBXAdSizeBanner, false, {320, 50}, false},
        {"frame, new", kYBXAdSizeBanner, false, {300, 250}, true},
        {"frame, zero", kYBXAdSizeBanner, false, {0, 0}, false},
        {"bounds, equal", kYBXAdSizeBanner, true, {320, 50}, false},
        {"bounds, new", kYBXAdSizeBanner, true, {300, 250}, true},
        {"bounds, zero", kYBXAdSizeBanner, true, {0, 0}, false},
        {"layout pass on a smart banner", kYBXAdSizeSmartBannerPortrait, true, YBXAdSizeResolvedCGSize(kYBXAdSizeSmartBannerPortrait), false},
        {"frame of a smart banner's own size", kYBXAdSizeSmartBannerPortrait, false, YBXAdSizeResolvedCGSize(kYBXAdSizeSmartBannerPortrait), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXBannerView> banner = placedBanner(c.start);
        sel::loadRequest_(banner.get(), testing::makeRequest().get());
        const size_t before = pagesBuilt();
        if (c.bounds) sel::setBounds_(banner.get(), Rect(Point{0, 0}, c.size));
        else sel::setFrame_(banner.get(), Rect(Point{0, 10}, c.size));
        EXPECT_EQ(pagesBuilt() - before, c.reloads ? 1u : 0u);
        const YBXAdSize expected = c.reloads ? YBXAdSizeFromSize(c.size) : c.start;
        EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(banner.get()), expected)) << YBXAdSizeDescription(sel::adSize(banner.get()));
    }
}

TEST_F(BannerViewTest, AViewUnderConstraintsInvalidatesItsIntrinsicSize) {
    Ref<YBXBannerView> banner = placedBanner();
    sel::setAdSize_(banner.get(), kYBXAdSizeLargeBanner);
    EXPECT_EQ(intrinsicInvalidations, 0);
    sel::setTranslatesAutoresizingMaskIntoConstraints_(banner.get(), false);
    sel::setAdSize_(banner.get(), kYBXAdSizeMediumRectangle);
    EXPECT_EQ(intrinsicInvalidations, 1);
    EXPECT_EQ(sel::intrinsicContentSize(banner.get()), (Size{300, 250}));
}

TEST_F(BannerViewTest, LoadingNeedsARootControllerAndABannerSize) {
    struct Case {
        const char* name;
        Ref<YBXBannerView> (*make)();
        bool root;
        std::string line;
    };
    const Case cases[] = {
        {"no root controller", [] { return bannerWithSize(kYBXAdSizeBanner); }, false,
         "<Orvane> Must set the rootViewController property of YBXBannerView before calling loadRequest:"},
        {"a decoded banner larger than the screen",
         [] { return as<YBXBannerView>(sel::initWithCoder_(alloc("YBXBannerView"), NSCoder::withFrame(Rect(0, 0, 2000, 50)).get())); }, true,
         format(kSizeLine, Value(YBXAdSizeDescription(YBXAdSizeFromCGSize(Size{2000, 50}))))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::log::clear();
        Ref<YBXBannerView> banner = c.make();
        ASSERT_TRUE(banner);
        Ref<BannerDelegate> d = makeBannerDelegate();
        sel::setDelegate_(banner.get(), d.get());
        if (c.root) sel::setRootViewController_(banner.get(), root.get());
        sel::loadRequest_(banner.get(), testing::makeRequest().get());
        EXPECT_TRUE(platform::log::contains(c.line)) << c.line;
        EXPECT_EQ(d->calls, std::vector<std::string>{"adView:didFailToReceiveAdWithError:"});
        EXPECT_EQ(d->codes, std::vector<long long>{YBXErrorCodeInvalidRequest});
        EXPECT_EQ(sel::YBXSlot_state(slotOf(banner.get()).get()), YBXSlotStateIdle);
        EXPECT_EQ(pagesBuilt(), 0u);
    }
    // A decoded banner of a usable size loads.
    Ref<YBXBannerView> decoded = as<YBXBannerView>(sel::initWithCoder_(alloc("YBXBannerView"), NSCoder::withFrame(Rect(0, 40, 320, 50)).get()));
    EXPECT_EQ(sel::frame(decoded.get()), Rect(0, 40, 320, 50));
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(decoded.get()), kYBXAdSizeBanner));
    sel::setRootViewController_(decoded.get(), root.get());
    sel::loadRequest_(decoded.get(), testing::makeRequest().get());
    EXPECT_EQ(pagesBuilt(), 1u);
}

TEST_F(BannerViewTest, AnyAlphaButZeroIsOpaque) {
    Ref<YBXBannerView> banner = placedBanner();
    for (auto [given, shown] : {std::pair{0.4, 1.0}, std::pair{0.0, 0.0}, std::pair{1.0, 1.0}, std::pair{0.01, 1.0}}) {
        SCOPED_TRACE(given);
        sel::setAlpha_(banner.get(), given);
        EXPECT_EQ(sel::alpha(banner.get()), shown);
    }
}

TEST_F(BannerViewTest, TheRootControllerReachesTheWebViewAndAnInnerBanner) {
    Ref<YBXBannerView> banner = placedBanner();
    EXPECT_EQ(sel::viewController(sel::webView(banner.get()).get()).get(), root.get());
    Ref<YBXBannerView> inner = bannerWithSize(kYBXAdSizeBanner);
    sel::slot_didReceiveAdView_(banner.get(), slotOf(banner.get()).get(), inner.get());
    EXPECT_EQ(sel::adView(banner.get()).get(), inner.get());
    EXPECT_EQ(sel::superview(inner.get()).get(), banner.get());
    EXPECT_FALSE(sel::superview(sel::webView(banner.get()).get()));
    EXPECT_FALSE(sel::mediatedAdView(banner.get()));  // not mediating

    Ref<Object> other = sel::init(alloc("UIViewController"));
    sel::setRootViewController_(banner.get(), other.get());
    EXPECT_EQ(sel::rootViewController(inner.get()).get(), other.get());
    EXPECT_EQ(sel::viewController(sel::webView(banner.get()).get()).get(), other.get());
    // The root controller is held weakly.
    other = nullptr;
    EXPECT_FALSE(sel::rootViewController(banner.get()));
}

// A resized creative is lifted out of its banner; the next ad in the same web
// view brings it back inside, at the banner's size.
TEST_F(BannerViewTest, TheNextAdTakesTheWebViewBackFromAResize) {
    Ref<YBXBannerView> banner = placedBanner();
    Ref<Object> web = sel::webView(banner.get());
    Ref<UIView> over = UIView::make<UIView>("UIView", Rect(0, 0, 320, 568));
    sel::addSubview_(over.get(), web.get());
    sel::setFrame_(web.get(), Rect(0, 30, 320, 250));
    sel::slot_didReceiveAdView_(banner.get(), slotOf(banner.get()).get(), web.get());
    EXPECT_EQ(sel::superview(web.get()).get(), banner.get());
    EXPECT_EQ(sel::frame(web.get()), Rect(0, 0, 320, 50));
    EXPECT_EQ(sel::adView(banner.get()).get(), web.get());
}

TEST_F(BannerViewTest, SlotEventsReachTheDelegateOnTheMainThread) {
    Ref<YBXBannerView> banner = placedBanner();
    Ref<Object> slot = slotOf(banner.get());
    for (bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "implements none" : "implements all");
        Ref<BannerDelegate> d = makeBannerDelegate(silent);
        sel::setDelegate_(banner.get(), d.get());
        sel::adFinishedLoadingContent(slot.get());
        sel::adFailedToReceiveContentWithError_(slot.get(), sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeNoFill).get());
        sel::adWillPresentScreen(slot.get());
        sel::adWillDismissScreen(slot.get());
        sel::adDidDismissScreen(slot.get());
        sel::adWillLeaveApplication(slot.get());
        const std::vector<std::string> all = {"adViewDidReceiveAd:",      "adView:didFailToReceiveAdWithError:", "adViewWillPresentScreen:",
                                              "adViewWillDismissScreen:", "adViewDidDismissScreen:",             "adViewWillLeaveApplication:"};
        EXPECT_EQ(d->calls, silent ? std::vector<std::string>{} : all);
        EXPECT_EQ(d->onMainThread, std::vector<bool>(d->calls.size(), true));
        if (!silent) {
            EXPECT_EQ(d->codes, std::vector<long long>{YBXErrorCodeNoFill});
        }
    }
}

TEST_F(BannerViewTest, WindowMovesReachTheSlot) {
    Ref<YBXBannerView> banner = bannerWithSize(kYBXAdSizeBanner);
    windowMoves().clear();
    sel::addSubview_(window.get(), banner.get());
    sel::removeFromSuperview(banner.get());
    EXPECT_EQ(windowMoves(), (std::vector<Object*>{window.get(), nullptr}));
    EXPECT_TRUE(sel::coordinatesOfContentInScreen_(banner.get(), sel::mainScreen(objc_getClass("UIScreen")).get()).isNil());
    sel::addSubview_(window.get(), banner.get());
    Value position = sel::coordinatesOfContentInScreen_(banner.get(), sel::mainScreen(objc_getClass("UIScreen")).get());
    EXPECT_EQ(position["width"], Value(320.0));
    EXPECT_EQ(sel::swipeToViewControllerView(banner.get()).get(), banner.get());
}

TEST_F(BannerViewTest, RefreshIsSkippedWhileTheBannerIsHiddenOrOffScreen) {
    Ref<YBXBannerView> banner = placedBanner();
    Ref<Object> slot = slotOf(banner.get());
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_EQ(pagesBuilt(), 1u);
    // The request ends with no fill and the next refresh is 30 s away.
    sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot.get(), nullptr, false, false);
    sel::scheduleReloadTimer_(slot.get(), 30);

    sel::setHidden_(banner.get(), true);
    platform::testing::advance(31);
    EXPECT_EQ(pagesBuilt(), 1u);
    sel::setHidden_(banner.get(), false);
    sel::removeFromSuperview(banner.get());
    platform::testing::advance(30);
    EXPECT_EQ(pagesBuilt(), 1u);
    sel::addSubview_(window.get(), banner.get());
    platform::testing::advance(30);
    EXPECT_EQ(pagesBuilt(), 2u);
    EXPECT_TRUE(sel::hasAutoRefreshed(banner.get()));
}

TEST_F(BannerViewTest, TeardownInvalidatesTheSlot) {
    Ref<YBXBannerView> banner = placedBanner();
    Ref<Object> slot = slotOf(banner.get());
    WeakRef<Object> weak(banner.get());
    sel::removeFromSuperview(banner.get());
    banner = nullptr;
    EXPECT_FALSE(weak.lock());
    EXPECT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateInvalidated);
    EXPECT_FALSE(sel::slotDelegate(slot.get()));
}

}  // namespace
}  // namespace adlib

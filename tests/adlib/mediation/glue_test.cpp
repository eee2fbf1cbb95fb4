// YBXMToYBXGlue: the type check before a waterfall, and how the manager's
// events become slot calls and notifications.
#include "adlib/mediation/glue.h"

#include "platform/foundation/notification_center.h"
#include "tests/adlib/mediation/mediation_support.h"

namespace adlib {
namespace {

using testing::Calls;
using testing::MediationTest;
using testing::TestNetwork;
using testing::bannerType;
using testing::interstitialType;
using testing::note;
using testing::takeCalls;

TEST_F(MediationTest, TheTypeCheckReportsTheFirstMismatchOnly) {
    const YBXAdSize huge = YBXAdSizeFromCGSize({2000, 2000});
    struct Case {
        const char* name;
        Ref<Object> requested;
        const char* configured;  // nullptr: no configuration
        Calls heard;
    } cases[] = {
        {"no requested type", nullptr, nullptr, {"slot fail 0 reload 1 cancel 0: Invalid requested YBXAdType: (null)."}},
        {"no configuration", bannerType(), nullptr, {"slot fail 7 reload 1 cancel 0: Invalid mediation configuration YBXAdType: (null)."}},
        {"an interstitial for a banner configuration", interstitialType(), "banner",
         {"slot fail 10 reload 1 cancel 0: Unable to request an interstitial when mediation configuration was for " +
          YBXAdSizeDescription(kYBXAdSizeBanner) + "."}},
        {"a banner for an interstitial configuration", bannerType(kYBXAdSizeMediumRectangle), "interstitial",
         {"slot fail 10 reload 1 cancel 0: Unable to request " + YBXAdSizeDescription(kYBXAdSizeMediumRectangle) +
          " when mediation configuration was for an interstitial."}},
        {"a banner of an invalid size", bannerType(huge), "banner",
         {"slot fail 10 reload 1 cancel 0: Unable to request ad with invalid size: " + YBXAdSizeDescription(huge) + "."}},
        {"another banner size than the configuration's", bannerType(kYBXAdSizeMediumRectangle), "banner", {"n1 banner 300x250"}},
        {"an interstitial", interstitialType(), "interstitial", {"n1 interstitial"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXMConfig> made = c.configured ? makeConfig({{"n1", "silent"}}, c.configured) : nullptr;
        sel::requestAdWithType_mediationConfig_(glue.get(), c.requested.get(), made.get());
        EXPECT_EQ(takeCalls(), c.heard);
        EXPECT_EQ(sel::mediationConfig(glue.get()).get(), made.get());
        sel::cancel(glue.get());
        takeCalls();
    }
}

TEST_F(MediationTest, ManagerEventsBecomeSlotCallsAndNotifications) {
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    Ref<Object> tokens[] = {
        center->addObserverForName(kYBXWillPresentFullScreenNotification, Value(),
                                   [](NSNotification* n) { note("posted will-present" + std::string(n->object().isNil() ? "" : " with object")); }),
        center->addObserverForName(kYBXDidDismissFullScreenNotification, Value(),
                                   [](NSNotification* n) { note("posted did-dismiss" + std::string(n->object().isNil() ? "" : " with object")); }),
    };
    Ref<Object> view = newObject("UIView");
    Ref<Object> interstitial = newObject("NSObject");
    Ref<Object> error = sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeServer);
    struct Case {
        const char* name;
        std::function<void(id)> send;
        Calls heard;
    } cases[] = {
        {"ad", [&](id g) { sel::ybxmDidReceiveAd_(g, view.get()); }, {"slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}},
        {"interstitial", [&](id g) { sel::ybxmDidReceiveInterstitial_(g, interstitial.get()); }, {"slot didReceiveValidAd", "slot adFinishedLoadingContent"}},
        {"failure", [&](id g) { sel::ybxmDidFailToReceiveAdWithError_(g, error.get()); },
         {"slot fail 3 reload 0 cancel 0: " + as<NSError>(error.get())->localizedDescription()}},
        {"refresh failure", [&](id g) { sel::ybxmBannerAdRefreshFailedWithError_(g, error.get()); },
         {"slot autoRefreshed", "slot contentFailed 3: " + as<NSError>(error.get())->localizedDescription()}},
        {"will present full screen", [](id g) { sel::ybxmWillPresentFullScreenModal(g); }, {"posted will-present", "slot adWillPresentScreen"}},
        {"will present interstitial", [](id g) { sel::ybxmWillPresentInterstitial(g); }, {"posted will-present", "slot adWillPresentScreen"}},
        {"will dismiss full screen", [](id g) { sel::ybxmWillDismissFullScreenModal(g); }, {"slot adWillDismissScreen"}},
        {"will dismiss interstitial", [](id g) { sel::ybxmWillDismissInterstitial(g); }, {"slot adWillDismissScreen"}},
        {"did dismiss full screen", [](id g) { sel::ybxmDidDismissFullScreenModal(g); }, {"posted did-dismiss", "slot adDidDismissScreen"}},
        {"did dismiss interstitial", [](id g) { sel::ybxmDidDismissInterstitial(g); }, {"posted did-dismiss", "slot adDidDismissScreen"}},
        {"will leave", [](id g) { sel::ybxmWillLeaveApplication(g); }, {"slot adWillLeaveApplication", "slot willLeaveAppDueToClick"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.send(glue.get());
        EXPECT_EQ(takeCalls(), c.heard);
    }
    EXPECT_EQ(slot->shownView.get(), view.get());
    EXPECT_EQ(sel::mediatedInterstitial(glue.get()).get(), interstitial.get());
    // Held weakly: the network's interstitial is the network's.
    interstitial = nullptr;
    EXPECT_FALSE(sel::mediatedInterstitial(glue.get()));
    for (const Ref<Object>& token : tokens) center->removeObserver(token.get());
}

TEST_F(MediationTest, TargetingAndTimingsComeFromTheSlot) {
    id request = slot->request.get();
    sel::setGender_(request, 2);
    sel::setKeywords_(request, Value::array({Value("clock")}));
    sel::tagForChildDirectedTreatment_(request, true);
    sel::setTesting_(request, true);
    sel::setLocationWithDescription_(request, Value("Main Street"));
    EXPECT_EQ(sel::userGender(glue.get()), 2);
    EXPECT_EQ(sel::userKeywords(glue.get()), Value::array({Value("clock")}));
    EXPECT_EQ(sel::childDirectedTreatment(glue.get()), Value(true));
    EXPECT_EQ(sel::ybxmTestMode(glue.get()), sel::isATestDevice(request));
    EXPECT_EQ(sel::userLocation(glue.get()).get(), sel::location(request).get());
    EXPECT_EQ(sel::userBirthday(glue.get()), sel::birthday(request));

    Ref<Object> extras = newObject("YBXMarlexExtras");
    sel::registerAdNetworkExtras_(request, extras.get());
    EXPECT_EQ(sel::networkExtrasFor_(glue.get(), objc_getClass("YBXMarlexExtras")).get(), extras.get());

    // No delegate on the slot: no presenting controller; with one, its root view controller.
    EXPECT_FALSE(sel::viewControllerForPresentingModalView(glue.get()));
    slot->delegate = newObject("TestSlotDelegate");
    EXPECT_TRUE(isKindOfClass(sel::viewControllerForPresentingModalView(glue.get()), "UIViewController"));

    sel::startTimingAdapter(glue.get());
    RunLoop::main().advance(0.25);
    sel::endTimingAdapterWithExitCode_(glue.get(), 3);
    EXPECT_EQ(sel::adapterExitCodesParameter(glue.get()), Value("3"));
    EXPECT_EQ(sel::adapterDurationsParameter(glue.get()), Value("250"));
    EXPECT_EQ(sel::adapterExitCodesParameter(slot->stats.get()), Value("3"));
    sel::resetTimingAdapters(glue.get());
    EXPECT_TRUE(sel::adapterExitCodesParameter(slot->stats.get()).isNil());
}

TEST_F(MediationTest, OnlyABannerOnShowChangesToAnotherBanner) {
    mediate({{"n1", "fill"}});
    takeCalls();
    struct Case {
        const char* name;
        Ref<Object> current, wanted;
        bool changed;
        Calls heard;
    } cases[] = {
        {"banner to banner", bannerType(), bannerType(kYBXAdSizeLargeBanner), true, {"n1 size 320x100"}},
        {"banner to interstitial", bannerType(), interstitialType(), false, {}},
        {"interstitial to banner", interstitialType(), bannerType(), false, {}},
        {"no new type", bannerType(), nullptr, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        slot->adType = c.current;
        EXPECT_EQ(sel::changeAdTypeTo_(glue.get(), c.wanted.get()), c.changed);
        EXPECT_EQ(takeCalls(), c.heard);
    }
    // Presenting is for interstitial slots only.
    slot->adType = bannerType();
    sel::presentInterstitialFromRootViewController_(glue.get(), nullptr);
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(MediationTest, WithoutANetworkOnShowTheSlotReloadsInstead) {
    mediate({{"n1", "silent"}});
    takeCalls();
    EXPECT_FALSE(sel::changeAdTypeTo_(glue.get(), bannerType(kYBXAdSizeLargeBanner).get()));
    EXPECT_TRUE(takeCalls().empty());
}

}  // namespace
}  // namespace adlib

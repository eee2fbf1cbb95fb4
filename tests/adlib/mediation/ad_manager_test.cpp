// The waterfall of YBXMAdManager, driven through the glue of a recording slot
// with test network adapters, on the virtual clock.
#include "adlib/mediation/ad_manager.h"

#include <algorithm>

#include "adlib/foundation/configuration.h"
#include "tests/adlib/mediation/mediation_support.h"

namespace adlib {
namespace {

using testing::Calls;
using testing::MediationTest;
using testing::TestNetwork;
using testing::adapterFor;
using testing::takeCalls;

bool has(const Calls& calls, const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

// The calls that are not an adapter's stopBeingDelegate (connectors stop theirs more than once as they go).
Calls withoutStops(const Calls& calls) {
    Calls out;
    for (const std::string& call : calls)
        if (call.size() < 5 || call.compare(call.size() - 5, 5, " stop") != 0) out.push_back(call);
    return out;
}

constexpr const char* kNoFillFailure = "slot fail 9 reload 0 cancel 0: Request Error: No ad to show from all configured ad networks.";

TEST_F(MediationTest, EachFailureKindHasItsExitCodeAndASilentNetworkCostsTheTimeOut) {
    mediate({{"n1", "fill", "NoSuchAdapter"}, {"n2", "silent"}, {"n3", "nofill"}});
    // No adapter class: the next network at once.
    EXPECT_EQ(takeCalls(), Calls{"n2 banner 320x50"});
    EXPECT_TRUE(sel::requestInProgress(manager()));

    RunLoop::main().advance(9.99);
    EXPECT_TRUE(takeCalls().empty());
    RunLoop::main().advance(0.02);
    Calls calls = takeCalls();
    EXPECT_TRUE(has(calls, "n2 stop"));
    EXPECT_EQ(withoutStops(calls), (Calls{"n3 banner 320x50", kNoFillFailure}));

    const Calls sent = pings();
    ASSERT_EQ(sent.size(), 1u);
    const std::string start = "GET " + YBXAdServerBaseURL() + "/nofill?ad_loc=unit-7&qdata=q1&js=";
    EXPECT_EQ(sent[0].rfind(start, 0), 0u) << sent[0];
    EXPECT_NE(sent[0].find("&aec=4,3,1&adt=0,10000,0"), std::string::npos) << sent[0];
    EXPECT_FALSE(sel::requestInProgress(manager()));
    EXPECT_FALSE(sel::adNetworkTimeoutTimer(manager()));
}

TEST_F(MediationTest, TheNoFillPingFollowsTheConfiguration) {
    struct Case {
        const char* settings;
        std::size_t pings;
    } cases[] = {
        {R"({"nofill_urls": []})", 0},
        {"{}", 1},
        {R"({"nofill_urls": ["http://t.example/a?s=@gw_seqnum@&aec=@gw_aec@", 5, "http://t.example/b?s=@gw_seqnum@"]})", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        mediate({{"n1", "error"}}, "banner", c.settings);
        EXPECT_EQ(withoutStops(takeCalls()), (Calls{"n1 banner 320x50", kNoFillFailure}));
        const Calls sent = pings();
        ASSERT_EQ(sent.size(), c.pings);
        if (c.pings == 2) {
            EXPECT_EQ(sent[0].rfind("GET http://t.example/a?s=", 0), 0u) << sent[0];
            EXPECT_NE(sent[0].find("&aec=2"), std::string::npos) << sent[0];
            EXPECT_EQ(sent[1].rfind("GET http://t.example/b?s=", 0), 0u) << sent[1];
            // One fresh sequence number per URL.
            const std::string first = sent[0].substr(25, sent[0].find('&') - 25);
            EXPECT_NE(first, sent[1].substr(25)) << first;
        }
    }
}

TEST_F(MediationTest, AnEmptyWaterfallEndsAtOnce) {
    mediate({});
    EXPECT_EQ(takeCalls(), Calls{kNoFillFailure});
    EXPECT_EQ(pings().size(), 1u);
}

TEST_F(MediationTest, TheFirstNetworkThatDeliversEndsTheWaterfall) {
    mediate({{"n1", "error"}, {"n2", "fill"}, {"n3", "fill"}});
    EXPECT_EQ(withoutStops(takeCalls()),
              (Calls{"n1 banner 320x50", "n2 banner 320x50", "slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}));
    EXPECT_EQ(slot->shownView.get(), adapterFor("n2")->view.get());
    EXPECT_EQ(sel::receivedConnector(manager()).get(), sel::requestingConnector(manager()).get());
    EXPECT_FALSE(sel::requestInProgress(manager()));
    // The impression ping carries the turns so far: an error, then an ad.
    const Calls sent = pings();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find("/imp?ad_loc=unit-7&qdata=q1&ad_network_id=n2&"), std::string::npos) << sent[0];
    EXPECT_NE(sent[0].find("&nr=0&adt=0,0&aec=2,0"), std::string::npos) << sent[0];
    // Its time-out is over: nothing more happens.
    RunLoop::main().advance(20);
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(MediationTest, AFailedRefreshOfTheBannerOnShowIsARefreshFailure) {
    mediate({{"n1", "fill"}, {"n2", "fill"}});
    takeCalls();
    Ref<Object> error = NSError::errorWithDomain("net.example", 5);
    adapterFor("n1")->fail(false, error.get());
    const std::string refreshFailed = "slot contentFailed 3: " + as<NSError>(error.get())->description();
    EXPECT_EQ(takeCalls(), (Calls{"slot autoRefreshed", refreshFailed}));
    // The banner on show stays; the next network is not asked.
    EXPECT_TRUE(sel::receivedConnector(manager()));
    adapterFor("n1")->deliver(false);
    EXPECT_EQ(takeCalls(), (Calls{"slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}));
}

TEST_F(MediationTest, TheBannerOnShowLeavesANewWaterfallAlone) {
    mediate({{"n1", "fill"}});
    // The slot's refresh brings a new response while n1's banner is on show.
    mediate({{"n2", "silent"}, {"n3", "fill"}});
    takeCalls();
    Ref<Object> asking = sel::requestingConnector(manager());
    ASSERT_TRUE(asking);

    // n1 refreshes its banner, then fails a refresh: both reach the slot, and n2's turn runs on.
    adapterFor("n1")->deliver(false);
    Ref<Object> error = NSError::errorWithDomain("net.example", 5);
    adapterFor("n1")->fail(false, error.get());
    const std::string refreshFailed = "slot contentFailed 3: " + as<NSError>(error.get())->description();
    EXPECT_EQ(takeCalls(), (Calls{"slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent", "slot autoRefreshed", refreshFailed}));
    EXPECT_EQ(sel::requestingConnector(manager()).get(), asking.get());
    EXPECT_TRUE(sel::requestInProgress(manager()));
    ASSERT_TRUE(sel::adNetworkTimeoutTimer(manager()));

    // n2's time-out still ends its turn; n3 delivers and replaces n1.
    RunLoop::main().advance(10.01);
    EXPECT_EQ(withoutStops(takeCalls()), (Calls{"n3 banner 320x50", "slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}));
    EXPECT_EQ(slot->shownView.get(), adapterFor("n3")->view.get());
    EXPECT_FALSE(adapterFor("n1"));  // its connector let go of it
}

TEST_F(MediationTest, WhileAWaterfallRunsOnlyTypeAndConfigurationChange) {
    mediate({{"n1", "silent"}, {"n2", "fill"}});
    takeCalls();
    Ref<YBXMConfig> second = makeConfig({{"n9", "fill"}});
    Ref<Object> largeBanner = testing::bannerType(kYBXAdSizeLargeBanner);
    sel::mediateForAdType_config_(manager(), largeBanner.get(), second.get());
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_EQ(sel::config(manager()).get(), second.get());
    // The running waterfall goes on with its own networks, asking for the new size.
    RunLoop::main().advance(10.01);
    EXPECT_EQ(withoutStops(takeCalls()), (Calls{"n2 banner 320x100", "slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}));
}

TEST_F(MediationTest, AfterTheSlotCancelledTheNextResponseIsServed) {
    mediate({{"n1", "silent"}});
    takeCalls();
    // A passback: the slot cancels its pending actions, and with them the glue.
    sel::cancel(glue.get());
    EXPECT_TRUE(has(takeCalls(), "n1 stop"));
    EXPECT_FALSE(sel::requestInProgress(manager()));
    EXPECT_FALSE(sel::requestingConnector(manager()));
    RunLoop::main().advance(20);
    EXPECT_TRUE(takeCalls().empty());

    mediate({{"n2", "fill"}});
    EXPECT_EQ(takeCalls(), (Calls{"n2 banner 320x50", "slot view", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}));
}

TEST_F(MediationTest, AnInterstitialIsKeptAndPresentedByItsNetwork) {
    slot->adType = testing::interstitialType();
    mediate({{"n1", "nofill"}, {"n2", "fill"}}, "interstitial");
    EXPECT_EQ(withoutStops(takeCalls()), (Calls{"n1 interstitial", "n2 interstitial", "slot didReceiveValidAd", "slot adFinishedLoadingContent"}));
    EXPECT_EQ(sel::mediatedInterstitial(glue.get()).get(), adapterFor("n2")->view.get());
    EXPECT_FALSE(sel::requestingConnector(manager()));
    EXPECT_TRUE(pings().empty());  // seen only once presented
    EXPECT_EQ(sel::adapterExitCodesParameter(slot->stats.get()), Value("1,0"));

    sel::presentInterstitialFromRootViewController_(glue.get(), nullptr);
    EXPECT_EQ(takeCalls(), Calls{"n2 present"});
    // A banner-only size change is refused.
    EXPECT_FALSE(sel::changeAdTypeTo_(glue.get(), testing::bannerType().get()));
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(MediationTest, ADestroyedGlueLeavesNoRunningTimeOut) {
    mediate({{"n1", "silent"}, {"n2", "fill"}});
    takeCalls();
    WeakRef<Object> weakManager(manager());
    glue = nullptr;
    EXPECT_FALSE(weakManager.lock());
    RunLoop::main().advance(20);
    EXPECT_EQ(withoutStops(takeCalls()), Calls{});
}

}  // namespace
}  // namespace adlib

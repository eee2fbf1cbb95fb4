// YBXMAdapterOrvaneMarlexAds: the inner request it makes from the connector's
// targeting and the network's entry, the ad it loads, and how the ad's events
// reach the connector.
#include "adlib/mediation/adapter_marlex.h"

#include "adlib/foundation/device.h"
#include "adlib/mediation/ad_network_adapter.h"
#include "adlib/mediation/connector.h"
#include "adlib/pipeline/extras.h"
#include "tests/adlib/mediation/mediation_support.h"

namespace adlib {
namespace {

using testing::Calls;
using testing::MediationTest;
using testing::note;
using testing::RecordingConnector;
using testing::registerRecordingConnector;
using testing::takeCalls;

// The mediating slot's web view delegate, as far as the adapter reads it.
class OpenerHolder : public NSObject {
public:
    Ref<Object> opener = newObject("YBXOpener");
};

// Holds the root view controller that the slot's delegate hands out.
class RootHolder : public NSObject {
public:
    Ref<Object> controller = newObject("UIViewController");
};

class MarlexAdapterTest : public MediationTest {
protected:
    MarlexAdapterTest() {
        ClassBuilder<RootHolder>("RootHolder", "NSObject").method(sel::rootViewController, [](id self) { return as<RootHolder>(self)->controller; });
        ClassBuilder<OpenerHolder>("OpenerHolder", "NSObject").method(sel::opener, [](id self) { return as<OpenerHolder>(self)->opener; });
        slot->delegate = newObject("RootHolder");
    }

    // A connector of the configuration's network at `index`, talking to the glue, and its adapter.
    Ref<Object> connect(const std::string& networks, std::size_t index = 0) {
        config = makeConfig(networks);
        connector = sel::initWithConfig_networkConfig_(alloc("YBXMAdNetworkConnectorBanner"), config.get(),
                                                       config->adNetworkConfigs.at(index).get());
        sel::setYbxmDelegate_(connector.get(), glue.get());
        sel::setAdManager_(connector.get(), manager());
        return sel::adapter(connector.get());
    }

    Ref<Object> connector;
};

constexpr const char* kOwnNetwork = R"({"id": "own", "adapters": ["YBXMAdapterOrvaneMarlexAds"],)";

TEST_F(MarlexAdapterTest, TheInnerRequestCarriesTheTargetingTheExtrasAndTheWaterfall) {
    const std::string deviceID = YBXDevice::currentDevice()->deviceIdentifier();
    Ref<Object> request = slot->request;
    sel::setTestDevices_(request.get(), Value(Value::Array{Value(deviceID)}));
    sel::setGender_(request.get(), 2);
    sel::setKeywords_(request.get(), Value(Value::Array{Value("alarm"), Value("clock")}));
    sel::tagForChildDirectedTreatment_(request.get(), true);
    sel::setLocationWithLatitude_longitude_accuracy_(request.get(), 52.5, 13.4, 20);
    // The publisher's extras for our network: kept, but "gw" is always ours.
    sel::registerAdNetworkExtras_(request.get(), YBXMarlexExtras::make(Value{{"pub", Value("p")}, {"gw", Value("0")}}).get());

    Ref<Object> adapter = connect(std::string("[") + R"({"id": "first", "adapters": ["NoSuchAdapter", "Other"], "data": {}}, )" + kOwnNetwork +
                                  R"( "data": {"pubid": "unit-9", "mad_hac": "hac-1", "pendrel_share_location": "1"},
                                      "extras": {"color": "red", "count": 3}, "ad": {"html": "<b>x</b>"}}])",
                                  1);
    ASSERT_TRUE(adapter);
    EXPECT_EQ(adapter->isa()->name(), "YBXMAdapterOrvaneMarlexAds");
    Ref<Object> inner = sel::request(adapter.get());

    EXPECT_EQ(sel::testDevices(inner.get()), Value(Value::Array{Value("Simulator"), Value(deviceID)}));
    EXPECT_EQ(sel::childDirectedTreatment(inner.get()), Value(true));
    EXPECT_EQ(sel::gender(inner.get()), 2);
    EXPECT_EQ(sel::keywords(inner.get()), Value(Value::Array{Value("alarm"), Value("clock")}));
    Ref<Object> location = sel::location(inner.get());
    ASSERT_TRUE(location);
    EXPECT_DOUBLE_EQ(sel::latitude(location.get()), 52.5);
    EXPECT_DOUBLE_EQ(sel::longitude(location.get()), 13.4);

    Ref<Object> extras = sel::adNetworkExtrasFor_(inner.get(), objc_getClass("YBXMarlexExtras"));
    ASSERT_TRUE(extras);
    EXPECT_EQ(sel::additionalParameters(extras.get()), (Value{{"pub", Value("p")},
                                                             {"gw", Value("1")},
                                                             {"mad_hac", Value("hac-1")},
                                                             {"color", Value("red")},
                                                             {"_ad", Value{{"html", Value("<b>x</b>")}}}}));
    EXPECT_EQ(sel::privateMediationExtras(inner.get()),
              (Value{{"man", Value(Value::Array{Value(Value::Array{Value("NoSuchAdapter"), Value("Other")}),
                                                Value(Value::Array{Value("YBXMAdapterOrvaneMarlexAds")})})},
                     {"mcan", Value("YBXMAdapterOrvaneMarlexAds")}}));
}

TEST_F(MarlexAdapterTest, WithoutTargetingTheInnerRequestHasOnlyOurParameters) {
    struct Case {
        const char* name;
        const char* data;
        Value parameters;
    } cases[] = {
        {"no credentials", R"({})", Value{{"gw", Value("1")}}},
        // A credential that should be text and is not counts as missing.
        {"a number for mad_hac", R"({"mad_hac": 7})", Value{{"gw", Value("1")}}},
        {"a location description only", R"({"pendrel_share_location": "1"})", Value{{"gw", Value("1")}}},
    };
    sel::setLocationWithDescription_(slot->request.get(), Value("Berlin"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Object> adapter = connect(std::string("[") + kOwnNetwork + R"( "data": )" + c.data + "}]");
        Ref<Object> inner = sel::request(adapter.get());
        EXPECT_TRUE(sel::testDevices(inner.get()).isNil());
        EXPECT_TRUE(sel::childDirectedTreatment(inner.get()).isNil());
        EXPECT_EQ(sel::additionalParameters(sel::adNetworkExtrasFor_(inner.get(), objc_getClass("YBXMarlexExtras")).get()), c.parameters);
        Ref<Object> location = sel::location(inner.get());
        if (std::string(c.name) == "a location description only") {
            ASSERT_TRUE(location);
            EXPECT_EQ(sel::locationDescription(location.get()), Value("Berlin"));
        } else {
            EXPECT_FALSE(location);
        }
    }
}

TEST_F(MarlexAdapterTest, TheBannerIsOursForThePublisherIDAndTakesTheAutoClickFlag) {
    for (bool protectedSlot : {true, false}) {
        SCOPED_TRACE(protectedSlot ? "mediating slot protected" : "mediating slot unprotected");
        Ref<Object> webViewDelegate = newObject("OpenerHolder");
        slot->webViewDelegate = webViewDelegate;
        sel::setAutoClickProtected_(sel::opener(webViewDelegate.get()).get(), protectedSlot);

        Ref<Object> adapter = connect(std::string("[") + kOwnNetwork + R"( "data": {"pubid": "unit-9"}}])");
        sel::getBannerWithSize_(adapter.get(), kYBXAdSizeMediumRectangle);
        Ref<Object> banner = sel::banner(adapter.get());
        ASSERT_TRUE(banner);
        EXPECT_TRUE(sel::createdOnMediationRequest(banner.get()));
        EXPECT_EQ(sel::adUnitID(banner.get()), Value("unit-9"));
        EXPECT_EQ(sel::delegate(banner.get()).get(), adapter.get());
        EXPECT_EQ(sel::rootViewController(banner.get()).get(), as<RootHolder>(slot->delegate)->controller.get());
        EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(banner.get()), kYBXAdSizeMediumRectangle));
        Ref<Object> innerOpener = sel::opener(sel::webViewDelegate(sel::slot(banner.get()).get()).get());
        EXPECT_EQ(sel::autoClickProtected(innerOpener.get()), protectedSlot);

        sel::stopBeingDelegate(adapter.get());
        EXPECT_FALSE(sel::delegate(banner.get()));
    }
}

TEST_F(MarlexAdapterTest, EventsOfTheAdReachTheConnectorInOrder) {
    registerRecordingConnector();
    Ref<Object> connector = newObject("RecordingConnector");
    Ref<Object> adapter = sel::initWithYBXMAdNetworkConnector_(alloc("YBXMAdapterOrvaneMarlexAds"), connector.get());
    Ref<Object> ad = newObject("NSObject");
    Ref<Object> error = NSError::errorWithDomain("net.example", 3);
    struct Case {
        const char* name;
        std::function<void()> event;
        Calls heard;
    } cases[] = {
        {"received", [&] { sel::adViewDidReceiveAd_(adapter.get(), ad.get()); }, {"didReceiveAdView with object"}},
        {"failed", [&] { sel::adView_didFailToReceiveAdWithError_(adapter.get(), ad.get(), error.get()); }, {"didFailAd"}},
        {"will present", [&] { sel::adViewWillPresentScreen_(adapter.get(), ad.get()); }, {"click", "willPresentFullScreenModal"}},
        {"will dismiss", [&] { sel::adViewWillDismissScreen_(adapter.get(), ad.get()); }, {"willDismissFullScreenModal"}},
        {"did dismiss", [&] { sel::adViewDidDismissScreen_(adapter.get(), ad.get()); }, {"didDismissFullScreenModal"}},
        {"will leave", [&] { sel::adViewWillLeaveApplication_(adapter.get(), ad.get()); }, {"click", "willLeaveApplication"}},
        {"interstitial received", [&] { sel::interstitialDidReceiveAd_(adapter.get(), ad.get()); }, {"didReceiveInterstitial with object"}},
        {"interstitial failed", [&] { sel::interstitial_didFailToReceiveAdWithError_(adapter.get(), ad.get(), error.get()); },
         {"didFailInterstitial"}},
        {"interstitial will present", [&] { sel::interstitialWillPresentScreen_(adapter.get(), ad.get()); }, {"willPresentInterstitial"}},
        {"interstitial will dismiss", [&] { sel::interstitialWillDismissScreen_(adapter.get(), ad.get()); }, {"willDismissInterstitial"}},
        {"interstitial did dismiss", [&] { sel::interstitialDidDismissScreen_(adapter.get(), ad.get()); }, {"didDismissInterstitial"}},
        {"interstitial will leave", [&] { sel::interstitialWillLeaveApplication_(adapter.get(), ad.get()); }, {"willLeaveApplication"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.event();
        EXPECT_EQ(takeCalls(), c.heard);
    }
    // The connector is held weakly: once it is gone nothing is sent.
    connector = nullptr;
    sel::adViewWillPresentScreen_(adapter.get(), ad.get());
    EXPECT_TRUE(takeCalls().empty());
}

TEST(AdapterDiscovery, TheBuiltInAdaptersAreListed) {
    testing::AdLibEnvironment env;
    const Value names = YBXMAvailableAdapterNames();
    for (const char* name : {"YBXMAdapterOrvaneMarlexAds", "YBXMAdapterCustomEvents"}) {
        SCOPED_TRACE(name);
        bool listed = false;
        for (const Value& each : names.array()) listed = listed || each == Value(name);
        EXPECT_TRUE(listed);
        EXPECT_TRUE(YBXMClassImplementsCurrentAdapterAPI(objc_getClass(name)));
    }
}

}  // namespace
}  // namespace adlib

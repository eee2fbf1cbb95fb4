#include "adlib/mediation/connector.h"

#include <gtest/gtest.h>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "adlib/mediation/protocols.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// Everything a test double hears, in order.
class Recorder : public NSObject {
public:
    std::vector<std::string> calls;
    WeakRef<Object> connector;  // an adapter's
};

// Whether the delegate's location is precise.
bool gPreciseLocation = true;

Recorder* recorder(id self) { return as<Recorder>(self); }
void note(id self, std::string call) { recorder(self)->calls.push_back(std::move(call)); }

// An adapter that records what its connector asks; "TestPlainAdapter" has no network-extras class.
void registerAdapter(const char* name, bool withExtras) {
    ClassBuilder<Recorder> builder(name, "NSObject");
    builder.protocol(kYBXMAdNetworkAdapterProtocol)
        .method(sel::initWithYBXMAdNetworkConnector_,
                [](id self, id connector) {
                    recorder(self)->connector = connector;
                    note(self, "init");
                    return Ref<Object>(self);
                })
        .method(sel::getBannerWithSize_, [](id self, YBXAdSize size) { note(self, format("banner %gx%g", size.size.width, size.size.height)); })
        .method(sel::getInterstitial, [](id self) { note(self, "interstitial"); })
        .method(sel::stopBeingDelegate, [](id self) { note(self, "stop"); })
        .method(sel::isBannerAnimationOK_, [](id, long long type) { return type == 3; });
    if (withExtras) builder.classMethod(sel::networkExtrasClass, [](id) { return objc_getClass("TestExtras"); });
}

void registerTestClasses() {
    registerAdapter("TestAdapter", true);
    registerAdapter("TestPlainAdapter", false);
    ClassBuilder<NSObject>("TestExtras", "NSObject");
    ClassBuilder<NSObject>("TestLocation", "NSObject")
        .method(sel::isPreciseLocation, [](id) { return gPreciseLocation; })
        .method(sel::latitude, [](id) { return 48.5; })
        .method(sel::longitude, [](id) { return 9.25; })
        .method(sel::accuracy, [](id) { return 12.0; })
        .method(sel::locationDescription, [](id) { return Value("Main Street"); });

    ClassBuilder<Recorder>("TestMediationManager", "NSObject")
        .method(sel::adRequestReturnsFromConnector_withView_, [](id self, id, id view) { note(self, view ? "view" : "view (none)"); })
        .method(sel::adRequestReturnsFromConnector_withInterstitial_, [](id self, id, id) { note(self, "interstitial"); })
        .method(sel::adRequestFailedFromConnector_withError_, [](id self, id, id error) {
            note(self, "fail " + (as<NSError>(error) ? std::to_string(as<NSError>(error)->code()) : std::string("none")));
        });

    // A delegate that answers every question; "TestBareDelegate" answers none.
    ClassBuilder<Recorder>("TestBareDelegate", "NSObject");
    ClassBuilder<Recorder> delegate("TestMediationDelegate", "NSObject");
    delegate.protocol(kYBXMDelegateProtocol);
    delegate.method(sel::ybxmWillPresentFullScreenModal, [](id self) { note(self, "willPresentFullScreenModal"); })
        .method(sel::ybxmWillDismissFullScreenModal, [](id self) { note(self, "willDismissFullScreenModal"); })
        .method(sel::ybxmDidDismissFullScreenModal, [](id self) { note(self, "didDismissFullScreenModal"); })
        .method(sel::ybxmWillPresentInterstitial, [](id self) { note(self, "willPresentInterstitial"); })
        .method(sel::ybxmWillDismissInterstitial, [](id self) { note(self, "willDismissInterstitial"); })
        .method(sel::ybxmDidDismissInterstitial, [](id self) { note(self, "didDismissInterstitial"); })
        .method(sel::ybxmWillLeaveApplication, [](id self) { note(self, "willLeaveApplication"); })
        .method(sel::resetTimingAdapters, [](id self) { note(self, "resetTimingAdapters"); })
        .method(sel::adapterDurationsParameter, [](id) { return Value("120,35"); })
        .method(sel::adapterExitCodesParameter, [](id) { return Value("4,0"); })
        .method(sel::ybxmTestMode, [](id) { return true; })
        .method(sel::networkExtrasFor_,
                [](id self, Class* cls) {
                    note(self, "extras for " + (cls ? cls->name() : std::string("(none)")));
                    return newObject("TestExtras");
                })
        .method(sel::viewControllerForPresentingModalView, [](id) { return newObject("UIViewController"); })
        .method(sel::userGender, [](id) { return 2LL; })
        .method(sel::userBirthday, [](id) { return Value(Date{1000}); })
        .method(sel::userKeywords, [](id) { return Value::array({Value("k")}); })
        .method(sel::childDirectedTreatment, [](id) { return Value(true); })
        .method(sel::userLocation, [](id) { return newObject("TestLocation"); });
}

constexpr const char* kBannerResponse = R"({"ad_type": "banner", "qdata": "q1",
    "settings": {"imp_urls": ["http://t.example/imp?nr=@gw_adnetrefresh@&adt=@gw_adt@&aec=@gw_aec@"],
                 "click_urls": ["http://t.example/clk?nr=@gw_adnetrefresh@&id=@gw_adnetid@&al=@gw_allocid@"]},
    "ad_networks": [{"id": "n1", "allocation_id": "al-1", "data": %@}]})";

class Connectors : public ::testing::Test {
protected:
    Connectors() {
        registerTestClasses();
        network::setTransport(transport);
        delegate = as<Recorder>(newObject("TestMediationDelegate"));
        manager = as<Recorder>(newObject("TestMediationManager"));
    }

    Ref<YBXMAdNetworkConnector> connect(const char* kind, const char* credentials = R"({"pubid": "p"})", const char* adapter = "TestAdapter",
                                        const char* response = kBannerResponse) {
        Ref<NSError> error;
        config = as<YBXMConfig>(sel::initWithAppKey_configDict_error_(alloc("YBXMConfig"), Value("unit-7"),
                                                                      readJsonIntoDictionary(format(response, credentials)), &error));
        EXPECT_TRUE(config);
        if (!config || config->adNetworkConfigs.empty()) return nullptr;
        // The connector is tested apart from the adapter choice: its network names the class itself.
        config->adNetworkConfigs[0]->adapterClass = objc_getClass(adapter);
        Ref<YBXMAdNetworkConnector> c = as<YBXMAdNetworkConnector>(
            sel::initWithConfig_networkConfig_(alloc(kind), config.get(), config->adNetworkConfigs[0].get()));
        sel::setYbxmDelegate_(c.get(), delegate.get());
        sel::setAdManager_(c.get(), manager.get());
        return c;
    }
    static Recorder* adapterOf(YBXMAdNetworkConnector* c) { return as<Recorder>(sel::adapter(c).get()); }
    // The pings sent so far, and forgets them.
    std::vector<std::string> pings() {
        RunLoop::main().advance(1);
        std::vector<std::string> log = transport->log();
        std::vector<std::string> fresh(log.begin() + static_cast<std::ptrdiff_t>(seen), log.end());
        seen = log.size();
        return fresh;
    }
    std::vector<std::string> heard() { return std::exchange(delegate->calls, {}); }
    std::vector<std::string> managed() { return std::exchange(manager->calls, {}); }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<Recorder> delegate;
    Ref<Recorder> manager;
    Ref<YBXMConfig> config;
    std::size_t seen = 0;
};

using Calls = std::vector<std::string>;

TEST_F(Connectors, CredentialsAndLocation) {
    const Value pubid(Value::Dictionary{{"pubid", Value("p")}});
    struct Case {
        const char* credentials;
        bool precise;
        Value adapterSees;
        bool shared;
        bool hasLocation;
    } cases[] = {
        {R"({"pubid": "p", "pendrel_share_location": "1"})", true, pubid, true, true},
        {R"({"pubid": "p", "pendrel_share_location": "0"})", true, pubid, false, false},
        {R"({"pubid": "p", "pendrel_share_location": 1})", true, pubid, false, false},
        {R"({"pubid": "p"})", true, pubid, false, false},
        {R"({"pendrel_share_location": "1"})", false, Value(Value::Dictionary{}), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.credentials);
        gPreciseLocation = c.precise;
        Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner", c.credentials);
        ASSERT_TRUE(connector);
        EXPECT_EQ(adapterOf(connector)->calls, Calls{"init"});
        EXPECT_EQ(adapterOf(connector)->connector.lock().get(), connector.get());
        EXPECT_EQ(sel::credentials(connector), c.adapterSees);
        EXPECT_EQ(sel::shareLocation(connector), c.shared);
        EXPECT_EQ(sel::userHasLocation(connector), c.hasLocation);
        EXPECT_EQ(sel::userLatitude(connector), c.hasLocation ? 48.5 : 0);
        EXPECT_EQ(sel::userLongitude(connector), c.hasLocation ? 9.25 : 0);
        EXPECT_EQ(sel::userLocationAccuracyInMeters(connector), c.hasLocation ? 12.0 : 0);
        // Without precision the location is only its description.
        EXPECT_EQ(sel::userLocationDescription(connector), c.shared ? Value("Main Street") : Value());
    }
}

TEST_F(Connectors, AnswersComeFromTheDelegateWhenItHasThem) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    EXPECT_EQ(sel::publisherId(connector), Value("p"));
    EXPECT_TRUE(sel::testMode(connector));
    EXPECT_EQ(sel::userGender(connector), 2);
    EXPECT_EQ(sel::userBirthday(connector), Value(Date{1000}));
    EXPECT_EQ(sel::userKeywords(connector), Value::array({Value("k")}));
    EXPECT_EQ(sel::childDirectedTreatment(connector), Value(true));
    EXPECT_TRUE(isKindOfClass(sel::viewControllerForPresentingModalView(connector), "UIViewController"));
    EXPECT_TRUE(isKindOfClass(sel::networkExtras(connector), "TestExtras"));
    EXPECT_EQ(heard(), Calls{"extras for TestExtras"});

    // A delegate that implements nothing is never sent what it lacks.
    Ref<Object> bare = newObject("TestBareDelegate");
    sel::setYbxmDelegate_(connector.get(), bare.get());
    EXPECT_FALSE(sel::testMode(connector));
    EXPECT_EQ(sel::userGender(connector), 0);
    EXPECT_TRUE(sel::userBirthday(connector).isNil());
    EXPECT_TRUE(sel::childDirectedTreatment(connector).isNil());
    EXPECT_FALSE(sel::viewControllerForPresentingModalView(connector));
    EXPECT_FALSE(sel::networkExtras(connector));
    sel::adapterWillPresentFullScreenModal_(connector.get(), sel::adapter(connector).get());

    // An adapter class without a network-extras class gets none, and the publisher hears why.
    connector = connect("YBXMAdNetworkConnectorBanner", R"({"pubid": 5})", "TestPlainAdapter");
    EXPECT_EQ(sel::publisherId(connector), Value("5"));
    EXPECT_FALSE(sel::networkExtras(connector));
    EXPECT_TRUE(heard().empty());
    EXPECT_TRUE(
        log::contains("<Orvane> Adapter class TestPlainAdapter does not response to SEL: networkExtrasClass. Unable to retrieve network extras."));
}

TEST_F(Connectors, AskingForAnAd) {
    struct Case {
        const char* name;
        Ref<Object> type;
        Calls asked;
    } cases[] = {
        {"a banner of a size for the screen", sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), kYBXAdSizeBanner), {"init", "banner 320x50"}},
        {"an interstitial", sel::interstitialAdType(objc_getClass("YBXAdType")), {"init", "interstitial"}},
        {"the invalid size", sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), kYBXAdSizeInvalid), {"init"}},
        {"a size larger than the screen", sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), YBXAdSizeFromCGSize({2000, 2000})), {"init"}},
        {"no type", nullptr, {"init"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
        sel::getAdFromAdapterWithType_(connector.get(), c.type.get());
        EXPECT_EQ(adapterOf(connector)->calls, c.asked);
    }
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    EXPECT_TRUE(sel::askAdapterIsBannerAnimationOK_(connector, 3));
    EXPECT_FALSE(sel::askAdapterIsBannerAnimationOK_(connector, 4));
    sel::askAdapterToStopBeingDelegate(connector);
    EXPECT_EQ(adapterOf(connector)->calls, (Calls{"init", "stop"}));
}

TEST_F(Connectors, ABannerPingsOneClickPerDeliveredAd) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    id adapter = sel::adapter(connector).get();
    Ref<Object> view = newObject("UIView");

    sel::adapter_didReceiveAdView_(connector.get(), adapter, view.get());
    EXPECT_EQ(managed(), Calls{"view"});
    EXPECT_EQ(heard(), Calls{"resetTimingAdapters"});
    EXPECT_EQ(pings(), Calls{"GET http://t.example/imp?nr=0&adt=120,35&aec=4,0"});
    EXPECT_FALSE(sel::didNetworkRefresh(connector));

    // Full screen, then leaving the app: two click callbacks, one click ping.
    sel::adapterWillPresentFullScreenModal_(connector.get(), adapter);
    sel::adapter_clickDidOccurInBanner_(connector.get(), adapter, view.get());
    sel::adapterWillDismissFullScreenModal_(connector.get(), adapter);
    sel::adapterDidDismissFullScreenModal_(connector.get(), adapter);
    sel::adapterWillLeaveApplication_(connector.get(), adapter);
    EXPECT_EQ(heard(), (Calls{"willPresentFullScreenModal", "willDismissFullScreenModal", "didDismissFullScreenModal", "willLeaveApplication"}));
    EXPECT_EQ(pings(), Calls{"GET http://t.example/clk?nr=0&id=n1&al=al-1"});
    EXPECT_TRUE(sel::clicked(connector));

    // The network refreshes its banner: "nr" is 1, and a click may be pinged again.
    sel::adapter_didReceiveAdView_(connector.get(), adapter, view.get());
    EXPECT_TRUE(sel::didNetworkRefresh(connector));
    EXPECT_FALSE(sel::clicked(connector));
    sel::adapter_clickDidOccurInBanner_(connector.get(), adapter, view.get());
    sel::adapterWillLeaveApplication_(connector.get(), adapter);
    EXPECT_EQ(pings(), (Calls{"GET http://t.example/imp?nr=1&adt=120,35&aec=4,0", "GET http://t.example/clk?nr=1&id=n1&al=al-1"}));
    EXPECT_EQ(managed(), Calls{"view"});
    EXPECT_EQ(heard(), (Calls{"resetTimingAdapters", "willLeaveApplication"}));

    // The interstitial half is not the banner's.
    sel::adapter_didReceiveInterstitial_(connector.get(), adapter, view.get());
    sel::adapterWillPresentInterstitial_(connector.get(), adapter);
    sel::adapterDidDismissInterstitial_(connector.get(), adapter);
    EXPECT_TRUE(managed().empty());
    EXPECT_TRUE(heard().empty());
    EXPECT_TRUE(pings().empty());
}

TEST_F(Connectors, CallbacksNamingAnotherAdapterAreIgnored) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    Ref<Object> stranger = newObject("TestAdapter");
    Ref<Object> view = newObject("UIView");
    sel::adapter_didReceiveAdView_(connector.get(), stranger.get(), view.get());
    sel::adapter_didFailAd_(connector.get(), stranger.get(), nullptr);
    sel::adapter_clickDidOccurInBanner_(connector.get(), stranger.get(), view.get());
    EXPECT_TRUE(managed().empty());
    EXPECT_TRUE(pings().empty());

    Ref<YBXMAdNetworkConnector> interstitial = connect("YBXMAdNetworkConnectorInterstitial");
    sel::adapter_didReceiveInterstitial_(interstitial.get(), stranger.get(), view.get());
    sel::adapter_didFailInterstitial_(interstitial.get(), stranger.get(), nullptr);
    EXPECT_TRUE(managed().empty());
}

TEST_F(Connectors, ABannerFailureAfterAnAdIsARefreshFailure) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    id adapter = sel::adapter(connector).get();
    Ref<NSError> error = NSError::errorWithDomain("net", 1);
    sel::adapter_didFailAd_(connector.get(), adapter, error.get());
    EXPECT_FALSE(sel::didNetworkRefresh(connector));
    Ref<Object> view = newObject("UIView");
    sel::adapter_didReceiveAdView_(connector.get(), adapter, view.get());
    sel::adapter_didFailAd_(connector.get(), adapter, error.get());
    EXPECT_TRUE(sel::didNetworkRefresh(connector));
    EXPECT_EQ(managed(), (Calls{"fail 1", "view", "fail 1"}));
}

TEST_F(Connectors, AnInterstitialIsSeenWhenPresented) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorInterstitial");
    id adapter = sel::adapter(connector).get();
    Ref<Object> interstitial = newObject("NSObject");

    sel::adapter_didReceiveInterstitial_(connector.get(), adapter, interstitial.get());
    EXPECT_EQ(managed(), Calls{"interstitial"});
    EXPECT_TRUE(pings().empty());  // received is not yet seen

    sel::adapterWillPresentInterstitial_(connector.get(), adapter);
    EXPECT_EQ(heard(), (Calls{"willPresentInterstitial", "resetTimingAdapters"}));
    EXPECT_EQ(pings(), Calls{"GET http://t.example/imp?nr=0&adt=120,35&aec=4,0"});

    // Leaving the app from an interstitial is no click ping; a missing
    // will-dismiss is passed on before did-dismiss, once.
    sel::adapterWillLeaveApplication_(connector.get(), adapter);
    sel::adapterDidDismissInterstitial_(connector.get(), adapter);
    EXPECT_EQ(heard(), (Calls{"willLeaveApplication", "willDismissInterstitial", "didDismissInterstitial"}));
    EXPECT_TRUE(pings().empty());

    // The banner half is not the interstitial's.
    sel::adapter_didReceiveAdView_(connector.get(), adapter, interstitial.get());
    sel::adapter_clickDidOccurInBanner_(connector.get(), adapter, interstitial.get());
    sel::adapterWillPresentFullScreenModal_(connector.get(), adapter);
    EXPECT_TRUE(managed().empty());
    EXPECT_TRUE(heard().empty());
    EXPECT_TRUE(pings().empty());
}

TEST_F(Connectors, WillDismissIsPassedOnOnce) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorInterstitial");
    id adapter = sel::adapter(connector).get();
    sel::adapterWillDismissInterstitial_(connector.get(), adapter);
    sel::adapterDidDismissInterstitial_(connector.get(), adapter);
    EXPECT_EQ(heard(), (Calls{"willDismissInterstitial", "didDismissInterstitial"}));
    Ref<NSError> error = NSError::errorWithDomain("net", 2);
    sel::adapter_didFailInterstitial_(connector.get(), adapter, error.get());
    EXPECT_EQ(managed(), Calls{"fail 2"});
}

TEST_F(Connectors, PingTemplates) {
    // A network's own impression templates replace the configuration's.
    const char* response = R"({"ad_type": "banner", "settings": {"imp_urls": ["http://t.example/config"]},
        "ad_networks": [{"id": "n1", "data": %@, "imp_urls": ["http://t.example/own?id=@gw_adnetid@"]}]})";
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner", "{}", "TestAdapter", response);
    sel::reportImpression(connector);
    EXPECT_EQ(pings(), Calls{"GET http://t.example/own?id=n1"});

    // Without templates the defaults of the mediation ping host are used.
    connector = connect("YBXMAdNetworkConnectorBanner", "{}", "TestAdapter", R"({"ad_type": "banner", "ad_networks": [{"id": "n2", "data": %@}]})");
    sel::reportImpression(connector);
    sel::reportClick(connector);
    Calls sent = pings();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].rfind("GET " + YBXAdServerBaseURL() + "/imp?ad_loc=unit-7&qdata=&ad_network_id=n2&", 0), 0u) << sent[0];
    EXPECT_NE(sent[0].find("&nr=0&adt=120,35&aec=4,0"), std::string::npos) << sent[0];
    EXPECT_EQ(sent[1].rfind("GET " + YBXAdServerBaseURL() + "/clk?ad_loc=unit-7&qdata=&ad_network_id=n2&", 0), 0u) << sent[1];
    EXPECT_EQ(sent[1].substr(sent[1].size() - 5), "&nr=0");
}

TEST_F(Connectors, ADetachedConnectorIsInert) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    id adapter = sel::adapter(connector).get();
    sel::setAdManager_(connector.get(), nullptr);
    sel::setYbxmDelegate_(connector.get(), nullptr);
    Ref<Object> view = newObject("UIView");
    sel::adapter_didReceiveAdView_(connector.get(), adapter, view.get());
    sel::adapterWillPresentFullScreenModal_(connector.get(), adapter);
    sel::adapterWillLeaveApplication_(connector.get(), adapter);
    EXPECT_TRUE(managed().empty());
    EXPECT_TRUE(heard().empty());
    EXPECT_TRUE(pings().empty());

    Ref<YBXMAdNetworkConnector> interstitial = connect("YBXMAdNetworkConnectorInterstitial");
    adapter = sel::adapter(interstitial).get();
    sel::setAdManager_(interstitial.get(), nullptr);
    sel::adapterWillPresentInterstitial_(interstitial.get(), adapter);
    sel::adapterDidDismissInterstitial_(interstitial.get(), adapter);
    EXPECT_TRUE(heard().empty());
    EXPECT_TRUE(pings().empty());
}

TEST_F(Connectors, DestructionStopsTheAdapter) {
    Ref<YBXMAdNetworkConnector> connector = connect("YBXMAdNetworkConnectorBanner");
    Ref<Recorder> adapter(adapterOf(connector));
    WeakRef<Object> weakConnector(connector.get());
    connector = nullptr;
    EXPECT_FALSE(weakConnector.lock());
    EXPECT_EQ(adapter->calls, (Calls{"init", "stop"}));
    EXPECT_FALSE(adapter->connector.lock());
}

}  // namespace
}  // namespace adlib

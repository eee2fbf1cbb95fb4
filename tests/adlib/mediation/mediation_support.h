// Test doubles of the waterfall's neighbours: a network adapter that acts as
// its network's credentials say ("act": "fill", "nofill", "error" or
// "silent"), and a slot that records every call the glue makes on it. Both
// write to one call log, in order.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/mediation/glue.h"
#include "adlib/mediation/protocols.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib::testing {

using Calls = std::vector<std::string>;

inline Calls& callLog() {
    static Calls calls;
    return calls;
}
inline void note(std::string call) { callLog().push_back(std::move(call)); }
inline Calls takeCalls() { return std::exchange(callLog(), {}); }

inline std::string codeOf(id error) {
    auto* e = as<NSError>(error);
    return e ? std::to_string(e->code()) : std::string("none");
}

// A network adapter; each instance is named after its network ID.
class TestNetworkAdapter : public NSObject {
public:
    WeakRef<Object> connector;
    std::string network;
    Ref<Object> view;

    std::string act() const {
        Value credentials = sel::credentials(connector.lock().get());
        return credentials["act"].isString() ? credentials["act"].string() : "silent";
    }
    void deliver(bool interstitial) {
        Ref<Object> c = connector.lock();
        const std::string what = act();
        if (what == "fill") {
            if (!view) view = newObject(interstitial ? "NSObject" : "UIView");
            interstitial ? sel::adapter_didReceiveInterstitial_(c.get(), this, view.get()) : sel::adapter_didReceiveAdView_(c.get(), this, view.get());
        } else if (what == "nofill" || what == "error") {
            Ref<Object> error = what == "nofill" ? sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeNoFill)
                                                 : Ref<Object>(NSError::errorWithDomain("net.example", 5));
            fail(interstitial, error.get());
        }
    }
    void fail(bool interstitial, id error) {
        Ref<Object> c = connector.lock();
        interstitial ? sel::adapter_didFailInterstitial_(c.get(), this, error) : sel::adapter_didFailAd_(c.get(), this, error);
    }
};

inline std::vector<WeakRef<Object>>& liveAdapters() {
    static std::vector<WeakRef<Object>> adapters;
    return adapters;
}

// The adapter of the network with that ID that was made last.
inline Ref<TestNetworkAdapter> adapterFor(const std::string& network) {
    for (auto it = liveAdapters().rbegin(); it != liveAdapters().rend(); ++it)
        if (Ref<TestNetworkAdapter> adapter = as<TestNetworkAdapter>(it->lock()); adapter && adapter->network == network) return adapter;
    return nullptr;
}

inline void registerTestNetworkAdapter() {
    ClassBuilder<TestNetworkAdapter>("TestNetworkAdapter", "NSObject")
        .protocol(kYBXMAdNetworkAdapterProtocol)
        .method(sel::initWithYBXMAdNetworkConnector_,
                [](id self, id connector) {
                    auto* a = as<TestNetworkAdapter>(self);
                    a->connector = connector;
                    a->network = sel::networkID(sel::networkConfig(connector).get()).string();
                    liveAdapters().emplace_back(self);
                    return Ref<Object>(self);
                })
        .method(sel::getBannerWithSize_,
                [](id self, YBXAdSize size) {
                    auto* a = as<TestNetworkAdapter>(self);
                    note(format("%@ banner %gx%g", a->network, size.size.width, size.size.height));
                    a->deliver(false);
                })
        .method(sel::getInterstitial,
                [](id self) {
                    auto* a = as<TestNetworkAdapter>(self);
                    note(a->network + " interstitial");
                    a->deliver(true);
                })
        .method(sel::stopBeingDelegate, [](id self) { note(as<TestNetworkAdapter>(self)->network + " stop"); })
        .method(sel::isBannerAnimationOK_, [](id, long long) { return true; })
        .method(sel::presentInterstitialFromRootViewController_, [](id self, id) { note(as<TestNetworkAdapter>(self)->network + " present"); })
        .method(sel::changeAdSizeTo_,
                [](id self, YBXAdSize size) { note(format("%@ size %gx%g", as<TestNetworkAdapter>(self)->network, size.size.width, size.size.height)); });
}

// A connector that answers from fixed values and records the adapter's callbacks.
class RecordingConnector : public NSObject {
public:
    Value credentials;
    Ref<Object> networkExtras;
    bool testMode = false;
    long long userGender = 0;
    Value userKeywords;
    Ref<Object> lastError;
};

inline void registerRecordingConnector() {
    ClassBuilder<RecordingConnector>("RecordingConnector", "NSObject")
        .getter<&RecordingConnector::credentials>(sel::credentials)
        .getter<&RecordingConnector::networkExtras>(sel::networkExtras)
        .getter<&RecordingConnector::testMode>(sel::testMode)
        .getter<&RecordingConnector::userGender>(sel::userGender)
        .getter<&RecordingConnector::userKeywords>(sel::userKeywords)
        .method(sel::userBirthday, [](id) { return Value(); })
        .method(sel::userHasLocation, [](id) { return false; })
        .method(sel::userLatitude, [](id) { return 0.0; })
        .method(sel::userLongitude, [](id) { return 0.0; })
        .method(sel::userLocationAccuracyInMeters, [](id) { return 0.0; })
        .method(sel::userLocationDescription, [](id) { return Value(); })
        .method(sel::viewControllerForPresentingModalView, [](id) { return Ref<Object>(); })
        .method(sel::adapter_didReceiveAdView_, [](id, id, id object) { note(std::string("didReceiveAdView") + (object ? " with object" : "")); })
        .method(sel::adapter_didFailAd_,
                [](id self, id, id error) {
                    as<RecordingConnector>(self)->lastError = Ref<Object>(error);
                    note("didFailAd");
                })
        .method(sel::adapter_didReceiveInterstitial_, [](id, id, id object) { note(std::string("didReceiveInterstitial") + (object ? " with object" : "")); })
        .method(sel::adapter_didFailInterstitial_,
                [](id self, id, id error) {
                    as<RecordingConnector>(self)->lastError = Ref<Object>(error);
                    note("didFailInterstitial");
                })
        .method(sel::adapter_clickDidOccurInBanner_, [](id, id, id object) { note(std::string("click") + (object ? " with object" : "")); })
        .method(sel::adapterWillPresentFullScreenModal_, [](id, id) { note("willPresentFullScreenModal"); })
        .method(sel::adapterWillDismissFullScreenModal_, [](id, id) { note("willDismissFullScreenModal"); })
        .method(sel::adapterDidDismissFullScreenModal_, [](id, id) { note("didDismissFullScreenModal"); })
        .method(sel::adapterWillPresentInterstitial_, [](id, id) { note("willPresentInterstitial"); })
        .method(sel::adapterWillDismissInterstitial_, [](id, id) { note("willDismissInterstitial"); })
        .method(sel::adapterDidDismissInterstitial_, [](id, id) { note("didDismissInterstitial"); })
        .method(sel::adapterWillLeaveApplication_, [](id, id) { note("willLeaveApplication"); });
}

// A slot as the glue sees it, with a real request and real statistics.
class TestSlot : public NSObject {
public:
    Ref<Object> request = sel::init(alloc("YBXRequest"));
    Ref<Object> stats = sel::init(alloc("YBXSlotStatistics"));
    Ref<Object> adType;
    Ref<Object> delegate;
    Ref<Object> shownView;
    Ref<Object> webViewDelegate;
};

inline TestSlot* testSlotOf(id self) { return as<TestSlot>(self); }

inline void registerTestSlot() {
    ClassBuilder<TestSlot>("TestSlot", "NSObject")
        .method(sel::request, [](id self) { return testSlotOf(self)->request; })
        .method(sel::slotStats, [](id self) { return testSlotOf(self)->stats; })
        .method(sel::adType, [](id self) { return testSlotOf(self)->adType; })
        .method(sel::slotDelegate, [](id self) { return testSlotOf(self)->delegate; })
        .method(sel::webViewDelegate, [](id self) { return testSlotOf(self)->webViewDelegate; })
        .method(sel::setViewForAdUsingView_,
                [](id self, id view) {
                    testSlotOf(self)->shownView = Ref<Object>(view);
                    note("slot view");
                })
        .method(sel::didReceiveValidAd, [](id) { note("slot didReceiveValidAd"); })
        .method(sel::adFinishedLoadingContent, [](id) { note("slot adFinishedLoadingContent"); })
        .method(sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_,
                [](id, id error, bool reload, bool cancel) {
                    auto* e = as<NSError>(error);
                    note(format("slot fail %@ reload %d cancel %d: %@", codeOf(error), reload, cancel, e ? e->localizedDescription() : ""));
                })
        .method(sel::mediatedAdNetworkAutoRefreshed, [](id) { note("slot autoRefreshed"); })
        .method(sel::adFailedToReceiveContentWithError_,
                [](id, id error) {
                    auto* e = as<NSError>(error);
                    note(format("slot contentFailed %@: %@", codeOf(error), e ? e->localizedDescription() : ""));
                })
        .method(sel::adWillPresentScreen, [](id) { note("slot adWillPresentScreen"); })
        .method(sel::adWillDismissScreen, [](id) { note("slot adWillDismissScreen"); })
        .method(sel::adDidDismissScreen, [](id) { note("slot adDidDismissScreen"); })
        .method(sel::adWillLeaveApplication, [](id) { note("slot adWillLeaveApplication"); })
        .method(sel::willLeaveAppDueToClick, [](id) { note("slot willLeaveAppDueToClick"); });
    ClassBuilder<NSObject>("TestSlotDelegate", "NSObject").method(sel::rootViewController, [](id) { return newObject("UIViewController"); });
}

inline Ref<Object> bannerType(YBXAdSize size = kYBXAdSizeBanner) { return sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), size); }
inline Ref<Object> interstitialType() { return sel::interstitialAdType(objc_getClass("YBXAdType")); }

// One network entry of a configuration: its ID, what it does and its adapter class.
struct TestNetwork {
    std::string id;
    std::string act = "fill";
    std::string adapter = "TestNetworkAdapter";
};

inline std::string networksJSON(const std::vector<TestNetwork>& networks) {
    std::string out;
    for (const TestNetwork& n : networks)
        out += format(R"(%@{"id": "%@", "adapters": ["%@"], "data": {"act": "%@"}})", out.empty() ? "" : ", ", n.id, n.adapter, n.act);
    return "[" + out + "]";
}

// A slot, its glue and a transport that logs the pings.
class MediationTest : public ::testing::Test {
protected:
    MediationTest() {
        registerTestNetworkAdapter();
        registerTestSlot();
        network::setTransport(transport);
        slot = as<TestSlot>(newObject("TestSlot"));
        slot->adType = bannerType();
        glue = as<YBXMToYBXGlue>(sel::init(alloc("YBXMToYBXGlue")));
        sel::setSlot_(glue.get(), slot.get());
        takeCalls();
    }
    ~MediationTest() override {
        callLog().clear();
        liveAdapters().clear();
    }

    YBXMAdManager* manager() const { return glue->mediationManager_.get(); }

    Ref<YBXMConfig> makeConfig(const std::vector<TestNetwork>& networks, const std::string& type = "banner", const std::string& settings = "{}") {
        return makeConfig(networksJSON(networks), type, settings);
    }
    // A configuration of networks written out in JSON.
    Ref<YBXMConfig> makeConfig(const std::string& networks, const std::string& type = "banner", const std::string& settings = "{}") {
        Ref<NSError> error;
        std::string json = format(R"({"ad_type": "%@", "qdata": "q1", "settings": %@, "ad_networks": %@})", type, settings, networks);
        Ref<YBXMConfig> config =
            as<YBXMConfig>(sel::initWithAppKey_configDict_error_(alloc("YBXMConfig"), Value("unit-7"), readJsonIntoDictionary(json), &error));
        EXPECT_TRUE(config) << json;
        return config;
    }
    // The glue asked to mediate a configuration of these networks for the slot's type.
    void mediate(const std::vector<TestNetwork>& networks, const std::string& type = "banner", const std::string& settings = "{}") {
        config = makeConfig(networks, type, settings);
        sel::requestAdWithType_mediationConfig_(glue.get(), slot->adType.get(), config.get());
    }
    // The pings sent so far, and forgets them.
    Calls pings() {
        RunLoop::main().advance(0.01);
        Calls log = transport->log();
        Calls fresh(log.begin() + static_cast<std::ptrdiff_t>(seen), log.end());
        seen = log.size();
        return fresh;
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<TestSlot> slot;
    Ref<YBXMToYBXGlue> glue;
    Ref<YBXMConfig> config;
    std::size_t seen = 0;
};

}  // namespace adlib::testing

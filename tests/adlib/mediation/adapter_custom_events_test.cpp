#include "adlib/mediation/adapter_custom_events.h"

#include <gtest/gtest.h>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/mediation/protocols.h"
#include "platform/foundation/error.h"
#include "platform/foundation/format.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

std::vector<std::string>& heard() {
    static std::vector<std::string> calls;
    return calls;
}
void note(std::string call) { heard().push_back(std::move(call)); }

std::string describe(id error) {
    auto* e = as<NSError>(error);
    return e ? format("%@ %d: %@", e->domain(), e->code(), e->localizedDescription()) : "none";
}

// A connector that answers from its fields and records every adapter callback.
class FakeConnector : public NSObject {
public:
    Value credentials;
    Ref<Object> extras;
    Ref<Object> rootController = newObject("UIViewController");
};

class TestEvent : public NSObject {
public:
    WeakRef<Object> delegate;
};

// Made instances of the custom-event test classes, by class name.
int& instancesMade() {
    static int made = 0;
    return made;
}

void registerFakes() {
    ClassBuilder<FakeConnector> connector("TestCustomEventConnector", "NSObject");
    connector.protocol(kYBXMAdNetworkConnectorProtocol)
        .method(sel::credentials, [](id self) { return as<FakeConnector>(self)->credentials; })
        .method(sel::networkExtras, [](id self) { return as<FakeConnector>(self)->extras; })
        .method(sel::viewControllerForPresentingModalView, [](id self) { return as<FakeConnector>(self)->rootController; })
        .method(sel::testMode, [](id) { return true; })
        .method(sel::userGender, [](id) { return 2LL; })
        .method(sel::userBirthday, [](id) { return Value("1990-04-02"); })
        .method(sel::userKeywords, [](id) { return Value(Value::Array{Value("tea")}); })
        .method(sel::userHasLocation, [](id) { return true; })
        .method(sel::userLatitude, [](id) { return 48.5; })
        .method(sel::userLongitude, [](id) { return 9.25; })
        .method(sel::userLocationAccuracyInMeters, [](id) { return 12.0; })
        .method(sel::userLocationDescription, [](id) { return Value(); })
        .method(sel::adapter_didReceiveAdView_, [](id, id, id view) { note(view ? "received view" : "received (none)"); })
        .method(sel::adapter_didFailAd_, [](id, id, id error) { note("banner failed " + describe(error)); })
        .method(sel::adapter_clickDidOccurInBanner_, [](id, id, id) { note("click"); })
        .method(sel::adapterWillPresentFullScreenModal_, [](id, id) { note("willPresentFullScreenModal"); })
        .method(sel::adapterWillDismissFullScreenModal_, [](id, id) { note("willDismissFullScreenModal"); })
        .method(sel::adapterDidDismissFullScreenModal_, [](id, id) { note("didDismissFullScreenModal"); })
        .method(sel::adapterWillLeaveApplication_, [](id, id) { note("willLeaveApplication"); })
        .method(sel::adapter_didReceiveInterstitial_, [](id, id, id) { note("received interstitial"); })
        .method(sel::adapter_didFailInterstitial_, [](id, id, id error) { note("interstitial failed " + describe(error)); })
        .method(sel::adapterWillPresentInterstitial_, [](id, id) { note("willPresentInterstitial"); })
        .method(sel::adapterWillDismissInterstitial_, [](id, id) { note("willDismissInterstitial"); })
        .method(sel::adapterDidDismissInterstitial_, [](id, id) { note("didDismissInterstitial"); });

    // A custom event of both kinds that records its requests.
    ClassBuilder<TestEvent> both("TestBothEvent", "NSObject");
    both.protocol(kYBXCustomEventBannerProtocol)
        .protocol(kYBXCustomEventInterstitialProtocol)
        .method(sel::init,
                [](id self) {
                    ++instancesMade();
                    return Ref<Object>(self);
                })
        .method(sel::setDelegate_, [](id self, id delegate) { as<TestEvent>(self)->delegate = delegate; })
        .method(sel::delegate, [](id self) { return as<TestEvent>(self)->delegate.lock(); })
        .method(sel::requestBannerAd_parameter_label_request_,
                [](id, YBXAdSize size, Value parameter, Value label, id request) {
                    note(format("banner %gx%g %@ %@ testing %d extras %@", size.size.width, size.size.height, parameter, label,
                                sel::isTesting(request), sel::additionalParameters(request)["k"]));
                })
        .method(sel::requestInterstitialAdWithParameter_label_request_,
                [](id, Value parameter, Value label, id) { note(format("interstitial %@ %@", parameter, label)); })
        .method(sel::presentFromRootViewController_, [](id, id) { note("present"); });
    // Only the interstitial kind; and a class that is no custom event at all.
    ClassBuilder<NSObject>("TestInterstitialEvent", "NSObject").protocol(kYBXCustomEventInterstitialProtocol).method(sel::init, [](id self) {
        ++instancesMade();
        return Ref<Object>(self);
    });
    ClassBuilder<NSObject>("TestNotAnEvent", "NSObject").method(sel::init, [](id self) {
        ++instancesMade();
        return Ref<Object>(self);
    });
}

class CustomEventsAdapter : public ::testing::Test {
protected:
    CustomEventsAdapter() {
        registerFakes();
        connector = as<FakeConnector>(newObject("TestCustomEventConnector"));
    }
    ~CustomEventsAdapter() override { heard().clear(); }

    Ref<Object> adapterWith(Value credentials) {
        connector->credentials = std::move(credentials);
        return sel::initWithYBXMAdNetworkConnector_(alloc("YBXMAdapterCustomEvents"), connector.get());
    }

    AdLibEnvironment env;
    Ref<FakeConnector> connector;
};

TEST_F(CustomEventsAdapter, BadCredentialsFailBeforeAnyInstanceIsMade) {
    struct Case {
        const char* name;
        Value credentials;
        bool interstitial;
        std::string heard;
    } cases[] = {
        {"no class name", Value::Dictionary{}, false, "banner failed ad_mediation 1: No class name for the Custom Event."},
        {"a class name that is no text", Value{{"class_name", Value(7)}}, true,
         "interstitial failed ad_mediation 1: No class name for the Custom Event."},
        {"no such class", Value{{"class_name", Value("Nowhere")}}, false,
         "banner failed ad_mediation 1: Cannot find Custom Event class named Nowhere."},
        {"only the interstitial kind", Value{{"class_name", Value("TestInterstitialEvent")}}, false,
         "banner failed ad_mediation 1: Custom Event class TestInterstitialEvent does not conform to the YBXCustomEventBanner protocol."},
        {"no custom event", Value{{"class_name", Value("TestNotAnEvent")}}, true,
         "interstitial failed ad_mediation 1: Custom Event class TestNotAnEvent does not conform to the YBXCustomEventInterstitial protocol."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        heard().clear();
        Ref<Object> adapter = adapterWith(c.credentials);
        c.interstitial ? sel::getInterstitial(adapter.get()) : sel::getBannerWithSize_(adapter.get(), kYBXAdSizeBanner);
        EXPECT_EQ(heard(), std::vector<std::string>{c.heard});
        EXPECT_EQ(instancesMade(), 0);
    }
}

TEST_F(CustomEventsAdapter, BannerGetsItsParameterLabelAndTheExtrasOfItsLabel) {
    Ref<Object> extras = sel::init(alloc("YBXCustomEventExtras"));
    sel::setExtras_forLabel_(extras.get(), Value{{"k", Value("v")}}, Value("east"));
    sel::setExtras_forLabel_(extras.get(), Value{{"k", Value("other")}}, Value("west"));
    connector->extras = extras;
    Ref<Object> adapter = adapterWith(Value{{"class_name", Value("TestBothEvent")}, {"parameter", Value("p1")}, {"label", Value("east")}});

    sel::getBannerWithSize_(adapter.get(), kYBXAdSizeBanner);
    EXPECT_EQ(heard(), std::vector<std::string>{R"(banner 320x50 p1 east testing 1 extras v)"});
    Ref<Object> event = sel::customEventBanner(adapter.get());
    ASSERT_TRUE(event);
    EXPECT_EQ(sel::delegate(event.get()).get(), adapter.get());
    EXPECT_EQ(sel::viewControllerForPresentingModalView(adapter.get()).get(), connector->rootController.get());

    sel::stopBeingDelegate(adapter.get());
    EXPECT_FALSE(sel::delegate(event.get()));
}

TEST_F(CustomEventsAdapter, RelaysEachCustomEventCallbackToItsConnectorCallback) {
    Ref<Object> adapter = adapterWith(Value{{"class_name", Value("TestBothEvent")}});
    Ref<Object> view = newObject("UIView");
    Ref<NSError> error = NSError::errorWithDomain("net.example", 5);
    id a = adapter.get();
    sel::customEventBanner_didReceiveAd_(a, nullptr, view.get());
    sel::customEventBanner_didFailAd_(a, nullptr, error.get());
    sel::customEventBanner_clickDidOccurInAd_(a, nullptr, view.get());
    sel::customEventBannerWillPresentModal_(a, nullptr);
    sel::customEventBannerWillDismissModal_(a, nullptr);
    sel::customEventBannerDidDismissModal_(a, nullptr);
    sel::customEventBannerWillLeaveApplication_(a, nullptr);
    sel::customEventInterstitial_didReceiveAd_(a, nullptr, nullptr);
    sel::customEventInterstitial_didFailAd_(a, nullptr, error.get());
    sel::customEventInterstitialWillPresent_(a, nullptr);
    sel::customEventInterstitialWillDismiss_(a, nullptr);
    sel::customEventInterstitialDidDismiss_(a, nullptr);
    sel::customEventInterstitialWillLeaveApplication_(a, nullptr);
    EXPECT_EQ(heard(), (std::vector<std::string>{"received view", "banner failed net.example 5: The operation couldn’t be completed. (net.example error 5.)",
                                                 "click", "willPresentFullScreenModal", "willDismissFullScreenModal", "didDismissFullScreenModal",
                                                 "willLeaveApplication", "received interstitial",
                                                 "interstitial failed net.example 5: The operation couldn’t be completed. (net.example error 5.)",
                                                 "willPresentInterstitial", "willDismissInterstitial", "didDismissInterstitial", "willLeaveApplication"}));
}

TEST_F(CustomEventsAdapter, InterstitialIsRequestedThenPresented) {
    Ref<Object> adapter = adapterWith(Value{{"class_name", Value("TestBothEvent")}, {"parameter", Value("p2")}, {"label", Value("north")}});
    sel::getInterstitial(adapter.get());
    sel::presentInterstitialFromRootViewController_(adapter.get(), connector->rootController.get());
    EXPECT_EQ(heard(), (std::vector<std::string>{"interstitial p2 north", "present"}));
    EXPECT_EQ(sel::networkExtrasClass(objc_getClass("YBXMAdapterCustomEvents")), objc_getClass("YBXCustomEventExtras"));
}

TEST(CustomEventExtras, KeepsExtrasByLabelAndRefusesNoLabel) {
    AdLibEnvironment env;
    Ref<Object> extras = sel::init(alloc("YBXCustomEventExtras"));
    sel::setExtras_forLabel_(extras.get(), Value{{"a", Value("1")}}, Value("one"));
    sel::setExtras_forLabel_(extras.get(), Value{{"b", Value("2")}}, Value());
    EXPECT_EQ(sel::extrasForLabel_(extras.get(), Value("one")), (Value{{"a", Value("1")}}));
    EXPECT_EQ(sel::allExtras(extras.get()), (Value{{"one", Value{{"a", Value("1")}}}}));
    sel::removeAllExtras(extras.get());
    EXPECT_EQ(sel::allExtras(extras.get()), Value(Value::Dictionary{}));
}

}  // namespace
}  // namespace adlib

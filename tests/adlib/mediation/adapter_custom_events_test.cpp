// YBXMAdapterCustomEvents: which custom event class is made, the failures,
// what the custom event is asked with, and its callbacks reaching the connector.
#include "adlib/mediation/adapter_custom_events.h"

#include "adlib/foundation/macros.h"
#include "platform/foundation/log.h"
#include "tests/adlib/mediation/mediation_support.h"

namespace adlib {
namespace {

using testing::Calls;
using testing::RecordingConnector;
using testing::note;
using testing::takeCalls;

class TestCustomEvent : public NSObject {
public:
    WeakRef<Object> delegate;
};

std::string describe(Value parameter, Value label, id request) {
    return format("parameter %@ label %@ extras k=%@ testing %d gender %lld", parameter, label, sel::additionalParameters(request)["k"],
                  sel::isTesting(request), sel::userGender(request));
}

void registerTestCustomEvents() {
    auto makeInit = [](id self) {
        note(std::string("made ") + self->isa()->name());
        return Ref<Object>(self);
    };
    ClassBuilder<TestCustomEvent>("TestCustomBanner", "NSObject")
        .protocol(kYBXCustomEventBannerProtocol)
        .method(sel::init, +makeInit)
        .method(sel::delegate, [](id self) { return as<TestCustomEvent>(self)->delegate.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { as<TestCustomEvent>(self)->delegate = WeakRef<Object>(d); })
        .method(sel::requestBannerAd_parameter_label_request_, [](id, YBXAdSize size, Value parameter, Value label, id request) {
            note(format("banner %gx%g ", size.size.width, size.size.height) + describe(parameter, label, request));
        });
    ClassBuilder<TestCustomEvent>("TestCustomInterstitial", "NSObject")
        .protocol(kYBXCustomEventInterstitialProtocol)
        .method(sel::init, +makeInit)
        .method(sel::delegate, [](id self) { return as<TestCustomEvent>(self)->delegate.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { as<TestCustomEvent>(self)->delegate = WeakRef<Object>(d); })
        .method(sel::requestInterstitialAdWithParameter_label_request_,
                [](id, Value parameter, Value label, id request) { note("interstitial " + describe(parameter, label, request)); })
        .method(sel::presentFromRootViewController_, [](id, id) { note("present"); });
    ClassBuilder<TestCustomEvent>("TestPlainClass", "NSObject").method(sel::init, +makeInit);
}

class CustomEventsTest : public ::testing::Test {
protected:
    CustomEventsTest() {
        testing::registerRecordingConnector();
        registerTestCustomEvents();
        connector = as<RecordingConnector>(newObject("RecordingConnector"));
        adapter = sel::initWithYBXMAdNetworkConnector_(alloc("YBXMAdapterCustomEvents"), connector.get());
        takeCalls();
    }
    ~CustomEventsTest() override { testing::callLog().clear(); }

    testing::AdLibEnvironment env;
    Ref<RecordingConnector> connector;
    Ref<Object> adapter;
};

TEST_F(CustomEventsTest, AClassThatIsMissingOrDoesNotConformFailsBeforeAnyInstance) {
    struct Case {
        const char* name;
        Value className;
        bool interstitial;
        std::string message;
    } cases[] = {
        {"no class name", Value(), false, "No class name for the Custom Event."},
        {"a class name that is no text", Value(12), true, "No class name for the Custom Event."},
        {"no such class", Value("NoSuchEvent"), false, "Cannot find Custom Event class named NoSuchEvent."},
        {"an interstitial event asked for a banner", Value("TestCustomInterstitial"), false,
         "Custom Event class TestCustomInterstitial does not conform to the YBXCustomEventBanner protocol."},
        {"a banner event asked for an interstitial", Value("TestCustomBanner"), true,
         "Custom Event class TestCustomBanner does not conform to the YBXCustomEventInterstitial protocol."},
        {"a plain application class", Value("TestPlainClass"), false,
         "Custom Event class TestPlainClass does not conform to the YBXCustomEventBanner protocol."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        connector->credentials = c.className.isNil() ? Value(Value::Dictionary{}) : Value{{"class_name", c.className}};
        connector->lastError = nullptr;
        c.interstitial ? sel::getInterstitial(adapter.get()) : sel::getBannerWithSize_(adapter.get(), kYBXAdSizeBanner);
        // Failed, and no instance made.
        EXPECT_EQ(takeCalls(), Calls{c.interstitial ? "didFailInterstitial" : "didFailAd"});
        Ref<NSError> failure = as<NSError>(connector->lastError);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->domain(), "ad_mediation");
        EXPECT_EQ(failure->code(), 1);
        EXPECT_EQ(failure->localizedDescription(), c.message);
        EXPECT_EQ(platform::log::contains("<Orvane> " + c.message), c.name != std::string("no class name") &&
                                                                         c.name != std::string("a class name that is no text"));
    }
}

TEST_F(CustomEventsTest, TheEventIsAskedWithItsCredentialsAndTheExtrasOfItsLabel) {
    Ref<Object> extras = newObject("YBXCustomEventExtras");
    sel::setExtras_forLabel_(extras.get(), Value{{"k", Value("v")}}, Value("lab"));
    sel::setExtras_forLabel_(extras.get(), Value{{"other", Value("x")}}, Value("another"));
    connector->networkExtras = extras;
    connector->testMode = true;
    connector->userGender = 2;
    connector->credentials = Value{{"class_name", Value("TestCustomBanner")}, {"parameter", Value("p1")}, {"label", Value("lab")}};
    sel::getBannerWithSize_(adapter.get(), kYBXAdSizeMediumRectangle);
    EXPECT_EQ(takeCalls(), (Calls{"made TestCustomBanner", R"(banner 300x250 parameter p1 label lab extras k=v testing 1 gender 2)"}));
    Ref<Object> event = sel::customEventBanner(adapter.get());
    ASSERT_TRUE(event);
    EXPECT_EQ(sel::delegate(event.get()).get(), adapter.get());

    // Credentials that should be text and are not count as missing.
    connector->credentials = Value{{"class_name", Value("TestCustomInterstitial")}, {"parameter", Value(4)}, {"label", Value(Value::Array{})}};
    sel::getInterstitial(adapter.get());
    sel::presentInterstitialFromRootViewController_(adapter.get(), nullptr);
    EXPECT_EQ(takeCalls(), (Calls{"made TestCustomInterstitial", "interstitial parameter (null) label (null) extras k=(null) testing 1 gender 2", "present"}));

    sel::stopBeingDelegate(adapter.get());
    EXPECT_FALSE(sel::delegate(event.get()));
    EXPECT_FALSE(sel::delegate(sel::customEventInterstitial(adapter.get()).get()));
}

TEST_F(CustomEventsTest, CallbacksOfTheEventReachTheConnector) {
    Ref<Object> event = newObject("TestCustomBanner");
    Ref<Object> view = newObject("UIView");
    takeCalls();
    struct Case {
        const char* name;
        std::function<void()> callback;
        Calls heard;
    } cases[] = {
        {"banner received", [&] { sel::customEventBanner_didReceiveAd_(adapter.get(), event.get(), view.get()); }, {"didReceiveAdView with object"}},
        {"banner failed", [&] { sel::customEventBanner_didFailAd_(adapter.get(), event.get(), nullptr); }, {"didFailAd"}},
        {"click", [&] { sel::customEventBanner_clickDidOccurInAd_(adapter.get(), event.get(), view.get()); }, {"click with object"}},
        {"will present", [&] { sel::customEventBannerWillPresentModal_(adapter.get(), event.get()); }, {"willPresentFullScreenModal"}},
        {"will dismiss", [&] { sel::customEventBannerWillDismissModal_(adapter.get(), event.get()); }, {"willDismissFullScreenModal"}},
        {"did dismiss", [&] { sel::customEventBannerDidDismissModal_(adapter.get(), event.get()); }, {"didDismissFullScreenModal"}},
        {"will leave", [&] { sel::customEventBannerWillLeaveApplication_(adapter.get(), event.get()); }, {"willLeaveApplication"}},
        {"interstitial received", [&] { sel::customEventInterstitial_didReceiveAd_(adapter.get(), event.get(), view.get()); },
         {"didReceiveInterstitial with object"}},
        {"interstitial failed", [&] { sel::customEventInterstitial_didFailAd_(adapter.get(), event.get(), nullptr); }, {"didFailInterstitial"}},
        {"interstitial will present", [&] { sel::customEventInterstitialWillPresent_(adapter.get(), event.get()); }, {"willPresentInterstitial"}},
        {"interstitial will dismiss", [&] { sel::customEventInterstitialWillDismiss_(adapter.get(), event.get()); }, {"willDismissInterstitial"}},
        {"interstitial did dismiss", [&] { sel::customEventInterstitialDidDismiss_(adapter.get(), event.get()); }, {"didDismissInterstitial"}},
        {"interstitial will leave", [&] { sel::customEventInterstitialWillLeaveApplication_(adapter.get(), event.get()); }, {"willLeaveApplication"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.callback();
        EXPECT_EQ(takeCalls(), c.heard);
    }
}

TEST(CustomEventExtras, ExtrasAreKeptByLabel) {
    testing::AdLibEnvironment env;
    Ref<Object> extras = newObject("YBXCustomEventExtras");
    sel::setExtras_forLabel_(extras.get(), Value{{"a", Value(1)}}, Value("one"));
    sel::setExtras_forLabel_(extras.get(), Value{{"b", Value(2)}}, Value());
    EXPECT_TRUE(platform::log::contains("<Orvane> Must specify a label for extras."));
    EXPECT_EQ(sel::allExtras(extras.get()), (Value{{"one", Value{{"a", Value(1)}}}}));
    EXPECT_EQ(sel::extrasForLabel_(extras.get(), Value("one")), (Value{{"a", Value(1)}}));
    EXPECT_TRUE(sel::extrasForLabel_(extras.get(), Value("two")).isNil());
    sel::removeAllExtras(extras.get());
    EXPECT_EQ(sel::allExtras(extras.get()), Value(Value::Dictionary{}));
}

}  // namespace
}  // namespace adlib

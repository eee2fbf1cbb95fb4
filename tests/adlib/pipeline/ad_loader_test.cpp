// The native ad loaders: creation by ad type, the delegate's protocols, and
// the app-event flow through the hidden publisher banner (its request, the
// app event, the 5-second wait, the native ad's images) up to the
// publisher's delegate. The banner's request is stood in for; the test plays
// the banner's slot.
#include "adlib/pipeline/ad_loader.h"

#include <gtest/gtest.h>

#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/qrt_banner_view.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/view_controller.h"
#include "tests/adlib/pipeline/native_support.h"

namespace adlib {
namespace {

using namespace testing;
using Script = ScriptedTransport::Script;

struct BannerLoad {
    Ref<Object> banner;
    Ref<Object> request;
};
std::vector<BannerLoad>& bannerLoads() {
    static std::vector<BannerLoad> loads;
    return loads;
}

// The publisher's delegate: it records what it hears.
class PublisherDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<Ref<Object>> ads;
    std::vector<bool> onMainThread;
};

void registerPublisherDelegates() {
    if (objc_getClass("LoaderTestDelegate")) return;
    auto failed = [](id self, id, id error) {
        as<PublisherDelegate>(self)->calls.push_back(format("error %@ %@", Value(sel::code(error)), Value(sel::localizedDescription(error))));
    };
    auto content = [](id self, id, id ad) {
        as<PublisherDelegate>(self)->calls.emplace_back("content ad");
        as<PublisherDelegate>(self)->ads.emplace_back(ad);
        as<PublisherDelegate>(self)->onMainThread.push_back(NSThread::isMainThread());
    };
    ClassBuilder<PublisherDelegate>("LoaderTestContentDelegate", "NSObject")
        .protocol("YBXAdLoaderDelegate")
        .protocol("YBXNativeContentAdLoaderDelegate")
        .method(sel::adLoader_didFailToReceiveAdWithError_, failed)
        .method(sel::adLoader_didReceiveNativeContentAd_, content);
    ClassBuilder<PublisherDelegate>("LoaderTestDelegate", "LoaderTestContentDelegate")
        .protocol("YBXNativeAppInstallAdLoaderDelegate")
        .method(sel::adLoader_didReceiveNativeAppInstallAd_, [](id self, id, id ad) {
            as<PublisherDelegate>(self)->calls.emplace_back("app install ad");
            as<PublisherDelegate>(self)->ads.emplace_back(ad);
            as<PublisherDelegate>(self)->onMainThread.push_back(NSThread::isMainThread());
        });
}

class AdLoaderTest : public ::testing::Test {
protected:
    AdLoaderTest() {
        registerPublisherDelegates();
        network::setTransport(transport);
        MSHookMessageEx(objc_getClass("YBXBannerView"), sel::loadRequest_,
                        +[](id self, id request) { bannerLoads().push_back({Ref<Object>(self), Ref<Object>(request)}); }, &previousLoad);
        platform::log::clear();
        delegate = as<PublisherDelegate>(sel::init(alloc("LoaderTestDelegate")));
        transport->answer("http://img.test/image.png", Script::body({pngText()}));
        transport->answer("http://img.test/icon.png", Script::body({pngText()}));
    }

    ~AdLoaderTest() override { bannerLoads().clear(); }

    Ref<Object> makeLoader(const Value& types) {
        return sel::initWithAdUnitID_rootViewController_adTypes_(alloc("YBXAdLoader"), Value("unit-9"), root.get(), types);
    }
    Ref<Object> loaderWithDelegate(const Value& types = Value::array({Value("1"), Value("2")})) {
        Ref<Object> loader = makeLoader(types);
        sel::setDelegate_(loader.get(), delegate.get());
        return loader;
    }
    // The banner of the n-th load, its slot telling it what happened.
    id banner(size_t n = 0) { return bannerLoads().at(n).banner.get(); }
    void bannerReceivedAd(size_t n = 0) { sel::slotFinishedLoadingAdContent_(banner(n), sel::slot(banner(n)).get()); }
    void appEvent(const Value& name, const Value& info, size_t n = 0) {
        sel::slot_didReceiveAppEvent_withInfo_(banner(n), sel::slot(banner(n)).get(), name, info);
    }

    static inline void (*previousLoad)(id, id) = nullptr;
    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<Object> root = sel::init(alloc("UIViewController"));
    Ref<PublisherDelegate> delegate;
};

std::string json(const Value& v) { return dictionaryToJSONString(v); }

TEST_F(AdLoaderTest, OnlyKnownAdTypesMakeALoader) {
    struct Case {
        const char* name;
        Value types;
        bool made;
        const char* line;
    } cases[] = {
        {"content", Value::array({Value("1")}), true, nullptr},
        {"both", Value::array({Value("1"), Value("2")}), true, nullptr},
        {"an unknown type", Value::array({Value("1"), Value("3")}), false, "<Orvane> Error: Invalid ad format requested: \"3\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::log::clear();
        Ref<Object> loader = makeLoader(c.types);
        EXPECT_EQ(static_cast<bool>(loader), c.made);
        if (c.line) {
            EXPECT_TRUE(platform::log::contains(c.line));
        }
        if (loader) {
            EXPECT_EQ(sel::adUnitID(sel::slot(loader.get()).get()), Value("unit-9"));
        }
    }
}

TEST_F(AdLoaderTest, ADelegateMustTakeEveryTypeOfTheLoader) {
    Ref<Object> loader = makeLoader(Value::array({Value("1"), Value("2")}));
    Ref<Object> contentOnly = sel::init(alloc("LoaderTestContentDelegate"));
    sel::setDelegate_(loader.get(), contentOnly.get());
    EXPECT_FALSE(sel::delegate(loader.get()));
    EXPECT_TRUE(platform::log::contains("<Orvane> Delegate does not conform to the required protocol, YBXNativeAppInstallAdLoaderDelegate."));

    sel::setDelegate_(loader.get(), delegate.get());
    EXPECT_EQ(sel::delegate(loader.get()).get(), delegate.get());
    platform::log::clear();
    sel::setDelegate_(loader.get(), delegate.get());
    EXPECT_EQ(sel::delegate(loader.get()).get(), delegate.get());
    sel::setDelegate_(loader.get(), nullptr);
    EXPECT_FALSE(sel::delegate(loader.get()));

    Ref<Object> contentLoader = makeLoader(Value::array({Value("1")}));
    sel::setDelegate_(contentLoader.get(), contentOnly.get());
    EXPECT_EQ(sel::delegate(contentLoader.get()).get(), contentOnly.get());
}

TEST_F(AdLoaderTest, TheHiddenBannerAsksForTheFormatsWithACopyOfTheRequest) {
    Ref<Object> loader = loaderWithDelegate();
    Ref<Object> request = sel::init(alloc("YBXRequest"));
    sel::loadRequest_(loader.get(), request.get());
    ASSERT_EQ(bannerLoads().size(), 1u);
    id hidden = banner();
    EXPECT_TRUE(isKindOfClass(hidden, "QRTBannerView"));
    EXPECT_EQ(sel::frame(hidden).size, (Size{320, 50}));
    EXPECT_TRUE(sel::enableManualImpressions(hidden));
    EXPECT_FALSE(sel::window(hidden));
    EXPECT_EQ(sel::adUnitID(hidden), Value("unit-9"));
    EXPECT_EQ(sel::rootViewController(hidden).get(), root.get());
    id copy = bannerLoads()[0].request.get();
    EXPECT_NE(copy, request.get());
    EXPECT_EQ(sel::formatParameters(copy), Value::array({Value(Value::Dictionary{{"format", Value(1LL)}}), Value(Value::Dictionary{{"format", Value(2LL)}})}));
    EXPECT_EQ(sel::responseType(copy), 1u);
    EXPECT_EQ(sel::parameters(copy)["native_templates"], Value("1,2"));
    EXPECT_EQ(sel::parameters(copy)["native_version"].integerValue(), 1);
    // The publisher's own request is unchanged.
    EXPECT_TRUE(sel::parameters(request.get())["native_templates"].isNil());
    EXPECT_EQ(sel::responseType(request.get()), 0u);
}

TEST_F(AdLoaderTest, TheAppEventDecidesTheOutcome) {
    const Value appInstall = configurationWith(appInstallObject());
    Script missing = Script::body({"gone"}, 404);
    struct Case {
        const char* name;
        Value types;
        Value event;
        Value info;
        bool iconFails;
        std::string outcome;
    } cases[] = {
        {"a valid app-install ad", Value::array({Value("1"), Value("2")}), Value("native_ad_content"), Value(json(appInstall)), false, "app install ad"},
        {"a valid content ad", Value::array({Value("1")}), Value("native_ad_content"), Value(json(configurationWith(contentObject()))), false,
         "content ad"},
        {"another event name", Value::array({Value("2")}), Value("other_event"), Value(json(appInstall)), false, "error 11 Received malformed ad data."},
        {"a payload not JSON", Value::array({Value("2")}), Value("native_ad_content"), Value("{oops"), false, "error 11 Received malformed ad data."},
        {"a payload not an object", Value::array({Value("2")}), Value("native_ad_content"), Value("[1]"), false, "error 11 Received malformed ad data."},
        {"a format not requested", Value::array({Value("1")}), Value("native_ad_content"), Value(json(appInstall)), false,
         "error 11 Received invalid ad response."},
        {"an invalid ad object", Value::array({Value("2")}), Value("native_ad_content"),
         Value(json(configurationWith(Value(Value::Dictionary{{"type", Value("native")}, {"template_id", Value(2LL)}})))), false,
         "error 11 Received malformed ad data."},
        {"a required image failing", Value::array({Value("2")}), Value("native_ad_content"), Value(json(appInstall)), true,
         "error 2 Couldn't load native ad assets."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bannerLoads().clear();
        delegate->calls.clear();
        transport->answer("http://img.test/icon.png", c.iconFails ? missing : Script::body({pngText()}));
        Ref<Object> loader = loaderWithDelegate(c.types);
        sel::loadRequest_(loader.get(), nullptr);
        bannerReceivedAd();
        appEvent(c.event, c.info);
        RunLoop::main().advance(6);
        EXPECT_EQ(delegate->calls, std::vector<std::string>{c.outcome});
        EXPECT_TRUE(sel::appEventAdLoaders(loader.get()).array().empty());
        EXPECT_TRUE(sel::nativeAds(loader.get()).array().empty());
    }
}

TEST_F(AdLoaderTest, TheAppEventMayComeUpToFiveSecondsAfterTheBannersAd) {
    struct Case {
        const char* name;
        double eventAt;  // negative: never
        std::string outcome;
    } cases[] = {{"at 4.9 s", 4.9, "app install ad"}, {"never", -1, "error 5 Failed to receive ad configuration."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bannerLoads().clear();
        delegate->calls.clear();
        Ref<Object> loader = loaderWithDelegate();
        sel::loadRequest_(loader.get(), nullptr);
        bannerReceivedAd();
        if (c.eventAt >= 0) {
            RunLoop::main().advance(c.eventAt);
            appEvent(Value("native_ad_content"), Value(json(configurationWith(appInstallObject()))));
        }
        RunLoop::main().advance(4.9);
        EXPECT_TRUE(c.eventAt >= 0 || delegate->calls.empty());
        RunLoop::main().advance(1);
        EXPECT_EQ(delegate->calls, std::vector<std::string>{c.outcome});
    }
}

TEST_F(AdLoaderTest, TheBannersFailureIsTheLoadsAndTwoLoadsEndApart) {
    Ref<Object> loader = loaderWithDelegate();
    sel::loadRequest_(loader.get(), nullptr);
    sel::loadRequest_(loader.get(), nullptr);
    ASSERT_EQ(bannerLoads().size(), 2u);
    Ref<Object> failure = sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeNoFill);
    sel::slot_didFailToLoadAdContentWithError_(banner(0), sel::slot(banner(0)).get(), failure.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{format("error 1 %@", Value(sel::localizedDescription(failure.get())))});
    bannerReceivedAd(1);
    appEvent(Value("native_ad_content"), Value(json(configurationWith(appInstallObject()))), 1);
    RunLoop::main().advance(1);
    ASSERT_EQ(delegate->calls.size(), 2u);
    EXPECT_EQ(delegate->calls[1], "app install ad");
    EXPECT_EQ(delegate->onMainThread, std::vector<bool>{true});
}

TEST_F(AdLoaderTest, ADeliveredAdKeepsTheBannerAndHearsItsScreenEvents) {
    Ref<Object> loader = loaderWithDelegate();
    sel::loadRequest_(loader.get(), nullptr);
    Ref<Object> hidden(banner());
    Ref<Object> slot = sel::slot(hidden.get());
    bannerLoads().clear();  // the test's reference to the banner is the only one left besides the ad's
    sel::slotFinishedLoadingAdContent_(hidden.get(), slot.get());
    sel::slot_didReceiveAppEvent_withInfo_(hidden.get(), slot.get(), Value("native_ad_content"), Value(json(configurationWith(appInstallObject()))));
    RunLoop::main().advance(1);
    ASSERT_EQ(delegate->ads.size(), 1u);
    Ref<Object> ad = delegate->ads[0];
    EXPECT_EQ(sel::slot(ad.get()).get(), slot.get());
    EXPECT_TRUE(isKindOfClass(sel::icon(ad.get()).get(), "UIImage"));
    WeakRef<Object> weakBanner(hidden.get());
    hidden = nullptr;
    EXPECT_TRUE(weakBanner.lock()) << "the native ad keeps the banner";
    Ref<NativeRecorder> recorder = makeNativeRecorder();
    sel::setDelegate_(ad.get(), recorder.get());
    sel::adWillPresentScreen(slot.get());
    sel::adDidDismissScreen(slot.get());
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"nativeAdWillPresentScreen:", "nativeAdDidDismissScreen:"}));
}

}  // namespace
}  // namespace adlib

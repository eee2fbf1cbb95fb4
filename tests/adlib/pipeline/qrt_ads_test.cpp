// The publisher-ads banner and interstitial: custom rendering of an ad the
// app may render itself (who decides, what the app is handed, what its
// reports ping), several ad sizes and the size delegate, app events, manual
// impressions, and an interstitial the app renders not being presented. Ads
// come from the request's extras and render in the scripted page engine;
// pings are read from the scripted transport.
#include <gtest/gtest.h>

#include <algorithm>

#include "adlib/foundation/ad_size.h"
#include "adlib/pipeline/qrt_banner_view.h"
#include "adlib/pipeline/qrt_interstitial.h"
#include "adlib/pipeline/qrt_raw_html_ad.h"
#include "adlib/pipeline/slot.h"
#include "platform/foundation/log.h"
#include "platform/network/transport.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/pipeline/key_window.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

constexpr const char* kClickURL = "http://ads.test/click";
constexpr const char* kImpressionURL = "http://ads.test/imp";
constexpr const char* kManualURL = "http://ads.test/manual";
constexpr const char* kHTML = "<p>render me</p>";
constexpr const char* kBaseURL = "https://h/a/b/c.html";

// What a publisher's delegate heard: the raw ads, what came with them, app events, size changes.
class QRTDelegate : public NSObject {
public:
    bool answer = true;  // to the should-use question
    std::vector<std::string> calls;
    std::vector<Ref<Object>> rawAds;
    std::vector<YBXAdSize> sizes;
};

QRTDelegate* recorder(id self) { return as<QRTDelegate>(self); }

bool ask(id self, const char* call, const Value& html, id baseURL) {
    recorder(self)->calls.push_back(std::string(call) + " " + html.string() + " " + as<NSURL>(baseURL)->absoluteString());
    return recorder(self)->answer;
}

void render(id self, const char* call, id raw) {
    recorder(self)->calls.emplace_back(call);
    recorder(self)->rawAds.emplace_back(raw);
}

void registerDelegates() {
    if (objc_getClass("QRTTestAskingDelegate")) return;
    // Asks only; renders nothing.
    ClassBuilder<QRTDelegate>("QRTTestAskingDelegate", "NSObject")
        .method(sel::bannerView_shouldUseCustomRenderingForAdHTML_baseURL_,
                [](id self, id, Value html, id base) { return ask(self, "should use", html, base); })
        .method(sel::interstitial_shouldUseCustomRenderingForAdHTML_baseURL_,
                [](id self, id, Value html, id base) { return ask(self, "should use", html, base); });
    // Asks and renders.
    ClassBuilder<QRTDelegate>("QRTTestRawDelegate", "QRTTestAskingDelegate")
        .method(sel::bannerView_renderRawHTMLAd_, [](id self, id, id raw) { render(self, "render", raw); })
        .method(sel::interstitial_renderRawHTMLAd_, [](id self, id, id raw) { render(self, "render", raw); });
    // Renders without being asked.
    ClassBuilder<QRTDelegate>("QRTTestRenderingDelegate", "NSObject")
        .method(sel::bannerView_renderRawHTMLAd_, [](id self, id, id raw) { render(self, "render", raw); })
        .method(sel::interstitial_renderRawHTMLAd_, [](id self, id, id raw) { render(self, "render", raw); });
    // App events and sizes.
    ClassBuilder<QRTDelegate>("QRTTestEventDelegate", "NSObject")
        .method(sel::adView_didReceiveAppEvent_withInfo_,
                [](id self, id, Value name, Value info) { recorder(self)->calls.push_back("banner " + name.string() + " " + info.string()); })
        .method(sel::interstitial_didReceiveAppEvent_withInfo_,
                [](id self, id, Value name, Value info) { recorder(self)->calls.push_back("interstitial " + name.string() + " " + info.string()); })
        .method(sel::adView_willChangeAdSizeTo_, [](id self, id, YBXAdSize size) { recorder(self)->sizes.push_back(size); });
    ClassBuilder<QRTDelegate>("QRTTestSilentDelegate", "NSObject");
}

Ref<QRTDelegate> makeDelegate(const char* cls, bool answer = true) {
    registerDelegates();
    Ref<QRTDelegate> delegate = as<QRTDelegate>(sel::init(alloc(cls)));
    delegate->answer = answer;
    return delegate;
}

// A request carrying the ad itself; custom rendering allowed unless told otherwise.
Ref<Object> adRequest(const char* size = nullptr, bool customRenderingAllowed = true) {
    Value::Dictionary ad{{"ad_html", Value(kHTML)},
                         {"ad_base_url", Value(kBaseURL)},
                         {"click_urls", Value::array({Value(kClickURL)})},
                         {"impression_urls", Value::array({Value(kImpressionURL)})},
                         {"manual_impression_urls", Value::array({Value(kManualURL)})}};
    if (size) ad["ad_size"] = Value(size);
    Value::Dictionary extras{{"_ad", Value(std::move(ad))}};
    if (customRenderingAllowed) extras["_adHeaders"] = Value(Value::Dictionary{{"X-Kestra-Custom-Rendering-Allowed", Value("1")}});
    return testing::makeRequest(Value(std::move(extras)));
}

class QRTAdsTest : public testing::SlotTest {
protected:
    QRTAdsTest() {
        network::setTransport(transport);
        for (const char* url : {kClickURL, kImpressionURL, kManualURL}) transport->answer(url, ScriptedTransport::Script::body({""}));
        platform::log::clear();
    }

    Ref<Object> makeBanner(const char* cls = "QRTBannerView") {
        Ref<Object> banner = sel::initWithAdSize_(alloc(cls), kYBXAdSizeBanner);
        sel::addSubview_(sel::view(root.get()).get(), banner.get());
        sel::setRootViewController_(banner.get(), root.get());
        sel::setAdUnitID_(banner.get(), Value("unit-1"));
        return banner;
    }
    Ref<Object> makeInterstitial() {
        Ref<Object> interstitial = sel::init(alloc("QRTInterstitial"));
        sel::setAdUnitID_(interstitial.get(), Value("unit-2"));
        return interstitial;
    }
    // The banner or interstitial loads the ad of the request and the page has its turn.
    void load(id owner, const Ref<Object>& request = adRequest()) {
        sel::loadRequest_(owner, request.get());
        platform::testing::advance(1);
    }

    long pings(const char* url) const {
        const auto log = transport->log();
        return std::count(log.begin(), log.end(), std::string("GET ") + url);
    }
    // Whether the library rendered the ad (a document at its base URL) after the first `since` documents.
    static bool pageLoaded(size_t since) {
        const auto& documents = webkit::ScriptedPages::shared().documents();
        return std::any_of(documents.begin() + static_cast<long>(std::min(since, documents.size())), documents.end(),
                           [](const std::string& url) { return url == kBaseURL; });
    }
    static size_t documentCount() { return webkit::ScriptedPages::shared().documents().size(); }

    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    testing::KeyWindow shown;
    Ref<Object> root = shown.root;
};

// --- custom rendering ----------------------------------------------------------------------------------

TEST_F(QRTAdsTest, TheRawHTMLDelegateDecidesWhoRendersTheAd) {
    constexpr const char* kBannerLine =
        "<Orvane> Ignoring delegate callback. Delegate does not conform to QRTRawHTMLBannerViewDelegate.\nBanner view: ";
    struct Case {
        const char* name;
        const char* delegateClass;  // null: no raw-HTML delegate
        bool answer;
        std::vector<std::string> calls;
        bool custom;
        bool bannerLogs;
    };
    const std::string asked = std::string("should use ") + kHTML + " https://h/";
    const Case cases[] = {
        {"no raw-HTML delegate", nullptr, true, {}, false, false},
        {"should-use NO", "QRTTestRawDelegate", false, {asked}, false, false},
        {"should-use YES", "QRTTestRawDelegate", true, {asked, "render"}, true, false},
        {"should-use not implemented", "QRTTestRenderingDelegate", true, {"render"}, true, false},
        {"render method missing", "QRTTestAskingDelegate", true, {asked}, false, true},
    };
    for (bool interstitial : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(interstitial ? "interstitial: " : "banner: ") + c.name);
            platform::log::clear();
            const size_t documents = documentCount();
            Ref<QRTDelegate> delegate = c.delegateClass ? makeDelegate(c.delegateClass, c.answer) : nullptr;
            Ref<Object> owner = interstitial ? makeInterstitial() : makeBanner();
            if (interstitial) {
                sel::setCustomAdRenderingEnabled_(owner.get(), true);  // from an earlier ad
                sel::setRawHTMLInterstitialDelegate_(owner.get(), delegate.get());
            } else {
                sel::setRawHTMLBannerViewDelegate_(owner.get(), delegate.get());
            }
            load(owner.get());
            Ref<Object> slot = sel::slot(owner.get());
            if (delegate) {
                EXPECT_EQ(delegate->calls, c.calls);
            }
            EXPECT_EQ(sel::YBXSlot_state(slot.get()), c.custom ? YBXSlotStateRendering : YBXSlotStateValidAd);
            EXPECT_EQ(pageLoaded(documents), !c.custom);
            EXPECT_EQ(sel::isReloadable(slot.get()), !c.custom);
            EXPECT_EQ(platform::log::contains(kBannerLine), c.bannerLogs && !interstitial);
            if (interstitial) {
                EXPECT_EQ(sel::customAdRenderingEnabled(owner.get()), c.custom);
            }
            if (!c.custom) continue;
            ASSERT_EQ(delegate->rawAds.size(), 1u);
            id raw = delegate->rawAds[0].get();
            EXPECT_EQ(sel::adHTML(raw), Value(kHTML));
            EXPECT_EQ(as<NSURL>(sel::adBaseURL(raw).get())->absoluteString(), "https://h/");
            EXPECT_EQ(sel::delegate(raw).get(), owner.get());
            EXPECT_EQ(sel::adHTML(sel::ad(slot.get()).get()), Value(kHTML)) << "the raw ad's is the slot's current ad";
        }
    }
}

TEST_F(QRTAdsTest, TheAppsReportsPingTheCustomRenderedAdsURLsAndMakeItValid) {
    for (bool interstitial : {false, true}) {
        SCOPED_TRACE(interstitial ? "interstitial" : "banner");
        Ref<QRTDelegate> delegate = makeDelegate("QRTTestRawDelegate");
        Ref<Object> owner = interstitial ? makeInterstitial() : makeBanner();
        if (interstitial) sel::setRawHTMLInterstitialDelegate_(owner.get(), delegate.get());
        else sel::setRawHTMLBannerViewDelegate_(owner.get(), delegate.get());
        const long clicks = pings(kClickURL), manual = pings(kManualURL), automatic = pings(kImpressionURL);
        load(owner.get());
        ASSERT_EQ(delegate->rawAds.size(), 1u);
        id raw = delegate->rawAds[0].get();
        Ref<Object> slot = sel::slot(owner.get());
        EXPECT_EQ(pings(kManualURL), manual);
        EXPECT_EQ(pings(kImpressionURL), automatic);

        sel::recordClick(raw);
        sel::recordImpression(raw);
        Ref<Object> view = sel::init(alloc("UIView"));
        sel::finishedRenderingAdView_(raw, view.get());
        platform::testing::advance(1);
        EXPECT_EQ(pings(kClickURL), clicks + 1);
        EXPECT_EQ(pings(kManualURL), manual + 1);
        EXPECT_EQ(pings(kImpressionURL), automatic + 1);
        EXPECT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateValidAd);
    }
}

TEST_F(QRTAdsTest, AnInterstitialTheAppRendersIsNotPresentedByTheLibrary) {
    struct Case {
        const char* name;
        bool answer;
        bool presented;
    };
    const Case cases[] = {{"custom rendering", true, false}, {"should-use NO", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::log::clear();
        Ref<QRTDelegate> delegate = makeDelegate("QRTTestRawDelegate", c.answer);
        Ref<Object> interstitial = makeInterstitial();
        sel::setRawHTMLInterstitialDelegate_(interstitial.get(), delegate.get());
        load(interstitial.get());
        if (c.answer) sel::finishedRenderingAdView_(delegate->rawAds.at(0).get(), nullptr);
        EXPECT_TRUE(sel::isReady(interstitial.get()));
        sel::presentFromRootViewController_(interstitial.get(), root.get());
        EXPECT_EQ(platform::log::contains(
                      "<Orvane> Error: Custom ad rendering is enabled. Please present interstitial view from rootViewController manually."),
                  !c.presented);
        EXPECT_EQ(static_cast<bool>(sel::presentedViewController(root.get())), c.presented);
        EXPECT_EQ(sel::hasBeenUsed(interstitial.get()), c.presented);
    }
}

TEST_F(QRTAdsTest, ARawAdIsMadeOnlyWithItsHTML) {
    registerDelegates();
    EXPECT_FALSE(sel::init(alloc("QRTRawHTMLAd")));
    Ref<NSURL> base = NSURL::URLWithString("https://h/");
    Ref<Object> raw = sel::initWithAdHTML_adBaseURL_(alloc("QRTRawHTMLAd"), Value(kHTML), base.get());
    ASSERT_TRUE(raw);
    // Without a delegate its reports go nowhere.
    sel::recordClick(raw.get());
    sel::recordImpression(raw.get());
    sel::finishedRenderingAdView_(raw.get(), nullptr);
    EXPECT_TRUE(transport->log().empty());
}

// --- sizes, app events, manual impressions ---------------------------------------------------------------

TEST_F(QRTAdsTest, ValidAdSizesAreBoxedAndOnlyTheNullPointerMakesThemEmpty) {
    Ref<Object> banner = makeBanner();
    EXPECT_TRUE(sel::validAdSizes(banner.get()).isNil());
    const YBXAdSize* sizes[] = {&kYBXAdSizeBanner, &kYBXAdSizeMediumRectangle, nullptr};
    sel::setValidAdSizesWithSizes_(banner.get(), sizes);
    const Value boxed = sel::validAdSizes(banner.get());
    ASSERT_EQ(boxed.array().size(), 2u);
    for (const Value& each : boxed.array()) EXPECT_EQ(each.objCType(), "{YBXAdSize={CGSize=dd}Q}");
    YBXAdSize second;
    ASSERT_TRUE(YBXAdSizeUnboxed(boxed.array()[1], &second));
    EXPECT_TRUE(YBXAdSizesEqual(second, kYBXAdSizeMediumRectangle));

    const YBXAdSize* none[] = {nullptr};
    sel::setValidAdSizesWithSizes_(banner.get(), none);
    EXPECT_EQ(sel::validAdSizes(banner.get()), Value::array({}));
}

TEST_F(QRTAdsTest, AResponseSizeAmongTheValidOnesResizesTheBannerAndTellsItsSizeDelegate) {
    struct Case {
        const char* name;
        const char* responseSize;
        bool valid;
    };
    const Case cases[] = {{"a valid size", "300x250", true}, {"a size not listed", "728x90", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<QRTDelegate> sizeDelegate = makeDelegate("QRTTestEventDelegate");
        Ref<Object> banner = makeBanner();
        const YBXAdSize* sizes[] = {&kYBXAdSizeBanner, &kYBXAdSizeMediumRectangle, nullptr};
        sel::setValidAdSizesWithSizes_(banner.get(), sizes);
        sel::setAdSizeDelegate_(banner.get(), sizeDelegate.get());
        load(banner.get(), adRequest(c.responseSize, false));
        ASSERT_EQ(sizeDelegate->sizes.size(), c.valid ? 1u : 0u);
        const YBXAdSize expected = c.valid ? kYBXAdSizeMediumRectangle : kYBXAdSizeBanner;
        if (c.valid) {
            EXPECT_TRUE(YBXAdSizesEqual(sizeDelegate->sizes[0], expected));
        }
        EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(banner.get()), expected));
    }
}

TEST_F(QRTAdsTest, ResizeChangesTheSizeWithoutANewRequest) {
    Ref<Object> banner = makeBanner();
    load(banner.get(), adRequest(nullptr, false));
    Ref<Object> slot = sel::slot(banner.get());
    ASSERT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateValidAd);
    const size_t loads = testing::neighbourLog().loadedAds.size();

    sel::resize_(banner.get(), kYBXAdSizeMediumRectangle);
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(banner.get()), kYBXAdSizeMediumRectangle));
    EXPECT_EQ(sel::frame(banner.get()).size, (Size{300, 250}));
    EXPECT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateValidAd);
    EXPECT_EQ(testing::neighbourLog().loadedAds.size(), loads);

    // Setting the size itself reloads: the contrast that shows resize: does not.
    sel::setAdSize_(banner.get(), kYBXAdSizeLeaderboard);
    EXPECT_NE(sel::YBXSlot_state(slot.get()), YBXSlotStateValidAd);
}

TEST_F(QRTAdsTest, AppEventsReachOnlyDelegatesThatTakeThem) {
    struct Case {
        const char* name;
        bool interstitial;
        const char* delegateClass;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"banner", false, "QRTTestEventDelegate", {"banner score {\"n\":1}"}},
        {"banner, delegate without the method", false, "QRTTestSilentDelegate", {}},
        {"interstitial", true, "QRTTestEventDelegate", {"interstitial score {\"n\":1}"}},
        {"interstitial, delegate without the method", true, "QRTTestSilentDelegate", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<QRTDelegate> delegate = makeDelegate(c.delegateClass);
        Ref<Object> owner = c.interstitial ? makeInterstitial() : makeBanner();
        sel::setAppEventDelegate_(owner.get(), delegate.get());
        EXPECT_EQ(sel::appEventDelegate(owner.get()).get(), delegate.get());
        sel::slot_didReceiveAppEvent_withInfo_(owner.get(), sel::slot(owner.get()).get(), Value("score"), Value("{\"n\":1}"));
        EXPECT_EQ(delegate->calls, c.calls);
    }
}

TEST_F(QRTAdsTest, ManualImpressionsAreAskedForAndPingedOnlyWhenTheAppRecordsThem) {
    for (bool manual : {false, true}) {
        SCOPED_TRACE(manual ? "manual" : "automatic");
        Ref<Object> banner = makeBanner();
        sel::setEnableManualImpressions_(banner.get(), manual);
        EXPECT_EQ(sel::enableManualImpressions(banner.get()), manual);
        auto* slot = as<YBXSlot>(sel::slot(banner.get()).get());
        EXPECT_EQ(slot->requestParameters()["d_imp_hdr"], manual ? Value("1") : Value());
        const long before = pings(kManualURL);
        load(banner.get(), adRequest(nullptr, false));
        EXPECT_EQ(pings(kManualURL), before);
        sel::recordImpression(banner.get());
        platform::testing::advance(1);
        EXPECT_EQ(pings(kManualURL), before + 1);
    }
}

TEST_F(QRTAdsTest, ASwipeableBannerKeepsNoSwipeDelegate) {
    Ref<Object> banner = makeBanner("QRTSwipeableBannerView");
    ASSERT_TRUE(isKindOfClass(banner.get(), "QRTBannerView"));
    Ref<QRTDelegate> delegate = makeDelegate("QRTTestSilentDelegate");
    sel::setSwipeDelegate_(banner.get(), delegate.get());
    EXPECT_FALSE(sel::swipeDelegate(banner.get()));
}

}  // namespace
}  // namespace adlib

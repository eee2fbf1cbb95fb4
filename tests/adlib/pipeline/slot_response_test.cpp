// The slot's response processing: the dispatch by response type, HTML
// rendering with its trimming and size handling, custom rendering, mediation
// and the fetch road, over scripted loads and the scripted page engine.
#include <gtest/gtest.h>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/request_error.h"
#include "adlib/mediation/glue.h"
#include "adlib/mediation/mediation_config.h"
#include "adlib/pipeline/ad.h"
#include "platform/foundation/log.h"
#include "platform/network/transport.h"
#include "platform/uikit/control_selectors.h"
#include "platform/webkit/scripted_page_engine.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::makeDelegate;
using testing::SlotTestDelegate;

bool hasTimer(YBXSlot* slot) { return slot->reloadTimer_ && slot->reloadTimer_->isValid(); }

Ref<Object> makeAd(unsigned long long type, std::string html, const char* cls = "YBXAd") {
    Ref<Object> ad = sel::init(alloc(cls));
    sel::setAdHTML_(ad.get(), Value(std::move(html)));
    sel::setAdBaseURL_(ad.get(), NSURL::URLWithString("http://ads.test/").get());
    sel::setResponseType_(ad.get(), type);
    return ad;
}

bool documentLoaded(std::string_view html) {
    for (const std::string& document : webkit::ScriptedPages::shared().documents())
        if (document.find(html) != std::string::npos) return true;
    return false;
}

long long codeOf(const Ref<Object>& error) { return sel::code(error.get()); }

class SlotResponse : public testing::SlotTest {
protected:
    SlotResponse() {
        network::setTransport(transport);
        // The slot's side only: the glue keeps the configuration it is handed and runs no waterfall.
        static void (*previous)(id, id, id) = nullptr;
        MSHookMessageEx(objc_getClass("YBXMToYBXGlue"), sel::requestAdWithType_mediationConfig_,
                        +[](id self, id, id config) { as<YBXMToYBXGlue>(self)->mediationConfig_ = Ref<YBXMConfig>(as<YBXMConfig>(config)); },
                        &previous);
    }

    // A slot with the recording delegate in both roles, waiting on a fetch as
    // a request leaves it, with a refresh interval of 20 s but no timer yet.
    Ref<YBXSlot> fetchingSlot(Ref<SlotTestDelegate> delegate, bool interstitial = false) {
        Ref<YBXSlot> slot = interstitial ? testing::makeSlot() : testing::makeBannerSlot(kYBXAdSizeBanner);
        sel::setSlotDelegate_(slot.get(), delegate.get());
        sel::setAdEventDelegate_(slot.get(), delegate.get());
        sel::setAdUnitID_(slot.get(), Value("unit-1"));
        sel::scheduleReloadTimer_(slot.get(), 20);
        sel::deactivateReloadTimer(slot.get());
        slot->setState(YBXSlotStateRequestingAdURL);
        slot->setState(YBXSlotStateFetching);
        return slot;
    }

    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
};

constexpr const char* kMediation = R"({"ad_type":"banner","ad_networks":[],"settings":{"refresh":45}})";

TEST_F(SlotResponse, TheResponseTypeChoosesThePath) {
    struct Case {
        unsigned long long type;
        const char* html;
        bool answer;
        long long state;
        long long code;  // -1: no failure
        bool timer;
        double interval;
    };
    const Case cases[] = {
        {0, "<p>ad</p>", false, 7, YBXErrorCodeInternal, true, 20},
        {1, "<p>ad</p>", true, 5, -1, true, 20},
        {2, kMediation, true, 4, -1, true, 45},
        {3, R"({"native":true})", false, 7, YBXErrorCodeInternal, true, 20},
        {4, "<p>ad</p>", true, 5, -1, true, 20},
        {5, "<p>ad</p>", true, 4, -1, false, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type);
        Ref<SlotTestDelegate> asked = makeDelegate();
        Ref<YBXSlot> answering = fetchingSlot(asked);
        EXPECT_EQ(sel::slot_didReceiveAd_(answering.get(), answering.get(), makeAd(c.type, c.html).get()), c.answer);
        answering->cancelPendingActions();

        Ref<SlotTestDelegate> delegate = makeDelegate();
        Ref<YBXSlot> slot = fetchingSlot(delegate);
        sel::adFetcher_didFetchAd_(slot.get(), nullptr, makeAd(c.type, c.html).get());
        EXPECT_EQ(slot->state_, c.state);
        if (c.code < 0) {
            EXPECT_TRUE(delegate->errors.empty());
        } else {
            ASSERT_EQ(delegate->errors.size(), 1u);
            EXPECT_EQ(codeOf(delegate->errors[0]), c.code);
        }
        EXPECT_EQ(hasTimer(slot.get()), c.timer);
        EXPECT_EQ(sel::reloadInterval(slot.get()), c.interval);
        slot->cancelPendingActions();
    }
}

TEST_F(SlotResponse, HTMLOfUnicodeWhiteSpaceOnlyIsNoAd) {
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    const std::string blank = " \t\u00A0\n\u2028\r\n ";
    sel::adFetcher_didFetchAd_(slot.get(), nullptr, makeAd(YBXAdResponseTypeHTML, blank).get());
    EXPECT_EQ(slot->state_, YBXSlotStateFailed);
    ASSERT_EQ(delegate->errors.size(), 1u);
    EXPECT_EQ(codeOf(delegate->errors[0]), YBXErrorCodeNoFill);
    EXPECT_EQ(sel::localizedDescription(delegate->errors[0].get()), "Request Error: No ad to show.");
    // The refresh started before the check runs on; nothing was rendered.
    EXPECT_TRUE(hasTimer(slot.get()));
    EXPECT_TRUE(std::find(delegate->calls.begin(), delegate->calls.end(), "slot:didReceiveAdView:") == delegate->calls.end());
    EXPECT_FALSE(documentLoaded("\u00A0"));
}

TEST_F(SlotResponse, HTMLIsTrimmedRenderedAndBecomesTheAdOnceThePageHasLoaded) {
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    Ref<Object> ad = makeAd(YBXAdResponseTypeHTML, "\u2028  <p>rendered ad</p>\n\u00A0");
    sel::setScrollEnabled_(ad.get(), false);
    sel::setDebugDialog_(ad.get(), Value("creative 7"));
    sel::setReloadInterval_(ad.get(), 60);
    sel::adFetcher_didFetchAd_(slot.get(), nullptr, ad.get());

    EXPECT_EQ(slot->state_, YBXSlotStateRendering);
    EXPECT_EQ(sel::reloadInterval(slot.get()), 60);
    EXPECT_TRUE(hasTimer(slot.get()));
    id webView = slot->webView_.get();
    EXPECT_FALSE(sel::isScrollEnabled(sel::scrollView(webView).get()));
    EXPECT_EQ(sel::adDebugDialog(webView), Value("creative 7"));
    EXPECT_EQ(delegate->adViews, std::vector<Ref<Object>>{Ref<Object>(webView)});
    EXPECT_EQ(sel::loadingAd(slot.get()).get(), ad.get());

    platform::testing::advance(0.5);
    EXPECT_EQ(slot->state_, YBXSlotStateValidAd);
    EXPECT_EQ(sel::ad(slot.get()).get(), ad.get());
    EXPECT_FALSE(sel::loadingAd(slot.get()));
    EXPECT_EQ(webkit::ScriptedPages::shared().documents().back(), "http://ads.test/");
    EXPECT_EQ(delegate->calls.back(), "slotFinishedLoadingAdContent:");
}

TEST_F(SlotResponse, TheResponsesSizeIsAppliedOnlyWhenTheDelegateAcceptsIt) {
    struct Case {
        const char* name;
        bool interstitial;
        const char* custom;
        bool silent;  // the delegate implements no size methods
        Value valid;
        bool resized;
        bool set;
    };
    const Value both = Value::array({YBXAdSizeBoxed(kYBXAdSizeBanner), YBXAdSizeBoxed(kYBXAdSizeMediumRectangle)});
    const Case cases[] = {
        {"a new valid size", false, "300x250", false, both, true, true},
        {"the current size", false, "320x50", false, both, false, true},
        {"not among the valid sizes", false, "728x90", false, both, false, false},
        {"no valid sizes", false, "300x250", false, Value(), false, false},
        {"a delegate without size answers", false, "300x250", true, both, false, false},
        {"an interstitial", true, "300x250", false, both, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<SlotTestDelegate> delegate = makeDelegate(c.silent);
        delegate->validSizes = c.valid;
        delegate->bounds = Rect{{0, 0}, {300, 250}};
        Ref<YBXSlot> slot = fetchingSlot(delegate, c.interstitial);
        const Rect before = sel::frame(slot->webView_.get());
        Ref<Object> ad = makeAd(YBXAdResponseTypeHTML, "<p>sized</p>");
        sel::setCustomAdSizeString_(ad.get(), Value(c.custom));
        sel::adFetcher_didFetchAd_(slot.get(), nullptr, ad.get());

        if (!c.silent) {
            EXPECT_EQ(delegate->adViews.size(), 1u);  // the view is handed over whatever the size
        }
        EXPECT_EQ(delegate->resizes.size(), c.resized ? 1u : 0u);
        ASSERT_EQ(delegate->sizesSet.size(), c.set ? 1u : 0u);
        if (c.set) {
            const Size wanted = YBXAdSizeFromWxHString(c.custom);
            EXPECT_TRUE(YBXAdSizesEqual(delegate->sizesSet[0], YBXAdSizeFromSize(wanted)));
            EXPECT_EQ(sel::frame(slot->webView_.get()), delegate->bounds);
        } else {
            EXPECT_EQ(sel::frame(slot->webView_.get()), before);
        }
        EXPECT_EQ(sel::newAdSize(slot.get()), (Size{0, 0}));
        slot->cancelPendingActions();
    }
}

TEST_F(SlotResponse, ValidationMatchesBoxedSizesOfTheAdSizeEncodingOnly) {
    const YBXAdSize custom = YBXAdSizeFromCGSize(Size{200, 200});
    const Value sizes = Value::array({Value("200x200"), YBXAdSizeBoxed(kYBXAdSizeBanner), YBXAdSizeBoxed(custom)});
    Ref<YBXSlot> slot = testing::makeSlot();
    EXPECT_TRUE(sel::validateAdResponseWithAdSize_andValidAdSizes_(slot.get(), custom, sizes));
    EXPECT_TRUE(sel::validateAdResponseWithAdSize_andValidAdSizes_(slot.get(), kYBXAdSizeBanner, sizes));
    // Same sides, other flags: no match.
    EXPECT_FALSE(sel::validateAdResponseWithAdSize_andValidAdSizes_(slot.get(), YBXAdSizeFromSize(Size{200, 200}), Value::array({Value(Size{200, 200})})));
    EXPECT_FALSE(sel::validateAdResponseWithAdSize_andValidAdSizes_(slot.get(), kYBXAdSizeLeaderboard, sizes));
    EXPECT_FALSE(sel::validateAdResponseWithAdSize_andValidAdSizes_(slot.get(), kYBXAdSizeBanner, Value()));
}

TEST_F(SlotResponse, CustomRenderingIsTheDelegatesWhenItSaysSo) {
    struct Case {
        const char* name;
        int delegateKind;  // 0 answers YES, 1 answers NO, 2 does not implement it
        long long state;
        bool reloadable;
        bool timer;
    };
    const Case cases[] = {
        {"YES", 0, YBXSlotStateFetching, false, false},
        {"NO", 1, YBXSlotStateRendering, true, true},
        {"not implemented", 2, YBXSlotStateRendering, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<SlotTestDelegate> delegate = c.delegateKind == 2 ? makeDelegate() : testing::makeRenderingDelegate(c.delegateKind == 0);
        Ref<YBXSlot> slot = fetchingSlot(delegate);
        sel::scheduleReloadTimer_(slot.get(), 20);  // a timer running from the last ad
        Ref<Object> ad = makeAd(YBXAdResponseTypeCustomRendering, "<p>custom</p>");
        sel::adFetcher_didFetchAd_(slot.get(), nullptr, ad.get());
        EXPECT_EQ(slot->state_, c.state);
        EXPECT_EQ(sel::isReloadable(slot.get()), c.reloadable);
        EXPECT_EQ(hasTimer(slot.get()), c.timer);
        EXPECT_EQ(sel::responseType(ad.get()), c.delegateKind == 0 ? YBXAdResponseTypeCustomRendering : YBXAdResponseTypeHTML);
        EXPECT_TRUE(delegate->errors.empty());
        slot->cancelPendingActions();
    }
}

// --- mediation ----------------------------------------------------------------------------------------

TEST_F(SlotResponse, AMediationResponseGoesToTheGlueWithItsConfiguration) {
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    Ref<Object> ad = makeAd(YBXAdResponseTypeMediation, kMediation);
    slot->loadingAd_ = ad;  // the fetched ad, as the fetch leaves it
    sel::adFetcher_didFetchAd_(slot.get(), nullptr, ad.get());
    EXPECT_EQ(slot->state_, YBXSlotStateFetching);
    EXPECT_EQ(sel::ad(slot.get()).get(), ad.get());
    EXPECT_FALSE(sel::loadingAd(slot.get()));
    EXPECT_TRUE(sel::isMediating(slot.get()));
    EXPECT_EQ(sel::objectForKey_(sel::statistics(ad.get()).get(), "ismediation"), Value(true));
    Ref<Object> config = sel::mediationConfig(slot->adMediationGlue_.get());
    ASSERT_TRUE(config);
    EXPECT_EQ(sel::appKey(config.get()), Value("unit-1"));
    EXPECT_TRUE(sel::isEqual_(sel::adType(config.get()).get(), sel::adType(slot.get()).get()));
    EXPECT_TRUE(hasTimer(slot.get()));
    EXPECT_EQ(sel::reloadInterval(slot.get()), 45);
    EXPECT_TRUE(delegate->errors.empty());
    EXPECT_FALSE(platform::log::contains("Warning: mediated ad type"));
}

TEST_F(SlotResponse, AnUnknownMediatedTypeIsReplacedByTheSlotsOwn) {
    struct Case {
        const char* name;
        bool interstitial;
        Size newSize;  // what an ad dictionary asked for
        const char* expected;
    };
    const Case cases[] = {
        {"banner", false, {0, 0}, "320x50"},
        {"banner with the response's size", false, {300, 250}, "300x250"},
        {"interstitial", true, {0, 0}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::log::clear();
        Ref<SlotTestDelegate> delegate = makeDelegate();
        Ref<YBXSlot> slot = fetchingSlot(delegate, c.interstitial);
        slot->newAdSize_ = c.newSize;
        sel::adFetcher_didFetchAd_(slot.get(), nullptr, makeAd(YBXAdResponseTypeMediation, R"({"ad_type":"weird","ad_networks":[]})").get());
        Ref<Object> config = sel::mediationConfig(slot->adMediationGlue_.get());
        ASSERT_TRUE(config);
        Ref<Object> type = sel::adType(config.get());
        Ref<Object> expected = c.expected ? sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), YBXAdSizeFromSize(YBXAdSizeFromWxHString(c.expected)))
                                          : sel::interstitialAdType(objc_getClass("YBXAdType"));
        EXPECT_TRUE(sel::isEqual_(type.get(), expected.get())) << sel::description(type.get()).string();
        const std::string warning =
            format("<Orvane> Warning: mediated ad type is unknown or invalid. Resetting type to %@.", sel::description(expected.get()));
        EXPECT_TRUE(platform::log::contains(warning)) << warning;
        // Mediated interstitials never refresh.
        EXPECT_EQ(hasTimer(slot.get()), false);
        slot->cancelPendingActions();
    }
}

TEST_F(SlotResponse, ABadMediationResponseFailsWithoutARefresh) {
    for (const char* body : {"{not json", R"({"ad_type":"banner","ad_networks":{}})"}) {
        SCOPED_TRACE(body);
        Ref<SlotTestDelegate> delegate = makeDelegate();
        Ref<YBXSlot> slot = fetchingSlot(delegate);
        sel::adFetcher_didFetchAd_(slot.get(), nullptr, makeAd(YBXAdResponseTypeMediation, body).get());
        EXPECT_EQ(slot->state_, YBXSlotStateFailed);
        ASSERT_EQ(delegate->errors.size(), 1u);
        EXPECT_EQ(codeOf(delegate->errors[0]), YBXErrorCodeInvalidMediationResponse);
        EXPECT_FALSE(hasTimer(slot.get()));
        EXPECT_FALSE(sel::mediationConfig(slot->adMediationGlue_.get()));
    }
}

// --- the fetch road -------------------------------------------------------------------------------------

Ref<Object> adAt(const char* url, const char* cls = "YBXAd") {
    Ref<Object> ad = sel::init(alloc(cls));
    sel::setAdURL_(ad.get(), NSURL::URLWithString(url).get());
    return ad;
}

ScriptedTransport::Script htmlAnswer(std::string body, double delay = 0) {
    ScriptedTransport::Script script = ScriptedTransport::Script::body({std::move(body)});
    script.headers = {{"Content-Type", "text/html"}, {"X-Kestra-Refresh-Rate", "30"}};
    script.delay = delay;
    return script;
}

TEST_F(SlotResponse, AFetchedHTMLAdIsShownAndRefreshes) {
    transport->answer("http://ads.test/ad", htmlAnswer("<p>fetched</p>"));
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    slot->loadAd(adAt("http://ads.test/ad").get(), Value());
    platform::testing::advance(1);
    EXPECT_EQ(slot->state_, YBXSlotStateValidAd);
    EXPECT_TRUE(documentLoaded("http://ads.test/"));
    EXPECT_EQ(delegate->calls.back(), "slotFinishedLoadingAdContent:");
    EXPECT_EQ(sel::reloadInterval(slot.get()), 30);
    EXPECT_TRUE(hasTimer(slot.get()));
}

TEST_F(SlotResponse, AFailedFetchEndsTheRequestAndReschedules) {
    transport->answer("http://ads.test/ad", ScriptedTransport::Script::body({"oops"}, 500));
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    slot->loadAd(adAt("http://ads.test/ad").get(), Value());
    platform::testing::advance(1);
    EXPECT_EQ(slot->state_, YBXSlotStateFailed);
    ASSERT_EQ(delegate->errors.size(), 1u);
    EXPECT_EQ(codeOf(delegate->errors[0]), YBXErrorCodeServer);
    EXPECT_TRUE(hasTimer(slot.get()));
    EXPECT_EQ(sel::reloadInterval(slot.get()), 20);
}

TEST_F(SlotResponse, ASecondLoadCancelsTheFetchInFlight) {
    transport->answer("http://ads.test/first", htmlAnswer("<p>first ad</p>", 5));
    transport->answer("http://ads.test/second", htmlAnswer("<p>second ad</p>", 1));
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    slot->loadAd(adAt("http://ads.test/first").get(), Value());
    platform::testing::advance(0.5);
    Ref<Object> second = adAt("http://ads.test/second");
    slot->loadAd(second.get(), Value());
    platform::testing::advance(10);
    EXPECT_EQ(slot->state_, YBXSlotStateValidAd);
    EXPECT_EQ(sel::ad(slot.get()).get(), second.get());
    EXPECT_EQ(sel::adHTML(second.get()), Value("<p>second ad</p>"));
    // The first fetch never reported: one load, no failure.
    EXPECT_TRUE(delegate->errors.empty());
    EXPECT_EQ(std::count(delegate->calls.begin(), delegate->calls.end(), "slotFinishedLoadingAdContent:"), 1);
    EXPECT_EQ(std::count(delegate->calls.begin(), delegate->calls.end(), "slot:didReceiveAdView:"), 1);
    EXPECT_EQ(transport->activeLoads(), 0u);
}

TEST_F(SlotResponse, AnAdDictionarysBannerSizeAndRefreshRateTakeEffect) {
    transport->answer("http://ads.test/ad", ScriptedTransport::Script::body({"<p>x</p>"}));
    Ref<SlotTestDelegate> delegate = makeDelegate();
    delegate->validSizes = Value::array({YBXAdSizeBoxed(kYBXAdSizeMediumRectangle)});
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    Ref<Object> ad = sel::initWithDictionary_(
        alloc("YBXAdBanner"), Value(Value::Dictionary{{"ad_url", Value("http://ads.test/ad")}, {"ad_size", Value("300x250")}, {"refresh_rate", Value(40LL)}}));
    slot->loadAd(ad.get(), Value());
    EXPECT_EQ(sel::newAdSize(slot.get()), (Size{300, 250}));
    EXPECT_EQ(sel::reloadInterval(slot.get()), 40);
    platform::testing::advance(1);
    ASSERT_EQ(delegate->sizesSet.size(), 1u);
    EXPECT_TRUE(YBXAdSizesEqual(delegate->sizesSet[0], kYBXAdSizeMediumRectangle));
    EXPECT_EQ(slot->state_, YBXSlotStateValidAd);
}

TEST_F(SlotResponse, NetworkJavaScriptAdsWaitForTheirLoader) {
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    Ref<Object> ad = adAt("http://ads.test/js");
    sel::setHasAdNetworkJavaScript_(ad.get(), true);
    slot->loadAd(ad.get(), Value());
    platform::testing::advance(1);
    EXPECT_EQ(slot->state_, YBXSlotStateFetching);
    EXPECT_FALSE(slot->adFetcher_);
    EXPECT_TRUE(transport->log().empty());
}

TEST_F(SlotResponse, TheAdOnShowStaysCurrentWhileTheNextOneLoads) {
    transport->answer("http://ads.test/first", htmlAnswer("<p>first</p>"));
    transport->answer("http://ads.test/next", htmlAnswer("<p>next</p>", 5));
    Ref<SlotTestDelegate> delegate = makeDelegate();
    Ref<YBXSlot> slot = fetchingSlot(delegate);
    Ref<Object> first = adAt("http://ads.test/first");
    slot->loadAd(first.get(), Value());
    platform::testing::advance(1);
    ASSERT_EQ(sel::ad(slot.get()).get(), first.get());

    slot->setState(YBXSlotStateRequestingAdURL);
    Ref<Object> next = adAt("http://ads.test/next");
    slot->loadAd(next.get(), Value());
    EXPECT_EQ(sel::ad(slot.get()).get(), first.get());
    sel::adWasClicked(slot.get());
    EXPECT_EQ(sel::objectForKey_(sel::statistics(first.get()).get(), "pcc"), Value(1LL));
    platform::testing::advance(6);
    EXPECT_EQ(sel::ad(slot.get()).get(), next.get());
}

}  // namespace
}  // namespace adlib

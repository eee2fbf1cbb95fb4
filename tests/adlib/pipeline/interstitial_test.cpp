// YBXInterstitial: one life from loading to its one presentation, the usage
// error after it, cancelling, a mediated presentation and the web actions it
// listens to. Ads come from the request's extras and render in the scripted
// page engine; impression pings are read from the scripted transport.
#include "adlib/pipeline/interstitial.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/ad.h"
#include "adlib/render/view_controller.h"
#include "adlib/render/web_view_delegate.h"
#include "platform/foundation/log.h"
#include "platform/network/transport.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::neighbourLog;

class InterstitialDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<long long> codes;
};

void registerInterstitialDelegate() {
    if (objc_getClass("InterstitialTestDelegate")) return;
    ClassBuilder<InterstitialDelegate>("InterstitialTestDelegate", "NSObject")
        .method(sel::interstitialDidReceiveAd_, [](id self, id) { as<InterstitialDelegate>(self)->calls.emplace_back("interstitialDidReceiveAd:"); })
        .method(sel::interstitial_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    as<InterstitialDelegate>(self)->calls.emplace_back("interstitial:didFailToReceiveAdWithError:");
                    as<InterstitialDelegate>(self)->codes.push_back(sel::code(error));
                })
        .method(sel::interstitialWillPresentScreen_, [](id self, id) { as<InterstitialDelegate>(self)->calls.emplace_back("interstitialWillPresentScreen:"); })
        .method(sel::interstitialWillDismissScreen_, [](id self, id) { as<InterstitialDelegate>(self)->calls.emplace_back("interstitialWillDismissScreen:"); })
        .method(sel::interstitialDidDismissScreen_, [](id self, id) { as<InterstitialDelegate>(self)->calls.emplace_back("interstitialDidDismissScreen:"); })
        .method(sel::interstitialWillLeaveApplication_,
                [](id self, id) { as<InterstitialDelegate>(self)->calls.emplace_back("interstitialWillLeaveApplication:"); });
}

int glueCancels = 0;
void (*previousGlueCancel)(id) = nullptr;
std::vector<Object*> gluePresentedFrom;
void (*previousGluePresent)(id, id) = nullptr;

constexpr const char* kImpressionURL = "http://ads.test/imp";

// A request whose extras carry the interstitial ad itself.
Ref<Object> adRequest() {
    return testing::makeRequest(Value(Value::Dictionary{
        {"_ad", Value(Value::Dictionary{{"ad_html", Value("<p>full screen</p>")},
                                        {"ad_base_url", Value("http://ads.test/")},
                                        {"orientation", Value("landscape")},
                                        {"impression_urls", Value::array({Value(kImpressionURL)})}})}}));
}

class InterstitialTest : public testing::SlotTest {
protected:
    InterstitialTest() {
        network::setTransport(transport);
        transport->answer(kImpressionURL, ScriptedTransport::Script::body({""}));
        registerInterstitialDelegate();
        delegate = as<InterstitialDelegate>(newObject("InterstitialTestDelegate"));
        MSHookMessageEx(objc_getClass("YBXMToYBXGlue"), sel::cancel,
                        +[](id self) {
                            ++glueCancels;
                            previousGlueCancel(self);
                        },
                        &previousGlueCancel);
        MSHookMessageEx(objc_getClass("YBXMToYBXGlue"), sel::presentInterstitialFromRootViewController_,
                        +[](id self, id root) {
                            gluePresentedFrom.push_back(root);
                            previousGluePresent(self, root);
                        },
                        &previousGluePresent);
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
        sel::setDelegate_(interstitial.get(), delegate.get());
        platform::log::clear();
    }

    long impressions() const {
        const auto log = transport->log();
        return std::count(log.begin(), log.end(), std::string("GET ") + kImpressionURL);
    }
    Ref<Object> slot() const { return sel::slot(interstitial.get()); }

    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
    Ref<Object> root = sel::init(alloc("UIViewController"));
    Ref<Object> interstitial = newObject("YBXInterstitial");
    Ref<InterstitialDelegate> delegate;
};

TEST_F(InterstitialTest, CreationWiresSlotWebViewAndController) {
    Ref<Object> s = slot();
    EXPECT_TRUE(sel::isInterstitial(sel::adType(s.get()).get()));
    EXPECT_EQ(sel::interstitial(s.get()).get(), interstitial.get());
    EXPECT_EQ(sel::slotDelegate(s.get()).get(), interstitial.get());
    Ref<Object> controller = sel::viewController(interstitial.get());
    ASSERT_TRUE(isKindOfClass(controller.get(), "YBXWebAppViewController"));
    EXPECT_EQ(sel::webView(controller.get()).get(), sel::webView(s.get()).get());
    EXPECT_EQ(sel::interstitial(controller.get()).get(), interstitial.get());
    EXPECT_EQ(sel::viewController(sel::webView(s.get()).get()).get(), controller.get());
    EXPECT_FALSE(sel::slotShouldReloadCurrentRequest_(interstitial.get(), s.get()));
}

TEST_F(InterstitialTest, OneLifeFromLoadToItsOnePresentation) {
    // Not loaded: presenting only logs.
    EXPECT_FALSE(sel::isReady(interstitial.get()));
    sel::presentFromRootViewController_(interstitial.get(), root.get());
    EXPECT_TRUE(platform::log::contains("<Orvane> Cannot present interstitial. It is not ready."));
    EXPECT_TRUE(delegate->calls.empty());

    // Loaded: ready, and no impression yet.
    Ref<Object> request = adRequest();
    sel::loadRequest_(interstitial.get(), request.get());
    EXPECT_EQ(sel::request(interstitial.get()).get(), request.get());
    platform::testing::advance(1);
    EXPECT_TRUE(sel::isReady(interstitial.get()));
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"interstitialDidReceiveAd:"});
    EXPECT_EQ(impressions(), 0);

    // No presenter: nothing happens, the ad stays ready and unused.
    sel::presentFromRootViewController_(interstitial.get(), nullptr);
    EXPECT_TRUE(platform::log::contains("<Orvane> No UIViewController supplied to the ad. Cannot continue."));
    platform::testing::advance(1);
    EXPECT_EQ(impressions(), 0);
    EXPECT_TRUE(sel::isReady(interstitial.get()));
    EXPECT_FALSE(sel::hasBeenUsed(interstitial.get()));

    // Presented: the impression now, the controller shown with the ad's orientations.
    Ref<Object> controller = sel::viewController(interstitial.get());
    Ref<Object> webView = sel::webView(slot().get());
    sel::presentFromRootViewController_(interstitial.get(), root.get());
    platform::testing::advance(1);
    EXPECT_EQ(impressions(), 1);
    EXPECT_TRUE(sel::hasBeenUsed(interstitial.get()));
    EXPECT_FALSE(sel::isReady(interstitial.get()));
    EXPECT_FALSE(sel::viewController(interstitial.get()));
    EXPECT_EQ(sel::presentedViewController(root.get()).get(), controller.get());
    EXPECT_EQ(sel::slot(controller.get()).get(), slot().get());
    EXPECT_EQ(sel::supportedOrientations(controller.get()), 3);
    // The slot's own delegate no longer hears the page: the controller's does.
    EXPECT_TRUE(isKindOfClass(sel::delegate(webView.get()).get(), "YBXWebAppWebViewDelegate"));
    EXPECT_EQ(sel::delegate(webView.get()).get(), sel::webViewDelegate(controller.get()).get());
    EXPECT_EQ(delegate->calls.back(), "interstitialWillPresentScreen:");

    // Used: presenting and loading again fail with code 6 and leave the glue alone.
    delegate->calls.clear();
    platform::log::clear();
    sel::presentFromRootViewController_(interstitial.get(), root.get());
    sel::loadRequest_(interstitial.get(), adRequest().get());
    EXPECT_EQ(delegate->codes, (std::vector<long long>{YBXErrorCodeInterstitialReused, YBXErrorCodeInterstitialReused}));
    EXPECT_TRUE(platform::log::contains("<Orvane> Request Error: Will not send request because interstitial object has been used."));
    EXPECT_EQ(glueCancels, 0);
    EXPECT_EQ(neighbourLog().loadedAds.size(), 1u);
    platform::testing::advance(1);
    EXPECT_EQ(impressions(), 1);
}

TEST_F(InterstitialTest, ACancelledInterstitialRefusesSilently) {
    sel::cancel(interstitial.get());
    EXPECT_EQ(sel::YBXSlot_state(slot().get()), YBXSlotStateInvalidated);
    sel::loadRequest_(interstitial.get(), adRequest().get());
    platform::testing::advance(1);
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(neighbourLog().loadedAds.empty());
    EXPECT_FALSE(sel::isReady(interstitial.get()));
}

TEST_F(InterstitialTest, AMediatedAdIsPresentedByTheGlue) {
    Ref<Object> s = slot();
    as<YBXSlot>(s.get())->setState(YBXSlotStateRequestingAdURL);
    as<YBXSlot>(s.get())->setState(YBXSlotStateFetching);
    Ref<Object> ad = newObject("YBXAdInterstitial");
    sel::setAdHTML_(ad.get(), Value(R"({"ad_type":"interstitial","ad_networks":[]})"));
    sel::setResponseType_(ad.get(), YBXAdResponseTypeMediation);
    sel::adFetcher_didFetchAd_(s.get(), nullptr, ad.get());
    sel::didReceiveValidAd(s.get());
    ASSERT_TRUE(sel::isReady(interstitial.get()));
    Ref<Object> webView = sel::webView(s.get());
    Ref<Object> webViewDelegate = sel::delegate(webView.get());

    sel::presentFromRootViewController_(interstitial.get(), root.get());
    EXPECT_EQ(gluePresentedFrom, std::vector<Object*>{root.get()});
    EXPECT_TRUE(sel::hasBeenUsed(interstitial.get()));
    EXPECT_FALSE(sel::presentedViewController(root.get()));
    EXPECT_EQ(sel::delegate(webView.get()).get(), webViewDelegate.get());
    platform::testing::advance(1);
    EXPECT_EQ(impressions(), 0);
}

TEST_F(InterstitialTest, OnlyAnOpenActionFromItsOwnWebViewCancelsTheRequest) {
    struct Case {
        const char* name;
        Value userInfo;
        bool own;
        long long state;
    };
    const Case cases[] = {
        {"open", Value{{"a", "open"}, {"u", "pmsg://ad/open"}}, true, YBXSlotStateIdle},
        {"a absent", Value{{"u", "http://ads.test/page"}}, true, YBXSlotStateFetching},
        {"close", Value{{"a", "close"}}, true, YBXSlotStateFetching},
        {"open from another web view", Value{{"a", "open"}}, false, YBXSlotStateFetching},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        YBXSlot* s = as<YBXSlot>(slot().get());
        s->setState(YBXSlotStateRequestingAdURL);
        s->setState(YBXSlotStateFetching);
        Ref<Object> other = UIView::make("YBXWebView", Rect(0, 0, 10, 10));
        Ref<Object> sender = c.own ? sel::webView(s) : other;
        NSNotificationCenter::defaultCenter()->postNotificationName(kYBXDidReceiveWebAction, Value(sender), c.userInfo);
        EXPECT_EQ(s->state_, c.state);
        s->cancelPendingActions();
    }
}

TEST_F(InterstitialTest, SlotEventsReachTheDelegate) {
    Ref<Object> s = slot();
    sel::adWillPresentScreen(s.get());
    sel::adWillDismissScreen(s.get());
    sel::adDidDismissScreen(s.get());
    sel::adWillLeaveApplication(s.get());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"interstitialWillPresentScreen:", "interstitialWillDismissScreen:",
                                                         "interstitialDidDismissScreen:", "interstitialWillLeaveApplication:"}));
}

TEST_F(InterstitialTest, TeardownLetsGoOfTheSlot) {
    Ref<Object> s = slot();
    Ref<Object> webView = sel::webView(s.get());
    interstitial = nullptr;
    EXPECT_EQ(sel::YBXSlot_state(s.get()), YBXSlotStateInvalidated);
    EXPECT_FALSE(sel::interstitial(s.get()));
    EXPECT_FALSE(sel::viewController(webView.get()));
    // A web action after teardown reaches nobody.
    NSNotificationCenter::defaultCenter()->postNotificationName(kYBXDidReceiveWebAction, Value(webView), Value{{"a", "open"}});
}

}  // namespace
}  // namespace adlib

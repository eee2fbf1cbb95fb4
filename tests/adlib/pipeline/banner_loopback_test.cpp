// The public ads end to end against our ad server on 127.0.0.1, with the real
// page engine: a banner view loads an HTML banner through the SDK-core page,
// renders it, pings its impression and refreshes on the virtual clock; server
// faults reach its delegate; an interstitial pings only when presented.
#include <gtest/gtest.h>

#include <algorithm>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/application.h"
#include "adlib/foundation/intrinsic_images.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/banner_view.h"
#include "adlib/pipeline/interstitial.h"
#include "adlib/render/payment_transaction_observer.h"
#include "adlib/render/publisher_toolbar_controller.h"
#include "platform/foundation/user_defaults.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/foundation/json.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/storekit.h"
#include "platform/uikit/application.h"
#include "platform/uikit/control.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tests/adlib/pipeline/slot_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

// A publisher delegate of both public ads that records its calls and the thread they came on.
class PublisherDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<long long> codes;
    bool allOnMainThread = true;
    size_t count(const std::string& call) const { return std::count(calls.begin(), calls.end(), call); }
};

void note(id self, const char* call) {
    auto* d = as<PublisherDelegate>(self);
    d->calls.emplace_back(call);
    d->allOnMainThread = d->allOnMainThread && NSThread::isMainThread();
}

void registerPublisherDelegate() {
    ClassBuilder<PublisherDelegate>("LoopbackPublisherDelegate", "NSObject")
        .method(sel::adViewDidReceiveAd_, [](id self, id) { note(self, "adViewDidReceiveAd:"); })
        .method(sel::adView_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    note(self, "adView:didFailToReceiveAdWithError:");
                    as<PublisherDelegate>(self)->codes.push_back(sel::code(error));
                })
        .method(sel::interstitialDidReceiveAd_, [](id self, id) { note(self, "interstitialDidReceiveAd:"); })
        .method(sel::interstitialWillDismissScreen_, [](id self, id) { note(self, "interstitialWillDismissScreen:"); })
        .method(sel::interstitialDidDismissScreen_, [](id self, id) { note(self, "interstitialDidDismissScreen:"); })
        .method(sel::interstitial_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    note(self, "interstitial:didFailToReceiveAdWithError:");
                    as<PublisherDelegate>(self)->codes.push_back(sel::code(error));
                });
}

class PublicAdsLoopback : public testing::ScreenLoopbackTest {
protected:
    void SetUp() override {
        ScreenLoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        registerPublisherDelegate();
        delegate = as<PublisherDelegate>(newObject("LoopbackPublisherDelegate"));
    }
    void TearDown() override {
        interstitial = nullptr;
        ScreenLoopbackTest::TearDown();
    }

    void placeBanner(const char* adUnit) { ScreenLoopbackTest::placeBanner(adUnit, delegate.get()); }


    Ref<PublisherDelegate> delegate;
    Ref<Object> interstitial;
};

constexpr const char* kImpressionPath = "/ping/imp";
constexpr const char* kClickPath = "/ping/click";

TEST_F(PublicAdsLoopback, ABannerLoadsRendersPingsAndRefreshes) {
    placeBanner("html-banner");
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); })) << "no callback";
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"adViewDidReceiveAd:"});
    EXPECT_TRUE(delegate->allOnMainThread);
    ASSERT_TRUE(waitFor([&] { return served(kImpressionPath) >= 1; }));
    EXPECT_EQ(served(rousa::adserver::kSdkCorePath), 1u);
    EXPECT_EQ(served(rousa::adserver::kAdPath), 1u);
    EXPECT_EQ(served(kImpressionPath), 1u);

    // The creative is the banner's content, shown in the real page engine.
    Ref<Object> webView = sel::webView(banner.get());
    EXPECT_FALSE(sel::isHidden(webView.get()));
    EXPECT_EQ(sel::superview(webView.get()).get(), banner.get());
    EXPECT_EQ(sel::stringByEvaluatingJavaScriptFromString_(webView.get(), Value("document.getElementById('ad').textContent")),
              Value("Rousa test banner"));

    // The ad asked for a refresh every 30 s: the virtual clock brings the next one.
    platform::testing::advance(30);
    ASSERT_TRUE(waitFor([&] { return delegate->count("adViewDidReceiveAd:") == 2; }));
    ASSERT_TRUE(waitFor([&] { return served(kImpressionPath) >= 2; }));
    EXPECT_EQ(served(rousa::adserver::kAdPath), 2u);
    EXPECT_EQ(served(kImpressionPath), 2u);
    EXPECT_TRUE(sel::hasAutoRefreshed(banner.get()));
    EXPECT_TRUE(delegate->allOnMainThread);
}

// A banner refreshing for hours must not keep its earlier ads, nor their statistics.
TEST_F(PublicAdsLoopback, ARefreshingBannerLetsGoOfItsEarlierAds) {
    placeBanner("html-banner");
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return delegate->count("adViewDidReceiveAd:") == 1; }));
    Ref<Object> shown = sel::ad(sel::slot(banner.get()).get());
    ASSERT_TRUE(shown);
    const std::vector<WeakRef<Object>> held = {shown, sel::statistics(shown.get())};
    shown = nullptr;
    for (size_t refresh = 2; refresh <= 3; ++refresh) {
        platform::testing::advance(30);
        ASSERT_TRUE(waitFor([&] { return delegate->count("adViewDidReceiveAd:") == refresh; }));
    }
    // The slot's test hooks keep every loaded ad: they are not the library's.
    testing::neighbourLog().loadedAds.clear();
    RunLoop::main().runUntil([&] { return std::ranges::all_of(held, &WeakRef<Object>::expired); }, 2.0);
    const char* names[] = {"ad", "its statistics"};
    for (size_t i = 0; i < held.size(); ++i) EXPECT_TRUE(held[i].expired()) << names[i];
}

TEST_F(PublicAdsLoopback, ServerFaultsReachTheBannersDelegate) {
    struct Case {
        const char* name;
        rousa::adserver::Fault fault;
        long long code;
    };
    const Case cases[] = {
        {"status 500", rousa::adserver::Fault::withStatus(500), YBXErrorCodeServer},
        {"connection reset", rousa::adserver::Fault::drop(), YBXErrorCodeNetwork},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delegate->calls.clear();
        delegate->codes.clear();
        server.setAdUnitFault("html-banner", c.fault);
        placeBanner("html-banner");
        sel::loadRequest_(banner.get(), testing::makeRequest().get());
        ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
        EXPECT_EQ(delegate->calls, std::vector<std::string>{"adView:didFailToReceiveAdWithError:"});
        EXPECT_EQ(delegate->codes, std::vector<long long>{c.code});
        EXPECT_TRUE(delegate->allOnMainThread);
        sel::removeFromSuperview(banner.get());
        banner = nullptr;
    }
    EXPECT_EQ(served(kImpressionPath), 0u);
}

TEST_F(PublicAdsLoopback, AnInterstitialPingsItsImpressionOnlyWhenPresented) {
    interstitial = newObject("YBXInterstitial");
    sel::setDelegate_(interstitial.get(), delegate.get());
    sel::setAdUnitID_(interstitial.get(), Value("html-interstitial"));
    sel::loadRequest_(interstitial.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"interstitialDidReceiveAd:"});
    EXPECT_TRUE(delegate->allOnMainThread);
    ASSERT_TRUE(sel::isReady(interstitial.get()));
    EXPECT_EQ(served(rousa::adserver::kAdPath), 1u);
    EXPECT_EQ(served(kImpressionPath), 0u);

    sel::presentFromRootViewController_(interstitial.get(), root.get());
    ASSERT_TRUE(waitFor([&] { return served(kImpressionPath) >= 1; }));
    EXPECT_EQ(served(kImpressionPath), 1u);
    EXPECT_TRUE(sel::hasBeenUsed(interstitial.get()));
}

TEST_F(PublicAdsLoopback, AnInterstitialsBrowserStacksOverItAndEachClosesOnce) {
    interstitial = newObject("YBXInterstitial");
    sel::setDelegate_(interstitial.get(), delegate.get());
    sel::setAdUnitID_(interstitial.get(), Value("browser-interstitial"));
    sel::loadRequest_(interstitial.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return sel::isReady(interstitial.get()); }));
    sel::presentFromRootViewController_(interstitial.get(), root.get());
    Ref<Object> webApp = sel::presentedViewController(root.get());
    ASSERT_TRUE(isKindOfClass(webApp.get(), "YBXWebAppViewController"));
    ASSERT_TRUE(waitFor([&] { return served(kImpressionPath) >= 1; }));

    // The creative's tap opens the browser over the interstitial.
    Ref<Object> webView = sel::webView(webApp.get());
    ASSERT_TRUE(touch::tap(as<UIView>(webView.get())));
    sel::stringByEvaluatingJavaScriptFromString_(webView.get(), Value("document.getElementById('ad').click()"));
    ASSERT_TRUE(waitFor([&] { return static_cast<bool>(sel::presentedViewController(webApp.get())); }));
    Ref<Object> browser = sel::presentedViewController(webApp.get());
    ASSERT_TRUE(isKindOfClass(browser.get(), "YBXBrowserViewController"));
    ASSERT_TRUE(waitFor([&] { return served("/landing.html") >= 1; }));

    // Done closes only the browser; the publisher hears nothing of it.
    sel::relinquishScreen(browser.get());
    platform::testing::advance(1);
    EXPECT_EQ(sel::presentedViewController(root.get()).get(), webApp.get());
    EXPECT_FALSE(sel::presentedViewController(webApp.get()));
    EXPECT_EQ(delegate->count("interstitialWillDismissScreen:"), 0u);

    // The close button closes the interstitial: will- and did-dismiss once each.
    sel::sendActionsForControlEvents_(sel::closeButton(webApp.get()).get(), UIControlEventTouchUpInside);
    browser = nullptr;
    webApp = nullptr;
    webView = nullptr;
    ASSERT_TRUE(waitFor([&] { return delegate->count("interstitialDidDismissScreen:") >= 1; }));
    platform::testing::advance(1);
    EXPECT_FALSE(sel::presentedViewController(root.get()));
    EXPECT_EQ(delegate->count("interstitialWillDismissScreen:"), 1u);
    EXPECT_EQ(delegate->count("interstitialDidDismissScreen:"), 1u);
    EXPECT_TRUE(delegate->allOnMainThread);
}

TEST_F(PublicAdsLoopback, ATappedCreativeOpensAnotherAppAndPingsItsClick) {
    placeBanner("app-open-banner");
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
    ASSERT_EQ(delegate->calls, std::vector<std::string>{"adViewDidReceiveAd:"});
    EXPECT_EQ(served(kClickPath), 0u);

    // The finger lands on the creative, whose link then sends the message.
    Ref<Object> webView = sel::webView(banner.get());
    ASSERT_TRUE(touch::tap(as<UIView>(webView.get())));
    sel::stringByEvaluatingJavaScriptFromString_(webView.get(), Value("document.getElementById('ad').click()"));

    UIApplication* app = UIApplication::sharedApplication();
    ASSERT_TRUE(waitFor([&] { return !app->openedURLs_.empty() && served(kClickPath) >= 1; }));
    auto* opened = dynamic_cast<NSURL*>(app->openedURLs_.front().object());
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->absoluteString(), "rousa-sample://opened?slotname=app-open-banner");
    EXPECT_EQ(app->openedURLs_.size(), 1u);
    EXPECT_EQ(served(kClickPath), 1u);
}

TEST_F(PublicAdsLoopback, AnInAppPurchaseTheUserCancelsIsReportedToBothTemplates) {
    // The publisher lets the library run the purchase.
    ClassBuilder<NSObject>("LoopbackPurchaseDelegate", "NSObject").method(sel::userDidPayForPurchase_, [](id, id) {});
    Ref<Object> purchaseDelegate = newObject("LoopbackPurchaseDelegate");
    sel::enableDefaultPurchaseFlowWithDelegate_(objc_getClass("YBXDefaultInAppPurchase"), purchaseDelegate.get());

    placeBanner("in-app-purchase-banner");
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
    ASSERT_EQ(delegate->calls, std::vector<std::string>{"adViewDidReceiveAd:"});
    Ref<Object> webView = sel::webView(banner.get());
    ASSERT_TRUE(touch::tap(as<UIView>(webView.get())));
    sel::stringByEvaluatingJavaScriptFromString_(webView.get(), Value("document.getElementById('ad').click()"));

    // StoreKit validated the product and took the payment; the user cancels it.
    SKPaymentQueue* queue = SKPaymentQueue::defaultQueue();
    ASSERT_TRUE(waitFor([&] { return !queue->addedPayments().empty(); }));
    EXPECT_EQ(sel::productIdentifier(queue->addedPayments()[0].get()), Value("rousa.gems"));
    EXPECT_EQ(sel::quantity(queue->addedPayments()[0].get()), 2);
    Ref<NSError> cancelled = NSError::errorWithDomain(SKErrorDomain, SKErrorPaymentCancelled, Value::Dictionary{});
    storekit::deliverTransactions(
        Value::array({Value(storekit::makeTransaction(SKPaymentTransactionStateFailed, "rousa.gems", 2, cancelled.get()).get())}));

    ASSERT_TRUE(waitFor([&] { return served("/ping/iap") >= 2; }));
    std::vector<std::string> queries;
    for (const auto& entry : server.log().entries())
        if (entry.path == "/ping/iap") queries.push_back(entry.query);
    std::sort(queries.begin(), queries.end());
    const std::string session = YBXApplication::sharedApplication()->currentSession()->sessionIDAsString();
    EXPECT_EQ(queries, (std::vector<std::string>{"report=1&status=2&sku=rousa.gems&quantity=2", "report=2&status=2&session=" + session}));
    EXPECT_EQ(queue->finishedTransactions().size(), 1u);
}

// The debug dialog of the banner's creative, its button `title` pressed.
void pressDebugDialogButton(id webView, const char* title) {
    sel::setShowDebug_(webView, true);
    sel::handleGesture_(webView, nullptr);
    std::vector<Ref<UIAlertView>> shown = UIAlertView::visibleAlerts();
    ASSERT_FALSE(shown.empty());
    Ref<UIAlertView> dialog = shown.back();
    const auto& titles = dialog->buttonTitles_;
    auto found = std::find(titles.begin(), titles.end(), Value(title));
    ASSERT_NE(found, titles.end());
    dialog->clickButton(found - titles.begin());
}

TEST_F(PublicAdsLoopback, ThePublisherToolbarSignsInOnceAndABadAdIsReported) {
    placeBanner("html-banner");
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
    ASSERT_EQ(delegate->calls, std::vector<std::string>{"adViewDidReceiveAd:"});
    Ref<Object> webView = sel::webView(banner.get());
    ASSERT_TRUE(touch::tap(as<UIView>(webView.get())));

    // The toolbar's script finds no credentials and sends the publisher to our sign-in page.
    pressDebugDialogButton(webView.get(), "Publisher Toolbar");
    platform::testing::advance(1);
    auto* toolbar = dynamic_cast<YBXPublisherToolbarController*>(sel::presentedViewController(root.get()).get());
    ASSERT_TRUE(toolbar);
    ASSERT_TRUE(waitFor([&] {
        return toolbar->oauthWebView_ &&
               sel::stringByEvaluatingJavaScriptFromString_(toolbar->oauthWebView_.get(), Value("document.title")) == Value("Sign in to the publisher toolbar");
    }));
    EXPECT_EQ(served(kYBXToolbarScriptPath), 1u);
    sel::stringByEvaluatingJavaScriptFromString_(toolbar->oauthWebView_.get(),
                                                 Value("document.getElementById('publisher').value = 'rousa'; document.getElementById('sign-in').submit();"));
    ASSERT_TRUE(waitFor([&] { return YBXHasToolbarCredentials() && !sel::isHidden(toolbar->jsWebView_.get()); }));
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(kYBXToolbarCredentialsKey),
              Value(Value::Dictionary{{"publisher", Value("rousa")}, {"token", Value("rousa-rousa")}}));
    EXPECT_TRUE(sel::isHidden(toolbar->oauthWebView_.get()));

    // The next opening sends the stored credentials and needs no sign-in.
    sel::dismissViewControllerAnimated_completion_(root.get(), false, nullptr);
    pressDebugDialogButton(webView.get(), "Publisher Toolbar");
    platform::testing::advance(1);
    auto* again = dynamic_cast<YBXPublisherToolbarController*>(sel::presentedViewController(root.get()).get());
    ASSERT_TRUE(again);
    ASSERT_NE(again, toolbar);
    ASSERT_TRUE(waitFor([&] { return !sel::isHidden(again->jsWebView_.get()); }));
    EXPECT_FALSE(again->oauthWebView_);
    EXPECT_EQ(sel::stringByEvaluatingJavaScriptFromString_(again->jsWebView_.get(), Value("window.KESTRA_toolbarInit.credentials.publisher")),
              Value("rousa"));
    sel::dismissViewControllerAnimated_completion_(root.get(), false, nullptr);

    // "Report" posts the creative's debug text.
    pressDebugDialogButton(webView.get(), "Report");
    ASSERT_TRUE(waitFor([&] { return served("/s/reportAd") == 1; }));
    for (const auto& entry : server.log().entries()) {
        if (entry.path != "/s/reportAd") continue;
        EXPECT_EQ(entry.method, "POST");
        Value body = NSJSONSerialization::JSONObjectWithText(entry.body, 0);
        EXPECT_TRUE(body["debugHeader"].isString() && body["debugHeader"].string().starts_with("html-banner ")) << entry.body;
    }
}

}  // namespace
}  // namespace adlib

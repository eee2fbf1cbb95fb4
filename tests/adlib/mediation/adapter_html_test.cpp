// YBXMAdapterHTML: the credential checks, the snippet's web view, the render
// polling on the virtual clock, passbacks and the adapter list.
#include "adlib/mediation/adapter_html.h"

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/configuration.h"
#include "adlib/mediation/ad_network_adapter.h"
#include "platform/network/request.h"
#include "platform/uikit/color.h"
#include "tests/adlib/mediation/mediation_support.h"
#include "tests/adlib/rendered_page_support.h"

namespace adlib {
namespace {

using testing::RecordingConnector;
using testing::takeCalls;

constexpr const char* kSnippet = "<div id='html-network'>ad</div>";

class AdapterHTMLTest : public ::testing::Test {
protected:
    AdapterHTMLTest() {
        testing::registerRecordingConnector();
        connector = as<RecordingConnector>(newObject("RecordingConnector"));
        connector->credentials = Value{{"vqztym_html", Value(kSnippet)}, {"vqztym_passback_url", Value("http://network.test/pass/back")}};
        made = sel::initWithYBXMAdNetworkConnector_(alloc("YBXMAdapterHTML"), connector.get());
        adapter = as<YBXMAdapterHTML>(made.get());
        takeCalls();
    }
    ~AdapterHTMLTest() override { testing::callLog().clear(); }

    void getBanner() { sel::getBannerWithSize_(adapter, kYBXAdSizeBanner); }
    std::string lastErrorText() const {
        auto* error = as<NSError>(connector->lastError.get());
        return error ? format("%@ %ld %@", error->domain(), error->code(), error->localizedDescription()) : "none";
    }
    bool polling() const { return adapter->checkRenderingTimer && adapter->checkRenderingTimer->isValid(); }

    testing::AdLibEnvironment env;
    Ref<RecordingConnector> connector;
    Ref<Object> made;
    YBXMAdapterHTML* adapter = nullptr;
};

TEST_F(AdapterHTMLTest, CredentialFailuresComeBeforeAnyWebView) {
    struct Case {
        const char* name;
        Value html, passback;
        const char* error;
    } cases[] = {
        {"empty passback", Value(kSnippet), Value(""), "com.orvane.ads 2 Empty passback URL in TYM response."},
        {"passback no URL", Value(kSnippet), Value("http://[broken"), "com.orvane.ads 2 Invalid passback URL in TYM response."},
        {"no HTML", Value(), Value("http://network.test/pb"), "com.orvane.ads 2 Missing HTML in TYM response."},
        {"empty HTML", Value(""), Value(), "com.orvane.ads 2 Missing HTML in TYM response."},
        {"HTML not text", Value(5LL), Value(), "com.orvane.ads 2 Missing HTML in TYM response."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        connector->credentials = Value{{"vqztym_html", c.html}, {"vqztym_passback_url", c.passback}};
        connector->lastError = nullptr;
        getBanner();
        EXPECT_EQ(takeCalls(), testing::Calls{"didFailAd"});
        EXPECT_EQ(lastErrorText(), c.error);
        EXPECT_FALSE(adapter->webView);
        EXPECT_FALSE(polling());
    }
}

TEST_F(AdapterHTMLTest, TheSnippetLoadsInAQuietTransparentWebViewOnTheExchangeBase) {
    getBanner();
    UIWebView* view = adapter->webView.get();
    ASSERT_TRUE(view);
    EXPECT_EQ(sel::frame(view), Rect(0, 0, 320, 50));
    EXPECT_FALSE(view->scalesPageToFit_);
    EXPECT_TRUE(sel::clipsToBounds(view));
    EXPECT_EQ(sel::autoresizingMask(view), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    EXPECT_FALSE(sel::isOpaque(view));
    EXPECT_TRUE(view->allowsInlineMediaPlayback_);
    EXPECT_TRUE(view->mediaPlaybackRequiresUserAction_);
    EXPECT_EQ(view->dataDetectorTypes_, UIDataDetectorTypeNone);
    EXPECT_EQ(view->delegate_.lock().get(), adapter);
    EXPECT_EQ(sel::passbackUrl(adapter), Value("http://network.test/pass/back"));
    platform::testing::advance(0.1);
    const auto& documents = webkit::ScriptedPages::shared().documents();
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(documents.back(), "http://127.0.0.1:47800/ax/");
    EXPECT_EQ(YBXMAdExchangeBaseURL()->scheme(), "http");
    EXPECT_TRUE(polling());
}

TEST_F(AdapterHTMLTest, ADrawnPageIsDeliveredAtTheNextCheck) {
    // 176 x 10 of a 320 x 50 banner: 11 % of the pixels differ from the clear background.
    testing::whenLoadedShow(kSnippet, testing::pageWithBox(176, 10));
    getBanner();
    platform::testing::advance(0.19);
    EXPECT_TRUE(takeCalls().empty());
    platform::testing::advance(0.02);
    EXPECT_EQ(takeCalls(), testing::Calls{"didReceiveAdView with object"});
    EXPECT_EQ(adapter->checkRenderingCount, 1u);
    EXPECT_FALSE(polling());
    platform::testing::advance(5);
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(AdapterHTMLTest, ABlankPageIsNotDrawnWhateverTheBackground) {
    struct Case {
        const char* name;
        Ref<Object> background;
        double boxHeight;
    } cases[] = {
        {"clear page, clear view", UIColor::rgba(0, 0, 0, 0), 0},
        {"blank page on grey 0.5", UIColor::white(0.5, 1), 0},
        {"10 % drawn is still the background", UIColor::rgba(0, 0, 0, 0), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::whenLoadedShow(kSnippet, testing::pageWithBox(320, c.boxHeight));
        getBanner();
        sel::setBackgroundColor_(adapter->webView.get(), c.background.get());
        platform::testing::advance(2.01);
        EXPECT_EQ(adapter->checkRenderingCount, 10u);
        EXPECT_TRUE(polling());
        EXPECT_TRUE(takeCalls().empty());
    }
}

TEST_F(AdapterHTMLTest, PollingGivesUpSilentlyAfter101Checks) {
    getBanner();
    // The network's 10-second time-out comes while the adapter still polls.
    platform::testing::advance(10.01);
    EXPECT_EQ(adapter->checkRenderingCount, 50u);
    EXPECT_TRUE(polling());
    platform::testing::advance(10.2);
    EXPECT_EQ(adapter->checkRenderingCount, 101u);
    EXPECT_FALSE(polling());
    platform::testing::advance(5);
    EXPECT_EQ(adapter->checkRenderingCount, 101u);
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(AdapterHTMLTest, APassbackNavigationIsNoFillAndEndsThePolling) {
    struct Case {
        const char* url;
        bool passback;
    } cases[] = {
        {"passback://nothing", true},
        {"PassBack://x", true},
        {"http://NETWORK.test/pass/back/", true},
        {"https://network.test/pass/back", true},
        {"http://network.test/pass/other", false},
        {"http://elsewhere.test/pass/back", false},
        {"http://landing.test/page", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        getBanner();
        connector->lastError = nullptr;
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(c.url).get());
        const bool allowed = sel::webView_shouldStartLoadWithRequest_navigationType_(adapter, adapter->webView.get(), request.get(),
                                                                                    UIWebViewNavigationTypeLinkClicked);
        EXPECT_EQ(allowed, !c.passback);
        EXPECT_EQ(polling(), !c.passback);
        if (c.passback) {
            EXPECT_EQ(takeCalls(), testing::Calls{"didFailAd"});
            EXPECT_EQ(lastErrorText(), "com.orvane.ads 1 Ad network returned no ad.");
        } else {
            EXPECT_TRUE(takeCalls().empty());
        }
    }
}

TEST_F(AdapterHTMLTest, OnlyItsOwnWebViewsRequestsWithAURLAreAllowed) {
    getBanner();
    Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://landing.test/").get());
    Ref<UIWebView> other = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 10, 10));
    EXPECT_FALSE(sel::webView_shouldStartLoadWithRequest_navigationType_(adapter, other.get(), request.get(), 0));
    EXPECT_FALSE(sel::webView_shouldStartLoadWithRequest_navigationType_(adapter, adapter->webView.get(), nullptr, 0));
    EXPECT_TRUE(sel::webView_shouldStartLoadWithRequest_navigationType_(adapter, adapter->webView.get(), request.get(), 0));
    // Another web view's render answer is not this adapter's either.
    sel::webView_isRendered_(adapter, other.get(), true);
    EXPECT_EQ(adapter->checkRenderingCount, 0u);
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(AdapterHTMLTest, InterstitialsFailWithCodeZero) {
    sel::getInterstitial(adapter);
    EXPECT_EQ(lastErrorText(), "com.orvane.ads 0 Interstitials not supported.");
    connector->lastError = nullptr;
    sel::presentInterstitialFromRootViewController_(adapter, nullptr);
    EXPECT_EQ(lastErrorText(), "com.orvane.ads 0 Interstitials not supported.");
    EXPECT_EQ(takeCalls(), (testing::Calls{"didFailInterstitial", "didFailInterstitial"}));
    EXPECT_FALSE(adapter->webView);
}

TEST_F(AdapterHTMLTest, StoppingOrGoingEndsPollingAndTheWebViewsDelegate) {
    getBanner();
    Ref<UIWebView> view = adapter->webView;
    Ref<NSTimer> timer = adapter->checkRenderingTimer;
    sel::stopBeingDelegate(adapter);
    EXPECT_FALSE(view->delegate_.lock());
    EXPECT_FALSE(timer->isValid());

    getBanner();
    view = adapter->webView;
    timer = adapter->checkRenderingTimer;
    adapter = nullptr;
    made = nullptr;
    EXPECT_FALSE(view->delegate_.lock());
    EXPECT_FALSE(timer->isValid());
}

TEST(AdapterHTMLClass, IsAVersionedAdapterWithoutExtras) {
    testing::AdLibEnvironment env;
    Class* cls = objc_getClass("YBXMAdapterHTML");
    EXPECT_TRUE(YBXMClassIsAdapterClass(cls));
    EXPECT_EQ(sel::adapterVersion(cls), Value("1.1"));
    EXPECT_EQ(sel::networkExtrasClass(cls), nullptr);
}

}  // namespace
}  // namespace adlib

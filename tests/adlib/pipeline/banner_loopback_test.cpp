// The public ads end to end against our ad server on 127.0.0.1, with the real
// page engine: a banner view loads an HTML banner through the SDK-core page,
// renders it, pings its impression and refreshes on the virtual clock; server
// faults reach its delegate; an interstitial pings only when presented.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/banner_view.h"
#include "adlib/pipeline/interstitial.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "platform/webkit/real_page_engine.h"
#include "platform/webkit/selectors.h"
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
        .method(sel::interstitial_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    note(self, "interstitial:didFailToReceiveAdWithError:");
                    as<PublisherDelegate>(self)->codes.push_back(sel::code(error));
                });
}

class PublicAdsLoopback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.error();
        // Before anything of the library reads where its server is.
        ::setenv("ADLIB_AD_SERVER_URL", server.baseURL().c_str(), 1);
        network::setTransport(std::make_shared<CurlTransport>());
        webkit::setPageEngineFactory([](webkit::PageHost& host) { return std::make_unique<webkit::RealPageEngine>(host); });
        testing::installSlotNeighbours();
        registerPublisherDelegate();
        delegate = as<PublisherDelegate>(newObject("LoopbackPublisherDelegate"));
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
        root = sel::init(alloc("UIViewController"));
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
    }
    void TearDown() override {
        banner = nullptr;
        interstitial = nullptr;
        window = nullptr;
        webkit::setPageEngineFactory(nullptr);
        network::setTransport(std::make_shared<ScriptedTransport>());
    }

    void placeBanner(const char* adUnit) {
        banner = as<YBXBannerView>(sel::initWithAdSize_(alloc("YBXBannerView"), kYBXAdSizeBanner));
        ASSERT_TRUE(banner);
        sel::addSubview_(sel::view(root.get()).get(), banner.get());
        sel::setRootViewController_(banner.get(), root.get());
        sel::setDelegate_(banner.get(), delegate.get());
        sel::setAdUnitID_(banner.get(), Value(adUnit));
    }

    size_t served(const std::string& path) const {
        size_t n = 0;
        for (const auto& entry : server.log().entries())
            if (entry.path == path) ++n;
        return n;
    }
    bool waitFor(const std::function<bool()>& condition) { return RunLoop::main().runUntil(condition, 15.0); }

    testing::AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
    Ref<PublisherDelegate> delegate;
    Ref<UIWindow> window;
    Ref<Object> root;
    Ref<YBXBannerView> banner;
    Ref<Object> interstitial;
};

constexpr const char* kImpressionPath = "/ping/imp";

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

}  // namespace
}  // namespace adlib

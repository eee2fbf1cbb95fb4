// An ad fetched over the real libcurl transport from our ad server on 127.0.0.1,
// and its click pings.
#include "adlib/pipeline/ad_fetcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/pipeline/click_tracker.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "tests/adlib/adlib_fixture.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class OutcomeDelegate : public NSObject {
public:
    std::vector<std::string> calls;
};

class AdFetcherLoopback : public ::testing::Test {
protected:
    AdFetcherLoopback() {
        ClassBuilder<OutcomeDelegate>("TestLoopbackFetcherDelegate", "NSObject")
            .method(sel::adFetcher_didFetchAd_, [](id self, id, id) { as<OutcomeDelegate>(self)->calls.push_back("fetched"); })
            .method(sel::adFetcher_didFailToFetchAdWithError_, [](id self, id, id) { as<OutcomeDelegate>(self)->calls.push_back("failed"); });
        network::setTransport(std::make_shared<CurlTransport>());
        delegate = as<OutcomeDelegate>(newObject("TestLoopbackFetcherDelegate"));
    }
    ~AdFetcherLoopback() override { network::setTransport(std::make_shared<ScriptedTransport>()); }

    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }
    bool waitFor(const std::function<bool()>& done) { return RunLoop::main().runUntil(done, 10); }
    std::size_t logged(const std::string& path) const {
        std::size_t n = 0;
        for (const auto& entry : server.log().entries()) n += entry.path == path;
        return n;
    }

    AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
    Ref<OutcomeDelegate> delegate;
};

TEST_F(AdFetcherLoopback, AnHTMLAdComesWithTheServersTrackingURLsAndItsClicksArePinged) {
    Ref<YBXAd> ad = as<YBXAd>(newObject("YBXAd"));
    ad->adURL_ = NSURL::URLWithString(server.baseURL() + rousa::adserver::kAdPath + "?slotname=html-banner");
    Ref<Object> fetcher = newObject("YBXAdFetcher");
    ASSERT_TRUE(sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad.get(), Value(), delegate.get(), nullptr, nullptr));
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched"});
    EXPECT_EQ(ad->responseType_, YBXAdResponseTypeHTML);
    EXPECT_NE(ad->adHTML_.string().find("Rousa test banner"), std::string::npos);
    EXPECT_EQ(ad->reloadInterval_, 30);
    EXPECT_EQ(ad->supportedOrientations_, 1);
    EXPECT_EQ(ad->customAdSizeString_, Value("320x50"));
    ASSERT_EQ(ad->clickURLs_.count(), 1u);
    ASSERT_EQ(ad->impressionURLs_.count(), 1u);
    const std::string click = ad->clickURLs_.at(0).objectAs<NSURL>()->absoluteString();
    EXPECT_EQ(click.rfind(server.baseURL() + "/ping/click?slotname=html-banner", 0), 0u) << click;

    YBXClickTrackerCollection* trackers = YBXClickTrackerCollection::sharedInstance();
    sel::trackURLs_cacheEnabled_(trackers, ad->clickURLs_, false);
    ASSERT_TRUE(waitFor([&] { return logged("/ping/click") == 1 && trackers->trackers_.empty(); }));
    EXPECT_EQ(logged("/ping/click"), 1u);
}

}  // namespace
}  // namespace adlib

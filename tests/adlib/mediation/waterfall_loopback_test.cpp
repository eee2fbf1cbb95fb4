// Mediation waterfalls end to end: a banner view asks our ad server on
// 127.0.0.1, which answers with a mediation response; the networks are tried
// in order through the real adapters and the real page engine, and the
// mediation pings reach the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/banner_view.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "platform/webkit/web_view.h"
#include "tests/adlib/pipeline/loopback_support.h"

namespace adlib {
namespace {

// The banner view's delegate: what it heard, with the failures' codes.
class WaterfallDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<long long> codes;
};

void registerWaterfallDelegate() {
    ClassBuilder<WaterfallDelegate>("WaterfallDelegate", "NSObject")
        .method(sel::adViewDidReceiveAd_, [](id self, id) { as<WaterfallDelegate>(self)->calls.emplace_back("received"); })
        .method(sel::adView_didFailToReceiveAdWithError_, [](id self, id, id error) {
            as<WaterfallDelegate>(self)->calls.emplace_back("failed");
            as<WaterfallDelegate>(self)->codes.push_back(sel::code(error));
        });
}

class WaterfallLoopback : public testing::ScreenLoopbackTest {
protected:
    void SetUp() override {
        ScreenLoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        registerWaterfallDelegate();
        delegate = as<WaterfallDelegate>(newObject("WaterfallDelegate"));
    }

    void loadBanner(const char* adUnit) {
        placeBanner(adUnit, delegate.get());
        ASSERT_FALSE(HasFatalFailure());
        sel::loadRequest_(banner.get(), testing::makeRequest().get());
    }
    // The query of the only request the server logged for the path.
    std::string onlyQuery(const std::string& path) const {
        std::vector<std::string> queries;
        for (const auto& entry : server.log().entries())
            if (entry.path == path) queries.push_back(entry.query);
        EXPECT_EQ(queries.size(), 1u) << path;
        return queries.empty() ? std::string() : queries[0];
    }

    Ref<WaterfallDelegate> delegate;
};

TEST_F(WaterfallLoopback, ANetworkWithoutAdapterFallsThroughToTheHTMLNetworkWhichShows) {
    loadBanner("mediation-fallthrough");
    ASSERT_TRUE(waitAdvancing([&] { return !delegate->calls.empty() && served("/imp") == 1; })) << "no ad";
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"received"});
    // The HTML network's own web view is in the banner now.
    std::vector<Value> texts;
    std::vector<UIView*> views{banner.get()};
    while (!views.empty()) {
        UIView* view = views.back();
        views.pop_back();
        if (auto* web = as<UIWebView>(view))
            texts.push_back(sel::stringByEvaluatingJavaScriptFromString_(web, Value("document.getElementById('ad').textContent")));
        for (const Ref<UIView>& child : view->subviewList()) views.push_back(child.get());
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), Value("Rousa HTML network")), texts.end());
    // Exit codes of both networks, in order: no adapter class, then an ad.
    const std::string impression = onlyQuery("/imp");
    EXPECT_NE(impression.find("aec=4,0"), std::string::npos) << impression;
    EXPECT_NE(impression.find("adt="), std::string::npos) << impression;
    EXPECT_EQ(served("/nofill"), 0u);
}

TEST_F(WaterfallLoopback, OurOwnNetworkAfterAMissingAdapterAsksWithoutMediatingAgain) {
    loadBanner("mediation-own-network");
    ASSERT_TRUE(waitAdvancing([&] { return !delegate->calls.empty() && served("/imp") == 1; })) << "no ad";
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"received"});
    // The inner request for the network's unit says that it comes from a waterfall.
    std::vector<std::string> inner;
    for (const auto& entry : server.log().entries())
        if (entry.path == rousa::adserver::kAdPath && entry.query.find("slotname=html-banner") != std::string::npos) inner.push_back(entry.query);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_NE(inner[0].find("gw"), std::string::npos) << inner[0];
    const std::string impression = onlyQuery("/imp");
    EXPECT_NE(impression.find("aec=4,0"), std::string::npos) << impression;
    EXPECT_NE(impression.find("adt="), std::string::npos) << impression;
}

TEST_F(WaterfallLoopback, WhenEveryNetworkFailsTheServerHearsNoFillAndTheBannerCodeNine) {
    loadBanner("mediation-all-fail");
    ASSERT_TRUE(waitAdvancing([&] { return !delegate->calls.empty() && served("/nofill") == 1; })) << "no failure";
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"failed"});
    EXPECT_EQ(delegate->codes, std::vector<long long>{YBXErrorCodeMediationNoFill});
    // No adapter class, no HTML (an error), a passback (no fill).
    const std::string noFill = onlyQuery("/nofill");
    EXPECT_NE(noFill.find("aec=4,2,1"), std::string::npos) << noFill;
    EXPECT_EQ(served("/imp"), 0u);
}

}  // namespace
}  // namespace adlib

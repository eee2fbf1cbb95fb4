// The publisher banner end to end against our ad server on 127.0.0.1, with
// the real page engine: an ad the app may render itself reaches the banner's
// raw-HTML delegate with the root of its base URL, and the app's impression
// and click reports reach the server.
#include <gtest/gtest.h>

#include <memory>

#include "adlib/foundation/ad_size.h"
#include "adlib/pipeline/qrt_banner_view.h"
#include "adlib/pipeline/slot.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tests/adlib/pipeline/key_window.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

// The app renders every ad it is offered; it keeps the raw ads.
class RenderingApp : public NSObject {
public:
    std::vector<Ref<Object>> rawAds;
};

class QRTLoopback : public testing::LoopbackTest {
protected:
    void SetUp() override {
        testing::LoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        ClassBuilder<RenderingApp>("LoopbackRenderingApp", "NSObject")
            .method(sel::bannerView_renderRawHTMLAd_, [](id self, id, id raw) { as<RenderingApp>(self)->rawAds.emplace_back(raw); });
        app = as<RenderingApp>(sel::init(alloc("LoopbackRenderingApp")));
        shown = std::make_unique<testing::KeyWindow>();
        root = shown->root;
    }
    void TearDown() override {
        banner = nullptr;
        root = nullptr;
        shown = nullptr;
        testing::LoopbackTest::TearDown();
    }

    Ref<RenderingApp> app;
    std::unique_ptr<testing::KeyWindow> shown;
    Ref<Object> root;
    Ref<Object> banner;
};

TEST_F(QRTLoopback, ACustomRenderingAdReachesTheAppWhoseReportsReachTheServer) {
    banner = sel::initWithAdSize_(alloc("QRTBannerView"), kYBXAdSizeBanner);
    sel::addSubview_(sel::view(root.get()).get(), banner.get());
    sel::setRootViewController_(banner.get(), root.get());
    sel::setAdUnitID_(banner.get(), Value("custom-rendering"));
    sel::setRawHTMLBannerViewDelegate_(banner.get(), app.get());
    sel::setEnableManualImpressions_(banner.get(), true);
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    ASSERT_TRUE(waitFor([&] { return !app->rawAds.empty(); })) << "no raw ad";
    id raw = app->rawAds[0].get();
    EXPECT_NE(sel::adHTML(raw).string().find("Rousa custom rendering ad"), std::string::npos);
    auto* base = as<NSURL>(sel::adBaseURL(raw).get());
    ASSERT_TRUE(base);
    EXPECT_EQ(base->absoluteString(), server.baseURL() + "/");
    Ref<Object> slot = sel::slot(banner.get());
    EXPECT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateRendering);
    EXPECT_EQ(served("/ping/imp"), 0u);

    sel::finishedRenderingAdView_(raw, nullptr);
    EXPECT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateValidAd);
    sel::recordImpression(raw);
    sel::recordClick(raw);
    ASSERT_TRUE(waitFor([&] { return served("/ping/imp") >= 1 && served("/ping/click") >= 1; }));
    bool manual = false;
    for (const auto& entry : server.log().entries())
        if (entry.path == "/ping/imp" && entry.query.find("manual=1") != std::string::npos) manual = true;
    EXPECT_TRUE(manual) << "the ad's manual impression URL";
    EXPECT_EQ(served("/ping/click"), 1u);
}

}  // namespace
}  // namespace adlib

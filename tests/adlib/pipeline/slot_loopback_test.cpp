// A slot against our ad server on 127.0.0.1, with the real page engine: the
// SDK-core page builds the ad URL from the slot's parameters and the slot
// goes on to load the ad at that URL.
#include <gtest/gtest.h>

#include <cstdlib>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/configuration.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "platform/webkit/real_page_engine.h"
#include "tests/adlib/pipeline/slot_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::neighbourLog;

class SlotLoopback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.error();
        // Before anything of the library reads where its server is.
        ::setenv("ADLIB_AD_SERVER_URL", server.baseURL().c_str(), 1);
        network::setTransport(std::make_shared<CurlTransport>());
        webkit::setPageEngineFactory([](webkit::PageHost& host) { return std::make_unique<webkit::RealPageEngine>(host); });
        testing::installSlotNeighbours();
    }
    void TearDown() override {
        webkit::setPageEngineFactory(nullptr);
        network::setTransport(std::make_shared<ScriptedTransport>());
    }

    testing::AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
};

TEST_F(SlotLoopback, TheSDKCorePageLeadsTheSlotToItsAdUnitsAdURL) {
    ASSERT_EQ(YBXAdServerBaseURL(), server.baseURL());
    Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    sel::setAdUnitID_(slot.get(), Value("html-banner"));
    sel::loadRequest_(slot.get(), testing::makeRequest().get());
    ASSERT_TRUE(RunLoop::main().runUntil([] { return !neighbourLog().loadedAds.empty(); }, 10.0));

    const auto& loaded = neighbourLog().loadedAds[0];
    EXPECT_EQ(loaded.stateBefore, YBXSlotStateAdURLReceived);
    EXPECT_TRUE(loaded.headers.isNil());
    Ref<Object> url = sel::adURL(loaded.ad.get());
    ASSERT_TRUE(url);
    const std::string text = sel::absoluteString(url.get());
    EXPECT_EQ(text.rfind(server.baseURL() + rousa::adserver::kAdPath + "?", 0), 0u) << text;
    EXPECT_NE(text.find("slotname=html-banner"), std::string::npos) << text;
    EXPECT_EQ(slot->state_, YBXSlotStateFetching);
    EXPECT_EQ(sel::loadingAd(slot.get()).get(), loaded.ad.get());
}

}  // namespace
}  // namespace adlib

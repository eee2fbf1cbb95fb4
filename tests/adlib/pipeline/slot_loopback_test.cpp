// A slot against our ad server on 127.0.0.1, with the real page engine: the
// SDK-core page builds the ad URL from the slot's parameters and the slot
// goes on to load the ad at that URL.
#include <gtest/gtest.h>


#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/configuration.h"
#include "platform/foundation/run_loop.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tests/adlib/pipeline/slot_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::neighbourLog;

using SlotLoopback = testing::LoopbackTest;

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

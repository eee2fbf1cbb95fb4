// Viewability end to end on 127.0.0.1 with the real page engine: a banner with
// viewability configuration from our ad server reports its samples through
// its own SDK-core page as the virtual clock advances, the server keeps each
// report, and when the next ad loads the last report goes and the page is
// told the unit is done.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "adlib/foundation/ad_size.h"
#include "adlib/pipeline/banner_view.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tests/adlib/pipeline/slot_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

class OptoraLoopback : public testing::ScreenLoopbackTest {
protected:
    OptoraLoopback() : ScreenLoopbackTest(568) {}

    std::vector<nlohmann::json> units() const {
        std::vector<nlohmann::json> out;
        for (const std::string& text : server.viewabilityReports()) {
            auto report = nlohmann::json::parse(text);
            EXPECT_EQ(report["units"].size(), 1u) << text;
            out.push_back(report["units"][0]);
        }
        return out;
    }
    size_t received() const { return server.viewabilityReports().size(); }
};

TEST_F(OptoraLoopback, ABannersSamplesReachTheServerUntilTheNextAdUnloadsIt) {
    placeBanner("optora-banner");
    ASSERT_FALSE(HasFatalFailure());
    sel::loadRequest_(banner.get(), testing::makeRequest().get());
    Ref<Object> slot = banner->slot_;
    ASSERT_TRUE(waitFor([&] { return sel::YBXSlot_state(slot.get()) == YBXSlotStateValidAd; }));
    Ref<Object> page = sel::SDKCoreWebView(slot.get());
    ASSERT_TRUE(page) << "the banner's ad was not monitored";
    Ref<Object> pageView = sel::webView(page.get());

    // The sample at load, then the server's schedule [0.5, 1, 2] on the virtual clock.
    ASSERT_TRUE(waitFor([&] { return received() == 1; }));
    platform::testing::advance(0.5);
    ASSERT_TRUE(waitFor([&] { return received() == 2; }));
    platform::testing::advance(1);
    ASSERT_TRUE(waitFor([&] { return received() == 3; }));
    platform::testing::advance(2);
    ASSERT_TRUE(waitFor([&] { return received() == 4; }));
    for (const nlohmann::json& unit : units()) {
        EXPECT_EQ(unit["hashCode"], 1);
        EXPECT_EQ(unit["isVisible"], "1");
        EXPECT_EQ(unit["adFormat"], "banner_mb");
        EXPECT_EQ(unit["optoraJSON"], nlohmann::json({{"viewable_percent", 50}, {"viewable_seconds", 1}}));
        EXPECT_FALSE(unit.contains("doneReasonCode"));
    }
    // The script told the page the unit became visible, once.
    ASSERT_TRUE(waitFor([&] { return sel::optoraVisibility(pageView.get()); }));
    EXPECT_FALSE(sel::optoraUnloadPingReceived(pageView.get()));

    // The refresh (30 s) loads the next ad: the last report of the first goes,
    // and its page hears that the unit is done.
    platform::testing::advance(27);
    ASSERT_TRUE(waitFor([&] { return sel::optoraUnloadPingReceived(pageView.get()); }));
    ASSERT_TRUE(waitFor([&] {
        for (const nlohmann::json& unit : units())
            if (unit["hashCode"] == 2) return true;
        return false;
    }));
    const std::vector<nlohmann::json> all = units();
    size_t unloads = 0;
    for (const nlohmann::json& unit : all) {
        if (!unit.contains("doneReasonCode")) continue;
        ++unloads;
        EXPECT_EQ(unit["doneReasonCode"], "u");
        EXPECT_EQ(unit["hashCode"], 1);
    }
    EXPECT_EQ(unloads, 1u);
    EXPECT_NE(sel::SDKCoreWebView(slot.get()).get(), page.get());
}

}  // namespace
}  // namespace adlib

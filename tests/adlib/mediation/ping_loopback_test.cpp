// Mediation pings over the real libcurl transport to our ad server on 127.0.0.1.
#include <gtest/gtest.h>

#include <cstdlib>

#include "adlib/foundation/configuration.h"
#include "adlib/mediation/mediation_utilities.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "tests/adlib/adlib_fixture.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class MediationPingLoopback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.error();
        // Read once, at first use: this process's ping host is the server just started.
        setenv("ADLIB_AD_SERVER_URL", server.baseURL().c_str(), 1);
        ASSERT_EQ(YBXAdServerBaseURL(), server.baseURL());
        network::setTransport(std::make_shared<CurlTransport>());
    }
    void TearDown() override { network::setTransport(std::make_shared<ScriptedTransport>()); }

    AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
};

TEST_F(MediationPingLoopback, TheServerLogsEachDefaultPingWithItsQuery) {
    const Value qdata(Value::Dictionary{{"request_id", Value("r 1")}});
    std::size_t sent = 0;
    // One at a time, so that the server answers them in order.
    for (const std::string& templ : {YBXMNoFillTemplate(), YBXMImpressionTemplate(), YBXMClickTemplate()}) {
        sel::trackMediationURLsFromTemplates_defaultTemplate_networkID_allocationID_qData_appKey_refresh_durations_exitCodes_(
            objc_getClass("YBXClickTrackerCollection"), Value(), Value(templ), Value("n1"), Value("alloc-1"), qdata, Value("unit-7"), true,
            Value("120,35"), Value("4,3,1"));
        ++sent;
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return server.log().entries().size() >= sent; }, 10));
    }

    const std::string start = "ad_loc=unit-7&qdata=%7B%22request_id%22:%22r%201%22%7D&";
    struct Expected {
        const char* path;
        const char* inQuery;
    } expected[] = {{"/nofill", "&aec=4,3,1&adt=120,35"}, {"/imp", "&nr=1&adt=120,35&aec=4,3,1"}, {"/clk", "&nr=1"}};
    auto logged = server.log().entries();
    ASSERT_EQ(logged.size(), 3u);
    for (std::size_t i = 0; i < logged.size(); ++i) {
        SCOPED_TRACE(expected[i].path);
        EXPECT_EQ(logged[i].method, "GET");
        EXPECT_EQ(logged[i].path, expected[i].path);
        EXPECT_EQ(logged[i].query.rfind(start, 0), 0u) << logged[i].query;
        EXPECT_NE(logged[i].query.find(expected[i].inQuery), std::string::npos) << logged[i].query;
    }
}

}  // namespace
}  // namespace adlib

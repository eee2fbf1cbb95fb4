// The SDK-core controller against our ad server on 127.0.0.1: the real page,
// run by the real page engine, over libcurl, with threaded queues.
#include "adlib/pipeline/sdk_core_controller.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/curl_transport.h"
#include "platform/webkit/real_page_engine.h"
#include "tests/adlib/adlib_fixture.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

// A requester whose answers come on the main thread; its parameters are asked
// on the controller's request queue.
class LoopbackRequester : public NSObject {
public:
    std::string slotName;
    std::string requestID;  // written on the request queue before the parameters are read there
    std::vector<std::string> calls;  // main thread
    std::vector<Value> answers;
};

void registerRequester() {
    ClassBuilder<LoopbackRequester>("TestLoopbackRequester", "NSObject")
        .method(sel::setRequestID_,
                [](id self, Value requestID) { as<LoopbackRequester>(self)->requestID = requestID.string(); })
        .method(sel::requestParameters,
                [](id self) {
                    auto* r = as<LoopbackRequester>(self);
                    return Value{{"request_id", r->requestID}, {"slotname", r->slotName}, {"kw", "a\u2028b"}};
                })
        .method(sel::loadAdURLWithParameters_, [](id self, Value parameters) {
            as<LoopbackRequester>(self)->calls.push_back("loadAdURL");
            as<LoopbackRequester>(self)->answers.push_back(parameters);
        })
        .method(sel::failedJavaScriptFile, [](id self) { as<LoopbackRequester>(self)->calls.push_back("failed"); })
        .method(sel::invalidJavaScriptRequest, [](id self) { as<LoopbackRequester>(self)->calls.push_back("invalid"); });
}

class SDKCoreLoopback : public ::testing::Test {
protected:
    SDKCoreLoopback() {
        // Before the library first reads its ad server's address.
        setenv("ADLIB_AD_SERVER_URL", server.baseURL().c_str(), 1);
        webkit::RealPageEngine::install();
        network::setTransport(std::make_shared<CurlTransport>());
        registerRequester();
    }
    ~SDKCoreLoopback() override { network::setTransport(std::make_shared<ScriptedTransport>()); }

    Ref<LoopbackRequester> requester(std::string slot) {
        Ref<LoopbackRequester> r = as<LoopbackRequester>(newObject("TestLoopbackRequester").get());
        r->slotName = std::move(slot);
        return r;
    }

    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
    bool started = server.start();
    testing::AdLibEnvironment env;
};

TEST_F(SDKCoreLoopback, TwoRequestersGetTheirOwnAdURLsFromOnePageLoad) {
    ASSERT_TRUE(started) << server.error();
    YBXSDKCoreController* controller = YBXSDKCoreController::sharedInstance();
    ASSERT_NE(controller, nullptr);
    Ref<LoopbackRequester> banner = requester("html-banner"), interstitial = requester("html-interstitial");
    controller->buildAdURL(banner.get());
    controller->buildAdURL(interstitial.get());
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    ASSERT_TRUE(RunLoop::main().runUntil(
        [&] { return banner->calls.size() == 1 && interstitial->calls.size() == 1 && defaults->objectForKey("as_domains").isString(); },
        20));

    const std::string adURL = server.baseURL() + rousa::adserver::kAdPath + "?";
    for (LoopbackRequester* r : {banner.get(), interstitial.get()}) {
        SCOPED_TRACE(r->slotName);
        ASSERT_EQ(r->calls, std::vector<std::string>{"loadAdURL"});
        const Value& answer = r->answers[0];
        EXPECT_EQ(answer["request_id"], Value(r->requestID));
        EXPECT_EQ(answer["request_scenario"], Value("online_request"));
        const std::string url = answer["url"].stringOr("");
        EXPECT_EQ(url.rfind(adURL, 0), 0u) << url;
        EXPECT_NE(url.find("slotname=" + r->slotName), std::string::npos) << url;
        EXPECT_NE(url.find("request_id=" + r->requestID), std::string::npos) << url;
    }
    EXPECT_NE(banner->requestID, interstitial->requestID);
    // The server's constants.
    EXPECT_EQ(defaults->objectForKey("as_domains"), Value("127.0.0.1"));
    EXPECT_EQ(defaults->objectForKey("ybx_web_view_cache_max_capacity"), Value("4"));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return controller->optoraMonitorRefreshIntervals().isArray(); }, 10));
    EXPECT_EQ(controller->optoraMonitorRefreshIntervals(), Value::array({Value(0.5), Value(1), Value(2)}));

    std::size_t pageFetches = 0;
    for (const auto& entry : server.log().entries()) pageFetches += entry.path == rousa::adserver::kSdkCorePath;
    EXPECT_EQ(pageFetches, 1u);
}

}  // namespace
}  // namespace adlib

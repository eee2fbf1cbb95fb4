// URL connections over the real libcurl transport against our ad server on 127.0.0.1.
#include "adlib/pipeline/url_connection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "tests/adlib/adlib_fixture.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class LoadDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    Value body;
    long statusInResponse = 0;
};

class URLConnectionLoopback : public ::testing::Test {
protected:
    URLConnectionLoopback() {
        ClassBuilder<LoadDelegate>("TestLoopbackLoadDelegate", "NSObject")
            .method(sel::connection_loadShouldUseCachedResponse_, [](id, id, id) { return false; })
            .method(sel::connection_loadDidFinish_baseURL_,
                    [](id self, id connection, Value body, NSURL* base) {
                        auto* d = as<LoadDelegate>(self);
                        d->calls.push_back("finish @ " + (base ? base->absoluteString() : std::string("(nil)")));
                        d->body = body;
                        if (auto* http = as<NSHTTPURLResponse>(sel::response(connection).get())) d->statusInResponse = http->statusCode();
                    })
            .method(sel::connection_loadDidFail_httpStatusCode_, [](id self, id, id, long long status) {
                as<LoadDelegate>(self)->calls.push_back("fail " + std::to_string(status));
            });
        network::setTransport(std::make_shared<CurlTransport>());
        delegate = as<LoadDelegate>(newObject("TestLoopbackLoadDelegate").get());
        connection = as<YBXURLConnection>(newObject("YBXURLConnection").get());
    }
    ~URLConnectionLoopback() override { network::setTransport(std::make_shared<ScriptedTransport>()); }

    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }
    bool load(const std::string& url) {
        Ref<NSURL> u = NSURL::URLWithString(url);
        if (!u || !sel::startWithURL_forDelegate_(connection.get(), u.get(), delegate.get())) return false;
        return RunLoop::main().runUntil([&] { return !delegate->calls.empty(); }, 10);
    }
    std::string adURL() const { return server.baseURL() + rousa::adserver::kAdPath + "?slotname=html-banner&request_id=8"; }

    AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
    Ref<LoadDelegate> delegate;
    Ref<YBXURLConnection> connection;
};

TEST_F(URLConnectionLoopback, AnAdLoadFinishesWithItsBodyAndFinalURL) {
    ASSERT_TRUE(load(adURL()));
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"finish @ " + adURL()});
    EXPECT_EQ(delegate->statusInResponse, 200);
    ASSERT_TRUE(delegate->body.isString());
    EXPECT_NE(delegate->body.string().find("Rousa test banner"), std::string::npos);
    EXPECT_FALSE(sel::isInProgress(connection.get()));
}

TEST_F(URLConnectionLoopback, AServerErrorFinishesWithItsStatusInTheResponse) {
    server.setAdUnitFault("html-banner", rousa::adserver::Fault::withStatus(500));
    ASSERT_TRUE(load(adURL()));
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"finish @ " + adURL()});
    EXPECT_EQ(delegate->statusInResponse, 500);
}

}  // namespace
}  // namespace adlib

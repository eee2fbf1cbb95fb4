// Cached files over the real libcurl transport against our ad server on 127.0.0.1.
#include "adlib/foundation/cached_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/file_manager.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "tests/adlib/adlib_fixture.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class DoneDelegate : public NSObject {
public:
    std::vector<std::string> calls;
};

class CachedFileLoopback : public ::testing::Test {
protected:
    CachedFileLoopback() {
        ClassBuilder<DoneDelegate>("TestLoopbackFileDelegate", "NSObject")
            .method(sel::cachedFileDownloadDidEnd_, [](id self, id) { as<DoneDelegate>(self)->calls.push_back("end"); })
            .method(sel::cachedFile_downloadDidFail_, [](id self, id, id) { as<DoneDelegate>(self)->calls.push_back("fail"); });
        network::setTransport(std::make_shared<CurlTransport>());
        delegate = as<DoneDelegate>(newObject("TestLoopbackFileDelegate").get());
    }
    ~CachedFileLoopback() override { network::setTransport(std::make_shared<ScriptedTransport>()); }

    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }
    bool waitFor(const std::function<bool()>& done) { return RunLoop::main().runUntil(done, 10); }

    // The page's bytes as the platform's own loading gets them.
    std::optional<std::string> directFetch(NSURL* url) {
        std::optional<std::string> body;
        bool ended = false;
        NSURLConnection::sendAsynchronousRequest(NSURLRequest::requestWithURL(url).get(), NSOperationQueue::mainQueue(),
                                                 [&](Ref<NSURLResponse>, std::optional<Data> data, Ref<NSError>) {
                                                     if (data) body = std::string(data->begin(), data->end());
                                                     ended = true;
                                                 });
        EXPECT_TRUE(waitFor([&] { return ended; }));
        return body;
    }

    AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
    Ref<DoneDelegate> delegate;
};

TEST_F(CachedFileLoopback, TheSdkCorePageLandsUnderItsHostAndIsRevalidated) {
    Ref<NSURL> url = NSURL::URLWithString(server.baseURL() + rousa::adserver::kSdkCorePath);
    ASSERT_TRUE(url);
    std::optional<std::string> served = directFetch(url.get());
    ASSERT_TRUE(served);
    ASSERT_NE(served->find("KESTRA_buildAdURL"), std::string::npos);

    Ref<YBXCachedFile> file = as<YBXCachedFile>(sel::initWithURL_(alloc("YBXCachedFile"), url.get()).get());
    file->delegate_ = delegate.get();
    const std::string caches = NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true).array().at(0).string();
    EXPECT_EQ(file->filePath().rfind(caches + "/127.0.0.1/", 0), 0u) << file->filePath();

    sel::validate(file.get());
    ASSERT_TRUE(waitFor([&] { return !delegate->calls.empty(); }));
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"end"});
    EXPECT_EQ(sel::contentAsString(file.get()), Value(*served));

    const Value firstTime = sel::fileModificationDate(file.get());
    ASSERT_TRUE(firstTime.isString());
    sel::validate(file.get());
    ASSERT_TRUE(waitFor([&] { return delegate->calls.size() == 2; }));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"end", "end"}));
    EXPECT_EQ(sel::contentAsString(file.get()), Value(*served));

    std::vector<rousa::adserver::LoggedRequest> log = server.log().entries();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].header("If-Modified-Since"), "");
    const std::string sent = log[2].header("If-Modified-Since");
    EXPECT_EQ(sent, firstTime.string() + " GMT");
}

}  // namespace
}  // namespace adlib

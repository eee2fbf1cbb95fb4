#include "platform/network/url_protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/network/connection.h"
#include "platform/network/curl_transport.h"
#include "platform/testing/test_environment.h"
#include "tests/platform/network/connection_recorder.h"
#include "tests/platform/network/loopback_server.h"

namespace platform {
namespace {

using Recorder = testing::ConnectionRecorder;

// What the protocols did, from whichever thread they ran on.
std::mutex eventsMutex;
std::vector<std::string> eventList;
void note(std::string event) {
    std::lock_guard lock(eventsMutex);
    eventList.push_back(std::move(event));
}
std::vector<std::string> events() {
    std::lock_guard lock(eventsMutex);
    return eventList;
}
bool noted(const std::string& event) {
    auto all = events();
    return std::find(all.begin(), all.end(), event) != all.end();
}

std::string urlOf(id request) { return as<NSURLRequest>(request)->URL()->absoluteString(); }

void answer(id self, const std::string& body) {
    auto* protocol = as<NSURLProtocol>(self);
    HeaderFields headers;
    std::string type = "application/javascript";
    headers.set("Content-Type", &type);
    auto response = NSHTTPURLResponse::make(protocol->request()->URL(), 200, headers);
    sel::URLProtocol_didReceiveResponse_cacheStoragePolicy_(protocol->client(), self, response.get(), NSURLCacheStorageAllowed);
    sel::URLProtocol_didLoadData_(protocol->client(), self, Value(Data(body.begin(), body.end())));
    sel::URLProtocolDidFinishLoading_(protocol->client(), self);
}

std::string testServerURL;  // set by the test that starts a server

void registerProtocols() {
    // Claims scripts ("*.js") and answers them itself.
    ClassBuilder<NSURLProtocol>::inheritingType("TestScriptProtocol", "NSURLProtocol")
        .classMethod(sel::canInitWithRequest_,
                     [](id, id request) { return as<NSURLRequest>(request)->URL()->path().ends_with(".js"); })
        .method(sel::startLoading,
                [](id self) {
                    note(std::string("start ") + (NSThread::isMainThread() ? "on main" : "off main"));
                    answer(self, "js:" + as<NSURLProtocol>(self)->request()->URL()->lastPathComponent());
                })
        .method(sel::stopLoading, [](id) { note("stop"); });
    ClassBuilder<NSURLProtocol>::inheritingType("TestDecliningProtocol", "NSURLProtocol")
        .classMethod(sel::canInitWithRequest_, [](id, id request) {
            note("declined " + urlOf(request));
            return false;
        });
    for (const char* name : {"TestFirstProtocol", "TestSecondProtocol"}) {
        ClassBuilder<NSURLProtocol>::inheritingType(name, "NSURLProtocol")
            .classMethod(sel::canInitWithRequest_, [](id, id) { return true; })
            .method(sel::startLoading, [](id self) { answer(self, NSStringFromClass(object_getClass(self))); });
    }
    ClassBuilder<NSURLProtocol>::inheritingType("TestFailingProtocol", "NSURLProtocol")
        .classMethod(sel::canInitWithRequest_, [](id, id) { return true; })
        .method(sel::startLoading, [](id self) {
            auto* protocol = as<NSURLProtocol>(self);
            sel::URLProtocol_didFailWithError_(protocol->client(), self, NSError::errorWithDomain(NSCocoaErrorDomain, -1000).get());
            // Nothing after the end reaches the delegate.
            answer(self, "late");
        });
    ClassBuilder<NSURLProtocol>::inheritingType("TestSilentProtocol", "NSURLProtocol")
        .classMethod(sel::canInitWithRequest_, [](id, id) { return true; })
        .method(sel::stopLoading, [](id) { note("stop"); });
    // Serves "mraid.js" with what it fetches, blocking, from the test's server.
    ClassBuilder<NSURLProtocol>::inheritingType("TestFetchingProtocol", "NSURLProtocol")
        .classMethod(sel::canInitWithRequest_,
                     [](id, id request) { return as<NSURLRequest>(request)->URL()->lastPathComponent() == "mraid.js"; })
        .method(sel::startLoading, [](id self) {
            auto fetch = NSURLRequest::requestWithURL(NSURL::URLWithString(testServerURL).get());
            Ref<NSURLResponse> response;
            Ref<NSError> error;
            auto body = NSURLConnection::sendSynchronousRequest(fetch.get(), &response, &error);
            answer(self, body ? std::string(body->begin(), body->end()) : "");
        });
}

class URLProtocols : public ::testing::Test {
protected:
    URLProtocols() {
        Recorder::registerClass();
        registerProtocols();
        network::setTransport(transport);
    }
    ~URLProtocols() override {
        // Every protocol thread has ended before the process does.
        EXPECT_TRUE(RunLoop::main().runUntil([] { return network::runningProtocolLoads() == 0; }, 10));
    }
    void registerClass(const char* name) { ASSERT_TRUE(NSURLProtocol::registerClass(objc_getClass(name))); }
    std::vector<std::string> load(const std::string& url) {
        auto r = Recorder::make();
        r->joinData = true;
        auto request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get(), NSURLRequestUseProtocolCachePolicy, 30);
        NSURLConnection::connectionWithRequest(request.get(), r.get());
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return r->ended(); }, 10)) << url;
        return r->calls;
    }

    testing::TestEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
};

TEST_F(URLProtocols, AClaimingClassAnswersInPlaceOfTheNetworkAndADecliningOneLetsTheLoadThrough) {
    registerClass("TestScriptProtocol");
    registerClass("TestDecliningProtocol");
    transport->answer("http://h/page.html", ScriptedTransport::Script::body({"<p>"}));

    EXPECT_EQ(load("http://h/lib/app.js"),
              (std::vector<std::string>{"willSend http://h/lib/app.js", "response 200", "data js:app.js", "finish"}));
    // Stopped once the load is over, on the protocol's thread.
    EXPECT_TRUE(RunLoop::main().runUntil([] { return noted("stop"); }, 10));
    EXPECT_EQ(load("http://h/page.html"),
              (std::vector<std::string>{"willSend http://h/page.html", "response 200", "data <p>", "finish"}));
    EXPECT_EQ(transport->log(), std::vector<std::string>{"GET http://h/page.html"});
    // The newest class is asked first, the other only when it declines.
    EXPECT_EQ(events(), (std::vector<std::string>{"declined http://h/lib/app.js", "start off main", "stop",
                                                  "declined http://h/page.html"}));
}

TEST_F(URLProtocols, NewestRegisteredIsAskedFirst) {
    registerClass("TestFirstProtocol");
    registerClass("TestSecondProtocol");
    EXPECT_EQ(load("http://h/a")[2], "data TestSecondProtocol");
    registerClass("TestFirstProtocol");  // again: to the front
    EXPECT_EQ(load("http://h/a")[2], "data TestFirstProtocol");
    NSURLProtocol::unregisterClass(objc_getClass("TestFirstProtocol"));
    EXPECT_EQ(load("http://h/a")[2], "data TestSecondProtocol");
    NSURLProtocol::unregisterClass(objc_getClass("TestSecondProtocol"));
    transport->answer("http://h/a", ScriptedTransport::Script::body({"net"}));
    EXPECT_EQ(load("http://h/a")[2], "data net");
    EXPECT_FALSE(NSURLProtocol::registerClass(objc_getClass("TestConnectionRecorder")));
}

TEST_F(URLProtocols, AProtocolsErrorReachesTheDelegateAsGiven) {
    registerClass("TestFailingProtocol");
    EXPECT_EQ(load("http://h/a"), (std::vector<std::string>{"willSend http://h/a", "fail NSCocoaErrorDomain -1000 "}));
}

TEST_F(URLProtocols, ATimeOutOrACancelStopsTheProtocol) {
    registerClass("TestSilentProtocol");
    auto r = Recorder::make();
    auto request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get(), NSURLRequestUseProtocolCachePolicy, 30);
    NSURLConnection::connectionWithRequest(request.get(), r.get());
    RunLoop::main().advance(30);
    EXPECT_EQ(r->calls, (std::vector<std::string>{"willSend http://h/a", "fail NSURLErrorDomain -1001 http://h/a"}));
    EXPECT_TRUE(RunLoop::main().runUntil([] { return noted("stop"); }, 10));

    auto quiet = Recorder::make();
    auto connection = NSURLConnection::connectionWithRequest(request.get(), quiet.get());
    RunLoop::main().runDue();
    connection->cancel();
    EXPECT_TRUE(RunLoop::main().runUntil([] { return events().size() == 2; }, 10));
    EXPECT_EQ(events(), (std::vector<std::string>{"stop", "stop"}));
    EXPECT_EQ(quiet->calls, std::vector<std::string>{"willSend http://h/a"});
}

TEST_F(URLProtocols, StartLoadingMayFetchItsAnswerSynchronouslyFromTheLoopback) {
    testing::LoopbackServer server;
    server.server.Get("/script", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("window.mraid = {};", "application/javascript");
    });
    server.start();
    testServerURL = server.url("/script");
    auto curl = std::make_shared<CurlTransport>();
    network::setTransport(curl);
    registerClass("TestFetchingProtocol");

    EXPECT_EQ(load("http://media.test/ad/mraid.js"),
              (std::vector<std::string>{"willSend http://media.test/ad/mraid.js", "response 200", "data window.mraid = {};",
                                        "finish"}));
    EXPECT_TRUE(RunLoop::main().runUntil([] { return network::runningProtocolLoads() == 0; }, 10));
    network::setTransport(transport);
}

}  // namespace
}  // namespace platform

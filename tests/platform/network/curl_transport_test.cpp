#include "platform/network/curl_transport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/testing/test_environment.h"
#include "tests/platform/network/connection_recorder.h"
#include "tests/platform/network/loopback_server.h"

namespace platform {
namespace {

using Recorder = testing::ConnectionRecorder;

// Real loads from a server of the test's own on 127.0.0.1.
class CurlLoads : public ::testing::Test {
protected:
    CurlLoads() {
        Recorder::registerClass();
        network::setTransport(transport);
        auto& s = server.server;
        s.Get("/a", [](const httplib::Request&, httplib::Response& res) { res.set_content("<p>ad</p>", "text/html"); });
        s.Get("/r1", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/r2", 302); });
        s.Get("/r2", [this](const httplib::Request&, httplib::Response& res) { res.set_redirect(server.url("/c"), 301); });
        s.Get("/c", [](const httplib::Request&, httplib::Response& res) { res.set_content("x", "text/plain"); });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("gone", "text/plain");
        });
        s.Get("/hold", [this](const httplib::Request&, httplib::Response& res) {
            server.hold();
            res.set_content("late", "text/plain");
        });
        // Promises 100 bytes, sends three and drops the connection.
        s.Get("/reset", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(100, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset > 0) return false;
                sink.write("par", 3);
                return true;
            });
        });
        // The first piece, then the rest once the test lets it go.
        s.Get("/pieces", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [this](size_t offset, httplib::DataSink& sink) {
                if (offset == 0) {
                    sink.write("one", 3);
                    return true;
                }
                server.hold();
                sink.write("two", 3);
                sink.done();
                return true;
            });
        });
        s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
            res.set_header("X-Kestra-Type", "1");
            res.set_content(req.method + " " + req.get_header_value("x-test") + " " + req.get_header_value("Content-Type") +
                                " " + req.body,
                            "text/plain");
        });
        server.start();
    }

    // The transport goes first: it closes the connections the server would
    // keep open for it.
    ~CurlLoads() override {
        network::setTransport(std::make_shared<ScriptedTransport>());
        transport.reset();
    }

    Ref<NSURLConnection> startLoad(const std::string& url, Recorder* recorder, double timeout = 30) {
        auto request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get(), NSURLRequestUseProtocolCachePolicy, timeout);
        return NSURLConnection::connectionWithRequest(request.get(), recorder, true);
    }
    bool waitFor(const std::function<bool()>& done) { return RunLoop::main().runUntil(done, 10); }

    testing::TestEnvironment env;
    testing::LoopbackServer server;
    std::shared_ptr<CurlTransport> transport = std::make_shared<CurlTransport>();
};

TEST_F(CurlLoads, DelegateHearsTheLoadInThePlatformsOrder) {
    struct Case {
        const char* name;
        const char* path;
        int stopAtHop;
        bool timesOut;
        std::vector<std::string> calls;  // "@" stands for the server's address
    };
    const Case cases[] = {
        {"plain", "/a", -1, false, {"willSend @/a", "response 200", "data <p>ad</p>", "finish"}},
        {"two_hops", "/r1", -1, false,
         {"willSend @/r1", "willSend @/r2 from 302", "willSend @/c from 301", "response 200", "data x", "finish"}},
        {"stop_at_second_hop", "/r1", 2, false,
         {"willSend @/r1", "willSend @/r2 from 302", "willSend @/c from 301", "response 301", "finish"}},
        {"not_found", "/missing", -1, false, {"willSend @/missing", "response 404", "data gone", "finish"}},
        {"time_out", "/hold", -1, true, {"willSend @/hold", "fail NSURLErrorDomain -1001 @/hold"}},
        {"reset", "/reset", -1, false, {"willSend @/reset", "response 200", "data par", "fail NSURLErrorDomain -1005 @/reset"}},
    };
    const std::string base = server.url("");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = Recorder::make();
        r->joinData = true;
        r->stopAtHop = c.stopAtHop;
        startLoad(base + c.path, r.get());
        if (c.timesOut) {
            // The server holds the request; only the platform clock ends it.
            ASSERT_TRUE(waitFor([&] { return server.held() > 0; }));
            RunLoop::main().advance(29);
            EXPECT_FALSE(r->ended());
            RunLoop::main().advance(1);
        }
        ASSERT_TRUE(waitFor([&] { return r->ended(); })) << (r->calls.empty() ? "" : r->calls.back());
        std::vector<std::string> expected;
        for (std::string call : c.calls) {
            for (std::size_t at; (at = call.find('@')) != std::string::npos;) call.replace(at, 1, base);
            expected.push_back(call);
        }
        EXPECT_EQ(r->calls, expected);
        EXPECT_TRUE(waitFor([&] { return transport->activeTransfers() == 0; }));
        EXPECT_EQ(transport->activeLoads(), 0u);
    }
}

TEST_F(CurlLoads, NothingArrivesAfterCancel) {
    auto r = Recorder::make();
    r->cancelOnFirstData = true;
    startLoad(server.url("/pieces"), r.get());
    ASSERT_TRUE(waitFor([&] { return r->calls.size() == 3; }));
    // The transfer is let go while the server still holds the rest; once it
    // is, nothing can come.
    EXPECT_TRUE(waitFor([&] { return transport->activeTransfers() == 0; }));
    RunLoop::main().runDue();
    EXPECT_EQ(r->calls, (std::vector<std::string>{"willSend " + server.url("/pieces"), "response 200", "data one"}));
    EXPECT_EQ(transport->activeLoads(), 0u);
}

TEST_F(CurlLoads, SendsMethodHeadersAndBodyAndReadsHeadersWithoutRegardToCase) {
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server.url("/echo")).get());
    request->setHTTPMethod("POST");
    request->setHTTPBody(Data{'k', '=', 'v'});
    request->setValueForHTTPHeaderField(std::string("yes"), "X-Test");
    request->setValueForHTTPHeaderField(std::string("application/json"), "Content-Type");
    Ref<NSURLResponse> response;
    std::optional<Data> body;
    bool done = false;
    NSURLConnection::sendAsynchronousRequest(request.get(), NSOperationQueue::mainQueue(),
                                             [&](Ref<NSURLResponse> r, std::optional<Data> d, Ref<NSError>) {
                                                 response = r;
                                                 body = d;
                                                 done = true;
                                             });
    ASSERT_TRUE(waitFor([&] { return done; }));
    ASSERT_TRUE(body);
    EXPECT_EQ(std::string(body->begin(), body->end()), "POST yes application/json k=v");
    auto* http = as<NSHTTPURLResponse>(response.get());
    ASSERT_TRUE(http);
    ASSERT_TRUE(http->valueForHTTPHeaderField("x-kestra-type"));
    EXPECT_EQ(*http->valueForHTTPHeaderField("x-kestra-type"), "1");
    EXPECT_EQ(http->MIMEType(), "text/plain");
}

TEST_F(CurlLoads, ATestReachesNoHostButTheLoopback) {
    struct Case {
        const char* url;
        long long code;
    };
    const Case cases[] = {
        {"http://example.com/", NSURLErrorCannotConnectToHost},
        {"https://localhost/", NSURLErrorCannotConnectToHost},
        {"ftp://127.0.0.1/file", NSURLErrorUnsupportedURL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        auto r = Recorder::make();
        startLoad(c.url, r.get());
        ASSERT_TRUE(waitFor([&] { return r->ended(); }));
        EXPECT_EQ(r->calls.back(), "fail NSURLErrorDomain " + std::to_string(c.code) + " " + c.url);
    }
    EXPECT_TRUE(log::contains("refused http://example.com/"));
    EXPECT_EQ(transport->activeTransfers(), 0u);
}

}  // namespace
}  // namespace platform

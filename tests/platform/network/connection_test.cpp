#include "platform/network/connection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/test_environment.h"
#include "tests/platform/network/connection_recorder.h"

namespace platform {
namespace {

using Recorder = testing::ConnectionRecorder;

class Connection : public ::testing::Test {
protected:
    Connection() {
        Recorder::registerClass();
        network::setTransport(transport);
    }
    std::vector<std::string> load(const std::string& url, Recorder* recorder, double seconds = 120) {
        auto request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get(), NSURLRequestUseProtocolCachePolicy, 30);
        auto connection = NSURLConnection::connectionWithRequest(request.get(), recorder, true);
        RunLoop::main().advance(seconds);
        return recorder->calls;
    }
    Ref<Recorder> recorder() { return Recorder::make(); }

    testing::TestEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
};

TEST_F(Connection, DelegateHearsTheLoadInThePlatformsOrder) {
    using Script = ScriptedTransport::Script;
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, Script>> scripts;
        int stopAtHop;
        std::vector<std::string> calls;
    };
    auto reset = Script::body({"par", "tial"});
    reset.failCode = NSURLErrorNetworkConnectionLost;
    reset.failAfterFirstChunk = true;
    auto silent = Script{};
    silent.neverAnswers = true;
    auto slow = Script::body({"a", "b"});
    slow.delay = 5;
    slow.chunkDelay = 25;  // each piece within the 30 s time-out
    const Case cases[] = {
        {"plain", {{"http://h/a", Script::body({"<p>", "ad</p>"})}}, -1,
         {"willSend http://h/a", "response 200", "data <p>", "data ad</p>", "finish"}},
        {"two_hops",
         {{"http://h/a", Script::redirect("/b")}, {"http://h/b", Script::redirect("http://o/c", 301)},
          {"http://o/c", Script::body({"x"})}},
         -1,
         {"willSend http://h/a", "willSend http://h/b from 302", "willSend http://o/c from 301", "response 200", "data x",
          "finish"}},
        {"stop_at_second_hop",
         {{"http://h/a", Script::redirect("/b")}, {"http://h/b", Script::redirect("http://o/c", 301)}}, 2,
         {"willSend http://h/a", "willSend http://h/b from 302", "willSend http://o/c from 301", "response 301", "finish"}},
        {"refuse_first_request", {{"http://h/a", Script::body({"x"})}}, 0, {"willSend http://h/a"}},
        {"not_found", {{"http://h/a", Script::body({"gone"}, 404)}}, -1,
         {"willSend http://h/a", "response 404", "data gone", "finish"}},
        {"slow_but_alive", {{"http://h/a", slow}}, -1, {"willSend http://h/a", "response 200", "data a", "data b", "finish"}},
        {"time_out", {{"http://h/a", silent}}, -1, {"willSend http://h/a", "fail NSURLErrorDomain -1001 http://h/a"}},
        {"reset", {{"http://h/a", reset}}, -1,
         {"willSend http://h/a", "response 200", "data par", "fail NSURLErrorDomain -1005 http://h/a"}},
        {"unreachable", {}, -1, {"willSend http://h/a", "fail NSURLErrorDomain -1004 http://h/a"}},
        {"redirect_loop", {{"http://h/a", Script::redirect("/a")}}, -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        transport = std::make_shared<ScriptedTransport>();
        network::setTransport(transport);
        for (const auto& [url, script] : c.scripts) transport->answer(url, script);
        auto r = recorder();
        r->stopAtHop = c.stopAtHop;
        auto calls = load("http://h/a", r.get());
        if (std::string(c.name) == "redirect_loop") {
            ASSERT_EQ(calls.size(), 18u);
            EXPECT_EQ(calls.back(), "fail NSURLErrorDomain -1007 http://h/a");
        } else {
            EXPECT_EQ(calls, c.calls);
        }
        EXPECT_EQ(transport->activeLoads(), 0u);
        EXPECT_EQ(RunLoop::main().pendingCount(), 0u);
    }
}

TEST_F(Connection, NothingArrivesAfterCancel) {
    transport->answer("http://h/a", ScriptedTransport::Script::body({"one", "two", "three"}));
    auto r = recorder();
    r->cancelOnFirstData = true;
    EXPECT_EQ(load("http://h/a", r.get()), (std::vector<std::string>{"willSend http://h/a", "response 200", "data one"}));
    EXPECT_EQ(transport->activeLoads(), 0u);

    // Cancelled before the run loop turns: not even the first request is asked about.
    auto quiet = recorder();
    auto request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
    auto connection = NSURLConnection::connectionWithRequest(request.get(), quiet.get(), true);
    connection->cancel();
    RunLoop::main().advance(120);
    EXPECT_TRUE(quiet->calls.empty());
}

TEST_F(Connection, KeepsItsDelegateUntilTheEnd) {
    auto slow = ScriptedTransport::Script::body({"x"});
    slow.delay = 10;
    transport->answer("http://h/a", slow);
    WeakRef<Recorder> watched;
    {
        auto r = recorder();
        watched = WeakRef<Recorder>(r.get());
        auto request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
        NSURLConnection::connectionWithRequest(request.get(), r.get(), false)->start();
    }
    RunLoop::main().advance(5);
    auto alive = watched.lock();
    ASSERT_TRUE(alive);
    alive = nullptr;
    RunLoop::main().advance(10);
    EXPECT_FALSE(watched.lock());
}

TEST_F(Connection, NotStartedUntilAsked) {
    transport->answer("http://h/a", ScriptedTransport::Script::body({"x"}));
    auto r = recorder();
    auto request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
    auto connection = NSURLConnection::connectionWithRequest(request.get(), r.get(), false);
    connection->scheduleInRunLoop(RunLoop::main(), NSRunLoopCommonModes);
    RunLoop::main().advance(1);
    EXPECT_TRUE(transport->log().empty());
    connection->start();
    connection->start();
    RunLoop::main().advance(1);
    EXPECT_EQ(transport->log(), std::vector<std::string>{"GET http://h/a"});
    EXPECT_EQ(r->calls.back(), "finish");
}

TEST_F(Connection, PostRedirectedBy302ContinuesAsGet) {
    transport->answer("http://h/a", ScriptedTransport::Script::redirect("/b"));
    transport->answer("http://h/b", ScriptedTransport::Script::body({"ok"}));
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
    request->setHTTPMethod("POST");
    request->setHTTPBody(Data{'k', '=', 'v'});
    auto r = recorder();
    NSURLConnection::connectionWithRequest(request.get(), r.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"POST http://h/a", "GET http://h/b"}));
}

}  // namespace
}  // namespace platform

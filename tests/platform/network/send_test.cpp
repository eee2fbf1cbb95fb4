#include "platform/network/connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(SendRequest, SynchronousFromAWorkerAnswersWithTheScriptedBody) {
    testing::TestEnvironment env;
    auto transport = std::make_shared<ScriptedTransport>();
    network::setTransport(transport);
    transport->answer("http://h/a", ScriptedTransport::Script::body({"hel", "lo"}));
    transport->answer("http://h/gone", ScriptedTransport::Script::failure(NSURLErrorCannotFindHost));
    auto ok = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
    auto bad = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/gone").get());

    std::atomic<bool> done{false};
    std::optional<Data> body, failedBody;
    Ref<NSURLResponse> response, failedResponse;
    Ref<NSError> error, failure;
    std::thread worker([&] {
        body = NSURLConnection::sendSynchronousRequest(ok.get(), &response, &error);
        failedBody = NSURLConnection::sendSynchronousRequest(bad.get(), &failedResponse, &failure);
        done = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10));
    worker.join();
    ASSERT_TRUE(body);
    EXPECT_EQ(std::string(body->begin(), body->end()), "hello");
    ASSERT_TRUE(as<NSHTTPURLResponse>(response.get()));
    EXPECT_EQ(as<NSHTTPURLResponse>(response.get())->statusCode(), 200);
    EXPECT_FALSE(error);
    EXPECT_FALSE(failedBody);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), NSURLErrorCannotFindHost);
    EXPECT_EQ(failure->userInfo()[NSURLErrorKey].objectAs<NSURL>()->absoluteString(), "http://h/gone");
}

TEST(SendRequest, AsynchronousCallsBackOnTheGivenQueue) {
    testing::TestEnvironment env;
    auto transport = std::make_shared<ScriptedTransport>();
    network::setTransport(transport);
    auto script = ScriptedTransport::Script::body({"{}"});
    script.delay = 3;
    transport->answer("http://h/a", script);
    std::vector<std::string> heard;
    auto request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
    NSURLConnection::sendAsynchronousRequest(request.get(), NSOperationQueue::mainQueue(),
                                             [&](Ref<NSURLResponse> response, std::optional<Data> data, Ref<NSError> error) {
                                                 heard.push_back(std::string(NSThread::isMainThread() ? "main " : "other ") +
                                                                 std::to_string(as<NSHTTPURLResponse>(response.get())->statusCode()) +
                                                                 " " + std::string(data->begin(), data->end()) +
                                                                 (error ? " error" : ""));
                                             });
    RunLoop::main().advance(2);
    EXPECT_TRUE(heard.empty());
    RunLoop::main().advance(2);
    EXPECT_EQ(heard, std::vector<std::string>{"main 200 {}"});
}

TEST(SendRequestDeathTest, SynchronousRefusedOnTheMainThread) {
#ifdef NDEBUG
    GTEST_SKIP() << "refused in debug builds only";
#endif
    testing::TestEnvironment env;
    auto request = NSURLRequest::requestWithURL(NSURL::URLWithString("http://h/a").get());
    EXPECT_DEATH(NSURLConnection::sendSynchronousRequest(request.get(), nullptr, nullptr), "main thread");
}

}  // namespace
}  // namespace platform

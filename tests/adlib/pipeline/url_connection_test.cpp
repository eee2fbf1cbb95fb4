#include "adlib/pipeline/url_connection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/connection_factory.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/string_utilities.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using Script = ScriptedTransport::Script;

constexpr const char* kAdURL = "http://ads.example/kestra/ad?slotname=home_banner&seq=1";

std::string errorText(id error) {
    auto* e = as<NSError>(error);
    return e ? e->domain() + " " + std::to_string(e->code()) : std::string("none");
}

// Writes down every delegate call; can refuse redirects, ask for the cache,
// and start the next load from a finish.
class ConnectionDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    Ref<NSError> redirectAnswer;
    bool useCache = false;
    Value lastBody;
    Ref<NSURL> restartWith;
    long lastStatusInResponse = 0;
};

ConnectionDelegate* delegateOf(id self) { return as<ConnectionDelegate>(self); }

void registerTestClasses() {
    ClassBuilder<ConnectionDelegate>("TestURLConnectionDelegate", "NSObject")
        .method(sel::connection_shouldRedirectToURL_,
                [](id self, id, NSURL* url) {
                    delegateOf(self)->calls.push_back("redirect? " + url->absoluteString());
                    return Ref<Object>(delegateOf(self)->redirectAnswer);
                })
        .method(sel::connection_loadDidReceiveRedirectResponse_,
                [](id self, id, id response) {
                    delegateOf(self)->calls.push_back("redirected " + std::to_string(as<NSHTTPURLResponse>(response)->statusCode()));
                })
        .method(sel::connection_loadShouldUseCachedResponse_,
                [](id self, id, id) {
                    delegateOf(self)->calls.push_back("use cache?");
                    return delegateOf(self)->useCache;
                })
        .method(sel::connection_loadDidReceiveCachedResponse_,
                [](id self, id, id cached) {
                    delegateOf(self)->calls.push_back(as<YBXCachedURLResponse>(cached) ? "cached" : "cached (not an entry)");
                })
        .method(sel::connection_loadDidFinish_baseURL_,
                [](id self, id connection, Value body, NSURL* base) {
                    auto* d = delegateOf(self);
                    d->calls.push_back("finish " + body.stringOr("(nil)") + " @ " + (base ? base->absoluteString() : "(nil)"));
                    d->lastBody = body;
                    if (auto* http = as<NSHTTPURLResponse>(sel::response(connection).get())) d->lastStatusInResponse = http->statusCode();
                    if (Ref<NSURL> next = std::move(d->restartWith)) sel::startWithURL_forDelegate_(connection, next.get(), self);
                })
        .method(sel::connection_loadDidFail_httpStatusCode_, [](id self, id, id error, long long status) {
            delegateOf(self)->calls.push_back("fail " + errorText(error) + " " + std::to_string(status));
        });
    ClassBuilder<NSObject>("TestNoConnectionFactory", "NSObject")
        .method(sel::connectionWithRequest_delegate_startImmediately_, [](id, NSURLRequest*, id, bool) { return Ref<Object>(); });
}

class URLConnections : public ::testing::Test {
protected:
    URLConnections() {
        registerTestClasses();
        network::setTransport(transport);
        delegate = as<ConnectionDelegate>(newObject("TestURLConnectionDelegate").get());
        connection = as<YBXURLConnection>(newObject("YBXURLConnection").get());
    }
    ~URLConnections() override { YBXURLConnection::clearCache(); }

    static Ref<NSURL> url(std::string_view text) { return NSURL::URLWithString(text); }
    void answer(std::string_view text, Script script) { transport->answer(std::string(text), std::move(script)); }
    static Script page(std::string body, std::vector<std::pair<std::string, std::string>> headers = {}, long status = 200) {
        Script s = Script::body({std::move(body)}, status);
        for (auto& h : headers) s.headers.push_back(std::move(h));
        return s;
    }
    bool start(std::string_view text, Ref<Object>* error = nullptr) {
        return sel::startWithURL_forDelegate_error_(connection.get(), url(text).get(), delegate.get(), error);
    }
    // Loads the URL to its end on a fresh connection.
    void load(std::string_view text) {
        connection = as<YBXURLConnection>(newObject("YBXURLConnection").get());
        ASSERT_TRUE(start(text));
        RunLoop::main().advance(1);
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<ConnectionDelegate> delegate;
    Ref<YBXURLConnection> connection;
};

TEST_F(URLConnections, RequestsCarryTheUserAgentAndPostOnlyWithBodyAndType) {
    const Value body(Data{'a', '=', '1'});
    struct Case {
        const char* name;
        Value data, type;
        const char* method;
        const char* length;
        const char* contentType;
    } cases[] = {
        {"neither", Value(), Value(), "GET", nullptr, nullptr},
        {"body without type", body, Value(), "GET", nullptr, nullptr},
        {"type without body", Value(), Value("application/json"), "GET", nullptr, nullptr},
        {"both", body, Value("application/x-www-form-urlencoded"), "POST", "3", "application/x-www-form-urlencoded"},
    };
    auto header = [](NSURLRequest* r, std::string_view name) { return r->valueForHTTPHeaderField(name); };
    for (int agentSet = 0; agentSet < 2; ++agentSet) {
        if (agentSet) YBXDevice::currentDevice()->setUserAgentString(Value("Mozilla/5.0 (iPhone) Test"));
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (agentSet ? " with agent" : " without agent"));
            Ref<NSURLRequest> r = as<NSURLRequest>(sel::requestForURL_withData_andType_(connection.get(), url(kAdURL).get(), c.data, c.type));
            ASSERT_TRUE(r);
            EXPECT_EQ(r->URL()->absoluteString(), kAdURL);
            EXPECT_EQ(r->HTTPMethod(), c.method);
            if (agentSet) {
                ASSERT_TRUE(header(r.get(), "User-Agent"));
                EXPECT_EQ(*header(r.get(), "User-Agent"), "Mozilla/5.0 (iPhone) Test");
            } else {
                EXPECT_FALSE(header(r.get(), "User-Agent"));
            }
            EXPECT_EQ(header(r.get(), "Content-Length") ? *header(r.get(), "Content-Length") : "(none)", c.length ? c.length : "(none)");
            EXPECT_EQ(header(r.get(), "Content-Type") ? *header(r.get(), "Content-Type") : "(none)", c.contentType ? c.contentType : "(none)");
            EXPECT_EQ(r->HTTPBody(), c.length ? body.data() : Data());
        }
    }
    // What start sends is that request.
    answer(kAdURL, page("<html></html>"));
    ASSERT_TRUE(sel::startWithURL_withData_andType_forDelegate_(connection.get(), url(kAdURL).get(), body, Value("text/plain"), delegate.get()));
    RunLoop::main().advance(1);
    ASSERT_EQ(transport->log(), std::vector<std::string>{std::string("POST ") + kAdURL});
    EXPECT_EQ(*transport->requests().at(0)->valueForHTTPHeaderField("Content-Type"), "text/plain");
}

TEST_F(URLConnections, ALoadFinishesWithItsBodyAndGoesIdle) {
    answer(kAdURL, page("<html>ad</html>"));
    ASSERT_TRUE(start(kAdURL));
    EXPECT_TRUE(sel::isInProgress(connection.get()));
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"use cache?", std::string("finish <html>ad</html> @ ") + kAdURL}));
    EXPECT_EQ(delegate->lastStatusInResponse, 200);
    EXPECT_FALSE(sel::isInProgress(connection.get()));
    EXPECT_FALSE(sel::sourceURL(connection.get()));
    EXPECT_FALSE(sel::response(connection.get()));
}

TEST_F(URLConnections, ASecondStartIsRefusedAndTheRunningLoadGoesOn) {
    answer(kAdURL, page("first"));
    ASSERT_TRUE(start(kAdURL));
    Ref<Object> error;
    EXPECT_FALSE(start("http://ads.example/other", &error));
    auto* e = as<NSError>(error.get());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->domain(), kYBXErrorDomain);
    EXPECT_EQ(e->code(), YBXErrorCodeNetwork);
    EXPECT_EQ(e->localizedDescription(), std::string("Ignoring -- Currently loading ") + kAdURL);
    EXPECT_FALSE(start("http://ads.example/other"));  // without an out-parameter
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls.back(), std::string("finish first @ ") + kAdURL);
    EXPECT_EQ(transport->log().size(), 1u);
}

TEST_F(URLConnections, AFinishMayStartTheNextLoad) {
    answer(kAdURL, page("first"));
    answer("http://ads.example/next", page("second"));
    delegate->restartWith = url("http://ads.example/next");
    ASSERT_TRUE(start(kAdURL));
    RunLoop::main().advance(1);
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"use cache?", std::string("finish first @ ") + kAdURL, "use cache?",
                                                         "finish second @ http://ads.example/next"}));
}

TEST_F(URLConnections, CacheKeysAreShared) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"http://ads.example/kestra/ad?slotname=s1&seq=1", "http://ads.example/kestra/ad?seq=2&slotname=s1&dt=9", true},
        {"http://ads.example/kestra/ad?slotname=s1", "http://ads.example/kestra/ad?slotname=s2", false},
        {"http://ads.example/kestra/ad?slotname=s1", "http://other.example/kestra/ad?slotname=s1", false},
        {"http://ads.example/kestra/ad?slotname=s1", "http://ads.example/kestra/mads?slotname=s1", false},
        {"http://ads.example/kestra/ad?seq=1", "http://ads.example/kestra/ad?seq=2", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(YBXURLConnection::cacheKeyForURL(url(c.a).get()) == YBXURLConnection::cacheKeyForURL(url(c.b).get()), c.same);
    }
    Class* cls = objc_getClass("YBXURLConnection");
    EXPECT_EQ(sel::cacheKeyForURL_(cls, url("http://ads.example/kestra/ad?slotname=s1&seq=1").get()),
              ybx_MD5String("ads.example/kestra/ads1").string());
    EXPECT_EQ(sel::cacheKeyForURL_(cls, url("http://ads.example/kestra/ad?seq=1").get()),
              ybx_MD5String("http://ads.example/kestra/ad?seq=1").string());
}

TEST_F(URLConnections, OnlyASuccessWithExpiryIsStoredAndItIsServedAtTheResponse) {
    delegate->useCache = true;
    struct Case {
        const char* name;
        Script script;
        bool stored;
        const char* finish;
    } cases[] = {
        {"no expiry", page("{\"ad\":1}"), false, "finish {\"ad\":1} @ "},
        {"no-cache pragma", page("{\"ad\":1}", {{"Cache-Control", "max-age=60"}, {"Pragma", "no-cache"}}), false, "finish {\"ad\":1} @ "},
        {"a 404 with max-age finishes, unstored", page("missing", {{"Cache-Control", "max-age=60"}}, 404), false, "finish missing @ "},
        {"a 500 with max-age finishes, unstored", page("oops", {{"Cache-Control", "max-age=60"}}, 500), false, "finish oops @ "},
        {"max-age 60", page("{\"ad\":1}", {{"Cache-Control", "max-age=60"}}), true, "finish {\"ad\":1} @ "},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        YBXURLConnection::clearCache();
        delegate->calls.clear();
        answer(kAdURL, c.script);
        load(kAdURL);
        EXPECT_EQ(delegate->calls, (std::vector<std::string>{"use cache?", c.finish + std::string(kAdURL)}));
        EXPECT_EQ(YBXURLConnection::memoryCache()->count(), c.stored ? 1u : 0u);
    }
    // The stored entry answers another request of the slot at its response:
    // the cached body, not the new one, and the load stops there.
    delegate->calls.clear();
    const char* sameSlot = "http://ads.example/kestra/ad?slotname=home_banner&seq=2";
    answer(sameSlot, page("{\"ad\":2}"));
    connection = as<YBXURLConnection>(newObject("YBXURLConnection").get());
    ASSERT_TRUE(start(sameSlot));
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"use cache?", "cached", std::string("finish {\"ad\":1} @ ") + kAdURL}));
    EXPECT_FALSE(sel::isInProgress(connection.get()));
    EXPECT_EQ(transport->activeLoads(), 0u);

    // Once allowed, a later start of the same connection is served at once, synchronously.
    delegate->calls.clear();
    EXPECT_TRUE(sel::allowCache(connection.get()));
    ASSERT_TRUE(start(sameSlot));
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"cached", std::string("finish {\"ad\":1} @ ") + kAdURL}));
    EXPECT_FALSE(sel::isInProgress(connection.get()));
}

TEST_F(URLConnections, AnExpiredEntryIsRemovedOnLookup) {
    delegate->useCache = true;
    answer(kAdURL, page("{}", {{"Cache-Control", "max-age=60"}}));
    load(kAdURL);
    ASSERT_EQ(YBXURLConnection::memoryCache()->count(), 1u);
    RunLoop::main().advance(30);
    EXPECT_TRUE(sel::cachedResponseForURL_(connection.get(), url(kAdURL).get()));
    RunLoop::main().advance(31);
    EXPECT_FALSE(sel::cachedResponseForURL_(connection.get(), url(kAdURL).get()));
    EXPECT_EQ(YBXURLConnection::memoryCache()->count(), 0u);
}

TEST_F(URLConnections, TheMemoryCacheKeepsAtMostTwentyFive) {
    Ref<NSHTTPURLResponse> response = NSHTTPURLResponse::make(url(kAdURL).get(), 200, {});
    const Value later(NSDate::dateWithTimeIntervalSinceNow(600));
    for (int i = 0; i < 26; ++i) {
        Ref<Object> entry = sel::initWithResponse_data_expirationDate_destinationURL_(alloc("YBXCachedURLResponse"), response.get(),
                                                                                      Value(Data{'x'}), later, url(kAdURL).get());
        ASSERT_TRUE(entry);
        YBXURLConnection::memoryCache()->setObject(Value(entry.get()), "key" + std::to_string(i));
    }
    EXPECT_EQ(YBXURLConnection::memoryCache()->countLimit(), 25);
    EXPECT_EQ(YBXURLConnection::memoryCache()->count(), 25u);
    EXPECT_TRUE(YBXURLConnection::memoryCache()->objectForKey("key0").isNil());
    EXPECT_FALSE(YBXURLConnection::memoryCache()->objectForKey("key25").isNil());
}

TEST_F(URLConnections, ACachedResponseNeedsResponseDataAndExpiry) {
    Ref<NSHTTPURLResponse> response = NSHTTPURLResponse::make(url(kAdURL).get(), 200, {});
    const Value later(NSDate::dateWithTimeIntervalSinceNow(600));
    auto make = [&](id r, Value data, Value expiry) {
        return sel::initWithResponse_data_expirationDate_destinationURL_(alloc("YBXCachedURLResponse"), r, data, expiry, url(kAdURL).get());
    };
    EXPECT_FALSE(make(nullptr, Value(Data{'x'}), later));
    EXPECT_FALSE(make(response.get(), Value(), later));
    EXPECT_FALSE(make(response.get(), Value(Data{'x'}), Value()));
    Ref<Object> entry = make(response.get(), Value(Data{'x'}), later);
    ASSERT_TRUE(entry);
    EXPECT_EQ(sel::response(entry.get()).get(), response.get());
    EXPECT_EQ(sel::data(entry.get()), Value(Data{'x'}));
    EXPECT_EQ(sel::expirationDate(entry.get()), later);
    EXPECT_EQ(as<NSURL>(sel::destinationURL(entry.get()).get())->absoluteString(), kAdURL);
}

TEST_F(URLConnections, RedirectsAreToldAndMayBeRefused) {
    answer(kAdURL, Script::redirect("http://cdn.example/ad.html"));
    answer("http://cdn.example/ad.html", page("<html>final</html>"));
    load(kAdURL);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"redirect? http://cdn.example/ad.html", "redirected 302", "use cache?",
                                                         "finish <html>final</html> @ http://cdn.example/ad.html"}));

    delegate->calls.clear();
    delegate->redirectAnswer = NSError::errorWithDomain("com.orvane.test", 7);
    load(kAdURL);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"redirect? http://cdn.example/ad.html", "fail com.orvane.test 7 -1"}));
    RunLoop::main().advance(5);
    EXPECT_EQ(delegate->calls.size(), 2u);
    EXPECT_FALSE(sel::isInProgress(connection.get()));
    EXPECT_EQ(transport->activeLoads(), 0u);
    EXPECT_EQ(transport->log().size(), 3u);  // the refused hop was never loaded
}

TEST_F(URLConnections, FailuresCarryTheStatusOfTheResponseSoFar) {
    struct Case {
        const char* name;
        Script script;
        const char* call;
    } cases[] = {
        {"no response", Script::failure(NSURLErrorCannotConnectToHost), "fail NSURLErrorDomain -1004 -1"},
        {"a reset after a 500's first piece", [] {
             Script s = page("par", {}, 500);
             s.chunks.push_back("tial");
             s.failCode = NSURLErrorNetworkConnectionLost;
             s.failAfterFirstChunk = true;
             return s;
         }(), "fail NSURLErrorDomain -1005 500"},
        {"an unscripted host", Script{}, nullptr},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        delegate->calls.clear();
        if (c.call) answer(kAdURL, c.script);
        load(c.call ? kAdURL : "http://nowhere.example/");
        RunLoop::main().advance(5);
        ASSERT_FALSE(delegate->calls.empty());
        if (c.call) EXPECT_EQ(delegate->calls.back(), c.call);
        else EXPECT_EQ(delegate->calls.back().substr(0, 20), "fail NSURLErrorDomai");
        EXPECT_FALSE(sel::isInProgress(connection.get()));
        EXPECT_FALSE(sel::response(connection.get()));
    }
}

TEST_F(URLConnections, WithoutAConnectionTheStartFailsAndALaterOneWorks) {
    Ref<Object> previous = sharedConnectionFactory();
    setSharedConnectionFactory(newObject("TestNoConnectionFactory").get());
    Ref<Object> sentinel = newObject("NSObject");
    Ref<Object> error = sentinel;
    EXPECT_FALSE(start(kAdURL, &error));
    EXPECT_EQ(error.get(), sentinel.get());
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail none -1"});
    EXPECT_FALSE(sel::isInProgress(connection.get()));

    setSharedConnectionFactory(previous.get());
    delegate->calls.clear();
    answer(kAdURL, page("works"));
    EXPECT_TRUE(start(kAdURL, &error));
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls.back(), std::string("finish works @ ") + kAdURL);
}

TEST_F(URLConnections, CancelSilencesAndStopIdles) {
    answer(kAdURL, page("late"));
    ASSERT_TRUE(start(kAdURL));
    sel::cancel(connection.get());
    EXPECT_FALSE(sel::isInProgress(connection.get()));
    EXPECT_FALSE(sel::delegate(connection.get()));
    RunLoop::main().advance(1);
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_EQ(transport->activeLoads(), 0u);
}

TEST_F(URLConnections, TheDefaultCachePathIsUnderCaches) {
    const std::string caches = NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true).array().at(0).string();
    EXPECT_EQ(sel::defaultCachePath(objc_getClass("YBXURLConnection")), Value(caches + "/Marlex"));
    EXPECT_EQ(sel::connectionFactory(connection.get()).get(), sharedConnectionFactory().get());
}

}  // namespace
}  // namespace adlib

#include "adlib/pipeline/ad_fetcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/cached_file.h"
#include "adlib/foundation/connection_factory.h"
#include "adlib/foundation/request_error.h"
#include "adlib/render/swipe_configurations.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/transport.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using Script = ScriptedTransport::Script;

constexpr const char* kAdURL = "http://ads.example/mads/gma?slotname=u1";

std::string describe(id error) {
    auto* e = as<NSError>(error);
    return e ? "fail " + std::to_string(e->code()) : std::string("fail none");
}

// Counts every outcome it hears; may drop its fetcher from the callback, as the slot does.
class FetcherDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    Ref<Object> fetcher;  // dropped on the first outcome
    Ref<Object> lastError;
};

void registerTestClasses() {
    ClassBuilder<FetcherDelegate>("TestAdFetcherDelegate", "NSObject")
        .method(sel::adFetcher_didFetchAd_,
                [](id self, id, id ad) {
                    auto* d = as<FetcherDelegate>(self);
                    d->calls.push_back("fetched type " + std::to_string(sel::responseType(ad)));
                    d->fetcher = nullptr;
                })
        .method(sel::adFetcher_didFailToFetchAdWithError_, [](id self, id, id error) {
            auto* d = as<FetcherDelegate>(self);
            d->calls.push_back(describe(error));
            d->lastError = error;
            d->fetcher = nullptr;
        });
    ClassBuilder<NSObject>("TestAdRequest", "NSObject").method(sel::parameters, [](id) { return Value{{"slotname", "u1"}}; });
}

class AdFetchers : public ::testing::Test {
protected:
    AdFetchers() {
        registerTestClasses();
        network::setTransport(transport);
        delegate = as<FetcherDelegate>(newObject("TestAdFetcherDelegate"));
        request = newObject("TestAdRequest");
    }

    static Ref<YBXAd> htmlAd(const char* html = "<p>ad</p>") {
        Ref<YBXAd> ad = as<YBXAd>(newObject("YBXAd"));
        ad->adHTML_ = Value(html);
        return ad;
    }
    static Ref<YBXAd> urlAd(const char* url = kAdURL) {
        Ref<YBXAd> ad = as<YBXAd>(newObject("YBXAd"));
        ad->adURL_ = NSURL::URLWithString(url);
        return ad;
    }
    // A fetcher that the delegate holds, as the slot holds its fetcher.
    WeakRef<YBXAdFetcher> start(YBXAd* ad, Value headers = Value(), bool* answer = nullptr, Ref<Object>* error = nullptr) {
        Ref<Object> fetcher = newObject("YBXAdFetcher");
        delegate->fetcher = fetcher;
        bool started = sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad, headers, delegate.get(), request.get(), error);
        if (answer) *answer = started;
        return WeakRef<YBXAdFetcher>(as<YBXAdFetcher>(fetcher.get()));
    }
    // The ad after its headers were read by a fetcher.
    Ref<YBXAd> afterHeaders(Value headers, Ref<YBXAd> ad = htmlAd()) {
        Ref<Object> fetcher = newObject("YBXAdFetcher");
        sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad.get(), Value(), nullptr, request.get(), nullptr);
        sel::processHTTPHeaders_(fetcher.get(), headers);
        return ad;
    }
    static NSUserDefaults* defaults() { return NSUserDefaults::standardUserDefaults(); }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<FetcherDelegate> delegate;
    Ref<Object> request;
};

TEST_F(AdFetchers, TheResponseTypeComesFromTheHeadersWhateverTheirCase) {
    struct Case {
        const char* name;
        Value headers;
        unsigned long long type;
        long long errorCode;  // -1: none
    } cases[] = {
        {"mediation with JSON", {{"X-Kestra-Mediation", "1"}, {"Content-Type", "application/json; charset=utf-8"}}, 2, -1},
        {"mediation with HTML", {{"X-Kestra-Mediation", "1"}, {"Content-Type", "text/html"}}, 0, 3},
        {"native with JSON", {{"X-Kestra-Native", "true"}, {"Content-Type", "application/json"}}, 3, -1},
        {"native without a type", {{"X-Kestra-Native", "yes"}}, 0, 3},
        {"custom rendering", {{"X-Kestra-Custom-Rendering-Allowed", "1"}, {"Content-Type", "text/html"}}, 4, -1},
        {"none", {{"Content-Type", "text/html"}}, 1, -1},
        {"mediation 0", {{"X-Kestra-Mediation", "0"}, {"Content-Type", "application/json"}}, 1, -1},
        {"mediation before custom rendering", {{"X-Kestra-Mediation", "y"}, {"X-Kestra-Custom-Rendering-Allowed", "1"},
                                               {"Content-Type", "application/json"}}, 2, -1},
        {"lower-cased names and media type", {{"x-kestra-mediation", "1"}, {"content-type", "Application/JSON"}}, 2, -1},
        {"lower-cased mediation with HTML", {{"x-kestra-mediation", "1"}, {"content-type", "text/html"}}, 0, 3},
    };
    Ref<Object> fetcher = newObject("YBXAdFetcher");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Object> error;
        EXPECT_EQ(sel::adResponseTypeFromHeaders_requestError_(fetcher.get(), c.headers, &error), c.type);
        auto* e = as<NSError>(error.get());
        EXPECT_EQ(e ? e->code() : -1, c.errorCode);
        if (e) {
            EXPECT_EQ(e->domain(), "com.orvane.ads");
        }
    }
}

TEST_F(AdFetchers, AMediationHeaderWithoutJSONFailsAtOnce) {
    bool answer = true;
    start(htmlAd().get(), Value{{"X-Kestra-Mediation", "1"}, {"Content-Type", "text/html"}}, &answer);
    EXPECT_FALSE(answer);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail 3"});
    EXPECT_FALSE(delegate->fetcher);
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls.size(), 1u);
}

TEST_F(AdFetchers, HeadersFillTheAd) {
    Ref<YBXAd> ad = htmlAd();
    ad->reloadInterval_ = 12;
    afterHeaders(Value{{"X-Kestra-Orientation", "Portrait"}, {"X-Kestra-Refresh-Rate", "-5"}}, ad);
    EXPECT_EQ(ad->supportedOrientations_, 0);
    EXPECT_EQ(ad->reloadInterval_, 12);
    EXPECT_TRUE(ad->scrollEnabled_);

    struct Case {
        const char* rate;
        double interval;
    } rates[] = {{"0", 0}, {"30", 30}, {"", 12}, {"-0.5", 12}};
    for (const auto& c : rates) {
        SCOPED_TRACE(c.rate);
        Ref<YBXAd> a = htmlAd();
        a->reloadInterval_ = 12;
        afterHeaders(Value{{"X-Kestra-Refresh-Rate", c.rate}}, a);
        EXPECT_EQ(a->reloadInterval_, c.interval);
    }

    Ref<YBXAd> full = afterHeaders(Value{{"X-Kestra-Orientation", "landscape"},
                                         {"X-Kestra-Debug-Dialog", "dialog"},
                                         {"X-Kestra-Ad-Size", "300x250"},
                                         {"X-Kestra-Disable-Activation-And-Scroll", "1"},
                                         {"X-Kestra-Interstitial-Timeout", "7.5"},
                                         {"X-Kestra-Optora", "{\"tick\":1}"}});
    EXPECT_EQ(full->supportedOrientations_, 3);
    EXPECT_EQ(full->debugDialog_, Value("dialog"));
    EXPECT_EQ(full->customAdSizeString_, Value("300x250"));
    EXPECT_FALSE(full->scrollEnabled_);
    EXPECT_EQ(full->optoraConfigurations_, (Value{{"tick", 1}}));
    EXPECT_EQ(defaults()->doubleForKey("applicationTimeout"), 7.5);

    // Headers that are absent clear what they set.
    Ref<YBXAd> fetcherHeld = full;
    afterHeaders(Value{{"X-Kestra-Optora", "[1]"}}, fetcherHeld);
    EXPECT_TRUE(full->optoraConfigurations_.isNil());
    EXPECT_TRUE(full->debugDialog_.isNil());
    EXPECT_TRUE(full->customAdSizeString_.isNil());
    EXPECT_TRUE(full->scrollEnabled_);
    EXPECT_EQ(full->supportedOrientations_, 3);
}

TEST_F(AdFetchers, TrackingListsSplitAtWhiteSpaceAndMergeIntoTheAd) {
    Ref<YBXAd> ad = htmlAd();
    YBXAd::addURLs(ad->clickURLs_, Value::array({Value(NSURL::URLWithString("http://t.example/c1"))}));
    afterHeaders(Value{{"X-Kestra-Click-Tracking-Urls", "  http://t.example/c1 http://t.example/c2\thttp://t.example/c3\n not%zzurl "},
                       {"X-Kestra-Tracking-Urls", "http://t.example/i"},
                       {"X-Kestra-Manual-Tracking-Urls", "   "}},
                 ad);
    std::vector<std::string> clicks;
    for (const Value& url : ad->clickURLs_.array()) clicks.push_back(url.objectAs<NSURL>()->absoluteString());
    EXPECT_EQ(clicks, (std::vector<std::string>{"http://t.example/c1", "http://t.example/c2", "http://t.example/c3"}));
    EXPECT_EQ(ad->impressionURLs_.count(), 1u);
    EXPECT_EQ(ad->manualImpressionURLs_.count(), 0u);
}

TEST_F(AdFetchers, TheHTTPSDefaultIsWrittenOnlyWhenNeverWritten) {
    EXPECT_TRUE(defaults()->objectForKey("orvane_ybx_use_https").isNil());
    afterHeaders(Value::Dictionary{});
    EXPECT_EQ(defaults()->objectForKey("orvane_ybx_use_https"), Value(false));
    afterHeaders(Value{{"X-Kestra-Use-HTTPS", "1"}});
    EXPECT_EQ(defaults()->objectForKey("orvane_ybx_use_https"), Value(true));
    // Without the header a value once written stays.
    afterHeaders(Value::Dictionary{});
    EXPECT_EQ(defaults()->objectForKey("orvane_ybx_use_https"), Value(true));
    afterHeaders(Value{{"x-kestra-use-https", "no"}});
    EXPECT_EQ(defaults()->objectForKey("orvane_ybx_use_https"), Value(false));
}

TEST_F(AdFetchers, TheSwipeHeaderMakesAConfigurationOnlyFromAnObject) {
    struct Case {
        const char* name;
        Value header;  // nil: absent
        bool before;   // a configuration was there already
        bool after;
    } cases[] = {
        {"an object", Value("{\"app_store_product_id\": 42}"), false, true},
        {"a fragment", Value("5"), true, false},
        {"an array", Value("[{\"app_store_product_id\": 42}]"), true, false},
        {"text that does not decode leaves it", Value("{not json"), true, true},
        {"absent", Value(), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXAd> ad = htmlAd();
        if (c.before) ad->swipeToViewControllerConfigurations_ = sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), Value{{"x", 1}});
        Value headers = Value::Dictionary{};
        if (!c.header.isNil()) headers.mutableDictionary()["X-Kestra-Swipe-To-View-Controller"] = c.header;
        afterHeaders(headers, ad);
        auto* configuration = as<YBXSwipeToViewControllerConfigurations>(ad->swipeToViewControllerConfigurations_.get());
        EXPECT_EQ(configuration != nullptr, c.after);
    }
    Ref<YBXAd> ad = afterHeaders(Value{{"X-Kestra-Swipe-To-View-Controller", "{\"app_store_product_id\": 42}"}});
    EXPECT_EQ(sel::swipeableInAppStoreProductID(ad->swipeToViewControllerConfigurations_.get()), Value(42));
}

TEST_F(AdFetchers, AnAdWithItsHTMLCompletesOnTheNextMainQueueTurn) {
    Ref<YBXAd> ad = htmlAd();
    bool answer = false;
    WeakRef<YBXAdFetcher> fetcher = start(ad.get(), Value(), &answer);
    EXPECT_TRUE(answer);
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(transport->log().empty());
    RunLoop::main().advance(0);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched type 1"});
    // The delegate let it go in its callback.
    EXPECT_FALSE(fetcher.lock());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls.size(), 1u);
}

TEST_F(AdFetchers, AnAdWithNeitherHTMLNorURLHasNothingToShow) {
    start(as<YBXAd>(newObject("YBXAd")).get());
    RunLoop::main().advance(0);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail 1"});
}

TEST_F(AdFetchers, AFetcherIsUsedOnce) {
    Ref<YBXAd> ad = htmlAd();
    WeakRef<YBXAdFetcher> weak = start(ad.get());
    Ref<YBXAdFetcher> fetcher = weak.lock();
    Ref<Object> error;
    EXPECT_FALSE(sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad.get(), Value(), delegate.get(), request.get(), &error));
    auto* e = as<NSError>(error.get());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->code(), 2);
    EXPECT_EQ(e->localizedDescription(), "Could not start fetch. This object has already been used to fetch.");
    EXPECT_FALSE(sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad.get(), Value(), delegate.get(), request.get(), nullptr));
    RunLoop::main().advance(0);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched type 1"});
}

TEST_F(AdFetchers, CancelledOrDroppedFetchersReportNothing) {
    WeakRef<YBXAdFetcher> cancelled = start(htmlAd().get());
    sel::cancel(cancelled.lock().get());
    RunLoop::main().advance(1);
    EXPECT_TRUE(delegate->calls.empty());

    WeakRef<YBXAdFetcher> dropped = start(htmlAd().get());
    delegate->fetcher = nullptr;
    EXPECT_FALSE(dropped.lock());
    RunLoop::main().advance(1);
    EXPECT_TRUE(delegate->calls.empty());
}

}  // namespace
}  // namespace adlib

namespace adlib {
namespace {

class AdFetcherLoads : public AdFetchers {
protected:
    AdFetcherLoads() { sel::clearCache(objc_getClass("YBXURLConnection")); }

    static Script page(std::string body, std::vector<std::pair<std::string, std::string>> headers = {}, long status = 200) {
        Script s = Script::body({std::move(body)}, status);
        s.headers = std::move(headers);
        return s;
    }
    static std::string errorTexts(id error) {
        auto* e = as<NSError>(error);
        return e ? e->domain() + " " + std::to_string(e->code()) + " " + e->userInfo()["HttpStatus"].stringOr("-") : "none";
    }
};

TEST_F(AdFetcherLoads, AnAdURLIsLoadedAndItsHeadersRead) {
    transport->answer(kAdURL, page("<p>ad</p>", {{"Content-Type", "text/html"},
                                                 {"X-Kestra-Click-Tracking-Urls", "http://t.example/c"},
                                                 {"X-Kestra-Refresh-Rate", "30"}}));
    Ref<YBXAd> ad = urlAd();
    bool answer = false;
    start(ad.get(), Value(), &answer);
    EXPECT_TRUE(answer);
    EXPECT_TRUE(delegate->calls.empty());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched type 1"});
    EXPECT_EQ(ad->adHTML_, Value("<p>ad</p>"));
    EXPECT_EQ(ad->adBaseURL_->absoluteString(), kAdURL);
    EXPECT_EQ(ad->reloadInterval_, 30);
    EXPECT_EQ(ad->clickURLs_.count(), 1u);
    EXPECT_EQ(transport->log(), std::vector<std::string>{std::string("GET ") + kAdURL});
}

TEST_F(AdFetcherLoads, TheFinalResponsesHeadersOverwriteTheRedirects) {
    Script hop = Script::redirect("http://ads.example/final");
    hop.headers.emplace_back("X-Kestra-Refresh-Rate", "10");
    hop.headers.emplace_back("X-Kestra-Debug-Dialog", "from the redirect");
    hop.headers.emplace_back("X-Kestra-Tracking-Urls", "http://t.example/hop");
    transport->answer(kAdURL, hop);
    transport->answer("http://ads.example/final",
                      page("<p>final</p>", {{"X-Kestra-Refresh-Rate", "20"}, {"X-Kestra-Tracking-Urls", "http://t.example/final"}}));
    Ref<YBXAd> ad = urlAd();
    start(ad.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched type 1"});
    EXPECT_EQ(ad->reloadInterval_, 20);
    EXPECT_TRUE(ad->debugDialog_.isNil());
    EXPECT_EQ(ad->impressionURLs_.count(), 2u);
    EXPECT_EQ(ad->adBaseURL_->absoluteString(), "http://ads.example/final");
}

TEST_F(AdFetcherLoads, FailuresMapToTheirCodesAndAreNeverRendered) {
    struct Case {
        const char* name;
        Script script;
        std::string outcome;
        bool logLine;
    } cases[] = {
        {"400", page("bad", {}, 400), "com.orvane.ads 0 -", true},
        {"401", page("who", {}, 401), "com.orvane.ads 3 HTTP status 401: unauthorized", false},
        {"404", page("<p>not found</p>", {}, 404), "com.orvane.ads 3 HTTP status 404: not found", false},
        {"500", page("<p>oops</p>", {{"X-Kestra-Refresh-Rate", "5"}}, 500), "com.orvane.ads 3 HTTP status 500: internal server error", false},
        {"no HTTP response", Script::failure(NSURLErrorTimedOut), "com.orvane.ads 2 -", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        log::clear();
        delegate->calls.clear();
        delegate->lastError = nullptr;
        transport->answer(kAdURL, c.script);
        Ref<YBXAd> ad = urlAd();
        start(ad.get());
        RunLoop::main().advance(1);
        ASSERT_EQ(delegate->calls.size(), 1u);
        EXPECT_EQ(errorTexts(delegate->lastError.get()), c.outcome);
        EXPECT_TRUE(ad->adHTML_.isNil());
        EXPECT_FALSE(ad->adBaseURL_);
        EXPECT_EQ(log::contains("<Orvane> Server rejected ad parameters. Typically this is because the ad unit ID is incorrect."), c.logLine);
    }
    // A status of 0 from the connection is below 401.
    Ref<Object> fetcher = newObject("YBXAdFetcher");
    delegate->fetcher = fetcher;
    delegate->calls.clear();
    sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), htmlAd().get(), Value(), delegate.get(), request.get(), nullptr);
    sel::connection_loadDidFail_httpStatusCode_(fetcher.get(), nullptr, nullptr, 0);
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail 2"});
}

TEST_F(AdFetcherLoads, AnEmptyBodyIsNoAd) {
    transport->answer(kAdURL, page(""));
    start(urlAd().get());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail 1"});
}

TEST_F(AdFetcherLoads, CancellingStopsTheLoadSilently) {
    Script slow = page("<p>ad</p>");
    slow.delay = 2;
    transport->answer(kAdURL, slow);
    WeakRef<YBXAdFetcher> fetcher = start(urlAd().get());
    RunLoop::main().advance(1);
    EXPECT_EQ(transport->activeLoads(), 1u);
    sel::cancel(fetcher.lock().get());
    EXPECT_EQ(transport->activeLoads(), 0u);
    RunLoop::main().advance(5);
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(AdFetcherLoads, AMediationResponseIsServedFromTheMemoryCache) {
    const std::vector<std::pair<std::string, std::string>> mediation{
        {"Content-Type", "application/json"}, {"X-Kestra-Mediation", "1"}, {"Cache-Control", "max-age=60"}};
    transport->answer(kAdURL, page("{\"ad_networks\":[1]}", mediation));
    Ref<YBXAd> first = urlAd();
    start(first.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched type 2"});

    // The server's next answer differs; the cached one is served and its headers apply too.
    std::vector<std::pair<std::string, std::string>> fresh = mediation;
    fresh.emplace_back("X-Kestra-Tracking-Urls", "http://t.example/fresh");
    transport->answer(kAdURL, page("{\"ad_networks\":[2]}", fresh));
    delegate->calls.clear();
    Ref<YBXAd> second = urlAd();
    start(second.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fetched type 2"});
    EXPECT_EQ(second->adHTML_, Value("{\"ad_networks\":[1]}"));
    EXPECT_EQ(second->impressionURLs_.count(), 1u);

    // HTML responses are never cached.
    transport->answer("http://ads.example/html", page("<p>one</p>", {{"Cache-Control", "max-age=60"}}));
    Ref<YBXAd> html = urlAd("http://ads.example/html");
    delegate->calls.clear();
    start(html.get());
    RunLoop::main().advance(1);
    transport->answer("http://ads.example/html", page("<p>two</p>", {{"Cache-Control", "max-age=60"}}));
    Ref<YBXAd> again = urlAd("http://ads.example/html");
    start(again.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(again->adHTML_, Value("<p>two</p>"));
}

TEST_F(AdFetcherLoads, AConnectionThatCannotStartFailsOnce) {
    ClassBuilder<NSObject>("TestNoAdConnectionFactory", "NSObject")
        .method(sel::connectionWithRequest_delegate_startImmediately_, [](id, NSURLRequest*, id, bool) { return Ref<Object>(); });
    sel::setSharedFactory_(objc_getClass("YBXMNSURLConnectionFactory"), newObject("TestNoAdConnectionFactory").get());
    bool answer = true;
    Ref<Object> error;
    start(urlAd().get(), Value(), &answer, &error);
    EXPECT_FALSE(answer);
    auto* e = as<NSError>(error.get());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->code(), 2);
    EXPECT_EQ(e->localizedDescription(), "Failed to start ad connection.");
    RunLoop::main().advance(1);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"fail 2"});
}

}  // namespace
}  // namespace adlib

// The SDK-core page: its states, its command list, its one-time observers,
// its navigation policy and its message handler, on the scripted engine with
// the queues drained by hand.
#include "adlib/pipeline/sdk_core_web_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/format.h"
#include "tests/adlib/pipeline/sdk_core_test_support.h"

namespace adlib {
namespace {

using testing::requestFor;

// A one-time observer: each notification with the page's state then and
// whether it came on the main thread.
class LoadObserver : public NSObject {
public:
    std::vector<long long> states;
    bool allOnMain = true;
};

// The handler's delegate: one line per call.
class HandlerDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<Value> values;  // the parameters, headers or constants of each call
    std::vector<Ref<Object>> ads;
    bool allOnMain = true;
};

void registerTestClasses() {
    ClassBuilder<LoadObserver>("TestSDKCoreLoadObserver", "NSObject")
        .method(sel::didFinishLoadingSDKCoreInSDKCoreWebView_, [](id self, id page) {
            auto* o = as<LoadObserver>(self);
            o->allOnMain = o->allOnMain && NSThread::isMainThread();
            o->states.push_back(as<YBXSDKCoreWebView>(page)->state());
        });
    auto record = [](id self, std::string call, Value value) {
        auto* d = as<HandlerDelegate>(self);
        d->allOnMain = d->allOnMain && NSThread::isMainThread();
        d->calls.push_back(std::move(call));
        d->values.push_back(std::move(value));
    };
    static auto recordCall = record;
    ClassBuilder<HandlerDelegate>("TestSDKCoreHandlerDelegate", "NSObject")
        .method(sel::SDKCorePMSGHandler_loadAdParameters_requestID_,
                [](id self, id, Value parameters, Value id) { recordCall(self, "loadAdURL " + id.stringOr("-"), parameters); })
        .method(sel::SDKCorePMSGHandler_didReceiveInvalidAdParameters_requestID_,
                [](id self, id, Value parameters, Value id) { recordCall(self, "invalid " + id.stringOr("-"), parameters); })
        .method(sel::SDKCorePMSGHandler_loadSDKConstants_, [](id self, id, Value constants) { recordCall(self, "constants", constants); })
        .method(sel::SDKCorePMSGHandler_loadAd_headers_requestID_, [](id self, id, id ad, Value headers, Value id) {
            as<HandlerDelegate>(self)->ads.emplace_back(ad);
            recordCall(self, "loadAd " + id.stringOr("-"), headers);
        });
}

class SDKCoreWebViewTest : public testing::ManualSDKCore {
protected:
    SDKCoreWebViewTest() {
        registerTestClasses();
        page = as<YBXSDKCoreWebView>(sel::init(alloc("YBXSDKCoreWebView")).get());
        observer = as<LoadObserver>(newObject("TestSDKCoreLoadObserver").get());
        delegate = as<HandlerDelegate>(newObject("TestSDKCoreHandlerDelegate").get());
        page->handler()->delegate_ = delegate.get();
        lockQueue = page->lockQueue();
        commandQueue = page->commandQueue();
    }

    void settle() { testing::settle({lockQueue, commandQueue}); }
    void setState(long long state) {
        page->setState(state);
        settle();
    }
    void load() {
        page->refreshSDKCore();
        settle();
    }
    // A failure as the web view reports it, under the given key.
    void fail(std::string_view key, std::string url) {
        Ref<NSError> error = NSError::errorWithDomain(NSURLErrorDomain, NSURLErrorTimedOut, Value{{std::string(key), Value(url)}});
        sel::webView_didFailLoadWithError_(page.get(), page->webView(), error.get());
        settle();
    }

    Ref<YBXSDKCoreWebView> page;
    dispatch_queue_t lockQueue = nullptr;
    dispatch_queue_t commandQueue = nullptr;
    Ref<LoadObserver> observer;
    Ref<HandlerDelegate> delegate;
};

TEST_F(SDKCoreWebViewTest, APageIsMadeHiddenAndNotLoaded) {
    ASSERT_TRUE(page);
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateNotLoaded);
    EXPECT_FALSE(page->hasSDKCoreLoadedAtLeastOnce());
    ASSERT_TRUE(page->webView());
    EXPECT_EQ(sel::delegate(page->webView()).get(), page.get());
    EXPECT_EQ(sel::SDKCorePMSGHandler(page.get()).get(), page->handler());
    EXPECT_EQ(sel::actionSelectors(page->handler()),
              (Value{{"loadAdURL", "didReceiveloadAdURLAction:"},
                     {"loadAd", "didReceiveLoadAdAction:"},
                     {"invalidRequest", "didReceiveInvalidAdRequestAction:"},
                     {"loadSdkConstants", "didReceiveloadSDKConstantsAction:"}}));
    EXPECT_EQ(pageLoads(), 0u);
}

TEST_F(SDKCoreWebViewTest, ARefreshLoadsThePageAddressOnce) {
    page->refreshSDKCore();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateLoading);
    settle();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateLoaded);
    EXPECT_TRUE(page->hasSDKCoreLoadedAtLeastOnce());
    EXPECT_EQ(transport->log(), std::vector<std::string>{"GET " + YBXSDKCorePageURL()});
    EXPECT_EQ(pageLoads(), 1u);
}

TEST_F(SDKCoreWebViewTest, CommandsWaitForTheLoadedPageAndRunInOrderButNotOnAFailedOne) {
    page->executeJavaScriptCommand("sent(0);");
    settle();
    EXPECT_TRUE(evaluatedStartingWith("sent(").empty());
    pages.whenLoaded(YBXSDKCorePageURL(), webkit::PageScript().neverEnd());
    load();
    ASSERT_EQ(page->state(), YBXSDKCoreWebViewStateLoading);
    page->executeJavaScriptCommand("sent(1);");
    settle();
    EXPECT_TRUE(evaluatedStartingWith("sent(").empty());
    sel::webViewDidFinishLoad_(page.get(), page->webView());
    settle();
    EXPECT_EQ(evaluatedStartingWith("sent("), (std::vector<std::string>{"sent(0);", "sent(1);"}));
    page->executeJavaScriptCommand("sent(2);");
    settle();
    EXPECT_EQ(evaluatedStartingWith("sent(").back(), "sent(2);");

    fail(NSURLErrorKey, YBXSDKCorePageURL());
    ASSERT_EQ(page->state(), YBXSDKCoreWebViewStateFailed);
    page->executeJavaScriptCommand("sent(3);");
    settle();
    setState(YBXSDKCoreWebViewStateLoading);
    sel::webViewDidFinishLoad_(page.get(), page->webView());
    settle();
    EXPECT_EQ(evaluatedStartingWith("sent("), (std::vector<std::string>{"sent(0);", "sent(1);", "sent(2);"}));
}

TEST_F(SDKCoreWebViewTest, TheFiftyFirstWaitingCommandPushesOutTheFirst) {
    for (int i = 1; i <= 51; ++i) page->executeJavaScriptCommand(format("c(%d);", i));
    load();
    std::vector<std::string> expected;
    for (int i = 2; i <= 51; ++i) expected.push_back(format("c(%d);", i));
    EXPECT_EQ(evaluatedStartingWith("c("), expected);
}

TEST_F(SDKCoreWebViewTest, ObserversAreToldOnceOnTheMainQueueWhenALoadEnds) {
    // While loading: at the finish.
    pages.whenLoaded(YBXSDKCorePageURL(), webkit::PageScript().neverEnd());
    load();
    page->addObserverForOneTimeNotification(observer.get());
    page->addObserverForOneTimeNotification(observer.get());  // a set
    settle();
    EXPECT_TRUE(observer->states.empty());
    sel::webViewDidFinishLoad_(page.get(), page->webView());
    settle();
    EXPECT_EQ(observer->states, std::vector<long long>{YBXSDKCoreWebViewStateLoaded});
    // The next end is not told without a new registration.
    fail(NSURLErrorKey, YBXSDKCorePageURL());
    EXPECT_EQ(observer->states.size(), 1u);
    // Added after the end: told at once, later, on the main queue, once.
    page->addObserverForOneTimeNotification(observer.get());
    EXPECT_EQ(observer->states.size(), 1u);
    settle();
    settle();
    EXPECT_EQ(observer->states, (std::vector<long long>{YBXSDKCoreWebViewStateLoaded, YBXSDKCoreWebViewStateFailed}));
    EXPECT_TRUE(observer->allOnMain);
    // A removed observer hears nothing.
    setState(YBXSDKCoreWebViewStateLoading);
    page->addObserverForOneTimeNotification(observer.get());
    settle();
    page->removeObserver(observer.get());
    sel::webViewDidFinishLoad_(page.get(), page->webView());
    settle();
    EXPECT_EQ(observer->states.size(), 2u);
}

TEST_F(SDKCoreWebViewTest, LoadResultsChangeTheStateOnlyForThePageItself) {
    // A finish while not loading changes nothing.
    sel::webViewDidFinishLoad_(page.get(), page->webView());
    settle();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateNotLoaded);
    EXPECT_FALSE(page->hasSDKCoreLoadedAtLeastOnce());
    setState(YBXSDKCoreWebViewStateLoading);
    sel::webViewDidFinishLoad_(page.get(), page->webView());
    settle();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateLoaded);
    EXPECT_TRUE(page->hasSDKCoreLoadedAtLeastOnce());

    struct Case {
        std::string_view key;
        std::string url;
        long long after;
    } cases[] = {
        {NSURLErrorKey, "http://127.0.0.1/other.js", YBXSDKCoreWebViewStateLoading},
        {NSURLErrorKey, YBXSDKCorePageURL(), YBXSDKCoreWebViewStateFailed},
        {NSURLErrorFailingURLStringErrorKey, YBXSDKCorePageURL(), YBXSDKCoreWebViewStateFailed},
        {NSURLErrorFailingURLErrorKey, YBXSDKCorePageURL(), YBXSDKCoreWebViewStateFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.url);
        setState(YBXSDKCoreWebViewStateLoading);
        page->addObserverForOneTimeNotification(observer.get());
        settle();
        const std::size_t told = observer->states.size();
        fail(c.key, c.url);
        EXPECT_EQ(page->state(), c.after);
        // Every end of a load attempt is told.
        EXPECT_EQ(observer->states.size(), told + 1);
    }
    // The URL may come as an NSURL object.
    setState(YBXSDKCoreWebViewStateLoading);
    Ref<NSError> error = NSError::errorWithDomain(NSURLErrorDomain, NSURLErrorTimedOut,
                                                  Value{{std::string(NSURLErrorFailingURLErrorKey), Value(NSURL::URLWithString(YBXSDKCorePageURL()))}});
    sel::webView_didFailLoadWithError_(page.get(), page->webView(), error.get());
    settle();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateFailed);
}

TEST_F(SDKCoreWebViewTest, ThePagesOwnLoadFailingFailsThePage) {
    transport->answer(YBXSDKCorePageURL(), ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));
    page->addObserverForOneTimeNotification(observer.get());
    load();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateFailed);
    EXPECT_EQ(observer->states, std::vector<long long>{YBXSDKCoreWebViewStateFailed});
}

TEST_F(SDKCoreWebViewTest, NavigationIsLimitedToThePageAndItsMessagesOnceLoaded) {
    const std::string handled = "pmsg://sdk/loadAdURL?request_id=7&url=http%3A%2F%2Fad.test%2Fa";
    const std::string unhandled = "pmsg://sdk/somethingElse?request_id=7";
    const std::string other = "http://127.0.0.1:47800/elsewhere.html";
    struct Row {
        long long state;
        bool pageAllowed;
        bool handledTaken;
    } rows[] = {
        {YBXSDKCoreWebViewStateNotLoaded, true, false},
        {YBXSDKCoreWebViewStateLoading, true, false},
        {YBXSDKCoreWebViewStateLoaded, true, true},
        {YBXSDKCoreWebViewStateFailed, true, false},
    };
    auto decide = [&](const std::string& url) {
        return sel::webView_shouldStartLoadWithRequest_navigationType_(page.get(), page->webView(), requestFor(url).get(), 5);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        setState(row.state);
        delegate->calls.clear();
        EXPECT_FALSE(decide(handled));
        EXPECT_FALSE(decide(unhandled));
        EXPECT_FALSE(decide(other));
        settle();
        EXPECT_EQ(delegate->calls.size(), row.handledTaken ? 1u : 0u);
        EXPECT_EQ(page->state(), row.state);
        EXPECT_EQ(decide(YBXSDKCorePageURL()), row.pageAllowed);
        // Loading the page address is loading.
        EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateLoading);
    }
}

TEST_F(SDKCoreWebViewTest, MessagesReachTheDelegateReadOnArrivalOnTheMainQueue) {
    setState(YBXSDKCoreWebViewStateLoaded);
    auto send = [&](const std::string& url) {
        sel::webView_shouldStartLoadWithRequest_navigationType_(page.get(), page->webView(), requestFor(url).get(), 5);
    };
    send("pmsg://sdk/loadAdURL?request_id=1&url=http%3A%2F%2Fad.test%2Fa&request_scenario=online_request");
    send("pmsg://sdk/invalidRequest?request_id=2&error=no%20slotname");
    send("pmsg://sdk/loadSdkConstants?as_domains=127.0.0.1");
    // The delegate in place when the message came is the one told.
    Ref<HandlerDelegate> later = as<HandlerDelegate>(newObject("TestSDKCoreHandlerDelegate").get());
    page->handler()->delegate_ = later.get();
    EXPECT_TRUE(delegate->calls.empty());
    settle();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"loadAdURL 1", "invalid 2", "constants"}));
    EXPECT_EQ(delegate->values[0],
              (Value{{"request_id", "1"}, {"url", "http://ad.test/a"}, {"request_scenario", "online_request"}}));
    EXPECT_EQ(delegate->values[1], (Value{{"request_id", "2"}, {"error", "no slotname"}}));
    EXPECT_EQ(delegate->values[2], (Value{{"as_domains", "127.0.0.1"}}));
    EXPECT_TRUE(delegate->allOnMain);
    EXPECT_TRUE(later->calls.empty());
    // Without a delegate a message goes nowhere.
    page->handler()->delegate_ = nullptr;
    send("pmsg://sdk/loadAdURL?request_id=3");
    settle();
    EXPECT_TRUE(later->calls.empty());
}

TEST_F(SDKCoreWebViewTest, AnAdIsDeliveredOnlyAsAnObjectWithNoHeadersOrAnObjectOfThem) {
    setState(YBXSDKCoreWebViewStateLoaded);
    const std::string ad = "%7B%22ad_url%22%3A%22http%3A%2F%2Fad.test%2Fa%22%7D";  // {"ad_url":"http://ad.test/a"}
    const std::string header = "%7B%22X-Kestra-Ad-Size%22%3A%22320x50%22%7D";  // {"X-Kestra-Ad-Size":"320x50"}
    struct Case {
        const char* name;
        std::string query;
        bool delivered;
        Value headers;
    } cases[] = {
        {"good", "ad=" + ad + "&header=" + header, true, Value{{"X-Kestra-Ad-Size", "320x50"}}},
        {"header absent", "ad=" + ad, true, Value()},
        {"bad ad", "ad=%7B%22ad_url%22&header=" + header, false, Value()},
        {"bad header", "ad=" + ad + "&header=%7Bnope", false, Value()},
        {"ad 5", "ad=5&header=" + header, false, Value()},
        {"header [1]", "ad=" + ad + "&header=%5B1%5D", false, Value()},
        {"no ad", "header=" + header, false, Value()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        delegate->calls.clear();
        delegate->values.clear();
        delegate->ads.clear();
        sel::webView_shouldStartLoadWithRequest_navigationType_(page.get(), page->webView(),
                                                                requestFor("pmsg://sdk/loadAd?request_id=4&" + c.query).get(), 5);
        settle();
        if (!c.delivered) {
            EXPECT_TRUE(delegate->calls.empty());
            continue;
        }
        ASSERT_EQ(delegate->calls, std::vector<std::string>{"loadAd 4"});
        EXPECT_EQ(delegate->values[0], c.headers);
        ASSERT_TRUE(delegate->ads[0]);
        EXPECT_TRUE(isKindOfClass(delegate->ads[0].get(), "YBXAd"));
        auto* url = as<NSURL>(sel::adURL(delegate->ads[0].get()).get());
        ASSERT_NE(url, nullptr);
        EXPECT_EQ(url->absoluteString(), "http://ad.test/a");
    }
}

TEST_F(SDKCoreWebViewTest, APageGoingAwayLetsGoOfItsWebView) {
    WeakRef<Object> view(page->webView());
    Ref<Object> inner = sel::webView(page->webView());
    page = nullptr;
    settle();
    EXPECT_FALSE(view.lock());
    EXPECT_FALSE(sel::delegate(inner));
}

}  // namespace
}  // namespace adlib

// The web view wrapper, its standard delegate's navigation policy and the
// creative message handler base, on the scripted page engine.
#include "adlib/render/web_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/notification_center.h"
#include "adlib/render/pmsg_handler.h"
#include "adlib/render/web_view_delegate.h"
#include "platform/network/transport.h"
#include "platform/network/url.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Ref<NSURLRequest> requestFor(std::string_view text) {
    Ref<NSURL> url = NSURL::URLWithString(text);
    EXPECT_TRUE(url) << text;
    return NSURLRequest::requestWithURL(url.get());
}

// Records what a web view's delegate is told, and refuses the URLs it is given.
class EventRecorder : public NSObject {
public:
    std::vector<std::string> events;
    std::vector<id> views;
    std::vector<std::string> refused;
};

void registerRecorder() {
    ClassBuilder<EventRecorder>("TestWebViewEventRecorder", "NSObject")
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id view, id request, long long type) {
                    auto* r = as<EventRecorder>(self);
                    const std::string url = as<NSURLRequest>(request)->URL()->absoluteString();
                    r->events.push_back("should " + url + " " + std::to_string(type));
                    r->views.push_back(view);
                    for (const std::string& refused : r->refused)
                        if (refused == url) return false;
                    return true;
                })
        .method(sel::webViewDidStartLoad_, [](id self, id view) {
            as<EventRecorder>(self)->events.push_back("start");
            as<EventRecorder>(self)->views.push_back(view);
        })
        .method(sel::webViewDidFinishLoad_, [](id self, id view) {
            as<EventRecorder>(self)->events.push_back("finish");
            as<EventRecorder>(self)->views.push_back(view);
        })
        .method(sel::webView_didFailLoadWithError_, [](id self, id view, id error) {
            as<EventRecorder>(self)->events.push_back("fail " + std::to_string(as<NSError>(error)->code()));
            as<EventRecorder>(self)->views.push_back(view);
        });
    // A delegate that hears about loads but has no say in them.
    ClassBuilder<EventRecorder>("TestWebViewListener", "NSObject").method(sel::webViewDidFinishLoad_, [](id self, id view) {
        as<EventRecorder>(self)->events.push_back("finish");
        as<EventRecorder>(self)->views.push_back(view);
    });
}

class WebViewTest : public ::testing::Test {
protected:
    WebViewTest() {
        network::setTransport(transport);
        registerRecorder();
        view = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    webkit::ScriptedPages& pages = webkit::ScriptedPages::shared();
    Ref<YBXWebView> view;
};

TEST_F(WebViewTest, TheInnerViewFillsTheWrapperWhichIsItsDelegate) {
    ASSERT_TRUE(view);
    Ref<Object> inner = sel::webView(view.get());
    ASSERT_TRUE(inner);
    EXPECT_TRUE(isKindOfClass(inner.get(), "UIWebView"));
    EXPECT_EQ(sel::delegate(inner).get(), view.get());
    EXPECT_EQ(sel::superview(inner).get(), view.get());
    EXPECT_EQ(sel::frame(inner), Rect(0, 0, 320, 50));
    EXPECT_FALSE(sel::optoraUnloadPingReceived(view.get()));
    sel::setOptoraUnloadPingReceived_(view.get(), true);
    EXPECT_TRUE(sel::optoraUnloadPingReceived(view.get()));
}

TEST_F(WebViewTest, LoadEventsReachTheDelegateWithTheWrapperFirst) {
    Ref<EventRecorder> recorder = as<EventRecorder>(newObject("TestWebViewEventRecorder").get());
    sel::setDelegate_(view.get(), recorder.get());
    EXPECT_EQ(sel::delegate(view.get()).get(), recorder.get());
    transport->answer("http://ads.test/ok", ScriptedTransport::Script::body({"<p>ok</p>"}));
    transport->answer("http://ads.test/down", ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));

    sel::loadRequest_(view.get(), requestFor("http://ads.test/ok").get());
    platform::testing::advance(0.1);
    sel::loadRequest_(view.get(), requestFor("http://ads.test/down").get());
    platform::testing::advance(0.1);
    recorder->refused = {"http://ads.test/refused"};
    sel::loadRequest_(view.get(), requestFor("http://ads.test/refused").get());
    platform::testing::advance(0.1);

    EXPECT_EQ(recorder->events, (std::vector<std::string>{"should http://ads.test/ok 5", "start", "finish",
                                                           "should http://ads.test/down 5", "start", "fail -1004",
                                                           "should http://ads.test/refused 5"}));
    for (id seen : recorder->views) EXPECT_EQ(seen, view.get());
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"GET http://ads.test/ok", "GET http://ads.test/down"}));
}

TEST_F(WebViewTest, WithoutADelegateThatDecidesEveryLoadGoesAhead) {
    transport->answer("http://ads.test/a", ScriptedTransport::Script::body({"<p>a</p>"}));
    transport->answer("http://ads.test/b", ScriptedTransport::Script::body({"<p>b</p>"}));
    sel::loadRequest_(view.get(), requestFor("http://ads.test/a").get());
    platform::testing::advance(0.1);
    Ref<EventRecorder> listener = as<EventRecorder>(newObject("TestWebViewListener").get());
    sel::setDelegate_(view.get(), listener.get());
    sel::loadRequest_(view.get(), requestFor("http://ads.test/b").get());
    platform::testing::advance(0.1);
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"GET http://ads.test/a", "GET http://ads.test/b"}));
    EXPECT_EQ(listener->events, std::vector<std::string>{"finish"});
    ASSERT_EQ(listener->views.size(), 1u);
    EXPECT_EQ(listener->views[0], view.get());
}

TEST_F(WebViewTest, ScriptsRunInTheInnerView) {
    pages.whenEvaluated("answer()", webkit::PageScript().answering("42"));
    EXPECT_EQ(sel::stringByEvaluatingJavaScriptFromString_(view.get(), Value("answer()")), Value("42"));
    ASSERT_FALSE(pages.evaluated().empty());
    EXPECT_EQ(pages.evaluated().back(), "answer()");
}

TEST_F(WebViewTest, TheInnerViewForgetsTheWrapperWhenItGoes) {
    Ref<Object> inner = sel::webView(view.get());
    view = nullptr;
    EXPECT_FALSE(sel::delegate(inner));
}

TEST(WebViewDelegatePolicy, WebAndBlankPagesLoadEverythingElseIsRefused) {
    AdLibEnvironment env;
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    ASSERT_TRUE(delegate);
    EXPECT_TRUE(conformsToProtocol(delegate.get(), "YBXWebViewDelegate"));
    struct Case {
        const char* url;
        bool allowed;
    } cases[] = {
        {"http://ads.test/p", true},  {"HTTPS://ads.test/p", true}, {"about:blank", true},    {"pmsg://sdk/loadAdURL", false},
        {"mailto:a@b.test", false},   {"tel:123", false},           {"file:///tmp/x", false}, {"itms-apps://x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        for (long long type : {0LL, 5LL})
            EXPECT_EQ(sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), nullptr, requestFor(c.url).get(), type),
                      c.allowed);
    }
    EXPECT_FALSE(sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), nullptr, nullptr, 5));
}

// A handler with a table naming one real operation, one that takes no
// argument and one that does not exist.
class RecordingHandler : public YBXPMSGHandler {
public:
    std::vector<Value> arguments;
};

class PMSGHandlerTest : public ::testing::Test {
protected:
    PMSGHandlerTest() {
        static constexpr Sel<void(id, Value)> didReceivePing_{"didReceivePing:"};
        static constexpr Sel<void(id)> noArgument{"noArgument"};
        ClassBuilder<RecordingHandler>("TestRecordingPMSGHandler", "YBXPMSGHandler")
            .method(didReceivePing_, [](id self, Value argument) { as<RecordingHandler>(self)->arguments.push_back(argument); })
            .method(noArgument, [](id self) { as<RecordingHandler>(self)->arguments.push_back(Value("wrong")); });
        handler = as<RecordingHandler>(sel::initWithActionSelectorDictionary_(alloc("TestRecordingPMSGHandler"), table).get());
    }

    AdLibEnvironment env;
    Value table{{"ping", "didReceivePing:"}, {"bare", "noArgument"}, {"ghost", "didReceiveGhost:"}};
    Ref<RecordingHandler> handler;
};

TEST_F(PMSGHandlerTest, TheTableIsKeptAsGiven) {
    ASSERT_TRUE(handler);
    EXPECT_EQ(sel::actionSelectors(handler.get()), table);
    Ref<Object> empty = sel::initWithActionSelectorDictionary_(alloc("YBXPMSGHandler"), Value());
    EXPECT_EQ(sel::actionSelectors(empty), Value(Value::Dictionary{}));
}

TEST_F(PMSGHandlerTest, AMessageInTheTableReachesItsOperationWithTheWebViewAndTheNote) {
    Ref<Object> webView = UIView::make("YBXWebView", Rect());
    EXPECT_TRUE(sel::handleRequest_webView_(handler.get(), requestFor("pmsg://x/ping?u=1&Two=2").get(), webView.get()));
    EXPECT_TRUE(sel::handleRequest_webView_(handler.get(), requestFor("pmsg://x/ping").get(), nullptr));
    ASSERT_EQ(handler->arguments.size(), 2u);
    const Value& first = handler->arguments[0];
    EXPECT_EQ(first["webView"].object(), webView.get());
    auto* note = as<YBXNotification>(first["note"].object());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->name(), "ping");
    EXPECT_EQ(note->parameters(), (Value{{"u", "1"}, {"Two", "2"}}));
    // Keys whose value is nil are left out.
    EXPECT_EQ(handler->arguments[1].dictionary().count("webView"), 0u);
    EXPECT_TRUE(handler->arguments[1]["note"].object());
}

TEST_F(PMSGHandlerTest, EverythingElseIsNotTaken) {
    const char* urls[] = {
        "pmsg://x/Ping",       // names are matched exactly
        "pmsg://x/unknown",    // not in the table
        "pmsg://x/ghost",      // the handler lacks the operation
        "pmsg://x/bare",       // the operation takes no argument
        "pmsg://x/",           // no name
        "http://x/ping?u=1",   // no message
    };
    for (const char* url : urls) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(sel::handleRequest_webView_(handler.get(), requestFor(url).get(), nullptr));
    }
    EXPECT_FALSE(sel::handleRequest_webView_(handler.get(), nullptr, nullptr));
    EXPECT_TRUE(handler->arguments.empty());
}

}  // namespace
}  // namespace adlib

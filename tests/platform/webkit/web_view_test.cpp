#include "platform/webkit/web_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/testing/test_environment.h"
#include "platform/webkit/scripted_page_engine.h"

namespace platform {
namespace {

using webkit::PageScript;
using webkit::ScriptedPages;
using Script = ScriptedTransport::Script;

std::string text(const Data& d) { return std::string(d.begin(), d.end()); }

// Writes down every delegate call; refuses navigations whose URL begins with
// one of `refused`.
class WebDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    std::vector<std::string> refused;
    std::vector<std::string> userAgents;  // of each request asked about
};

void registerDelegate() {
    ClassBuilder<WebDelegate>("TestWebViewDelegate", "NSObject")
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long type) {
                    auto* d = as<WebDelegate>(self);
                    auto* r = as<NSURLRequest>(request);
                    std::string url = r->URL()->absoluteString();
                    d->calls.push_back("should " + url + " " + std::to_string(type));
                    const std::string* agent = r->valueForHTTPHeaderField("User-Agent");
                    d->userAgents.push_back(agent ? *agent : "");
                    for (const std::string& prefix : d->refused)
                        if (url.compare(0, prefix.size(), prefix) == 0) return false;
                    return true;
                })
        .method(sel::webViewDidStartLoad_, [](id self, id) { as<WebDelegate>(self)->calls.push_back("start"); })
        .method(sel::webViewDidFinishLoad_, [](id self, id) { as<WebDelegate>(self)->calls.push_back("finish"); })
        .method(sel::webView_didFailLoadWithError_, [](id self, id, id error) {
            auto* e = as<NSError>(error);
            as<WebDelegate>(self)->calls.push_back("fail " + std::to_string(e->code()) + " " +
                                                  e->userInfo()[NSURLErrorKey].stringOr("(none)"));
        });
}

class WebViews : public ::testing::Test {
protected:
    WebViews() {
        registerDelegate();
        network::setTransport(transport);
        delegate = as<WebDelegate>(newObject("TestWebViewDelegate").get());
        delegate->refused = {"pmsg:"};
        view = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 320, 50));
        sel::setDelegate_(view.get(), delegate.get());
    }
    static Ref<NSURL> url(const std::string& text) { return NSURL::URLWithString(text); }
    void loadHTML(const std::string& html, const std::string& base) {
        sel::loadHTMLString_baseURL_(view.get(), Value(html), url(base).get());
        RunLoop::main().advance(1);
    }
    void load(const std::string& text) {
        sel::loadRequest_(view.get(), NSURLRequest::requestWithURL(url(text).get()).get());
        RunLoop::main().advance(1);
    }
    // The calls since the last take.
    std::vector<std::string> take() { return std::exchange(delegate->calls, {}); }
    std::string evaluate(const std::string& script) {
        return sel::stringByEvaluatingJavaScriptFromString_(view.get(), Value(script)).stringOr("nil");
    }

    testing::TestEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<WebDelegate> delegate;
    Ref<UIWebView> view;
};

TEST_F(WebViews, LoadedHTMLStringIsAskedStartedAndFinished) {
    sel::loadHTMLString_baseURL_(view.get(), Value("<p>ad</p>"), url("http://ads.test/creative").get());
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/creative 5"}));
    EXPECT_TRUE(sel::isLoading(view.get()));
    RunLoop::main().advance(0);
    EXPECT_EQ(take(), (std::vector<std::string>{"start", "finish"}));
    EXPECT_FALSE(sel::isLoading(view.get()));
    EXPECT_EQ(as<NSURLRequest>(sel::request(view.get()).get())->URL()->absoluteString(), "http://ads.test/creative");
    EXPECT_EQ(ScriptedPages::shared().documents(), (std::vector<std::string>{"http://ads.test/creative"}));
    EXPECT_TRUE(transport->requests().empty()) << "an HTML string loads nothing";

    // Without a base URL the page is about:blank.
    sel::loadHTMLString_baseURL_(view.get(), Value(""), nullptr);
    RunLoop::main().advance(0);
    EXPECT_EQ(take(), (std::vector<std::string>{"should about:blank 5", "start", "finish"}));
}

TEST_F(WebViews, PmsgMessageIsAskedAndRefusedAndLoadsNothing) {
    ScriptedPages::shared().whenEvaluated("KESTRA_buildAdURL({});", PageScript().navigate("pmsg://loadAdURL?url=http%3A%2F%2Fad"));
    loadHTML("<html></html>", "https://ads.test/sdk-core.html");
    take();
    EXPECT_EQ(evaluate("KESTRA_buildAdURL({});"), "");
    RunLoop::main().advance(5);
    EXPECT_EQ(take(), (std::vector<std::string>{"should pmsg://loadAdURL?url=http%3A%2F%2Fad 5"}));
    EXPECT_TRUE(transport->requests().empty());
    EXPECT_FALSE(sel::isLoading(view.get()));
    EXPECT_EQ(view->request()->URL()->absoluteString(), "https://ads.test/sdk-core.html");
    EXPECT_EQ(ScriptedPages::shared().documents().size(), 1u);
}

TEST_F(WebViews, NavigationsThePageStartsAreAskedWithTheirTypeAndLoadThroughURLLoading) {
    struct Case {
        const char* name;
        PageScript script;
        std::vector<std::string> calls;
        std::vector<std::string> loads;  // what the transport saw
    };
    const Case cases[] = {
        {"link click", PageScript().navigate("/landing", UIWebViewNavigationTypeLinkClicked),
         {"should http://ads.test/landing 0", "start", "finish"}, {"GET http://ads.test/landing"}},
        {"form post", PageScript().submit("http://ads.test/form", "a=1"),
         {"should http://ads.test/form 1", "start", "finish"}, {"POST http://ads.test/form"}},
        {"location change", PageScript().navigate("http://other.test/"),
         {"should http://other.test/ 5", "start", "finish"}, {"GET http://other.test/"}},
        // The page finishes after its frame, which reports its own start and finish.
        {"frame", PageScript().frame("http://ads.test/frame.html"),
         {"should http://ads.test/frame.html 5", "start", "finish", "finish"}, {"GET http://ads.test/frame.html"}},
        {"refused frame", PageScript().frame("pmsg://close"), {"should pmsg://close 5", "finish"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        transport = std::make_shared<ScriptedTransport>();
        network::setTransport(transport);
        for (const char* page : {"http://ads.test/landing", "http://ads.test/form", "http://other.test/", "http://ads.test/frame.html"})
            transport->answer(page, Script::body({"<p>page</p>"}));
        ScriptedPages::shared().whenLoaded("<p>ad</p>", c.script);
        sel::loadHTMLString_baseURL_(view.get(), Value("<p>ad</p>"), url("http://ads.test/ad").get());
        RunLoop::main().advance(1);
        std::vector<std::string> expected{"should http://ads.test/ad 5", "start"};
        expected.insert(expected.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(take(), expected);
        EXPECT_EQ(transport->log(), c.loads);
        EXPECT_FALSE(sel::isLoading(view.get()));
        ScriptedPages::shared().whenLoaded("<p>ad</p>", PageScript());
    }
}

TEST_F(WebViews, FrameRequestsNameTheirPageAsMainDocument) {
    transport->answer("http://ads.test/frame.html", Script::body({"f"}));
    ScriptedPages::shared().whenLoaded("http://ads.test/ad", PageScript().frame("frame.html"));
    loadHTML("<p>ad</p>", "http://ads.test/ad");
    ASSERT_EQ(transport->requests().size(), 1u);
    NSURLRequest* frame = transport->requests()[0].get();
    EXPECT_FALSE(frame->isMainFrame());
    ASSERT_TRUE(frame->mainDocumentURL());
    EXPECT_EQ(frame->mainDocumentURL()->absoluteString(), "http://ads.test/ad");
}

TEST_F(WebViews, MainDocumentThroughTheTransport) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, Script>> answers;
        std::vector<std::string> calls;
    };
    const std::string asked = "should http://ads.test/page 5";
    const Case cases[] = {
        {"found", {{"http://ads.test/page", Script::body({"<p>", "ad</p>"})}}, {asked, "start", "finish"}},
        {"not found is a page", {{"http://ads.test/page", Script::body({"gone"}, 404)}}, {asked, "start", "finish"}},
        {"refused connection", {}, {asked, "start", "fail -1004 http://ads.test/page"}},
        {"time-out", {{"http://ads.test/page", Script::failure(NSURLErrorTimedOut)}},
         {asked, "start", "fail -1001 http://ads.test/page"}},
        // A server's redirect is asked about; a refused one interrupts the load.
        {"redirect", {{"http://ads.test/page", Script::redirect("/moved")}, {"http://ads.test/moved", Script::body({"x"})}},
         {asked, "start", "should http://ads.test/moved 5", "finish"}},
        {"refused redirect", {{"http://ads.test/page", Script::redirect("http://blocked.test/")}},
         {asked, "start", "should http://blocked.test/ 5", "fail 102 http://ads.test/page"}},
    };
    delegate->refused.push_back("http://blocked.test/");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        transport = std::make_shared<ScriptedTransport>();
        network::setTransport(transport);
        for (const auto& [page, answer] : c.answers) transport->answer(page, answer);
        load("http://ads.test/page");
        EXPECT_EQ(take(), c.calls);
        EXPECT_FALSE(sel::isLoading(view.get()));
    }
    EXPECT_EQ(view->request()->URL()->absoluteString(), "http://ads.test/page");
    transport->answer("http://ads.test/page", Script::redirect("/moved"));
    transport->answer("http://ads.test/moved", Script::body({"x"}));
    load("http://ads.test/page");
    EXPECT_EQ(view->request()->URL()->absoluteString(), "http://ads.test/moved") << "the page's request follows the redirect";
    EXPECT_EQ(ScriptedPages::shared().documents().back(), "http://ads.test/moved");
    take();

    // The document the engine got is the body that came.
    ScriptedPages::shared().whenLoaded("ad</p>", PageScript().fail(NSURLErrorCannotDecodeContentData));
    transport->answer("http://ads.test/page", Script::body({"<p>", "ad</p>"}));
    load("http://ads.test/page");
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/page 5", "start", "fail -1016 http://ads.test/page"}));
}

// What a page engine asks of its web view.
TEST_F(WebViews, HostLoadsSubresourcesAndRunsTimersForThePage) {
    transport->answer("http://cdn.test/mraid.js", Script::body({"var mraid;"}));
    loadHTML("<p>ad</p>", "http://ads.test/ad");
    webkit::PageHost& host = *view;
    std::vector<std::string> heard;
    auto record = [&heard](const char* what) {
        return [&heard, what](const webkit::LoadResult& r) {
            heard.push_back(std::string(what) + " " + (r.error ? "error" : text(r.body)));
        };
    };
    host.loadSubresource(NSURLRequest::requestWithURL(url("http://cdn.test/mraid.js").get()).get(), record("script"));
    EXPECT_TRUE(heard.empty()) << "never answered from inside the call";
    host.scheduleTimer(2, [&heard] { heard.push_back("timer"); });
    webkit::PageHost::TimerId cancelled = host.scheduleTimer(1, [&heard] { heard.push_back("cancelled timer"); });
    host.cancelTimer(cancelled);
    RunLoop::main().advance(1);
    EXPECT_EQ(heard, (std::vector<std::string>{"script var mraid;"}));
    ASSERT_EQ(transport->requests().size(), 1u);
    NSURLRequest* script = transport->requests()[0].get();
    EXPECT_EQ(*script->valueForHTTPHeaderField("Referer"), "http://ads.test/ad");
    EXPECT_EQ(*script->valueForHTTPHeaderField("User-Agent"), webkit::userAgent());
    EXPECT_EQ(script->mainDocumentURL()->absoluteString(), "http://ads.test/ad");

    // Timers outlive stopLoading; a new document ends them and the old page's loads.
    sel::stopLoading(view.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(heard.back(), "timer");
    Script slow = Script::body({"late"});
    slow.delay = 5;
    transport->answer("http://cdn.test/slow.js", slow);
    host.loadSubresource(NSURLRequest::requestWithURL(url("http://cdn.test/slow.js").get()).get(), record("slow"));
    host.scheduleTimer(3, [&heard] { heard.push_back("old page's timer"); });
    loadHTML("<p>next</p>", "http://ads.test/next");
    RunLoop::main().advance(10);
    EXPECT_EQ(heard.back(), "timer");
    EXPECT_EQ(transport->activeLoads(), 0u);
}

TEST_F(WebViews, RefusedNavigationChangesNothing) {
    loadHTML("<p>ad</p>", "http://ads.test/ad");
    take();
    delegate->refused.push_back("http://blocked.test/");
    load("http://blocked.test/x");
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://blocked.test/x 5"}));
    EXPECT_EQ(view->request()->URL()->absoluteString(), "http://ads.test/ad");
    EXPECT_FALSE(sel::canGoBack(view.get()));
    EXPECT_TRUE(transport->requests().empty());
}

TEST_F(WebViews, ScriptsAnswerTheirTextOrNothingAndAreRecordedInOrder) {
    ScriptedPages::shared().whenEvaluated("document.body.innerHTML", PageScript().answering("<p>ad</p>"));
    ScriptedPages::shared().whenEvaluated("broken(", PageScript().answering("never seen").throwing());
    loadHTML("<p>ad</p>", "http://ads.test/ad");
    EXPECT_EQ(evaluate("document.body.innerHTML"), "<p>ad</p>");
    EXPECT_EQ(evaluate("broken("), "");
    EXPECT_EQ(evaluate("unscripted()"), "");
    EXPECT_EQ(ScriptedPages::shared().evaluated(),
              (std::vector<std::string>{"document.body.innerHTML", "broken(", "unscripted()"}));
}

TEST_F(WebViews, StopLoadingEndsTheLoadSilently) {
    Script slow = Script::body({"<p>late</p>"});
    slow.delay = 10;
    transport->answer("http://ads.test/slow", slow);
    sel::loadRequest_(view.get(), NSURLRequest::requestWithURL(url("http://ads.test/slow").get()).get());
    RunLoop::main().advance(1);
    sel::stopLoading(view.get());
    EXPECT_FALSE(sel::isLoading(view.get()));
    RunLoop::main().advance(30);
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/slow 5", "start"}));
    EXPECT_EQ(transport->activeLoads(), 0u);

    // Stopped before its first turn, a load does not even start.
    sel::loadHTMLString_baseURL_(view.get(), Value("x"), url("http://ads.test/x").get());
    sel::stopLoading(view.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/x 5"}));
}

TEST_F(WebViews, AWebViewGoneMidLoadTellsNothingAndLeavesNoLoad) {
    Script slow = Script::body({"<p>late</p>"});
    slow.delay = 10;
    transport->answer("http://ads.test/slow", slow);
    ScriptedPages::shared().whenLoaded("http://ads.test/slow", PageScript().frame("http://ads.test/slow"));
    load("http://ads.test/slow");
    view = nullptr;
    RunLoop::main().advance(30);
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/slow 5", "start"}));
    EXPECT_EQ(transport->activeLoads(), 0u);
}

TEST_F(WebViews, ReloadAndHistoryAskWithTheirTypes) {
    transport->answer("http://ads.test/a", Script::body({"a"}));
    transport->answer("http://ads.test/b", Script::body({"b"}));
    load("http://ads.test/a");
    load("http://ads.test/b");
    take();
    EXPECT_TRUE(sel::canGoBack(view.get()));
    EXPECT_FALSE(sel::canGoForward(view.get()));
    sel::goBack(view.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/a 2", "start", "finish"}));
    EXPECT_TRUE(sel::canGoForward(view.get()));
    sel::reload(view.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/a 3", "start", "finish"}));
    sel::goForward(view.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(take(), (std::vector<std::string>{"should http://ads.test/b 2", "start", "finish"}));
    EXPECT_FALSE(sel::canGoForward(view.get()));
}

TEST_F(WebViews, TheBackListKeepsTheLastHundredPages) {
    for (int page = 0; page < 105; ++page) loadHTML("<p>ad</p>", "http://ads.test/ad" + std::to_string(page));
    take();
    int back = 0;
    while (sel::canGoBack(view.get())) {
        sel::goBack(view.get());
        RunLoop::main().advance(1);
        ++back;
    }
    EXPECT_EQ(back, 99);
    EXPECT_EQ(view->request()->URL()->absoluteString(), "http://ads.test/ad5");
}

TEST_F(WebViews, DelegateIsHeldWeakly) {
    delegate = nullptr;
    EXPECT_FALSE(sel::delegate(view.get()));
    loadHTML("<p>ad</p>", "http://ads.test/ad");  // no one to tell, nothing breaks
    EXPECT_FALSE(sel::isLoading(view.get()));
}

TEST_F(WebViews, PropertiesKeepWhatIsSet) {
    auto* scroll = as<UIScrollView>(sel::scrollView(view.get()).get());
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->superview().get(), view.get());
    EXPECT_EQ(sel::bounds(scroll).size, (Size{320, 50}));
    EXPECT_TRUE(sel::bounces(scroll));
    sel::setBounces_(scroll, false);
    sel::setScrollEnabled_(scroll, false);
    sel::setScrollsToTop_(scroll, false);
    EXPECT_FALSE(sel::bounces(scroll) || sel::isScrollEnabled(scroll) || sel::scrollsToTop(scroll));

    EXPECT_EQ(sel::dataDetectorTypes(view.get()), UIDataDetectorTypePhoneNumber);
    EXPECT_TRUE(sel::mediaPlaybackRequiresUserAction(view.get()));
    EXPECT_FALSE(sel::allowsInlineMediaPlayback(view.get()));
    sel::setDataDetectorTypes_(view.get(), UIDataDetectorTypeNone);
    sel::setScalesPageToFit_(view.get(), true);
    sel::setAllowsInlineMediaPlayback_(view.get(), true);
    sel::setMediaPlaybackRequiresUserAction_(view.get(), false);
    sel::setMediaPlaybackAllowsAirPlay_(view.get(), false);
    EXPECT_EQ(sel::dataDetectorTypes(view.get()), UIDataDetectorTypeNone);
    EXPECT_TRUE(sel::scalesPageToFit(view.get()) && sel::allowsInlineMediaPlayback(view.get()));
    EXPECT_FALSE(sel::mediaPlaybackRequiresUserAction(view.get()) || sel::mediaPlaybackAllowsAirPlay(view.get()));
}

TEST_F(WebViews, RequestsCarryTheWebViewsUserAgent) {
    const std::string agent =
        "Mozilla/5.0 (iPhone; CPU iPhone OS 9_3 like Mac OS X) AppleWebKit/601.1.46 (KHTML, like Gecko) Mobile/13E233";
    EXPECT_EQ(webkit::userAgent(), agent);
    transport->answer("http://ads.test/page", Script::body({"x"}));
    load("http://ads.test/page");
    ASSERT_EQ(delegate->userAgents.size(), 1u);
    EXPECT_EQ(delegate->userAgents[0], agent) << "the delegate sees it already";
    ASSERT_EQ(transport->requests().size(), 1u);
    ASSERT_TRUE(transport->requests()[0]->valueForHTTPHeaderField("user-agent"));
    EXPECT_EQ(*transport->requests()[0]->valueForHTTPHeaderField("user-agent"), agent);

    // A request's own agent is kept.
    auto own = NSMutableURLRequest::requestWithURL(url("http://ads.test/page").get());
    own->setValueForHTTPHeaderField(std::string("Custom/1"), "User-Agent");
    sel::loadRequest_(view.get(), own.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(*transport->requests().back()->valueForHTTPHeaderField("User-Agent"), "Custom/1");
}

TEST(WebViewUserAgent, FollowsTheBootedVersionAndDevice) {
    struct Case {
        const char* version;
        long long idiom;
        const char* agent;
    };
    const Case cases[] = {
        {"7.1.2", 0, "Mozilla/5.0 (iPhone; CPU iPhone OS 7_1_2 like Mac OS X) AppleWebKit/537.51.2 (KHTML, like Gecko) Mobile/11D167"},
        {"8.4", 1, "Mozilla/5.0 (iPad; CPU OS 8_4 like Mac OS X) AppleWebKit/600.1.4 (KHTML, like Gecko) Mobile/12H143"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        host::BootOptions options;
        options.systemVersion = c.version;
        options.interfaceIdiom = c.idiom;
        std::string agent = testing::runInChild(options, [] { return webkit::userAgent(); });
        EXPECT_EQ(agent, c.agent);
    }
}

}  // namespace
}  // namespace platform

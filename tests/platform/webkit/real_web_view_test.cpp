// UIWebView with the real page engine: delegate calls in their order, our ad
// server's SDK-core page, creatives, a runaway creative, a script the server
// holds back, and the bitmap of real pages.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/graphics.h"
#include "platform/webkit/page_painter.h"
#include "platform/webkit/real_page_engine.h"
#include "platform/webkit/web_view.h"
#include "tests/tools/ad-server/http_client.h"

namespace platform {
namespace {

using rousa::adserver::AdServer;
using rousa::adserver::Fault;
using rousa::adserver::ServerOptions;
using rousa::adserver::testing::fetch;
using rousa::adserver::testing::HttpRequest;
using rousa::adserver::testing::HttpResult;
using rousa::adserver::testing::queryParameters;

// Loads from our ad server on a thread each and answers on the main run loop,
// as a network transport does.
class ServerTransport : public Transport {
public:
    ~ServerTransport() override {
        for (auto& t : threads_) t.join();
    }

    LoadId start(NSURLRequest* request, std::shared_ptr<TransportClient> client) override {
        std::lock_guard lock(mutex_);
        LoadId id = next_++;
        auto live = std::make_shared<std::atomic<bool>>(true);
        live_[id] = live;
        std::string url = request->URL()->absoluteString();
        HttpRequest http;
        http.method = request->HTTPMethod();
        http.body = std::string(request->HTTPBody().begin(), request->HTTPBody().end());
        for (const auto& [name, value] : request->allHTTPHeaderFields().dictionary())
            http.headers.push_back(name + ": " + value.string());
        threads_.emplace_back([url, http, client, live] {
            HttpResult result = fetch(url, http);
            RunLoop::main().post([url, result, client, live] {
                if (!*live) return;
                if (result.code != CURLE_OK) {
                    client->transportFailed(NSURLErrorCannotConnectToHost);
                    return;
                }
                HeaderFields headers;
                for (const auto& [name, value] : result.headers) headers.set(name, &value);
                client->transportReceivedResponse(NSHTTPURLResponse::make(NSURL::URLWithString(url).get(), result.status, headers).get());
                client->transportReceivedData(Data(result.body.begin(), result.body.end()));
                client->transportFinished();
            });
        });
        return id;
    }
    void cancel(LoadId load) override {
        std::lock_guard lock(mutex_);
        if (auto it = live_.find(load); it != live_.end()) *it->second = false;
    }

private:
    std::mutex mutex_;
    LoadId next_ = 1;
    std::map<LoadId, std::shared_ptr<std::atomic<bool>>> live_;
    std::vector<std::thread> threads_;
};

// Writes down every delegate call; allows http and about navigations of the
// main frame and frames, refuses the rest ("pmsg" messages among them).
class Recorder : public NSObject {
public:
    std::vector<std::string> calls;
    int finishes = 0;
};

void registerRecorder() {
    ClassBuilder<Recorder>("TestRealWebViewDelegate", "NSObject")
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long type) {
                    auto* r = as<NSURLRequest>(request);
                    std::string url = r->URL()->absoluteString();
                    as<Recorder>(self)->calls.push_back("should " + std::to_string(type) + " " + r->HTTPMethod() + " " + url);
                    return url.rfind("http", 0) == 0 || url.rfind("about:", 0) == 0;
                })
        .method(sel::webViewDidStartLoad_, [](id self, id) { as<Recorder>(self)->calls.push_back("start"); })
        .method(sel::webViewDidFinishLoad_,
                [](id self, id) {
                    as<Recorder>(self)->calls.push_back("finish");
                    ++as<Recorder>(self)->finishes;
                })
        .method(sel::webView_didFailLoadWithError_, [](id self, id, id error) {
            as<Recorder>(self)->calls.push_back("fail " + std::to_string(as<NSError>(error)->code()));
        });
}

class RealWebView : public ::testing::Test {
protected:
    RealWebView() {
        webkit::RealPageEngine::install();
        registerRecorder();
        network::setTransport(transport);
        std::filesystem::create_directories(site);
        view = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 320, 50));
        recorder = as<Recorder>(newObject("TestRealWebViewDelegate").get());
        sel::setDelegate_(view.get(), recorder.get());
    }
    ~RealWebView() override {
        if (server) server->releaseDelayed();
        sel::setDelegate_(view.get(), nullptr);
        view = nullptr;
        RunLoop::main().runDue();
    }

    void serve(const std::string& path, const std::string& body) { std::ofstream(site + "/" + path) << body; }
    // Serves the test's own files, or the server's shipped ones (the SDK-core page).
    void startServer(bool ownFiles = true) {
        ServerOptions options{.inventoryDir = ROUSA_AD_SERVER_INVENTORY};
        if (ownFiles) options.staticDir = site;
        server = std::make_unique<AdServer>(options);
        ASSERT_TRUE(server->start()) << server->error();
    }
    std::string base() const { return server->baseURL() + "/"; }
    void loadHTML(const std::string& html, const std::string& url) {
        sel::loadHTMLString_baseURL_(view.get(), Value(html), NSURL::URLWithString(url).get());
    }
    void loadURL(const std::string& url) {
        sel::loadRequest_(view.get(), NSURLRequest::requestWithURL(NSURL::URLWithString(url).get()).get());
    }
    std::string eval(const std::string& script) {
        return sel::stringByEvaluatingJavaScriptFromString_(view.get(), Value(script)).string();
    }
    // Waits for the page's load to end, letting the server's answers in.
    void waitForFinish(int finishes = 1) {
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return recorder->finishes >= finishes; }, 20)) << dump();
    }
    std::string dump() const {
        std::string out;
        for (auto& c : recorder->calls) out += c + "\n";
        return out;
    }
    std::vector<std::string> takeCalls() { return std::exchange(recorder->calls, {}); }

    testing::TestEnvironment env;
    std::string site = env.root() + "/site";
    std::unique_ptr<AdServer> server;
    std::shared_ptr<ServerTransport> transport = std::make_shared<ServerTransport>();
    Ref<UIWebView> view;
    Ref<Recorder> recorder;
};

TEST_F(RealWebView, DelegateCallsComeInTheirOrder) {
    loadHTML(R"H(<a id="link" href="landing.html">go</a>
<form id="form" method="post" action="submit"><input name="q" value="1"><input id="send" type="submit"></form>
<script>location.href = 'pmsg://sdk/fromScript';
setTimeout(function () { location = 'pmsg://sdk/fromTimer'; }, 500);</script>)H",
             "http://ads.test/page.html");
    RunLoop::main().advance(0);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"should 5 GET http://ads.test/page.html", "start",
                                                     "should 5 GET pmsg://sdk/fromScript", "finish"}));
    RunLoop::main().advance(1);
    eval("location.href = 'pmsg://sdk/one'; location.href = 'pmsg://sdk/two';");
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"should 5 GET pmsg://sdk/fromTimer"}));
    RunLoop::main().advance(0);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"should 5 GET pmsg://sdk/two"}));
    // Nothing was loaded in place of the page.
    EXPECT_EQ(eval("document.getElementById('link').textContent"), "go");
    EXPECT_EQ(as<NSURLRequest>(sel::request(view.get()).get())->URL()->absoluteString(), "http://ads.test/page.html");

    eval("var f = document.createElement('iframe'); f.src = 'pmsg://sdk/frame'; document.body.appendChild(f);");
    RunLoop::main().advance(0);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"should 5 GET pmsg://sdk/frame"}));
    eval("document.getElementById('send').click()");
    RunLoop::main().advance(0);
    EXPECT_EQ(takeCalls()[0], "should 1 POST http://ads.test/submit");
    eval("document.getElementById('link').click()");
    RunLoop::main().advance(0);
    EXPECT_EQ(takeCalls()[0], "should 0 GET http://ads.test/landing.html");
}

TEST_F(RealWebView, TheSdkCorePageBuildsAdURLs) {
    startServer(false);
    std::string page = server->baseURL() + rousa::adserver::kSdkCorePath;
    loadURL(page);
    waitForFinish();
    takeCalls();
    eval("KESTRA_buildAdURL({\"request_id\":\"7\",\"slotname\":\"html-banner\"});");
    RunLoop::main().advance(0);
    auto calls = takeCalls();
    ASSERT_EQ(calls.size(), 1u);
    const std::string prefix = "should 5 GET pmsg://sdk/loadAdURL?";
    ASSERT_EQ(calls[0].rfind(prefix, 0), 0u) << calls[0];
    auto parameters = queryParameters(calls[0].substr(prefix.size()));
    EXPECT_EQ(parameters["request_id"], "7");
    EXPECT_EQ(parameters["url"], server->baseURL() + rousa::adserver::kAdPath + "?request_id=7&slotname=html-banner");
    // Refused: the page is still there and answers the next request.
    EXPECT_EQ(eval("typeof KESTRA_buildAdURL"), "function");
}

TEST_F(RealWebView, CreativesDoWhatTheirScriptsSay) {
    serve("creative.js", "document.title = 'external ' + document.getElementById('ad').id;");
    startServer();
    struct Case {
        const char* name;
        std::string html;
        const char* action;    // evaluated once the page has loaded
        double seconds;        // then the clock moves on
        const char* check;     // evaluated last
        const char* result;
        std::vector<std::string> calls;  // delegate calls after the load
    };
    const std::string landing = base() + "landing.html";
    const Case cases[] = {
        {"a click handler opens a link",
         R"H(<a id="ad" href="landing.html">ad</a><script>document.getElementById('ad').addEventListener('click',
            function () { this.href = 'landing.html?clicked=1'; });</script>)H",
         "document.getElementById('ad').click()", 0, "document.title", "", {"should 0 GET " + landing + "?clicked=1", "start"}},
        {"a script builds its ad with innerHTML",
         R"H(<div id="ad"></div><script>document.getElementById('ad').innerHTML =
            '<a href="landing.html"><img src="banner.png" width="320" height="50"></a>';</script>)H",
         "", 0, "document.querySelector('#ad a img').width", "320", {}},
        {"a timer changes the page",
         R"H(<p id="ad">before</p><script>setTimeout(function () { document.getElementById('ad').textContent = 'after'; }, 2000);</script>)H",
         "", 2, "document.getElementById('ad').textContent", "after", {}},
        {"an external script",
         R"H(<div id="ad"></div><script src="creative.js"></script>)H", "", 0, "document.title", "external ad", {}},
    };
    int finishes = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadHTML(c.html, base() + "page.html");
        waitForFinish(++finishes);
        takeCalls();
        if (*c.action) eval(c.action);
        RunLoop::main().advance(c.seconds);
        EXPECT_EQ(eval(c.check), c.result);
        auto calls = takeCalls();
        if (calls.size() > c.calls.size()) calls.resize(c.calls.size());
        EXPECT_EQ(calls, c.calls);
        // A link the delegate let go ahead loads before the next creative.
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return !sel::isLoading(view.get()); }, 20));
        takeCalls();
        finishes = recorder->finishes;
    }
    // The external script was asked for with the page as its referer.
    bool sawScript = false;
    for (const auto& request : server->log().entries()) {
        if (request.path != "/creative.js") continue;
        sawScript = true;
        EXPECT_EQ(request.header("Referer"), base() + "page.html");
        EXPECT_NE(request.header("User-Agent"), "");
    }
    EXPECT_TRUE(sawScript);
}

TEST_F(RealWebView, ACreativeInAnEndlessLoopIsStoppedAndTheViewStaysUsable) {
    loadHTML("<script>var n = 0; while (true) { n++; }</script><p id=\"after\">after</p>", "http://ads.test/loop.html");
    RunLoop::main().advance(0);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"should 5 GET http://ads.test/loop.html", "start", "finish"}));
    EXPECT_TRUE(log::contains("RangeError"));
    EXPECT_EQ(eval("document.getElementById('after').textContent"), "after");
    EXPECT_EQ(eval("while (true) {}"), "");
    EXPECT_EQ(eval("n > 0 ? 'counted' : 'not'"), "counted");
    loadHTML("<p id=\"next\">next</p>", "http://ads.test/next.html");
    RunLoop::main().advance(0);
    EXPECT_EQ(eval("document.getElementById('next').textContent"), "next");
}

TEST_F(RealWebView, AScriptTheServerHoldsBackPausesOnlyThePage) {
    serve("page.html", R"H(<script>var order = ['first']; setTimeout(function () { order.push('timer'); }, 100);</script>
<script src="held.js"></script><script>order.push('after');</script>)H");
    serve("held.js", "order.push('held');");
    startServer();
    server->setPathFault("/held.js", Fault::delay());
    loadURL(base() + "page.html");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return server->heldCount() == 1; }, 20));
    // The main thread keeps turning: its queue and the page's timers run.
    bool posted = false;
    RunLoop::main().post([&] { posted = true; });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return posted; }, 5));
    RunLoop::main().advance(1);
    EXPECT_EQ(eval("order.join(',')"), "first,timer");
    EXPECT_TRUE(sel::isLoading(view.get()));
    server->releaseDelayed();
    waitForFinish();
    EXPECT_EQ(eval("order.join(',')"), "first,timer,held,after");
}

// The view's bitmap: the page's pixels over its background.
class RealPageBitmap : public RealWebView {
protected:
    struct Pixels {
        std::vector<std::uint8_t> rgba;
        int width = 0, height = 0;
        webkit::Rgba8 at(int x, int y) const {
            const std::uint8_t* p = &rgba[static_cast<std::size_t>((y * width + x) * 4)];
            return {p[0], p[1], p[2], p[3]};
        }
        int count(webkit::Rgba8 c) const {
            int n = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) n += at(x, y) == c;
            return n;
        }
    };
    Pixels render(const std::string& html) {
        loadHTML(html, "http://ads.test/page.html");
        RunLoop::main().advance(0);
        Pixels pixels;
        pixels.width = 100;
        pixels.height = 60;
        sel::setFrame_(view.get(), Rect(0, 0, pixels.width, pixels.height));
        CGContextRef context = CGBitmapContextCreate(nullptr, 100, 60, 8, 0, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaPremultipliedLast);
        // Into UIKit's space, top row first, as the platform's callers flip it.
        CGContextTranslateCTM(context, 0, pixels.height);
        CGContextScaleCTM(context, 1, -1);
        sel::renderInContext_(sel::layer(view.get()).get(), context.get());
        auto* data = static_cast<std::uint8_t*>(CGBitmapContextGetData(context));
        pixels.rgba.assign(data, data + 100 * 60 * 4);
        return pixels;
    }
    static constexpr webkit::Rgba8 kRed{255, 0, 0, 255};
    static constexpr webkit::Rgba8 kWhite{255, 255, 255, 255};
};

TEST_F(RealPageBitmap, APositionedColouredDivFillsExactlyItsRectangle) {
    Pixels p = render(R"H(<body style="background:white">
<div style="position:absolute; left:10px; top:5px; width:20px; height:15px; background-color:red"></div></body>)H");
    EXPECT_EQ(p.count(kRed), 20 * 15);
    EXPECT_EQ(p.at(10, 5), kRed);
    EXPECT_EQ(p.at(29, 19), kRed);
    EXPECT_EQ(p.at(9, 5), kWhite);
    EXPECT_EQ(p.at(30, 19), kWhite);
    EXPECT_EQ(p.at(29, 20), kWhite);
}

TEST_F(RealPageBitmap, TextAndImagesPaintAndHiddenContentDoesNot) {
    struct Case {
        const char* name;
        const char* body;
        bool painted;
    };
    const Case cases[] = {
        {"text", "<p style=\"color:red\">Hello</p>", true},
        {"an image", "<img src=\"x.png\" width=\"40\" height=\"20\">", true},
        {"display:none", "<div style=\"display:none\"><p style=\"color:red\">Hello</p><img width=\"9\" height=\"9\"></div>", false},
        {"visibility:hidden", "<p style=\"visibility:hidden; background:red\">Hello</p>", false},
        {"hidden by a script", "<p id=\"p\" style=\"background:red\">x</p><script>document.getElementById('p').style.display = 'none';</script>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pixels p = render(std::string("<body style=\"background:#ffffff\">") + c.body + "</body>");
        EXPECT_EQ(p.count(kWhite) < p.width * p.height, c.painted);
    }
}

}  // namespace
}  // namespace platform

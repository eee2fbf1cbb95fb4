#include "platform/webkit/real_page_engine.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"

namespace platform::webkit {
namespace {

// A host that writes down what the page asks of it. Subresources answer from
// a table after their delay on the virtual clock; navigations are refused
// unless a test allows them; timers run on the main run loop.
class RecordingHost : public PageHost {
public:
    struct Resource {
        std::string body;
        long status = 200;
        double delay = 0;
        bool held = false;  // answers only when released
    };

    std::vector<std::string> events;  // "navigate 5 main http://...", "finish", "load GET http://..."
    std::vector<Navigation> navigations;
    std::vector<Ref<NSURLRequest>> loads;
    std::map<std::string, Resource> resources;
    bool allowNavigations = false;  // of http(s) URLs
    std::string frameBody = "<html><body>frame</body></html>";
    Size size{320, 50};

    bool navigate(const Navigation& navigation, std::function<void(const LoadResult&)> frameLoaded) override {
        const NSURLRequest* r = navigation.request.get();
        events.push_back("navigate " + std::to_string(navigation.type) + (navigation.mainFrame ? " main " : " frame ") +
                         r->HTTPMethod() + " " + r->URL()->absoluteString());
        navigations.push_back(navigation);
        bool allowed = allowNavigations && r->URL()->scheme().rfind("http", 0) == 0;
        if (allowed && !navigation.mainFrame && frameLoaded) {
            Ref<NSURL> url = r->URL();
            std::string body = frameBody;
            RunLoop::main().schedule(0, [frameLoaded, url, body] {
                LoadResult result;
                result.response = NSHTTPURLResponse::make(url.get(), 200, {});
                result.body = Data(body.begin(), body.end());
                frameLoaded(result);
            });
        }
        return allowed;
    }
    void pageFinishedLoading() override { events.push_back("finish"); }
    void pageFailedLoading(NSError*) override { events.push_back("fail"); }

    LoadId loadSubresource(NSURLRequest* request, std::function<void(const LoadResult&)> done) override {
        std::string url = request->URL()->absoluteString();
        events.push_back("load " + url);
        loads.push_back(Ref<NSURLRequest>(request));
        LoadId id = nextLoad_++;
        auto it = resources.find(url);
        Ref<NSURL> nsurl(request->URL());
        auto answer = [this, id, done, nsurl](Resource resource) {
            if (!live_.erase(id)) return;
            LoadResult result;
            if (resource.status == 0) {
                result.error = NSError::errorWithDomain("NSURLErrorDomain", -1004);
            } else {
                result.response = NSHTTPURLResponse::make(nsurl.get(), resource.status, {});
                result.body = Data(resource.body.begin(), resource.body.end());
            }
            done(result);
        };
        live_.insert(id);
        Resource resource = it != resources.end() ? it->second : Resource{"", 404};
        if (resource.held) {
            held_.push_back([answer, resource] { answer(resource); });
        } else {
            RunLoop::main().schedule(resource.delay, [answer, resource] { answer(resource); });
        }
        return id;
    }
    void cancelSubresource(LoadId load) override { live_.erase(load); }

    TimerId scheduleTimer(double seconds, std::function<void()> fire) override {
        return RunLoop::main().schedule(seconds, std::move(fire));
    }
    void cancelTimer(TimerId timer) override { RunLoop::main().cancel(timer); }
    std::string userAgent() const override { return "Mozilla/5.0 (iPhone; Test)"; }
    Size viewSize() const override { return size; }

    void releaseHeld() {
        auto held = std::move(held_);
        held_.clear();
        for (auto& answer : held) RunLoop::main().schedule(0, answer);
    }

private:
    LoadId nextLoad_ = 1;
    std::set<LoadId> live_;
    std::vector<std::function<void()>> held_;
};

class RealPages : public ::testing::Test {
protected:
    void load(const std::string& html, const std::string& url = "http://ads.test/page.html") {
        engine.loadDocument(html, NSURL::URLWithString(url).get());
    }
    std::string eval(const std::string& script) { return engine.evaluateScript(script).text; }
    void turn(double seconds = 0) { RunLoop::main().advance(seconds); }
    std::vector<std::string> logLines(const std::string& prefix) {
        std::vector<std::string> out;
        for (auto& line : log::lines())
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }

    testing::TestEnvironment env;
    RecordingHost host;
    RealPageEngine engine{host};
};

TEST_F(RealPages, ScriptsRunInDocumentOrderAndSeeThePageParsedSoFar) {
    host.resources["http://ads.test/lib.js"] = {"order.push('external:' + document.getElementsByTagName('p').length);"};
    load(R"H(<html><head><script>var order = ['head:' + (document.body === null)];</script></head>
<body><p>one</p><script>order.push('inline:' + document.getElementsByTagName('p').length);</script>
<script src="lib.js"></script><p>two</p><script>order.push('last:' + document.getElementsByTagName('p').length);</script>
</body></html>)H");
    turn();
    EXPECT_EQ(eval("order.join(',')"), "head:true,inline:1,external:1,last:2");
    EXPECT_EQ(host.events, (std::vector<std::string>{"load http://ads.test/lib.js", "finish"}));
    // The script's load names the page it belongs to.
    ASSERT_EQ(host.loads.size(), 1u);
    ASSERT_TRUE(host.loads[0]->mainDocumentURL());
    EXPECT_EQ(host.loads[0]->mainDocumentURL()->absoluteString(), "http://ads.test/page.html");
}

TEST_F(RealPages, AHeldBackScriptPausesTheParseWhileTheRunLoopKeepsTurning) {
    host.resources["http://ads.test/slow.js"] = {"order.push('slow');", 200, 0, true};
    load(R"H(<script>var order = ['first']; setTimeout(function () { order.push('timer'); }, 100);</script>
<script src="slow.js"></script><script>order.push('after');</script>)H");
    turn(5);
    // The timer of the first script ran while the parse waited.
    EXPECT_EQ(eval("order.join(',')"), "first,timer");
    EXPECT_EQ(eval("document.readyState"), "loading");
    host.releaseHeld();
    turn();
    EXPECT_EQ(eval("order.join(',')"), "first,timer,slow,after");
    EXPECT_EQ(eval("document.readyState"), "complete");
    EXPECT_EQ(host.events.back(), "finish");
}

TEST_F(RealPages, AScriptThatFailsToLoadIsSkippedAndTheParseGoesOn) {
    load(R"H(<script>var order = [];</script><script src="missing.js" onerror="order.push('error')"></script>
<script>order.push('after');</script>)H");
    turn();
    EXPECT_EQ(eval("order.join(',')"), "error,after");
    EXPECT_TRUE(log::contains("Failed to load resource: http://ads.test/missing.js"));
}

TEST_F(RealPages, AScriptErrorIsLoggedWithItsLineAndEndsOnlyThatScript) {
    load("<html><body>\n<script>\nvar a = 1;\nundefinedFunction();\na = 2;\n</script>\n<script>var b = a + 1;</script>\n"
         "</body></html>");
    turn();
    EXPECT_EQ(eval("a + ',' + b"), "1,2");
    auto errors = logLines("JavaScript error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("at line 4 of http://ads.test/page.html"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("ReferenceError"), std::string::npos) << errors[0];
}

TEST_F(RealPages, EvaluatedScriptsAnswerTheirValueAsText) {
    load("<p>x</p>");
    struct Case {
        const char* script;
        const char* text;
        bool error;
    };
    const Case cases[] = {
        {"'a' + 'b'", "ab", false},
        {"1 + 2", "3", false},
        {"0.5", "0.5", false},
        {"1 === 1", "true", false},
        {"undefined", "", false},
        {"null", "", false},
        {"({a: 1})", "", false},
        {"var x = 7; x", "7", false},
        {"throw new Error('no')", "", true},
        {"this is not JavaScript", "", true},
    };
    for (const Case& c : cases) {
        ScriptResult r = engine.evaluateScript(c.script);
        EXPECT_EQ(r.text, c.text) << c.script;
        EXPECT_EQ(r.error, c.error) << c.script;
    }
}

TEST_F(RealPages, OnlyTheLastLocationAssignmentOfATurnIsAskedOnTheNextTurn) {
    load("<p>x</p>");
    turn();
    host.events.clear();
    eval("location.href = 'pmsg://sdk/first'; window.location = 'pmsg://sdk/second';");
    EXPECT_TRUE(host.events.empty()) << "asked inside the script's turn";
    turn();
    EXPECT_EQ(host.events, (std::vector<std::string>{"navigate 5 main GET pmsg://sdk/second"}));
    // Refused: nothing changed in the page.
    EXPECT_EQ(eval("location.href"), "http://ads.test/page.html");
}

TEST_F(RealPages, NavigationsFromTimersLinksFormsAndFrames) {
    load(R"H(<a id="link" href="landing.html?x=1">go</a>
<form id="form" method="post" action="http://ads.test/submit"><input name="q" value="a b"><input type="checkbox" name="c">
<button id="send">send</button></form>
<script>setTimeout(function () { location.assign('pmsg://sdk/timer'); }, 250);</script>)H");
    turn();
    host.events.clear();
    turn(0.3);
    eval("document.getElementById('link').click()");
    turn();
    eval("document.getElementById('send').click()");
    turn();
    eval("var f = document.createElement('iframe'); f.src = 'pmsg://sdk/frame'; document.body.appendChild(f);");
    turn();
    EXPECT_EQ(host.events, (std::vector<std::string>{
                               "navigate 5 main GET pmsg://sdk/timer",
                               "navigate 0 main GET http://ads.test/landing.html?x=1",
                               "navigate 1 main POST http://ads.test/submit",
                               "navigate 5 frame GET pmsg://sdk/frame",
                           }));
    const Data& body = host.navigations[2].request->HTTPBody();
    EXPECT_EQ(std::string(body.begin(), body.end()), "q=a+b");
}

TEST_F(RealPages, AClickThatIsPreventedOrRunsJavaScriptNavigatesNowhere) {
    load(R"H(<a id="a" href="http://ads.test/x">a</a><a id="b" href="javascript:window.hit = 1">b</a>
<script>document.getElementById('a').onclick = function (e) { e.preventDefault(); };</script>)H");
    turn();
    host.events.clear();
    eval("document.getElementById('a').click(); document.getElementById('b').click();");
    turn();
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(eval("window.hit"), "1");
}

TEST_F(RealPages, AnAllowedFrameRunsItsPageAndTheWindowLoadWaitsForIt) {
    host.allowNavigations = true;
    host.frameBody = "<script>console.log('frame ' + innerWidth); location.href = 'pmsg://sdk/fromFrame';</script>";
    load(R"H(<iframe id="f" src="http://ads.test/frame.html" width="120" onload="window.frameLoaded = 1"></iframe>
<script>window.addEventListener('load', function () { window.order = 'load after frame ' + !!window.frameLoaded; });</script>)H");
    turn();
    EXPECT_EQ(host.events, (std::vector<std::string>{"navigate 5 frame GET http://ads.test/frame.html",
                                                     "navigate 5 frame GET pmsg://sdk/fromFrame", "finish"}));
    EXPECT_TRUE(log::contains("console.log: frame 120"));
    EXPECT_EQ(eval("window.order"), "load after frame true");
}

TEST_F(RealPages, EventsRunInTheirOrder) {
    load(R"H(<div id="outer"><span id="inner">x</span></div>
<script>
var seen = [];
document.addEventListener('DOMContentLoaded', function () { seen.push('ready:' + document.readyState); });
window.addEventListener('load', function () { seen.push('load:' + document.readyState); });
window.onload = function () { seen.push('onload'); };
var outer = document.getElementById('outer'), inner = document.getElementById('inner');
outer.addEventListener('click', function (e) { seen.push('capture:' + e.target.id); }, true);
outer.addEventListener('click', function (e) { seen.push('bubble:' + e.currentTarget.id); });
inner.onclick = function () { seen.push('inner'); };
document.body.addEventListener('click', function (e) { seen.push('body'); e.stopPropagation(); });
document.addEventListener('click', function () { seen.push('document'); });
</script>)H");
    turn();
    eval("inner.click()");
    eval("var e = document.createEvent('Events'); e.initEvent('custom', true, false); inner.addEventListener('custom',"
         " function h() { seen.push('custom'); inner.removeEventListener('custom', h); }); inner.dispatchEvent(e);"
         " inner.dispatchEvent(e);");
    EXPECT_EQ(eval("seen.join(',')"),
              "ready:interactive,onload,load:complete,capture:inner,inner,bubble:outer,body,custom");
}

TEST_F(RealPages, TheDocumentObjectModelCreativesUse) {
    load(R"H(<html><head><title> The  ad </title></head><body>
<div id="ad" class="banner big" data-x="1"><p class="line">one</p><p class="line">two</p><img src="a.png" alt="pic"></div>
<ul><li>a</li><li id="b">b</li></ul></body></html>)H");
    turn();
    struct Case {
        const char* script;
        const char* result;
    };
    const Case cases[] = {
        {"document.title", "The ad"},
        {"document.getElementById('ad').tagName", "DIV"},
        {"document.getElementById('none')", ""},
        {"document.getElementsByTagName('p').length", "2"},
        {"document.getElementsByClassName('line')[1].textContent", "two"},
        {"document.getElementsByClassName('banner big').length", "1"},
        {"document.querySelector('#ad .line').textContent", "one"},
        {"document.querySelectorAll('div > p.line').length", "2"},
        {"document.querySelector('[data-x=\"1\"]').id", "ad"},
        {"document.querySelector('img[alt]').src", "http://ads.test/a.png"},
        {"document.querySelector('li + li').id", "b"},
        {"document.querySelectorAll('p, li').length", "4"},
        {"document.querySelector('ul li:last-child').textContent", "b"},
        {"document.body.firstElementChild.id", "ad"},
        {"document.head.firstChild.nodeName", "TITLE"},
        {"var d = document.createElement('div'); d.id = 'n'; d.appendChild(document.createTextNode('t'));"
         " document.body.appendChild(d); document.getElementById('n').outerHTML",
         "<div id=\"n\">t</div>"},
        {"var l = document.createElement('li'); l.textContent = '0'; var ul = document.querySelector('ul');"
         " ul.insertBefore(l, ul.firstChild); ul.textContent",
         "0ab"},
        {"ul.removeChild(document.getElementById('b')); ul.innerHTML", "<li>0</li><li>a</li>"},
        {"ul.innerHTML = '<li class=\"x\">&amp; <b>bold</b></li><script>window.ran = 1</script>';"
         " ul.querySelector('b').textContent + ':' + ul.children.length + ':' + window.ran",
         "bold:2:undefined"},
        {"ul.firstChild.outerHTML = '<li>new</li>'; ul.innerHTML",
         "<li>new</li><script>window.ran = 1</script>"},
        {"var ad = document.getElementById('ad'); ad.setAttribute('title', 'T'); ad.getAttribute('title') + ad.title",
         "TT"},
        {"ad.className", "banner big"},
        {"ad.style.backgroundColor = 'red'; ad.style.width = '10px'; ad.getAttribute('style')",
         "background-color: red; width: 10px;"},
        {"ad.setAttribute('style', 'display:none; margin-top: 2px'); ad.style.display + ad.style.marginTop",
         "none2px"},
        {"document.cookie = 'a=1'; document.cookie", "a=1"},
        {"document.readyState", "complete"},
        {"document.createElement('a').href = 'x'", "x"},
        {"var a = document.createElement('a'); a.href = 'x.html'; a.href", "http://ads.test/x.html"},
        {"a.href = ' \\n y.html '; a.href", "http://ads.test/y.html"},
        {"document.body.contains(ad) + ':' + ad.parentNode.nodeName", "true:BODY"},
        {"try { document.querySelector('a::weird(') } catch (e) { e.name }", "SyntaxError"},
        // The web view's own orientation script.
        {"window.__defineGetter__('orientation',function(){return 90;});(function(){var event = "
         "document.createEvent('Events');event.initEvent('orientationchange', true, false);"
         "window.addEventListener('orientationchange', function (e) { window.turned = e.type + window.orientation; });"
         "window.dispatchEvent(event);})(); window.turned",
         "orientationchange90"},
    };
    for (const Case& c : cases) EXPECT_EQ(eval(c.script), c.result) << c.script;
}

TEST_F(RealPages, WindowGivesTheViewAndTheAgent) {
    host.size = {300, 250};
    load("<script>console.log('size', innerWidth, innerHeight, navigator.userAgent, {a: 1});</script>");
    turn();
    EXPECT_TRUE(log::contains("console.log: size 300 250 Mozilla/5.0 (iPhone; Test) {\"a\":1}"));
    EXPECT_EQ(eval("window === self && window.document === document && top === window"), "true");
    EXPECT_EQ(eval("location.protocol + '//' + location.host + location.pathname"), "http://ads.test/page.html");
}

TEST_F(RealPages, TimersRunOnTheVirtualClock) {
    load(R"H(<script>
var ticks = [];
var count = 0;
var interval = setInterval(function () { ticks.push('i' + Date.now() % 100000); if (++count === 3) clearInterval(interval); }, 1000);
setTimeout(function (a, b) { ticks.push('t' + a + b); }, 1500, 'x', 'y');
var cancelled = setTimeout(function () { ticks.push('never'); }, 500);
clearTimeout(cancelled);
var start = Date.now() % 100000;
</script>)H");
    turn(0.999);
    EXPECT_EQ(eval("ticks.length"), "0");
    turn(10);
    double start = std::stod(eval("start"));
    auto at = [&](double ms) { return std::to_string(static_cast<long>(start + ms)); };
    EXPECT_EQ(eval("ticks.join(',')"), "i" + at(1000) + ",tx" + "y,i" + at(2000) + ",i" + at(3000));
}

TEST_F(RealPages, AnEndlessLoopIsStoppedByTheBudgetAndThePageStaysUsable) {
    load(R"H(<script>window.before = 1;</script><script>while (true) {}</script><script>window.after = 2;</script>)H");
    turn();
    EXPECT_EQ(eval("before + after"), "3");
    auto errors = logLines("JavaScript error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("RangeError"), std::string::npos) << errors[0];

    // A loop that swallows errors is stopped too, from a timer and when evaluated.
    eval("setTimeout(function () { for (;;) { try { for (;;) {} } catch (e) {} } }, 10)");
    turn(1);
    ScriptResult r = engine.evaluateScript("for (;;) { try { while (1) {} } catch (e) {} }");
    EXPECT_TRUE(r.error);
    EXPECT_EQ(eval("document.getElementsByTagName('script').length"), "3");
    EXPECT_EQ(logLines("JavaScript error").size(), 3u);
}

TEST_F(RealPages, APageThatAllocatesWithoutEndIsStoppedByTheMemoryLimit) {
    RealPageEngine small(host, PageLimits{8u << 20, 4'000'000'000});
    small.loadDocument("<script>var keep = []; while (true) keep.push('xxxxxxxxxxxxxxxx' + keep.length);</script>",
                       NSURL::URLWithString("http://ads.test/").get());
    turn();
    EXPECT_EQ(logLines("JavaScript error").size(), 1u);
    EXPECT_EQ(small.evaluateScript("keep = null; 'usable'").text, "usable");
}

TEST_F(RealPages, VisibleContentComesFromTheDomAndItsStyles) {
    load(R"H(<body style="background-color:#ffffff">
<div id="box" style="position:absolute; left:10px; top:20px; width:30px; height:40px; background:#cf222e">Hi <b>there</b></div>
<p style="color: rgb(0, 0, 255)">text</p>
<img src="data.png" width="16" height="8">
<div style="display:none"><p>gone</p></div>
<div style="visibility:hidden"><span style="visibility:visible">shown</span></div>
<script>document.body.appendChild(document.createElement('span')).textContent = 'late';</script>
loose text
</body>)H");
    turn();
    PageContent content = engine.visibleContent();
    ASSERT_TRUE(content.background);
    EXPECT_EQ(*content.background, (Rgba8{255, 255, 255, 255}));
    ASSERT_EQ(content.elements.size(), 7u);
    const VisibleElement& box = content.elements[0];
    EXPECT_EQ(box.tag, "div");
    EXPECT_TRUE(box.absolute);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.width, 30);
    EXPECT_EQ(box.height, 40);
    EXPECT_EQ(box.background, (Rgba8{0xcf, 0x22, 0x2e, 255}));
    EXPECT_EQ(box.text, "Hi");
    ASSERT_EQ(box.children.size(), 1u);
    EXPECT_EQ(box.children[0].text, "there");
    EXPECT_EQ(content.elements[1].color, (Rgba8{0, 0, 255, 255}));
    EXPECT_TRUE(content.elements[2].image);
    EXPECT_EQ(content.elements[2].imageWidth, 16);
    EXPECT_EQ(content.elements[2].imageHeight, 8);
    EXPECT_TRUE(content.elements[3].displayNone);
    EXPECT_TRUE(content.elements[4].visibilityHidden);
    ASSERT_EQ(content.elements[4].children.size(), 1u);
    EXPECT_FALSE(content.elements[4].children[0].visibilityHidden);
    EXPECT_EQ(content.elements[5].text, "late");
    EXPECT_EQ(content.elements[6].tag, "");
    EXPECT_EQ(content.elements[6].text, "loose text");
}

TEST_F(RealPages, DeeplyNestedMarkupIsLaidSideBySidePastTheParsersDepth) {
    std::string nested;
    for (int i = 0; i < 2000; ++i) nested += "<div>";
    load(nested + "deep");
    turn();
    EXPECT_EQ(eval("document.getElementsByTagName('div').length"), "2000");
    std::string depth = eval("var n = document.body, depth = 0; while (n.firstElementChild) { n = n.firstElementChild; depth++; } depth");
    EXPECT_GT(std::stoi(depth), 500);
    EXPECT_LT(std::stoi(depth), 520);
    EXPECT_EQ(eval("var s = ''; for (var i = 0; i < 2000; i++) s += '<span>'; var d = document.createElement('div');"
                   " d.innerHTML = s; d.getElementsByTagName('span').length"),
              "2000");
    EXPECT_FALSE(engine.visibleContent().elements.empty());
    EXPECT_TRUE(logLines("JavaScript error").empty());
}

TEST_F(RealPages, ANewDocumentDropsTheOldOnesTimersAndLoads) {
    host.resources["http://ads.test/slow.js"] = {"", 200, 0, true};
    load("<script>setTimeout(function () { location.href = 'pmsg://old'; }, 100);</script><script src=\"slow.js\"></script>");
    load("<p>new</p>");
    host.releaseHeld();
    turn(1);
    EXPECT_EQ(host.events, (std::vector<std::string>{"load http://ads.test/slow.js", "finish"}));
}

TEST_F(RealPages, StopEndsTheLoadWithoutAFinish) {
    host.resources["http://ads.test/slow.js"] = {"", 200, 0, true};
    load("<script src=\"slow.js\"></script><script>window.after = 1;</script>");
    engine.stop();
    host.releaseHeld();
    turn(1);
    EXPECT_EQ(host.events, (std::vector<std::string>{"load http://ads.test/slow.js"}));
    EXPECT_EQ(eval("window.after"), "");
}

}  // namespace
}  // namespace platform::webkit

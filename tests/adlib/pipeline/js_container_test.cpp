// The script container on the scripted transport and page engine: its remote
// load and fallback, the scripts that wait for a page, what its delegate hears
// and decides, and letting go of its web view; also scripts from another
// thread while the main thread finishes the load.
#include "adlib/pipeline/js_container.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/network/url.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

constexpr const char* kRemote = "http://127.0.0.1:47800/container.html";
constexpr const char* kFallback = "<html><body>fallback page</body></html>";

// A web view that records how each page given as bytes was handed to it.
class RecordingWebView : public UIWebView {
public:
    struct DataLoad {
        std::string text, mimeType, encoding, baseURL;
    };
    std::vector<DataLoad> dataLoads;
};

// The container's delegate: one line per call; refuses navigations when told to.
class ContainerDelegate : public NSObject {
public:
    std::vector<std::string> calls;
    bool allow = true;
    // Scripts evaluated when the finish was told.
    std::size_t evaluatedAtFinish = 0;
};

void registerTestClasses() {
    ClassBuilder<RecordingWebView>("TestRecordingWebView", "UIWebView")
        .method(sel::loadData_MIMEType_textEncodingName_baseURL_, [](id self, Value data, Value mimeType, Value encoding, id baseURL) {
            auto* view = as<RecordingWebView>(self);
            const Data& bytes = data.data();
            std::string text(bytes.begin(), bytes.end());
            auto* url = as<NSURL>(baseURL);
            view->dataLoads.push_back({text, mimeType.stringOr("-"), encoding.stringOr("-"), url ? url->absoluteString() : "-"});
            view->loadHTMLString(text, url);
        });
    ClassBuilder<ContainerDelegate>("TestContainerDelegate", "NSObject")
        .method(sel::didStartLoadInJSContainer_, [](id self, id) { as<ContainerDelegate>(self)->calls.push_back("start"); })
        .method(sel::didFinishLoadInJSContainer_,
                [](id self, id) {
                    auto* d = as<ContainerDelegate>(self);
                    d->calls.push_back("finish");
                    d->evaluatedAtFinish = webkit::ScriptedPages::shared().evaluated().size();
                })
        .method(sel::container_shouldStartLoadWithRequest_navigationType_, [](id self, id, id request, long long type) {
            auto* d = as<ContainerDelegate>(self);
            d->calls.push_back(format("should %@ %d", as<NSURLRequest>(request)->URL()->absoluteString(), type));
            return d->allow;
        });
}

class JSContainerTest : public ::testing::Test {
protected:
    JSContainerTest() {
        registerTestClasses();
        network::setTransport(transport);
    }

    // A container over a recording web view; the remote page answers as scripted.
    void make(ScriptedTransport::Script remote = ScriptedTransport::Script::body({"<html>remote page</html>"})) {
        transport->answer(kRemote, std::move(remote));
        view = UIView::make<RecordingWebView>("TestRecordingWebView", Rect());
        Ref<NSURL> url = NSURL::URLWithString(kRemote);
        const std::string fallback = kFallback;
        Ref<Object> made = sel::initWithURL_fallbackData_webView_(alloc("YBXJSContainer"), url.get(),
                                                                 Value(Data(fallback.begin(), fallback.end())), view.get());
        container = Ref<YBXJSContainer>(as<YBXJSContainer>(made.get()));
        delegate = as<ContainerDelegate>(newObject("TestContainerDelegate").get());
        container->setDelegate(delegate.get());
    }
    bool navigate(const std::string& url, long long type = UIWebViewNavigationTypeLinkClicked) {
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get());
        return sel::webView_shouldStartLoadWithRequest_navigationType_(container.get(), view.get(), request.get(), type);
    }
    std::vector<std::string> evaluated() const { return pages.evaluated(); }
    std::size_t remoteLoads() const {
        std::size_t n = 0;
        for (const std::string& entry : transport->log()) n += entry == std::string("GET ") + kRemote;
        return n;
    }

    testing::AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    webkit::ScriptedPages& pages = webkit::ScriptedPages::shared();
    Ref<RecordingWebView> view;
    Ref<YBXJSContainer> container;
    Ref<ContainerDelegate> delegate;
};

TEST_F(JSContainerTest, LoadsTheRemotePageHiddenWithTheProtocolsPolicyAndAFiveSecondTimeOut) {
    transport->answer(kRemote, ScriptedTransport::Script::body({"<html>remote page</html>"}));
    Ref<Object> own = sel::initWithURL_fallbackData_(alloc("YBXJSContainer"), NSURL::URLWithString(kRemote).get(), Value(Data()));
    Ref<Object> ownView = sel::webView(own.get());
    ASSERT_TRUE(dynamic_cast<UIWebView*>(ownView.get()));
    EXPECT_TRUE(sel::isHidden(ownView.get()));
    EXPECT_EQ(sel::frame(ownView.get()), Rect());
    EXPECT_EQ(sel::delegate(ownView.get()).get(), own.get());
    own = nullptr;

    make();
    EXPECT_TRUE(sel::isHidden(view.get()));
    EXPECT_EQ(sel::delegate(view.get()).get(), container.get());
    EXPECT_TRUE(container->initialLoadSequence());
    EXPECT_FALSE(container->loaded());
    platform::testing::advance(1);
    ASSERT_FALSE(transport->requests().empty());
    for (const Ref<NSURLRequest>& request : transport->requests()) {
        EXPECT_EQ(request->URL()->absoluteString(), kRemote);
        EXPECT_EQ(request->cachePolicy(), NSURLRequestUseProtocolCachePolicy);
        EXPECT_EQ(request->timeoutInterval(), 5.0);
    }
    EXPECT_TRUE(container->loaded());
    EXPECT_FALSE(container->initialLoadSequence());
    EXPECT_TRUE(view->dataLoads.empty());
    // The container's own load is not reported as a start; its end is.
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"finish"}));
}

TEST_F(JSContainerTest, ScriptsWaitForTheLoadAndRunInOrderBeforeTheFinishIsTold) {
    make();
    for (const char* script : {"a()", "b()", "c()"}) EXPECT_FALSE(container->invokeJavaScriptFromString(script)) << script;
    EXPECT_EQ(container->pendingExpressions(), (Value(Value::Array{Value("a()"), Value("b()"), Value("c()")})));
    EXPECT_TRUE(evaluated().empty());
    platform::testing::advance(1);
    EXPECT_EQ(evaluated(), (std::vector<std::string>{"a()", "b()", "c()"}));
    EXPECT_EQ(delegate->evaluatedAtFinish, 3u);
    EXPECT_EQ(container->pendingExpressions().count(), 0u);
    // Once loaded a script runs at once.
    EXPECT_TRUE(container->invokeJavaScriptFromString("d()"));
    EXPECT_EQ(evaluated().back(), "d()");
    // Evaluating answers the page's result, loaded or not.
    pages.whenEvaluated("answer()", webkit::PageScript().answering("42"));
    EXPECT_EQ(container->stringByEvaluatingJavaScriptFromString("answer()"), "42");
}

TEST_F(JSContainerTest, AFailedRemoteLoadFallsBackOnceAndQueuedScriptsRunAgainstTheFallback) {
    struct Case {
        const char* name;
        ScriptedTransport::Script remote;
        double before;  // virtual seconds in which nothing may fall back yet
    };
    ScriptedTransport::Script slow = ScriptedTransport::Script::body({"<html>late</html>"});
    slow.delay = 30;
    ScriptedTransport::Script silent;
    silent.neverAnswers = true;
    const std::vector<Case> cases = {
        {"unreachable", ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost), 0},
        {"slower than the time-out", slow, 4.9},
        {"never answers", silent, 4.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        make(c.remote);
        EXPECT_FALSE(container->invokeJavaScriptFromString("queued()"));
        if (c.before > 0) {
            platform::testing::advance(c.before);
            EXPECT_TRUE(view->dataLoads.empty());
            EXPECT_TRUE(container->initialLoadSequence());
        }
        platform::testing::advance(1);
        ASSERT_EQ(view->dataLoads.size(), 1u);
        EXPECT_EQ(view->dataLoads[0].text, kFallback);
        EXPECT_EQ(view->dataLoads[0].mimeType, "text/html");
        EXPECT_EQ(view->dataLoads[0].encoding, "UTF-8");
        EXPECT_EQ(view->dataLoads[0].baseURL, kRemote);
        EXPECT_TRUE(container->loaded());
        EXPECT_EQ(evaluated().back(), "queued()");
        // Later failures load nothing more, and the remote page is not tried again.
        sel::webView_didFailLoadWithError_(container.get(), view.get(), nullptr);
        platform::testing::advance(40);
        EXPECT_EQ(view->dataLoads.size(), 1u);
        EXPECT_EQ(remoteLoads(), 1u);
        container = nullptr;
        transport = std::make_shared<ScriptedTransport>();
        network::setTransport(transport);
    }
}

TEST_F(JSContainerTest, AFailingFallbackIsNotLoadedAgain) {
    pages.whenLoaded("fallback page", webkit::PageScript().fail(NSURLErrorCannotDecodeContentData));
    make(ScriptedTransport::Script::failure(NSURLErrorNotConnectedToInternet));
    EXPECT_FALSE(container->invokeJavaScriptFromString("queued()"));
    platform::testing::advance(10);
    EXPECT_EQ(view->dataLoads.size(), 1u);
    EXPECT_FALSE(container->loaded());
    EXPECT_TRUE(container->failureLoadSequence());
    EXPECT_TRUE(evaluated().empty());
    EXPECT_EQ(container->pendingExpressions().count(), 1u);
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(JSContainerTest, NavigationIsFreeDuringEitherSequenceAndTheDelegatesAfterwards) {
    struct Case {
        const char* name;
        enum { Initial, Failure, Loaded } phase;
        enum { Allows, Refuses, Silent, None } delegate;
        bool allowed;
        bool asked;
    };
    const std::vector<Case> cases = {
        {"initial, refusing delegate", Case::Initial, Case::Refuses, true, false},
        {"failure, refusing delegate", Case::Failure, Case::Refuses, true, false},
        {"loaded, refusing delegate", Case::Loaded, Case::Refuses, false, true},
        {"loaded, allowing delegate", Case::Loaded, Case::Allows, true, true},
        {"loaded, delegate without the method", Case::Loaded, Case::Silent, true, false},
        {"loaded, no delegate", Case::Loaded, Case::None, true, false},
    };
    // The fallback never ends: the failure sequence stays.
    pages.whenLoaded("fallback page", webkit::PageScript().neverEnd());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        make(c.phase == Case::Failure ? ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost)
                                      : ScriptedTransport::Script::body({"<html>remote page</html>"}));
        if (c.phase != Case::Initial) platform::testing::advance(1);
        ASSERT_EQ(container->loaded(), c.phase == Case::Loaded);
        delegate->allow = c.delegate == Case::Allows;
        Ref<Object> silent = newObject("NSObject");
        if (c.delegate == Case::Silent) container->setDelegate(silent.get());
        if (c.delegate == Case::None) container->setDelegate(nullptr);
        delegate->calls.clear();
        EXPECT_EQ(navigate("http://127.0.0.1:47800/next.html"), c.allowed);
        EXPECT_EQ(delegate->calls.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(delegate->calls[0], "should http://127.0.0.1:47800/next.html 0");
        }
        container = nullptr;
    }
}

TEST_F(JSContainerTest, StartsAreReportedOnlyAfterTheContainersOwnLoads) {
    make(ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));
    platform::testing::advance(1);  // remote failure, then the fallback
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"finish"}));
    delegate->calls.clear();
    transport->answer("http://127.0.0.1:47800/next.html", ScriptedTransport::Script::body({"<html>next</html>"}));
    sel::loadRequest_(view.get(), NSURLRequest::requestWithURL(NSURL::URLWithString("http://127.0.0.1:47800/next.html").get()).get());
    platform::testing::advance(1);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"should http://127.0.0.1:47800/next.html 5", "start", "finish"}));
}

TEST_F(JSContainerTest, LetsGoOfItsWebViewsDelegateWhenItGoes) {
    make();
    platform::testing::advance(1);
    // From the main thread at once.
    container = nullptr;
    EXPECT_FALSE(sel::delegate(view.get()));
    // From another thread: on the main queue, and the view goes there too.
    make();
    platform::testing::advance(1);
    Ref<RecordingWebView> held = view;
    view = nullptr;
    WeakRef<Object> weakView(held.get());
    held = nullptr;
    std::thread([c = std::move(container)]() mutable { c = nullptr; }).join();
    EXPECT_FALSE(weakView.expired());
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return weakView.expired(); }, 15.0));
}

TEST_F(JSContainerTest, ScriptsFromAnotherThreadWhileTheMainThreadFinishesKeepTheirOrder) {
    make();
    constexpr int kScripts = 200;
    std::atomic<bool> done{false};
    std::atomic<int> waited{0};
    std::thread reporter([&] {
        for (int i = 0; i < kScripts; ++i)
            if (!container->invokeJavaScriptFromString(format("report(%d)", i))) ++waited;
        done = true;
    });
    platform::testing::advance(1);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 15.0));
    reporter.join();
    std::vector<std::string> expected;
    for (int i = 0; i < kScripts; ++i) expected.push_back(format("report(%d)", i));
    EXPECT_EQ(evaluated(), expected);
    EXPECT_EQ(container->pendingExpressions().count(), 0u);
    EXPECT_EQ(delegate->evaluatedAtFinish, static_cast<std::size_t>(waited.load()));
}

}  // namespace
}  // namespace adlib

// The web view delegates: the navigation policy, message dispatch, the
// banner's click detection and load results over a real slot, the web app's
// "onshow" and the browser's counters. Opener and slot calls are read through
// runtime hooks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/render/web_app_view_controller.h"
#include "adlib/render/browser_view_controller.h"
#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/render/ad_url_stash.h"
#include "adlib/render/pmsg_handler.h"
#include "adlib/render/view_controller.h"
#include "adlib/render/web_view.h"
#include "adlib/render/web_view_delegate.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/network/url.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

std::vector<std::string>& calls() {
    static std::vector<std::string> log;
    return log;
}

std::string text(NSURL* url) { return url ? url->absoluteString() : "nil"; }

// Records a void(id) selector of a class, then runs the original.
template <const auto& S>
struct Recorded {
    static inline void (*previous)(id) = nullptr;
    static void install(const char* cls) {
        MSHookMessageEx(objc_getClass(cls), S, +[](id self) {
            calls().emplace_back(S.name);
            previous(self);
        }, &previous);
    }
};

void (*previousOpenApp)(id, NSURL*) = nullptr;
void (*previousMail)(id, NSURL*) = nullptr;
void (*previousSms)(id, NSURL*) = nullptr;
void (*previousBrowser)(id, NSURL*, long long) = nullptr;
void (*previousToolbar)(id, Value, Value) = nullptr;
void (*previousFail)(id, id, bool, bool) = nullptr;

void hookOpener() {
    Class* opener = objc_getClass("YBXOpener");
    MSHookMessageEx(opener, sel::openApp_, +[](id self, NSURL* url) { calls().push_back("openApp: " + text(url)); previousOpenApp(self, url); }, &previousOpenApp);
    MSHookMessageEx(opener, sel::openEmailComposer_, +[](id self, NSURL* url) { calls().push_back("mail: " + text(url)); previousMail(self, url); }, &previousMail);
    MSHookMessageEx(opener, sel::openSmsComposer_, +[](id self, NSURL* url) { calls().push_back("sms: " + text(url)); previousSms(self, url); }, &previousSms);
    MSHookMessageEx(opener, sel::openBrowserToURL_supportedOrientations_, +[](id self, NSURL* url, long long o) {
        calls().push_back("browser: " + text(url) + " " + std::to_string(o));
        previousBrowser(self, url, o);
    }, &previousBrowser);
    MSHookMessageEx(opener, sel::openPublisherToolbar_withAdContent_, +[](id self, Value unit, Value content) {
        calls().push_back("toolbar: " + (content.isString() ? content.string() : std::string("nil")));
        previousToolbar(self, unit, content);
    }, &previousToolbar);
}

void hookSlot() {
    for (const char* cls : {"YBXSlot"}) {
        Recorded<sel::didReceiveValidAd>::install(cls);
        Recorded<sel::didLoadAdHTMLInWebView>::install(cls);
        Recorded<sel::didLoadMRAIDAd>::install(cls);
        Recorded<sel::didMakeAdImpression>::install(cls);
        Recorded<sel::resetOptoraReporting>::install(cls);
        Recorded<sel::adFinishedLoadingContent>::install(cls);
        Recorded<sel::adWasClicked>::install(cls);
    }
    MSHookMessageEx(objc_getClass("YBXSlot"), sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_,
                    +[](id self, id error, bool reload, bool cancel) {
                        calls().push_back("didFail " + std::to_string(as<NSError>(error)->code()));
                        previousFail(self, error, reload, cancel);
                    },
                    &previousFail);
}

// A handler that records each message and answers as told.
class RecordingHandler : public YBXPMSGHandler {
public:
    std::string name;
    bool takes = false;
};

void registerRecordingHandler() {
    ClassBuilder<RecordingHandler>("TestDispatchHandler", "YBXPMSGHandler").method(sel::handleRequest_webView_, [](id self, id request, id) {
        auto* h = as<RecordingHandler>(self);
        calls().push_back(h->name + " " + text(as<NSURLRequest>(request)->URL()));
        return h->takes;
    });
    ClassBuilder<NSObject>("TestMRAIDSlot", "NSObject").method(sel::isMRAIDEnabled, [](id) { return true; });
}

Ref<NSMutableURLRequest> requestFor(std::string_view url, bool mainFrame = true) {
    Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url).get());
    request->setMainFrame(mainFrame);
    return request;
}

class DelegateTest : public ::testing::Test {
protected:
    DelegateTest() {
        testing::installSlotNeighbours();
        registerRecordingHandler();
        hookOpener();
        hookSlot();
        calls().clear();
        actionObserver = NSNotificationCenter::defaultCenter()->addObserverForName(kYBXDidReceiveWebAction, Value(), [this](NSNotification* n) {
            actions.push_back(n->userInfo());
        });
    }
    ~DelegateTest() override { NSNotificationCenter::defaultCenter()->removeObserver(actionObserver.get()); }

    bool decide(id delegate, std::string_view url, long long type, bool mainFrame = true) {
        return sel::webView_shouldStartLoadWithRequest_navigationType_(delegate, view.get(), requestFor(url, mainFrame).get(), type);
    }
    // Shows a page at the URL in the view, through the view's own policy.
    void show(std::string_view url) {
        transport->answer(std::string(url), ScriptedTransport::Script::body({"<p>page</p>"}));
        sel::loadRequest_(view.get(), requestFor(url).get());
        platform::testing::advance(0.1);
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = [] {
        auto t = std::make_shared<ScriptedTransport>();
        network::setTransport(t);
        return t;
    }();
    Ref<YBXWebView> view = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    Ref<Object> actionObserver;
    std::vector<Value> actions;
};

// --- the policy ----------------------------------------------------------------------------------

TEST_F(DelegateTest, TheNavigationPolicyTable) {
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    sel::setDelegate_(view.get(), delegate.get());
    show("http://ads.test/page");
    actions.clear();
    calls().clear();
    struct Case {
        const char* url;
        long long type;
        bool allowed;
        Value action;  // nil: none posted
        std::vector<std::string> opened;
    } cases[] = {
        {"publisherToolbar://toolbar", 5, false, Value(), {"toolbar: "}},
        {"pmsg://ad/open?a=1&u=2", 5, false, Value{{"u", "pmsg://ad/open?a=1&u=2"}, {"a", "open"}}, {}},
        {"pmsg://ad/", 5, false, Value{{"u", "pmsg://ad/"}}, {}},
        {"about:blank", 5, true, Value(), {}},
        {"http://ads.test/ab", 5, true, Value{{"u", "http://ads.test/ab"}}, {}},
        {"http://ads.test/", 5, true, Value(), {}},
        {"http://ads.test/page#more", 0, false, Value(), {}},
        {"http://ads.test/other#more", 0, true, Value{{"u", "http://ads.test/other#more"}}, {}},
        {"mailto:a@b.test", 0, false, Value{{"u", "mailto:a@b.test"}}, {"mail: mailto:a@b.test"}},
        {"sms:123", 0, false, Value{{"u", "sms:123"}}, {"sms: sms:123"}},
        {"tel:123", 0, false, Value{{"u", "tel:123"}}, {"openApp: tel:123"}},
        {"file:///tmp/x", 0, false, Value{{"u", "file:///tmp/x"}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        actions.clear();
        calls().clear();
        EXPECT_EQ(decide(delegate.get(), c.url, c.type), c.allowed);
        EXPECT_EQ(actions, c.action.isNil() ? std::vector<Value>{} : std::vector<Value>{c.action});
        EXPECT_EQ(calls(), c.opened);
    }
    EXPECT_FALSE(sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), view.get(), nullptr, 5));
    sel::setFileAccessAllowed_(delegate.get(), true);
    EXPECT_TRUE(decide(delegate.get(), "file:///tmp/x", 0));
    // The opener was pointed at the view and the navigation.
    Ref<Object> opener = sel::opener(delegate.get());
    EXPECT_EQ(sel::webView(opener.get()).get(), view.get());
    EXPECT_EQ(sel::navigationURL(opener.get()), Value("file:///tmp/x"));
}

TEST_F(DelegateTest, AnMRAIDCreativesLinksOpenTheInAppBrowser) {
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    Ref<Object> slot = newObject("TestMRAIDSlot");
    sel::setSlot_(sel::opener(delegate.get()).get(), slot.get());
    EXPECT_FALSE(decide(delegate.get(), "https://shop.test/p", 0));
    EXPECT_TRUE(decide(delegate.get(), "https://shop.test/p", 5));
    EXPECT_EQ(calls(), std::vector<std::string>{"browser: https://shop.test/p 1"});
}

TEST_F(DelegateTest, OnlyTheMainFramesPageIsStashed) {
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    sel::setDelegate_(view.get(), delegate.get());
    show("https://ads.test/page");
    EXPECT_EQ(YBXAdURLStash::viewForURL(NSURL::URLWithString("https://ads.test:80/page").get()).get(), view.get());
    EXPECT_TRUE(decide(delegate.get(), "https://ads.test/frame", 5, false));
    EXPECT_EQ(text(as<NSURL>(sel::URL(view.get()).get())), "https://ads.test/page");
    EXPECT_TRUE(decide(delegate.get(), "https://ads.test/next", 5, true));
    EXPECT_EQ(text(as<NSURL>(sel::URL(view.get()).get())), "https://ads.test/next");
    EXPECT_FALSE(YBXAdURLStash::viewForURL(NSURL::URLWithString("https://ads.test/page").get()));
}

// --- dispatch ------------------------------------------------------------------------------------

TEST_F(DelegateTest, EveryHandlerGetsEveryMessageInOrderThenTheUnhandledOneIsPosted) {
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    for (const char* name : {"first", "second"}) {
        Ref<Object> handler = newObject("TestDispatchHandler");
        as<RecordingHandler>(handler.get())->name = name;
        sel::addPMSGHandler_(delegate.get(), handler.get());
    }
    EXPECT_EQ(sel::pmsgHandlers(delegate.get()).array().size(), 6u);
    std::vector<std::string> posted;
    Ref<Object> observers[] = {
        YBXNotificationCenter::defaultCenter()->addObserverForName("expand", Value(), [&](NSNotification*) { posted.push_back("expand"); }),
        YBXNotificationCenter::defaultCenter()->addObserverForName("shrink", Value(), [&](NSNotification*) { posted.push_back("shrink"); }),
    };
    EXPECT_FALSE(decide(delegate.get(), "pmsg://ad/expand", 5));
    EXPECT_FALSE(decide(delegate.get(), "pmsg://ad/shrink", 5));
    EXPECT_TRUE(calls().empty());  // nothing runs inside the decision
    RunLoop::main().runUntil([&] { return posted.size() == 2; }, 5.0);
    platform::testing::advance(0.1);
    EXPECT_EQ(calls(), (std::vector<std::string>{"first pmsg://ad/expand", "second pmsg://ad/expand", "first pmsg://ad/shrink",
                                                 "second pmsg://ad/shrink"}));
    EXPECT_EQ(posted, (std::vector<std::string>{"expand", "shrink"}));
    for (auto& observer : observers) YBXNotificationCenter::defaultCenter()->removeObserver(observer.get());
}

TEST_F(DelegateTest, ATakenMessageIsNotPosted) {
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    Ref<Object> handler = newObject("TestDispatchHandler");
    as<RecordingHandler>(handler.get())->name = "only";
    as<RecordingHandler>(handler.get())->takes = true;
    sel::addPMSGHandler_(delegate.get(), handler.get());
    int posted = 0;
    Ref<Object> observer = YBXNotificationCenter::defaultCenter()->addObserverForName("resize", Value(), [&](NSNotification*) { ++posted; });
    decide(delegate.get(), "pmsg://ad/resize", 5);
    platform::testing::advance(0.2);
    EXPECT_EQ(calls(), std::vector<std::string>{"only pmsg://ad/resize"});
    EXPECT_EQ(posted, 0);
    YBXNotificationCenter::defaultCenter()->removeObserver(observer.get());
}

TEST_F(DelegateTest, AFinishedLoadIsAnnouncedOnceAndPushesTheOrientation) {
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    sel::setDelegate_(view.get(), delegate.get());
    int finished = 0, failed = 0;
    Ref<Object> a = YBXNotificationCenter::defaultCenter()->addObserverForName(kYBXWebViewDidFinishLoad, Value(), [&](NSNotification*) { ++finished; });
    Ref<Object> b = YBXNotificationCenter::defaultCenter()->addObserverForName(kYBXWebViewDidFailLoad, Value(), [&](NSNotification*) { ++failed; });
    show("http://ads.test/one");
    show("http://ads.test/two");
    EXPECT_EQ(sel::orientation(view.get()), 1);
    transport->answer("http://ads.test/down", ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));
    sel::loadRequest_(view.get(), requestFor("http://ads.test/down").get());
    platform::testing::advance(0.1);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(sel::hasLoadedAtLeastOnce(delegate.get()));
    EXPECT_TRUE(sel::didReceiveLoadEvent(view.get()));
    EXPECT_EQ(sel::orientation(view.get()), 0);  // the failed page got no getter
    YBXNotificationCenter::defaultCenter()->removeObserver(a.get());
    YBXNotificationCenter::defaultCenter()->removeObserver(b.get());
}

// --- the banner over a real slot ---------------------------------------------------------------

class BannerDelegateTest : public DelegateTest {
protected:
    BannerDelegateTest() {
        slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        slotView = as<YBXWebView>(sel::webView(slot.get()).get());
        delegate = sel::webViewDelegate(slot.get());
        calls().clear();
    }
    void bringTo(long long state) {
        if (state == 0) return;
        if (state != YBXSlotStateInvalidated) slot->setState(YBXSlotStateRequestingAdURL);
        if (state != YBXSlotStateRequestingAdURL) slot->setState(state);
    }

    Ref<YBXSlot> slot;
    Ref<YBXWebView> slotView;
    Ref<Object> delegate;
};

TEST_F(BannerDelegateTest, IsClickTable) {
    for (long long state = 0; state <= 8; ++state)
        for (double after : {0.1, 0.2})
            for (long long type : {0LL, 2LL, 3LL, 5LL})
                for (bool touched : {false, true}) {
                    SCOPED_TRACE(::testing::Message() << "state " << state << " after " << after << " type " << type << " touched " << touched);
                    slot = testing::makeBannerSlot(kYBXAdSizeBanner);
                    delegate = sel::webViewDelegate(slot.get());
                    sel::didLoadAdHTMLInWebView(slot.get());
                    platform::testing::advance(after);
                    bringTo(state);
                    sel::setTouched_(sel::webView(slot.get()).get(), touched);
                    const bool expected = state != 1 && state != 5 && state != 8 && after > 0.15 && type != 2 && type != 3 && touched;
                    EXPECT_EQ(sel::isClick_(delegate.get(), type), expected);
                }
}

TEST_F(BannerDelegateTest, AClickOpensTheClickURLInsteadOfLoadingAndUsesUpTheTouch) {
    sel::setDelegate_(slotView.get(), delegate.get());
    transport->answer("http://ads.test/creative", ScriptedTransport::Script::body({"<p>ad</p>"}));
    sel::loadRequest_(slotView.get(), requestFor("http://ads.test/creative").get());
    platform::testing::advance(0.1);
    sel::didLoadAdHTMLInWebView(slot.get());
    platform::testing::advance(0.2);
    calls().clear();
    EXPECT_TRUE(sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), slotView.get(), requestFor("http://shop.test/a").get(), 0));
    sel::setTouched_(slotView.get(), true);
    EXPECT_FALSE(sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), slotView.get(), requestFor("http://shop.test/b").get(), 0));
    EXPECT_EQ(calls(), (std::vector<std::string>{"adWasClicked", "openApp: http://shop.test/b"}));
    EXPECT_FALSE(sel::touched(slotView.get()));
    EXPECT_EQ(text(as<NSURL>(sel::referringURL(sel::opener(delegate.get()).get()).get())), "http://ads.test/creative");
    // The click left the page's stash entry alone.
    EXPECT_EQ(text(as<NSURL>(sel::URL(slotView.get()).get())), "http://shop.test/a");
    calls().clear();
    // A script navigation after the click is the page's own.
    EXPECT_TRUE(sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), slotView.get(), requestFor("http://shop.test/c").get(), 5));
    EXPECT_TRUE(calls().empty());
}

TEST_F(BannerDelegateTest, AFinishWhileRenderingCompletesTheAdInOrder) {
    sel::configureAsBannerAdView(slotView.get());
    bringTo(YBXSlotStateRendering);
    calls().clear();
    sel::webViewDidFinishLoad_(delegate.get(), slotView.get());
    EXPECT_EQ(calls(), (std::vector<std::string>{"didReceiveValidAd", "didLoadAdHTMLInWebView", "didMakeAdImpression",
                                                 "resetOptoraReporting", "adFinishedLoadingContent"}));
    EXPECT_FALSE(sel::isHidden(slotView.get()));
    EXPECT_EQ(sel::YBXSlot_state(slot.get()), YBXSlotStateValidAd);
    calls().clear();
    sel::webViewDidFinishLoad_(delegate.get(), slotView.get());  // not rendering any more
    EXPECT_TRUE(calls().empty());
}

TEST_F(BannerDelegateTest, AnInterstitialMakesNoImpressionOnFinish) {
    slot = testing::makeSlot();
    delegate = sel::webViewDelegate(slot.get());
    bringTo(YBXSlotStateRendering);
    calls().clear();
    sel::webViewDidFinishLoad_(delegate.get(), sel::webView(slot.get()).get());
    EXPECT_EQ(calls(), (std::vector<std::string>{"didReceiveValidAd", "didLoadAdHTMLInWebView", "resetOptoraReporting",
                                                 "adFinishedLoadingContent"}));
}

TEST_F(BannerDelegateTest, FailureTable) {
    struct Case {
        long long state;
        long long code;
        bool reported;
    } cases[] = {{5, NSURLErrorCannotConnectToHost, true}, {5, NSURLErrorCancelled, false}, {6, NSURLErrorCannotConnectToHost, false},
                 {4, NSURLErrorCannotConnectToHost, false}, {0, NSURLErrorTimedOut, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.state << " " << c.code);
        slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        delegate = sel::webViewDelegate(slot.get());
        bringTo(c.state);
        calls().clear();
        Ref<NSError> error = NSError::errorWithDomain(NSURLErrorDomain, c.code);
        sel::webView_didFailLoadWithError_(delegate.get(), sel::webView(slot.get()).get(), error.get());
        EXPECT_EQ(calls(), c.reported ? std::vector<std::string>{"didFail 2"} : std::vector<std::string>{});
    }
}

// --- the web app and the browser ------------------------------------------------------------------

TEST_F(DelegateTest, OnShowIsSentOnceWhicheverComesFirst) {
    for (bool loadFirst : {true, false}) {
        SCOPED_TRACE(loadFirst);
        Ref<YBXWebAppViewController> controller = as<YBXWebAppViewController>(newObject("YBXWebAppViewController").get());
        Ref<YBXWebView> page = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 480));
        controller->webView_ = page;
        Ref<Object> webApp = sel::initWithWebAppViewController_(alloc("YBXWebAppWebViewDelegate"), controller.get());
        EXPECT_EQ(sel::pmsgHandlers(webApp.get()).array().size(), 5u);
        auto onShows = [&] {
            int n = 0;
            for (const std::string& s : webkit::ScriptedPages::shared().evaluated()) n += s.find("'onshow'") != std::string::npos;
            return n;
        };
        const int before = onShows();
        if (loadFirst) sel::webViewDidFinishLoad_(webApp.get(), page.get());
        platform::testing::advance(0.1);
        EXPECT_EQ(onShows(), before);
        sel::setPendingOnShow_(webApp.get(), true);
        if (!loadFirst) {
            platform::testing::advance(0.1);
            EXPECT_EQ(onShows(), before);
            sel::webViewDidFinishLoad_(webApp.get(), page.get());
        }
        sel::setPendingOnShow_(webApp.get(), true);
        sel::webViewDidFinishLoad_(webApp.get(), page.get());
        platform::testing::advance(0.1);
        EXPECT_EQ(onShows(), before + 1);
        EXPECT_TRUE(sel::calledOnShow(webApp.get()));
    }
}

TEST_F(DelegateTest, TheBrowserCountsOnlyLinksAndForms) {
    Ref<YBXViewController> browser = as<YBXViewController>(newObject("YBXBrowserViewController").get());
    Ref<YBXWebView> page = UIView::make<YBXWebView>("YBXBrowserWebView", Rect(0, 0, 320, 480));
    sel::setViewController_(page.get(), browser.get());
    Ref<Object> delegate = newObject("YBXBrowserWebViewDelegate");
    EXPECT_EQ(sel::browserControllerForWebView_(delegate.get(), page.get()).get(), browser.get());
    EXPECT_FALSE(sel::browserControllerForWebView_(delegate.get(), view.get()));
    std::vector<std::string> counted;
    static std::vector<std::string>* sink = nullptr;
    sink = &counted;
    ClassBuilder<NSObject>("TestBrowserStatistics", "NSObject").method(sel::incrementNumberForKey_shouldNotifyDelegate_, [](id, std::string key, bool) {
        sink->push_back(key);
    });
    static Ref<Object> statistics = newObject("TestBrowserStatistics");
    ClassBuilder<NSObject>("TestBrowserAd", "NSObject").method(sel::statistics, [](id) { return statistics; });
    static Ref<Object> ad = newObject("TestBrowserAd");
    ClassBuilder<NSObject>("TestBrowserSlot", "NSObject").method(sel::ad, [](id) { return ad; });
    Ref<Object> browserSlot = newObject("TestBrowserSlot");
    browser->slot_ = WeakRef<Object>(browserSlot.get());
    struct Case {
        const char* url;
        long long type;
    } cases[] = {{"http://a.test/x", 0}, {"https://a.test/x", 1}, {"http://a.test/y", 5}, {"https://a.test/y", 2}, {"ftp://a.test/z", 0}};
    for (const auto& c : cases)
        sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), page.get(), requestFor(c.url).get(), c.type);
    EXPECT_EQ(counted, (std::vector<std::string>{"plpnc", "plpsnc"}));
}

}  // namespace
}  // namespace adlib

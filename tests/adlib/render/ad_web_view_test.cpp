// The ad web view completed: its cache of inner views, the page orientation,
// the zig-zag gesture and its debug dialog, save and restore, the stash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/render/ad_url_stash.h"
#include "adlib/render/impression_ticket_gesture_recognizer.h"
#include "adlib/render/web_view.h"
#include "adlib/render/web_view_cache_set.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/url.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/uikit/pasteboard.h"
#include "platform/uikit/touch.h"
#include "platform/webkit/real_page_engine.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Ref<YBXWebView> makeWebView(Rect frame = Rect(0, 0, 320, 50)) { return UIView::make<YBXWebView>("YBXWebView", frame); }

Ref<NSURL> urlFor(std::string_view text) { return NSURL::URLWithString(text); }

// --- the cache ---------------------------------------------------------------------------------

struct CapacityCase {
    Value stored;
    unsigned long long capacity;
};

class CacheCapacity : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(CacheCapacity, IsReadFromTheDefaultsOnFirstUse) {
    AdLibEnvironment env;
    if (!GetParam().stored.isNil()) NSUserDefaults::standardUserDefaults()->setObject(GetParam().stored, kYBXWebViewCacheCapacityKey);
    Ref<Object> cache = sel::webViewCache(objc_getClass("YBXWebView"));
    ASSERT_TRUE(isKindOfClass(cache.get(), "YBXWebViewCacheSet"));
    EXPECT_EQ(sel::maxCapacity(cache.get()), GetParam().capacity);
    EXPECT_EQ(sel::webViewCache(objc_getClass("YBXWebView")).get(), cache.get());
}

INSTANTIATE_TEST_SUITE_P(Table, CacheCapacity,
                         ::testing::Values(CapacityCase{Value(), 4}, CapacityCase{Value(12LL), 4}, CapacityCase{Value(-1LL), 4},
                                           CapacityCase{Value(0LL), 0}, CapacityCase{Value(9LL), 9}, CapacityCase{Value("5"), 5},
                                           CapacityCase{Value::array({Value(2LL)}), 4}));

class WebViewCache : public ::testing::Test {
protected:
    // The inner view a web view gives back when it goes.
    Ref<Object> returnOne() {
        Ref<YBXWebView> view = makeWebView();
        Ref<Object> inner = sel::webView(view.get());
        view = nullptr;
        return inner;
    }
    unsigned long long blanking() { return sel::clearingWebViewCount(cache().get()); }
    Ref<Object> cache() { return sel::webViewCache(objc_getClass("YBXWebView")); }

    AdLibEnvironment env;
    webkit::ScriptedPages& pages = webkit::ScriptedPages::shared();
};

TEST_F(WebViewCache, AReturnedViewIsBlankedAndReusedWithTheNewViewsBounds) {
    Ref<Object> inner = returnOne();
    EXPECT_EQ(blanking(), 0u);  // the blanking waits for the main queue
    platform::testing::advance(0.1);
    EXPECT_EQ(pages.documents().back(), "about:blank");
    EXPECT_EQ(blanking(), 0u);
    Ref<YBXWebView> next = makeWebView(Rect(10, 20, 300, 250));
    EXPECT_EQ(sel::webView(next.get()).get(), inner.get());
    EXPECT_EQ(sel::delegate(inner.get()).get(), next.get());
    EXPECT_EQ(sel::frame(inner.get()), Rect(0, 0, 300, 250));
    // The cache is empty again: the next view is new.
    EXPECT_NE(sel::webView(makeWebView().get()).get(), inner.get());
}

TEST_F(WebViewCache, AtMostThreeAreBlankedAtOnceAndOnlyAboutBlankLoadsMeanwhile) {
    pages.whenLoaded("about:blank", webkit::PageScript().neverEnd());
    std::vector<Ref<Object>> inners;
    for (int i = 0; i < 4; ++i) inners.push_back(returnOne());
    platform::testing::advance(0.1);
    EXPECT_EQ(blanking(), 3u);
    EXPECT_FALSE(sel::delegate(inners[3].get()));  // the fourth was dropped
    id blanked = inners[0].get();
    EXPECT_EQ(sel::delegate(blanked).get(), cache().get());
    auto asks = [&](std::string_view url) {
        return sel::webView_shouldStartLoadWithRequest_navigationType_(cache().get(), blanked,
                                                                       NSURLRequest::requestWithURL(urlFor(url).get()).get(), 5);
    };
    EXPECT_TRUE(asks("about:blank"));
    EXPECT_FALSE(asks("http://ads.test/p"));
    EXPECT_FALSE(asks("about:blank#x"));
}

TEST_F(WebViewCache, OnlyAnEmptyBodyIsKept) {
    struct Case {
        const char* name;
        webkit::PageScript blank;
        std::string body;
        bool kept;
    } cases[] = {
        {"empty", webkit::PageScript(), "", true},
        {"content left", webkit::PageScript(), "<p>old ad</p>", false},
        {"failed", webkit::PageScript().fail(-1001), "", false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        pages.whenLoaded("about:blank", c.blank);
        pages.whenEvaluated("document.body.innerHTML", webkit::PageScript().answering(c.body));
        Ref<Object> inner = returnOne();
        platform::testing::advance(0.1);
        EXPECT_EQ(blanking(), 0u);
        EXPECT_FALSE(sel::delegate(inner.get()));
        Ref<Object> reused = sel::cachedWebView(objc_getClass("YBXWebView"));
        EXPECT_EQ(reused.get() == inner.get(), c.kept);
    }
}

TEST(WebViewCacheFull, ACapacityOfZeroKeepsNothing) {
    AdLibEnvironment env;
    NSUserDefaults::standardUserDefaults()->setObject(Value(0LL), kYBXWebViewCacheCapacityKey);
    Ref<Object> inner;
    {
        Ref<YBXWebView> view = makeWebView();
        inner = sel::webView(view.get());
    }
    platform::testing::advance(0.1);
    EXPECT_FALSE(sel::cachedWebView(objc_getClass("YBXWebView")));
}

TEST(WebViewCacheTeardown, ViewsBeingBlankedAreLetGoWhenTheCacheGoes) {
    AdLibEnvironment env;
    webkit::ScriptedPages::shared().whenLoaded("about:blank", webkit::PageScript().neverEnd());
    Ref<Object> inner = UIView::make("UIWebView", Rect(0, 0, 10, 10));
    Ref<Object> cache = sel::initWithMaxCapacity_(alloc("YBXWebViewCacheSet"), 4);
    sel::clearWebView_(cache.get(), inner.get());
    platform::testing::advance(0.01);
    EXPECT_TRUE(sel::isLoading(inner.get()));
    cache = nullptr;
    EXPECT_FALSE(sel::delegate(inner.get()));
    EXPECT_FALSE(sel::isLoading(inner.get()));
}

// --- the view -----------------------------------------------------------------------------------

class AdWebView : public ::testing::Test {
protected:
    AdLibEnvironment env;
    webkit::ScriptedPages& pages = webkit::ScriptedPages::shared();
    Ref<YBXWebView> view = makeWebView();

    std::vector<std::string> scriptsSince(std::size_t from) const {
        return {pages.evaluated().begin() + static_cast<long>(from), pages.evaluated().end()};
    }
};

TEST_F(AdWebView, CreationSetsUpTheInnerViewAndTheGesture) {
    id inner = sel::webView(view.get()).get();
    EXPECT_TRUE(sel::showDebug(view.get()));
    EXPECT_TRUE(sel::scalesPageToFit(inner));
    EXPECT_EQ(sel::dataDetectorTypes(inner), UIDataDetectorTypeNone);
    EXPECT_TRUE(sel::allowsInlineMediaPlayback(inner));
    EXPECT_FALSE(sel::mediaPlaybackRequiresUserAction(inner));
    EXPECT_EQ(sel::autoresizingMask(view.get()), 18u);
    EXPECT_FALSE(sel::isOpaque(view.get()));
    Ref<Object> gesture = sel::gesture(view.get());
    EXPECT_TRUE(isKindOfClass(gesture.get(), "YBXImpressionTicketGestureRecognizer"));
    EXPECT_EQ(sel::delegate(gesture.get()).get(), sel::gestureDelegate(view.get()).get());
    EXPECT_EQ(sel::view(gesture.get()).get(), view.get());
    // The zig-zag lets every other recognizer work beside it, but not another zig-zag.
    id gestureDelegate = sel::gestureDelegate(view.get()).get();
    Ref<Object> tap = newObject("UITapGestureRecognizer");
    EXPECT_TRUE(sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_(gestureDelegate, gesture.get(), tap.get()));
    EXPECT_FALSE(sel::gestureRecognizer_shouldRecognizeSimultaneouslyWithGestureRecognizer_(gestureDelegate, tap.get(), gesture.get()));

    sel::configureAsBannerAdView(view.get());
    EXPECT_TRUE(sel::isHidden(view.get()));
    EXPECT_FALSE(sel::scalesPageToFit(inner));
    EXPECT_TRUE(sel::mediaPlaybackRequiresUserAction(inner));
    sel::setFrame_(view.get(), Rect(5, 5, 300, 250));
    EXPECT_EQ(sel::frame(inner), Rect(0, 0, 300, 250));
}

TEST_F(AdWebView, OrientationScriptsAreExact) {
    const std::string change =
        "(function(){var event = document.createEvent('Events');event.initEvent('orientationchange', true, "
        "false);window.dispatchEvent(event);})();";
    auto getter = [](const char* angle) { return std::string("window.__defineGetter__('orientation',function(){return ") + angle + ";});"; };
    struct Case {
        long long orientation;
        bool forced;
        std::vector<std::string> scripts;
    } cases[] = {
        {1, true, {getter("0") + change}},
        {1, true, {}},  // the same twice
        {2, false, {getter("180")}},
        {3, true, {getter("90") + change}},
        {4, false, {getter("-90")}},
        {0, true, {}},
        {5, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        const std::size_t before = pages.evaluated().size();
        if (c.forced)
            sel::forceRotateToOrientation_(view.get(), c.orientation);
        else
            sel::didRotateToOrientation_(view.get(), c.orientation);
        EXPECT_EQ(scriptsSince(before), c.scripts);
    }
    EXPECT_EQ(sel::orientation(view.get()), 4);
    // New content gets the getter again.
    sel::loadHTMLString_baseURL_(view.get(), Value("<p>next</p>"), nullptr);
    EXPECT_EQ(sel::orientation(view.get()), 0);
    const std::size_t before = pages.evaluated().size();
    sel::didRotateToOrientation_(view.get(), 4);
    EXPECT_EQ(scriptsSince(before), std::vector<std::string>{getter("-90")});
}

// The scripts run as written in the real engine: each new document gets the
// getter, and only a forced rotation sends the change event.
TEST(AdWebViewRealPage, ACreativeReadsItsOrientationAfterEachLoad) {
    AdLibEnvironment env;
    webkit::RealPageEngine::install();
    Ref<YBXWebView> view = makeWebView();
    auto eval = [&](const char* script) {
        return sel::stringByEvaluatingJavaScriptFromString_(sel::webView(view.get()).get(), Value(script)).string();
    };
    const char* creative =
        "<script>var changes = 0; window.addEventListener('orientationchange', function () { changes++; });</script>";
    sel::loadHTMLString_baseURL_(view.get(), Value(creative), urlFor("http://ads.test/one.html").get());
    platform::testing::advance(0.1);
    sel::forceRotateToOrientation_(view.get(), 3);
    EXPECT_EQ(eval("window.orientation + ' ' + changes"), "90 1");
    sel::didRotateToOrientation_(view.get(), 2);
    EXPECT_EQ(eval("window.orientation + ' ' + changes"), "180 1");

    sel::loadHTMLString_baseURL_(view.get(), Value(creative), urlFor("http://ads.test/two.html").get());
    platform::testing::advance(0.1);
    sel::didRotateToOrientation_(view.get(), 2);
    EXPECT_EQ(eval("window.orientation + ' ' + changes"), "180 0");
}

TEST_F(AdWebView, SdkEventsWaitForAFinishedLoad) {
    sel::loadHTMLString_baseURL_(view.get(), Value("<p>ad</p>"), nullptr);
    const std::size_t before = pages.evaluated().size();
    sel::notifyOfSdkEvent_(view.get(), "onshow");
    platform::testing::advance(0.1);
    EXPECT_EQ(pages.evaluated().size(), before);
    sel::setDidReceiveLoadEvent_(view.get(), true);
    sel::notifyOfSdkEvent_(view.get(), "onshow");
    platform::testing::advance(0.1);
    ASSERT_GT(pages.evaluated().size(), before);
    EXPECT_NE(pages.evaluated().back().find("onshow"), std::string::npos);
    EXPECT_NE(pages.evaluated().back().find("\"device\""), std::string::npos);
    // New HTML starts over.
    sel::loadHTMLString_baseURL_(view.get(), Value("<p>next</p>"), nullptr);
    EXPECT_FALSE(sel::didReceiveLoadEvent(view.get()));
}

TEST_F(AdWebView, TheStashKnowsThePageUntilTheViewGoes) {
    Ref<NSURL> page = urlFor("http://ads.test/creative/#top");
    sel::loadHTMLString_baseURL_(view.get(), Value("<p>ad</p>"), page.get());
    EXPECT_EQ(YBXAdURLStash::viewForURL(urlFor("http://ads.test:80/creative").get()).get(), view.get());
    // HTML without a base URL: the old entry goes and nothing takes its place.
    sel::loadHTMLString_baseURL_(view.get(), Value("<p>ad</p>"), nullptr);
    EXPECT_FALSE(YBXAdURLStash::viewForURL(page.get()));
    EXPECT_FALSE(YBXAdURLStash::hasStashedURLs());
    sel::setURL_forView_(view.get(), urlFor("http://ads.test:8080/p#f").get(), view.get());
    EXPECT_EQ(YBXAdURLStash::canonicalURLForURL(urlFor("http://ads.test:8080/p#f").get())->absoluteString(), "http://ads.test:8080/p#f");
    EXPECT_EQ(YBXAdURLStash::canonicalURLForURL(urlFor("http://a.test/x?r=a.test").get())->absoluteString(), "http://a.test:80/x?r=a.test");
    view = nullptr;
    EXPECT_FALSE(YBXAdURLStash::hasStashedURLs());
}

TEST_F(AdWebView, SaveAndRestorePutTheViewBack) {
    Ref<UIView> banner = UIView::make("UIView", Rect(0, 0, 320, 50));
    Ref<Object> first = newObject("NSObject");
    Ref<Object> controller = newObject("UIViewController");
    sel::addSubview_(banner.get(), view.get());
    sel::setFrame_(view.get(), Rect(1, 2, 320, 48));
    sel::setDelegate_(view.get(), first.get());
    sel::setViewController_(view.get(), controller.get());
    sel::restoreState(view.get());  // nothing saved: nothing happens
    EXPECT_EQ(sel::superview(view.get()).get(), banner.get());

    sel::saveState(view.get());
    Ref<UIView> expanded = UIView::make("UIView", Rect(0, 0, 320, 480));
    sel::addSubview_(expanded.get(), view.get());
    sel::setFrame_(view.get(), Rect(0, 0, 320, 480));
    sel::setDelegate_(view.get(), nullptr);
    sel::setViewController_(view.get(), nullptr);
    sel::restoreState(view.get());
    EXPECT_EQ(sel::superview(view.get()).get(), banner.get());
    EXPECT_EQ(sel::frame(view.get()), Rect(1, 2, 320, 48));
    EXPECT_EQ(sel::delegate(view.get()).get(), first.get());
    EXPECT_EQ(sel::viewController(view.get()).get(), controller.get());
    EXPECT_FALSE(sel::savedState(view.get()));
}

TEST_F(AdWebView, OnlyATouchOnTheViewMarksItTouched) {
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
    sel::makeKeyAndVisible(window.get());
    sel::addSubview_(window.get(), view.get());
    sel::setFrame_(view.get(), Rect(0, 100, 320, 50));
    touch::tap(Point{160, 300});
    EXPECT_FALSE(sel::touched(view.get()));
    touch::tap(Point{160, 120});
    EXPECT_TRUE(sel::touched(view.get()));
}

TEST(BrowserWebView, TakesOnlyABrowserControllerAndNeverACachedView) {
    AdLibEnvironment env;
    Ref<Object> inner = sel::webView(makeWebView().get());
    platform::testing::advance(0.1);
    Ref<YBXWebView> browser = UIView::make<YBXWebView>("YBXBrowserWebView", Rect(0, 0, 320, 480));
    EXPECT_NE(sel::webView(browser.get()).get(), inner.get());
    Ref<Object> other = newObject("YBXWebAppViewController");
    Ref<Object> controller = newObject("YBXBrowserViewController");
    sel::setViewController_(browser.get(), other.get());
    EXPECT_FALSE(sel::viewController(browser.get()));
    EXPECT_FALSE(sel::browserViewController(browser.get()));
    sel::setViewController_(browser.get(), controller.get());
    EXPECT_EQ(sel::browserViewController(browser.get()).get(), controller.get());
}

// --- the zig-zag and the dialog --------------------------------------------------------------------

class ZigZag : public ::testing::Test {
protected:
    ZigZag() {
        recognizer = as<YBXImpressionTicketGestureRecognizer>(newObject("YBXImpressionTicketGestureRecognizer").get());
        static constexpr Sel<void(id, id)> fired_{"fired:"};
        ClassBuilder<NSObject>("TestZigZagTarget", "NSObject").method(fired_, [](id, id) { ++recognized(); });
        target = newObject("TestZigZagTarget");
        sel::addTarget_action_(recognizer.get(), target.get(), sel_registerName(fired_.name));
    }
    static int& recognized() {
        static int count = 0;
        return count;
    }

    // One finger through the points (a second finger joins when asked): whether its action was sent.
    bool stroke(const std::vector<Point>& points, bool twoFingers = false, bool cancel = false) {
        sel::reset(recognizer.get());
        recognizer->state_ = UIGestureRecognizerStatePossible;
        const int before = recognized();
        Ref<UITouch> finger = as<UITouch>(newObject("UITouch").get());
        finger->location_ = points.front();
        Value touches = Value::array({Value(finger.get())});
        // The platform adds each touch to the recognizer before telling it.
        recognizer->touches_.push_back(finger);
        sel::touchesBegan_withEvent_(recognizer.get(), touches, nullptr);
        if (twoFingers) {
            Ref<UITouch> second = as<UITouch>(newObject("UITouch").get());
            recognizer->touches_.push_back(second);
            sel::touchesBegan_withEvent_(recognizer.get(), Value::array({Value(second.get())}), nullptr);
        }
        for (std::size_t i = 1; i < points.size(); ++i) {
            finger->previousLocation_ = finger->location_;
            finger->location_ = points[i];
            sel::touchesMoved_withEvent_(recognizer.get(), touches, nullptr);
        }
        if (cancel)
            sel::touchesCancelled_withEvent_(recognizer.get(), touches, nullptr);
        else
            sel::touchesEnded_withEvent_(recognizer.get(), touches, nullptr);
        recognizer->touches_.clear();
        return recognized() > before;
    }

    AdLibEnvironment env;
    Ref<YBXImpressionTicketGestureRecognizer> recognizer;
    Ref<Object> target;
};

TEST_F(ZigZag, OnlyAFullRightLeftRightLeftStrokeIsRecognized) {
    const bool yes = true, no = false;
    struct Case {
        const char* name;
        std::vector<Point> points;
        bool twoFingers;
        bool cancel;
        bool recognized;
    } cases[] = {
        {"four legs", {{0, 0}, {20, 0}, {0, 0}, {20, 0}, {0, 0}}, false, false, yes},
        {"in small steps", {{0, 0}, {8, 1}, {16, 2}, {8, 3}, {0, 4}, {8, 4}, {16, 4}, {8, 4}}, false, false, yes},
        {"a 1-point fourth leg", {{0, 0}, {20, 0}, {0, 0}, {20, 0}, {19, 0}}, false, false, yes},
        {"short first leg", {{0, 0}, {14, 0}, {0, 0}, {20, 0}, {0, 0}}, false, false, no},
        {"short second leg", {{0, 0}, {20, 0}, {6, 0}, {26, 0}, {0, 0}}, false, false, no},
        {"short third leg", {{0, 0}, {20, 0}, {0, 0}, {14, 0}, {0, 0}}, false, false, no},
        {"vertical drift", {{0, 0}, {20, 0}, {0, 6}, {20, 6}, {0, 6}}, false, false, no},
        {"leftward start", {{40, 0}, {20, 0}, {40, 0}, {20, 0}, {40, 0}}, false, false, no},
        {"three legs", {{0, 0}, {20, 0}, {0, 0}, {20, 0}}, false, false, no},
        {"rightward fourth leg", {{0, 0}, {20, 0}, {0, 0}, {20, 0}, {0, 0}, {5, 0}}, false, false, no},
        {"two fingers", {{0, 0}, {20, 0}, {0, 0}, {20, 0}, {0, 0}}, true, false, no},
        {"cancelled", {{0, 0}, {20, 0}, {0, 0}, {20, 0}, {0, 0}}, false, true, no},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stroke(c.points, c.twoFingers, c.cancel), c.recognized);
    }
}

class DebugDialog : public ::testing::Test {
protected:
    Ref<UIAlertView> open() {
        sel::handleGesture_(view.get(), sel::gesture(view.get()).get());
        auto shown = UIAlertView::visibleAlerts();
        return shown.empty() ? nullptr : shown.back();
    }

    AdLibEnvironment env;
    Ref<YBXWebView> view = makeWebView();
};

TEST_F(DebugDialog, WithoutTextOnlyOKAndTheToolbar) {
    Ref<UIAlertView> alert = open();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title_, Value("Debug Creative Info"));
    EXPECT_EQ(alert->message_, Value("Creative information is not available"));
    EXPECT_EQ(alert->buttonTitles_, (std::vector<Value>{Value("OK"), Value("Publisher Toolbar")}));
    EXPECT_EQ(alert->cancelButtonIndex_, 0);
    EXPECT_EQ(sel::alertView(view.get()).get(), alert.get());
}

TEST_F(DebugDialog, WithTextCopyAndReport) {
    sel::setAdDebugDialog_(view.get(), Value("creative 42"));
    Ref<UIAlertView> alert = open();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message_, Value("creative 42"));
    EXPECT_EQ(alert->buttonTitles_, (std::vector<Value>{Value("OK"), Value("Publisher Toolbar"), Value("Copy"), Value("Report")}));
    alert->clickButton(2);
    EXPECT_EQ(sel::string(UIPasteboard::generalPasteboard()), Value("creative 42"));
}

TEST_F(DebugDialog, NothingWhenSwitchedOff) {
    sel::setShowDebug_(view.get(), false);
    EXPECT_FALSE(open());
}

}  // namespace
}  // namespace adlib

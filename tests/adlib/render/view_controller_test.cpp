// The full-screen controller base and the in-app browser: orientation codes,
// presentation as the first layer or stacked, appearance work done once (the
// platform's callback or the 0.6 s fallback), closing, the slot's events, the
// return from the background, and the browser's deferred load, toolbar,
// Safari button and layout. A recording slot stands in for the real one; the
// publisher's controller sits in a key window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adlib/foundation/application.h"
#include "adlib/foundation/statistic_dictionary.h"
#include "adlib/render/browser_view_controller.h"
#include "adlib/render/view_controller.h"
#include "adlib/render/web_app_view_controller.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/network/request.h"
#include "platform/uikit/activity_indicator.h"
#include "platform/uikit/application.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/window.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/adlib/render/full_screen_support.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::platformAppearances;
using testing::slotCalls;

bool pageLoading = false;
bool (*previousIsLoading)(id) = nullptr;

void registerFakes() {
    testing::registerFullScreenFakes();
    MSHookMessageEx(objc_getClass("UIWebView"), sel::isLoading,
                    +[](id self) { return pageLoading || previousIsLoading(self); }, &previousIsLoading);
}

class FullScreenTest : public ::testing::Test {
protected:
    FullScreenTest() {
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
        platform::log::clear();
        slotCalls().clear();
        platformAppearances = 0;
    }

    Ref<YBXViewController> make(const char* className) {
        Ref<YBXViewController> made = as<YBXViewController>(newObject(className).get());
        sel::setSlot_(made.get(), slot.get());
        return made;
    }
    Ref<Object> presented(id controller) { return sel::presentedViewController(controller); }
    UIApplication* app() { return UIApplication::sharedApplication(); }
    YBXStatisticDictionary* statistics() { return as<testing::FullScreenAd>(as<testing::FullScreenSlot>(slot.get())->ad.get())->statistics.get(); }
    void returnFromBackground() {
        NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationWillEnterForegroundNotification, Value());
        platform::testing::advance(0);
    }

    AdLibEnvironment env;
    // Before the members that are made of them.
    struct Fakes {
        Fakes() { registerFakes(); }
    } fakes;
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
    Ref<Object> root = newObject("UIViewController");
    Ref<Object> slot = testing::makeFullScreenSlot();
};

// --- orientation codes -------------------------------------------------------------------------------

TEST_F(FullScreenTest, OrientationCodesAnswerTheirMasksAndRotations) {
    struct Case {
        long long code;
        unsigned long long mask;
        std::vector<long long> allowed;
    } cases[] = {{1, 30, {1, 2, 3, 4}}, {2, 2, {1}}, {3, 24, {3, 4}}, {4, 30, {1, 2, 3, 4}}, {-1, 30, {1, 2, 3, 4}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Ref<YBXViewController> controller = make("YBXViewController");
        EXPECT_EQ(sel::supportedOrientations(controller.get()), 1);
        sel::setSupportedOrientations_(controller.get(), c.code);
        EXPECT_EQ(sel::supportedInterfaceOrientations(controller.get()), c.mask);
        std::vector<long long> allowed;
        for (long long o = 1; o <= 4; ++o)
            if (sel::shouldAutorotateToInterfaceOrientation_(controller.get(), o)) allowed.push_back(o);
        EXPECT_EQ(allowed, c.allowed);
        // 0 is no code: the previous one stays.
        sel::setSupportedOrientations_(controller.get(), 0);
        EXPECT_EQ(sel::supportedOrientations(controller.get()), c.code);
    }
}

// --- presentation and closing -------------------------------------------------------------------------

TEST_F(FullScreenTest, PresentingWithoutAControllerOnlyLogs) {
    Ref<YBXViewController> controller = make("YBXWebAppViewController");
    int posted = 0;
    Ref<Object> observer = NSNotificationCenter::defaultCenter()->addObserverForName(kYBXWillPresentFullScreen, Value(),
                                                                                     [&](NSNotification*) { ++posted; });
    sel::presentFromViewController_(controller.get(), nullptr);
    platform::testing::advance(1);
    EXPECT_TRUE(platform::log::contains("No UIViewController supplied to the ad. Cannot continue."));
    EXPECT_TRUE(slotCalls().empty());
    EXPECT_EQ(posted, 0);
    EXPECT_FALSE(sel::retainCycle(controller.get()));
    EXPECT_FALSE(app()->statusBarHidden_);
    EXPECT_FALSE(app()->idleTimerDisabled_);
    EXPECT_FALSE(controller->viewDidAppear_);
    NSNotificationCenter::defaultCenter()->removeObserver(observer.get());
}

TEST_F(FullScreenTest, OnlyTheFirstLayerTakesAndGivesBackTheScreen) {
    struct Case {
        bool barHidden, idleDisabled;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "bar hidden " << c.barHidden << " idle disabled " << c.idleDisabled);
        app()->statusBarHidden_ = c.barHidden;
        app()->idleTimerDisabled_ = c.idleDisabled;
        slotCalls().clear();
        std::vector<std::string> posted;
        NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
        Ref<Object> willPresent = center->addObserverForName(kYBXWillPresentFullScreen, Value(), [&](NSNotification*) { posted.push_back("will present"); });
        Ref<Object> didDismiss = center->addObserverForName(kYBXDidDismissFullScreen, Value(), [&](NSNotification*) { posted.push_back("did dismiss"); });

        Ref<YBXViewController> webApp = make("YBXWebAppViewController");
        sel::presentFromViewController_(webApp.get(), root.get());
        EXPECT_EQ(presented(root.get()).get(), webApp.get());
        EXPECT_TRUE(webApp->isFirstYBXViewController_);
        EXPECT_EQ(sel::retainCycle(webApp.get()).get(), webApp.get());
        EXPECT_EQ(slotCalls(), std::vector<std::string>{"adWillPresentScreen"});
        EXPECT_TRUE(app()->statusBarHidden_);
        EXPECT_TRUE(app()->idleTimerDisabled_);

        // A browser over the web app is a second layer: the slot, the bar and the timer hear nothing of it.
        Ref<YBXViewController> browser = make("YBXBrowserViewController");
        app()->idleTimerDisabled_ = false;
        sel::presentFromViewController_(browser.get(), webApp.get());
        EXPECT_EQ(presented(webApp.get()).get(), browser.get());
        EXPECT_FALSE(browser->isFirstYBXViewController_);
        sel::relinquishScreen(browser.get());
        EXPECT_EQ(presented(webApp.get()).get(), nullptr);
        EXPECT_EQ(slotCalls(), std::vector<std::string>{"adWillPresentScreen"});
        EXPECT_TRUE(app()->statusBarHidden_);
        EXPECT_FALSE(app()->idleTimerDisabled_);

        sel::relinquishScreen(webApp.get());
        EXPECT_EQ(presented(root.get()).get(), nullptr);
        EXPECT_EQ(slotCalls(), (std::vector<std::string>{"adWillPresentScreen", "adWillDismissScreen"}));
        EXPECT_EQ(app()->statusBarHidden_, c.barHidden);
        EXPECT_EQ(app()->idleTimerDisabled_, c.idleDisabled);
        EXPECT_FALSE(sel::retainCycle(webApp.get()));
        EXPECT_EQ(posted, (std::vector<std::string>{"will present", "will present", "did dismiss", "did dismiss"}));

        // The slot hears the dismissal when the first layer goes, not when the browser does.
        WeakRef<Object> gone(webApp.get());
        browser = nullptr;
        platform::testing::advance(0);
        EXPECT_EQ(slotCalls().size(), 2u);
        webApp = nullptr;
        platform::testing::advance(0);
        EXPECT_TRUE(gone.expired());
        EXPECT_EQ(slotCalls(), (std::vector<std::string>{"adWillPresentScreen", "adWillDismissScreen", "adDidDismissScreen"}));
        center->removeObserver(willPresent.get());
        center->removeObserver(didDismiss.get());
    }
}

TEST_F(FullScreenTest, ClosingTwiceActsOnce) {
    // The publisher's own presented screen under the ad must survive a second close.
    Ref<Object> publisherScreen = newObject("UIViewController");
    sel::presentViewController_animated_completion_(root.get(), publisherScreen.get(), false, Block());
    Ref<YBXViewController> controller = make("YBXWebAppViewController");
    sel::presentFromViewController_(controller.get(), publisherScreen.get());
    int dismissed = 0;
    Ref<Object> observer = NSNotificationCenter::defaultCenter()->addObserverForName(kYBXDidDismissFullScreen, Value(),
                                                                                     [&](NSNotification*) { ++dismissed; });
    sel::relinquishScreen(controller.get());
    sel::relinquishScreen(controller.get());
    platform::testing::advance(1);
    EXPECT_EQ(slotCalls(), (std::vector<std::string>{"adWillPresentScreen", "adWillDismissScreen"}));
    EXPECT_EQ(dismissed, 1);
    EXPECT_EQ(presented(root.get()).get(), publisherScreen.get());
    NSNotificationCenter::defaultCenter()->removeObserver(observer.get());
}

TEST_F(FullScreenTest, AppearanceWorkIsDoneOnceByTheCallbackOrTheFallback) {
    struct Case {
        const char* name;
        bool windowVisible;  // a hidden window reports no appearance: the fallback must
        bool closedWithinTheDelay;
        int appearancesBefore, appearancesAfter;
        bool appeared;
    } cases[] = {
        {"reported", true, false, 1, 1, true},
        {"fallback", false, false, 0, 1, true},
        {"closed within the delay", false, true, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platformAppearances = 0;
        sel::setHidden_(window.get(), !c.windowVisible);
        Ref<YBXViewController> controller = make("YBXWebAppViewController");
        sel::presentFromViewController_(controller.get(), root.get());
        EXPECT_EQ(platformAppearances, c.appearancesBefore);
        platform::testing::advance(0.59);
        EXPECT_EQ(platformAppearances, c.appearancesBefore);
        if (c.closedWithinTheDelay) sel::relinquishScreen(controller.get());
        platform::testing::advance(0.02);
        EXPECT_EQ(platformAppearances, c.appearancesAfter);
        EXPECT_EQ(controller->viewDidAppear_, c.appeared);
        if (!c.closedWithinTheDelay) {
            EXPECT_TRUE(sel::isUserInteractionEnabled(sel::view(controller.get()).get()));
            EXPECT_FALSE(controller->interactingWithParent_);
            // A late callback changes nothing more.
            sel::viewDidAppear_(controller.get(), true);
            EXPECT_EQ(platformAppearances, c.appearancesAfter);
            sel::relinquishScreen(controller.get());
        }
        platform::testing::advance(1);
    }
}

TEST_F(FullScreenTest, DisappearanceRecordsTheLandingPageTimes) {
    Ref<YBXViewController> controller = make("YBXBrowserViewController");
    sel::presentFromViewController_(controller.get(), root.get());
    sel::relinquishScreen(controller.get());
    const Value first = statistics()->objectForKey("tlanding_page_load_dismiss");
    EXPECT_TRUE(first.isNumber());
    EXPECT_TRUE(statistics()->objectForKey(kYBXAdStatClickReturns).isNil());

    statistics()->setObject(Value(1234.0), kYBXAdStatClickTime, false);
    controller = make("YBXBrowserViewController");
    sel::presentFromViewController_(controller.get(), root.get());
    platform::testing::advance(2);
    sel::relinquishScreen(controller.get());
    const Value now = statistics()->objectForKey("tlanding_page_load_dismiss");
    EXPECT_GT(now.doubleValue(), first.doubleValue());
    EXPECT_EQ(statistics()->objectForKey(kYBXAdStatClickReturns), Value::array({Value::array({Value(1234.0), now})}));
    EXPECT_FALSE(controller->viewDidAppear_);
}

// --- return from the background -----------------------------------------------------------------------

TEST_F(FullScreenTest, ReturningFromTheBackgroundClosesWhatShouldClose) {
    struct Case {
        const char* name;
        bool browserOnWebApp;  // else a browser alone
        bool openedAnotherApp;
        bool customClose;
        // After the first and the second return: what the publisher's controller still presents, and over it.
        bool webAppAfterFirst, browserAfterFirst, webAppAfterSecond;
    } cases[] = {
        {"a first-layer browser", false, false, false, false, false, false},
        {"a stack whose web app closes", true, false, false, false, false, false},
        {"a web app that opened another app, under a browser", true, true, false, true, false, false},
        {"custom close closes at once", true, true, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slotCalls().clear();
        Ref<YBXViewController> webApp, browser = make("YBXBrowserViewController");
        if (c.browserOnWebApp) {
            webApp = make("YBXWebAppViewController");
            sel::presentFromViewController_(webApp.get(), root.get());
            sel::setUseCustomClose_(webApp.get(), c.customClose);
            Ref<Object> delegate = sel::webViewDelegate(webApp.get());
            sel::webViewDidFinishLoad_(delegate.get(), sel::webView(webApp.get()).get());
            sel::setDidOpenAnotherApplication_(sel::opener(delegate.get()).get(), c.openedAnotherApp);
            sel::presentFromViewController_(browser.get(), webApp.get());
        } else {
            sel::presentFromViewController_(browser.get(), root.get());
        }
        // The close is queued, not done inside the notification.
        NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationWillEnterForegroundNotification, Value());
        EXPECT_TRUE(presented(root.get()));
        platform::testing::advance(0);
        Ref<Object> top = presented(root.get());
        EXPECT_EQ(top && top.get() == webApp.get(), c.webAppAfterFirst);
        EXPECT_EQ(static_cast<bool>(top && presented(top.get())), c.browserAfterFirst);
        EXPECT_EQ(std::count(slotCalls().begin(), slotCalls().end(), "adWillDismissScreen"), c.webAppAfterFirst ? 0 : 1);
        returnFromBackground();
        EXPECT_EQ(static_cast<bool>(presented(root.get())), c.webAppAfterSecond);
        EXPECT_EQ(std::count(slotCalls().begin(), slotCalls().end(), "adWillDismissScreen"), 1);
        platform::testing::advance(1);
    }
}

// --- the browser -----------------------------------------------------------------------------------------

TEST_F(FullScreenTest, ABrowserLoadBeforeItsViewIsKeptWithItsReferrer) {
    Ref<YBXViewController> browser = make("YBXBrowserViewController");
    auto* b = as<YBXBrowserViewController>(browser.get());
    sel::load_referringURL_(browser.get(), NSURL::URLWithString("http://shop.test/item?id=3").get(),
                            NSURL::URLWithString("http://ads.test:8080/creative.html").get());
    EXPECT_FALSE(b->webView_);
    EXPECT_EQ(b->URLToLoad_->absoluteString(), "http://shop.test/item?id=3");
    sel::presentFromViewController_(browser.get(), root.get());
    ASSERT_TRUE(b->webView_);
    EXPECT_FALSE(b->URLToLoad_);
    EXPECT_FALSE(b->referringURLToLoad_);
    auto* request = as<NSURLRequest>(sel::request(b->webView_.get()).get());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->URL()->absoluteString(), "http://shop.test/item?id=3");
    ASSERT_TRUE(request->valueForHTTPHeaderField("Referer"));
    EXPECT_EQ(*request->valueForHTTPHeaderField("Referer"), "ads.test");
    EXPECT_EQ(sel::delegate(b->webView_.get()).get(), b->webViewDelegate_.get());
    EXPECT_TRUE(isKindOfClass(b->webViewDelegate_.get(), "YBXBrowserWebViewDelegate"));
    EXPECT_EQ(sel::viewController(b->webView_.get()).get(), browser.get());
    sel::relinquishScreen(browser.get());
}

TEST_F(FullScreenTest, TheToolbarFollowsTheLoad) {
    Ref<YBXViewController> browser = make("YBXBrowserViewController");
    auto* b = as<YBXBrowserViewController>(browser.get());
    sel::presentFromViewController_(browser.get(), root.get());
    ASSERT_TRUE(b->toolbar_);
    auto items = [&] {
        std::vector<std::string> shown;
        for (const Value& v : sel::items(b->toolbar_.get()).array()) {
            auto* item = as<UIBarButtonItem>(v.object());
            shown.push_back(item->isSpace() ? "|" : item->accessibilityLabel_.string() + (item->enabled_ ? "+" : "-"));
        }
        return shown;
    };
    auto* spinner = as<UIActivityIndicatorView>(b->spinner_.get());
    for (bool loading : {true, false}) {
        SCOPED_TRACE(loading);
        pageLoading = loading;
        sel::refreshToolbar(browser.get());
        const std::string middle = loading ? "Spinner+" : "Reload+";
        const std::string safari = loading ? "View in Safari-" : "View in Safari+";
        EXPECT_EQ(items(), (std::vector<std::string>{"Back-", "|", "Forward-", "|", middle, "|", safari, "|", "Done+"}));
        EXPECT_EQ(spinner->animating_, loading);
    }
    struct Width {
        Object* item;
        double width;
    } widths[] = {{b->backButton_.get(), 27}, {b->forwardButton_.get(), 27}, {b->spinnerContainingButton_.get(), 20},
                  {b->reloadButton_.get(), 27}, {b->safariButton_.get(), 27}};
    for (const Width& w : widths) EXPECT_EQ(as<UIBarButtonItem>(w.item)->width_, w.width);
    auto* done = as<UIBarButtonItem>(b->doneButton_.get());
    EXPECT_EQ(done->style_, UIBarButtonItemStyleDone);
    EXPECT_EQ(as<UIBarButtonItem>(b->reloadButton_.get())->systemItem_, 13);
    // Done closes the browser.
    done->press();
    EXPECT_FALSE(presented(root.get()));
    EXPECT_EQ(slotCalls(), (std::vector<std::string>{"adWillPresentScreen", "adWillDismissScreen"}));
    pageLoading = false;
}

TEST_F(FullScreenTest, SafariOpensTheCurrentPageAndIsCounted) {
    Ref<YBXViewController> browser = make("YBXBrowserViewController");
    sel::load_(browser.get(), NSURL::URLWithString("http://shop.test/page").get());
    sel::presentFromViewController_(browser.get(), root.get());
    app()->openedURLs_.clear();
    sel::openInSafari(browser.get());
    platform::testing::advance(0);
    ASSERT_EQ(app()->openedURLs_.size(), 1u);
    EXPECT_EQ(as<NSURL>(app()->openedURLs_[0].object())->absoluteString(), "http://shop.test/page");
    EXPECT_EQ(statistics()->objectForKey(kYBXBrowserSafariOpenedStat), Value(true));
    sel::relinquishScreen(browser.get());
}

// Each idiom boots its own app, so this test makes no environment of its own.
TEST(BrowserLayout, FollowsIdiomAndOrientation) {
    struct Case {
        long long idiom, statusBarOrientation;
        double toolbarHeight;
        unsigned long long webViewMask;
    } cases[] = {{0, 1, 44, 18}, {0, 3, 30, 50}, {0, 4, 30, 50}, {1, 3, 44, 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "idiom " << c.idiom << " orientation " << c.statusBarOrientation);
        const std::string seen = platform::testing::runInChild(testing::appOptions("9.3", c.idiom), [&] {
            registerClasses();
            UIApplication::sharedApplication()->statusBarOrientation_ = c.statusBarOrientation;
            Ref<Object> browser = newObject("YBXBrowserViewController");
            sel::viewWillAppear_(browser.get(), false);
            auto* b = as<YBXBrowserViewController>(browser.get());
            const Rect view = sel::bounds(sel::view(browser.get()).get());
            const Rect webView = sel::frame(b->webView_.get());
            const Rect toolbar = sel::frame(b->toolbar_.get());
            const bool framesRight = webView == Rect(0, 0, view.width(), view.height() - toolbar.height() + 1) &&
                                     toolbar == Rect(0, webView.height(), view.width(), toolbar.height());
            return std::to_string(framesRight) + " " + std::to_string(static_cast<int>(toolbar.height())) + " " +
                   std::to_string(sel::autoresizingMask(b->webView_.get()));
        });
        EXPECT_EQ(seen, "1 " + std::to_string(static_cast<int>(c.toolbarHeight)) + " " + std::to_string(c.webViewMask));
    }
}

}  // namespace
}  // namespace adlib

// The opener: the auto-click gate, leaving for another app, the store sheet
// (waiting, preloaded, the cache), purchases, the browser and web apps,
// expansion, the composers, the calendar editor and the publisher toolbar.
// A recording slot and delegate stand beside it; what is shown is read from
// the publisher's controller in a visible window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/render/web_app_view_controller.h"
#include "adlib/render/browser_view_controller.h"
#include "adlib/foundation/application.h"
#include "adlib/foundation/configuration.h"
#include "adlib/render/in_app_purchase.h"
#include "adlib/render/opener.h"
#include "adlib/render/publisher_toolbar_controller.h"
#include "adlib/render/view_controller.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/eventkit.h"
#include "platform/frameworks/messageui.h"
#include "platform/frameworks/storekit.h"
#include "platform/network/transport.h"
#include "platform/uikit/application.h"
#include "platform/uikit/window.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/adlib/render/opener_support.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::calls;

void (*previousPresentComposer)(id, id) = nullptr;

void registerOpenerDelegate() {
    ClassBuilder<NSObject>("TestOpenerDelegate", "NSObject")
        .method(sel::didOpenInApplication, [](id) { calls().push_back("didOpenInApplication"); })
        .method(sel::didLeaveApplication, [](id) { calls().push_back("didLeaveApplication"); });
    MSHookMessageEx(objc_getClass("YBXOpener"), sel::presentComposerController_,
                    +[](id self, id composer) {
                        calls().push_back("presentComposerController:");
                        previousPresentComposer(self, composer);
                    },
                    &previousPresentComposer);
}

class OpenerTest : public ::testing::Test {
protected:
    OpenerTest() {
        testing::installSDKCorePage();
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
        sel::addSubview_(sel::view(root.get()).get(), view.get());
        opener = makeOpener();
        calls().clear();
    }

    Ref<YBXOpener> makeOpener() {
        Ref<YBXOpener> made = as<YBXOpener>(newObject("YBXOpener"));
        sel::setSlot_(made.get(), slot.get());
        sel::setDelegate_(made.get(), delegate.get());
        sel::setViewController_(made.get(), root.get());
        sel::setWebView_(made.get(), view.get());
        return made;
    }

    Ref<Object> presented() { return sel::presentedViewController(root.get()); }
    std::vector<Value>& opened() { return UIApplication::sharedApplication()->openedURLs_; }
    static Ref<NSURL> url(std::string_view text) { return NSURL::URLWithString(text); }

    AdLibEnvironment env;
    // Before the members that are made of them.
    struct Recorders {
        Recorders() {
            testing::registerRecorders();
            registerOpenerDelegate();
        }
    } recorders;
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    Ref<Object> root = newObject("UIViewController");
    Ref<YBXWebView> view = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    Ref<Object> slot = newObject("TestRecordingSlot");
    Ref<Object> delegate = newObject("TestOpenerDelegate");
    Ref<YBXOpener> opener;
};

const std::vector<std::string> kInApp = {"slot pingClickURLs", "didOpenInApplication"};
const std::vector<std::string> kOutside = {"slot pingClickURLs", "didLeaveApplication"};

// --- the gate --------------------------------------------------------------------------------------

TEST_F(OpenerTest, TheGateOpensForUnprotectedAdsAndTouchedOnes) {
    struct Case {
        bool protectedAd, touched;
        bool opens;
    } cases[] = {{false, false, true}, {false, true, true}, {true, true, true}, {true, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::flag(c.protectedAd) + " " + testing::flag(c.touched));
        Ref<YBXOpener> o = makeOpener();
        sel::setAutoClickProtected_(o.get(), c.protectedAd);
        sel::setTouched_(view.get(), c.touched);
        sel::setNavigationURL_(o.get(), Value("http://shop.test/x"));
        sel::setAdDebugDialog_(view.get(), Value("ad 7"));
        opened().clear();
        calls().clear();
        const std::size_t before = webkit::ScriptedPages::shared().evaluated().size();
        sel::openApp_(o.get(), url("http://shop.test/x").get());
        platform::testing::advance(0);
        const std::vector<Value> blocked = testing::eventsNamed("navigationBlocked", before);
        if (c.opens) {
            EXPECT_EQ(opened().size(), 1u);
            EXPECT_TRUE(blocked.empty());
        } else {
            EXPECT_TRUE(opened().empty());
            EXPECT_TRUE(calls().empty());
            ASSERT_EQ(blocked.size(), 1u);
            EXPECT_EQ(blocked[0], (Value{{"navigationURL", "http://shop.test/x"}, {"debugDialog", "ad 7"}}));
        }
    }
}

TEST_F(OpenerTest, AnUntouchedProtectedAdOpensNothingAtAll) {
    sel::setAutoClickProtected_(opener.get(), true);
    sel::setNavigationURL_(opener.get(), Value("pmsg://ad/open"));
    const std::size_t before = webkit::ScriptedPages::shared().evaluated().size();
    sel::openBrowserToURL_supportedOrientations_(opener.get(), url("http://b.test/").get(), 1);
    sel::openWebApp_supportedOrientations_usingCustomClose_(opener.get(), url("http://w.test/").get(), 1, false);
    sel::openWebAppWithHTML_supportedOrientations_usingCustomClose_(opener.get(), Value("<b>x</b>"), 1, false);
    sel::expandToWebAppWithSupportedOrientations_usingCustomClose_(opener.get(), 1, false);
    sel::openEmailComposer_(opener.get(), url("mailto:a@b.test").get());
    sel::openSmsComposer_(opener.get(), url("sms:123").get());
    sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_(opener.get(), Value("42"), url("http://s.test/").get(), true);
    sel::openInAppPurchase_quantity_reportingURLStringFormats_(opener.get(), Value("p"), 1, Value::Array{});
    sel::openCalendarWithDictionary_(opener.get(), Value{{"start", "a"}, {"end", "b"}, {"summary", "s"}, {"description", "d"}, {"location", "l"}});
    sel::openPublisherToolbar_withAdContent_(opener.get(), Value(), Value("<b>ad</b>"));
    sel::openWebAppWithSize_offset_(opener.get(), Size{300, 250}, Point{0, 0});
    platform::testing::advance(1.0);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(opened().empty());
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(testing::eventsNamed("navigationBlocked", before).size(), 11u);
    // With a touch the resize still opens nothing, and blocks nothing.
    sel::setTouched_(view.get(), true);
    sel::openWebAppWithSize_offset_(opener.get(), Size{300, 250}, Point{0, 0});
    platform::testing::advance(0);
    EXPECT_EQ(testing::eventsNamed("navigationBlocked", before).size(), 11u);
    EXPECT_FALSE(presented());
}

// --- another app -------------------------------------------------------------------------------------

TEST_F(OpenerTest, LeavingForAnotherAppTellsEveryoneThenOpensAfterTheLoopTurns) {
    sel::openApp_(opener.get(), nullptr);
    platform::testing::advance(0);
    EXPECT_TRUE(calls().empty());
    EXPECT_TRUE(opened().empty());
    EXPECT_FALSE(sel::didOpenAnotherApplication(opener.get()));

    sel::openApp_(opener.get(), url("itms-apps://app/1").get());
    EXPECT_EQ(calls(), (std::vector<std::string>{"slot pingClickURLs", "didLeaveApplication", "slot adWillLeaveApplication",
                                                 "slot willLeaveAppDueToClick"}));
    EXPECT_TRUE(sel::didOpenAnotherApplication(opener.get()));
    EXPECT_TRUE(opened().empty());  // not inside the navigation decision
    platform::testing::advance(0);
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_EQ(testing::text(as<NSURL>(opened()[0].object())), "itms-apps://app/1");
}

// --- the store sheet -----------------------------------------------------------------------------------

TEST_F(OpenerTest, AWaitingStoreSheetShowsOnceLoadedOrOpensTheFallback) {
    storekit::setProductLoadAnswer(true, 0.5);
    sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_(opener.get(), Value("42"), url("http://s.test/").get(), true);
    platform::testing::advance(0.4);
    EXPECT_FALSE(presented());
    platform::testing::advance(0.1);
    auto* sheet = as<SKStoreProductViewController>(presented().get());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->loadedItemIdentifiers_, std::vector<Value>{Value(42)});
    EXPECT_EQ(sheet->delegate_.lock().get(), opener.get());
    EXPECT_EQ(calls(), kInApp);
    storekit::pressDone(sheet);
    EXPECT_FALSE(presented());

    calls().clear();
    storekit::setProductLoadAnswer(false, 0.5);
    sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_(opener.get(), Value("42"), url("http://s.test/").get(), true);
    platform::testing::advance(0.6);
    EXPECT_FALSE(presented());
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_EQ(testing::text(as<NSURL>(opened()[0].object())), "http://s.test/");
}

TEST_F(OpenerTest, ALoadedSheetIsNotShownFromAControllerBeingDismissed) {
    Ref<Object> cover = newObject("UIViewController");
    sel::presentViewController_animated_completion_(root.get(), cover.get(), false, Block());
    sel::setViewController_(opener.get(), cover.get());
    storekit::setProductLoadAnswer(true, 0.5);
    sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_(opener.get(), Value("42"), nullptr, true);
    // The user closes the cover just as the product arrives.
    as<UIViewController>(cover.get())->beingDismissed_ = true;
    platform::testing::advance(0.5);
    EXPECT_FALSE(sel::presentedViewController(cover.get()));
    EXPECT_TRUE(calls().empty());
}

TEST_F(OpenerTest, APreloadedSheetComesFromTheOpenerThenTheCacheThenANewLoad) {
    YBXApplication* application = YBXApplication::sharedApplication();
    application->setDiscardableStoreProductViewControllerAppCacheMaxSize(5);
    Ref<Object> first = sel::fetchInAppStoreForProductID_(opener.get(), Value("7"));
    ASSERT_TRUE(first);
    EXPECT_EQ(sel::fetchInAppStoreForProductID_(opener.get(), Value("7")).get(), first.get());
    EXPECT_EQ(as<SKStoreProductViewController>(first.get())->loadedItemIdentifiers_, std::vector<Value>{Value(7)});

    Ref<Object> cached = newObject("SKStoreProductViewController");
    application->finishedUsingStoreProductViewController(cached.get(), Value("8"));
    EXPECT_EQ(sel::fetchInAppStoreForProductID_(opener.get(), Value("8")).get(), cached.get());
    EXPECT_FALSE(application->cachedStoreProductViewControllerForProductID(Value("8")));
    EXPECT_EQ(sel::cachedStoreProductViewController(opener.get()).dictionary().size(), 2u);

    // Shown at once, before its product has loaded; the app hears of it once it is up.
    sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_(opener.get(), Value("7"), nullptr, false);
    EXPECT_EQ(presented().get(), first.get());
    EXPECT_TRUE(calls().empty());
    platform::testing::advance(0);
    EXPECT_EQ(calls(), kInApp);
    EXPECT_EQ(sel::cachedStoreProductViewController(opener.get()).dictionary().size(), 1u);

    // Only the sheet never shown goes back to the cache.
    opener = nullptr;
    EXPECT_EQ(application->cachedStoreProductViewControllerForProductID(Value("8")).get(), cached.get());
    EXPECT_FALSE(application->cachedStoreProductViewControllerForProductID(Value("7")));
    EXPECT_EQ(presented().get(), first.get());
}

// --- purchases, browser, web apps, expansion ----------------------------------------------------------------

TEST_F(OpenerTest, APurchaseGoesToTheSlot) {
    sel::openInAppPurchase_quantity_reportingURLStringFormats_(opener.get(), Value("gold"), 3, Value::array({"http://r.test/@sku@"}));
    EXPECT_EQ(calls(), (std::vector<std::string>{"slot didReceiveInAppPurchase:", "slot pingClickURLs", "didOpenInApplication"}));
    auto& purchases = as<testing::RecordingSlot>(slot.get())->purchases;
    ASSERT_EQ(purchases.size(), 1u);
    EXPECT_EQ(sel::productID(purchases[0].get()), Value("gold"));
    EXPECT_EQ(sel::quantity(purchases[0].get()), 3);
    EXPECT_EQ(sel::reportingURLStringFormats(purchases[0].get()), Value::array({"http://r.test/@sku@"}));
    sel::setQuantity_(purchases[0].get(), 11);
    EXPECT_EQ(sel::quantity(purchases[0].get()), 0);
}

TEST_F(OpenerTest, TheBrowserAndWebAppsAreHandedWhatTheyShow) {
    // In a hidden window nothing appears, so what each controller was handed stays kept.
    sel::setHidden_(window.get(), true);
    sel::setReferringURL_(opener.get(), url("http://ads.test/creative").get());
    sel::openBrowserToURL_supportedOrientations_(opener.get(), url("http://b.test/").get(), 3);
    auto* browser = as<YBXBrowserViewController>(presented().get());
    ASSERT_TRUE(isKindOfClass(browser, "YBXBrowserViewController"));
    EXPECT_EQ(testing::text(browser->URLToLoad_.get()), "http://b.test/");
    EXPECT_EQ(testing::text(browser->referringURLToLoad_.get()), "http://ads.test/creative");
    EXPECT_EQ(browser->supportedOrientations_, 3);
    EXPECT_EQ(browser->slot_.lock().get(), slot.get());
    EXPECT_EQ(calls(), kInApp);
    sel::dismissViewControllerAnimated_completion_(root.get(), false, Block());

    sel::openWebApp_supportedOrientations_usingCustomClose_(opener.get(), url("http://w.test/").get(), 2, true);
    auto* webApp = as<YBXWebAppViewController>(presented().get());
    ASSERT_TRUE(isKindOfClass(webApp, "YBXWebAppViewController"));
    EXPECT_EQ(testing::text(webApp->URLToLoad_.get()), "http://w.test/");
    EXPECT_EQ(webApp->supportedOrientations_, 2);
    sel::dismissViewControllerAnimated_completion_(root.get(), false, Block());

    sel::openWebAppWithHTML_supportedOrientations_usingCustomClose_(opener.get(), Value("<b>hi</b>"), 1, false);
    auto* html = as<YBXWebAppViewController>(presented().get());
    ASSERT_TRUE(html);
    EXPECT_EQ(html->HTMLToLoad_, Value("<b>hi</b>"));
    EXPECT_FALSE(html->HTMLBaseURLToLoad_);
    sel::dismissViewControllerAnimated_completion_(root.get(), false, Block());

    // Nothing to present from: nothing opens.
    calls().clear();
    sel::setViewController_(opener.get(), nullptr);
    sel::openBrowserToURL_supportedOrientations_(opener.get(), url("http://b.test/").get(), 1);
    sel::openWebApp_supportedOrientations_usingCustomClose_(opener.get(), url("http://w.test/").get(), 1, false);
    sel::openWebApp_supportedOrientations_usingCustomClose_(opener.get(), nullptr, 1, false);
    EXPECT_TRUE(calls().empty());
}

TEST_F(OpenerTest, ExpandingMovesTheCreativeIntoAFullScreenControllerOnce) {
    sel::expandToWebAppWithSupportedOrientations_usingCustomClose_(opener.get(), 1, false);
    auto* expanded = as<YBXWebAppViewController>(presented().get());
    ASSERT_TRUE(isKindOfClass(expanded, "YBXWebAppViewController"));
    EXPECT_EQ(expanded->webView_.get(), view.get());
    EXPECT_EQ(calls(), kInApp);
    // Inside the full-screen controller already: nowhere further to go.
    calls().clear();
    sel::setViewController_(opener.get(), expanded);
    sel::expandToWebAppWithSupportedOrientations_usingCustomClose_(opener.get(), 1, false);
    EXPECT_FALSE(sel::presentedViewController(expanded));
    EXPECT_TRUE(calls().empty());
}

// A resized creative leaves its banner for the size asked, at the offset from
// where it showed, over the presenter's view; it opens and pings nothing.
TEST_F(OpenerTest, AResizeLiftsTheCreativeOverThePresenterAtItsOffset) {
    struct Case {
        const char* name;
        Size size;
        bool fullScreen;
        bool moves;
    };
    const Case cases[] = {
        {"resize", {320, 250}, false, true},
        {"no geometry", {0, 0}, false, false},
        {"a negative height", {320, -250}, false, false},
        {"full screen already", {320, 250}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<UIView> banner = UIView::make<UIView>("UIView", Rect(0, 20, 320, 50));
        sel::addSubview_(sel::view(root.get()).get(), banner.get());
        sel::addSubview_(banner.get(), view.get());
        sel::setFrame_(view.get(), Rect(0, 0, 320, 50));
        Ref<Object> fullScreen = newObject("YBXViewController");
        sel::setViewController_(opener.get(), c.fullScreen ? fullScreen.get() : root.get());
        calls().clear();
        sel::openWebAppWithSize_offset_(opener.get(), c.size, Point{0, 10});
        if (c.moves) {
            EXPECT_EQ(sel::superview(view.get()).get(), sel::view(root.get()).get());
            EXPECT_EQ(sel::frame(view.get()), Rect(0, 30, 320, 250));
        } else {
            EXPECT_EQ(sel::superview(view.get()).get(), banner.get());
            EXPECT_EQ(sel::frame(view.get()), Rect(0, 0, 320, 50));
        }
        EXPECT_FALSE(presented());
        EXPECT_TRUE(calls().empty());
        sel::removeFromSuperview(banner.get());
    }
}

// --- composers -------------------------------------------------------------------------------------------

TEST_F(OpenerTest, MailtoAddresses) {
    struct Case {
        const char* url;
        Value to, cc, bcc, subject, body;
    } cases[] = {
        {"mailto:a@b.test", Value::array({"a@b.test"}), Value(), Value(), Value(), Value()},
        {"mailto:a@b.test,c@d.test?CC=e@f.test,g@h.test&subject=Hi%20there&body=Text", Value::array({"a@b.test", "c@d.test"}),
         Value::array({"e@f.test", "g@h.test"}), Value(), Value("Hi there"), Value("Text")},
        {"mailto:a%40b.test,,?Bcc=x@y.test", Value::array({"a@b.test"}), Value(), Value::array({"x@y.test"}), Value(), Value()},
        {"mailto:?subject=s", Value::Array{}, Value(), Value(), Value("s"), Value()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        calls().clear();
        sel::openEmailComposer_(opener.get(), url(c.url).get());
        auto* mail = as<MFMailComposeViewController>(presented().get());
        ASSERT_TRUE(mail);
        EXPECT_EQ(mail->toRecipients_, c.to);
        EXPECT_EQ(mail->ccRecipients_, c.cc);
        EXPECT_EQ(mail->bccRecipients_, c.bcc);
        EXPECT_EQ(mail->subject_, c.subject);
        EXPECT_EQ(mail->messageBody_, c.body);
        EXPECT_FALSE(mail->messageBodyIsHTML_);
        EXPECT_EQ(mail->modalTransitionStyle_, 0);
        EXPECT_EQ(mail->mailComposeDelegate_.lock().get(), opener.get());
        EXPECT_EQ(calls(), (std::vector<std::string>{"presentComposerController:", "slot pingClickURLs", "didLeaveApplication"}));
        messageui::finish(mail, MFMailComposeResultSent);
        EXPECT_FALSE(presented());
    }
}

TEST_F(OpenerTest, SmsRecipientsAndBody) {
    sel::openSmsComposer_(opener.get(), url("sms:123,456?body=Hello%20you").get());
    auto* sms = as<MFMessageComposeViewController>(presented().get());
    ASSERT_TRUE(sms);
    EXPECT_EQ(sms->recipients_, Value::array({"123", "456"}));
    EXPECT_EQ(sms->body_, Value("Hello you"));
    EXPECT_EQ(sms->messageComposeDelegate_.lock().get(), opener.get());
    messageui::finish(sms, MessageComposeResultCancelled);
    EXPECT_FALSE(presented());

    sel::openSmsComposer_(opener.get(), url("sms:789").get());
    sms = as<MFMessageComposeViewController>(presented().get());
    ASSERT_TRUE(sms);
    EXPECT_EQ(sms->recipients_, Value::array({"789"}));
    EXPECT_TRUE(sms->body_.isNil());
}

TEST_F(OpenerTest, WithoutTheCapabilityNoComposerAndNoPing) {
    messageui::setCanSendMail(false);
    messageui::setCanSendText(false);
    sel::openEmailComposer_(opener.get(), url("mailto:a@b.test").get());
    sel::openSmsComposer_(opener.get(), url("sms:123").get());
    platform::testing::advance(1.0);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(calls().empty());
}

TEST_F(OpenerTest, AComposerWaitsForItsFullScreenControllerToAppear) {
    Ref<Object> fullScreen = newObject("YBXWebAppViewController");
    sel::presentViewController_animated_completion_(root.get(), fullScreen.get(), false, Block());
    // A platform that has not reported the appearance yet.
    as<YBXViewController>(fullScreen.get())->viewDidAppear_ = false;
    sel::setViewController_(opener.get(), fullScreen.get());
    sel::openEmailComposer_(opener.get(), url("mailto:a@b.test").get());
    platform::testing::advance(0.3);
    EXPECT_FALSE(sel::presentedViewController(fullScreen.get()));
    as<YBXViewController>(fullScreen.get())->viewDidAppear_ = true;
    platform::testing::advance(0.25);
    EXPECT_TRUE(isKindOfClass(sel::presentedViewController(fullScreen.get()).get(), "MFMailComposeViewController"));
}

TEST_F(OpenerTest, AComposerWhoseControllerClosesFirstIsDropped) {
    UIApplication::sharedApplication()->statusBarHidden_ = true;
    Ref<Object> fullScreen = newObject("YBXWebAppViewController");
    sel::presentViewController_animated_completion_(root.get(), fullScreen.get(), false, Block());
    // A platform that has not reported the appearance yet.
    as<YBXViewController>(fullScreen.get())->viewDidAppear_ = false;
    sel::setViewController_(opener.get(), fullScreen.get());
    sel::openSmsComposer_(opener.get(), url("sms:123").get());
    platform::testing::advance(0.3);
    sel::dismissViewControllerAnimated_completion_(root.get(), false, Block());
    calls().clear();
    platform::testing::advance(5.0);
    EXPECT_EQ(calls(), std::vector<std::string>{"presentComposerController:"});  // the last try
    EXPECT_FALSE(sel::presentedViewController(fullScreen.get()));
    EXPECT_FALSE(presented());
    // The publisher's own controller shows a composer and the hidden bar stays hidden.
    sel::setViewController_(opener.get(), root.get());
    sel::openSmsComposer_(opener.get(), url("sms:123").get());
    EXPECT_TRUE(isKindOfClass(presented().get(), "MFMessageComposeViewController"));
    EXPECT_TRUE(sel::isStatusBarHidden(UIApplication::sharedApplication()));
}

// --- calendar -----------------------------------------------------------------------------------------------

Value calendarEvent() {
    return Value{{"start", "2026-12-11T10:00:00+01:00"}, {"end", "2026-12-11T11:30:00Z"}, {"summary", "Sale"},
                 {"description", "Winter sale"}, {"location", "Main Street"}};
}

TEST_F(OpenerTest, TheCalendarEditorGetsTheFiveFields) {
    for (const char* missing : {"start", "end", "summary", "description", "location"}) {
        Value partial = calendarEvent();
        partial.mutableDictionary().erase(missing);
        sel::openCalendarWithDictionary_(opener.get(), partial);
        EXPECT_FALSE(presented()) << missing;
    }
    sel::openCalendarWithDictionary_(opener.get(), calendarEvent());
    auto* editor = as<EKEventEditViewController>(presented().get());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->editViewDelegate_.lock().get(), opener.get());
    ASSERT_TRUE(editor->eventStore_);
    Ref<Object> event = editor->event_;
    EXPECT_EQ(sel::title(event.get()), Value("Winter sale"));
    EXPECT_EQ(sel::notes(event.get()), Value("Sale"));
    EXPECT_EQ(sel::eventLocation(event.get()), Value("Main Street"));
    EXPECT_EQ(sel::startDate(event.get()).date().unix(), 1796979600.0);
    EXPECT_EQ(sel::endDate(event.get()).date().unix(), 1796988600.0);
    EXPECT_EQ(eventkit::pendingAccessRequests(), 1u);
    eventkit::finish(editor, EKEventEditViewActionSaved);
    EXPECT_FALSE(presented());
}

TEST_F(OpenerTest, CalendarDatesParseOnlyInTheirOneFormat) {
    struct Case {
        const char* text;
        bool parses;
    } cases[] = {{"2026-12-11T10:00:00+01:00", true}, {"2026-12-11T10:00:00Z", true}, {"2026-12-11T10:00+01:00", false},
                 {"2026-12-11 10:00:00+01:00", false}, {"tomorrow", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Value dictionary = calendarEvent();
        dictionary.mutableDictionary()["start"] = Value(c.text);
        Ref<Object> properties = sel::initWithDictionary_(alloc("YBXMRAIDCalendarProperties"), dictionary);
        ASSERT_TRUE(properties);
        EXPECT_EQ(!sel::startTime(properties.get()).isNil(), c.parses);
    }
    EXPECT_EQ(sel::dateFormatter(objc_getClass("YBXMRAIDCalendarProperties")).get(),
              sel::dateFormatter(objc_getClass("YBXMRAIDCalendarProperties")).get());
}

TEST_F(OpenerTest, ADeniedCalendarTellsTheCreative) {
    const std::size_t before = webkit::ScriptedPages::shared().evaluated().size();
    for (bool granted : {true, false}) {
        sel::openCalendarWithDictionary_(opener.get(), calendarEvent());
        // Shown before the answer comes.
        ASSERT_TRUE(isKindOfClass(presented().get(), "EKEventEditViewController"));
        eventkit::answerAccessRequests(granted);
        sel::dismissViewControllerAnimated_completion_(root.get(), false, Block());
    }
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return !testing::eventsNamed("onCalendarEventCanceled", before).empty(); }, 5.0));
    platform::testing::advance(0);
    // Only the denial, with no data, into the opener's web view.
    EXPECT_EQ(testing::eventsNamed("onCalendarEventCanceled", before), std::vector<Value>{Value()});
}

// --- the publisher toolbar -------------------------------------------------------------------------------------

TEST_F(OpenerTest, TheToolbarWaitsForAnotherControllerToGo) {
    // Its script arrives, so the toolbar stays up (a failed download closes it).
    auto transport = std::make_shared<ScriptedTransport>();
    network::setTransport(transport);
    transport->answer(YBXAdServerBaseURL() + kYBXToolbarScriptPath, ScriptedTransport::Script::body({"TOOLBAR_SCRIPT"}));
    sel::openPublisherToolbar_withAdContent_(opener.get(), Value(), Value("<b>ad</b>"));
    auto* toolbar = as<YBXPublisherToolbarController>(presented().get());
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(toolbar->adUnitID_, Value("unit-1"));
    EXPECT_EQ(toolbar->adContent_, Value("<b>ad</b>"));
    sel::dismissViewControllerAnimated_completion_(root.get(), false, Block());

    Ref<Object> other = newObject("UIViewController");
    sel::presentViewController_animated_completion_(root.get(), other.get(), false, Block());
    sel::openPublisherToolbar_withAdContent_(opener.get(), Value("unit-2"), Value("<i>ad</i>"));
    EXPECT_FALSE(presented());  // the other one went first
    platform::testing::advance(0);
    toolbar = as<YBXPublisherToolbarController>(presented().get());
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(toolbar->adUnitID_, Value("unit-2"));
}

}  // namespace
}  // namespace adlib

// The creative message handler families: which message reaches which
// operation and what the operation hands on, read through a recording opener
// and slot; the default handler's touches, sounds, log, URL probe and close;
// app events; the web app's close button and transparency.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/signals.h"
#include "adlib/render/pmsg_handlers.h"
#include "adlib/render/view_controller.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/log.h"
#include "platform/frameworks/sound_record.h"
#include "platform/network/request.h"
#include "platform/uikit/application.h"
#include "platform/uikit/window.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/adlib/render/opener_support.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::calls;
using testing::clickURLFor;
using testing::RecordingOpener;
using testing::RecordingSlot;

void (*previousRelinquish)(id) = nullptr;
void (*previousCustomClose)(id, bool) = nullptr;
void (*previousTransparent)(id, bool) = nullptr;

void hookControllers() {
    MSHookMessageEx(objc_getClass("YBXViewController"), sel::relinquishScreen,
                    +[](id self) {
                        calls().push_back("relinquishScreen");
                        previousRelinquish(self);
                    },
                    &previousRelinquish);
    MSHookMessageEx(objc_getClass("YBXWebAppViewController"), sel::setUseCustomClose_,
                    +[](id self, bool on) {
                        calls().push_back("setUseCustomClose: " + testing::flag(on));
                        previousCustomClose(self, on);
                    },
                    &previousCustomClose);
    MSHookMessageEx(objc_getClass("YBXWebAppViewController"), sel::setTransparentInterstitial_,
                    +[](id self, bool on) {
                        calls().push_back("setTransparentInterstitial: " + testing::flag(on));
                        previousTransparent(self, on);
                    },
                    &previousTransparent);
}

class AppEventDelegate : public NSObject {};

void registerAppEventDelegate() {
    ClassBuilder<AppEventDelegate>("TestAppEventDelegate", "NSObject")
        .method(sel::slot_didReceiveAppEvent_withInfo_, [](id, id slot, Value name, Value info) {
            calls().push_back("appEvent " + testing::text(name) + " " + testing::text(info) + (slot ? " from slot" : ""));
        });
}

class Handlers : public ::testing::Test {
protected:
    Handlers() {
        recorder()->storeSupported = true;
        sel::setSlot_(opener.get(), slot.get());
        calls().clear();
    }

    RecordingOpener* recorder() { return as<RecordingOpener>(opener.get()); }

    // Sends the message to the handler; whether it took it.
    bool send(id handler, std::string_view url) {
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get());
        return sel::handleRequest_webView_(handler, request.get(), view.get());
    }

    AdLibEnvironment env;
    // Before the members that are made of them.
    struct Recorders {
        Recorders() {
            testing::registerRecorders();
            testing::hookClickTracker();
            hookControllers();
            registerAppEventDelegate();
        }
    } recorders;
    Ref<YBXWebView> view = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    Ref<Object> slot = newObject("TestRecordingSlot");
    Ref<Object> opener = newObject("TestRecordingOpener");
    Ref<Object> openerHandler = sel::initWithOpener_(alloc("YBXOpenerPMSGHandler"), opener.get());
    Ref<Object> defaultHandler = newObject("YBXDefaultPMSGHandler");
};

TEST_F(Handlers, EachMessageReachesItsOperation) {
    const std::string shop = "http://shop.test/x";
    const std::vector<std::string> app = {"gate", "slot adWasClicked", "openApp: " + clickURLFor(shop)};
    struct Case {
        const char* url;
        bool opener;  // else the default handler
        bool taken;
        std::vector<std::string> calls;
    } cases[] = {
        // names, exactly
        {"pmsg://ad/httpTrack?u=http://t.test/p", false, true, {"track http://t.test/p"}},
        {"pmsg://ad/httpTrack", false, true, {}},
        {"pmsg://ad/HTTPTRACK?u=http://t.test/p", false, false, {}},
        {"http://ad/httpTrack?u=http://t.test/p", false, false, {}},
        {"pmsg://ad/nothing", false, false, {}},
        {"pmsg://ad/open?a=app&u=http://shop.test/x", false, false, {}},
        // clicks ping only
        {"pmsg://ad/click?u=http://shop.test/x", true, true, {"track " + clickURLFor(shop)}},
        {"pmsg://ad/click", true, true, {}},
        // "open" and its sub-actions
        {"pmsg://ad/open?a=app&u=http://shop.test/x", true, true, app},
        {"pmsg://ad/open?u=http://shop.test/x", true, true, app},
        {"pmsg://ad/open?a=somewhere&u=http://shop.test/x", true, true, app},
        {"pmsg://ad/open", true, true, {}},
        {"pmsg://ad/open?a=call&u=tel:123", true, true, {"gate", "slot adWasClicked", "openApp: " + clickURLFor("tel:123")}},
        {"pmsg://ad/open?a=video&u=http://v.test/m&o=l", true, true, {"browser http://v.test/m 3"}},
        {"pmsg://ad/open?a=browser&u=http://b.test/&o=p", true, true, {"browser http://b.test/ 2"}},
        {"pmsg://ad/open?a=browser&u=http://b.test/&o=x", true, true, {"browser http://b.test/ 1"}},
        {"pmsg://ad/open?a=browser", true, true, {}},
        {"pmsg://ad/open?a=webapp&u=http://w.test/&custom_close=1", true, true, {"webapp http://w.test/ 1 YES"}},
        {"pmsg://ad/open?a=webapp&html=%3Cb%3Ehi%3C/b%3E&o=l&custom_close=0", true, true, {"webapp html <b>hi</b> 3 NO"}},
        {"pmsg://ad/open?a=webapp", true, true, {}},
        {"pmsg://ad/open?a=expand&o=p&custom_close=1", true, true, {"expand 2 YES"}},
        {"pmsg://ad/open?a=expand", true, true, {"expand 1 NO"}},
        // the store sheet: only an absent or exact "true" waits
        {"pmsg://ad/open?a=in_app_store&product_id=42&u=http://s.test/", true, true, {"store 42 http://s.test/ wait YES"}},
        {"pmsg://ad/open?a=in_app_store&product_id=42&u=http://s.test/&wait_for_fetch=true", true, true, {"store 42 http://s.test/ wait YES"}},
        {"pmsg://ad/open?a=in_app_store&product_id=42&u=http://s.test/&wait_for_fetch=TRUE", true, true, {"store 42 http://s.test/ wait NO"}},
        {"pmsg://ad/open?a=in_app_store&product_id=42&u=http://s.test/&wait_for_fetch=", true, true, {"store 42 http://s.test/ wait NO"}},
        {"pmsg://ad/open?a=in_app_store&product_id=42&u=http://s.test/&wait_for_fetch=false", true, true, {"store 42 http://s.test/ wait NO"}},
        // without a product the fallback opens outside
        {"pmsg://ad/open?a=in_app_store&u=http://s.test/", true, true, {"openApp: http://s.test/"}},
        {"pmsg://ad/open?a=in_app_store&product_id=&u=http://s.test/", true, true, {"openApp: http://s.test/"}},
        {"pmsg://ad/fetchAppStore?product_id=42", true, true, {"fetch 42"}},
        {"pmsg://ad/fetchAppStore", true, true, {}},
        // purchases
        {"pmsg://ad/open?a=in_app_purchase&quantity=2", true, true, {}},
        {"pmsg://ad/open?a=in_app_purchase&product_id=p&quantity=2&report_urls=%20http://r.test/a%0Ahttp://r.test/b%20%20%0D%0Ahttp://r.test/c%0A",
         true, true, {"purchase p 2 [http://r.test/a] [http://r.test/b] [http://r.test/c]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        calls().clear();
        EXPECT_EQ(send(c.opener ? openerHandler.get() : defaultHandler.get(), c.url), c.taken);
        EXPECT_EQ(calls(), c.calls);
    }
}

TEST_F(Handlers, APurchaseNeedsAQuantityFromOneToTen) {
    struct Case {
        const char* quantity;
        const char* expected;  // nullptr: nothing
    } cases[] = {{"0", nullptr}, {"1", "purchase p 1"}, {"10", "purchase p 10"}, {"11", nullptr}, {"x", nullptr}, {"3abc", "purchase p 3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quantity);
        calls().clear();
        send(openerHandler.get(), std::string("pmsg://ad/open?a=in_app_purchase&product_id=p&quantity=") + c.quantity);
        EXPECT_EQ(calls(), c.expected ? std::vector<std::string>{c.expected} : std::vector<std::string>{});
    }
}

TEST_F(Handlers, AStoreThatCannotShowSheetsOpensTheFallback) {
    recorder()->storeSupported = false;
    send(openerHandler.get(), "pmsg://ad/open?a=in_app_store&product_id=42&u=http://s.test/");
    send(openerHandler.get(), "pmsg://ad/fetchAppStore?product_id=42");
    EXPECT_EQ(calls(), std::vector<std::string>{"openApp: http://s.test/"});
}

TEST_F(Handlers, ABlockedClickIsNotCounted) {
    recorder()->gate = false;
    send(openerHandler.get(), "pmsg://ad/open?a=app&u=http://shop.test/x");
    EXPECT_EQ(calls(), std::vector<std::string>{"gate"});
}

TEST_F(Handlers, TouchesNeedAllThreeValues) {
    send(defaultHandler.get(), "pmsg://ad/touch?tx=10&ty=20&td=300");
    YBXLastTouch touch = signals::lastTouch();
    EXPECT_EQ((std::vector<std::uint32_t>{touch.x, touch.y, touch.duration}), (std::vector<std::uint32_t>{10, 20, 300}));
    EXPECT_TRUE(send(defaultHandler.get(), "pmsg://ad/touch?tx=5"));
    touch = signals::lastTouch();
    EXPECT_EQ((std::vector<std::uint32_t>{touch.x, touch.y, touch.duration}), (std::vector<std::uint32_t>{10, 20, 300}));
    EXPECT_EQ(sel::integerForKey_fromDictionary_withDefaultValue_(objc_getClass("YBXDefaultPMSGHandler"), Value("k"),
                                                                   Value{{"k", Value::array({1})}}, -1),
              -1);
}

TEST_F(Handlers, VibrateAndLog) {
    send(defaultHandler.get(), "pmsg://ad/vibrate");
    ASSERT_EQ(sound::systemSounds().size(), 1u);
    EXPECT_EQ(sound::systemSounds()[0].soundID, 4095u);
    send(defaultHandler.get(), "pmsg://ad/log?string=hello%20there%20%25@");
    EXPECT_TRUE(log::contains("hello there %@"));
}

TEST_F(Handlers, CanOpenURLsAnswersThePage) {
    uikit::setCanOpenScheme("fb", false);
    const std::size_t before = webkit::ScriptedPages::shared().evaluated().size();
    send(defaultHandler.get(), "pmsg://ad/canOpenURLs?urls=fb://profile,http://site.test/");
    platform::testing::advance(0);
    std::vector<Value> events = testing::eventsNamed("openableURLs", before);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], (Value{{"fb://profile", false}, {"http://site.test/", true}}));
}

TEST_F(Handlers, CloseGivesBackAFullScreenControllersScreen) {
    Ref<Object> plain = newObject("UIViewController");
    sel::setViewController_(view.get(), plain.get());
    EXPECT_TRUE(send(defaultHandler.get(), "pmsg://ad/close"));
    EXPECT_TRUE(calls().empty());
    Ref<Object> full = newObject("YBXBrowserViewController");
    sel::setViewController_(view.get(), full.get());
    send(defaultHandler.get(), "pmsg://ad/close");
    EXPECT_EQ(calls(), std::vector<std::string>{"relinquishScreen"});
}

TEST_F(Handlers, AppEventsReachTheSlotDelegate) {
    Ref<Object> recordingSlot = newObject("TestRecordingSlot");
    Ref<Object> delegate = newObject("TestAppEventDelegate");
    Ref<Object> handler = sel::initWithSlot_(alloc("YBXAppEventPMSGHandler"), recordingSlot.get());
    EXPECT_TRUE(send(handler.get(), "pmsg://ad/appEvent?name=level&info=3"));
    EXPECT_TRUE(calls().empty());  // no delegate yet
    as<RecordingSlot>(recordingSlot.get())->slotDelegate = WeakRef<Object>(delegate.get());
    send(handler.get(), "pmsg://ad/appEvent?name=level&info=3");
    send(handler.get(), "pmsg://ad/appEvent?name=start");
    send(handler.get(), "pmsg://ad/appEvent?info=3");
    EXPECT_FALSE(send(handler.get(), "pmsg://ad/open?u=http://shop.test/"));
    EXPECT_EQ(calls(), (std::vector<std::string>{"appEvent level 3 from slot", "appEvent start nil from slot"}));
}

TEST_F(Handlers, TheWebAppsCloseButtonAndTransparency) {
    Ref<Object> handler = newObject("YBXWebAppPMSGHandler");
    Ref<Object> browser = newObject("YBXBrowserViewController");
    sel::setViewController_(view.get(), browser.get());
    send(handler.get(), "pmsg://ad/customClose?custom_close=1");
    send(handler.get(), "pmsg://ad/setInterstitialProperties?transparentBackground=1");
    EXPECT_TRUE(calls().empty());

    Ref<Object> webApp = newObject("YBXWebAppViewController");
    sel::setViewController_(view.get(), webApp.get());
    EXPECT_TRUE(send(handler.get(), "pmsg://ad/customClose?custom_close=1"));
    send(handler.get(), "pmsg://ad/customClose?custom_close=true");
    send(handler.get(), "pmsg://ad/setInterstitialProperties");
    send(handler.get(), "pmsg://ad/setInterstitialProperties?transparentBackground=1");
    send(handler.get(), "pmsg://ad/setInterstitialProperties?transparentBackground=0");
    EXPECT_EQ(calls(), (std::vector<std::string>{"setUseCustomClose: YES", "setUseCustomClose: NO", "setTransparentInterstitial: YES",
                                                 "setTransparentInterstitial: NO"}));
    // Once shown, the way it is shown stays.
    calls().clear();
    Ref<UIWindow> window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    sel::addSubview_(window.get(), sel::view(webApp.get()).get());
    send(handler.get(), "pmsg://ad/setInterstitialProperties?transparentBackground=1");
    EXPECT_TRUE(calls().empty());
}

TEST_F(Handlers, EachClassHasOneTable) {
    Ref<Object> second = newObject("YBXDefaultPMSGHandler");
    EXPECT_EQ(sel::actionSelectors(second.get()), sel::actionSelectors(defaultHandler.get()));
    EXPECT_EQ(sel::actionSelectors(defaultHandler.get()).dictionary().size(), 6u);
    EXPECT_EQ(sel::actionSelectors(openerHandler.get()).dictionary().size(), 3u);
    EXPECT_EQ(sel::subActionSelectorDictionary(objc_getClass("YBXOpenerPMSGHandler")).dictionary().size(), 8u);
    EXPECT_EQ(sel::opener(openerHandler.get()).get(), opener.get());
}

}  // namespace
}  // namespace adlib

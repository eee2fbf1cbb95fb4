// An MRAID banner end to end on 127.0.0.1: the slot gets its ad from our ad
// server, the real page engine loads the creative's "mraid.js" through the
// MRAID interceptor (which serves the server's banner script on its own
// thread), the slot tells the creative it is ready, and the creative's
// requests come back as pmsg messages to the MRAID handler and the opener.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/render/mraid_picture.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/connection.h"
#include "platform/network/url_protocol.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tests/adlib/pipeline/slot_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using testing::neighbourLog;

// What reached the opener.
std::vector<std::string>& openerCalls() {
    static std::vector<std::string> calls;
    return calls;
}
Value& calendarEvent() {
    static Value event;
    return event;
}

void (*previousResize)(id, Size, Point) = nullptr;
void (*previousCalendar)(id, Value) = nullptr;

void recordResize(id self, Size size, Point offset) {
    openerCalls().push_back("resize " + std::to_string(int(size.width)) + "x" + std::to_string(int(size.height)) + " at " +
                            std::to_string(int(offset.x)) + "," + std::to_string(int(offset.y)));
    if (previousResize) previousResize(self, size, offset);
}
void recordCalendar(id self, Value event) {
    openerCalls().push_back("calendar");
    calendarEvent() = event;
    if (previousCalendar) previousCalendar(self, event);
}

// A hook on the opener's MRAID openings; an opener without them yet gets recording ones.
void hookOpener() {
    Class* opener = objc_getClass("YBXOpener");
    if (!class_respondsToSelector(opener, sel::openWebAppWithSize_offset_.name)) class_addMethod(opener, sel::openWebAppWithSize_offset_, &recordResize);
    else MSHookMessageEx(opener, sel::openWebAppWithSize_offset_, &recordResize, &previousResize);
    if (!class_respondsToSelector(opener, sel::openCalendarWithDictionary_.name)) class_addMethod(opener, sel::openCalendarWithDictionary_, &recordCalendar);
    else MSHookMessageEx(opener, sel::openCalendarWithDictionary_, &recordCalendar, &previousCalendar);
}

class MRAIDLoopback : public testing::LoopbackTest {
protected:
    void SetUp() override {
        testing::LoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        hookOpener();
    }
    void TearDown() override {
        slot = nullptr;
        RunLoop::main().runUntil([] { return network::runningProtocolLoads() == 0; }, 10.0);
        testing::LoopbackTest::TearDown();
    }

    // Requests an ad; the slot's response processing renders it into its web
    // view, and the new creative (not the page before it) becomes ready.
    void requestAndRender() {
        if (sel::webView(slot.get())) eval("window.previousPage = true");
        const std::size_t before = neighbourLog().loadedAds.size();
        sel::loadRequest_(slot.get(), testing::makeRequest().get());
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return neighbourLog().loadedAds.size() > before; }, 10.0));
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return eval("!window.previousPage && window.mraid ? mraid.getState() : ''") == "default"; }, 10.0));
    }
    std::string eval(const std::string& script) {
        return sel::stringByEvaluatingJavaScriptFromString_(sel::webView(slot.get()).get(), Value(script)).stringOr("");
    }
    std::vector<std::string> loggedPaths() {
        std::vector<std::string> paths;
        for (const auto& entry : server.log().entries()) paths.push_back(entry.path);
        return paths;
    }
    long long count(const std::string& path) {
        const auto paths = loggedPaths();
        return std::count(paths.begin(), paths.end(), path);
    }

    Ref<YBXSlot> slot;
};

TEST_F(MRAIDLoopback, AnMRAIDBannerGetsItsScriptBecomesReadyAndAsksTheLibrary) {
    slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    sel::setAdUnitID_(slot.get(), Value("mraid-banner"));
    requestAndRender();
    EXPECT_EQ(slot->state_, YBXSlotStateValidAd);
    EXPECT_TRUE(sel::isMRAIDEnabled(slot.get()));
    // The banner script came from the server; the creative's own "mraid.js" never reached it.
    EXPECT_EQ(count(rousa::adserver::kMRAIDBannerScriptPath), 1);
    EXPECT_EQ(count("/mads/mraid.js"), 0);
    EXPECT_EQ(eval("mraid.getPlacementType()"), "inline");
    EXPECT_EQ(eval("String(mraid.supports('storePicture'))"), "true");
    EXPECT_EQ(eval("mraid.getScreenSize().width > 0 ? 'sized' : 'unsized'"), "sized");

    eval("mraid.setResizeProperties({width: 300, height: 250, offsetX: 0, offsetY: 20, customClosePosition: 'top-left',"
         " allowOffscreen: false}); mraid.resize();"
         "mraid.createCalendarEvent({start: '2026-12-24T18:00:00+01:00', end: '2026-12-24T20:00:00+01:00', summary: 'Eve',"
         " description: 'Dinner', location: 'Home'});"
         "mraid.storePicture('" + server.baseURL() + "/landing.png');");
    ASSERT_TRUE(RunLoop::main().runUntil([] { return openerCalls().size() == 2 && !UIAlertView::visibleAlerts().empty(); }, 10.0));
    EXPECT_EQ(openerCalls(), (std::vector<std::string>{"resize 300x250 at 0,20", "calendar"}));
    const Value& event = calendarEvent();
    EXPECT_EQ(event["start"], Value("2026-12-24T18:00:00+01:00"));
    EXPECT_EQ(event["end"], Value("2026-12-24T20:00:00+01:00"));
    EXPECT_EQ(event["summary"], Value("Eve"));
    EXPECT_EQ(event["description"], Value("Dinner"));
    EXPECT_EQ(event["location"], Value("Home"));
    ASSERT_EQ(UIAlertView::visibleAlerts().size(), 1u);
    EXPECT_EQ(UIAlertView::visibleAlerts()[0]->title_, Value(kYBXMRAIDPictureAlertTitle));
}

TEST_F(MRAIDLoopback, ARefreshGetsTheScriptAgain) {
    slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    sel::setAdUnitID_(slot.get(), Value("mraid-banner"));
    requestAndRender();
    requestAndRender();
    EXPECT_EQ(count(rousa::adserver::kMRAIDBannerScriptPath), 2);
    EXPECT_EQ(count("/mads/mraid.js"), 0);
    // Each answer had a base URL of its own.
    const auto& loaded = neighbourLog().loadedAds;
    ASSERT_GE(loaded.size(), 2u);
    EXPECT_NE(sel::absoluteString(sel::adURL(loaded[loaded.size() - 2].ad.get()).get()),
              sel::absoluteString(sel::adURL(loaded.back().ad.get()).get()));
}

}  // namespace
}  // namespace adlib

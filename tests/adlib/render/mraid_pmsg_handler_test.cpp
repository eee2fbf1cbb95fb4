// The MRAID message handler: its sub-actions over a recording opener, the
// resize geometry, and stored pictures with the permission alert, downloaded
// over the scripted transport into the saved-photos album.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "adlib/render/mraid_picture.h"
#include "adlib/render/mraid_pmsg_handler.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/request.h"
#include "platform/network/transport.h"
#include "platform/uikit/alert_sheets.h"
#include "platform/uikit/image.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/platform/uikit/png_header.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// A stand-in for the slot's opener that records what the handler asks of it.
class RecordingOpener : public NSObject {
public:
    std::vector<std::string> calls;
    Value calendar;
};

void registerRecordingOpener() {
    ClassBuilder<RecordingOpener>("TestMRAIDOpener", "NSObject")
        .method(sel::openWebAppWithSize_offset_,
                [](id self, Size size, Point offset) {
                    as<RecordingOpener>(self)->calls.push_back("resize " + std::to_string(int(size.width)) + "x" + std::to_string(int(size.height)) +
                                                               " at " + std::to_string(int(offset.x)) + "," + std::to_string(int(offset.y)));
                })
        .method(sel::openCalendarWithDictionary_, [](id self, Value event) {
            as<RecordingOpener>(self)->calls.push_back("calendar");
            as<RecordingOpener>(self)->calendar = event;
        });
    // A picture's delegate that keeps what it hears.
    ClassBuilder<RecordingOpener>("TestPictureDelegate", "NSObject")
        .method(sel::MRAIDPicture_didStorePictureWithURL_,
                [](id self, id, NSURL* url) { as<RecordingOpener>(self)->calls.push_back("stored " + url->absoluteString()); })
        .method(sel::MRAIDPicture_failedToStorePictureWithURL_message_,
                [](id self, id, NSURL*, Value message) { as<RecordingOpener>(self)->calls.push_back(message.string()); });
}

Data png(std::uint32_t width, std::uint32_t height) {
    const std::string header = platform::testing::pngHeader(width, height);
    return Data(header.begin(), header.end());
}

class MRAIDHandler : public ::testing::Test {
protected:
    MRAIDHandler() {
        registerRecordingOpener();
        network::setTransport(transport);
        opener = as<RecordingOpener>(newObject("TestMRAIDOpener").get());
        handler = sel::initWithOpener_(alloc("YBXMRAIDPMSGHandler"), opener.get());
    }
    bool send(const std::string& url) {
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get());
        return sel::handleRequest_webView_(handler.get(), request.get(), nullptr);
    }
    Value pending() { return sel::pendingPictureDownloads(handler.get()); }
    static UIAlertView* alert() {
        auto shown = UIAlertView::visibleAlerts();
        return shown.size() == 1 ? shown[0].get() : nullptr;
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<RecordingOpener> opener;
    Ref<Object> handler;
};

TEST_F(MRAIDHandler, SubActionsReachTheOpener) {
    struct Case {
        const char* url;
        bool taken;
        std::vector<std::string> calls;
    };
    for (const Case& c : {
             Case{"pmsg://mraid/mraid?a=resize&width=300&height=250&offsetX=10&offsetY=-5&customClosePosition=center&allowOffscreen=true",
                  true, {"resize 300x250 at 10,-5"}},
             Case{"pmsg://mraid/mraid?a=createCalendarEvent&summary=s", true, {"calendar"}},
             Case{"pmsg://mraid/mraid?a=unknown", true, {}},
             Case{"pmsg://mraid/mraid", true, {}},
             Case{"pmsg://mraid/mraid?a=Resize&width=1", true, {}},
             Case{"pmsg://mraid/MRAID?a=resize", false, {}},
             Case{"http://ads.test/mraid?a=resize", false, {}},
         }) {
        SCOPED_TRACE(c.url);
        opener->calls.clear();
        EXPECT_EQ(send(c.url), c.taken);
        EXPECT_EQ(opener->calls, c.calls);
    }
    // The calendar gets the note's parameters as they came.
    send("pmsg://mraid/mraid?a=createCalendarEvent&start=2026-12-11T08:00:00%2B01:00&end=e&summary=s&description=d&location=l");
    EXPECT_EQ(opener->calendar["start"], Value("2026-12-11T08:00:00+01:00"));
    EXPECT_EQ(opener->calendar["location"], Value("l"));
}

TEST_F(MRAIDHandler, AResizeWithoutAllSixKeysPassesZeroGeometry) {
    const std::string all = "width=300&height=250&offsetX=10&offsetY=20&customClosePosition=top-left&allowOffscreen=false";
    for (const char* key : {"width", "height", "offsetX", "offsetY", "customClosePosition", "allowOffscreen"}) {
        SCOPED_TRACE(key);
        std::string query;
        for (const char* other : {"width", "height", "offsetX", "offsetY", "customClosePosition", "allowOffscreen"})
            if (std::string(other) != key) query += std::string("&") + other + "=7";
        opener->calls.clear();
        send("pmsg://mraid/mraid?a=resize" + query);
        EXPECT_EQ(opener->calls, std::vector<std::string>{"resize 0x0 at 0,0"});
    }
    opener->calls.clear();
    send("pmsg://mraid/mraid?a=resize&" + all);
    EXPECT_EQ(opener->calls, std::vector<std::string>{"resize 300x250 at 10,20"});
}

TEST_F(MRAIDHandler, ResizePropertiesReadTheirSixKeys) {
    const Value base{{"width", Value("320.5")}, {"height", Value("50")}, {"offsetX", Value("-4")}, {"offsetY", Value("2")},
                     {"customClosePosition", Value("center")}, {"allowOffscreen", Value("true")}};
    Ref<Object> properties = sel::initWithDictionary_(alloc("YBXMRAIDResizeProperties"), base);
    ASSERT_TRUE(properties);
    EXPECT_EQ(sel::size(properties.get()), (Size{320.5, 50}));
    EXPECT_EQ(sel::offset(properties.get()), (Point{-4, 2}));
    EXPECT_EQ(sel::customClosePosition(properties.get()), YBXMRAIDCustomClosePositionCenter);

    struct Position {
        const char* text;
        long long value;
    };
    for (const Position& p : {Position{"top-right", 0}, Position{"top-center", 1}, Position{"top-left", 2}, Position{"center", 3},
                              Position{"bottom-right", 4}, Position{"bottom-center", 5}, Position{"bottom-left", 6},
                              Position{"middle", 0}, Position{"Top-Left", 0}, Position{"", 0}}) {
        SCOPED_TRACE(p.text);
        Value parameters = base;
        parameters.mutableDictionary()["customClosePosition"] = Value(p.text);
        EXPECT_EQ(sel::customClosePosition(sel::initWithDictionary_(alloc("YBXMRAIDResizeProperties"), parameters).get()), p.value);
    }
    struct Offscreen {
        const char* text;
        bool allowed;
    };
    for (const Offscreen& o : {Offscreen{"true", true}, Offscreen{"YES", true}, Offscreen{"1", true}, Offscreen{"no", false},
                               Offscreen{"false", false}}) {
        SCOPED_TRACE(o.text);
        Value parameters = base;
        parameters.mutableDictionary()["allowOffscreen"] = Value(o.text);
        EXPECT_EQ(sel::allowOffscreen(sel::initWithDictionary_(alloc("YBXMRAIDResizeProperties"), parameters).get()), o.allowed);
    }
    Value missing = base;
    missing.mutableDictionary().erase("allowOffscreen");
    EXPECT_FALSE(sel::initWithDictionary_(alloc("YBXMRAIDResizeProperties"), missing));
}

TEST_F(MRAIDHandler, OnlyWebPicturesAreOffered) {
    for (const char* url : {"file:///var/mobile/Library/secret.png", "ftp://ads.test/p.png", "data:image/png;base64,AAAA", "javascript:alert(1)",
                            "p.png", ""}) {
        SCOPED_TRACE(url);
        send(std::string("pmsg://mraid/mraid?a=storePicture&iurl=") + url);
        EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
        EXPECT_TRUE(pending().dictionary().empty());
    }
    send("pmsg://mraid/mraid?a=storePicture");
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
}

TEST_F(MRAIDHandler, APictureAsksOnceAndACancelledOneStaysPending) {
    send("pmsg://mraid/mraid?a=storePicture&iurl=https://ads.test/p.png");
    UIAlertView* shown = alert();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title_, Value(kYBXMRAIDPictureAlertTitle));
    EXPECT_EQ(sel::message(shown), Value(kYBXMRAIDPictureAlertMessage));
    EXPECT_EQ(sel::buttonTitleAtIndex_(shown, shown->cancelButtonIndex_), Value("Cancel"));
    EXPECT_EQ(shown->buttonTitles_.size(), 2u);
    // A second message while the alert is up shows nothing more.
    send("pmsg://mraid/mraid?a=storePicture&iurl=https://ads.test/p.png");
    EXPECT_EQ(UIAlertView::visibleAlerts().size(), 1u);
    shown->clickButton(shown->cancelButtonIndex_);
    platform::testing::advance(1);
    EXPECT_TRUE(transport->log().empty());
    EXPECT_EQ(pending().dictionary().size(), 1u);
    // Pending for good: the same picture is not offered again.
    send("pmsg://mraid/mraid?a=storePicture&iurl=https://ads.test/p.png");
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
}

TEST_F(MRAIDHandler, SaveDownloadsOnceAndEndsAsTheDataSay) {
    struct Case {
        const char* name;
        ScriptedTransport::Script script;
        bool stored;
    };
    const Data image = png(4, 2);
    std::vector<Case> cases = {
        {"a PNG", ScriptedTransport::Script::body({std::string(image.begin(), image.end())}), true},
        {"empty data", ScriptedTransport::Script::body({}), false},
        {"an error", ScriptedTransport::Script::failure(NSURLErrorTimedOut), false},
        {"undecodable bytes", ScriptedTransport::Script::body({"<html>not a picture</html>"}), false},
    };
    int n = 0;
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string url = "http://ads.test/p" + std::to_string(++n) + ".png";
        transport->answer(url, c.script);
        const std::size_t before = uikit::savedPhotosAlbum().size();
        const std::size_t loads = transport->log().size();
        send("pmsg://mraid/mraid?a=storePicture&iurl=" + url);
        Ref<Object> picture(pending()[url].object());
        ASSERT_TRUE(picture);
        UIAlertView* shown = alert();
        ASSERT_TRUE(shown);
        shown->clickButton(1);  // "Save"
        sel::downloadImageWithURL_(picture.get(), NSURL::URLWithString(url).get());  // at most once
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return pending().dictionary().empty(); }, 10.0));
        EXPECT_EQ(transport->log().size(), loads + 1);
        EXPECT_EQ(transport->log().back(), "GET " + url);
        EXPECT_EQ(transport->requests().back()->timeoutInterval(), kYBXMRAIDPictureTimeout);
        EXPECT_EQ(transport->requests().back()->cachePolicy(), NSURLRequestUseProtocolCachePolicy);
        EXPECT_EQ(uikit::savedPhotosAlbum().size(), before + (c.stored ? 1 : 0));
    }
}

TEST_F(MRAIDHandler, APicturesFailureMessageNamesItsURLAndError) {
    Ref<Object> delegate = newObject("TestPictureDelegate");
    transport->answer("http://ads.test/gone.png", ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));
    transport->answer("http://ads.test/ok.png", ScriptedTransport::Script::body({[] {
        Data d = png(1, 1);
        return std::string(d.begin(), d.end());
    }()}));
    for (const char* url : {"http://ads.test/gone.png", "http://ads.test/ok.png"}) {
        Ref<Object> picture = sel::initWithPictureURL_(alloc("YBXMRAIDPicture"), NSURL::URLWithString(url).get());
        sel::setDelegate_(picture.get(), delegate.get());
        sel::downloadImageWithURL_(picture.get(), as<NSURL>(sel::pictureURL(picture.get()).get()));
        EXPECT_TRUE(sel::downloadStarted(picture.get()));
    }
    auto* heard = as<RecordingOpener>(delegate.get());
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return heard->calls.size() == 2; }, 10.0));
    EXPECT_EQ(heard->calls[0].rfind("Failed to load http://ads.test/gone.png. Error: Error Domain=NSURLErrorDomain Code=-1004", 0), 0u)
        << heard->calls[0];
    EXPECT_EQ(heard->calls[1], "stored http://ads.test/ok.png");
}

}  // namespace
}  // namespace adlib

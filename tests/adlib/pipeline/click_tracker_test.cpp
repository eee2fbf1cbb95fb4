#include "adlib/pipeline/click_tracker.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using Script = ScriptedTransport::Script;

// Writes down what a tracker tells its delegate.
class TrackerDelegate : public NSObject {
public:
    std::vector<std::string> calls;
};

void registerTestClasses() {
    ClassBuilder<TrackerDelegate>("TestClickTrackerDelegate", "NSObject")
        .method(sel::tracker_didRedirect_,
                [](id self, id, NSURL* url) { as<TrackerDelegate>(self)->calls.push_back("redirect " + (url ? url->absoluteString() : "(none)")); })
        .method(sel::tracker_didFailWithError_, [](id self, id, id error) {
            auto* e = as<NSError>(error);
            as<TrackerDelegate>(self)->calls.push_back(e ? "fail " + e->domain() + " " + std::to_string(e->code()) : "fail none");
        });
}

class ClickTrackers : public ::testing::Test {
protected:
    ClickTrackers() {
        registerTestClasses();
        network::setTransport(transport);
        delegate = as<TrackerDelegate>(newObject("TestClickTrackerDelegate"));
        collection = as<YBXClickTrackerCollection>(sel::init(alloc("YBXClickTrackerCollection")));
    }

    Ref<YBXClickTracker> tracker(bool cacheEnabled = true) {
        Ref<YBXClickTracker> t = as<YBXClickTracker>(newObject("YBXClickTracker"));
        sel::setDelegate_(t.get(), delegate.get());
        sel::setCacheEnabled_(t.get(), cacheEnabled);
        return t;
    }
    static Ref<NSURL> url(std::string_view text) { return NSURL::URLWithString(text); }
    static std::size_t tasks() { return UIApplication::sharedApplication()->outstandingBackgroundTaskCount(); }
    std::size_t live() const { return sel::trackers(collection.get()).count(); }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<TrackerDelegate> delegate;
    Ref<YBXClickTrackerCollection> collection;
};

TEST_F(ClickTrackers, OnlyURLsAndTextsThatMakeWebURLsArePinged) {
    transport->answer("http://t.example/a", Script::body({"ok"}));
    transport->answer("http://x", Script::body({"ok"}));
    sel::trackURLs_cacheEnabled_(collection.get(),
                                 Value::array({Value(url("http://t.example/a")), Value("http://x"), Value(7), Value(""),
                                               Value("file:///var/mobile/creative.html"), Value(url("itms-apps://itunes.apple.com/app/id1"))}),
                                 true);
    EXPECT_EQ(live(), 2u);
    EXPECT_EQ(tasks(), 2u);
    RunLoop::main().advance(1);
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"GET http://t.example/a", "GET http://x"}));
    // Both pings ended; the clean-up ran on a later main-queue turn.
    EXPECT_EQ(live(), 0u);
    EXPECT_EQ(tasks(), 0u);
}

TEST_F(ClickTrackers, TheSameURLTwiceIsTwoPings) {
    Script slow = Script::body({"ok"});
    slow.delay = 2;
    transport->answer("http://t.example/a", slow);
    sel::trackURL_(collection.get(), url("http://t.example/a").get());
    sel::trackURL_(collection.get(), url("http://t.example/a").get());
    RunLoop::main().advance(1);
    EXPECT_EQ(live(), 2u);
    EXPECT_EQ(transport->activeLoads(), 2u);
    RunLoop::main().advance(2);
    EXPECT_EQ(transport->log().size(), 2u);
    EXPECT_EQ(live(), 0u);
}

TEST_F(ClickTrackers, EveryEndIsReportedOnceAndReleasesTheBackgroundTask) {
    struct Case {
        const char* name;
        Script script;
        std::vector<std::string> calls;
    } cases[] = {
        {"200", Script::body({"ok"}), {"redirect http://t.example/a"}},
        {"304", Script::body({}, 304), {"redirect http://t.example/a"}},
        {"404 fails without an error", Script::body({"gone"}, 404), {"fail none"}},
        {"a failed load", Script::failure(NSURLErrorTimedOut), {"fail NSURLErrorDomain -1001"}},
        {"a redirect into an app link", Script::redirect("itms-apps://itunes.apple.com/app/id1"), {"redirect itms-apps://itunes.apple.com/app/id1"}},
        {"a redirect to another web page", Script::redirect("https://t.example/b"), {"redirect https://t.example/b"}},
    };
    transport->answer("https://t.example/b", Script::body({"moved"}));
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        delegate->calls.clear();
        transport->answer("http://t.example/a", c.script);
        Ref<YBXClickTracker> t = tracker();
        sel::trackURL_(t.get(), url("http://t.example/a").get());
        EXPECT_EQ(tasks(), 1u);
        EXPECT_FALSE(sel::hasTracked(t.get()));
        RunLoop::main().advance(5);
        EXPECT_EQ(delegate->calls, c.calls);
        EXPECT_TRUE(sel::hasTracked(t.get()));
        EXPECT_EQ(tasks(), 0u);
        EXPECT_EQ(sel::backgroundTaskID(t.get()), UIBackgroundTaskInvalid);
    }
    // The app link was never loaded.
    for (const std::string& line : transport->log()) EXPECT_EQ(line.find("itms-apps"), std::string::npos) << line;
}

TEST_F(ClickTrackers, TurningTheCacheOffReloadsIgnoringLocalData) {
    transport->answer("http://t.example/a", Script::body({"ok"}));
    sel::trackURL_cacheEnabled_(collection.get(), url("http://t.example/a").get(), false);
    sel::trackURL_(collection.get(), url("http://t.example/a").get());
    RunLoop::main().advance(1);
    ASSERT_EQ(transport->requests().size(), 2u);
    EXPECT_EQ(transport->requests()[0]->cachePolicy(), NSURLRequestReloadIgnoringLocalCacheData);
    EXPECT_EQ(transport->requests()[1]->cachePolicy(), NSURLRequestUseProtocolCachePolicy);
}

TEST_F(ClickTrackers, BackgroundExpiryDropsThePingAndTheCollectionLetsItGo) {
    Script never;
    never.neverAnswers = true;
    transport->answer("http://t.example/a", never);
    sel::trackURL_(collection.get(), url("http://t.example/a").get());
    RunLoop::main().advance(1);
    ASSERT_EQ(live(), 1u);
    EXPECT_EQ(transport->activeLoads(), 1u);
    UIApplication::sharedApplication()->expireBackgroundTasks();
    EXPECT_EQ(tasks(), 0u);
    EXPECT_EQ(transport->activeLoads(), 0u);
    EXPECT_EQ(live(), 1u);
    RunLoop::main().advance(0);
    EXPECT_EQ(live(), 0u);
}

TEST_F(ClickTrackers, ANilOrNonWebURLOnlyResets) {
    Ref<YBXClickTracker> t = tracker();
    sel::setHasTracked_(t.get(), true);
    sel::trackURL_(t.get(), nullptr);
    EXPECT_FALSE(sel::hasTracked(t.get()));
    sel::trackURL_(t.get(), url("file:///var/mobile/creative.html").get());
    RunLoop::main().advance(1);
    EXPECT_TRUE(transport->log().empty());
    EXPECT_EQ(tasks(), 0u);
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(ClickTrackers, DestroyingATrackerStopsItsPing) {
    Script slow = Script::body({"ok"});
    slow.delay = 2;
    transport->answer("http://t.example/a", slow);
    {
        Ref<YBXClickTracker> t = tracker();
        sel::trackURL_(t.get(), url("http://t.example/a").get());
        RunLoop::main().advance(1);
        EXPECT_EQ(transport->activeLoads(), 1u);
    }
    EXPECT_EQ(transport->activeLoads(), 0u);
    EXPECT_EQ(tasks(), 0u);
    RunLoop::main().advance(5);
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(ClickTrackers, APingAskedForOnAnotherThreadStartsOnTheMainQueue) {
    transport->answer("http://t.example/a", Script::body({"ok"}));
    Ref<NSURL> target = url("http://t.example/a");
    std::thread worker([&] { sel::trackURL_cacheEnabled_(collection.get(), target.get(), true); });
    worker.join();
    EXPECT_EQ(live(), 0u);
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return !transport->log().empty(); }, 5.0));
    RunLoop::main().advance(1);
    EXPECT_EQ(transport->log(), std::vector<std::string>{"GET http://t.example/a"});
    EXPECT_EQ(live(), 0u);
}

TEST_F(ClickTrackers, TheSharedCollectionIsOne) {
    Class* cls = objc_getClass("YBXClickTrackerCollection");
    Ref<Object> shared = sel::sharedInstance(cls);
    ASSERT_TRUE(as<YBXClickTrackerCollection>(shared.get()));
    EXPECT_EQ(sel::sharedInstance(cls).get(), shared.get());
}

}  // namespace
}  // namespace adlib

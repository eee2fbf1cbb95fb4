#include "adlib/foundation/notification_center.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/uikit/view.h"
#include "platform/webkit/scripted_page_engine.h"
#include "platform/webkit/web_view.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Ref<NSURL> url(std::string_view text) {
    Ref<NSURL> u = NSURL::URLWithString(text);
    EXPECT_TRUE(u) << text;
    return u;
}

// One post a library observer saw.
struct Seen {
    std::string name;
    Value object;
    Value userInfo;
    bool mainThread = false;
};

class Messages : public ::testing::Test {
protected:
    Messages() {
        token = YBXNotificationCenter::defaultCenter()->addObserverForName("", Value(), [this](NSNotification* n) {
            seen.push_back({n->name(), n->object(), n->userInfo(), NSThread::isMainThread()});
        });
    }
    ~Messages() override { YBXNotificationCenter::defaultCenter()->removeObserver(token.get()); }

    AdLibEnvironment env;
    std::vector<Seen> seen;
    Ref<Object> token;
};

TEST_F(Messages, MessageURLsGiveNameAndParameters) {
    struct Case {
        const char* url;
        bool message;  // isNotificationURL:
        const char* name;  // nullptr: no message is made
        Value parameters;
    } cases[] = {
        {"pmsg://x/click?u=1", true, "click", Value{{"u", "1"}}},
        {"PMSG://x/open", true, "open", Value::Dictionary{}},
        {"Pmsg://anything/open?url=http%3A%2F%2Fd%2Fp%3Fa%3D1", true, "open", Value{{"url", "http://d/p?a=1"}}},
        {"pmsg://x/close?Key=V&other=two%20words", true, "close", Value{{"Key", "V"}, {"other", "two words"}}},
        {"pmsg://x/", true, nullptr, Value()},
        {"pmsg://x", true, nullptr, Value()},
        {"pmsg:click", true, nullptr, Value()},
        {"http://x/click?u=1", false, nullptr, Value()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        Ref<NSURL> u = url(c.url);
        EXPECT_EQ(sel::isNotificationURL_(objc_getClass("YBXNotification"), u.get()), c.message);
        Ref<Object> made = sel::initWithNotificationURL_(alloc("YBXNotification"), u.get());
        if (!c.name) {
            EXPECT_FALSE(made);
            continue;
        }
        ASSERT_TRUE(made);
        EXPECT_EQ(sel::name(made).string(), c.name);
        Value parameters = sel::parameters(made);
        ASSERT_TRUE(parameters.isDictionary());
        EXPECT_EQ(parameters, c.parameters);
    }
}

TEST_F(Messages, NamedMessagesNeedANameAndAlwaysHaveParameters) {
    EXPECT_FALSE(sel::initWithName_parameters_(alloc("YBXNotification"), Value(""), Value{{"a", "1"}}));
    EXPECT_FALSE(sel::initWithName_parameters_(alloc("YBXNotification"), Value(), Value{{"a", "1"}}));
    Ref<Object> bare = sel::initWithName_parameters_(alloc("YBXNotification"), Value("ready"), Value());
    ASSERT_TRUE(bare);
    EXPECT_EQ(sel::parameters(bare), Value(Value::Dictionary{}));
    const std::string description = sel::description(bare).string();
    EXPECT_EQ(description.rfind("<YBXNotification: 0x", 0), 0u) << description;
    EXPECT_NE(description.find("> name:ready parameters:"), std::string::npos) << description;
}

TEST_F(Messages, PostingFromAURLPostsAtOnceOnTheCallersThread) {
    Ref<Object> sender = alloc("NSObject");
    YBXNotificationCenter* center = YBXNotificationCenter::defaultCenter();
    ASSERT_NE(center, nullptr);
    EXPECT_EQ(center, YBXNotificationCenter::defaultCenter());
    EXPECT_NE(static_cast<NSNotificationCenter*>(center), NSNotificationCenter::defaultCenter());
    EXPECT_EQ(sel::defaultCenter(objc_getClass("YBXNotificationCenter")).get(), center);

    sel::postNotificationFromURL_object_(center, url("pmsg://x/click?u=1").get(), Value(sender));
    sel::postNotificationFromURL_object_(center, url("http://x/click?u=1").get(), Value(sender));
    sel::postNotificationFromURL_object_(center, url("pmsg://x/").get(), Value(sender));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].name, "click");
    EXPECT_EQ(seen[0].object.object(), sender.get());
    EXPECT_EQ(seen[0].userInfo, Value(Value{{"u", "1"}}));
}

TEST_F(Messages, DelayedPostsComeLaterOnTheMainThreadInOrder) {
    YBXNotificationCenter* center = YBXNotificationCenter::defaultCenter();
    struct Case {
        double delay;
        const char* url;
    } cases[] = {
        {-5, "pmsg://x/negative"},
        {std::nan(""), "pmsg://x/nan"},
        {0, "pmsg://x/zero"},
        {0.5, "pmsg://x/half"},
        {std::numeric_limits<double>::infinity(), "pmsg://x/never"},
    };
    for (const auto& c : cases) {
        Ref<Object> sender = alloc("NSObject");
        sel::postNotificationFromURL_object_withDelay_(center, url(c.url).get(), Value(sender), c.delay);
    }
    // The URL and the sender are held by the pending post.
    EXPECT_TRUE(seen.empty());
    platform::testing::advance(0.1);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].name, "negative");
    EXPECT_EQ(seen[1].name, "nan");
    EXPECT_EQ(seen[2].name, "zero");
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.mainThread);
        EXPECT_TRUE(s.object.object());
    }
    platform::testing::advance(0.4);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[3].name, "half");
    platform::testing::advance(3600);
    EXPECT_EQ(seen.size(), 4u);
}

TEST(MessageCommands, TextOfTheCall) {
    AdLibEnvironment env;
    struct Case {
        const char* name;
        Value userInfo;
        const char* expected;
    } cases[] = {
        {"ready", Value(), "KESTRA_ReceiveMessage('ready');"},
        {"ready", Value::Dictionary{}, "KESTRA_ReceiveMessage('ready', {});"},
        {"ready", Value{{"a", 1}}, "KESTRA_ReceiveMessage('ready', {\"a\":1});"},
        {"ready", Value{{"when", Value(Date{0})}}, "KESTRA_ReceiveMessage('ready', );"},
        {"say", Value{{"s", "a\u2028b\u2029c"}}, "KESTRA_ReceiveMessage('say', {\"s\":\"a\\u2028b\\u2029c\"});"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(YBXNotificationCenter::JSCommandForNotificationName(c.name, c.userInfo), c.expected);
        EXPECT_EQ(sel::JSCommandForNotificationName_userInfo_(YBXNotificationCenter::defaultCenter(), c.name, c.userInfo), c.expected);
    }
}

TEST(MessageCommands, EventsRunInTheWebViewLaterAndInCallOrder) {
    AdLibEnvironment env;
    auto& pages = webkit::ScriptedPages::shared();
    const std::size_t before = pages.evaluated().size();
    {
        Ref<UIWebView> view = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 320, 50));
        YBXNotificationCenter* center = YBXNotificationCenter::defaultCenter();
        sel::postJSNotification_userInfo_webView_(center, "first", Value(), view.get());
        sel::postJSNotification_userInfo_webView_(center, "second", Value{{"n", 2}}, view.get());
    }
    // The web view is held until its scripts have run.
    EXPECT_EQ(pages.evaluated().size(), before);
    platform::testing::advance(0);
    ASSERT_EQ(pages.evaluated().size(), before + 2);
    EXPECT_EQ(pages.evaluated()[before], "KESTRA_ReceiveMessage('first');");
    EXPECT_EQ(pages.evaluated()[before + 1], "KESTRA_ReceiveMessage('second', {\"n\":2});");
}

}  // namespace
}  // namespace adlib

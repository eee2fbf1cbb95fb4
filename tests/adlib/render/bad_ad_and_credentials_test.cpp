// The bad-ad report (its JSON body, its target, one report at a time, no
// redirects) and the publisher toolbar's stored credentials (one lock for
// every writer).
#include <gtest/gtest.h>

#include <thread>

#include "adlib/foundation/configuration.h"
#include "adlib/render/bad_ad_util.h"
#include "adlib/render/publisher_toolbar_credentials.h"
#include "platform/foundation/json.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/transport.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using Script = ScriptedTransport::Script;

std::string bodyText(const Data& body) { return std::string(body.begin(), body.end()); }

class BadAdReport : public ::testing::Test {
protected:
    BadAdReport() { network::setTransport(transport); }
    std::string defaultTarget() const { return YBXAdServerBaseURL() + kYBXBadAdReportPath; }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
};

TEST_F(BadAdReport, PostsTheDebugTextAsPrettyJSONToItsTarget) {
    struct Case {
        const char* name;
        Value stored;  // "bad_ad_report_path"
        Value debugText;
        std::string target;
        Value header;
    } cases[] = {
        {"no text, built-in target", Value(), Value(), defaultTarget(), Value()},
        {"an empty stored path, built-in target", Value(""), Value("creative 7"), defaultTarget(), Value("creative 7")},
        {"the server's target", Value("http://reports.test/bad"), Value("a \"quoted\" text"), "http://reports.test/bad", Value("a \"quoted\" text")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSUserDefaults::standardUserDefaults()->setObject(c.stored, kYBXBadAdReportPathKey);
        const std::size_t before = transport->requests().size();
        sel::reportBadAd_(YBXBadAdUtil::sharedInstance(), c.debugText);
        RunLoop::main().advance(0.1);
        ASSERT_EQ(transport->requests().size(), before + 1);
        Ref<NSURLRequest> request = transport->requests().back();
        EXPECT_EQ(request->URL()->absoluteString(), c.target);
        EXPECT_EQ(request->HTTPMethod(), "POST");
        ASSERT_TRUE(request->valueForHTTPHeaderField("Content-Type"));
        EXPECT_EQ(*request->valueForHTTPHeaderField("Content-Type"), "application/json");
        const std::string body = bodyText(request->HTTPBody());
        EXPECT_NE(body.find('\n'), std::string::npos) << "pretty printed: " << body;
        Value parsed = NSJSONSerialization::JSONObjectWithText(body, 0);
        ASSERT_TRUE(parsed.isDictionary()) << body;
        EXPECT_EQ(parsed.dictionary().count("debugHeader"), 1u) << body;
        EXPECT_EQ(parsed["debugHeader"], c.header) << body;
    }
}

TEST_F(BadAdReport, ANewReportTakesThePlaceOfTheOneInFlightAndRedirectsAreRefused) {
    transport->answer(defaultTarget(), Script::body({"ok"}));
    YBXBadAdUtil* util = YBXBadAdUtil::sharedInstance();
    util->reportBadAd(Value("first"));
    Ref<Object> first = util->connection_;
    util->reportBadAd(Value("second"));
    EXPECT_NE(util->connection_.get(), first.get());
    EXPECT_FALSE(sel::delegate(first.get()));
    EXPECT_EQ(sel::delegate(util->connection_.get()).get(), util);

    // A redirect ends the report where it is.
    NSUserDefaults::standardUserDefaults()->setObject(Value("http://reports.test/moved"), kYBXBadAdReportPathKey);
    transport->answer("http://reports.test/moved", Script::redirect("http://elsewhere.test/"));
    util->reportBadAd(Value("third"));
    RunLoop::main().advance(1);
    for (const std::string& load : transport->log()) EXPECT_EQ(load.find("elsewhere.test"), std::string::npos) << load;
}

TEST(ToolbarCredentials, AreKeptInTheDefaultsAndClearedUnderOneLock) {
    AdLibEnvironment env;
    Class* cls = objc_getClass("YBXPublisherToolbarCredentials");
    EXPECT_FALSE(sel::hasToolbarCredentials(cls));
    Ref<YBXPublisherToolbarCredentials> credentials = as<YBXPublisherToolbarCredentials>(newObject("YBXPublisherToolbarCredentials"));
    EXPECT_TRUE(sel::credentials(credentials.get()).isNil());
    const Value stored(Value::Dictionary{{"publisher", Value("p")}, {"token", Value("t")}});
    sel::storeCredentials_(credentials.get(), stored);
    EXPECT_TRUE(sel::hasToolbarCredentials(cls));
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(kYBXToolbarCredentialsKey), stored);
    // A new instance reads what was stored.
    EXPECT_EQ(sel::credentials(newObject("YBXPublisherToolbarCredentials").get()), stored);
    sel::clearCredentials(credentials.get());
    EXPECT_FALSE(sel::hasToolbarCredentials(cls));
    EXPECT_TRUE(sel::credentials(credentials.get()).isNil());
    EXPECT_EQ(sel::credentialsLock(cls).get(), sel::credentialsLock(cls).get());
}

TEST(ToolbarCredentials, WritersOnTwoThreadsLeaveOneWholeDictionary) {
    AdLibEnvironment env;
    auto writer = [](const char* who) {
        Ref<Object> credentials = newObject("YBXPublisherToolbarCredentials");
        for (int i = 0; i < 50; ++i)
            sel::storeCredentials_(credentials.get(), Value(Value::Dictionary{{"publisher", Value(who)}, {"token", Value(std::string(who) + "-token")}}));
    };
    std::thread a(writer, "a");
    std::thread b(writer, "b");
    a.join();
    b.join();
    Value stored = NSUserDefaults::standardUserDefaults()->objectForKey(kYBXToolbarCredentialsKey);
    ASSERT_TRUE(stored.isDictionary());
    const std::string who = stored["publisher"].string();
    ASSERT_TRUE(who == "a" || who == "b") << who;
    EXPECT_EQ(stored["token"], Value(who + "-token"));
}

}  // namespace
}  // namespace adlib

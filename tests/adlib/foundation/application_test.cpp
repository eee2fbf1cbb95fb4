#include "adlib/foundation/application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/utilities.h"
#include "adlib/mediation/ad_network_adapter.h"
#include "adlib/render/mraid_interceptor.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// A slot as the bookkeeping sees it: it only says whether it is mediating.
class FakeSlot : public NSObject {
public:
    bool mediating = false;
};

// An ad as the application sees it: its statistics.
class FakeAd : public NSObject {
public:
    Ref<YBXStatisticDictionary> stats;
};

void registerFakes() {
    ClassBuilder<FakeSlot>("TestSlot", "NSObject").method(sel::isMediating, [](id self) { return as<FakeSlot>(self)->mediating; });
    ClassBuilder<FakeAd>("TestAd", "NSObject").method(sel::statistics, [](id self) { return Ref<Object>(as<FakeAd>(self)->stats); });
}

Ref<YBXApplication> freshApplication() { return as<YBXApplication>(sel::init(alloc("YBXApplication"))); }

Ref<FakeAd> adWithStatistics(id delegate) {
    Ref<FakeAd> ad = as<FakeAd>(alloc("TestAd"));
    ad->stats = YBXStatisticDictionary::make(delegate);
    return ad;
}

Value ms(unsigned long long n) { return Value(n); }

class Application : public ::testing::Test {
protected:
    Application() { registerFakes(); }
    AdLibEnvironment env;
};

TEST_F(Application, RequestBookkeepingAndItsEdges) {
    struct Case {
        const char* name;
        std::function<void(YBXApplication&)> check;
    } cases[] = {
        {"requests count from -1; a mediated one counts down",
         [](YBXApplication& app) {
             YBXStatisticDictionary& stats = *app.statistics();
             EXPECT_EQ(stats.objectForKey("preqs"), ybx_negativeOne());
             Ref<FakeSlot> slot = as<FakeSlot>(alloc("TestSlot"));
             EXPECT_EQ(app.nextRequestStatisticsDictionaryForSlot(slot.get())["preqs"], Value(Decimal::zero()));
             slot->mediating = true;
             EXPECT_EQ(app.nextRequestStatisticsDictionaryForSlot(slot.get())["preqs"], ybx_negativeOne());
             // Anything that does not answer isMediating is no mediated request.
             EXPECT_EQ(app.nextRequestStatisticsDictionaryForSlot(nullptr)["preqs"], Value(Decimal::zero()));
             EXPECT_EQ(stats.objectForKey("seq_num"), Value(Decimal(3, 0, false)));
         }},
        {"the first request sets basets, every request currts",
         [](YBXApplication& app) {
             const unsigned long long t0 = YBXAbsoluteTimeInMilliseconds();
             EXPECT_EQ(app.timeSinceFirstAdRequestInMilliseconds(), ms(0));
             platform::testing::advance(2.0);
             Value first = app.nextRequestStatisticsDictionaryForSlot(nullptr);
             EXPECT_EQ(first["basets"], ms(t0 + 2000));
             EXPECT_EQ(first["currts"], ms(t0 + 2000));
             platform::testing::advance(0.5);
             Value second = app.nextRequestStatisticsDictionaryForSlot(nullptr);
             EXPECT_EQ(second["basets"], ms(t0 + 2000));
             EXPECT_EQ(second["currts"], ms(t0 + 2500));
             platform::testing::advance(1.0);
             EXPECT_EQ(app.timeSinceFirstAdRequestInMilliseconds(), ms(1500));
             // The request's copy is its own: later requests never change it.
             EXPECT_EQ(first["currts"], ms(t0 + 2000));
         }},
        {"sequence numbers are 1, then 2",
         [](YBXApplication& app) {
             EXPECT_EQ(app.nextSequenceNumberAsString(), "1");
             EXPECT_EQ(app.nextSequenceNumberAsString(), "2");
         }},
        {"clicks count without touching requests",
         [](YBXApplication& app) {
             app.incrementTotalAdClickCount();
             app.incrementTotalAdClickCount();
             Value stats = app.statistics()->dictionary();
             EXPECT_EQ(stats["pclick"], Value(Decimal(2, 0, false)));
             EXPECT_EQ(stats["preqs"], ybx_negativeOne());
             EXPECT_EQ(stats["session_id"], Value(app.currentSession()->sessionIDAsString()));
         }},
        {"slot statistics by string identifier only",
         [](YBXApplication& app) {
             EXPECT_FALSE(app.slotStatisticsForSlotID(Value(12)));
             EXPECT_EQ(app.slotStatisticsDictionary(), Value(Value::Dictionary{}));
             Ref<YBXStatisticDictionary> a = app.slotStatisticsForSlotID(Value("unit-a"));
             ASSERT_TRUE(a);
             EXPECT_EQ(app.slotStatisticsForSlotID(Value("unit-a")).get(), a.get());
             a->setObject(Value(7), "n", false);
             app.slotStatisticsForSlotID(Value("unit-b"));
             EXPECT_EQ(app.slotStatisticsDictionary(), (Value{{"unit-a", Value{{"n", 7}}}, {"unit-b", Value::Dictionary{}}}));
         }},
        {"an activation without a click-out, or a click-out without a click time, records nothing",
         [](YBXApplication& app) {
             app.didBecomeActive();
             Ref<FakeAd> ad = adWithStatistics(nullptr);
             app.willLeaveApplicationDueToClickOnAd(ad.get());
             app.didBecomeActive();
             EXPECT_EQ(ad->stats->dictionary(), Value(Value::Dictionary{}));
             // The click-out was taken: a later activation records nothing either.
             ad->stats->setObject(ms(1), "tclickcurr", false);
             app.didBecomeActive();
             EXPECT_TRUE(ad->stats->objectForKey("tclick").isNil());
         }},
        {"navigation schemes: the built-in six, strings only, lower-cased",
         [](YBXApplication&) {
             const Value six = Value::array({"about", "file", "http", "https", "pmsg", "publishertoolbar"});
             EXPECT_EQ(YBXApplication::normalizedWebViewNavigationSchemes(Value::array({"HTTP", Value(3)})), six);
             EXPECT_EQ(YBXApplication::normalizedWebViewNavigationSchemes(Value()), six);
             EXPECT_EQ(sel::normalizedWebViewNavigationSchemes_(YBXApplication::sharedApplication(), Value::array({"Itms-Apps"})).count(),
                       7u);
         }},
        {"the store-sheet cache keeps one sheet",
         [](YBXApplication& app) {
             Ref<NSCache> cache = app.discardableStoreProductViewControllerAppCache();
             ASSERT_TRUE(cache);
             cache->setObject(Value(alloc("NSObject")), "1");
             cache->setObject(Value(alloc("NSObject")), "2");
             EXPECT_EQ(cache->count(), 1u);
             EXPECT_TRUE(cache->objectForKey("1").isNil());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXApplication> app = freshApplication();
        ASSERT_TRUE(app);
        c.check(*app);
    }
}

TEST_F(Application, IsActiveUnlessLaunchedAndInTheBackground) {
    YBXApplication* app = YBXApplication::sharedApplication();
    ASSERT_TRUE(app);
    lifecycle::enterBackground();
    EXPECT_TRUE(app->isAppActive());
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidFinishLaunchingNotification, Value(UIApplication::sharedApplication()));
    EXPECT_TRUE(app->appFinishedLaunching());
    EXPECT_FALSE(app->isAppActive());
    // Asked from a queue, as the request builder does.
    bool fromQueue = true;
    dispatch_sync(app->statisticsSerialQueue(), [&] { fromQueue = app->isAppActive(); });
    EXPECT_FALSE(fromQueue);
    lifecycle::becomeActive();
    EXPECT_TRUE(app->isAppActive());
}

TEST_F(Application, AnAdsReturnIsTimedAndItsStatisticsWaitToBeSent) {
    YBXApplication* app = YBXApplication::sharedApplication();
    YBXAbsoluteTimeInMilliseconds();
    Ref<FakeAd> ad = adWithStatistics(app);
    ad->stats->setObject(ms(100), "tclickcurr", false);
    sel::willLeaveApplicationDueToClickOnAd_(app, ad.get());
    lifecycle::enterBackground();
    platform::testing::advance(5.0);
    lifecycle::becomeActive();

    Value pending;
    ASSERT_TRUE(RunLoop::main().runUntil(
        [&] {
            pending = app->pendingAdStatistics();
            return pending.count() > 0;
        },
        10));
    ASSERT_EQ(pending.count(), 1u);
    EXPECT_EQ(pending.at(0).object(), ad->stats.get());
    EXPECT_EQ(ad->stats->objectForKey("tclick"), Value::array({Value::array({ms(100), ms(5000)})}));
    EXPECT_EQ(app->pendingAdStatistics().count(), 0u);

    app->didNotSendAdStatistics(pending);
    app->didNotSendAdStatistics(pending);
    Value again = sel::pendingAdStatistics(app);
    ASSERT_EQ(again.count(), 1u);
    EXPECT_EQ(again.at(0).object(), ad->stats.get());

    // A second activation without a new click-out adds no pair.
    lifecycle::enterBackground();
    lifecycle::becomeActive();
    EXPECT_EQ(ad->stats->objectForKey("tclick").count(), 1u);
}

TEST_F(Application, SessionIdentifiersComeFromTheUUIDsDigest) {
    EXPECT_EQ(YBXSessionIDFromUUIDBytes(NSUUID::Bytes{}), 11896337731639693945ULL);
    NSUUID::Bytes counting{};
    for (int i = 0; i < 16; ++i) counting[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(YBXSessionIDFromUUIDBytes(counting), 12160368917799883744ULL);

    YBXApplication* app = YBXApplication::sharedApplication();
    Ref<Object> session = sel::currentSession(app);
    EXPECT_EQ(sel::sessionIDAsString(session.get()), std::to_string(sel::sessionID(session.get())));
    EXPECT_EQ(app->statistics()->objectForKey("session_id"), Value(sel::sessionIDAsString(session.get())));
    EXPECT_NE(YBXSession::make()->sessionID(), sel::sessionID(session.get()));
}

TEST_F(Application, LaunchRunsTheEarlyActivitiesOnce) {
    ClassBuilder<NSObject>("TestAdapterBase", "NSObject").protocol(kYBXMAdNetworkAdapterProtocol);
    ClassBuilder<NSObject>("TestAdapterChild", "TestAdapterBase");
    ClassBuilder<NSObject>("TestNotAnAdapter", "NSObject");
    // The interceptor allows itself at its first use; switched off, only the launch's early activities allow it again.
    YBXMRAIDInterceptor::disallow();
    EXPECT_FALSE(YBXMRAIDInterceptor::isAllowed());

    UIApplicationMain(0, nullptr, Value(), Value());
    EXPECT_TRUE(sel::appFinishedLaunching(YBXApplication::sharedApplication()));
    EXPECT_TRUE(sel::isAllowed(objc_getClass("YBXMRAIDInterceptor")));
    const Value names = sel::availableAdapterNames(objc_getClass("YBXMAdNetworkAdapter"));
    auto listed = [&names](const char* name) {
        for (const Value& n : names.array())
            if (n == Value(name)) return true;
        return false;
    };
    EXPECT_TRUE(listed("TestAdapterBase"));
    EXPECT_TRUE(listed("TestAdapterChild"));  // adopted by its superclass
    EXPECT_FALSE(listed("TestNotAnAdapter"));
    EXPECT_FALSE(listed("YBXMAdNetworkAdapter"));
    EXPECT_TRUE(sel::classIsAdapterClass_(objc_getClass("YBXMAdNetworkAdapter"), objc_getClass("TestAdapterChild")));
    EXPECT_FALSE(sel::classIsAdapterClass_(objc_getClass("YBXMAdNetworkAdapter"), objc_getClass("TestNotAnAdapter")));

    // Once per process: a second launch report changes nothing, a later adapter class is not listed.
    sel::disallow(objc_getClass("YBXMRAIDInterceptor"));
    ClassBuilder<NSObject>("TestLateAdapter", "NSObject").protocol(kYBXMAdNetworkAdapterProtocol);
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidFinishLaunchingNotification, Value());
    EXPECT_FALSE(YBXMRAIDInterceptor::isAllowed());
    EXPECT_EQ(YBXMAvailableAdapterNames(), names);
}

TEST(ApplicationLoading, WithoutTheCategoriesTheDeveloperIsToldAndNothingIsObserved) {
    platform::testing::TestEnvironment env(testing::appOptions());
    EXPECT_FALSE(YBXApplication::verifyCategoryMethodAvailability());
    EXPECT_TRUE(platform::log::contains("<Orvane> The ad library's category methods are not loaded."));
    const std::size_t before = NSNotificationCenter::defaultCenter()->observerCount();
    YBXApplication::load();
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->observerCount(), before);
}

// The store metadata is read once per process, so each file is a process of its own.
struct MetadataCase {
    const char* name;
    const char* contents;  // nullptr: no file
    Value expected;
};

class StoreMetadata : public ::testing::TestWithParam<MetadataCase> {};

TEST_P(StoreMetadata, IsTheFilesDictionaryOrEmpty) {
    AdLibEnvironment env;
    const std::string home = host::homePathFor(host::kPublisherApp);
    EXPECT_EQ(YBXApplication::iTunesMetadataPath(), Value(home + "/iTunesMetadata.plist"));
    if (GetParam().contents) {
        ASSERT_TRUE(fs::writeFileAtomically(home + "/iTunesMetadata.plist", GetParam().contents).ok());
    }
    EXPECT_EQ(sel::iTunesMetadata(YBXApplication::sharedApplication()), GetParam().expected);
    // The device parameters carry it.
    EXPECT_EQ(YBXDevice::currentDevice()->parameters()["ios_metadata"], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoreMetadata,
    ::testing::Values(MetadataCase{"Missing", nullptr, Value(Value::Dictionary{})},
                      MetadataCase{"NotADictionary", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>a</string></array></plist>",
                                   Value(Value::Dictionary{})},
                      MetadataCase{"Garbage", "not a property list", Value(Value::Dictionary{})},
                      MetadataCase{"ADictionary",
                                   "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>itemId</key><integer>42</integer>"
                                   "<key>bundleVersion</key><string>1.0</string></dict></plist>",
                                   Value{{"itemId", 42}, {"bundleVersion", "1.0"}}}),
    [](const ::testing::TestParamInfo<MetadataCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace adlib

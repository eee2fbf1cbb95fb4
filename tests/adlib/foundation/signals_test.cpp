#include "adlib/foundation/signals.h"

#include <gtest/gtest.h>

#include "tests/adlib/adlib_fixture.h"
#include "adlib/foundation/gesture_util.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/string_encoding.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "platform/foundation/uuid.h"
#include "platform/frameworks/adsupport.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::appOptions;

constexpr const char* kAdvertisingID = "1E2DFA89-496A-47FD-9941-DF1FC4E6484A";
constexpr std::uint32_t kUnset = 0xFFFFFFFFu;

// Web-safe Base64 without padding, back to its JSON object.
Value decodeBlock(std::string text) {
    while (text.size() % 4) text += '=';
    auto bytes = rfc4648Base64WebsafeStringEncoding()->decode(text);
    if (!bytes) return Value();
    return readJsonIntoDictionary(std::string(bytes->begin(), bytes->end()));
}

void post(const char* name) { NSNotificationCenter::defaultCenter()->postNotificationName(name, Value()); }

TEST(Signals, StartOnceThenFollowTheApplication) {
    AdLibEnvironment env;
    std::int64_t first = 0, sinceFirst = 0, sinceLast = 0;
    GetAppUsageTime(&first, &sinceFirst, &sinceLast);
    EXPECT_EQ(sinceFirst, -1);
    EXPECT_EQ(sinceLast, -1);
    EXPECT_FALSE(IsAppActive());
    post(UIApplicationDidBecomeActiveNotification);  // nobody listens yet
    EXPECT_FALSE(IsAppActive());

    ybx_gig("7.9.0");
    std::int64_t started = static_cast<std::int64_t>(platform::testing::kDefaultStart);
    ybx_gig("8.0.0");
    EXPECT_TRUE(signals::initialised());
    EXPECT_EQ(signals::sdkVersion(), "7.9.0");
    EXPECT_TRUE(IsAppActive());

    platform::testing::advance(30);
    post(UIApplicationWillResignActiveNotification);
    EXPECT_FALSE(IsAppActive());
    EXPECT_EQ(GetAppUsageTime(&first, &sinceFirst, &sinceLast), started + 30);
    EXPECT_EQ(first, started);
    EXPECT_EQ(sinceFirst, 30);
    EXPECT_EQ(sinceLast, -1);

    platform::testing::advance(10);
    post(UIApplicationDidBecomeActiveNotification);
    platform::testing::advance(5);
    GetAppUsageTime(&first, &sinceFirst, &sinceLast);
    EXPECT_TRUE(IsAppActive());
    EXPECT_EQ(first, started);  // set once
    EXPECT_EQ(sinceFirst, 45);
    EXPECT_EQ(sinceLast, 5);
}

TEST(Signals, TouchIgnoresUnsetValues) {
    AdLibEnvironment env;
    ybx_htg(10, 20, 300);
    ybx_htg(kUnset, 1, 1);
    ybx_htg(1, kUnset, 1);
    ybx_htg(1, 1, kUnset);
    YBXLastTouch t = signals::lastTouch();
    EXPECT_EQ(t.x, 10u);
    EXPECT_EQ(t.y, 20u);
    EXPECT_EQ(t.duration, 300u);
}

TEST(Signals, TimeZoneOffsetPlusOneDay) {
    struct Case {
        const char* zone;
        int minutes;
    } cases[] = {{"America/New_York", 1140}, {"Asia/Kolkata", 1770}, {"UTC", 1440}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        host::BootOptions options = appOptions();
        options.timeZone = c.zone;
        std::string out = platform::testing::runInChild(options, [] { return std::to_string(GetTimeZoneUTCOffsetMinutesPlusOneDay()); });
        EXPECT_EQ(out, std::to_string(c.minutes));
    }
}

TEST(Signals, NetworkType) {
    AdLibEnvironment env;
    struct Case {
        network::Connectivity connectivity;
        int type;
    } cases[] = {{network::Connectivity::wifi, 1}, {network::Connectivity::cellular, 0}, {network::Connectivity::none, -1}};
    for (const auto& c : cases) {
        network::setConnectivity(c.connectivity);
        EXPECT_EQ(GetNetworkType(), c.type);
        SCNetworkReachabilityFlags flags = 7;
        EXPECT_TRUE(IsReachable(&flags));
        EXPECT_EQ(flags, network::flagsFor(c.connectivity));
    }
    EXPECT_FALSE(IsReachable(nullptr));
}

TEST(Signals, BatteryPercentAndStateKeepToTheirHalves) {
    AdLibEnvironment env;
    UIDevice* device = UIDevice::currentDevice();
    auto traits = uikit::deviceTraits();
    traits.batteryLevel = 0.5f;
    traits.batteryState = UIDeviceBatteryStateCharging;
    uikit::setDeviceTraits(traits);
    EXPECT_EQ(GetBatteryInfo(), (std::uint64_t{2} << 32) | 50u);
    EXPECT_FALSE(sel::isBatteryMonitoringEnabled(device));  // switched back off

    traits.batteryLevel = -1.0f;  // unknown
    traits.batteryState = UIDeviceBatteryStateUnplugged;
    uikit::setDeviceTraits(traits);
    sel::setBatteryMonitoringEnabled_(device, true);
    std::uint64_t info = GetBatteryInfo();
    EXPECT_EQ(static_cast<std::int32_t>(info & 0xFFFFFFFFu), -100);
    EXPECT_EQ(info >> 32, 1u);
    EXPECT_TRUE(sel::isBatteryMonitoringEnabled(device));  // left as it was
}

TEST(Signals, ScreenDimensionsInPixels) {
    AdLibEnvironment env(appOptions("9.3", UIUserInterfaceIdiomPhone, 3.0));
    uikit::rotateDevice(UIInterfaceOrientationLandscapeLeft);
    EXPECT_EQ(GetScreenDimensions(), (std::uint64_t{1704} << 32) | 960u);
}

class WalkFixture : public ::testing::Test {
protected:
    AdLibEnvironment env;
    Ref<Object> window = sel::initWithFrame_(alloc("UIWindow"), Rect(0, 0, 320, 568));
    Ref<Object> add(id parent, const char* cls, Rect frame) {
        Ref<Object> v = sel::initWithFrame_(alloc(cls), frame);
        sel::addSubview_(parent, v);
        return v;
    }
    void SetUp() override { sel::makeKeyAndVisible(window); }
    static std::vector<std::string> names(const Value& records) {
        std::vector<std::string> out;
        for (const Value& r : records.array()) out.push_back(r["ViewName"].string());
        return out;
    }
};

TEST_F(WalkFixture, VisibleViewsWithWindowCoordinates) {
    Ref<Object> outer = add(window, "UIView", Rect(10, 100, 200, 200));
    Ref<Object> button = add(outer, "UIButton", Rect(5, 7, 40, 30));
    Ref<Object> hidden = add(window, "UIView", Rect(0, 0, 50, 50));
    add(hidden, "UIButton", Rect(0, 0, 10, 10));
    sel::setHidden_(hidden, true);

    Value records = GetWalkViews("");
    ASSERT_EQ(records.count(), 3u);  // the window, the outer view, the button
    const Value& b = records.array()[2];
    EXPECT_EQ(b["ViewName"].string(), YBXGestureUtil::viewInheritenceHierarchy(button.get(), 128));
    EXPECT_EQ(b["x"].doubleValue(), 15);
    EXPECT_EQ(b["y"].doubleValue(), 107);
    EXPECT_EQ(b["w"].doubleValue(), 40);
    EXPECT_EQ(b["h"].doubleValue(), 30);
}

TEST_F(WalkFixture, StopsBelowTheStopChainButListsIt) {
    Ref<Object> outer = add(window, "UIView", Rect(0, 0, 100, 100));
    add(outer, "UIButton", Rect(0, 0, 10, 10));
    std::string stop = YBXGestureUtil::viewInheritenceHierarchy(outer.get(), 128);
    std::vector<std::string> walked = names(GetWalkViews(stop));
    ASSERT_EQ(walked.size(), 2u);
    EXPECT_EQ(walked[1], stop);
}

TEST(GestureUtil, ClassChainAndItsCut) {
    AdLibEnvironment env;
    Ref<Object> button = newObject("UIButton");
    std::string chain = YBXGestureUtil::viewInheritenceHierarchy(button.get(), 1000);
    EXPECT_EQ(chain.rfind("UIButton:UIControl:UIView:UIResponder:", 0), 0u) << chain;
    EXPECT_EQ(chain.substr(chain.size() - std::string(":NSObject").size()), ":NSObject");
    EXPECT_EQ(YBXGestureUtil::viewInheritenceHierarchy(button.get(), 12), chain.substr(0, 12));
    EXPECT_EQ(YBXGestureUtil::viewInheritenceHierarchy(nullptr, 12), "");
    std::string longName(200, 'V');
    ClassBuilder<UIView>(longName, "UIView");
    EXPECT_EQ(YBXGestureUtil::viewInheritenceHierarchy(newObject(longName).get(), kYBXViewNameMaxSize), longName.substr(0, 128));
}

TEST(Signals, DeviceIDByTypeAndOptOut) {
    AdLibEnvironment env;
    Ref<NSUUID> uuid = NSUUID::initWithUUIDString(kAdvertisingID);
    const std::string encoded = GetWebSafeEncode(uuid->bytes().data(), 16);
    EXPECT_EQ(encoded.size(), 22u);  // no padding

    YBXDeviceID id = GetDeviceID();
    EXPECT_EQ(id.type, 4);
    EXPECT_FALSE(id.optedOut);
    EXPECT_EQ(id.identifier, Value(encoded));

    adsupport::setAdvertising(false, kAdvertisingID);
    id = GetDeviceID();
    EXPECT_TRUE(id.optedOut);
    EXPECT_EQ(id.identifier, Value(encoded));  // encoded whatever the opt-out

    adsupport::setAdvertising(true, "");
    id = GetDeviceID();
    EXPECT_TRUE(id.identifier.isNil());  // nothing uninitialised is sent
}

TEST(Signals, DeviceIDBeforeIOS6IsTheDigestOfThePerAppIdentifier) {
    AdLibEnvironment env(appOptions("5.1"));
    YBXDeviceID id = GetDeviceID();
    EXPECT_EQ(id.type, 1);
    EXPECT_FALSE(id.optedOut);
    Value stored = NSUserDefaults::standardUserDefaults()->objectForKey(kYBXAppIdDefaultsKey);
    ASSERT_TRUE(stored.isString());
    EXPECT_TRUE(NSUUID::initWithUUIDString(stored.string()));
    unsigned char digest[16];
    ASSERT_TRUE(ComputeDigest(stored, digest));
    EXPECT_EQ(id.identifier, Value(GetWebSafeEncode(digest, 16)));
    EXPECT_EQ(GetDeviceID().identifier, id.identifier);  // kept
    EXPECT_FALSE(ComputeDigest(Value(), digest));
    EXPECT_FALSE(ComputeDigest(Value("x"), nullptr));
}

TEST(Signals, CStringOfAString) {
    EXPECT_EQ(CFStringToCString(Value("héllo")), std::optional<std::string>("héllo"));
    EXPECT_EQ(CFStringToCString(Value()), std::nullopt);
    EXPECT_EQ(CFStringToCString(Value(3)), std::nullopt);
}

TEST(Signals, RequestBlockDecodesToTheReadingsAndLeavesTheIdentifierOutWhenOptedOut) {
    AdLibEnvironment env;
    network::setConnectivity(network::Connectivity::cellular);
    std::string pair;
    ASSERT_TRUE(YBXSignalsForRequest("7.9.0", &pair));
    ASSERT_EQ(pair.rfind("ms=", 0), 0u);
    Value block = decodeBlock(pair.substr(3));
    EXPECT_EQ(block[signal_key::sdkVersion], Value("7.9.0"));
    EXPECT_EQ(block[signal_key::networkType].integerValue(), 0);
    EXPECT_EQ(block[signal_key::timeZone].integerValue(), 1440);
    EXPECT_TRUE(block[signal_key::active].boolValue());
    EXPECT_EQ(block[signal_key::identifierType].integerValue(), 4);
    EXPECT_EQ(block[signal_key::identifier], GetDeviceID().identifier);
    EXPECT_EQ(block[signal_key::screen].integerValue(), static_cast<long long>(GetScreenDimensions()));

    adsupport::setAdvertising(false, kAdvertisingID);
    ASSERT_TRUE(YBXSignalsForRequest("7.9.0", &pair));
    block = decodeBlock(pair.substr(3));
    EXPECT_TRUE(block[signal_key::optedOut].boolValue());
    EXPECT_TRUE(block[signal_key::identifier].isNil());
    EXPECT_FALSE(YBXSignalsForRequest("7.9.0", nullptr));
}

TEST(Signals, ClickKeyDecodesToTheAdInfoAndTheLastTouch) {
    AdLibEnvironment env;
    ybx_htg(12, 34, 56);
    std::string key;
    ASSERT_TRUE(YBXSignalsForClick(Value("CLICK-INFO"), &key));
    EXPECT_EQ(key.find('='), std::string::npos);
    Value block = decodeBlock(key);
    EXPECT_EQ(block, (Value{{signal_key::adInfo, "CLICK-INFO"},
                            {signal_key::touchX, Value(12)},
                            {signal_key::touchY, Value(34)},
                            {signal_key::touchDuration, Value(56)}}));
    EXPECT_FALSE(YBXSignalsForClick(Value(), &key));
}

}  // namespace
}  // namespace adlib

#include "adlib/foundation/signals.h"

#include <cmath>
#include <random>

#include "adlib/foundation/gesture_util.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/string_encoding.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/uuid.h"
#include "platform/uikit/application.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

struct SignalState {
    bool initialised = false;
    std::string sdkVersion;
    std::int64_t firstActivation = 0;  // 0 until the first activation
    std::int64_t lastActivation = -1;  // -1 while inactive
    bool active = false;
    YBXLastTouch touch;
    // The module's own generator: the host app's is not ours to reseed.
    std::minstd_rand random;
    Ref<Object> activeObserver;
    Ref<Object> inactiveObserver;
};

SignalState& state() {
    static auto* s = new SignalState();
    return *s;
}

std::int64_t nowSeconds() { return static_cast<std::int64_t>(std::floor(clock::now().unix())); }

void markActive() {
    SignalState& s = state();
    s.lastActivation = nowSeconds();
    s.active = true;
    if (s.firstActivation == 0) s.firstActivation = s.lastActivation;
}

void markInactive() {
    state().lastActivation = -1;
    state().active = false;
}

std::uint64_t pair(std::uint32_t low, std::uint32_t high) { return (std::uint64_t{high} << 32) | low; }

std::string encodeJSON(const Value& dictionary) {
    std::string json = dictionaryToJSONString(dictionary);
    return GetWebSafeEncode(json.data(), json.size());
}

}  // namespace

void ybx_gig(std::string_view sdkVersion) {
    SignalState& s = state();
    if (s.initialised) return;
    s.random.seed(static_cast<std::uint32_t>(nowSeconds()));
    markActive();
    auto* center = NSNotificationCenter::defaultCenter();
    s.activeObserver = center->addObserverForName(UIApplicationDidBecomeActiveNotification, Value(), [](NSNotification*) { markActive(); });
    s.inactiveObserver = center->addObserverForName(UIApplicationWillResignActiveNotification, Value(), [](NSNotification*) { markInactive(); });
    s.initialised = true;
    s.sdkVersion = std::string(sdkVersion);
}

void ybx_htg(std::uint32_t x, std::uint32_t y, std::uint32_t duration) {
    constexpr std::uint32_t unset = 0xFFFFFFFFu;
    if (x == unset || y == unset || duration == unset) return;
    state().touch = {x, y, duration};
}

bool IsReachable(SCNetworkReachabilityFlags* flags) {
    if (!flags) return false;
    sel::reachability_(objc_getClass("YBXGestureUtil"), flags);
    return true;
}

int GetNetworkType() {
    SCNetworkReachabilityFlags flags = 0;
    IsReachable(&flags);
    if (!(flags & kSCNetworkReachabilityFlagsReachable)) return -1;
    return (flags & kSCNetworkReachabilityFlagsIsWWAN) ? 0 : 1;
}

std::uint64_t GetBatteryInfo() {
    UIDevice* device = UIDevice::currentDevice();
    bool wasOn = sel::isBatteryMonitoringEnabled(device);
    if (!wasOn) sel::setBatteryMonitoringEnabled_(device, true);
    float level = sel::batteryLevel(device);
    long long batteryState = sel::batteryState(device);
    if (!wasOn) sel::setBatteryMonitoringEnabled_(device, false);
    // The percent keeps to the low 32 bits (-100 for an unknown level), never reaching the state.
    auto percent = static_cast<std::int32_t>(level * 100.0f);
    return pair(static_cast<std::uint32_t>(percent), static_cast<std::uint32_t>(batteryState));
}

std::uint64_t GetScreenDimensions() {
    Size size = sel::size(sel::currentMode(UIScreen::mainScreen()));
    return pair(static_cast<std::uint32_t>(std::fabs(size.width)), static_cast<std::uint32_t>(std::fabs(size.height)));
}

int GetTimeZoneUTCOffsetMinutesPlusOneDay() {
    Date now = clock::now();
    long long local = NSTimeZone::systemTimeZone()->secondsFromGMTForDate(now);
    long long utc = NSTimeZone::timeZoneWithName("UTC")->secondsFromGMTForDate(now);
    return static_cast<int>((local - utc) / 60 + 1440);
}

bool IsAppActive() { return state().active; }

std::int64_t GetAppUsageTime(std::int64_t* first, std::int64_t* sinceFirst, std::int64_t* sinceLast) {
    const SignalState& s = state();
    std::int64_t now = nowSeconds();
    if (first) *first = s.firstActivation;
    if (sinceFirst) *sinceFirst = s.firstActivation == 0 || s.firstActivation > now ? -1 : now - s.firstActivation;
    if (sinceLast) *sinceLast = s.lastActivation == -1 || s.lastActivation > now ? -1 : now - s.lastActivation;
    return now;
}

Value GetWalkViews(const std::string& stop) { return sel::walkViews_(objc_getClass("YBXGestureUtil"), stop); }

std::string GetWebSafeEncode(const void* bytes, std::size_t length) {
    const auto* b = static_cast<const std::uint8_t*>(bytes);
    std::string text = rfc4648Base64WebsafeStringEncoding()->encode(Data(b, b + length));
    while (!text.empty() && text.back() == '=') text.pop_back();
    return text;
}

bool ComputeDigest(const Value& string, unsigned char* digest) {
    if (!string.isString() || !digest) return false;
    const std::string& text = string.string();
    CC_MD5(text.data(), static_cast<std::uint32_t>(text.size()), digest);
    return true;
}

YBXDeviceID GetDeviceID() {
    YBXDeviceID record;
    YBXGestureIdUtil* util = YBXGestureIdUtil::sharedInstance();
    record.optedOut = util->deviceOptedOut();
    record.type = util->deviceIdentifierType();
    Value identifier = util->deviceIdentifier();
    if (record.type == 0) {
        record.identifier = identifier;
    } else if (record.type == 4) {
        // Only a real UUID is sent: missing or unreadable gives none.
        Ref<NSUUID> uuid = identifier.isString() ? NSUUID::initWithUUIDString(identifier.string()) : nullptr;
        if (uuid) record.identifier = Value(GetWebSafeEncode(uuid->bytes().data(), uuid->bytes().size()));
    } else {
        unsigned char digest[CC_MD5_DIGEST_LENGTH];
        if (ComputeDigest(identifier, digest)) record.identifier = Value(GetWebSafeEncode(digest, sizeof digest));
    }
    return record;
}

std::optional<std::string> CFStringToCString(const Value& string) {
    if (!string.isString()) return std::nullopt;
    return string.string();
}

bool YBXSignalsForRequest(std::string_view sdkVersion, std::string* out) {
    if (!out) return false;
    ybx_gig(sdkVersion);
    std::int64_t first = 0, sinceFirst = 0, sinceLast = 0;
    std::int64_t now = GetAppUsageTime(&first, &sinceFirst, &sinceLast);
    Value::Dictionary readings{
        {signal_key::sdkVersion, Value(state().sdkVersion)},
        {signal_key::networkType, Value(GetNetworkType())},
        {signal_key::battery, Value(static_cast<long long>(GetBatteryInfo()))},
        {signal_key::screen, Value(static_cast<long long>(GetScreenDimensions()))},
        {signal_key::timeZone, Value(GetTimeZoneUTCOffsetMinutesPlusOneDay())},
        {signal_key::active, Value(IsAppActive())},
        {signal_key::firstActivation, Value(static_cast<long long>(first))},
        {signal_key::sinceFirst, Value(static_cast<long long>(sinceFirst))},
        {signal_key::sinceLast, Value(static_cast<long long>(sinceLast))},
        {signal_key::now, Value(static_cast<long long>(now))},
    };
    YBXDeviceID device = GetDeviceID();
    readings[signal_key::identifierType] = Value(device.type);
    readings[signal_key::optedOut] = Value(device.optedOut);
    if (!device.optedOut && device.identifier.isString()) readings[signal_key::identifier] = device.identifier;
    *out = std::string(kYBXRequestSignalName) + "=" + encodeJSON(Value(std::move(readings)));
    return true;
}

bool YBXSignalsForClick(const Value& adInfo, std::string* out) {
    if (!out || !adInfo.isString()) return false;
    const YBXLastTouch touch = state().touch;
    Value::Dictionary block{{signal_key::adInfo, adInfo},
                            {signal_key::touchX, Value(static_cast<long long>(touch.x))},
                            {signal_key::touchY, Value(static_cast<long long>(touch.y))},
                            {signal_key::touchDuration, Value(static_cast<long long>(touch.duration))}};
    *out = encodeJSON(Value(std::move(block)));
    return true;
}

namespace signals {
bool initialised() { return state().initialised; }
const std::string& sdkVersion() { return state().sdkVersion; }
YBXLastTouch lastTouch() { return state().touch; }
}  // namespace signals

}  // namespace adlib

// The device signals sent with each ad request and each click URL: the
// one-time start of gathering, the activity tracker, the last touch a
// creative reported, the collectors that read the device, and the two
// producers that make the opaque texts. Main thread; the globals are not
// locked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"
#include "platform/network/reachability.h"

namespace adlib {

// The JSON names of the signal blocks.
namespace signal_key {
inline constexpr const char* sdkVersion = "sdk";
inline constexpr const char* networkType = "net";
inline constexpr const char* battery = "bat";
inline constexpr const char* screen = "scr";
inline constexpr const char* timeZone = "tz";
inline constexpr const char* active = "act";
inline constexpr const char* firstActivation = "fa";
inline constexpr const char* sinceFirst = "sf";
inline constexpr const char* sinceLast = "sl";
inline constexpr const char* now = "now";
inline constexpr const char* identifier = "id";
inline constexpr const char* identifierType = "idt";
inline constexpr const char* optedOut = "oo";
inline constexpr const char* adInfo = "ai";
inline constexpr const char* touchX = "tx";
inline constexpr const char* touchY = "ty";
inline constexpr const char* touchDuration = "td";
}  // namespace signal_key

// The request's parameter name for its signal block.
inline constexpr const char* kYBXRequestSignalName = "ms";

struct YBXDeviceID {
    Value identifier;  // the encoded identifier or nil
    std::int32_t type = 0;  // 0 raw, 1 per-app UUID, 4 advertising identifier
    bool optedOut = false;
};

struct YBXLastTouch {
    std::uint32_t x = 0, y = 0, duration = 0;
};

// Entry points.
void ybx_gig(std::string_view sdkVersion);
void ybx_htg(std::uint32_t x, std::uint32_t y, std::uint32_t duration);

// Collectors.
bool IsReachable(SCNetworkReachabilityFlags* flags);
int GetNetworkType();
std::uint64_t GetBatteryInfo();
std::uint64_t GetScreenDimensions();
int GetTimeZoneUTCOffsetMinutesPlusOneDay();
bool IsAppActive();
std::int64_t GetAppUsageTime(std::int64_t* first, std::int64_t* sinceFirst, std::int64_t* sinceLast);
Value GetWalkViews(const std::string& stop);
std::string GetWebSafeEncode(const void* bytes, std::size_t length);
bool ComputeDigest(const Value& string, unsigned char* digest);
YBXDeviceID GetDeviceID();
// The UTF-8 text; nullopt for nil or anything that is not a string.
std::optional<std::string> CFStringToCString(const Value& string);

// Producers. The request's: "ms=" and the encoded block of readings. The
// click URL's: the encoded block of the ad info and the last touch, a key
// without a value. NO when there is nothing to add.
bool YBXSignalsForRequest(std::string_view sdkVersion, std::string* pair);
bool YBXSignalsForClick(const Value& adInfo, std::string* key);

// Tests: the signal state.
namespace signals {
bool initialised();
const std::string& sdkVersion();
YBXLastTouch lastTouch();
}  // namespace signals

}  // namespace adlib

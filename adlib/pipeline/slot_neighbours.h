// What the slot sends to its neighbours that are looked up by name: the shared
// application and its statistics, the MRAID interceptor, the request, the
// SDK-core controller, the ad web view and the slot statistics.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace ext {
// YBXApplication
inline constexpr Sel<void(id)> runEarlyActivities{"runEarlyActivities"};
inline constexpr Sel<bool(id)> isAppActive{"isAppActive"};
inline constexpr Sel<Value(id)> pendingAdStatistics{"pendingAdStatistics"};
inline constexpr Sel<void(id, Value)> didNotSendAdStatistics_{"didNotSendAdStatistics:"};
inline constexpr Sel<Value(id)> slotStatisticsDictionary{"slotStatisticsDictionary"};
inline constexpr Sel<void(id, id)> willLeaveApplicationDueToClickOnAd_{"willLeaveApplicationDueToClickOnAd:"};
inline constexpr Sel<void(id)> incrementTotalAdClickCount{"incrementTotalAdClickCount"};
inline constexpr Sel<Value(id, id)> nextRequestStatisticsDictionaryForSlot_{"nextRequestStatisticsDictionaryForSlot:"};
// YBXStatisticDictionary
inline constexpr Sel<void(id, Value, std::string, bool)> setObject_forKey_shouldNotifyDelegate_{"setObject:forKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, Value, std::string)> setObject_forKeyedSubscript_{"setObject:forKeyedSubscript:"};
inline constexpr Sel<Value(id, std::string)> objectForKey_{"objectForKey:"};
inline constexpr Sel<void(id, std::string, bool)> incrementNumberForKey_shouldNotifyDelegate_{"incrementNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<Value(id)> dictionary{"dictionary"};
// YBXSlotStatistics
inline constexpr Sel<void(id, Value)> setIdentifier_{"setIdentifier:"};
// YBXMRAIDInterceptor (class methods)
inline constexpr Sel<void(id)> allow{"allow"};
inline constexpr Sel<void(id)> enableCanInitWithRequest{"enableCanInitWithRequest"};
inline constexpr Sel<void(id)> disableCanInitWithRequest{"disableCanInitWithRequest"};
// YBXRequest
inline constexpr Sel<Value(id)> networkExtrasAdditionalParameters{"networkExtrasAdditionalParameters"};
inline constexpr Sel<Value(id)> privateMediationExtras{"privateMediationExtras"};
// YBXAbsoluteTime (class method)
inline constexpr Sel<Value(id)> absoluteTimeInMilliseconds{"absoluteTimeInMilliseconds"};
}  // namespace ext

// The shared YBXApplication, or null.
inline Ref<Object> application() { return sel::sharedApplication(objc_getClass("YBXApplication")); }

// YBXAbsoluteTime's milliseconds.
inline double nowMilliseconds() { return ext::absoluteTimeInMilliseconds(objc_getClass("YBXAbsoluteTime")).doubleValue(); }

}  // namespace adlib

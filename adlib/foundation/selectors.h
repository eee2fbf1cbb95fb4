// The ad library's selectors: the platform's, and those of the library's own
// classes and of the ybx_ methods it adds to platform classes, each declared
// once with its signature. ':' is written '_'.
#pragma once

#include <functional>
#include <string>

#include "platform/foundation/dispatch.h"
#include "platform/foundation/error.h"
#include "platform/frameworks/selectors.h"
#include "platform/uikit/selectors.h"

namespace adlib {
using namespace platform;

namespace sel {
using namespace platform::sel;

// A request as the errors see it (YBXRequest): its URL parameters, a dictionary or nil.
inline constexpr Sel<Value(id)> parameters{"parameters"};

// A slot (YBXSlot): whether it is mediating the request being made.
inline constexpr Sel<bool(id)> isMediating{"isMediating"};
// An ad (YBXAd): its own statistics, a YBXStatisticDictionary.
inline constexpr Sel<Ref<Object>(id)> statistics{"statistics"};
// YBXApplication's store metadata, a dictionary.
inline constexpr Sel<Value(id)> iTunesMetadata{"iTunesMetadata"};
// Class methods of later folders' classes that the application's early
// activities send by name: YBXMRAIDInterceptor's and YBXMAdNetworkAdapter's.
inline constexpr Sel<void(id)> allow{"allow"};
inline constexpr Sel<Value(id)> availableAdapterNames{"availableAdapterNames"};

// YBXAbsoluteTime
inline constexpr Sel<Value(id)> absoluteTimeInMilliseconds{"absoluteTimeInMilliseconds"};

// YBXTiming
inline constexpr Sel<double(id)> counter{"counter"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithCategory_{"initWithCategory:"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithDictionaryRepresentation_{"initWithDictionaryRepresentation:"};
inline constexpr Sel<Ref<Object>(id, void*)> copyWithZone_{"copyWithZone:"};
inline constexpr Sel<Value(id)> dictionaryRepresentation{"dictionaryRepresentation"};
inline constexpr Sel<Value(id)> category{"category"};
inline constexpr Sel<bool(id)> explicitEnd{"explicitEnd"};
inline constexpr Sel<void(id, bool)> setExplicitEnd_{"setExplicitEnd:"};
inline constexpr Sel<double(id)> startTimestamp{"startTimestamp"};
inline constexpr Sel<double(id)> endTimestamp{"endTimestamp"};
inline constexpr Sel<void(id)> start{"start"};
inline constexpr Sel<void(id)> end{"end"};
inline constexpr Sel<unsigned long(id)> elapsedMilliseconds{"elapsedMilliseconds"};
inline constexpr Sel<std::string(id)> elapsedMillisecondsString{"elapsedMillisecondsString"};
inline constexpr Sel<bool(id)> isActive{"isActive"};
inline constexpr Sel<void(id, Value, Value)> setValue_forKey_{"setValue:forKey:"};
inline constexpr Sel<Value(id, std::string)> valueForKey_{"valueForKey:"};
inline constexpr Sel<void(id, std::string)> removeValueForKey_{"removeValueForKey:"};
inline constexpr Sel<Value(id)> keysAndValues{"keysAndValues"};

// YBXTimingManager
inline constexpr Sel<Value(id)> timings{"timings"};
inline constexpr Sel<Value(id)> categories{"categories"};
inline constexpr Sel<void(id, id)> addTiming_{"addTiming:"};
inline constexpr Sel<Ref<Object>(id, Value)> addTimingWithCategory_{"addTimingWithCategory:"};
inline constexpr Sel<Ref<Object>(id, std::string)> timingForCategory_{"timingForCategory:"};
inline constexpr Sel<void(id, id)> removeTiming_{"removeTiming:"};
inline constexpr Sel<void(id, std::string)> removeTimingForCategory_{"removeTimingForCategory:"};
inline constexpr Sel<void(id, Value)> removeTimingsForCategories_{"removeTimingsForCategories:"};
inline constexpr Sel<void(id)> removeAllTimings{"removeAllTimings"};
inline constexpr Sel<void(id)> loadPersistentTimings{"loadPersistentTimings"};
inline constexpr Sel<void(id)> savePersistentTimings{"savePersistentTimings"};
// Shared with YBXStatisticsCore and YBXSlotStatistics.
inline constexpr Sel<Value(id)> identifier{"identifier"};
inline constexpr Sel<void(id, Value)> setIdentifier_{"setIdentifier:"};
inline constexpr Sel<void(id)> synchronize{"synchronize"};

// YBXStatisticsCore
inline constexpr Sel<void(id, Value, std::string)> setString_forKey_{"setString:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setNumber_forKey_{"setNumber:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setDate_forKey_{"setDate:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setArray_forKey_{"setArray:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setDictionary_forKey_{"setDictionary:forKey:"};
inline constexpr Sel<void(id, Value, std::string, std::string)> setObject_forKey_matchingClass_{"setObject:forKey:matchingClass:"};
inline constexpr Sel<Value(id, std::string)> stringForKey_{"stringForKey:"};
inline constexpr Sel<Value(id, std::string)> numberForKey_{"numberForKey:"};
inline constexpr Sel<Value(id, std::string)> dateForKey_{"dateForKey:"};
inline constexpr Sel<Value(id, std::string)> arrayForKey_{"arrayForKey:"};
inline constexpr Sel<Value(id, std::string)> dictionaryForKey_{"dictionaryForKey:"};
inline constexpr Sel<long long(id, long long, std::string)> addValue_numberForKey_{"addValue:numberForKey:"};
inline constexpr Sel<void(id, Value, std::string)> appendValue_arrayForKey_{"appendValue:arrayForKey:"};
inline constexpr Sel<void(id, std::string)> removeObjectForKey_{"removeObjectForKey:"};
inline constexpr Sel<void(id)> loadPersistentStatistics{"loadPersistentStatistics"};
inline constexpr Sel<void(id)> savePersistentStatistics{"savePersistentStatistics"};

// YBXStatistics (statistics, parameters: see the shared ones above)
inline constexpr Sel<Value(id)> allTimingNames{"allTimingNames"};
inline constexpr Sel<Value(id)> allCounterNames{"allCounterNames"};
inline constexpr Sel<Ref<Object>(id)> timingMgr{"timingMgr"};
inline constexpr Sel<Ref<Object>(id, std::string)> timingNamed_{"timingNamed:"};
inline constexpr Sel<void(id, std::string, bool)> startTimingNamed_withExplicitEnd_{"startTimingNamed:withExplicitEnd:"};
inline constexpr Sel<void(id, std::string)> endTimingNamed_{"endTimingNamed:"};
inline constexpr Sel<void(id, std::string)> removeTimingNamed_{"removeTimingNamed:"};
inline constexpr Sel<void(id, std::string)> incrementParameterCount_{"incrementParameterCount:"};
inline constexpr Sel<void(id, std::string)> resetParameterCount_{"resetParameterCount:"};
inline constexpr Sel<unsigned long long(id, std::string)> valueForParameter_{"valueForParameter:"};
inline constexpr Sel<void(id, std::string)> setFlagWithParameterName_{"setFlagWithParameterName:"};
inline constexpr Sel<void(id, std::string)> resetFlagWithParameterName_{"resetFlagWithParameterName:"};

// YBXSlotStatistics
inline constexpr Sel<void(id)> startTimingAdapter{"startTimingAdapter"};
inline constexpr Sel<void(id, long)> endTimingAdapterWithExitCode_{"endTimingAdapterWithExitCode:"};
inline constexpr Sel<void(id)> resetTimingAdapters{"resetTimingAdapters"};
inline constexpr Sel<Value(id)> adapterExitCodesParameter{"adapterExitCodesParameter"};
inline constexpr Sel<Value(id)> adapterDurationsParameter{"adapterDurationsParameter"};

// YBXStatisticDictionary and its delegate protocol
// YBXStatisticDictionaryDelegate: a nil queue means the delegate is never told.
inline constexpr Sel<dispatch_queue_t(id)> notificationQueue{"notificationQueue"};
inline constexpr Sel<void(id, id)> didUpdateStatisticDictionary_{"didUpdateStatisticDictionary:"};

inline constexpr Sel<Ref<Object>(id, std::string, id)> initWithQueueLabel_delegate_{"initWithQueueLabel:delegate:"};
inline constexpr Sel<Ref<Object>(id, id)> initWithDelegate_{"initWithDelegate:"};
inline constexpr Sel<void(id, Value, std::string, bool)> setObject_forKey_shouldNotifyDelegate_{"setObject:forKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, Value, std::string)> setObject_forKeyedSubscript_{"setObject:forKeyedSubscript:"};
inline constexpr Sel<Value(id, std::string)> objectForKey_{"objectForKey:"};
inline constexpr Sel<Value(id, std::string)> objectForKeyedSubscript_{"objectForKeyedSubscript:"};
inline constexpr Sel<void(id, Value, std::string, bool)> addDecimalNumber_toNumberForKey_shouldNotifyDelegate_{
    "addDecimalNumber:toNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, std::string, bool)> incrementNumberForKey_shouldNotifyDelegate_{"incrementNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, std::string, bool)> decrementNumberForKey_shouldNotifyDelegate_{"decrementNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, Value, std::string, bool)> addObject_toArrayWithKey_shouldNotifyDelegate_{
    "addObject:toArrayWithKey:shouldNotifyDelegate:"};
inline constexpr Sel<Value(id)> dictionary{"dictionary"};
inline constexpr Sel<void(id)> didFinishModifying{"didFinishModifying"};

// YBXSession
inline constexpr Sel<unsigned long long(id)> sessionID{"sessionID"};
inline constexpr Sel<std::string(id)> sessionIDAsString{"sessionIDAsString"};

// YBXApplication and its YBXStatisticsAdditions
inline constexpr Sel<Ref<Object>(id)> currentSession{"currentSession"};
inline constexpr Sel<bool(id)> appFinishedLaunching{"appFinishedLaunching"};
inline constexpr Sel<bool(id)> isAppActive{"isAppActive"};
inline constexpr Sel<Value(id)> iTunesMetadataPath{"iTunesMetadataPath"};
inline constexpr Sel<Value(id, Value)> normalizedWebViewNavigationSchemes_{"normalizedWebViewNavigationSchemes:"};
inline constexpr Sel<dispatch_queue_t(id)> notificationSerialQueue{"notificationSerialQueue"};
inline constexpr Sel<dispatch_queue_t(id)> statisticsSerialQueue{"statisticsSerialQueue"};
inline constexpr Sel<dispatch_queue_t(id)> lockQueue{"lockQueue"};
inline constexpr Sel<Ref<Object>(id)> discardableStoreProductViewControllerAppCache{"discardableStoreProductViewControllerAppCache"};
inline constexpr Sel<Value(id)> pendingAdStatistics{"pendingAdStatistics"};
inline constexpr Sel<void(id, Value)> didNotSendAdStatistics_{"didNotSendAdStatistics:"};
inline constexpr Sel<bool(id)> verifyCategoryMethodAvailability{"verifyCategoryMethodAvailability"};
inline constexpr Sel<void(id)> runEarlyActivities{"runEarlyActivities"};
inline constexpr Sel<void(id)> load{"load"};
// YBXStatisticsAdditions
inline constexpr Sel<Ref<Object>(id, Value)> slotStatisticsForSlotID_{"slotStatisticsForSlotID:"};
inline constexpr Sel<Value(id)> slotStatisticsDictionary{"slotStatisticsDictionary"};
inline constexpr Sel<void(id, id)> willLeaveApplicationDueToClickOnAd_{"willLeaveApplicationDueToClickOnAd:"};
inline constexpr Sel<void(id)> didBecomeActive{"didBecomeActive"};
inline constexpr Sel<void(id)> incrementTotalAdRequestCount{"incrementTotalAdRequestCount"};
inline constexpr Sel<void(id)> decrementTotalAdRequestCount{"decrementTotalAdRequestCount"};
inline constexpr Sel<void(id)> incrementTotalAdClickCount{"incrementTotalAdClickCount"};
inline constexpr Sel<void(id)> incrementSequenceNumber{"incrementSequenceNumber"};
inline constexpr Sel<std::string(id)> nextSequenceNumberAsString{"nextSequenceNumberAsString"};
inline constexpr Sel<Value(id)> timeSinceFirstAdRequestInMilliseconds{"timeSinceFirstAdRequestInMilliseconds"};
inline constexpr Sel<Value(id, id)> nextRequestStatisticsDictionaryForSlot_{"nextRequestStatisticsDictionaryForSlot:"};

// YBXMRAIDInterceptor
inline constexpr Sel<void(id)> disallow{"disallow"};
inline constexpr Sel<bool(id)> isAllowed{"isAllowed"};

// YBXMAdNetworkAdapter
inline constexpr Sel<bool(id, Class*)> classIsAdapterClass_{"classIsAdapterClass:"};

}  // namespace sel
}  // namespace adlib

// The ad library's selectors: the platform's, and those of the library's own
// classes and of the ybx_ methods it adds to platform classes, each declared
// once with its signature. ':' is written '_'.
#pragma once

#include <functional>

#include "platform/foundation/error.h"
#include "platform/frameworks/selectors.h"
#include "platform/network/url.h"
#include "platform/uikit/selectors.h"

namespace adlib {
using namespace platform;

namespace sel {
using namespace platform::sel;

// A request as the errors see it (YBXRequest): its URL parameters, a dictionary or nil.
inline constexpr Sel<Value(id)> parameters{"parameters"};

// Loads (YBXCachedFile, YBXURLConnection).
inline constexpr Sel<void(id)> cancel{"cancel"};
inline constexpr Sel<void(id)> stop{"stop"};
inline constexpr Sel<Ref<Object>(id)> sourceURL{"sourceURL"};
inline constexpr Sel<Ref<Object>(id)> destinationURL{"destinationURL"};
inline constexpr Sel<Ref<Object>(id)> response{"response"};
inline constexpr Sel<Value(id)> data{"data"};

// YBXURLConnectionDelegate, every method required. (connection, new URL): an
// error stops the load, nil lets it go on.
inline constexpr Sel<Ref<Object>(id, id, NSURL*)> connection_shouldRedirectToURL_{"connection:shouldRedirectToURL:"};
inline constexpr Sel<void(id, id, id)> connection_loadDidReceiveRedirectResponse_{"connection:loadDidReceiveRedirectResponse:"};
inline constexpr Sel<bool(id, id, id)> connection_loadShouldUseCachedResponse_{"connection:loadShouldUseCachedResponse:"};
inline constexpr Sel<void(id, id, id)> connection_loadDidReceiveCachedResponse_{"connection:loadDidReceiveCachedResponse:"};
// (connection, body text or nil when it is no UTF-8, final URL)
inline constexpr Sel<void(id, id, Value, NSURL*)> connection_loadDidFinish_baseURL_{"connection:loadDidFinish:baseURL:"};
// (connection, error or nil, HTTP status or -1)
inline constexpr Sel<void(id, id, id, long long)> connection_loadDidFail_httpStatusCode_{"connection:loadDidFail:httpStatusCode:"};

// YBXURLConnection. Body bytes and content type are nil when absent; the
// error out-parameter may be null.
inline constexpr Sel<bool(id, NSURL*, Value, Value, id, Ref<Object>*)> startWithURL_withData_andType_forDelegate_error_{
    "startWithURL:withData:andType:forDelegate:error:"};
inline constexpr Sel<bool(id, NSURL*, Value, Value, id)> startWithURL_withData_andType_forDelegate_{
    "startWithURL:withData:andType:forDelegate:"};
inline constexpr Sel<bool(id, NSURL*, id, Ref<Object>*)> startWithURL_forDelegate_error_{"startWithURL:forDelegate:error:"};
inline constexpr Sel<bool(id, NSURL*, id)> startWithURL_forDelegate_{"startWithURL:forDelegate:"};
inline constexpr Sel<Ref<Object>(id, NSURL*, Value, Value)> requestForURL_withData_andType_{"requestForURL:withData:andType:"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> cachedResponseForURL_{"cachedResponseForURL:"};
inline constexpr Sel<bool(id)> tryToStoreResponseAndData{"tryToStoreResponseAndData"};
inline constexpr Sel<Ref<Object>(id)> connectionFactory{"connectionFactory"};
inline constexpr Sel<Ref<Object>(id)> memoryCache{"memoryCache"};
inline constexpr Sel<void(id)> clearCache{"clearCache"};
inline constexpr Sel<std::string(id, NSURL*)> cacheKeyForURL_{"cacheKeyForURL:"};
inline constexpr Sel<Value(id)> defaultCachePath{"defaultCachePath"};
inline constexpr Sel<bool(id)> isInProgress{"isInProgress"};
inline constexpr Sel<bool(id)> allowCache{"allowCache"};
inline constexpr Sel<void(id, bool)> setAllowCache_{"setAllowCache:"};
inline constexpr Sel<Ref<Object>(id)> connection{"connection"};
inline constexpr Sel<Value(id)> receivedData{"receivedData"};

// NSCopying: a new object with the same contents (the zone is not used).
inline constexpr Sel<Ref<Object>(id, void*)> copyWithZone_{"copyWithZone:"};

// YBXDevice's network monitor (YBXNetwork).
inline constexpr Sel<Ref<Object>(id)> network{"network"};

// YBXMarlexExtras (and its subclass QRTExtras).
inline constexpr Sel<Value(id)> additionalParameters{"additionalParameters"};
inline constexpr Sel<void(id, Value)> setAdditionalParameters_{"setAdditionalParameters:"};
inline constexpr Sel<Value(id)> publisherProvidedID{"publisherProvidedID"};
inline constexpr Sel<void(id, Value)> setPublisherProvidedID_{"setPublisherProvidedID:"};

// YBXLocation.
inline constexpr Sel<Ref<Object>(id, double, double, double)> initWithLatitude_longitude_accuracy_{"initWithLatitude:longitude:accuracy:"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithLocationDescription_{"initWithLocationDescription:"};
inline constexpr Sel<double(id)> latitude{"latitude"};
inline constexpr Sel<double(id)> longitude{"longitude"};
inline constexpr Sel<double(id)> accuracy{"accuracy"};
inline constexpr Sel<Value(id)> locationDescription{"locationDescription"};
inline constexpr Sel<bool(id)> isPreciseLocation{"isPreciseLocation"};
inline constexpr Sel<Value(id)> dictionaryRepresentation{"dictionaryRepresentation"};

// YBXRequest. The request class method is the platform's `request`.
inline constexpr Sel<long long(id, Value)> requestTypeFromString_{"requestTypeFromString:"};
inline constexpr Sel<void(id, id)> registerAdNetworkExtras_{"registerAdNetworkExtras:"};
inline constexpr Sel<Ref<Object>(id, id)> adNetworkExtrasFor_{"adNetworkExtrasFor:"};
inline constexpr Sel<void(id, id)> removeAdNetworkExtrasFor_{"removeAdNetworkExtrasFor:"};
inline constexpr Sel<Ref<Object>(id)> networkExtras{"networkExtras"};
inline constexpr Sel<Value(id)> networkExtrasAdditionalParameters{"networkExtrasAdditionalParameters"};
inline constexpr Sel<Value(id)> networkExtrasMap{"networkExtrasMap"};
inline constexpr Sel<Value(id)> genderString{"genderString"};
inline constexpr Sel<void(id, long long, long long, long long)> setBirthdayWithMonth_day_year_{"setBirthdayWithMonth:day:year:"};
inline constexpr Sel<Value(id)> birthdayString{"birthdayString"};
inline constexpr Sel<Value(id)> contentURLString{"contentURLString"};
inline constexpr Sel<void(id, double, double, double)> setLocationWithLatitude_longitude_accuracy_{"setLocationWithLatitude:longitude:accuracy:"};
inline constexpr Sel<void(id, Value)> setLocationWithDescription_{"setLocationWithDescription:"};
inline constexpr Sel<void(id, Value)> addKeyword_{"addKeyword:"};
inline constexpr Sel<void(id, bool)> tagForChildDirectedTreatment_{"tagForChildDirectedTreatment:"};
inline constexpr Sel<Value(id)> analyticsIDs{"analyticsIDs"};
inline constexpr Sel<bool(id)> isATestDevice{"isATestDevice"};
// (the parameters being built)
inline constexpr Sel<void(id, Value::Dictionary*)> addQRTParameters_{"addQRTParameters:"};
inline constexpr Sel<Value(id)> testDevices{"testDevices"};
inline constexpr Sel<void(id, Value)> setTestDevices_{"setTestDevices:"};
inline constexpr Sel<bool(id)> isTesting{"isTesting"};
inline constexpr Sel<void(id, bool)> setTesting_{"setTesting:"};
inline constexpr Sel<long long(id)> gender{"gender"};
inline constexpr Sel<void(id, long long)> setGender_{"setGender:"};
inline constexpr Sel<Value(id)> birthday{"birthday"};
inline constexpr Sel<void(id, Value)> setBirthday_{"setBirthday:"};
inline constexpr Sel<Value(id)> keywords{"keywords"};
inline constexpr Sel<void(id, Value)> setKeywords_{"setKeywords:"};
inline constexpr Sel<Ref<Object>(id)> location{"location"};
inline constexpr Sel<void(id, id)> setLocation_{"setLocation:"};
inline constexpr Sel<Value(id)> contentURL{"contentURL"};
inline constexpr Sel<void(id, Value)> setContentURL_{"setContentURL:"};
// A bool number, or nil until the publisher sets it.
inline constexpr Sel<Value(id)> childDirectedTreatment{"childDirectedTreatment"};
inline constexpr Sel<void(id, Value)> setChildDirectedTreatment_{"setChildDirectedTreatment:"};
inline constexpr Sel<Value(id)> mediationExtras{"mediationExtras"};
inline constexpr Sel<void(id, Value)> setMediationExtras_{"setMediationExtras:"};
inline constexpr Sel<Value(id)> privateMediationExtras{"privateMediationExtras"};
inline constexpr Sel<void(id, Value)> setPrivateMediationExtras_{"setPrivateMediationExtras:"};
inline constexpr Sel<Value(id)> formatParameters{"formatParameters"};
inline constexpr Sel<void(id, Value)> setFormatParameters_{"setFormatParameters:"};
inline constexpr Sel<unsigned long long(id)> responseType{"responseType"};
inline constexpr Sel<void(id, unsigned long long)> setResponseType_{"setResponseType:"};
// YBXRequestVersionInfo (class methods of YBXRequest).
inline constexpr Sel<std::string(id)> sdkVersion{"sdkVersion"};
inline constexpr Sel<std::string(id)> sdkVersionMetadata{"sdkVersionMetadata"};
inline constexpr Sel<std::string(id)> sdkVersionIdentifiers{"sdkVersionIdentifiers"};
inline constexpr Sel<std::string(id)> extendedSDKVersionNumber{"extendedSDKVersionNumber"};

// YBXSearchRequest. Colours are UIColor objects or nil; setBackgroundColor:
// and setBorderColor: are UIKit's.
inline constexpr Sel<Value(id)> query{"query"};
inline constexpr Sel<void(id, Value)> setQuery_{"setQuery:"};
inline constexpr Sel<Ref<Object>(id)> gradientFrom{"gradientFrom"};
inline constexpr Sel<void(id, id)> setGradientFrom_{"setGradientFrom:"};
inline constexpr Sel<Ref<Object>(id)> gradientTo{"gradientTo"};
inline constexpr Sel<void(id, id)> setGradientTo_{"setGradientTo:"};
inline constexpr Sel<Ref<Object>(id)> headerColor{"headerColor"};
inline constexpr Sel<void(id, id)> setHeaderColor_{"setHeaderColor:"};
inline constexpr Sel<Ref<Object>(id)> descriptionTextColor{"descriptionTextColor"};
inline constexpr Sel<void(id, id)> setDescriptionTextColor_{"setDescriptionTextColor:"};
inline constexpr Sel<Ref<Object>(id)> anchorTextColor{"anchorTextColor"};
inline constexpr Sel<void(id, id)> setAnchorTextColor_{"setAnchorTextColor:"};
inline constexpr Sel<Value(id)> fontFamily{"fontFamily"};
inline constexpr Sel<void(id, Value)> setFontFamily_{"setFontFamily:"};
inline constexpr Sel<unsigned long long(id)> headerTextSize{"headerTextSize"};
inline constexpr Sel<void(id, unsigned long long)> setHeaderTextSize_{"setHeaderTextSize:"};
inline constexpr Sel<unsigned long long(id)> borderType{"borderType"};
inline constexpr Sel<void(id, unsigned long long)> setBorderType_{"setBorderType:"};
inline constexpr Sel<unsigned long long(id)> borderThickness{"borderThickness"};
inline constexpr Sel<void(id, unsigned long long)> setBorderThickness_{"setBorderThickness:"};
inline constexpr Sel<Value(id)> customChannels{"customChannels"};
inline constexpr Sel<void(id, Value)> setCustomChannels_{"setCustomChannels:"};
inline constexpr Sel<unsigned long long(id)> callButtonColor{"callButtonColor"};
inline constexpr Sel<void(id, unsigned long long)> setCallButtonColor_{"setCallButtonColor:"};
inline constexpr Sel<Value(id, id)> hexStringFromColor_{"hexStringFromColor:"};
inline constexpr Sel<std::string(id, unsigned long long)> getBorderTypeString_{"getBorderTypeString:"};
inline constexpr Sel<std::string(id, unsigned long long)> getCallButtonTypeString_{"getCallButtonTypeString:"};
inline constexpr Sel<void(id, id)> setBackgroundSolid_{"setBackgroundSolid:"};
inline constexpr Sel<void(id, id, id)> setBackgroundGradientFrom_toColor_{"setBackgroundGradientFrom:toColor:"};

// YBXCachedURLResponse: (response, data, expiration date, destination URL).
inline constexpr Sel<Ref<Object>(id, id, Value, Value, NSURL*)> initWithResponse_data_expirationDate_destinationURL_{
    "initWithResponse:data:expirationDate:destinationURL:"};
inline constexpr Sel<Value(id)> expirationDate{"expirationDate"};

}  // namespace sel
}  // namespace adlib

// YBXRequestError: the errors a publisher hears, one public domain with
// fourteen numbered codes and a fixed text each; and the NSError category
// YBXInternalErrorAdditions for the library's private domain. Errors are
// immutable once made and pass between threads.
#pragma once

#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"

namespace adlib {

inline constexpr std::string_view kYBXErrorDomain = "com.orvane.ads";
inline constexpr std::string_view kYBXPrivateErrorDomain = "com.orvane.ads.private";
// userInfo key of the HTTP status text.
inline constexpr std::string_view kYBXHttpStatusKey = "HttpStatus";

// YBXErrorCode
enum YBXErrorCode : long long {
    YBXErrorCodeInvalidRequest = 0,
    YBXErrorCodeNoFill = 1,
    YBXErrorCodeNetwork = 2,
    YBXErrorCodeServer = 3,
    YBXErrorCodeOSUnsupported = 4,
    YBXErrorCodeTimeout = 5,
    YBXErrorCodeInterstitialReused = 6,
    YBXErrorCodeInvalidMediationResponse = 7,
    YBXErrorCodeNoAdapter = 8,
    YBXErrorCodeMediationNoFill = 9,
    YBXErrorCodeIncompatibleAdType = 10,
    YBXErrorCodeInternal = 11,
    YBXErrorCodeInvalidArgument = 12,
    YBXErrorCodeInvalidResponse = 13,
};

// Codes of the private domain.
enum : long long {
    YBXInternalErrorCodeFileNotRead = 1,
    YBXInternalErrorCodeInternal = 2,
    YBXInternalErrorCodeInvalidArgument = 3,
};

namespace sel {
// YBXRequestError; the request is any object answering `parameters`, the
// message a string or nil.
inline constexpr Sel<Ref<Object>(id, long long, id, long long, Value, id)> initWithCode_request_HTTPStatusCode_customMessage_underlyingError_{
    "initWithCode:request:HTTPStatusCode:customMessage:underlyingError:"};
inline constexpr Sel<Ref<Object>(id, long long, id, long long, Value, id)> errorWithCode_request_HTTPStatusCode_customMessage_underlyingError_{
    "errorWithCode:request:HTTPStatusCode:customMessage:underlyingError:"};
inline constexpr Sel<Ref<Object>(id, long long, id, long long, Value)> errorWithCode_request_HTTPStatusCode_customMessage_{
    "errorWithCode:request:HTTPStatusCode:customMessage:"};
inline constexpr Sel<Ref<Object>(id, long long, id, long long)> errorWithCode_request_HTTPStatusCode_{"errorWithCode:request:HTTPStatusCode:"};
inline constexpr Sel<Ref<Object>(id, long long, id)> errorWithCode_request_{"errorWithCode:request:"};
inline constexpr Sel<Ref<Object>(id, long long)> errorWithCode_{"errorWithCode:"};
inline constexpr Sel<Ref<Object>(id, long long, Value)> errorWithCode_customMessage_{"errorWithCode:customMessage:"};
inline constexpr Sel<Ref<Object>(id, long long, id)> errorWithCode_underlyingError_{"errorWithCode:underlyingError:"};
inline constexpr Sel<std::string(id, long long)> localizedStringForErrorCode_{"localizedStringForErrorCode:"};

// YBXInternalErrorAdditions (class methods of NSError); the description a string or nil.
inline constexpr Sel<Ref<Object>(id, std::string, long long, Value)> ybx_errorWithDomain_code_description_{"ybx_errorWithDomain:code:description:"};
inline constexpr Sel<Ref<Object>(id, long long, Value)> ybx_errorWithCode_description_{"ybx_errorWithCode:description:"};
inline constexpr Sel<Value(id, long long)> ybx_localizedDescriptionForErrorCode_{"ybx_localizedDescriptionForErrorCode:"};
}  // namespace sel

// What a delegate answers to refuse a redirect (a nil answer follows it).
Ref<Object> YBXRedirectRefusedError();

// The class objects, for class-method sends.
Class* YBXRequestErrorClass();
Class* NSErrorClass();

// Registers YBXRequestError and the NSError category.
void registerRequestErrorClasses();

}  // namespace adlib

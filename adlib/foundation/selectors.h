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

// YBXCachedURLResponse: (response, data, expiration date, destination URL).
inline constexpr Sel<Ref<Object>(id, id, Value, Value, NSURL*)> initWithResponse_data_expirationDate_destinationURL_{
    "initWithResponse:data:expirationDate:destinationURL:"};
inline constexpr Sel<Value(id)> expirationDate{"expirationDate"};

}  // namespace sel
}  // namespace adlib

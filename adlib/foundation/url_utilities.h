// The NSURL category YBXNSURLUtilities: what kind of ad-server URL a URL is,
// appending query parameters (the click destination "adurl" stays last),
// reading the query, the impression ticket of a path. The methods are added
// to NSURL; the functions are the same for the library's own callers. Any thread.
#pragma once

#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

namespace sel {
inline constexpr Sel<bool(id)> ybx_isMediationURL{"ybx_isMediationURL"};
inline constexpr Sel<bool(id)> ybx_isSDKJavaScriptURL{"ybx_isSDKJavaScriptURL"};
inline constexpr Sel<bool(id)> ybx_isHNVURL{"ybx_isHNVURL"};
inline constexpr Sel<Ref<Object>(id, Value, std::string)> ybx_appendQueryValue_forKey_{"ybx_appendQueryValue:forKey:"};
inline constexpr Sel<Ref<Object>(id, Value)> ybx_appendQueryParameters_{"ybx_appendQueryParameters:"};
inline constexpr Sel<Value(id, std::string)> ybx_parameterValueForKey_{"ybx_parameterValueForKey:"};
inline constexpr Sel<Value(id, bool)> ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase_{
    "ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase:"};
inline constexpr Sel<Value(id)> ybx_impressionTicket{"ybx_impressionTicket"};
inline constexpr Sel<std::string(id)> ybx_absoluteStringWithoutFragmentComponent{"ybx_absoluteStringWithoutFragmentComponent"};
inline constexpr Sel<bool(id, std::string, bool)> ybx_isHostEqualToString_caseSensitive_{"ybx_isHostEqualToString:caseSensitive:"};
inline constexpr Sel<bool(id, std::string, bool)> ybx_isSchemeEqualToString_caseSensitive_{"ybx_isSchemeEqualToString:caseSensitive:"};
}  // namespace sel

bool ybx_isMediationURL(const NSURL* url);
bool ybx_isSDKJavaScriptURL(const NSURL* url);
bool ybx_isHNVURL(const NSURL* url);
// The URL with the pairs appended (a value's description, escaped; an empty
// value gives the bare key), before an "adurl" pair and before a fragment.
// Null when the result is no URL.
Ref<NSURL> ybx_appendQueryParameters(const NSURL* url, const Value& parameters);
Ref<NSURL> ybx_appendQueryValue_forKey(const NSURL* url, const Value& value, const std::string& key);
// The same on a URL's text, for callers that build the URL later.
std::string ybx_appendQueryParametersToString(std::string text, const Value& parameters);
Value ybx_parameterValueForKey(const NSURL* url, std::string_view key);
// A query's pairs split at "&" and ";", percent-decoded, a later pair winning.
Value ybx_dictionaryFromQuery(std::string_view query, bool lowercaseKeys);
Value ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase(const NSURL* url, bool lowercaseKeys);
Value ybx_impressionTicket(const NSURL* url);
std::string ybx_absoluteStringWithoutFragmentComponent(const NSURL* url);
bool ybx_isHostEqualToString(const NSURL* url, std::string_view host, bool caseSensitive);
bool ybx_isSchemeEqualToString(const NSURL* url, std::string_view scheme, bool caseSensitive);

void registerURLCategory();

}  // namespace adlib

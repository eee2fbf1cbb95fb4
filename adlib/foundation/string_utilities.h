// The library's text helpers on the platform's strings and dictionaries (which
// are values here, so the categories are free functions): URL escaping
// (YBXURLEncoding), URL-string comparison (YBXPathValidation, YBXReplaceContent),
// the at-sign keyword markers of templates (YBXAtEscapeAdditions,
// YBXReplaceContentAdditions), short number text and MD5 (YBXStringNumberAdditions),
// JSON (YBXJSONAdditions) and checked dictionary reads and writes
// (YBXObjectValidation). Pure functions; any thread.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "adlib/foundation/selectors.h"

namespace adlib {

// Percent-escaped UTF-8, also every character of "!*'();:@&=+$,/?%#[]".
std::string ybx_stringByEscapingAsURLParameter(std::string_view text);
bool ybx_isEquivalentToURLString(std::string_view text, std::string_view other);
std::string ybx_stripTrailingSlash(std::string_view text);
std::string ybx_escapeAts(std::string_view text);
// "%f" less trailing zeros and a trailing ".": 2.0 is "2", 1.5 is "1.5".
std::string ybx_shortStringWithCGFloat(double value);
// 32 lower-case hexadecimal digits; nil for text that is not UTF-8.
Value ybx_MD5String(std::string_view text);
std::string ybx_stringWithMD5Bytes(const unsigned char* digest);
// JSON text, fragments allowed; nil and the parse error otherwise.
Value ybx_decodedJSONObjectError(std::string_view text, Ref<NSError>* error);

// Markers are "@keyword@"; a literal "@" is "@@". Callers replace the known
// keywords, remove the rest, then unescape. A nil pattern or replacement does nothing.
void ybx_replaceAtQuotedKeywordPattern_withString(std::string& text, const Value& keywordPattern, const Value& replacement);
void ybx_removeAtQuotedKeywords(std::string& text);
void ybx_unescapeAts(std::string& text);

// Percent-escapes only what would break a URL or split its query: blanks,
// controls, non-ASCII, '"', '#', '&', '+', '<', '>', the characters URLs refuse
// ("{}|\\^`") and a '%' that begins no escape. Escapes already made, ',' and
// the rest are left as they are, so a value the server sent escaped is sent back unchanged.
std::string YBXEscapeQueryValue(std::string_view text);
// A template value as query text: a string as it is, a number in decimal,
// any other JSON value as compact JSON, nil as ""; then escaped as above.
std::string YBXQueryValueText(const Value& value);
// Fills a template's markers: each keyword (a pattern) in the order given gets
// its value's query text, at-signs escaped so that no value can form a marker;
// the markers left are removed and "@@" unescaped.
using YBXTemplateValue = std::pair<std::string_view, Value>;
std::string YBXExpandAtQuotedTemplate(std::string_view templ, std::span<const YBXTemplateValue> values);

// The value when it is of the class (Value::isKindOfClass names), else nil.
Value ybx_objectForKey_ifIsKindOfClass(const Value& dictionary, std::string_view key, std::string_view className);
// UTF-8 JSON text of a valid JSON object; nil and the private error 2
// "Invalid JSON object." otherwise.
Value ybx_JSONStringPretty(const Value& dictionary, bool pretty, Ref<NSError>* error);
// The dictionary with each value JSON can hold kept, a URL as its absolute
// text and any other value as its description; anything but a dictionary as it is.
Value YBXJSONSafeDictionary(const Value& dictionary);
void ybx_setIfNotNilObject(Value::Dictionary& dictionary, const Value& value, const std::string& key);
void ybx_setStringForBoolValue(Value::Dictionary& dictionary, bool value, const std::string& key);
void ybx_setStringIfTrueForBoolValue(Value::Dictionary& dictionary, bool value, const std::string& key);
void ybx_setStringForCGFloat(Value::Dictionary& dictionary, double value, const std::string& key);

}  // namespace adlib

#include "adlib/foundation/url_utilities.h"

#include <cctype>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/string_utilities.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/ns_string.h"

namespace adlib {

namespace {

bool equalStrings(std::string_view a, std::string_view b, bool caseSensitive) {
    return caseSensitive ? a == b : lowercaseString(a) == lowercaseString(b);
}

}  // namespace

bool ybx_isMediationURL(const NSURL* url) { return url && url->absoluteString().find("mediate?") != std::string::npos; }

bool ybx_isSDKJavaScriptURL(const NSURL* url) { return url && url->absoluteString() == YBXSDKCorePageURL(); }

bool ybx_isHNVURL(const NSURL* url) { return url && url->host() == YBXHNVHost(); }

std::string ybx_appendQueryParametersToString(std::string text, const Value& parameters) {
    // A fragment stays at the end: pairs after "#" are never sent.
    std::string fragment;
    if (std::size_t hash = text.find('#'); hash != std::string::npos) {
        fragment = text.substr(hash);
        text.erase(hash);
    }
    std::size_t query = text.find('?');
    bool hasQuery = query != std::string::npos && query + 1 < text.size();
    // The click destination stays the last parameter, also when it is the first.
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string tail;
    bool tailOpensQuery = false;
    if (std::size_t at = lower.find("&adurl="); at != std::string::npos) {
        tail = text.substr(at);
        text.erase(at);
    } else if (query != std::string::npos && lower.compare(query + 1, 6, "adurl=") == 0) {
        tail = "&" + text.substr(query + 1);
        text.erase(query + 1);
        tailOpensQuery = true;
    }
    std::string separator = hasQuery ? "&" : "?";
    // A string that already ends in a separator needs no other.
    if (!text.empty() && (text.back() == '?' || text.back() == '&')) separator.clear();
    for (const auto& [key, value] : parameters.dictionary()) {
        text += separator;
        separator = "&";
        text += key;
        std::string escaped = ybx_stringByEscapingAsURLParameter(value.description());
        if (!escaped.empty()) text += "=" + escaped;
    }
    if (tailOpensQuery && text.back() == '?') tail.erase(0, 1);  // nothing was appended before it
    return text + tail + fragment;
}

Ref<NSURL> ybx_appendQueryParameters(const NSURL* url, const Value& parameters) {
    if (!url) return nullptr;
    return NSURL::URLWithString(ybx_appendQueryParametersToString(url->absoluteString(), parameters));
}

Ref<NSURL> ybx_appendQueryValue_forKey(const NSURL* url, const Value& value, const std::string& key) {
    return ybx_appendQueryParameters(url, Value{{key, value.isNil() ? Value("") : value}});
}

Value ybx_parameterValueForKey(const NSURL* url, std::string_view key) {
    if (!url || !url->query()) return Value();
    for (const std::string& piece : componentsSeparatedByString(*url->query(), "&")) {
        std::vector<std::string> halves = componentsSeparatedByString(piece, "=");
        if (halves.size() == 2 && halves[0] == key) return Value(halves[1]);
    }
    return Value();
}

Value ybx_dictionaryFromQuery(std::string_view query, bool lowercaseKeys) {
    Value::Dictionary pairs;
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = query.find_first_of("&;", start);
        if (end == std::string_view::npos) end = query.size();
        std::string_view piece = query.substr(start, end - start);
        std::size_t equals = piece.find('=');
        if (equals != std::string_view::npos && piece.find('=', equals + 1) == std::string_view::npos) {
            std::optional<std::string> key = percentDecode(piece.substr(0, equals));
            std::optional<std::string> value = percentDecode(piece.substr(equals + 1));
            if (key && value) pairs[lowercaseKeys ? lowercaseString(*key) : *key] = std::move(*value);
        }
        start = end + 1;
    }
    return Value(std::move(pairs));
}

Value ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase(const NSURL* url, bool lowercaseKeys) {
    return ybx_dictionaryFromQuery(url && url->query() ? *url->query() : std::string(), lowercaseKeys);
}

Value ybx_impressionTicket(const NSURL* url) {
    if (!url) return Value();
    std::vector<std::string> components = url->pathComponents();
    if (components.size() < 4) return Value();
    return Value(components[2] + "/" + components[3]);
}

std::string ybx_absoluteStringWithoutFragmentComponent(const NSURL* url) {
    if (!url) return "";
    std::string text = url->absoluteString();
    if (url->fragment()) text.erase(text.find('#'));
    return text;
}

bool ybx_isHostEqualToString(const NSURL* url, std::string_view host, bool caseSensitive) {
    return url && equalStrings(url->host(), host, caseSensitive);
}

bool ybx_isSchemeEqualToString(const NSURL* url, std::string_view scheme, bool caseSensitive) {
    return url && equalStrings(url->scheme(), scheme, caseSensitive);
}

void registerURLCategory() {
    Class* cls = objc_getClass("NSURL");
    class_addMethod(cls, sel::ybx_isMediationURL, [](id self) { return ybx_isMediationURL(as<NSURL>(self)); });
    class_addMethod(cls, sel::ybx_isSDKJavaScriptURL, [](id self) { return ybx_isSDKJavaScriptURL(as<NSURL>(self)); });
    class_addMethod(cls, sel::ybx_isHNVURL, [](id self) { return ybx_isHNVURL(as<NSURL>(self)); });
    class_addMethod(cls, sel::ybx_appendQueryValue_forKey_, [](id self, Value value, std::string key) {
        return Ref<Object>(ybx_appendQueryValue_forKey(as<NSURL>(self), value, key));
    });
    class_addMethod(cls, sel::ybx_appendQueryParameters_,
                    [](id self, Value parameters) { return Ref<Object>(ybx_appendQueryParameters(as<NSURL>(self), parameters)); });
    class_addMethod(cls, sel::ybx_parameterValueForKey_, [](id self, std::string key) { return ybx_parameterValueForKey(as<NSURL>(self), key); });
    class_addMethod(cls, sel::ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase_, [](id self, bool lower) {
        return ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase(as<NSURL>(self), lower);
    });
    class_addMethod(cls, sel::ybx_impressionTicket, [](id self) { return ybx_impressionTicket(as<NSURL>(self)); });
    class_addMethod(cls, sel::ybx_absoluteStringWithoutFragmentComponent,
                    [](id self) { return ybx_absoluteStringWithoutFragmentComponent(as<NSURL>(self)); });
    class_addMethod(cls, sel::ybx_isHostEqualToString_caseSensitive_,
                    [](id self, std::string host, bool cs) { return ybx_isHostEqualToString(as<NSURL>(self), host, cs); });
    class_addMethod(cls, sel::ybx_isSchemeEqualToString_caseSensitive_,
                    [](id self, std::string scheme, bool cs) { return ybx_isSchemeEqualToString(as<NSURL>(self), scheme, cs); });
}

}  // namespace adlib

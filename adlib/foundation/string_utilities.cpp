#include "adlib/foundation/string_utilities.h"

#include <cctype>

#include "adlib/foundation/request_error.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/format.h"
#include "platform/foundation/json.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/regex.h"

namespace adlib {

std::string ybx_stringByEscapingAsURLParameter(std::string_view text) { return percentEscape(text, "!*'();:@&=+$,/?%#[]"); }

bool ybx_isEquivalentToURLString(std::string_view text, std::string_view other) {
    return ybx_stripTrailingSlash(text) == ybx_stripTrailingSlash(other);
}

std::string ybx_stripTrailingSlash(std::string_view text) {
    if (!text.empty() && text.back() == '/') text.remove_suffix(1);
    return std::string(text);
}

std::string ybx_escapeAts(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '@') out += '@';
    }
    return out;
}

std::string ybx_shortStringWithCGFloat(double value) {
    std::string text = format("%f", value);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    return text;
}

std::string ybx_stringWithMD5Bytes(const unsigned char* digest) {
    std::string out;
    for (std::size_t i = 0; i < CC_MD5_DIGEST_LENGTH; ++i) out += format("%02x", static_cast<unsigned>(digest[i]));
    return out;
}

Value ybx_MD5String(std::string_view text) {
    if (!isValidUTF8(text)) return Value();
    unsigned char digest[CC_MD5_DIGEST_LENGTH];
    CC_MD5(text.data(), static_cast<std::uint32_t>(text.size()), digest);
    return Value(ybx_stringWithMD5Bytes(digest));
}

Value ybx_decodedJSONObjectError(std::string_view text, Ref<NSError>* error) {
    return NSJSONSerialization::JSONObjectWithText(text, NSJSONReadingAllowFragments, error);
}

void ybx_replaceAtQuotedKeywordPattern_withString(std::string& text, const Value& keywordPattern, const Value& replacement) {
    if (!keywordPattern.isString() || !replacement.isString()) return;
    // Escaped "@@" pairs right before or after a marker are kept by the groups.
    std::string pattern = format("(?<!@)((?:@@)*)@%@(?<!@)((?:@@)*)@", keywordPattern.string());
    Ref<NSRegularExpression> expression = NSRegularExpression::regularExpressionWithPattern(pattern, 0);
    if (!expression) return;
    std::string templ = format("$1%@$2", NSRegularExpression::escapedTemplateForString(replacement.string()));
    expression->replaceMatchesInString(text, 0, NSRange{NSNotFound, 0}, templ);
}

void ybx_removeAtQuotedKeywords(std::string& text) { ybx_replaceAtQuotedKeywordPattern_withString(text, Value("[^@]+"), Value("")); }

void ybx_unescapeAts(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '@' && i + 1 < text.size() && text[i + 1] == '@') ++i;
    }
    text = std::move(out);
}

std::string YBXEscapeQueryValue(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool startsEscape = c == '%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2]);
        bool escape = c <= 0x20 || c >= 0x7f || std::string_view("\"#&+<>{}|\\^`").find(static_cast<char>(c)) != std::string_view::npos ||
                      (c == '%' && !startsEscape);
        if (!escape) {
            out += static_cast<char>(c);
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0xf];
    }
    return out;
}

std::string YBXQueryValueText(const Value& value) {
    std::string text;
    if (value.isString()) {
        text = value.string();
    } else if (value.isNumber()) {
        text = value.description();
    } else if (NSJSONSerialization::isValidJSONObject(value)) {
        Value data = NSJSONSerialization::dataWithJSONObject(value, 0);
        text.assign(data.data().begin(), data.data().end());
    } else if (!value.isNil()) {
        text = value.description();
    }
    return YBXEscapeQueryValue(text);
}

std::string YBXExpandAtQuotedTemplate(std::string_view templ, std::span<const YBXTemplateValue> values) {
    std::string text(templ);
    for (const auto& [keyword, value] : values)
        ybx_replaceAtQuotedKeywordPattern_withString(text, Value(keyword), Value(ybx_escapeAts(YBXQueryValueText(value))));
    ybx_removeAtQuotedKeywords(text);
    ybx_unescapeAts(text);
    return text;
}

Value ybx_objectForKey_ifIsKindOfClass(const Value& dictionary, std::string_view key, std::string_view className) {
    const Value& value = dictionary[key];
    return value.isKindOfClass(className) ? value : Value();
}

Value YBXJSONSafeDictionary(const Value& dictionary) {
    if (!dictionary.isDictionary()) return dictionary;
    Value::Dictionary safe;
    for (const auto& [key, value] : dictionary.dictionary()) {
        if (auto* url = dynamic_cast<NSURL*>(value.object())) safe[key] = Value(url->absoluteString());
        else if (!NSJSONSerialization::isValidJSONObject(Value{{key, value}})) safe[key] = Value(value.description());
        else safe[key] = value;
    }
    return Value(std::move(safe));
}

Value ybx_JSONStringPretty(const Value& dictionary, bool pretty, Ref<NSError>* error) {
    if (NSJSONSerialization::isValidJSONObject(dictionary)) {
        Value data = NSJSONSerialization::dataWithJSONObject(dictionary, pretty ? NSJSONWritingPrettyPrinted : 0);
        if (!data.isNil()) return Value(std::string(data.data().begin(), data.data().end()));
    }
    if (error)
        *error = as<NSError>(sel::ybx_errorWithCode_description_(NSErrorClass(), YBXInternalErrorCodeInternal, Value("Invalid JSON object.")));
    return Value();
}

void ybx_setIfNotNilObject(Value::Dictionary& dictionary, const Value& value, const std::string& key) {
    if (!value.isNil()) dictionary[key] = value;
}

void ybx_setStringForBoolValue(Value::Dictionary& dictionary, bool value, const std::string& key) { dictionary[key] = value ? "1" : "0"; }

void ybx_setStringIfTrueForBoolValue(Value::Dictionary& dictionary, bool value, const std::string& key) {
    if (value)
        dictionary[key] = "1";
    else
        dictionary.erase(key);
}

void ybx_setStringForCGFloat(Value::Dictionary& dictionary, double value, const std::string& key) { dictionary[key] = ybx_shortStringWithCGFloat(value); }

}  // namespace adlib

#include "platform/foundation/regex.h"

#include <algorithm>

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace platform {

struct NSRegularExpression::Compiled {
    std::unique_ptr<icu::RegexPattern> pattern;
};

namespace {

uint32_t icuFlags(unsigned long options) {
    uint32_t flags = 0;
    if (options & NSRegularExpressionCaseInsensitive) flags |= UREGEX_CASE_INSENSITIVE;
    if (options & NSRegularExpressionAllowCommentsAndWhitespace) flags |= UREGEX_COMMENTS;
    if (options & NSRegularExpressionIgnoreMetacharacters) flags |= UREGEX_LITERAL;
    if (options & NSRegularExpressionDotMatchesLineSeparators) flags |= UREGEX_DOTALL;
    if (options & NSRegularExpressionAnchorsMatchLines) flags |= UREGEX_MULTILINE;
    if (options & NSRegularExpressionUseUnixLineSeparators) flags |= UREGEX_UNIX_LINES;
    if (options & NSRegularExpressionUseUnicodeWordBoundaries) flags |= UREGEX_UWORD;
    return flags;
}

icu::UnicodeString utf16(std::string_view s) { return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size()))); }

std::string utf8(const icu::UnicodeString& s) {
    std::string out;
    s.toUTF8String(out);
    return out;
}

// The range as UTF-16 bounds within a text of `length` units.
void bounds(NSRange range, int32_t length, int32_t* start, int32_t* end) {
    if (range.location == NSNotFound) {
        *start = 0;
        *end = length;
        return;
    }
    auto len = static_cast<unsigned long long>(length);
    unsigned long long s = std::min(range.location, len);
    unsigned long long e = std::min(len, s + std::min(range.length, len));
    *start = static_cast<int32_t>(s);
    *end = static_cast<int32_t>(e);
}

NSRange rangeOf(int32_t start, int32_t end) {
    if (start < 0) return {NSNotFound, 0};
    return {static_cast<unsigned long long>(start), static_cast<unsigned long long>(end - start)};
}

}  // namespace

NSRegularExpression::~NSRegularExpression() = default;

Ref<NSRegularExpression> NSRegularExpression::regularExpressionWithPattern(std::string_view pattern, unsigned long options,
                                                                           Ref<NSError>* error) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(utf16(pattern), icuFlags(options), parseError, status));
    if (U_FAILURE(status) || !compiled) {
        if (error) {
            *error = NSError::errorWithDomain(
                NSCocoaErrorDomain, NSFormattingError,
                Value::Dictionary{{"NSInvalidValue", Value(pattern)}});
        }
        return nullptr;
    }
    auto re = as<NSRegularExpression>(alloc("NSRegularExpression"));
    if (!re) return nullptr;
    re->pattern_ = std::string(pattern);
    re->options_ = options;
    re->compiled_ = std::make_unique<Compiled>(Compiled{std::move(compiled)});
    return re;
}

std::string NSRegularExpression::escapedTemplateForString(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '$') out += '\\';
        out += c;
    }
    return out;
}

std::string NSRegularExpression::escapedPatternForString(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}-").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

std::size_t NSRegularExpression::numberOfCaptureGroups() const {
    if (!compiled_) return 0;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> m(compiled_->pattern->matcher(status));
    return U_SUCCESS(status) ? static_cast<std::size_t>(m->groupCount()) : 0;
}

std::vector<NSTextCheckingResult> NSRegularExpression::matchesInString(std::string_view string, unsigned long, NSRange range) const {
    std::vector<NSTextCheckingResult> results;
    if (!compiled_) return results;
    icu::UnicodeString text = utf16(string);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> m(compiled_->pattern->matcher(text, status));
    if (U_FAILURE(status)) return results;
    int32_t start = 0, end = 0;
    bounds(range, text.length(), &start, &end);
    m->region(start, end, status);
    while (U_SUCCESS(status) && m->find(status) && U_SUCCESS(status)) {
        NSTextCheckingResult r;
        r.range = rangeOf(m->start(status), m->end(status));
        for (int32_t g = 1; g <= m->groupCount(); ++g) r.groups.push_back(rangeOf(m->start(g, status), m->end(g, status)));
        results.push_back(std::move(r));
    }
    return results;
}

std::size_t NSRegularExpression::numberOfMatchesInString(std::string_view string, unsigned long options, NSRange range) const {
    return matchesInString(string, options, range).size();
}

NSRange NSRegularExpression::rangeOfFirstMatchInString(std::string_view string, unsigned long options, NSRange range) const {
    auto matches = matchesInString(string, options, range);
    return matches.empty() ? NSRange{NSNotFound, 0} : matches.front().range;
}

unsigned long NSRegularExpression::replaceMatchesInString(std::string& string, unsigned long, NSRange range,
                                                          std::string_view templ) const {
    if (!compiled_) return 0;
    icu::UnicodeString text = utf16(string);
    icu::UnicodeString replacement = utf16(templ);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> m(compiled_->pattern->matcher(text, status));
    if (U_FAILURE(status)) return 0;
    int32_t start = 0, end = 0;
    bounds(range, text.length(), &start, &end);
    m->region(start, end, status);
    // appendReplacement copies the text before each match (from the start of
    // the string, so text before the range stays) and the expanded template;
    // appendTail copies the rest.
    icu::UnicodeString out;
    unsigned long count = 0;
    while (m->find(status) && U_SUCCESS(status)) {
        m->appendReplacement(out, replacement, status);
        if (U_FAILURE(status)) return 0;  // a template ICU rejects changes nothing
        ++count;
    }
    m->appendTail(out);
    if (count) string = utf8(out);
    return count;
}

std::string NSRegularExpression::stringByReplacingMatchesInString(std::string_view string, unsigned long options, NSRange range,
                                                                  std::string_view templ) const {
    std::string s(string);
    replaceMatchesInString(s, options, range, templ);
    return s;
}

namespace foundation {
void registerRegularExpression() { ClassBuilder<NSRegularExpression>("NSRegularExpression", "NSObject"); }
}  // namespace foundation

}  // namespace platform

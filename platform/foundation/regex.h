// NSRegularExpression through ICU (its pattern syntax, look-behind included).
// Strings are UTF-8; ranges count UTF-16 code units, as NSString does. A
// compiled expression is immutable and may be used from any thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/error.h"
#include "platform/foundation/range.h"

namespace platform {

inline constexpr unsigned long NSRegularExpressionCaseInsensitive = 1 << 0;
inline constexpr unsigned long NSRegularExpressionAllowCommentsAndWhitespace = 1 << 1;
inline constexpr unsigned long NSRegularExpressionIgnoreMetacharacters = 1 << 2;
inline constexpr unsigned long NSRegularExpressionDotMatchesLineSeparators = 1 << 3;
inline constexpr unsigned long NSRegularExpressionAnchorsMatchLines = 1 << 4;
inline constexpr unsigned long NSRegularExpressionUseUnixLineSeparators = 1 << 5;
inline constexpr unsigned long NSRegularExpressionUseUnicodeWordBoundaries = 1 << 6;

// NSRegularExpression's error for a pattern that does not compile.
inline constexpr long long NSFormattingError = 2048;

// One match: the whole match, then each capture group ({NSNotFound, 0} for a
// group that took no part).
struct NSTextCheckingResult {
    NSRange range;
    std::vector<NSRange> groups;
    NSRange rangeAtIndex(std::size_t i) const { return i == 0 ? range : (i <= groups.size() ? groups[i - 1] : NSRange{NSNotFound, 0}); }
    std::size_t numberOfRanges() const { return groups.size() + 1; }
};

class NSRegularExpression : public NSObject {
public:
    // Null, and an NSCocoaErrorDomain NSFormattingError, for a pattern ICU
    // does not accept.
    static Ref<NSRegularExpression> regularExpressionWithPattern(std::string_view pattern, unsigned long options,
                                                                 Ref<NSError>* error = nullptr);
    // A template that inserts the text literally ("\" and "$" escaped).
    static std::string escapedTemplateForString(std::string_view text);
    // A pattern that matches the text literally.
    static std::string escapedPatternForString(std::string_view text);

    ~NSRegularExpression() override;

    const std::string& pattern() const { return pattern_; }
    unsigned long options() const { return options_; }
    std::size_t numberOfCaptureGroups() const;

    // Matches within `range` of the string; the whole string when the range
    // is {NSNotFound, 0}. A range past the end is cut at the end.
    std::vector<NSTextCheckingResult> matchesInString(std::string_view string, unsigned long options = 0,
                                                      NSRange range = {NSNotFound, 0}) const;
    std::size_t numberOfMatchesInString(std::string_view string, unsigned long options = 0,
                                        NSRange range = {NSNotFound, 0}) const;
    // {NSNotFound, 0} when nothing matches.
    NSRange rangeOfFirstMatchInString(std::string_view string, unsigned long options = 0,
                                      NSRange range = {NSNotFound, 0}) const;

    // Every match replaced by the template ("$1" a group, "\" escapes the next
    // character); NSMutableString's form answers how many were replaced.
    std::string stringByReplacingMatchesInString(std::string_view string, unsigned long options, NSRange range,
                                                 std::string_view templ) const;
    unsigned long replaceMatchesInString(std::string& string, unsigned long options, NSRange range,
                                         std::string_view templ) const;

    struct Compiled;

private:
    std::string pattern_;
    unsigned long options_ = 0;
    std::unique_ptr<Compiled> compiled_;
};

namespace foundation {
// Registers NSRegularExpression (foundation::registerClasses calls it).
void registerRegularExpression();
}  // namespace foundation

}  // namespace platform

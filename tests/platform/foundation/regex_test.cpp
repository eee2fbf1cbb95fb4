#include "platform/foundation/regex.h"

#include <gtest/gtest.h>

#include "platform/foundation/format.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

// The ad library's keyword markers: "@keyword@", where "@@" is a literal "@".
std::string replaceKeyword(const std::string& text, const std::string& keyword, const std::string& replacement) {
    auto re = NSRegularExpression::regularExpressionWithPattern(
        format("(?<!@)((?:@@)*)@%@(?<!@)((?:@@)*)@", keyword.c_str()), 0);
    EXPECT_TRUE(re);
    std::string s = text;
    re->replaceMatchesInString(s, 0, NSRange{0, s.size()},
                               format("$1%@$2", NSRegularExpression::escapedTemplateForString(replacement).c_str()));
    return s;
}

TEST(NSRegularExpression, LookBehindReplacesOnlyRealMarkers) {
    testing::TestEnvironment env;
    struct Case {
        const char* text;
        const char* replacement;
        const char* result;
    };
    const Case cases[] = {
        {"@@@seq@@@", "5", "@@5@@"},           // escaped pairs around a marker survive
        {"a@seq@b@seq@c", "7", "a7b7c"},       // every match
        {"@@seq@@", "5", "@@seq@@"},           // an escaped "@" starts no marker
        {"x@seq@", "$1\\z", "x$1\\z"},         // the replacement is inserted literally
        {"@other@", "5", "@other@"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(replaceKeyword(c.text, "seq", c.replacement), c.result);
    }
}

TEST(NSRegularExpression, MatchesWithRangesInUTF16Units) {
    testing::TestEnvironment env;
    auto re = NSRegularExpression::regularExpressionWithPattern("(b+)(x)?", NSRegularExpressionCaseInsensitive);
    ASSERT_TRUE(re);
    EXPECT_EQ(re->numberOfCaptureGroups(), 2u);
    // "é" is one UTF-16 unit, the emoji two.
    auto matches = re->matchesInString("\u00e9Bb-\U0001F600b");
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].range, (NSRange{1, 2}));
    EXPECT_EQ(matches[0].rangeAtIndex(1), (NSRange{1, 2}));
    EXPECT_EQ(matches[0].rangeAtIndex(2), (NSRange{NSNotFound, 0}));
    EXPECT_EQ(matches[1].range, (NSRange{6, 1}));
    EXPECT_EQ(re->numberOfMatchesInString("bb bb", 0, NSRange{1, 3}), 2u);
    EXPECT_EQ(re->rangeOfFirstMatchInString("aaa"), (NSRange{NSNotFound, 0}));
    // A range past the end is cut at the end.
    EXPECT_EQ(re->numberOfMatchesInString("ab", 0, NSRange{1, 100}), 1u);
}

TEST(NSRegularExpression, ReplacementWithinARangeAndGroups) {
    testing::TestEnvironment env;
    auto re = NSRegularExpression::regularExpressionWithPattern("(\\w)(\\d)", 0);
    ASSERT_TRUE(re);
    EXPECT_EQ(re->stringByReplacingMatchesInString("a1 b2 c3", 0, NSRange{3, 5}, "$2$1"), "a1 2b 3c");
    std::string s = "none here";
    EXPECT_EQ(re->replaceMatchesInString(s, 0, NSRange{NSNotFound, 0}, "x"), 0u);
    EXPECT_EQ(s, "none here");
    EXPECT_EQ(NSRegularExpression::escapedTemplateForString("a$1\\b"), "a\\$1\\\\b");
    auto literal = NSRegularExpression::regularExpressionWithPattern(NSRegularExpression::escapedPatternForString("a.b(c)"), 0);
    EXPECT_EQ(literal->numberOfMatchesInString("a.b(c) axb(c)"), 1u);
}

TEST(NSRegularExpression, ABadPatternIsAnErrorValue) {
    testing::TestEnvironment env;
    Ref<NSError> error;
    EXPECT_FALSE(NSRegularExpression::regularExpressionWithPattern("(unclosed", 0, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
    EXPECT_EQ(error->code(), NSFormattingError);
    EXPECT_EQ(error->userInfo()["NSInvalidValue"], Value("(unclosed"));
    EXPECT_FALSE(NSRegularExpression::regularExpressionWithPattern("a{2,1}", 0));
}

}  // namespace
}  // namespace platform

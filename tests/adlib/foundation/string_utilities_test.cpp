#include "adlib/foundation/string_utilities.h"

#include <gtest/gtest.h>

#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "platform/foundation/log.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

std::string replaced(std::string text, const char* pattern, const char* with) {
    ybx_replaceAtQuotedKeywordPattern_withString(text, Value(pattern), Value(with));
    return text;
}

TEST(Templates, MarkersEscapesAndLiteralReplacements) {
    AdLibEnvironment env;
    struct Case {
        const char* name;
        const char* text;
        const char* pattern;
        const char* with;
        const char* expected;
    } cases[] = {
        {"escaped pairs around a marker survive", "@@@seq@@@", "seq", "5", "@@5@@"},
        {"an escaped keyword is no marker", "@@seq@@", "seq", "5", "@@seq@@"},
        {"every marker", "a@seq@b@seq@", "seq", "7", "a7b7"},
        {"a pattern", "@id1@-@id22@", "id[0-9]+", "x", "x-x"},
        {"the replacement goes in literally", "@k@", "k", "$1\\n", "$1\\n"},
        {"other keywords stay", "@a@@b@", "a", "1", "1@b@"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replaced(c.text, c.pattern, c.with), c.expected);
    }
    std::string text = "x@seq@y";
    ybx_replaceAtQuotedKeywordPattern_withString(text, Value(), Value("1"));
    ybx_replaceAtQuotedKeywordPattern_withString(text, Value("seq"), Value());
    EXPECT_EQ(text, "x@seq@y");

    std::string ping = "p=@@@seq@@@&q=@left@&r=@@x";
    ybx_replaceAtQuotedKeywordPattern_withString(ping, Value("seq"), Value("5"));
    ybx_removeAtQuotedKeywords(ping);
    ybx_unescapeAts(ping);
    EXPECT_EQ(ping, "p=@5@&q=&r=@x");
    EXPECT_EQ(ybx_escapeAts("a@b@@"), "a@@b@@@@");
}

TEST(Templates, QueryValuesEscapeOnlyWhatBreaksAQuery) {
    AdLibEnvironment env;
    struct Case {
        const char* name;
        Value value;
        const char* expected;
    } cases[] = {
        {"plain text", Value("abc-._~:/?=;,!$'()*"), "abc-._~:/?=;,!$'()*"},
        {"blank, quote, separators and brackets", Value("a b\"#&+<>"), "a%20b%22%23%26%2B%3C%3E"},
        {"what URLs refuse", Value("{}|\\^`"), "%7B%7D%7C%5C%5E%60"},
        {"controls and non-ASCII", Value("\t\n\x7f\xc3\xa9"), "%09%0A%7F%C3%A9"},
        {"escapes already made stay", Value("a%20b%2Cc"), "a%20b%2Cc"},
        {"a '%' that begins no escape", Value("50%"), "50%25"},
        {"a '%' before one digit", Value("%4"), "%254"},
        {"at-signs are the template's business", Value("a@b"), "a@b"},
        {"an integer", Value(42), "42"},
        {"a real", Value(2.5), "2.5"},
        {"nil", Value(), ""},
        {"an array as compact JSON", Value::array({Value(1), Value("x")}), "[1,%22x%22]"},
        {"a dictionary as compact JSON", Value(Value::Dictionary{{"k", Value("v w")}}), "%7B%22k%22:%22v%20w%22%7D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(YBXQueryValueText(c.value), c.expected);
    }
}

TEST(Templates, ExpansionFillsInOrderAndLeavesNoMarkers) {
    AdLibEnvironment env;
    const YBXTemplateValue values[] = {
        {"one", Value("1@2")},
        {"two", Value()},
        {"three", Value("@four@")},
        {"four", Value("x")},
    };
    // A value's at-signs never form a marker, a missing value is empty, unknown markers go, "@@" is "@".
    EXPECT_EQ(YBXExpandAtQuotedTemplate("a=@one@&b=@two@&c=@three@&d=@four@&e=@five@&f=@@", values), "a=1@2&b=&c=@four@&d=x&e=&f=@");
    EXPECT_EQ(YBXExpandAtQuotedTemplate("@five@", values), "");
}

TEST(StringNumbers, ShortTextAndMD5) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{0, "0"}, {100, "100"}, {2.0, "2"}, {1.5, "1.5"}, {-0.25, "-0.25"}, {320, "320"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ybx_shortStringWithCGFloat(c.value), c.text);
    }
    // RFC 1321's test suite.
    struct Digest {
        const char* text;
        const char* md5;
    } digests[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890", "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& d : digests) {
        SCOPED_TRACE(d.text);
        EXPECT_EQ(ybx_MD5String(d.text), Value(d.md5));
    }
    EXPECT_TRUE(ybx_MD5String("\xff").isNil());
}

TEST(JSONText, DecodingAndWriting) {
    AdLibEnvironment env;
    Ref<NSError> error;
    EXPECT_EQ(ybx_decodedJSONObjectError("\"bare\"", &error), Value("bare"));
    EXPECT_FALSE(error);
    EXPECT_EQ(ybx_decodedJSONObjectError("12", &error), Value(12));
    EXPECT_TRUE(ybx_decodedJSONObjectError("{", &error).isNil());
    EXPECT_TRUE(error);

    error = nullptr;
    EXPECT_EQ(ybx_JSONStringPretty(Value{{"a", 1}}, false, &error), Value("{\"a\":1}"));
    EXPECT_FALSE(error);
    EXPECT_NE(ybx_JSONStringPretty(Value{{"a", 1}}, true, &error).string().find('\n'), std::string::npos);
    EXPECT_TRUE(ybx_JSONStringPretty(Value{{"d", Value(Date{})}}, false, &error).isNil());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), kYBXPrivateErrorDomain);
    EXPECT_EQ(error->code(), 2);
    EXPECT_EQ(error->localizedDescription(), "Invalid JSON object.");

    EXPECT_EQ(dictionaryToJSONString(Value{{"k", "v"}}), "{\"k\":\"v\"}");
    EXPECT_EQ(dictionaryToJSONString(Value{{"d", Value(Data{1})}}), "");
    EXPECT_TRUE(readJsonIntoDictionary("[1]").isNil());
    EXPECT_EQ(readJsonIntoDictionary("{}"), Value(Value::Dictionary{}));
    EXPECT_TRUE(readJsonIntoDictionary("{").isNil());
}

TEST(Dictionaries, CheckedReadsAndWrites) {
    Value d{{"s", "text"}, {"n", 3}};
    EXPECT_EQ(ybx_objectForKey_ifIsKindOfClass(d, "s", "NSString"), Value("text"));
    EXPECT_TRUE(ybx_objectForKey_ifIsKindOfClass(d, "n", "NSString").isNil());
    EXPECT_EQ(ybx_objectForKey_ifIsKindOfClass(d, "n", "NSNumber"), Value(3));

    Value::Dictionary m{{"gone", "1"}};
    ybx_setIfNotNilObject(m, Value(), "nil");
    ybx_setIfNotNilObject(m, Value("v"), "set");
    ybx_setStringForBoolValue(m, false, "no");
    ybx_setStringForBoolValue(m, true, "yes");
    ybx_setStringIfTrueForBoolValue(m, false, "gone");
    ybx_setStringIfTrueForBoolValue(m, true, "true");
    ybx_setStringForCGFloat(m, 2.5, "f");
    EXPECT_EQ(Value(m), (Value{{"set", "v"}, {"no", "0"}, {"yes", "1"}, {"true", "1"}, {"f", "2.5"}}));
}

TEST(Macros, PublisherLogLine) {
    AdLibEnvironment env;
    sel::pubLog_(objc_getClass("YBXMacros"), "No ad to show.");
    EXPECT_TRUE(log::contains("<Orvane> No ad to show."));
    EXPECT_EQ(ybx_stringByEscapingAsURLParameter("a b!*'();:@&=+$,/?%#[]\u00e9"),
              "a%20b%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D%C3%A9");
    EXPECT_EQ(ybx_stripTrailingSlash("a//"), "a/");
}

}  // namespace
}  // namespace adlib

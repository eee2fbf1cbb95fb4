#include "platform/foundation/codecs.h"

#include <gtest/gtest.h>

#include "platform/foundation/ns_string.h"
#include "platform/foundation/random.h"
#include "platform/foundation/uuid.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

Data bytes(std::string_view s) { return Data(s.begin(), s.end()); }

TEST(MD5, LowerCaseHexOfTheBytes) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    unsigned char md[CC_MD5_DIGEST_LENGTH] = {};
    EXPECT_EQ(CC_MD5("abc", 3, md), md);
    EXPECT_EQ(md[0], 0x90);
    EXPECT_EQ(md[15], 0x72);
}

TEST(Base64, EncodesAndDecodes) {
    struct Case {
        const char* plain;
        const char* encoded;
    };
    const Case cases[] = {{"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"\xff\xfe\xfd\xfc", "//79/A=="}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoded);
        EXPECT_EQ(base64Encode(bytes(c.plain)), c.encoded);
        auto back = base64Decode(c.encoded);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, bytes(c.plain));
    }
}

TEST(Base64, LineBreaks) {
    Data data(100, 0x41);
    std::string plain = base64Encode(data);
    ASSERT_EQ(plain.size(), 136u);
    std::string crlf = base64Encode(data, NSDataBase64Encoding64CharacterLineLength);
    EXPECT_EQ(crlf, plain.substr(0, 64) + "\r\n" + plain.substr(64, 64) + "\r\n" + plain.substr(128));
    std::string lf = base64Encode(data, NSDataBase64Encoding76CharacterLineLength | NSDataBase64EncodingEndLineWithLineFeed);
    EXPECT_EQ(lf, plain.substr(0, 76) + "\n" + plain.substr(76));
    // Line breaks are unknown characters: refused unless ignored.
    EXPECT_FALSE(base64Decode(crlf));
    auto back = base64Decode(crlf, NSDataBase64DecodingIgnoreUnknownCharacters);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, data);
}

TEST(Base64, RefusesMalformedText) {
    for (const char* bad : {"YW=j", "YQ", "Y===", "YQ==YQ==", "YW J", "YWJ*", "=AAA"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(base64Decode(bad));
    }
    EXPECT_EQ(base64Decode("YW*Jj", NSDataBase64DecodingIgnoreUnknownCharacters), std::optional<Data>(bytes("abc")));
}

TEST(PercentEscapes, EscapeTheIllegalAndTheGivenCharacters) {
    constexpr std::string_view kParameter = "!*'();:@&=+$,/?%#[]";
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"a b", "a%20b"},
        {"k=v&x/y?#", "k%3Dv%26x%2Fy%3F%23"},
        {"100%", "100%25"},
        {"\u00e9\u2028", "%C3%A9%E2%80%A8"},
        {"-._~AZaz09", "-._~AZaz09"},
        {"<\"{|}\\^`>", "%3C%22%7B%7C%7D%5C%5E%60%3E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(percentEscape(c.in, kParameter), c.out);
        EXPECT_EQ(percentDecode(c.out), std::optional<std::string>(c.in));
    }
    // Without a set, URL syntax characters stay.
    EXPECT_EQ(percentEscape("a b/c?d=e&f#g"), "a%20b/c?d=e&f%23g");
}

TEST(PercentEscapes, InvalidEscapesDecodeToNone) {
    for (const char* bad : {"%", "%4", "%zz", "a%g1", "%C3", "%FF", "%ED%A0%80"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(percentDecode(bad));
    }
    EXPECT_EQ(percentDecode("a+b%2b"), std::optional<std::string>("a+b+"));
}

TEST(NSStringOperations, TrimsUnicodeWhiteSpaceAndLineEnds) {
    struct Case {
        const char* in;
        const char* spaces;
        const char* spacesAndLines;
    };
    const Case cases[] = {
        {"  a b \t", "a b", "a b"},
        {"\n a \r\n", "\n a \r\n", "a"},
        {"\u00a0\u3000x\u2009", "x", "x"},
        {"\u2028x\u0085", "\u2028x\u0085", "x"},
        {" \n\t ", "\n", ""},
        {"", "", ""},
        {"\u00e9", "\u00e9", "\u00e9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(trimWhitespace(c.in), c.spaces);
        EXPECT_EQ(trimWhitespaceAndNewlines(c.in), c.spacesAndLines);
    }
}

TEST(NSStringOperations, ComponentsAndPrefixes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(componentsSeparatedByString("a&b&&c", "&"), (V{"a", "b", "", "c"}));
    EXPECT_EQ(componentsSeparatedByString("&a&", "&"), (V{"", "a", ""}));
    EXPECT_EQ(componentsSeparatedByString("abc", "::"), (V{"abc"}));
    EXPECT_EQ(componentsSeparatedByString("", "&"), (V{""}));
    EXPECT_EQ(componentsSeparatedByString("a&b", ""), (V{"a&b"}));
    EXPECT_EQ(componentsSeparatedByString("a::b", "::"), (V{"a", "b"}));

    EXPECT_TRUE(hasPrefix("https://x", "https"));
    EXPECT_FALSE(hasPrefix("http", "https"));
    EXPECT_FALSE(hasPrefix("abc", ""));
    EXPECT_FALSE(hasPrefix("", ""));
    EXPECT_TRUE(hasSuffix("file.js", ".js"));
    EXPECT_FALSE(hasSuffix("abc", ""));
    EXPECT_TRUE(isValidUTF8("\u00e9\U0001F600"));
    EXPECT_FALSE(isValidUTF8("\xc0\xaf"));  // overlong "/"
}

TEST(NSStringOperations, LowercaseIsUnicodesAndLocaleFree) {
    EXPECT_EQ(lowercaseString("AdURL=X"), "adurl=x");
    EXPECT_EQ(lowercaseString("\u00C9T\u00C9 I"), "\u00e9t\u00e9 i");  // no Turkish dotless i
    EXPECT_EQ(lowercaseString(""), "");
    EXPECT_EQ(lowercaseString("A\xff"), "A\xff");
}

TEST(NSUUID, TextAndBytes) {
    testing::TestEnvironment env;
    auto uuid = NSUUID::initWithUUIDString("e621e1f8-C36C-495A-93FC-0C247A3E6E5F");
    ASSERT_TRUE(uuid);
    EXPECT_EQ(uuid->UUIDString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(sel::UUIDString(uuid.get()), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(uuid->bytes()[0], 0xE6);
    EXPECT_EQ(uuid->bytes()[15], 0x5F);
    EXPECT_EQ(Value(uuid), Value(NSUUID::initWithUUIDBytes(uuid->bytes())));
    for (const char* bad : {"", "E621E1F8C36C495A93FC0C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5", "G621E1F8-C36C-495A-93FC-0C247A3E6E5F",
                            "E621E1F8-C36C-495A-93FC+0C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5F0"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(NSUUID::initWithUUIDString(bad));
    }
}

TEST(NSUUID, FreshOnesAreRandomVersionFour) {
    testing::TestEnvironment env;
    std::uint32_t next = 0xFFFFFFFF;
    setRandomSource([&] { return next; });
    auto all = NSUUID::UUID();
    EXPECT_EQ(all->UUIDString(), "FFFFFFFF-FFFF-4FFF-BFFF-FFFFFFFFFFFF");
    next = 0;
    EXPECT_EQ(NSUUID::UUID()->UUIDString(), "00000000-0000-4000-8000-000000000000");
    setRandomSource({});
    EXPECT_NE(NSUUID::UUID()->UUIDString(), NSUUID::UUID()->UUIDString());
}

}  // namespace
}  // namespace platform

#include "adlib/foundation/string_encoding.h"

#include <gtest/gtest.h>

#include "platform/foundation/random.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Class* codecClass() { return objc_getClass("YBX_WQTStringEncoding"); }

Data bytes(std::string_view s) { return Data(s.begin(), s.end()); }

TEST(StringEncoding, EncodesAndDecodesThePredefinedAlphabets) {
    AdLibEnvironment env;
    Class* cls = codecClass();
    auto base64 = sel::rfc4648Base64StringEncoding(cls);
    auto websafe = sel::rfc4648Base64WebsafeStringEncoding(cls);
    auto hex = sel::hexStringEncoding(cls);
    auto crockford = sel::crockfordBase32StringEncoding(cls);
    auto base32 = sel::rfc4648Base32StringEncoding(cls);
    auto binary = sel::binaryStringEncoding(cls);
    struct Case {
        const char* name;
        Ref<Object> codec;
        Data input;
        const char* text;
    } cases[] = {
        {"abc", base64, bytes("abc"), "YWJj"},
        {"ab padded", base64, bytes("ab"), "YWI="},
        {"empty", base64, {}, ""},
        {"web-safe", websafe, Data{0xfb, 0xff}, "-_8="},
        {"standard of the same", base64, Data{0xfb, 0xff}, "+/8="},
        {"non-ASCII text", base64, bytes("\u00e9"), "w6k="},
        {"hex", hex, Data{0x0a, 0xff}, "0AFF"},
        {"base32 padded to eight", base32, bytes("f"), "MY======"},
        {"crockford", crockford, Data{0x00}, "00"},
        {"binary", binary, Data{0xa5}, "10100101"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sel::encode_(c.codec, c.input), c.text);
        EXPECT_EQ(sel::decode_(c.codec, c.text), Value(c.input));
    }
    EXPECT_EQ(sel::encodeString_(base64, "abc"), "YWJj");
    EXPECT_EQ(sel::stringByDecoding_(base64, "YWJj"), Value("abc"));
    EXPECT_TRUE(sel::stringByDecoding_(hex, "FF").isNil());  // no UTF-8
}

TEST(StringEncoding, DecodingRejectsWhatDoesNotBelong) {
    AdLibEnvironment env;
    Class* cls = codecClass();
    auto base64 = sel::rfc4648Base64StringEncoding(cls);
    auto hex = sel::hexStringEncoding(cls);
    auto crockford = sel::crockfordBase32StringEncoding(cls);
    EXPECT_TRUE(sel::decode_(base64, "YW=Jj").isNil());    // a symbol after padding
    EXPECT_TRUE(sel::decode_(base64, "YW*j").isNil());     // not in the alphabet
    EXPECT_TRUE(sel::decode_(base64, "YWJ\u00e9").isNil());  // not ASCII
    EXPECT_EQ(sel::decode_(base64, "YWI"), Value(bytes("ab")));  // padding is not required to decode
    EXPECT_TRUE(sel::decode_(base64, "YWK=").isNil());     // leftover bits that are not zero
    EXPECT_EQ(sel::decode_(hex, "0a"), sel::decode_(hex, "0A"));
    EXPECT_EQ(sel::decode_(crockford, "o"), Value(Data{}));  // five zero bits make no byte
    EXPECT_EQ(sel::decode_(crockford, "oL"), sel::decode_(crockford, "01"));
    EXPECT_TRUE(sel::decode_(sel::rfc4648Base64WebsafeStringEncoding(cls), "+/8=").isNil());
    // Every byte of the text stays inside the 128-entry table.
    EXPECT_TRUE(sel::decode_(base64, std::string("\x7f\x80\xff", 3)).isNil());
}

TEST(StringEncoding, AlphabetsSynonymsIgnoredAndPadding) {
    AdLibEnvironment env;
    Class* cls = codecClass();
    EXPECT_FALSE(sel::stringEncodingWithString_(cls, "abc"));
    EXPECT_FALSE(sel::stringEncodingWithString_(cls, "aa"));
    EXPECT_FALSE(sel::stringEncodingWithString_(cls, "a"));
    EXPECT_FALSE(sel::stringEncodingWithString_(cls, "\u00e9\u00e8"));
    EXPECT_FALSE(sel::stringEncodingWithString_(cls, std::string(256, 'a')));

    auto codec = sel::stringEncodingWithString_(cls, "01");
    ASSERT_TRUE(codec);
    EXPECT_EQ(sel::description(codec).string(), "<Base2 StringEncoder: 01>");
    sel::ignoreCharacters_(codec, " ");
    EXPECT_EQ(sel::decode_(codec, "1010 0101"), Value(Data{0xa5}));
    EXPECT_THROW(sel::ignoreCharacters_(codec, "1"), NSException);
    sel::addDecodeSynonyms_(codec, "0oO1iI");
    EXPECT_EQ(sel::decode_(codec, "iOiOOiOi"), Value(Data{0xa5}));

    auto padded = sel::stringEncodingWithString_(cls, "0123456789ABCDEF");
    sel::setPaddingChar_(padded, '*');
    sel::setDoPad_(padded, true);
    EXPECT_TRUE(sel::doPad(padded));
    EXPECT_EQ(sel::encode_(padded, Data{0xab}), "AB");  // two symbols fill a byte: no padding
    EXPECT_EQ(sel::decode_(padded, "AB**"), Value(Data{0xab}));
    EXPECT_EQ(sel::description(sel::rfc4648Base64StringEncoding(cls)).string(),
              "<Base64 StringEncoder: ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/>");
}

TEST(StringEncoding, RandomBytesRoundTripThroughEveryCodec) {
    AdLibEnvironment env;
    Class* cls = codecClass();
    for (const auto& make : {sel::binaryStringEncoding, sel::hexStringEncoding, sel::rfc4648Base32StringEncoding,
                             sel::rfc4648Base32HexStringEncoding, sel::crockfordBase32StringEncoding, sel::rfc4648Base64StringEncoding,
                             sel::rfc4648Base64WebsafeStringEncoding}) {
        auto codec = make(cls);
        SCOPED_TRACE(sel::description(codec).string());
        for (std::size_t length : {1u, 2u, 3u, 4u, 5u, 7u, 31u, 64u}) {
            Data data(length);
            for (auto& b : data) b = static_cast<std::uint8_t>(platform::arc4random() & 0xff);
            EXPECT_EQ(sel::decode_(codec, sel::encode_(codec, data)), Value(data));
        }
    }
}

}  // namespace
}  // namespace adlib

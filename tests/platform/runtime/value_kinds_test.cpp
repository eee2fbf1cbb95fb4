#include "platform/runtime/value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace platform {
namespace {

// The ad library's ad size as it boxes it.
struct AdSize {
    Size size;
    unsigned long long flags;
};
constexpr const char* kAdSizeEncoding = "{YBXAdSize={CGSize=dd}Q}";

TEST(ValueNumbers, KeepHowTheyWereMade) {
    struct Case {
        const char* name;
        Value value;
        Value::Kind kind;
        const char* description;
        const char* objCType;
    };
    const Case cases[] = {
        {"bool", Value(true), Value::Kind::Bool, "1", "c"},
        {"signed", Value(-5LL), Value::Kind::Integer, "-5", "q"},
        {"small_unsigned", Value(7u), Value::Kind::Integer, "7", "q"},
        {"unsigned_max", Value(ULLONG_MAX), Value::Kind::Unsigned, "18446744073709551615", "Q"},
        {"real", Value(2.5), Value::Kind::Real, "2.5", "d"},
        {"decimal", Value(Decimal::fromString("12.50")), Value::Kind::Decimal, "12.5", "d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.kind(), c.kind);
        EXPECT_EQ(c.value.description(), c.description);
        EXPECT_EQ(c.value.objCType(), c.objCType);
        EXPECT_TRUE(c.value.isNumber());
        EXPECT_TRUE(c.value.isKindOfClass("NSNumber"));
        EXPECT_TRUE(c.value.isKindOfClass("NSValue"));
        EXPECT_EQ(c.value.isKindOfClass("NSDecimalNumber"), c.kind == Value::Kind::Decimal);
    }
}

TEST(ValueNumbers, UnsignedConvertsWithoutWrapping) {
    Value big(ULLONG_MAX);
    EXPECT_EQ(big.unsignedLongLongValue(), ULLONG_MAX);
    EXPECT_EQ(big.integerValue(), LLONG_MAX);
    EXPECT_EQ(big.intValue(), INT_MAX);
    EXPECT_TRUE(big.boolValue());
    EXPECT_DOUBLE_EQ(big.doubleValue(), 18446744073709551615.0);
    // The platform wraps a negative signed number.
    EXPECT_EQ(Value(-1).unsignedLongLongValue(), ULLONG_MAX);
    // Equal by value across kinds, never by bits.
    EXPECT_EQ(Value(42ULL), Value(42));
    EXPECT_NE(Value(ULLONG_MAX), Value(-1));
    EXPECT_EQ(Value(3ULL), Value(3.0));
}

TEST(Decimal, AddsExactly) {
    Decimal sum = Decimal::fromString("0.1").adding(Decimal::fromString("0.2"));
    EXPECT_EQ(sum.text(), "0.3");
    EXPECT_EQ(sum, Decimal::fromString("0.3"));
    EXPECT_DOUBLE_EQ(sum.doubleValue(), 0.3);

    struct Case {
        Decimal a, b;
        const char* text;
    };
    const Case cases[] = {
        {Decimal::zero(), Decimal::one(), "1"},
        {Decimal(1, 0, true), Decimal::one(), "0"},
        {Decimal(15, -1, true), Decimal::fromString("0.25"), "-1.25"},
        {Decimal(1, 3, false), Decimal::fromString("0.001"), "1000.001"},
        {Decimal::fromString("18446744073709551615"), Decimal::one(), "18446744073709551620"},
        {Decimal::fromString("abc"), Decimal::one(), "NaN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.a.adding(c.b).text(), c.text);
    }
}

TEST(Decimal, ReadsAndPrintsText) {
    struct Case {
        const char* in;
        const char* text;
    };
    const Case cases[] = {
        {"0", "0"},         {"-0.0", "0"},     {"  +3.140", "3.14"}, {"12abc", "12"},
        {"1e3", "1000"},    {"2.5e-3", "0.0025"}, {".5", "0.5"},     {"-", "NaN"},
        {"", "NaN"},        {"x1", "NaN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(Decimal::fromString(c.in).text(), c.text);
    }
    EXPECT_EQ(Decimal(123, -2, true).text(), "-1.23");
    EXPECT_EQ(Decimal(5, -3, false).text(), "0.005");
}

TEST(ValueDecimal, IsADecimalOnlyWhenMadeOne) {
    Value counter = Value(Decimal::zero());
    EXPECT_TRUE(counter.isDecimal());
    Value sum = Value(counter.decimalValue().adding(Value(Decimal::one()).decimalValue()));
    EXPECT_TRUE(sum.isDecimal());
    EXPECT_EQ(sum.description(), "1");
    // A plain number of the same value is equal but not a decimal.
    EXPECT_EQ(sum, Value(1));
    EXPECT_FALSE(Value(1).isDecimal());
    EXPECT_FALSE(Value(1).isKindOfClass("NSDecimalNumber"));
    EXPECT_EQ(Value(Decimal::fromString("0.1")), Value(0.1));
    EXPECT_EQ(Value(Decimal::fromString("0.1")).doubleValue(), 0.1);
    EXPECT_TRUE(Value("1").decimalValue().isNaN());
}

TEST(ValueBoxed, AdSizeEqualsOnlyTheSameEncodingAndBytes) {
    AdSize banner{{320, 50}, 0};
    Value boxed = Value::valueWithBytes(&banner, kAdSizeEncoding);
    ASSERT_EQ(boxed.kind(), Value::Kind::Boxed);
    EXPECT_EQ(boxed.objCType(), kAdSizeEncoding);
    EXPECT_TRUE(boxed.isKindOfClass("NSValue"));
    EXPECT_FALSE(boxed.isKindOfClass("NSNumber"));

    AdSize out{{-1, -1}, 9};
    ASSERT_TRUE(boxed.getValue(&out, sizeof out));
    EXPECT_EQ(out.size, banner.size);
    EXPECT_EQ(out.flags, 0u);
    // A buffer of another size is left alone.
    Size small{-1, -1};
    EXPECT_FALSE(boxed.getValue(&small, sizeof small));
    EXPECT_EQ(small, (Size{-1, -1}));

    EXPECT_EQ(boxed, Value::valueWithBytes(&banner, kAdSizeEncoding));
    AdSize flagged{{320, 50}, 1};
    EXPECT_NE(boxed, Value::valueWithBytes(&flagged, kAdSizeEncoding));
    // The same bytes under another encoding are another value.
    EXPECT_NE(boxed, Value::valueWithBytes(&banner, "{Other={CGSize=dd}Q}"));
    EXPECT_NE(boxed, Value(banner.size));
}

TEST(ValueBoxed, GeometryAndScalarEncodings) {
    Size size{300, 250};
    Value plain = Value::valueWithBytes(&size, kCGSizeEncoding);
    EXPECT_EQ(plain.kind(), Value::Kind::Size);
    EXPECT_EQ(plain, Value(size));
    EXPECT_EQ(plain.objCType(), "{CGSize=dd}");
    Size back;
    ASSERT_TRUE(plain.getValue(&back, sizeof back));
    EXPECT_EQ(back, size);

    bool yes = true;
    Value flag = Value::valueWithBytes(&yes, "B");
    EXPECT_EQ(flag.objCType(), "B");
    EXPECT_EQ(flag.description(), "<01>");
    bool read = false;
    ASSERT_TRUE(flag.getValue(&read, sizeof read));
    EXPECT_TRUE(read);

    EXPECT_TRUE(Value::valueWithBytes(&yes, "{NoMembers}").isNil());
    EXPECT_TRUE(Value::valueWithBytes(&yes, "").isNil());
}

TEST(ObjCType, SizesFollowTheLayout) {
    struct Case {
        const char* type;
        std::size_t size;
    };
    const Case cases[] = {
        {"B", 1}, {"c", 1}, {"s", 2}, {"i", 4}, {"f", 4}, {"q", 8}, {"Q", 8}, {"d", 8}, {"@", 8}, {"^v", 8},
        {"{CGSize=dd}", 16}, {kAdSizeEncoding, 24}, {"{CGRect={CGPoint=dd}{CGSize=dd}}", 32},
        {"{P=ci}", 8}, {"{P=cd}", 16}, {"[3i]", 12}, {"{P=[3c]s}", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::size_t size = 0;
        ASSERT_TRUE(objCTypeSizeAndAlignment(c.type, &size, nullptr));
        EXPECT_EQ(size, c.size);
    }
    EXPECT_FALSE(objCTypeSizeAndAlignment("{CGSize=dd", nullptr, nullptr));
    EXPECT_FALSE(objCTypeSizeAndAlignment("dd", nullptr, nullptr));
    EXPECT_FALSE(objCTypeSizeAndAlignment("?", nullptr, nullptr));
}

TEST(ValueKinds, ClassTestsAndDescriptions) {
    struct Case {
        const char* name;
        Value value;
        const char* cls;
        const char* description;
    };
    const Case cases[] = {
        {"string", Value("text"), "NSString", "text"},
        {"data", Value(Data{0xde, 0xad, 0xbe, 0xef, 0x01}), "NSData", "<deadbeef 01>"},
        {"date", Value(Date{0}), "NSDate", "2001-01-01 00:00:00 +0000"},
        {"array", Value::array({Value(1)}), "NSArray", "(\n    1\n)"},
        {"dictionary", Value(Value::Dictionary{{"k", Value(ULLONG_MAX)}}), "NSDictionary",
         "{\n    k = 18446744073709551615;\n}"},
        {"point", Value(Point{1, 2}), "NSValue", "NSPoint: {1, 2}"},
    };
    const char* classes[] = {"NSString", "NSData", "NSDate", "NSArray", "NSDictionary", "NSNumber"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.description(), c.description);
        EXPECT_TRUE(c.value.isKindOfClass("NSObject"));
        EXPECT_TRUE(c.value.isKindOfClass(c.cls));
        for (const char* other : classes) {
            if (std::string_view(other) != c.cls) {
                EXPECT_FALSE(c.value.isKindOfClass(other)) << other;
            }
        }
    }
    EXPECT_FALSE(Value().isKindOfClass("NSObject"));
    EXPECT_EQ(Value().description(), "(null)");
}

}  // namespace
}  // namespace platform

#include "platform/runtime/value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Conversion {
    const char* name;
    Value value;
    int intValue;
    long long integerValue;
    double doubleValue;
    bool boolValue;
};

void PrintTo(const Conversion& c, std::ostream* os) { *os << c.name; }

class ValueConversion : public testing::TestWithParam<Conversion> {};

TEST_P(ValueConversion, FollowsFoundation) {
    const Conversion& c = GetParam();
    EXPECT_EQ(c.value.intValue(-99), c.intValue);
    EXPECT_EQ(c.value.integerValue(-99), c.integerValue);
    EXPECT_DOUBLE_EQ(c.value.doubleValue(-99), c.doubleValue);
    EXPECT_FLOAT_EQ(c.value.floatValue(-99), static_cast<float>(c.doubleValue));
    EXPECT_EQ(c.value.boolValue(true), c.boolValue);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueConversion,
    testing::Values(
        Conversion{"yes", Value(true), 1, 1, 1.0, true},
        Conversion{"no", Value(false), 0, 0, 0.0, false},
        Conversion{"integer", Value(42), 42, 42, 42.0, true},
        Conversion{"zero", Value(0), 0, 0, 0.0, false},
        Conversion{"big_integer_saturates", Value(5000000000LL), INT_MAX, 5000000000LL, 5e9, true},
        Conversion{"negative_big_integer", Value(-5000000000LL), INT_MIN, -5000000000LL, -5e9, true},
        Conversion{"real_truncates", Value(3.9), 3, 3, 3.9, true},
        Conversion{"negative_real", Value(-3.9), -3, -3, -3.9, true},
        Conversion{"half_is_true", Value(0.5), 0, 0, 0.5, true},
        Conversion{"huge_real", Value(1e30), INT_MAX, LLONG_MAX, 1e30, true},
        Conversion{"string_number", Value("5"), 5, 5, 5.0, true},
        Conversion{"string_leading_number", Value("12abc"), 12, 12, 12.0, true},
        Conversion{"string_two_points", Value("1.2.3"), 1, 1, 1.2, true},
        Conversion{"string_spaces_sign", Value("  -7.5"), -7, -7, -7.5, true},
        Conversion{"string_plus", Value("+8"), 8, 8, 8.0, true},
        Conversion{"string_overflow", Value("99999999999"), INT_MAX, 99999999999LL, 99999999999.0, true},
        Conversion{"string_yes", Value("YES"), 0, 0, 0.0, true},
        Conversion{"string_true_lower", Value("true"), 0, 0, 0.0, true},
        Conversion{"string_no", Value("NO"), 0, 0, 0.0, false},
        Conversion{"string_zeros_then_digit", Value("  -007"), -7, -7, -7.0, true},
        Conversion{"string_zero", Value("0"), 0, 0, 0.0, false},
        Conversion{"string_empty", Value(""), 0, 0, 0.0, false},
        Conversion{"string_point_first", Value(".5"), 0, 0, 0.5, false},
        Conversion{"string_exponent", Value("1e3x"), 1, 1, 1000.0, true},
        Conversion{"string_dangling_exponent", Value("2e"), 2, 2, 2.0, true},
        Conversion{"nil_gives_default", Value(), -99, -99, -99.0, true},
        Conversion{"array_gives_default", Value::array({Value(1)}), -99, -99, -99.0, true},
        Conversion{"dictionary_gives_default", Value(Value::Dictionary{{"a", Value(1)}}), -99, -99, -99.0, true},
        Conversion{"data_gives_default", Value(Data{1, 2}), -99, -99, -99.0, true},
        Conversion{"date_gives_default", Value(Date{5}), -99, -99, -99.0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Value, ContainersCopyOnWrite) {
    Value a = Value::Dictionary{{"k", Value(1)}};
    Value b = a;
    b.mutableDictionary()["k"] = Value(2);
    EXPECT_EQ(a["k"].intValue(), 1);
    EXPECT_EQ(b["k"].intValue(), 2);

    Value list;
    list.mutableArray().push_back(Value("x"));
    EXPECT_TRUE(list.isArray());
    EXPECT_EQ(list.count(), 1u);
    EXPECT_TRUE(list.at(5).isNil());
    EXPECT_TRUE(Value(3)["missing"].isNil());
}

TEST(Value, EqualityFollowsFoundation) {
    EXPECT_EQ(Value(true), Value(1));
    EXPECT_EQ(Value(2), Value(2.0));
    EXPECT_NE(Value("1"), Value(1));
    EXPECT_EQ(Value::array({Value("a"), Value(1)}), Value::array({Value("a"), Value(1.0)}));
    EXPECT_NE(Value(Value::Dictionary{{"a", Value(1)}}), Value(Value::Dictionary{{"b", Value(1)}}));
    EXPECT_EQ(Value(), Value());
}

std::vector<std::string> keysOf(const Value::Dictionary& d) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : d) keys.push_back(key);
    return keys;
}

// Small dictionaries are scanned, larger ones indexed: both keep the order of
// first insertion through assignments and erases, and find every key.
TEST(Dictionary, KeepsInsertionOrderAtEverySize) {
    for (int n : {3, 15, 16, 17, 300}) {
        SCOPED_TRACE(n);
        Value::Dictionary d;
        std::vector<std::string> expected;
        for (int i = n; i > 0; --i) {
            std::string key = "k" + std::to_string(i * 7919 % 1000);
            if (d.try_emplace(key, Value(i)).second) expected.push_back(key);
        }
        d[expected.front()] = Value("again");  // an assignment keeps the key's place
        EXPECT_FALSE(d.insert_or_assign(expected.back(), Value("last")).second);
        EXPECT_EQ(keysOf(d), expected);
        for (std::size_t i = 0; i < expected.size(); i += 2) EXPECT_EQ(d.erase(expected[i]), 1u);
        std::erase_if(expected, [&, i = 0](const std::string&) mutable { return i++ % 2 == 0; });
        EXPECT_EQ(keysOf(d), expected);
        for (const std::string& key : expected) EXPECT_TRUE(d.contains(key)) << key;
        EXPECT_FALSE(d.contains("absent"));
        EXPECT_EQ(d.erase("absent"), 0u);
        d["added"] = Value(1);
        EXPECT_EQ(keysOf(d).back(), "added");
        EXPECT_EQ(d.size(), expected.size() + 1);
    }
}

TEST(Dictionary, EqualityIgnoresOrder) {
    Value::Dictionary forward, backward;
    for (int i = 0; i < 40; ++i) forward[std::to_string(i)] = Value(i);
    for (int i = 39; i >= 0; --i) backward[std::to_string(i)] = Value(i);
    EXPECT_NE(keysOf(forward), keysOf(backward));
    EXPECT_EQ(Value(forward), Value(backward));
    EXPECT_EQ(Value(Value::Dictionary{{"a", Value(1)}, {"b", Value(2)}}), Value(Value::Dictionary{{"b", Value(2)}, {"a", Value(1)}}));
    backward["7"] = Value(8);
    EXPECT_NE(Value(forward), Value(backward));
    backward.erase("7");
    backward["extra"] = Value(7);
    EXPECT_NE(Value(forward), Value(backward));
    // The first of a key given twice in a literal stays, as with std::map.
    EXPECT_EQ(Value(Value::Dictionary{{"a", Value(1)}, {"a", Value(2)}})["a"].intValue(), 1);
}

TEST(Value, Descriptions) {
    EXPECT_EQ(Value().description(), "(null)");
    EXPECT_EQ(Value(true).description(), "1");
    EXPECT_EQ(Value(0.1).description(), "0.1");
    EXPECT_EQ(Value(Rect(1, 2, 3, 4)).description(), "NSRect: {{1, 2}, {3, 4}}");
    EXPECT_EQ(Value(Date{0}).description(), "2001-01-01 00:00:00 +0000");
    EXPECT_EQ(Value::array({Value("a b"), Value(1)}).description(), "(\n    \"a b\",\n    1\n)");
    // A dictionary describes itself sorted by key, whatever order it was built in.
    EXPECT_EQ(Value(Value::Dictionary{{"b", Value(1)}, {"a", Value("x y")}}).description(), "{\n    a = \"x y\";\n    b = 1;\n}");
}

TEST(Rect, NullAndContains) {
    EXPECT_TRUE(Rect::null().isNull());
    EXPECT_FALSE(Rect(0, 0, 0, 0).isNull());
    Rect r(10, 10, 20, 20);
    EXPECT_TRUE(r.contains({10, 10}));
    EXPECT_FALSE(r.contains({30, 30}));
    EXPECT_DOUBLE_EQ(Rect(10, 10, -4, 4).minX(), 6);
}

}  // namespace
}  // namespace platform

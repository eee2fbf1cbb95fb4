#include "platform/foundation/json.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "platform/foundation/plist.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

std::string text(const Value& data) { return std::string(data.data().begin(), data.data().end()); }

Value readJSON(std::string_view s, unsigned long options = 0, Ref<NSError>* error = nullptr) {
    return NSJSONSerialization::JSONObjectWithText(s, options, error);
}

Value nested() {
    return Value::Dictionary{{"list", Value::array({Value(1), Value("two"), Value(Value::Dictionary{{"x", Value(false)}})})},
                             {"empty", Value(Value::Dictionary{})}};
}

// Each kind inside an array, through JSON and through a property list: the
// kind that comes back, or that JSON refuses it.
TEST(ValueRoundTrip, EveryKindThroughJSONAndPropertyLists) {
    testing::TestEnvironment env;
    struct Case {
        const char* name;
        Value value;
        bool json;
        Value::Kind jsonKind;
        Value::Kind plistKind;
    };
    using K = Value::Kind;
    const Case cases[] = {
        {"signed", Value(-42LL), true, K::Integer, K::Integer},
        {"signed_min", Value(LLONG_MIN), true, K::Integer, K::Integer},
        {"unsigned_max", Value(ULLONG_MAX), true, K::Unsigned, K::Integer},
        {"unsigned_small", Value(1ULL << 40), true, K::Integer, K::Integer},
        {"real", Value(2.5), true, K::Real, K::Real},
        {"bool", Value(true), true, K::Bool, K::Bool},
        {"decimal", Value(Decimal::fromString("0.3")), true, K::Real, K::Real},
        {"string", Value("h\u00e9llo \"q\" \\ /"), true, K::String, K::String},
        // Whole seconds: XML property lists keep no fraction.
        {"date", Value(Date{12345}), false, K::Nil, K::Date},
        {"data", Value(Data{0, 1, 255}), false, K::Nil, K::Data},
        {"nested", nested(), true, K::Dictionary, K::Dictionary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Value wrapped = Value::array({c.value});
        Ref<NSError> error;
        Value data = NSJSONSerialization::dataWithJSONObject(wrapped, 0, &error);
        EXPECT_EQ(NSJSONSerialization::isValidJSONObject(wrapped), c.json);
        if (c.json) {
            ASSERT_TRUE(data.kind() == K::Data) << (error ? error->description() : "");
            Value back = NSJSONSerialization::JSONObjectWithData(data.data(), 0, &error);
            EXPECT_EQ(back, wrapped) << text(data);
            EXPECT_EQ(back.at(0).kind(), c.jsonKind) << text(data);
        } else {
            EXPECT_TRUE(data.isNil());
            ASSERT_TRUE(error);
            EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
            EXPECT_EQ(error->code(), NSPropertyListWriteInvalidError);
            EXPECT_EQ(error->userInfo()[NSDebugDescriptionErrorKey], Value("Invalid object in JSON write."));
        }
        if (c.name == std::string_view("unsigned_max")) continue;  // a property list integer has no sign flag
        auto xml = plist::toXml(wrapped);
        ASSERT_TRUE(xml.ok());
        auto fromPlist = plist::parse(*xml);
        ASSERT_TRUE(fromPlist.ok());
        EXPECT_EQ(*fromPlist, wrapped);
        EXPECT_EQ(fromPlist->at(0).kind(), c.plistKind);
    }
}

TEST(JSONWriting, RefusesWhatThePlatformRefusesWithAnErrorValue) {
    testing::TestEnvironment env;
    const struct {
        const char* name;
        Value value;
    } cases[] = {
        {"top_level_string", Value("s")},
        {"top_level_number", Value(1)},
        {"top_level_nil", Value()},
        {"nan", Value::array({Value(std::nan(""))})},
        {"infinity", Value(Value::Dictionary{{"k", Value(std::numeric_limits<double>::infinity())}})},
        {"decimal_nan", Value::array({Value(Decimal::notANumber())})},
        {"date_deep", Value::array({Value::array({Value(Date{1})})})},
        {"size", Value::array({Value(Size{1, 2})})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(NSJSONSerialization::isValidJSONObject(c.value));
        Ref<NSError> error;
        EXPECT_TRUE(NSJSONSerialization::dataWithJSONObject(c.value, NSJSONWritingPrettyPrinted, &error).isNil());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), NSPropertyListWriteInvalidError);
        // No error out-parameter: still no exception.
        EXPECT_TRUE(NSJSONSerialization::dataWithJSONObject(c.value, 0).isNil());
    }
    // JSON null inside a container is fine.
    EXPECT_TRUE(NSJSONSerialization::isValidJSONObject(Value::array({Value()})));
}

TEST(JSONWriting, CompactAndPrettyLayout) {
    Value v = Value::Dictionary{{"a", Value::array({Value(1), Value(2.0), Value()})}, {"b", Value(Value::Dictionary{})},
                                {"c", Value("x/y")}};
    EXPECT_EQ(text(NSJSONSerialization::dataWithJSONObject(v, 0)), R"({"a":[1,2,null],"b":{},"c":"x\/y"})");
    EXPECT_EQ(text(NSJSONSerialization::dataWithJSONObject(v, NSJSONWritingPrettyPrinted)),
              "{\n  \"a\" : [\n    1,\n    2,\n    null\n  ],\n  \"b\" : {},\n  \"c\" : \"x\\/y\"\n}");
    EXPECT_EQ(text(NSJSONSerialization::dataWithJSONObject(Value::array({Value(true), Value(Decimal::fromString("12.50"))}), 0)),
              "[true,12.5]");
}

TEST(JSONWriting, DictionariesAreWrittenInInsertionOrder) {
    Value v = Value::Dictionary{{"zeta", Value(1)}, {"alpha", Value(Value::Dictionary{{"y", Value(2)}, {"b", Value(3)}})}};
    v.mutableDictionary()["mid"] = Value(4);
    v.mutableDictionary()["zeta"] = Value(5);  // keeps its place
    EXPECT_EQ(text(NSJSONSerialization::dataWithJSONObject(v, 0)), R"({"zeta":5,"alpha":{"y":2,"b":3},"mid":4})");
    EXPECT_EQ(text(NSJSONSerialization::dataWithJSONObject(v, NSJSONWritingPrettyPrinted)),
              "{\n  \"zeta\" : 5,\n  \"alpha\" : {\n    \"y\" : 2,\n    \"b\" : 3\n  },\n  \"mid\" : 4\n}");
}

// Read JSON writes back in the order of its text, at any size; a key given
// twice keeps its first place and its last value.
TEST(JSONReading, ObjectsKeepTheOrderOfTheText) {
    std::string many = "{";
    for (int i = 99; i >= 0; --i) many += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + (i ? "," : "}");
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"flat", R"({"b":1,"a":2,"c":3})", R"({"b":1,"a":2,"c":3})"},
        {"nested", R"([{"z":{"q":true,"p":null}},{"y":[],"x":{}}])", R"([{"z":{"q":true,"p":null}},{"y":[],"x":{}}])"},
        {"repeated_key", R"({"b":1,"a":2,"b":3})", R"({"b":3,"a":2})"},
        {"large", many, many},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<NSError> error;
        Value v = readJSON(c.in, 0, &error);
        ASSERT_FALSE(v.isNil()) << (error ? error->description() : "");
        EXPECT_EQ(text(NSJSONSerialization::dataWithJSONObject(v, 0)), c.out);
    }
    EXPECT_EQ(readJSON(many)["k42"].intValue(), 42);
}

TEST(JSONWriting, LineAndParagraphSeparatorsAreAlwaysEscaped) {
    const std::string raw = "a\u2028b\u2029c";
    Value v = Value::Dictionary{{"k\u2028", Value(raw)}};
    for (unsigned long options : {0UL, NSJSONWritingPrettyPrinted}) {
        SCOPED_TRACE(options);
        std::string out = text(NSJSONSerialization::dataWithJSONObject(v, options));
        EXPECT_NE(out.find("a\\u2028b\\u2029c"), std::string::npos) << out;
        EXPECT_NE(out.find("\"k\\u2028\""), std::string::npos) << out;
        EXPECT_EQ(out.find("\u2028"), std::string::npos);
        EXPECT_EQ(out.find("\u2029"), std::string::npos);
        EXPECT_EQ(readJSON(out), v);
    }
}

TEST(JSONReading, FragmentsOnlyWithTheOption) {
    testing::TestEnvironment env;
    const struct {
        const char* text;
        Value value;
    } fragments[] = {{"\"s\"", Value("s")}, {"12", Value(12)}, {" true ", Value(true)}, {"1.5", Value(1.5)}};
    for (const auto& f : fragments) {
        SCOPED_TRACE(f.text);
        Ref<NSError> error;
        EXPECT_TRUE(readJSON(f.text, 0, &error).isNil());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
        EXPECT_EQ(error->userInfo()[NSDebugDescriptionErrorKey],
                  Value("JSON text did not start with array or object and option to allow fragments not set."));
        error = nullptr;
        Value v = readJSON(f.text, NSJSONReadingAllowFragments, &error);
        EXPECT_EQ(v, f.value);
        EXPECT_EQ(v.kind(), f.value.kind());
        EXPECT_FALSE(error);
    }
}

TEST(JSONReading, MalformedTextIsAnError) {
    testing::TestEnvironment env;
    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "[\"\xff\"]", "nul", "[1] x"}) {
        SCOPED_TRACE(bad);
        Ref<NSError> error;
        EXPECT_TRUE(readJSON(bad, NSJSONReadingAllowFragments, &error).isNil());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), NSPropertyListReadCorruptError);
    }
}

TEST(JSONReading, NumbersKeepTheirKind) {
    Value v = readJSON(R"({"i":3,"n":-3,"r":3.0,"e":1e2,"b":false,"u":18446744073709551615,"z":null})");
    using K = Value::Kind;
    EXPECT_EQ(v["i"].kind(), K::Integer);
    EXPECT_EQ(v["n"].kind(), K::Integer);
    EXPECT_EQ(v["r"].kind(), K::Real);
    EXPECT_EQ(v["e"].kind(), K::Real);
    EXPECT_EQ(v["b"].kind(), K::Bool);
    EXPECT_EQ(v["u"].kind(), K::Unsigned);
    EXPECT_EQ(v["u"].unsignedLongLongValue(), ULLONG_MAX);
    EXPECT_TRUE(v["z"].isNil());
    EXPECT_EQ(v.count(), 7u);
}

}  // namespace
}  // namespace platform

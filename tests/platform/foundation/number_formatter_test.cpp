#include "platform/foundation/number_formatter.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(NSNumberFormatter, ReadsOnlyWholeNumbersThatAreTheWholeText) {
    testing::TestEnvironment env;
    Ref<Object> formatter = newObject("NSNumberFormatter");
    ASSERT_TRUE(formatter);
    struct Case {
        Value text;
        Value number;
    } cases[] = {
        {Value("2"), Value(2)},
        {Value("0"), Value(0)},
        {Value("-3"), Value(-3)},
        {Value("+7"), Value(7)},
        {Value("0042"), Value(42)},
        {Value("9223372036854775807"), Value(9223372036854775807LL)},
        {Value("9223372036854775808"), Value()},
        {Value("1,000"), Value()},
        {Value("2.5"), Value()},
        {Value(" 2"), Value()},
        {Value("2 "), Value()},
        {Value("12abc"), Value()},
        {Value("-"), Value()},
        {Value("+-1"), Value()},
        {Value(""), Value()},
        {Value(5), Value()},
        {Value(), Value()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.description());
        Value read = sel::numberFromString_(formatter, c.text);
        EXPECT_EQ(read, c.number);
        EXPECT_EQ(read.isNumber(), !c.number.isNil());
    }
}

}  // namespace
}  // namespace platform

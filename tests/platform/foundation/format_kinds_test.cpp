#include <gtest/gtest.h>

#include <climits>

#include "platform/foundation/format.h"

namespace platform {
namespace {

// Numbers of every kind print by their value, and %@ by their description.
TEST(FormatValueKinds, UnsignedAndDecimalValues) {
    EXPECT_EQ(format("%llu", Value(ULLONG_MAX)), "18446744073709551615");
    EXPECT_EQ(format("%llu", ULLONG_MAX), "18446744073709551615");
    EXPECT_EQ(format("%llx", Value(ULLONG_MAX)), "ffffffffffffffff");
    EXPECT_EQ(format("%lld", Value(ULLONG_MAX)), "9223372036854775807");
    EXPECT_EQ(format("%@ %@", Value(ULLONG_MAX), Value(Decimal::fromString("0.30"))), "18446744073709551615 0.3");
    EXPECT_EQ(format("%lu", Value(-1)), "18446744073709551615");
    EXPECT_EQ(format("%@", Value()), "(null)");
}

}  // namespace
}  // namespace platform

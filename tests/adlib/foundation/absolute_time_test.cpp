#include "adlib/foundation/absolute_time.h"

#include <gtest/gtest.h>

#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

TEST(AbsoluteTime, CountsMillisecondsFromItsFirstReading) {
    AdLibEnvironment env;
    platform::testing::advance(30.0);  // the clock has long been running
    Class* clock = objc_getClass("YBXAbsoluteTime");
    Value first = sel::absoluteTimeInMilliseconds(clock);
    EXPECT_EQ(first.kind(), Value::Kind::Unsigned);
    EXPECT_EQ(first, Value(0));
    platform::testing::advance(1.2345);
    EXPECT_EQ(sel::absoluteTimeInMilliseconds(clock), Value(1234));
    platform::testing::advance(0.0004);  // truncated, never rounded up
    EXPECT_EQ(YBXAbsoluteTimeInMilliseconds(), 1234u);
    platform::testing::advance(3600);
    EXPECT_EQ(YBXAbsoluteTimeInMilliseconds(), 3601234u);
}

}  // namespace
}  // namespace adlib

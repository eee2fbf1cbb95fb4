#include "platform/uikit/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/printers.h"

namespace platform {
namespace {

TEST(SizeStrings, ParseAndPrint) {
    struct Case {
        const char* text;
        Size size;
    } cases[] = {
        {"{320, 50}", {320, 50}},
        {"{320,50}", {320, 50}},
        {"  { 1.5 ,\t-2e1 } ", {1.5, -20}},
        {"{0x10, 1}", {16, 1}},
        {"{320, 50", {0, 0}},
        {"320, 50}", {0, 0}},
        {"{320; 50}", {0, 0}},
        {"{a, 1}", {0, 0}},
        {"", {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CGSizeFromString(c.text), c.size);
    }
    EXPECT_EQ(NSStringFromCGSize({320, 50}), "{320, 50}");
    EXPECT_EQ(NSStringFromCGSize({0.5, -1}), "{0.5, -1}");
    EXPECT_EQ(CGSizeFromString(NSStringFromCGSize({12.25, 3})), (Size{12.25, 3}));
}

TEST(RectStandardize, MakesTheSizeNonNegative) {
    EXPECT_EQ(CGRectStandardize(Rect(10, 20, -5, -8)), Rect(5, 12, 5, 8));
    EXPECT_EQ(CGRectStandardize(Rect(1, 2, 3, 4)), Rect(1, 2, 3, 4));
    EXPECT_TRUE(CGRectStandardize(Rect::null()).isNull());
}

}  // namespace
}  // namespace platform

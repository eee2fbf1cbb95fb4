#include "platform/foundation/format.h"

#include <gtest/gtest.h>

#include <clocale>

namespace platform {
namespace {

TEST(Format, EachConversion) {
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        {format("%@[Rousa2] Failed%@", "\033[1;35m", "\033[0m"), "\033[1;35m[Rousa2] Failed\033[0m"},
        {format("%s[Rousa2]%s", "a", "b"), "a[Rousa2]b"},
        {format("%d", 42), "42"},
        {format("%d", 5000000000LL), "705032704"},  // %d takes an int
        {format("%ld", 5000000000LL), "5000000000"},
        {format("%lu", 7u), "7"},
        {format("%lu - %lu", 12ul, 5ul), "12 - 5"},
        {format("%g", 12.3), "12.3"},
        {format("(%g x %g)%@%lu", 12.3, 8.7, " + ", 40ul), "(12.3 x 8.7) + 40"},
        {format("%f", 0.5), "0.500000"},
        {format("%.02f", 107.0100001), "107.01"},
        {format("%.0f", 2.5), "2"},
        {format("%.0f", 2.6), "3"},
        {format("%.0f %@", 1.3, "ALARMS"), "1 ALARMS"},
        {format("%%d"), "%d"},
        {format("%@", Value()), "(null)"},
        {format("%@", Value(3)), "3"},
        {format("%@ #%d", "Wake", 2), "Wake #2"},
        {format("%5d|%-4s|", 42, "ab"), "   42|ab  |"},
        {format("%02d:%02d", 7, 5), "07:05"},
        {format("%p", nullptr), "0x0"},
        {format("%d %d", 1), "1 0"},  // a missing argument reads as zero
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(Format, HugeWidthsAndPrecisionsAreCappedNotThrown) {
    struct Case {
        std::string got;
        std::size_t size;
        char last;
    };
    const Case cases[] = {
        {format("%99999999999d", 5), 4096, '5'},
        {format("%999999999@", "x"), 4096, 'x'},
        {format("%-99999999999999999999s|", "x"), 4097, '|'},
        {format("%.99999999999f", 1.0), 4098, '0'},
        {format("%.99999999999@", "abc"), 3, 'c'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got.size(), c.size);
        EXPECT_EQ(c.got.back(), c.last);
    }
}

TEST(Format, IgnoresTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) GTEST_SKIP() << "no comma locale";
    EXPECT_EQ(format("%.02f", 1.5), "1.50");
    EXPECT_EQ(format("%g", 0.25), "0.25");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace platform

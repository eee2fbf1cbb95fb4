#include "tweak/engine/format_remaining_time.h"

#include <climits>
#include <cmath>
#include <limits>

#include "engine_fixture.h"
#include "platform/foundation/file_system.h"
#include "tweak/engine/localizer.h"

namespace rousa {
namespace {

struct TimeCase {
    const char* name;
    int seconds;
    // Formats 0 to 3, with the English words of the settings bundle.
    const char* text[4];
};

class RemainingTime : public testing::EngineTest {
protected:
    RemainingTime() { preferenceBundle = NSBundle::bundleWithPath(kRousaBundlePath); }
};

TEST_F(RemainingTime, FormatsEachValueInTheFourFormats) {
    const TimeCase cases[] = {
        // The minute under way counts: 59 s shows 1 minute, 60 s two.
        {"zero", 0, {"0m", "0mins", "0 minutes", "0:00"}},
        {"one second", 1, {"1m", "1min", "1 minute", "0:01"}},
        {"59 s", 59, {"1m", "1min", "1 minute", "0:01"}},
        {"60 s", 60, {"2m", "2mins", "2 minutes", "0:02"}},
        {"8 min", 480, {"9m", "9mins", "9 minutes", "0:09"}},
        {"9 min", 540, {"10m", "10mins", "10 minutes", "0:10"}},
        {"59 min", 3540, {"1h", "1hr", "1 hour", "1:00"}},
        {"2 h 30 min", 9000, {"2h 31m", "2hrs 31mins", "2 hours 31 minutes", "2:31"}},
        {"a second short of a day", 86399, {"1d", "1day", "1 day", "1:0:00"}},
        {"a day and an hour", 86400 + 3600, {"1d 1h 1m", "1day 1hr 1min", "1 day 1 hour 1 minute", "1:1:01"}},
        {"a day and 30 min", 86400 + 1800, {"1d 31m", "1day 31mins", "1 day 31 minutes", "1:0:31"}},
        {"two days", 2 * 86400 + 3 * 3600 + 4 * 60, {"2d 3h 5m", "2days 3hrs 5mins", "2 days 3 hours 5 minutes", "2:3:05"}},
        {"negative", -5, {"0m", "0mins", "0 minutes", "0:00"}},
        {"most negative", INT_MIN, {"0m", "0mins", "0 minutes", "0:00"}},
        {"largest", INT_MAX, {"24855d 3h 15m", "24855days 3hrs 15mins", "24855 days 3 hours 15 minutes", "24855:3:15"}},
    };
    for (const auto& c : cases) {
        for (unsigned format = 0; format < 4; ++format) {
            SCOPED_TRACE(std::string(c.name) + ", format " + std::to_string(format));
            EXPECT_EQ(FormatRemainingTime(c.seconds, format), c.text[format]);
        }
    }
}

TEST_F(RemainingTime, AnUnknownFormatGivesNothing) {
    for (unsigned format : {4u, 17u, UINT_MAX}) {
        SCOPED_TRACE(format);
        EXPECT_EQ(FormatRemainingTime(3600, format), "");
    }
}

TEST_F(RemainingTime, TheWordsAreTheSettingsBundles) {
    // A bundle folder of another language table: the words follow it.
    plist::writeFile("/tmp/Words.bundle/Info.plist", Value(Value::Dictionary{{"CFBundleIdentifier", Value("test.words")}}));
    ASSERT_TRUE(fs::createDirectories("/tmp/Words.bundle/en.lproj"));
    ASSERT_TRUE(fs::writeFileAtomically("/tmp/Words.bundle/en.lproj/Localizable.strings", "\"H\" = \"Std.\";\n\"M\" = \"Min.\";\n"));
    preferenceBundle = NSBundle::bundleWithPath("/tmp/Words.bundle");
    EXPECT_EQ(FormatRemainingTime(3600 + 120, 0), "1Std. 3Min.");
    EXPECT_EQ(FormatRemainingTime(3600 + 120, 3), "1:03");
}

TEST(SaturatedSeconds, IntervalsBecomeWholeSecondsTowardZero) {
    const struct {
        double interval;
        int seconds;
    } cases[] = {
        {0.0, 0},
        {59.9, 59},
        {-59.9, -59},
        {1e12, INT_MAX},
        {-1e12, INT_MIN},
        {std::numeric_limits<double>::infinity(), INT_MAX},
        {-std::numeric_limits<double>::infinity(), INT_MIN},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        EXPECT_EQ(saturatedSeconds(c.interval), c.seconds);
    }
}

}  // namespace
}  // namespace rousa

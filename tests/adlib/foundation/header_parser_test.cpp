#include "adlib/foundation/header_parser.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// The virtual clock starts at 2026-01-05 06:00:00 UTC.
constexpr const char* kDate = "Mon, 05 Jan 2026 05:00:00 GMT";

Ref<NSHTTPURLResponse> response(HeaderFields headers) {
    return NSHTTPURLResponse::make(NSURL::URLWithString("http://h/a"), 200, headers);
}

TEST(HeaderParser, ExpiryFromTheHeaderFields) {
    AdLibEnvironment env;
    const Date now = NSDate::date();
    const Date date = *ybx_dateFromHttpDateString(kDate);
    ASSERT_EQ(now.timeIntervalSinceDate(date), 3600);
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> headers;
        std::optional<Date> expected;
    } cases[] = {
        {"Pragma no-cache wins", {{"Pragma", "no-cache"}, {"Cache-Control", "max-age=60"}}, std::nullopt},
        {"no-store", {{"Cache-Control", "no-store, max-age=60"}}, std::nullopt},
        {"max-age 0", {{"Cache-Control", "max-age=0"}}, std::nullopt},
        {"max-age 60 from Date", {{"Cache-Control", "max-age=60"}, {"Date", kDate}}, date.addingTimeInterval(60)},
        {"max-age 60 from now", {{"Cache-Control", "public, max-age=60"}}, now.addingTimeInterval(60)},
        {"no-cache is not honoured", {{"Cache-Control", "no-cache, max-age=60"}}, now.addingTimeInterval(60)},
        {"max-age without a number falls to Expires",
         {{"Cache-Control", "max-age=x"}, {"Date", kDate}, {"Expires", "Mon, 05 Jan 2026 05:10:00 GMT"}},
         now.addingTimeInterval(600)},
        {"Expires after Date", {{"Date", kDate}, {"Expires", "Mon, 05 Jan 2026 06:00:00 GMT"}}, now.addingTimeInterval(3600)},
        {"Expires before Date", {{"Date", kDate}, {"Expires", "Mon, 05 Jan 2026 04:00:00 GMT"}}, std::nullopt},
        {"Expires unparsable", {{"Date", kDate}, {"Expires", "0"}}, std::nullopt},
        {"nothing", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderFields headers;
        for (const auto& [name, value] : c.headers) headers.set(name, &value);
        Ref<NSHTTPURLResponse> r = response(headers);
        Value got = sel::ybx_expirationDate(r);
        if (c.expected) {
            ASSERT_FALSE(got.isNil());
            EXPECT_EQ(got.date(), *c.expected);
        } else {
            EXPECT_TRUE(got.isNil());
        }
    }
}

TEST(HeaderParser, TheThreeDateForms) {
    AdLibEnvironment env;
    const Date expected = *ybx_dateFromHttpDateString("Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(expected.unix(), 784111777);
    EXPECT_EQ(ybx_dateFromHttpDateString("Sun Nov 6 08:49:37 1994"), expected);
    EXPECT_EQ(ybx_dateFromHttpDateString("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
    EXPECT_FALSE(ybx_dateFromHttpDateString("yesterday"));
    EXPECT_EQ(sel::ybx_dateFromHttpDateString_(response({}), "Sun, 06 Nov 1994 08:49:37 GMT"), Value(expected));
}

}  // namespace
}  // namespace adlib

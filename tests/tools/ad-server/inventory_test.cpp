#include "tools/ad-server/inventory.h"

#include <gtest/gtest.h>

namespace rousa::adserver {
namespace {

TEST(InventoryEntry, HeadersThenTheBodyAsItStands) {
    InventoryEntry entry;
    std::string error;
    ASSERT_TRUE(parseEntry("# a comment\r\nContent-Type: text/html\r\nX-Kestra-Refresh-Rate:  30 \r\n\r\n<p>\n\nad</p>\n",
                           "unit", entry, error))
        << error;
    EXPECT_EQ(entry.adUnit, "unit");
    EXPECT_EQ(entry.headers, (std::vector<std::pair<std::string, std::string>>{
                                 {"Content-Type", "text/html"}, {"X-Kestra-Refresh-Rate", "30"}}));
    EXPECT_EQ(entry.body, "<p>\n\nad</p>\n");
    EXPECT_FALSE(entry.pageDelivery);
}

TEST(InventoryEntry, DirectivesSteerAndAreNotHeaders) {
    InventoryEntry entry;
    std::string error;
    ASSERT_TRUE(parseEntry("Ad-Server-Delivery: page\nX-Kestra-Refresh-Rate: 5\n\n{}", "p", entry, error));
    EXPECT_TRUE(entry.pageDelivery);
    EXPECT_EQ(entry.headers.size(), 1u);
    EXPECT_EQ(entry.body, "{}");

    ASSERT_TRUE(parseEntry("X-Kestra-Refresh-Rate: 5", "headers-only", entry, error));
    EXPECT_EQ(entry.body, "");
}

TEST(InventoryEntry, MalformedFilesSayWhere) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"X-Kestra-Refresh-Rate 30\n\nbody", "u.ad:1: not a header line"},
        {"# fine\n: empty name\n\n", "u.ad:2: not a header line"},
        {"Content-Type: text/html\nBad Name: x\n\n", "u.ad:2: not a header line"},
        {"Ad-Server-Delivery: mail\n\n", "u.ad:1: unknown directive Ad-Server-Delivery: mail"},
        {"Ad-Server-Speed: fast\n\n", "u.ad:1: unknown directive Ad-Server-Speed: fast"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        InventoryEntry entry;
        std::string error;
        EXPECT_FALSE(parseEntry(c.text, "u", entry, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(Placeholders, FilledFromTheServerAndTheRequest) {
    const std::map<std::string, std::string> server = {{"BASE_URL", "http://127.0.0.1:1"}};
    const std::multimap<std::string, std::string> query = {{"slotname", "a/b c"}, {"request_id", "7"}};
    struct Case {
        const char* text;
        const char* filled;
    };
    const Case cases[] = {
        {"@@BASE_URL@@/ping?u=@@SLOTNAME@@&r=@@REQUEST_ID@@", "http://127.0.0.1:1/ping?u=a%2Fb%20c&r=7"},
        {"[@@NOT_IN_REQUEST@@]", "[]"},
        // The library's own markers and escaped at-signs pass through.
        {"ad_loc=@gw_adlocid@&qdata=@gw_qdata@", "ad_loc=@gw_adlocid@&qdata=@gw_qdata@"},
        {"mail@@host @@lower@@ @@", "mail@@host @@lower@@ @@"},
        {"@@@REQUEST_ID@@@", "@7@"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fillPlaceholders(c.text, server, query), c.filled);
    }
}

}  // namespace
}  // namespace rousa::adserver

#include "platform/network/url.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

struct Parsed {
    const char* name;
    const char* text;
    const char* base;  // null: absolute
    bool valid;
    const char* absolute = "";
    const char* scheme = "";
    const char* host = "";
    long port = -1;  // -1: none
    const char* path = "";
    const char* query = nullptr;
    const char* fragment = nullptr;
};

TEST(NSURL, ParsesAndResolvesAsThePlatformDoes) {
    testing::TestEnvironment env;
    const Parsed cases[] = {
        {"plain", "http://ads.example.com/a/b.html", nullptr, true, "http://ads.example.com/a/b.html", "http",
         "ads.example.com", -1, "/a/b.html"},
        {"empty_path", "http://ads.example.com", nullptr, true, "http://ads.example.com", "http", "ads.example.com", -1, ""},
        {"port_query_fragment", "HTTPS://h.example:8080/p/?x=1&y=%41#top", nullptr, true,
         "HTTPS://h.example:8080/p/?x=1&y=%41#top", "HTTPS", "h.example", 8080, "/p", "x=1&y=%41", "top"},
        {"decoded_path", "http://h/a%20b/c", nullptr, true, "http://h/a%20b/c", "http", "h", -1, "/a b/c"},
        {"mailto", "mailto:someone@example.com?subject=Hi", nullptr, true, "mailto:someone@example.com?subject=Hi",
         "mailto", "", -1, "", "subject=Hi"},
        {"sms", "sms:5551234", nullptr, true, "sms:5551234", "sms", "", -1, ""},
        {"relative_file", "c.html", "http://h/a/b.html", true, "http://h/a/c.html", "http", "h", -1, "/a/c.html"},
        {"relative_up", "../x?q=2", "http://h/a/b/c", true, "http://h/a/x?q=2", "http", "h", -1, "/a/x", "q=2"},
        {"relative_absolute_path", "/root", "http://h:81/a/b", true, "http://h:81/root", "http", "h", 81, "/root"},
        {"relative_network_path", "//other/p", "https://h/a", true, "https://other/p", "https", "other", -1, "/p"},
        {"relative_query", "?n=1", "http://h/a/b?m=0", true, "http://h/a/b?n=1", "http", "h", -1, "/a/b", "n=1"},
        {"relative_fragment", "#f", "http://h/a/b", true, "http://h/a/b#f", "http", "h", -1, "/a/b", nullptr, "f"},
        {"absolute_over_base", "sms:1", "http://h/a", true, "sms:1", "sms", "", -1, ""},
        {"space", "http://h/a b", nullptr, false},
        {"bad_escape", "http://h/a%zz", nullptr, false},
        {"cut_escape", "http://h/a%4", nullptr, false},
        {"bad_port", "http://h:99999/", nullptr, false},
        {"word_port", "http://h:port/", nullptr, false},
        {"no_scheme", "just/a/path", nullptr, false},
        {"empty", "", nullptr, false},
        {"non_ascii", "http://h/\xc3\xa9", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<NSURL> base = c.base ? NSURL::URLWithString(c.base) : nullptr;
        Ref<NSURL> url = NSURL::URLWithString(c.text, base.get());
        ASSERT_EQ(static_cast<bool>(url), c.valid);
        if (!url) continue;
        EXPECT_EQ(url->absoluteString(), c.absolute);
        EXPECT_EQ(url->scheme(), c.scheme);
        EXPECT_EQ(url->host(), c.host);
        EXPECT_EQ(url->port().value_or(-1), c.port);
        EXPECT_EQ(url->path(), c.path);
        EXPECT_EQ(url->query().has_value(), c.query != nullptr);
        if (c.query) {
            EXPECT_EQ(*url->query(), c.query);
        }
        EXPECT_EQ(url->fragment().has_value(), c.fragment != nullptr);
        if (c.fragment) {
            EXPECT_EQ(*url->fragment(), c.fragment);
        }
    }
}

TEST(NSURL, PathComponentsAndEquality) {
    testing::TestEnvironment env;
    auto url = NSURL::URLWithString("http://h/a/b/c.js?x#y");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->pathComponents(), (std::vector<std::string>{"/", "a", "b", "c.js"}));
    EXPECT_EQ(url->lastPathComponent(), "c.js");
    auto bare = NSURL::URLWithString("http://h");
    EXPECT_TRUE(bare->pathComponents().empty());
    EXPECT_EQ(bare->lastPathComponent(), "");
    EXPECT_EQ(NSURL::URLWithString("http://h/")->lastPathComponent(), "/");

    auto same = NSURL::URLWithString("c.js?x#y", NSURL::URLWithString("http://h/a/b/").get());
    EXPECT_TRUE(sel::isEqual_(url.get(), same.get()));
    EXPECT_FALSE(sel::isEqual_(url.get(), NSURL::URLWithString("http://H/a/b/c.js?x#y").get()));
    EXPECT_EQ(sel::absoluteString(url.get()), "http://h/a/b/c.js?x#y");
}

}  // namespace
}  // namespace platform

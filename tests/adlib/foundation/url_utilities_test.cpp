#include "adlib/foundation/url_utilities.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/string_utilities.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Ref<NSURL> url(std::string_view text) {
    Ref<NSURL> u = NSURL::URLWithString(text);
    EXPECT_TRUE(u) << text;
    return u;
}

TEST(URLUtilities, AppendingQueryParameters) {
    AdLibEnvironment env;
    struct Case {
        const char* name;
        const char* url;
        Value pairs;
        const char* expected;
    } cases[] = {
        {"no query", "http://h/p", Value{{"k", "a b"}}, "http://h/p?k=a%20b"},
        {"a query", "http://h/p?a=1", Value{{"k", "v"}}, "http://h/p?a=1&k=v"},
        {"before &adurl=", "http://h/c?a=1&adurl=http://d/x?y=1", Value{{"k", "v"}}, "http://h/c?a=1&k=v&adurl=http://d/x?y=1"},
        {"before &ADURL=", "http://h/c?a=1&ADURL=x", Value{{"k", "v"}}, "http://h/c?a=1&k=v&ADURL=x"},
        {"before a leading adurl=", "http://h/c?adurl=http://d/", Value{{"k", "v"}}, "http://h/c?k=v&adurl=http://d/"},
        {"before a fragment", "http://h/p?a=1#frag", Value{{"k", "v"}}, "http://h/p?a=1&k=v#frag"},
        {"after a trailing ?", "http://h/p?", Value{{"k", "v"}}, "http://h/p?k=v"},
        {"after a trailing &", "http://h/p?a=1&", Value{{"k", "v"}}, "http://h/p?a=1&k=v"},
        {"an empty value is the bare key", "http://h/p", Value{{"bare", ""}}, "http://h/p?bare"},
        {"escapes", "http://h/p", Value{{"k", "a&b=c/d?e#f@"}}, "http://h/p?k=a%26b%3Dc%2Fd%3Fe%23f%40"},
        {"numbers by description", "http://h/p", Value{{"n", 5}}, "http://h/p?n=5"},
        {"two pairs", "http://h/p", Value{{"a", "1"}, {"b", "2"}}, "http://h/p?a=1&b=2"},
        {"nothing to add", "http://h/c?adurl=x", Value::Dictionary{}, "http://h/c?adurl=x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Object> out = sel::ybx_appendQueryParameters_(url(c.url), c.pairs);
        ASSERT_TRUE(out);
        EXPECT_EQ(sel::absoluteString(out), c.expected);
    }
    EXPECT_EQ(sel::absoluteString(sel::ybx_appendQueryValue_forKey_(url("http://h/p"), Value(), "k")), "http://h/p?k");
    EXPECT_EQ(sel::absoluteString(sel::ybx_appendQueryValue_forKey_(url("http://h/p"), Value("v"), "k")), "http://h/p?k=v");
}

TEST(URLUtilities, ParsingTheQuery) {
    AdLibEnvironment env;
    struct Case {
        const char* name;
        const char* url;
        bool lower;
        Value expected;
    } cases[] = {
        {"split at & and ;", "http://h/p?a=1&b=2;c", false, Value{{"a", "1"}, {"b", "2"}}},
        {"exactly one =", "http://h/p?x=1=2&y=3", false, Value{{"y", "3"}}},
        {"decoded", "http://h/p?k%20y=a%2Fb", false, Value{{"k y", "a/b"}}},
        {"an escape that is no UTF-8 is skipped", "http://h/p?a=%C3%28&b=1", false, Value{{"b", "1"}}},
        {"a later pair wins", "http://h/p?a=1&a=2", false, Value{{"a", "2"}}},
        {"lower-cased", "http://h/p?AbC=D", true, Value{{"abc", "D"}}},
        {"kept", "http://h/p?AbC=D", false, Value{{"AbC", "D"}}},
        {"no query", "http://h/p", false, Value::Dictionary{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sel::ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase_(url(c.url), c.lower), c.expected);
    }
    EXPECT_EQ(ybx_dictionaryFromQuery("a=%zz&b=1&c=%4", false), (Value{{"b", "1"}}));
    Ref<NSURL> u = url("http://h/p?a=1&b=x%20y&c=1=2");
    EXPECT_EQ(sel::ybx_parameterValueForKey_(u, "b"), Value("x%20y"));
    EXPECT_TRUE(sel::ybx_parameterValueForKey_(u, "c").isNil());
    EXPECT_TRUE(sel::ybx_parameterValueForKey_(u, "z").isNil());
}

TEST(URLUtilities, KindsAndParts) {
    AdLibEnvironment env;
    EXPECT_TRUE(sel::ybx_isMediationURL(url("http://h/mediate?x=1")));
    EXPECT_FALSE(sel::ybx_isMediationURL(url("http://h/mediate")));
    EXPECT_EQ(sel::ybx_impressionTicket(url("http://h/a/b/c")), Value("b/c"));
    EXPECT_TRUE(sel::ybx_impressionTicket(url("http://h/a/b")).isNil());
    EXPECT_EQ(sel::ybx_absoluteStringWithoutFragmentComponent(url("http://h/p?q#f")), "http://h/p?q");
    EXPECT_EQ(sel::ybx_absoluteStringWithoutFragmentComponent(url("http://h/p?q")), "http://h/p?q");
    EXPECT_TRUE(sel::ybx_isHostEqualToString_caseSensitive_(url("http://Host.example/"), "host.EXAMPLE", false));
    EXPECT_FALSE(sel::ybx_isHostEqualToString_caseSensitive_(url("http://host.example/"), "HOST.example", true));
    EXPECT_TRUE(sel::ybx_isSchemeEqualToString_caseSensitive_(url("http://h/"), "HTTP", false));
    EXPECT_TRUE(ybx_isEquivalentToURLString("http://h/p/", "http://h/p"));
    EXPECT_FALSE(ybx_isEquivalentToURLString("http://h/p//", "http://h/p"));
}

TEST(URLUtilities, TheAdServerByDefaultIsOurLoopbackServer) {
    AdLibEnvironment env;
    EXPECT_EQ(YBXSDKCorePageURL(), "http://127.0.0.1:47800/mads/static/sdk/native/sdk-core-v40.html");
    EXPECT_TRUE(sel::ybx_isSDKJavaScriptURL(url("http://127.0.0.1:47800/mads/static/sdk/native/sdk-core-v40.html")));
    EXPECT_FALSE(sel::ybx_isSDKJavaScriptURL(url("http://127.0.0.1:47801/mads/static/sdk/native/sdk-core-v40.html")));
    EXPECT_FALSE(sel::ybx_isHNVURL(url("http://127.0.0.1:47800/x")));
    EXPECT_TRUE(sel::ybx_isHNVURL(url("http://localhost/x")));
}

TEST(URLUtilities, TheEnvironmentSetsTheAdServer) {
    ::setenv("ADLIB_AD_SERVER_URL", "http://127.0.0.1:5555/", 1);
    ::setenv("ADLIB_HNV_HOST", "127.0.0.1", 1);
    AdLibEnvironment env;
    EXPECT_TRUE(sel::ybx_isSDKJavaScriptURL(url("http://127.0.0.1:5555/mads/static/sdk/native/sdk-core-v40.html")));
    EXPECT_TRUE(sel::ybx_isHNVURL(url("http://127.0.0.1:5555/x")));
}

}  // namespace
}  // namespace adlib

// The ad URL stash: canonical keys, weak values, and removal that never takes
// another web view's entry.
#include <gtest/gtest.h>

#include <string>

#include "adlib/render/ad_url_stash.h"
#include "adlib/render/web_view.h"
#include "platform/network/url.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

Ref<NSURL> urlFor(std::string_view text) { return NSURL::URLWithString(text); }

std::string canonical(std::string_view text) {
    Ref<NSURL> url = YBXAdURLStash::canonicalURLForURL(urlFor(text).get());
    return url ? url->absoluteString() : "nil";
}

TEST(AdURLStash, CanonicalURLTable) {
    AdLibEnvironment env;
    struct Case {
        const char* url;
        const char* canonical;
    };
    for (const Case& c : {
             Case{"http://ads.test/creative/#top", "http://ads.test:80/creative"},
             Case{"http://ads.test/creative", "http://ads.test:80/creative"},
             Case{"http://ads.test:80/creative", "http://ads.test:80/creative"},
             // An explicit port keeps the URL as written, its fragment too.
             Case{"http://ads.test:8080/p#f", "http://ads.test:8080/p#f"},
             Case{"http://ads.test/", "http://ads.test:80"},
             Case{"file:///tmp/ad.html", "file:///tmp/ad.html"},
             Case{"about:blank", "about:blank"},
         }) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(canonical(c.url), c.canonical);
    }
    EXPECT_FALSE(YBXAdURLStash::canonicalURLForURL(nullptr));
}

TEST(AdURLStash, ARefererWithThePortAndWithoutTheFragmentFindsThePage) {
    AdLibEnvironment env;
    Ref<Object> view = newObject("NSObject");
    YBXAdURLStash::add(urlFor("http://ads.test/mads/gma?slotname=a&request_id=7#frag").get(), view.get());
    EXPECT_EQ(YBXAdURLStash::viewForURL(urlFor("http://ads.test:80/mads/gma?slotname=a&request_id=7").get()).get(), view.get());
    EXPECT_FALSE(YBXAdURLStash::viewForURL(urlFor("http://ads.test/mads/gma?slotname=a&request_id=8").get()));
}

TEST(AdURLStash, NilIsNeverAKeyAndValuesAreWeak) {
    AdLibEnvironment env;
    Ref<Object> view = newObject("NSObject");
    YBXAdURLStash::add(nullptr, view.get());
    EXPECT_FALSE(YBXAdURLStash::hasStashedURLs());
    EXPECT_FALSE(YBXAdURLStash::viewForURL(nullptr));
    YBXAdURLStash::add(urlFor("http://ads.test/a").get(), view.get());
    view = nullptr;
    EXPECT_FALSE(YBXAdURLStash::viewForURL(urlFor("http://ads.test/a").get()));
}

TEST(AdURLStash, TwoViewsOfOneURLDoNotRemoveEachOthersEntry) {
    AdLibEnvironment env;
    Ref<NSURL> page = urlFor("http://ads.test/shared");
    Ref<YBXWebView> first = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    Ref<YBXWebView> second = UIView::make<YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
    sel::setURL_forView_(first.get(), page.get(), first.get());
    sel::setURL_forView_(second.get(), page.get(), second.get());
    // The first view moves on, then goes: the second keeps the page.
    sel::setURL_forView_(first.get(), urlFor("http://ads.test/next").get(), first.get());
    EXPECT_EQ(YBXAdURLStash::viewForURL(page.get()).get(), second.get());
    first = nullptr;
    EXPECT_EQ(YBXAdURLStash::viewForURL(page.get()).get(), second.get());
    EXPECT_FALSE(YBXAdURLStash::viewForURL(urlFor("http://ads.test/next").get()));
    // Its owner removes it.
    second = nullptr;
    EXPECT_FALSE(YBXAdURLStash::hasStashedURLs());
}

}  // namespace
}  // namespace adlib

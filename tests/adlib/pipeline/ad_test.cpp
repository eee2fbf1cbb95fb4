#include "adlib/pipeline/ad.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/render/swipe_configurations.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

std::vector<std::string> texts(const Value& urls) {
    std::vector<std::string> out;
    for (const Value& url : urls.array()) out.push_back(url.objectAs<NSURL>() ? url.objectAs<NSURL>()->absoluteString() : "(not a URL)");
    return out;
}

class Ads : public ::testing::Test {
protected:
    static Ref<YBXAd> ad(const char* cls, Value dictionary) { return as<YBXAd>(sel::initWithDictionary_(alloc(cls), dictionary)); }
    static Ref<YBXAd> ad(Value dictionary) { return ad("YBXAd", std::move(dictionary)); }

    AdLibEnvironment env;
};

TEST_F(Ads, APlainAdStartsEmptyAndScrollable) {
    Ref<YBXAd> plain = as<YBXAd>(sel::init(alloc("YBXAd")));
    ASSERT_TRUE(plain);
    EXPECT_TRUE(sel::isScrollEnabled(plain.get()));
    EXPECT_FALSE(sel::isMRAIDEnabled(plain.get()));
    EXPECT_EQ(sel::responseType(plain.get()), 0u);
    EXPECT_EQ(sel::supportedOrientations(plain.get()), 0);
    EXPECT_EQ(sel::clickURLs(plain.get()).count(), 0u);
    EXPECT_TRUE(sel::clickURLs(plain.get()).isArray());
    EXPECT_TRUE(sel::adHTML(plain.get()).isNil());
    EXPECT_FALSE(sel::adURL(plain.get()));
    const YBXAdSize size = sel::YBXAd_size(plain.get());
    EXPECT_EQ(size.size, (Size{0, 0}));
    EXPECT_EQ(size.flags, 0u);
}

TEST_F(Ads, TheCreativeNeedsABaseURLThatParsesElseTheAdURLIsFetched) {
    struct Case {
        const char* name;
        Value dictionary;
        const char* html;     // nullptr: none kept
        const char* baseURL;  // nullptr: none
        const char* adURL;    // nullptr: none
    } cases[] = {
        {"HTML with a base URL", {{"ad_html", "<b>ad</b>"}, {"ad_base_url", "http://ads.example/base/"}, {"ad_url", "http://ads.example/ad"}},
         "<b>ad</b>", "http://ads.example/base/", nullptr},
        {"HTML with a base URL that does not parse", {{"ad_html", "<b>ad</b>"}, {"ad_base_url", "not a url"}, {"ad_url", "http://ads.example/ad"}},
         nullptr, nullptr, "http://ads.example/ad"},
        {"empty HTML", {{"ad_html", ""}, {"ad_base_url", "http://ads.example/"}, {"ad_url", "http://ads.example/ad"}}, nullptr, nullptr,
         "http://ads.example/ad"},
        {"neither", {{"ad_html", "<b>ad</b>"}}, nullptr, nullptr, nullptr},
        {"an ad URL that does not parse", {{"ad_url", "http://bad host/"}}, nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXAd> a = ad(c.dictionary);
        ASSERT_TRUE(a);
        EXPECT_EQ(sel::adHTML(a.get()), c.html ? Value(c.html) : Value());
        Ref<Object> base = sel::adBaseURL(a.get());
        EXPECT_EQ(base ? sel::absoluteString(base.get()) : "(none)", c.baseURL ? c.baseURL : "(none)");
        Ref<Object> url = sel::adURL(a.get());
        EXPECT_EQ(url ? sel::absoluteString(url.get()) : "(none)", c.adURL ? c.adURL : "(none)");
    }
}

TEST_F(Ads, SizeAndOrientationHaveTheirDefaults) {
    struct Case {
        Value size;
        Size expected;
        std::uint64_t flags;
    } sizes[] = {
        {Value("320x50"), {320, 50}, 0},
        {Value("123x45"), {123, 45}, YBXAdSizeFlagCustom},
        {Value("garbage"), {0, 0}, YBXAdSizeFlagCustom},
        {Value(320), {0, 0}, YBXAdSizeFlagCustom},
        {Value(), {0, 0}, YBXAdSizeFlagCustom},
    };
    for (const auto& c : sizes) {
        SCOPED_TRACE(c.size.description());
        Value d = Value::Dictionary{};
        if (!c.size.isNil()) d.mutableDictionary()["ad_size"] = c.size;
        const YBXAdSize size = sel::YBXAd_size(ad(d).get());
        EXPECT_EQ(size.size, c.expected);
        EXPECT_EQ(size.flags, c.flags);
    }
    struct Orientation {
        Value word;
        long long expected;
    } orientations[] = {{Value("any"), 1}, {Value("portrait"), 2}, {Value("landscape"), 3}, {Value("sideways"), 1},
                        {Value("Portrait"), 1}, {Value(2), 1}, {Value(), 1}};
    for (const auto& c : orientations) {
        SCOPED_TRACE(c.word.description());
        Value d = Value::Dictionary{};
        if (!c.word.isNil()) d.mutableDictionary()["orientation"] = c.word;
        EXPECT_EQ(sel::supportedOrientations(ad(d).get()), c.expected);
    }
}

TEST_F(Ads, NetworkJavaScriptKeepsItsPassbackOnlyWhenSet) {
    struct Case {
        const char* name;
        Value flag;
        bool javaScript;
        const char* passback;
    } cases[] = {
        {"true", Value(1), true, "http://ads.example/passback"},
        {"false", Value(0), false, nullptr},
        {"a text is no number", Value("1"), false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXAd> a = ad({{"ad_is_javascript", c.flag}, {"ad_passback_url", "http://ads.example/passback"}});
        EXPECT_EQ(sel::hasAdNetworkJavaScript(a.get()), c.javaScript);
        Ref<Object> passback = sel::adNetworkPassbackURL(a.get());
        EXPECT_EQ(passback ? sel::absoluteString(passback.get()) : "(none)", c.passback ? c.passback : "(none)");
    }
}

TEST_F(Ads, DictionariesAreTakenOnlyOfTheirKind) {
    Value optora{{"viewable", 1}};
    Value swipe{{"app_store_product_id", 12345}, {"swipe_animation_transition_duration", 0.25}};
    Ref<YBXAd> right = ad({{"optora", optora}, {"swipe_to_viewcontroller", swipe}, {"debug_dialog", "debug"}});
    EXPECT_EQ(sel::optoraConfigurations(right.get()), optora);
    EXPECT_EQ(sel::debugDialog(right.get()), Value("debug"));
    Ref<Object> configuration = sel::swipeToViewControllerConfigurations(right.get());
    ASSERT_TRUE(as<YBXSwipeToViewControllerConfigurations>(configuration.get()));
    EXPECT_EQ(sel::swipeableInAppStoreProductID(configuration.get()), Value(12345));
    EXPECT_EQ(sel::swipeAnimationTransitionDuration(configuration.get()), 0.25);

    Ref<YBXAd> wrong = ad({{"optora", Value::array({optora})}, {"swipe_to_viewcontroller", "{}"}, {"debug_dialog", Value(3)}});
    EXPECT_TRUE(sel::optoraConfigurations(wrong.get()).isNil());
    EXPECT_FALSE(sel::swipeToViewControllerConfigurations(wrong.get()));
    EXPECT_TRUE(sel::debugDialog(wrong.get()).isNil());
}

TEST_F(Ads, TrackingURLsAreSetsInTheOrderFirstSeen) {
    Ref<YBXAd> a = ad({{"click_urls", Value::array({"http://t.example/c1", "not a url", Value(7), "", "http://t.example/c2", "http://t.example/c1"})},
                       {"impression_urls", Value::array({"http://t.example/i"})},
                       {"manual_impression_urls", "http://t.example/not-an-array"}});
    EXPECT_EQ(texts(sel::clickURLs(a.get())), (std::vector<std::string>{"http://t.example/c1", "http://t.example/c2"}));
    EXPECT_EQ(texts(sel::impressionURLs(a.get())), std::vector<std::string>{"http://t.example/i"});
    EXPECT_EQ(sel::manualImpressionURLs(a.get()).count(), 0u);

    // The header's list merges into the dictionary's: equal URLs stay once.
    sel::addClickURLsFromArray_(a.get(), Value::array({Value(NSURL::URLWithString("http://t.example/c2")),
                                                       Value(NSURL::URLWithString("http://t.example/c3")), Value("http://t.example/text")}));
    sel::addClickURLsFromArray_(a.get(), Value());
    EXPECT_EQ(texts(sel::clickURLs(a.get())), (std::vector<std::string>{"http://t.example/c1", "http://t.example/c2", "http://t.example/c3"}));
    sel::addManualImpressionURLsFromArray_(a.get(), Value::array({Value(NSURL::URLWithString("http://t.example/m"))}));
    EXPECT_EQ(texts(sel::manualImpressionURLs(a.get())), std::vector<std::string>{"http://t.example/m"});
}

TEST_F(Ads, BannersAndInterstitialsReadTheirIntervalsOnlyAsNumbers) {
    struct Case {
        Value value;
        double expected;
    } cases[] = {{Value(30), 30}, {Value(12.5), 12.5}, {Value("30"), 0}, {Value(), 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.description());
        Value d{{"ad_url", "http://ads.example/ad"}};
        if (!c.value.isNil()) {
            d.mutableDictionary()["refresh_rate"] = c.value;
            d.mutableDictionary()["interstitial_timeout"] = c.value;
        }
        Ref<YBXAd> banner = ad("YBXAdBanner", d);
        ASSERT_TRUE(as<YBXAdBanner>(banner.get()));
        EXPECT_EQ(sel::refreshInterval(banner.get()), c.expected);
        // The kinds read everything the plain ad reads.
        EXPECT_EQ(sel::absoluteString(sel::adURL(banner.get()).get()), "http://ads.example/ad");
        Ref<YBXAd> interstitial = ad("YBXAdInterstitial", d);
        ASSERT_TRUE(as<YBXAdInterstitial>(interstitial.get()));
        EXPECT_EQ(sel::interstitialTimeout(interstitial.get()), c.expected);
        EXPECT_EQ(sel::supportedOrientations(interstitial.get()), 1);
    }
}

TEST(SwipeConfigurations, TheDictionarySetsFourFieldsAndPlainInitGivesNothing) {
    AdLibEnvironment env;
    EXPECT_FALSE(sel::init(alloc("YBXSwipeToViewControllerConfigurations")));
    EXPECT_FALSE(sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), Value()));
    EXPECT_FALSE(sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), Value::array({Value(1)})));

    Value rectangles = Value::array({Value{{"x", 1}, {"y", 2}, {"width", 30}, {"height", 40}},
                                     Value{{"x", 1}, {"y", 2}, {"width", 30}},
                                     Value("not a rectangle"),
                                     Value{{"x", 0}, {"y", "5"}, {"width", 10}, {"height", 10}},
                                     Value{{"x", 5}, {"y", 6}, {"width", 7}, {"height", 8}}});
    Value metadata{{"creative", "c1"}};
    Ref<Object> c = sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"),
                                                      Value{{"app_store_product_id", 42}, {"swipeable_rectangles", rectangles},
                                                       {"swipe_event_creative_metadata", metadata}});
    ASSERT_TRUE(c);
    EXPECT_EQ(sel::swipeableInAppStoreProductID(c.get()), Value(42));
    EXPECT_EQ(sel::swipeableRectangles(c.get()), Value::array({Value(Rect(1, 2, 30, 40)), Value(Rect(5, 6, 7, 8))}));
    EXPECT_EQ(sel::swipeEventCreativeMetadata(c.get()), metadata);
    EXPECT_EQ(sel::swipeAnimationTransitionDuration(c.get()), 1.0);
    EXPECT_EQ(sel::swipeDirection(c.get()), 0);
    EXPECT_FALSE(sel::isAdDraggable(c.get()));
    sel::setSwipeDirection_(c.get(), YBXSwipeDirectionBottomToTop);
    sel::setIsAdDraggable_(c.get(), true);
    EXPECT_EQ(sel::swipeDirection(c.get()), 2);
    EXPECT_TRUE(sel::isAdDraggable(c.get()));

    struct Case {
        Value duration;
        double expected;
    } durations[] = {{Value(0), 1.0}, {Value(-2), 1.0}, {Value(0.25), 0.25}, {Value("0.5"), 1.0}};
    for (const auto& d : durations) {
        SCOPED_TRACE(d.duration.description());
        Ref<Object> made = sel::initWithSwipeConfigurations_(
            alloc("YBXSwipeToViewControllerConfigurations"),
            Value{{"app_store_product_id", "42"}, {"swipeable_rectangles", Value::array({Value("x")})}, {"swipe_animation_transition_duration", d.duration}});
        ASSERT_TRUE(made);
        EXPECT_EQ(sel::swipeAnimationTransitionDuration(made.get()), d.expected);
        EXPECT_TRUE(sel::swipeableInAppStoreProductID(made.get()).isNil());
        EXPECT_TRUE(sel::swipeableRectangles(made.get()).isNil());
    }
}

}  // namespace
}  // namespace adlib

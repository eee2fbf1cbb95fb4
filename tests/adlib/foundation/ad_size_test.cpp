#include "adlib/foundation/ad_size.h"

#include <gtest/gtest.h>

#include "adlib/foundation/ad_type.h"
#include "platform/foundation/format.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {

inline void PrintTo(const YBXAdSize& s, std::ostream* os) { *os << "{" << s.size.width << ", " << s.size.height << ", " << s.flags << "}"; }
inline bool operator==(const YBXAdSize& a, const YBXAdSize& b) { return YBXAdSizesEqual(a, b); }

namespace {

using testing::AdLibEnvironment;
using testing::appOptions;

TEST(AdSize, FromSizesAndTexts) {
    struct Case {
        const char* name;
        Size size;
        YBXAdSize expected;
    } cases[] = {
        {"banner", {320, 50}, kYBXAdSizeBanner},
        {"one point taller is custom", {320, 51}, {{320, 51}, YBXAdSizeFlagCustom}},
        {"minus one is the invalid constant", {-1, -1}, kYBXAdSizeInvalid},
        {"skyscraper", {120, 600}, kYBXAdSizeSkyscraper},
        {"zero is custom", {0, 0}, {{0, 0}, YBXAdSizeFlagCustom}},
        {"text 728x90", YBXAdSizeFromWxHString("728x90"), kYBXAdSizeLeaderboard},
        {"text garbage reads zero", YBXAdSizeFromWxHString("garbage"), {{0, 0}, YBXAdSizeFlagCustom}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(YBXAdSizeFromSize(c.size), c.expected);
    }
    EXPECT_EQ(YBXAdSizeFromWxHString("320 x 50"), (Size{320, 50}));
    EXPECT_EQ(YBXAdSizeFromWxHString("320x"), (Size{0, 0}));
    EXPECT_EQ(YBXAdSizeFromCGSize({320, 50}), (YBXAdSize{{320, 50}, YBXAdSizeFlagCustom}));
    EXPECT_EQ(YBXAdSizeMakeFullWidth(40), (YBXAdSize{{0, 40}, 3}));
    EXPECT_EQ(YBXAdSizeMakeFullWidthLandscape(40), (YBXAdSize{{0, 40}, 11}));
}

TEST(AdSize, EqualityIsExactAndFlagTestsReadTheirBits) {
    EXPECT_TRUE(YBXAdSizesEqual(kYBXAdSizeBanner, YBXAdSize{{320, 50}, 0}));
    EXPECT_FALSE(YBXAdSizesEqual(kYBXAdSizeBanner, YBXAdSize{{320, 50.0000001}, 0}));
    EXPECT_FALSE(YBXAdSizesEqual(kYBXAdSizeBanner, YBXAdSize{{320, 50}, YBXAdSizeFlagCustom}));
    EXPECT_TRUE(YBXAdSizeIsSmart(kYBXAdSizeSmartBannerSkinnyLandscape));
    EXPECT_TRUE(YBXAdSizeIsFullWidth(kYBXAdSizeSmartBannerPortrait));
    EXPECT_FALSE(YBXAdSizeIsCustom(kYBXAdSizeSmartBannerPortrait));
    EXPECT_TRUE(YBXAdSizeIsCustom(YBXAdSizeMakeFullWidth(1)));
}

struct IdiomCase {
    const char* name;
    long long idiom;
    YBXAdSize size;
    Size expected;
};

class AdSizeResolution : public ::testing::TestWithParam<IdiomCase> {};

TEST_P(AdSizeResolution, InPortrait) {
    const IdiomCase& c = GetParam();
    AdLibEnvironment env(appOptions("9.3", c.idiom));
    EXPECT_EQ(YBXAdSizeResolvedCGSize(c.size), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Idioms, AdSizeResolution,
    ::testing::Values(IdiomCase{"phone_smart_portrait", 0, kYBXAdSizeSmartBannerPortrait, {320, 50}},
                      IdiomCase{"phone_smart_landscape", 0, kYBXAdSizeSmartBannerLandscape, {568, 32}},
                      IdiomCase{"phone_skinny_portrait", 0, kYBXAdSizeSmartBannerSkinnyPortrait, {320, 50}},
                      IdiomCase{"phone_skinny_landscape", 0, kYBXAdSizeSmartBannerSkinnyLandscape, {568, 32}},
                      IdiomCase{"phone_full_width_custom", 0, {{0, 50}, 3}, {320, 50}},
                      IdiomCase{"phone_full_width_only", 0, {{0, 0}, 2}, {0, 0}},
                      IdiomCase{"phone_invalid", 0, kYBXAdSizeInvalid, {0, 0}},
                      IdiomCase{"phone_unflagged_other", 0, {{100, 100}, 0}, {0, 0}},
                      IdiomCase{"phone_standard", 0, kYBXAdSizeMediumRectangle, {300, 250}},
                      IdiomCase{"phone_custom", 0, {{-300, 250}, 1}, {-300, 250}},
                      IdiomCase{"tablet_smart_portrait", 1, kYBXAdSizeSmartBannerPortrait, {768, 90}},
                      IdiomCase{"tablet_smart_landscape", 1, kYBXAdSizeSmartBannerLandscape, {1024, 90}},
                      IdiomCase{"tablet_skinny_portrait", 1, kYBXAdSizeSmartBannerSkinnyPortrait, {768, 66}},
                      IdiomCase{"tablet_skinny_landscape", 1, kYBXAdSizeSmartBannerSkinnyLandscape, {1024, 66}},
                      IdiomCase{"tablet_full_width_custom", 1, {{0, 50}, 3}, {768, 50}},
                      IdiomCase{"other_smart", 2, kYBXAdSizeSmartBannerPortrait, {0, 0}},
                      IdiomCase{"other_full_width_custom", 2, {{0, 50}, 3}, {0, 50}},
                      IdiomCase{"other_standard", 2, kYBXAdSizeBanner, {320, 50}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AdSize, Validity) {
    AdLibEnvironment env;  // a phone: the longer side is 568
    struct Case {
        const char* name;
        YBXAdSize size;
        bool valid;
    } cases[] = {
        {"custom within the longer side", {{568, 568}, 1}, true},
        {"custom beyond it", {{569, 50}, 1}, false},
        {"custom negative compares absolutely", {{-300, 250}, 1}, true},
        {"custom zero", {{0, 0}, 1}, true},
        {"standard", kYBXAdSizeLeaderboard, true},
        {"standard with a flag is custom and too wide", {{728, 90}, 1}, false},
        {"smart portrait", kYBXAdSizeSmartBannerPortrait, true},
        {"smart landscape", kYBXAdSizeSmartBannerLandscape, true},
        {"smart skinny portrait", kYBXAdSizeSmartBannerSkinnyPortrait, true},
        {"smart skinny landscape", kYBXAdSizeSmartBannerSkinnyLandscape, true},
        {"full width alone", {{0, 0}, 2}, false},
        {"invalid", kYBXAdSizeInvalid, false},
        {"unflagged other", {{100, 100}, 0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(YBXAdSizeIsValidForScreen(c.size), c.valid);
    }
}

TEST(AdSize, Descriptions) {
    struct Case {
        YBXAdSize size;
        const char* text;
    } cases[] = {
        {kYBXAdSizeInvalid, "kYBXAdSizeInvalid"},
        {kYBXAdSizeBanner, "kYBXAdSizeBanner"},
        {kYBXAdSizeLargeBanner, "kYBXAdSizeLargeBanner"},
        {kYBXAdSizeMediumRectangle, "kYBXAdSizeMediumRectangle"},
        {kYBXAdSizeFullBanner, "kYBXAdSizeFullBanner"},
        {kYBXAdSizeLeaderboard, "kYBXAdSizeLeaderboard"},
        {kYBXAdSizeSkyscraper, "kYBXAdSizeSkyscraper"},
        {kYBXAdSizeSmartBannerPortrait, "kYBXAdSizeSmartBannerPortrait"},
        {kYBXAdSizeSmartBannerLandscape, "kYBXAdSizeSmartBannerLandscape"},
        {kYBXAdSizeSmartBannerSkinnyPortrait, "kYBXAdSizeSmartBannerSkinnyPortrait"},
        {kYBXAdSizeSmartBannerSkinnyLandscape, "kYBXAdSizeSmartBannerSkinnyLandscape"},
        {{{0, 50}, 3}, "Full width YBXAdSize with height: 50.000000"},
        {{{320, 51.5}, 1}, "Custom YBXAdSize: {320, 51.5}"},
        {{{100, 100}, 0x30}, "YBXAdSize: {100, 100}, 30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(YBXAdSizeDescription(c.size), c.text);
    }
}

TEST(AdType, EqualityAndHashAgree) {
    AdLibEnvironment env;
    Class* cls = objc_getClass("YBXAdType");
    auto interstitial = sel::interstitialAdType(cls);
    auto otherInterstitial = sel::interstitialAdType(cls);
    sel::setAdSize_(otherInterstitial, kYBXAdSizeBanner);
    auto invalidBanner = sel::bannerAdTypeForSize_(cls, kYBXAdSizeInvalid);
    auto negativeZero = sel::bannerAdTypeForSize_(cls, YBXAdSize{{-0.0, 50}, 1});
    auto zero = sel::bannerAdTypeForSize_(cls, YBXAdSize{{0.0, 50}, 1});
    auto banner = sel::bannerAdTypeForSize_(cls, kYBXAdSizeBanner);

    EXPECT_TRUE(sel::isInterstitial(interstitial));
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(interstitial), kYBXAdSizeInvalid));
    EXPECT_FALSE(sel::isInterstitial(banner));

    struct Case {
        const char* name;
        id a;
        id b;
        bool equal;
    } cases[] = {
        {"interstitials of different sizes", interstitial, otherInterstitial, true},
        {"a banner of Invalid and an interstitial", invalidBanner, interstitial, false},
        {"an interstitial and a banner of Invalid", interstitial, invalidBanner, false},
        {"custom -0 and 0", negativeZero, zero, true},
        {"different banners", banner, zero, false},
        {"itself", banner, banner, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sel::isEqual_(c.a, c.b), c.equal);
        if (c.equal) {
            EXPECT_EQ(sel::hash(c.a), sel::hash(c.b));
        }
    }
    EXPECT_EQ(sel::hash(interstitial), 1u);
    EXPECT_EQ(sel::hash(otherInterstitial), 1u);
    EXPECT_FALSE(sel::isEqual_(banner, nullptr));
    EXPECT_FALSE(sel::isEqual_(banner, alloc("NSObject")));
}

TEST(AdType, ValidityAndDescription) {
    AdLibEnvironment env;
    Class* cls = objc_getClass("YBXAdType");
    EXPECT_TRUE(sel::isValid(sel::interstitialAdType(cls)));
    EXPECT_TRUE(sel::isValid(sel::bannerAdTypeForSize_(cls, kYBXAdSizeBanner)));
    EXPECT_FALSE(sel::isValid(sel::bannerAdTypeForSize_(cls, kYBXAdSizeInvalid)));
    EXPECT_EQ(sel::description(sel::interstitialAdType(cls)).string(), "YBXAdType interstitial type");
    EXPECT_EQ(sel::description(sel::bannerAdTypeForSize_(cls, kYBXAdSizeLeaderboard)).string(),
              "YBXAdType banner with size: kYBXAdSizeLeaderboard");
    EXPECT_EQ(sel::description(sel::initWithAdSize_(alloc(cls), kYBXAdSizeSkyscraper)).string(),
              "YBXAdType banner with size: kYBXAdSizeSkyscraper");
}

TEST(AdSizeUtilities, BoxedSizes) {
    AdLibEnvironment env;
    Class* utilities = objc_getClass("YBXMAdSizeUtilities");
    Value banner = YBXAdSizeBoxed(kYBXAdSizeBanner);
    Value plainSize = Value(Size{320, 50});
    ASSERT_EQ(banner.objCType(), kYBXAdSizeEncoding);

    YBXAdSize out{{7, 7}, 7};
    EXPECT_TRUE(sel::decodeNSValue_toYBXAdSize_(utilities, banner, &out));
    EXPECT_EQ(out, kYBXAdSizeBanner);
    out = YBXAdSize{{7, 7}, 7};
    EXPECT_FALSE(sel::decodeNSValue_toYBXAdSize_(utilities, plainSize, &out));
    EXPECT_EQ(out, (YBXAdSize{{7, 7}, 7}));  // not written
    EXPECT_TRUE(sel::decodeNSValue_toYBXAdSize_(utilities, banner, nullptr));
    EXPECT_FALSE(sel::decodeNSValue_toYBXAdSize_(utilities, plainSize, nullptr));

    auto boolOf = [](const Value& v) {
        EXPECT_EQ(v.objCType(), "B");
        bool b = false;
        EXPECT_TRUE(v.getValue(&b, sizeof b));
        return b;
    };
    EXPECT_TRUE(boolOf(sel::YBXAdSize_equalToSize_(utilities, banner, YBXAdSizeBoxed(kYBXAdSizeBanner))));
    EXPECT_FALSE(boolOf(sel::YBXAdSize_equalToSize_(utilities, banner, YBXAdSizeBoxed(kYBXAdSizeLeaderboard))));
    EXPECT_FALSE(boolOf(sel::YBXAdSize_equalToSize_(utilities, YBXAdSizeBoxed(kYBXAdSizeInvalid), plainSize)));

    Value resolved = sel::CGSizeFromYBXAdSize_(utilities, YBXAdSizeBoxed(kYBXAdSizeSmartBannerLandscape));
    EXPECT_EQ(resolved.objCType(), kCGSizeEncoding);
    EXPECT_EQ(resolved.size(), (Size{568, 32}));
    EXPECT_EQ(sel::CGSizeFromYBXAdSize_(utilities, plainSize).size(), (Size{0, 0}));

    EXPECT_TRUE(boolOf(sel::isYBXAdSizeValid_(utilities, banner)));
    EXPECT_FALSE(boolOf(sel::isYBXAdSizeValid_(utilities, plainSize)));
    EXPECT_EQ(sel::stringFromYBXAdSize_(utilities, plainSize).string(), "kYBXAdSizeInvalid");
    EXPECT_EQ(sel::stringFromYBXAdSize_(utilities, banner).string(), "kYBXAdSizeBanner");
}

}  // namespace
}  // namespace adlib

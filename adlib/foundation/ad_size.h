// YBXAdSize: the size of an ad (two doubles, 0 where the screen decides) and
// its flags, the predefined banner sizes, and the free functions that build,
// compare, resolve, validate and name sizes. Sizes are plain values; resolving
// and validating read the screen and are called on the main thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"

namespace adlib {

// YBXAdSizeFlags
enum : std::uint64_t {
    YBXAdSizeFlagCustom = 1,
    YBXAdSizeFlagFullWidth = 2,
    YBXAdSizeFlagSkinny = 4,
    YBXAdSizeFlagLandscape = 8,
    YBXAdSizeFlagSmart = 16,
};

struct YBXAdSize {
    Size size;
    std::uint64_t flags = 0;
};

// The type encoding of a boxed ad size; a boxed value of any other encoding is no ad size.
inline constexpr std::string_view kYBXAdSizeEncoding = "{YBXAdSize={CGSize=dd}Q}";

extern const YBXAdSize kYBXAdSizeInvalid;
extern const YBXAdSize kYBXAdSizeBanner;
extern const YBXAdSize kYBXAdSizeLargeBanner;
extern const YBXAdSize kYBXAdSizeMediumRectangle;
extern const YBXAdSize kYBXAdSizeFullBanner;
extern const YBXAdSize kYBXAdSizeLeaderboard;
extern const YBXAdSize kYBXAdSizeSkyscraper;
extern const YBXAdSize kYBXAdSizeSmartBannerPortrait;
extern const YBXAdSize kYBXAdSizeSmartBannerLandscape;
extern const YBXAdSize kYBXAdSizeSmartBannerSkinnyPortrait;
extern const YBXAdSize kYBXAdSizeSmartBannerSkinnyLandscape;

YBXAdSize YBXAdSizeFromCGSize(Size size);
YBXAdSize YBXAdSizeMakeFullWidth(double height);
YBXAdSize YBXAdSizeMakeFullWidthLandscape(double height);
// The first predefined size of those dimensions (Invalid to Skyscraper), else a custom one.
YBXAdSize YBXAdSizeFromSize(Size size);
// "320x50" read as a size; text that does not parse gives zero.
Size YBXAdSizeFromWxHString(std::string_view text);
bool YBXAdSizesEqual(const YBXAdSize& a, const YBXAdSize& b);
bool YBXAdSizeIsFullWidth(const YBXAdSize& size);
bool YBXAdSizeIsSmart(const YBXAdSize& size);
bool YBXAdSizeIsCustom(const YBXAdSize& size);
// The size to lay out on this device's screen.
Size YBXAdSizeResolvedCGSize(const YBXAdSize& size);
// Whether the size may be requested on this device's screen.
bool YBXAdSizeIsValidForScreen(const YBXAdSize& size);
std::string YBXAdSizeDescription(const YBXAdSize& size);

// The size boxed as an NSValue of kYBXAdSizeEncoding, and read back: false
// (nothing written) for a value of another encoding; a null `out` only checks.
Value YBXAdSizeBoxed(const YBXAdSize& size);
bool YBXAdSizeUnboxed(const Value& value, YBXAdSize* out);

}  // namespace adlib

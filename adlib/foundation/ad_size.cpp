#include "adlib/foundation/ad_size.h"

#include <array>
#include <cmath>
#include <utility>

#include "adlib/foundation/device.h"
#include "platform/foundation/format.h"
#include "platform/uikit/geometry.h"
#include "platform/uikit/screen.h"

namespace adlib {

const YBXAdSize kYBXAdSizeInvalid{{-1, -1}, 0};
const YBXAdSize kYBXAdSizeBanner{{320, 50}, 0};
const YBXAdSize kYBXAdSizeLargeBanner{{320, 100}, 0};
const YBXAdSize kYBXAdSizeMediumRectangle{{300, 250}, 0};
const YBXAdSize kYBXAdSizeFullBanner{{468, 60}, 0};
const YBXAdSize kYBXAdSizeLeaderboard{{728, 90}, 0};
const YBXAdSize kYBXAdSizeSkyscraper{{120, 600}, 0};
const YBXAdSize kYBXAdSizeSmartBannerPortrait{{0, 0}, YBXAdSizeFlagSmart | YBXAdSizeFlagFullWidth};
const YBXAdSize kYBXAdSizeSmartBannerLandscape{{0, 0}, YBXAdSizeFlagSmart | YBXAdSizeFlagFullWidth | YBXAdSizeFlagLandscape};
const YBXAdSize kYBXAdSizeSmartBannerSkinnyPortrait{{0, 0}, YBXAdSizeFlagSmart | YBXAdSizeFlagFullWidth | YBXAdSizeFlagSkinny};
const YBXAdSize kYBXAdSizeSmartBannerSkinnyLandscape{{0, 0},
                                                     YBXAdSizeFlagSmart | YBXAdSizeFlagFullWidth | YBXAdSizeFlagSkinny | YBXAdSizeFlagLandscape};

namespace {

// The six standard sizes, which are laid out as they stand.
const std::array<const YBXAdSize*, 6> kStandardSizes{&kYBXAdSizeBanner,      &kYBXAdSizeLargeBanner,  &kYBXAdSizeMediumRectangle,
                                                     &kYBXAdSizeFullBanner,  &kYBXAdSizeLeaderboard,  &kYBXAdSizeSkyscraper};

// Smart-banner heights by device family: the phone's by the landscape flag,
// the tablet's by the skinny flag (set, clear).
struct SmartHeight {
    std::uint64_t flag;
    double set, clear;
};
constexpr SmartHeight kPhoneHeights{YBXAdSizeFlagLandscape, 32, 50};
constexpr SmartHeight kTabletHeights{YBXAdSizeFlagSkinny, 66, 90};

bool isStandardSize(const YBXAdSize& size) {
    for (const YBXAdSize* s : kStandardSizes)
        if (YBXAdSizesEqual(*s, size)) return true;
    return false;
}

Rect screenBounds() { return sel::standardizedScreenBounds(YBXDevice::currentDevice()); }

}  // namespace

YBXAdSize YBXAdSizeFromCGSize(Size size) { return YBXAdSize{size, YBXAdSizeFlagCustom}; }

YBXAdSize YBXAdSizeMakeFullWidth(double height) { return YBXAdSize{{0, height}, YBXAdSizeFlagCustom | YBXAdSizeFlagFullWidth}; }

YBXAdSize YBXAdSizeMakeFullWidthLandscape(double height) {
    return YBXAdSize{{0, height}, YBXAdSizeFlagCustom | YBXAdSizeFlagFullWidth | YBXAdSizeFlagLandscape};
}

YBXAdSize YBXAdSizeFromSize(Size size) {
    for (const YBXAdSize* s : {&kYBXAdSizeInvalid, &kYBXAdSizeBanner, &kYBXAdSizeLargeBanner, &kYBXAdSizeMediumRectangle,
                               &kYBXAdSizeFullBanner, &kYBXAdSizeLeaderboard, &kYBXAdSizeSkyscraper})
        if (s->size.width == size.width && s->size.height == size.height) return *s;
    return YBXAdSizeFromCGSize(size);
}

Size YBXAdSizeFromWxHString(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == 'x') c = ',';
    return CGSizeFromString(format("{%@}", s));
}

bool YBXAdSizesEqual(const YBXAdSize& a, const YBXAdSize& b) {
    return a.size.width == b.size.width && a.size.height == b.size.height && a.flags == b.flags;
}

bool YBXAdSizeIsFullWidth(const YBXAdSize& size) { return (size.flags & YBXAdSizeFlagFullWidth) != 0; }
bool YBXAdSizeIsSmart(const YBXAdSize& size) { return (size.flags & YBXAdSizeFlagSmart) != 0; }
bool YBXAdSizeIsCustom(const YBXAdSize& size) { return (size.flags & YBXAdSizeFlagCustom) != 0; }

Size YBXAdSizeResolvedCGSize(const YBXAdSize& size) {
    if (isStandardSize(size)) return size.size;
    if (YBXAdSizeIsFullWidth(size)) {
        Rect bounds = screenBounds();
        double width = (size.flags & YBXAdSizeFlagLandscape) ? bounds.height() : bounds.width();
        double height = 0;
        long long idiom = UIDevice::currentDevice()->userInterfaceIdiom();
        const SmartHeight* heights = idiom == UIUserInterfaceIdiomPhone ? &kPhoneHeights
                                     : idiom == UIUserInterfaceIdiomPad ? &kTabletHeights
                                                                        : nullptr;
        if (heights)
            height = (size.flags & heights->flag) ? heights->set : heights->clear;
        else
            width = 0;
        if (YBXAdSizeIsSmart(size)) return Size{width, height};
        if (YBXAdSizeIsCustom(size)) return Size{width, size.size.height};
        return Size{};
    }
    if (YBXAdSizeIsCustom(size)) return size.size;
    return Size{};
}

bool YBXAdSizeIsValidForScreen(const YBXAdSize& size) {
    if (YBXAdSizeIsCustom(size)) {
        Rect bounds = screenBounds();
        double longer = std::max(bounds.width(), bounds.height());
        if (std::abs(size.size.width) <= longer && std::abs(size.size.height) <= longer) return true;
    }
    if (isStandardSize(size)) return true;
    if (size.size.width == 0 && size.size.height == 0)
        for (const YBXAdSize* s : {&kYBXAdSizeSmartBannerPortrait, &kYBXAdSizeSmartBannerLandscape, &kYBXAdSizeSmartBannerSkinnyPortrait,
                                   &kYBXAdSizeSmartBannerSkinnyLandscape})
            if (size.flags == s->flags) return true;
    return false;
}

std::string YBXAdSizeDescription(const YBXAdSize& size) {
    using Row = std::pair<const YBXAdSize*, const char*>;
    static const std::array<Row, 11> names{{
        {&kYBXAdSizeBanner, "kYBXAdSizeBanner"},
        {&kYBXAdSizeLargeBanner, "kYBXAdSizeLargeBanner"},
        {&kYBXAdSizeMediumRectangle, "kYBXAdSizeMediumRectangle"},
        {&kYBXAdSizeFullBanner, "kYBXAdSizeFullBanner"},
        {&kYBXAdSizeLeaderboard, "kYBXAdSizeLeaderboard"},
        {&kYBXAdSizeSkyscraper, "kYBXAdSizeSkyscraper"},
        {&kYBXAdSizeSmartBannerSkinnyPortrait, "kYBXAdSizeSmartBannerSkinnyPortrait"},
        {&kYBXAdSizeSmartBannerSkinnyLandscape, "kYBXAdSizeSmartBannerSkinnyLandscape"},
        {&kYBXAdSizeSmartBannerPortrait, "kYBXAdSizeSmartBannerPortrait"},
        {&kYBXAdSizeSmartBannerLandscape, "kYBXAdSizeSmartBannerLandscape"},
        {&kYBXAdSizeInvalid, "kYBXAdSizeInvalid"},
    }};
    for (const auto& [s, name] : names)
        if (YBXAdSizesEqual(*s, size)) return name;
    if (YBXAdSizeIsFullWidth(size)) return format("Full width YBXAdSize with height: %f", size.size.height);
    if (YBXAdSizeIsCustom(size)) return format("Custom YBXAdSize: %@", NSStringFromCGSize(size.size));
    return format("YBXAdSize: %@, %lx", NSStringFromCGSize(size.size), size.flags);
}

namespace {
// The bytes of "{YBXAdSize={CGSize=dd}Q}".
struct BoxedAdSize {
    double width, height;
    std::uint64_t flags;
};
}  // namespace

Value YBXAdSizeBoxed(const YBXAdSize& size) {
    BoxedAdSize bytes{size.size.width, size.size.height, size.flags};
    return Value::valueWithBytes(&bytes, kYBXAdSizeEncoding);
}

bool YBXAdSizeUnboxed(const Value& value, YBXAdSize* out) {
    BoxedAdSize bytes{};
    if (value.objCType() != kYBXAdSizeEncoding || !value.getValue(&bytes, sizeof bytes)) return false;
    if (out) *out = YBXAdSize{{bytes.width, bytes.height}, bytes.flags};
    return true;
}

}  // namespace adlib

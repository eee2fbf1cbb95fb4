// UIImage: a PNG file's size (from its IHDR header, in points: pixels divided
// by the scale, 2 for "@2x" and 3 for "@3x" names), scale and rendering mode.
// No pixels are kept. Immutable; main thread only.
#pragma once

#include <string>

#include "platform/uikit/selectors.h"

namespace platform {

class NSBundle;

inline constexpr long long UIImageRenderingModeAutomatic = 0;
inline constexpr long long UIImageRenderingModeAlwaysOriginal = 1;
inline constexpr long long UIImageRenderingModeAlwaysTemplate = 2;

class UIImage : public NSObject {
public:
    // imageWithContentsOfFile: (a device path); null when the file is missing or not a PNG.
    static Ref<UIImage> fromFile(const std::string& path);
    // imageWithData:; null when the data are not a PNG.
    static Ref<UIImage> fromData(const Data& data, double scale);
    // imageNamed: in a bundle (the main bundle when null): the name with or
    // without ".png", the screen scale's "@2x"/"@3x" file first.
    static Ref<UIImage> named(const std::string& name, const NSBundle* bundle);

    Size size_;
    double scale_ = 1;
    long long renderingMode_ = UIImageRenderingModeAutomatic;
    std::string path_;  // the file it was read from, if any
};

}  // namespace platform

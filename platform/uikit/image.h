// UIImage: a PNG image's size (from its IHDR header, in points: pixels divided
// by the scale, 2 for "@2x" and 3 for "@3x" names), scale and rendering mode,
// and its pixels, which libpng decodes when they are first asked for (a PNG
// whose pixel data do not decode draws nothing), or an image made from a
// bitmap. Immutable; main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/selectors.h"

namespace platform {

class NSBundle;
struct CGImage;

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
    // imageWithCGImage:scale:orientation: (the orientation is always up); nil without a bitmap.
    static Ref<UIImage> withCGImage(std::shared_ptr<const struct CGImage> image, double scale);

    // The pixels (CGImage); null when the PNG's data do not decode.
    std::shared_ptr<const struct CGImage> CGImage() const;

    Size size_;
    double scale_ = 1;
    long long renderingMode_ = UIImageRenderingModeAutomatic;
    std::string path_;  // the file it was read from, if any
    std::shared_ptr<const std::string> encoded_;  // the PNG, until it is decoded
    mutable std::shared_ptr<const struct CGImage> bitmap_;
    mutable bool decoded_ = false;
};

// The saved-photos album: UIImageWriteToSavedPhotosAlbum adds the image (the
// completion target, selector and context are not called back; nothing of
// the system's code asks for them).
void UIImageWriteToSavedPhotosAlbum(UIImage* image, id completionTarget, SEL completionSelector, void* contextInfo);
namespace uikit {
// Tests: every image written to the album, oldest first.
std::vector<Ref<UIImage>> savedPhotosAlbum();
}  // namespace uikit

}  // namespace platform

#include "platform/uikit/image.h"

#include <array>
#include <mutex>

#include <png.h>

#include "platform/foundation/bundle.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/process.h"
#include "platform/uikit/graphics.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/screen.h"

namespace platform {

namespace {

std::uint32_t bigEndian(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

// Width and height in pixels from a PNG's signature and IHDR chunk.
bool pngSize(std::string_view bytes, std::uint32_t& width, std::uint32_t& height) {
    static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (int i = 0; i < 8; ++i)
        if (p[i] != kSignature[i]) return false;
    if (std::string_view(bytes.data() + 12, 4) != "IHDR") return false;
    width = bigEndian(p + 16);
    height = bigEndian(p + 20);
    return true;
}

double scaleOfName(const std::string& path) {
    std::string name = fs::basename(path);
    name = name.substr(0, name.rfind('.'));
    if (name.find("@3x") != std::string::npos) return 3;
    if (name.find("@2x") != std::string::npos) return 2;
    return 1;
}

Ref<UIImage> make(std::string_view bytes, double scale) {
    std::uint32_t w = 0, h = 0;
    if (!pngSize(bytes, w, h)) return nullptr;
    auto image = as<UIImage>(alloc("UIImage"));
    if (!image) return nullptr;
    image->scale_ = scale;
    image->size_ = Size{w / scale, h / scale};
    image->encoded_ = std::make_shared<const std::string>(bytes);
    return image;
}

// RGBA with premultiplied alpha, as bitmaps hold it; null when libpng refuses the data.
std::shared_ptr<const CGImage> decodePNG(const std::string& bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return nullptr;
    png.format = PNG_FORMAT_RGBA;
    auto image = std::make_shared<CGImage>();
    image->width = png.width;
    image->height = png.height;
    image->pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return nullptr;
    }
    for (std::size_t i = 0; i + 3 < image->pixels.size(); i += 4) {
        unsigned a = image->pixels[i + 3];
        for (int c = 0; c < 3; ++c) image->pixels[i + c] = static_cast<std::uint8_t>((image->pixels[i + c] * a + 127) / 255);
    }
    return image;
}

}  // namespace

Ref<UIImage> UIImage::fromFile(const std::string& path) {
    if (path.empty()) return nullptr;
    auto contents = fs::readFile(path);
    if (!contents) return nullptr;
    Ref<UIImage> image = make(*contents, scaleOfName(path));
    if (image) image->path_ = path;
    return image;
}

Ref<UIImage> UIImage::fromData(const Data& data, double scale) {
    return make(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), scale > 0 ? scale : 1);
}

Ref<UIImage> UIImage::withCGImage(std::shared_ptr<const struct CGImage> bitmap, double scale) {
    if (!bitmap) return nullptr;
    auto image = as<UIImage>(alloc("UIImage"));
    if (!image) return nullptr;
    if (scale <= 0) scale = 1;
    image->scale_ = scale;
    image->size_ = Size{bitmap->width / scale, bitmap->height / scale};
    image->bitmap_ = std::move(bitmap);
    image->decoded_ = true;
    return image;
}

std::shared_ptr<const CGImage> UIImage::CGImage() const {
    if (!decoded_) {
        decoded_ = true;
        if (encoded_) bitmap_ = decodePNG(*encoded_);
    }
    return bitmap_;
}

Ref<UIImage> UIImage::named(const std::string& name, const NSBundle* bundle) {
    if (name.empty()) return nullptr;
    if (!bundle) bundle = NSBundle::mainBundle();
    if (!bundle) return nullptr;
    std::string base = name, ext = "png";
    if (auto dot = name.rfind('.'); dot != std::string::npos && name.find('/', dot) == std::string::npos) {
        base = name.substr(0, dot);
        ext = name.substr(dot + 1);
    }
    std::vector<std::string> candidates;
    double scale = uikit::deviceTraits().screenScale;
    if (scale >= 3) candidates.push_back(base + "@3x." + ext);
    if (scale >= 2) candidates.push_back(base + "@2x." + ext);
    candidates.push_back(base + "." + ext);
    for (const auto& file : candidates) {
        Value path = bundle->pathForResource(file, "");
        if (path.isString())
            if (Ref<UIImage> image = fromFile(path.string())) return image;
    }
    return nullptr;
}

namespace {
std::mutex albumMutex;
std::vector<Ref<UIImage>>& album() {
    static auto* images = new std::vector<Ref<UIImage>>();
    return *images;
}
}  // namespace

void UIImageWriteToSavedPhotosAlbum(UIImage* image, id, SEL, void*) {
    if (!image) return;
    std::lock_guard lock(albumMutex);
    album().emplace_back(image);
}

std::vector<Ref<UIImage>> uikit::savedPhotosAlbum() {
    std::lock_guard lock(albumMutex);
    return album();
}

namespace uikit::detail {

void registerImage() {
    ClassBuilder<UIImage> images("UIImage", "NSObject");
    images.classMethod(sel::imageWithContentsOfFile_, [](id, Value path) -> Ref<Object> { return UIImage::fromFile(path.stringOr("")); })
        .classMethod(sel::imageWithData_, [](id, Value data) -> Ref<Object> { return UIImage::fromData(data.data(), 1); })
        .classMethod(sel::imageNamed_, [](id, Value name) -> Ref<Object> { return UIImage::named(name.stringOr(""), nullptr); })
        .method(sel::imageWithRenderingMode_,
                [](id self, long long mode) -> Ref<Object> {
                    auto* original = as<UIImage>(self);
                    if (original->renderingMode_ == mode) return Ref<Object>(self);
                    auto image = as<UIImage>(alloc(self->isa()));
                    image->size_ = original->size_;
                    image->scale_ = original->scale_;
                    image->path_ = original->path_;
                    image->encoded_ = original->encoded_;
                    image->bitmap_ = original->bitmap_;
                    image->decoded_ = original->decoded_;
                    image->renderingMode_ = mode;
                    return image;
                })
        .method(sel::renderingMode, [](id self) { return as<UIImage>(self)->renderingMode_; })
        .method(sel::size, [](id self) { return as<UIImage>(self)->size_; })
        .method(sel::scale, [](id self) { return as<UIImage>(self)->scale_; })
        .method(sel::CGImage, [](id self) { return as<UIImage>(self)->CGImage(); });
    // The trait-collection form exists from iOS 8 on.
    if (stringDoubleValue(process::info().systemVersion) >= 8.0)
        images.classMethod(sel::imageNamed_inBundle_compatibleWithTraitCollection_, [](id, Value name, id bundle, id) -> Ref<Object> {
            return UIImage::named(name.stringOr(""), as<NSBundle>(bundle));
        });
}

}  // namespace uikit::detail
}  // namespace platform

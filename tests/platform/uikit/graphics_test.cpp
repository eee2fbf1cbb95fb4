#include "platform/uikit/graphics.h"

#include <png.h>

#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

using Pixel = std::array<std::uint8_t, 4>;
constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kNone{0, 0, 0, 0};

Pixel pixel(const std::uint8_t* data, std::size_t bytesPerRow, std::size_t x, std::size_t y) {
    const std::uint8_t* p = data + y * bytesPerRow + x * 4;
    return {p[0], p[1], p[2], p[3]};
}
Pixel pixel(const CGImageRef& image, std::size_t x, std::size_t y) { return pixel(image->pixels.data(), image->width * 4, x, y); }

// A PNG of `width` x `height` RGBA pixels, made by libpng.
Data encodePNG(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& rgba) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = width;
    png.height = height;
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr));
    Data out(size);
    EXPECT_TRUE(png_image_write_to_memory(&png, out.data(), &size, 0, rgba.data(), 0, nullptr));
    out.resize(size);
    return out;
}

// Two rows: red over half-transparent blue.
Data redOverBlue() { return encodePNG(2, 2, {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 128, 0, 0, 255, 128}); }

class Graphics : public UIKitTest {};

TEST_F(Graphics, BitmapContextsAreEightBitRGBA) {
    struct Case {
        std::size_t bits, bytesPerRow;
        std::uint32_t info;
        bool made;
    };
    const Case cases[] = {
        {8, 16, kCGImageAlphaPremultipliedLast, true}, {8, 0, kCGImageAlphaPremultipliedLast, true},
        {8, 20, kCGImageAlphaNoneSkipLast, true},      {16, 32, kCGImageAlphaPremultipliedLast, false},
        {8, 12, kCGImageAlphaPremultipliedLast, false}, {8, 16, kCGImageAlphaPremultipliedFirst, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytesPerRow);
        auto context = CGBitmapContextCreate(nullptr, 4, 3, c.bits, c.bytesPerRow, CGColorSpaceCreateDeviceRGB(), c.info);
        EXPECT_EQ(context != nullptr, c.made);
    }
    EXPECT_FALSE(CGBitmapContextCreate(nullptr, 4, 3, 8, 16, nullptr, kCGImageAlphaPremultipliedLast));
}

TEST_F(Graphics, RawContextDrawsIntoTheCallersMemoryWithYUp) {
    // Rows of 5 pixels' bytes for 4 pixels: the padding must stay as it was.
    std::vector<std::uint8_t> memory(20 * 3, 7);
    for (std::size_t y = 0; y < 3; ++y) std::fill_n(memory.begin() + static_cast<long>(y * 20), 16, 0);
    auto context = CGBitmapContextCreate(memory.data(), 4, 3, 8, 20, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaPremultipliedLast);
    ASSERT_TRUE(context);
    CGContextSetRGBFillColor(context, 1, 0, 0, 1);
    CGContextFillRect(context, Rect(0, 0, 1, 1));
    EXPECT_EQ(pixel(memory.data(), 20, 0, 2), kRed) << "the origin is the bottom left";
    EXPECT_EQ(pixel(memory.data(), 20, 0, 0), kNone);
    for (std::size_t y = 0; y < 3; ++y) EXPECT_EQ(memory[y * 20 + 17], 7);

    // Half-transparent red over white: source over, premultiplied.
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillRect(context, Rect(1, 0, 1, 1));
    CGContextSetRGBFillColor(context, 1, 0, 0, 0.5);
    CGContextFillRect(context, Rect(1, 0, 1, 1));
    EXPECT_EQ(pixel(memory.data(), 20, 1, 2), (Pixel{255, 128, 128, 255}));
}

TEST_F(Graphics, ImageContextsAreFlippedAndScaled) {
    UIGraphicsBeginImageContextWithOptions(Size{3, 2}, false, 2);
    CGContextRef context = UIGraphicsGetCurrentContext();
    ASSERT_TRUE(context);
    CGContextSetRGBFillColor(context, 1, 0, 0, 1);
    CGContextFillRect(context, Rect(0, 0, 1, 1));
    // A context inside the first one, then back.
    UIGraphicsBeginImageContextWithOptions(Size{1, 1}, true, 1);
    Ref<UIImage> inner = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_FALSE(UIGraphicsGetCurrentContext());
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());

    ASSERT_TRUE(image);
    EXPECT_EQ(image->size_, (Size{3, 2}));
    EXPECT_EQ(image->scale_, 2);
    CGImageRef pixels = image->CGImage();
    ASSERT_EQ(CGImageGetWidth(pixels), 6u);
    ASSERT_EQ(CGImageGetHeight(pixels), 4u);
    EXPECT_EQ(pixel(pixels, 1, 1), kRed) << "a point is 2 x 2 pixels from the top left";
    EXPECT_EQ(pixel(pixels, 2, 0), kNone);
    EXPECT_EQ(pixel(pixels, 0, 2), kNone);
    EXPECT_EQ(pixel(inner->CGImage(), 0, 0), (Pixel{0, 0, 0, 255})) << "an opaque context starts black";
}

TEST_F(Graphics, RenderingAViewTreePaintsVisibleViews) {
    auto root = makeView(Rect(100, 100, 40, 30));
    sel::setBackgroundColor_(root, UIColor::white(1, 1).get());
    auto red = makeView(Rect(10, 5, 10, 10), root.get());
    sel::setBackgroundColor_(red, UIColor::rgba(1, 0, 0, 1).get());
    auto hidden = makeView(Rect(0, 0, 40, 30), root.get());
    sel::setBackgroundColor_(hidden, UIColor::rgba(0, 0, 1, 1).get());
    sel::setHidden_(hidden, true);
    auto faint = makeView(Rect(0, 20, 5, 5), root.get());
    sel::setBackgroundColor_(faint, UIColor::rgba(1, 0, 0, 1).get());
    sel::setAlpha_(faint, 0.5);
    // A clipping view whose child reaches past it.
    auto clip = makeView(Rect(30, 0, 5, 5), root.get());
    sel::setClipsToBounds_(clip, true);
    auto overflow = makeView(Rect(0, 0, 10, 10), clip.get());
    sel::setBackgroundColor_(overflow, UIColor::rgba(0, 0, 1, 1).get());

    UIGraphicsBeginImageContextWithOptions(Size{40, 30}, false, 1);
    sel::renderInContext_(sel::layer(root).get(), UIGraphicsGetCurrentContext().get());
    CGImageRef pixels = UIGraphicsGetImageFromCurrentImageContext()->CGImage();
    UIGraphicsEndImageContext();

    EXPECT_EQ(pixel(pixels, 0, 0), kWhite) << "the root's own frame origin does not move it";
    EXPECT_EQ(pixel(pixels, 10, 5), kRed);
    EXPECT_EQ(pixel(pixels, 19, 14), kRed);
    EXPECT_EQ(pixel(pixels, 20, 14), kWhite);
    EXPECT_EQ(pixel(pixels, 2, 22), (Pixel{255, 128, 128, 255}));
    EXPECT_EQ(pixel(pixels, 34, 4), kBlue);
    EXPECT_EQ(pixel(pixels, 36, 4), kWhite) << "clipped to its view";
    EXPECT_EQ(pixel(pixels, 30, 6), kWhite);
}

TEST_F(Graphics, PNGDataDecodeToTheirPixels) {
    Ref<Object> made = sel::imageWithData_(objc_getClass("UIImage"), Value(redOverBlue()));
    auto* image = as<UIImage>(made.get());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size_, (Size{2, 2}));
    CGImageRef pixels = sel::CGImage(image);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixel(pixels, 1, 0), kRed);
    EXPECT_EQ(pixel(pixels, 0, 1), (Pixel{0, 0, 128, 128})) << "premultiplied";

    std::string text = "GIF89a not a png";
    EXPECT_FALSE(sel::imageWithData_(objc_getClass("UIImage"), Value(Data(text.begin(), text.end()))));
    // A PNG cut short after its header still has its size, but no pixels.
    Data cut = redOverBlue();
    cut.resize(40);
    Ref<Object> cutMade = sel::imageWithData_(objc_getClass("UIImage"), Value(cut));
    auto* truncated = as<UIImage>(cutMade.get());
    ASSERT_TRUE(truncated);
    EXPECT_EQ(truncated->size_, (Size{2, 2}));
    EXPECT_FALSE(truncated->CGImage());
}

TEST_F(Graphics, ImagesDrawUpright) {
    CGImageRef pixels = UIImage::fromData(redOverBlue(), 1)->CGImage();
    // Into a raw context, as the rendered-content check draws a snapshot.
    std::vector<std::uint8_t> memory(4 * 4 * 4, 0);
    auto context = CGBitmapContextCreate(memory.data(), 4, 4, 8, 16, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaPremultipliedLast);
    CGContextDrawImage(context, Rect(0, 0, 4, 4), pixels);
    EXPECT_EQ(pixel(memory.data(), 16, 3, 0), kRed) << "scaled up, the top row stays on top";
    EXPECT_EQ(pixel(memory.data(), 16, 0, 2), (Pixel{0, 0, 128, 128}));
    // And through an image view, in UIKit's flipped space.
    auto view = UIView::make<UIImageView>("UIImageView", Rect(0, 0, 2, 4));
    sel::setImage_(view, UIImage::fromData(redOverBlue(), 1).get());
    UIGraphicsBeginImageContextWithOptions(Size{2, 4}, false, 1);
    sel::renderInContext_(sel::layer(view).get(), UIGraphicsGetCurrentContext().get());
    CGImageRef shown = UIGraphicsGetImageFromCurrentImageContext()->CGImage();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixel(shown, 0, 0), kRed);
    EXPECT_EQ(pixel(shown, 1, 3), (Pixel{0, 0, 128, 128}));
}

}  // namespace
}  // namespace platform::uitest

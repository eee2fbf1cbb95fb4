// What a page shows, as the ad library sees it: the web view's layer rendered
// into an image context, then drawn into a zero-filled RGBA bitmap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/color.h"
#include "platform/uikit/graphics.h"
#include "platform/uikit/image.h"
#include "platform/webkit/page_painter.h"
#include "platform/webkit/scripted_page_engine.h"
#include "platform/webkit/web_view.h"

namespace platform {
namespace {

using webkit::PageContent;
using webkit::PageScript;
using webkit::Rgba8;
using webkit::VisibleElement;

constexpr Rgba8 kRed{255, 0, 0, 255};
constexpr Rgba8 kBlue{0, 0, 255, 255};
constexpr Rgba8 kWhite{255, 255, 255, 255};
constexpr Rgba8 kBlack{0, 0, 0, 255};

struct Bitmap {
    std::size_t width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
    Rgba8 at(std::size_t x, std::size_t y) const {
        const std::uint8_t* p = &bytes[(y * width + x) * 4];
        return Rgba8{p[0], p[1], p[2], p[3]};
    }
    std::size_t count(Rgba8 c) const {
        std::size_t n = 0;
        for (std::size_t y = 0; y < height; ++y)
            for (std::size_t x = 0; x < width; ++x) n += at(x, y) == c;
        return n;
    }
    // Whether exactly the pixels of the rectangle have the colour.
    bool exactly(Rect r, Rgba8 c) const {
        for (std::size_t y = 0; y < height; ++y)
            for (std::size_t x = 0; x < width; ++x)
                if ((at(x, y) == c) != r.contains(Point{x + 0.5, y + 0.5})) return false;
        return true;
    }
};

VisibleElement block(double height, Rgba8 background) {
    VisibleElement e;
    e.tag = "div";
    e.height = height;
    e.background = background;
    return e;
}

class PageBitmaps : public ::testing::Test {
protected:
    PageBitmaps() {
        view = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 100, 60));
        sel::setBackgroundColor_(view.get(), UIColor::white(1, 1).get());
    }
    // Loads a page that shows `content`, then takes its picture.
    Bitmap show(const PageContent& content) {
        static int page = 0;
        std::string html = "<p>page " + std::to_string(++page) + "</p>";
        webkit::ScriptedPages::shared().whenLoaded(html, PageScript().show(content));
        sel::loadHTMLString_baseURL_(view.get(), Value(html), nullptr);
        RunLoop::main().advance(1);
        return snapshot();
    }
    // As the rendered-content check takes it.
    Bitmap snapshot() {
        Rect frame = sel::frame(view.get());
        UIGraphicsBeginImageContextWithOptions(frame.size, false, 1);
        sel::renderInContext_(sel::layer(view.get()).get(), UIGraphicsGetCurrentContext().get());
        Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        Bitmap b;
        CGImageRef pixels = sel::CGImage(image.get());
        b.width = CGImageGetWidth(pixels);
        b.height = CGImageGetHeight(pixels);
        b.bytes.assign(b.width * b.height * 4, 0);
        CGContextRef context = CGBitmapContextCreate(b.bytes.data(), b.width, b.height, 8, b.width * 4,
                                                     CGColorSpaceCreateDeviceRGB(), kCGImageAlphaPremultipliedLast);
        CGContextDrawImage(context, Rect(0, 0, static_cast<double>(b.width), static_cast<double>(b.height)), pixels);
        return b;
    }

    testing::TestEnvironment env;
    Ref<UIWebView> view;
};

TEST_F(PageBitmaps, BlankPageIsAllBackground) {
    Bitmap b = show({});
    EXPECT_EQ(b.width, 100u);
    EXPECT_EQ(b.height, 60u);
    EXPECT_EQ(b.count(kWhite), 6000u);

    // A clear, transparent view shows nothing at all.
    sel::setOpaque_(view.get(), false);
    sel::setBackgroundColor_(view.get(), UIColor::white(0, 0).get());
    EXPECT_EQ(show({}).count(Rgba8{0, 0, 0, 0}), 6000u);
}

TEST_F(PageBitmaps, TextPaintsFixedHeightLines) {
    PageContent page;
    VisibleElement p;
    p.tag = "p";
    p.text = "hello";
    page.elements.push_back(p);
    EXPECT_TRUE(show(page).exactly(Rect(0, 0, 5 * webkit::kTextCharWidth, webkit::kTextLineHeight), kBlack));

    // Longer than a line (12 characters fit in 100 points): it wraps.
    page.elements[0].text = std::string(15, 'x');
    Bitmap wrapped = show(page);
    EXPECT_EQ(wrapped.count(kBlack), static_cast<std::size_t>((12 * 8) * 16 + (3 * 8) * 16));
    EXPECT_EQ(wrapped.at(0, 20), kBlack);
    EXPECT_EQ(wrapped.at(30, 20), kWhite);
}

TEST_F(PageBitmaps, ImageFillsItsSize) {
    PageContent page;
    VisibleElement img;
    img.tag = "img";
    img.image = true;
    img.imageWidth = 30;
    img.imageHeight = 20;
    page.elements.push_back(img);
    EXPECT_TRUE(show(page).exactly(Rect(0, 0, 30, 20), webkit::kImageColor));
}

TEST_F(PageBitmaps, HiddenContentPaintsNothing) {
    PageContent page;
    VisibleElement gone = block(20, kRed);
    gone.displayNone = true;
    gone.children.push_back(block(10, kBlue));
    page.elements.push_back(gone);
    EXPECT_EQ(show(page).count(kWhite), 6000u) << "display:none, children too";

    VisibleElement invisible = block(20, kRed);
    invisible.visibilityHidden = true;
    page.elements = {invisible, block(10, kBlue)};
    // visibility:hidden keeps its room: the next block starts below it.
    Bitmap b = show(page);
    EXPECT_EQ(b.count(kRed), 0u);
    EXPECT_TRUE(b.exactly(Rect(0, 20, 100, 10), kBlue));
}

TEST_F(PageBitmaps, AbsoluteElementFillsExactlyItsRectangle) {
    PageContent page;
    VisibleElement box = block(10, kRed);
    box.absolute = true;
    box.left = 12;
    box.top = 7;
    box.width = 25;
    page.elements = {box, block(5, kBlue)};
    Bitmap b = show(page);
    EXPECT_TRUE(b.exactly(Rect(12, 7, 25, 10), kRed));
    EXPECT_TRUE(b.exactly(Rect(0, 0, 100, 5), kBlue)) << "a positioned element takes no room in the flow";
}

TEST_F(PageBitmaps, BlocksStackFromTheTopAtFullWidth) {
    PageContent page;
    page.elements = {block(10, kRed), block(20, kBlue)};
    Bitmap b = show(page);
    EXPECT_TRUE(b.exactly(Rect(0, 0, 100, 10), kRed));
    EXPECT_TRUE(b.exactly(Rect(0, 10, 100, 20), kBlue));
    EXPECT_EQ(b.count(kWhite), 100u * 30u);

    // A block without a height is as high as its content.
    VisibleElement outer;
    outer.tag = "div";
    outer.background = kRed;
    outer.text = "ab";
    outer.children.push_back(block(4, kBlue));
    page.elements = {outer, block(6, kBlue)};
    Bitmap nested = show(page);
    EXPECT_EQ(nested.at(50, 0), kRed);
    EXPECT_EQ(nested.at(0, 0), kBlack);
    EXPECT_TRUE(nested.exactly(Rect(0, 16, 100, 10), kBlue));
}

TEST_F(PageBitmaps, PageBackgroundAndScrollOffset) {
    PageContent page;
    page.background = kBlue;
    page.elements = {block(10, kRed)};
    EXPECT_EQ(show(page).count(kBlue), 100u * 50u);

    sel::setContentOffset_(sel::scrollView(view.get()).get(), Point{0, 4});
    EXPECT_TRUE(snapshot().exactly(Rect(0, 0, 100, 6), kRed));
}

}  // namespace
}  // namespace platform

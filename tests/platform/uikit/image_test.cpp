#include "platform/uikit/image.h"

#include <gtest/gtest.h>

#include "platform/foundation/bundle.h"
#include "platform/foundation/file_system.h"
#include "platform/uikit/image_view.h"
#include "tests/platform/uikit/uikit_test_support.h"
#include "tests/platform/uikit/png_header.h"

namespace platform::uitest {
namespace {

std::string png(std::uint32_t width, std::uint32_t height) { return testing::pngHeader(width, height); }

const std::string kBundle = "/Library/Images.bundle";

class Images : public UIKitTest {
protected:
    explicit Images(host::BootOptions options = {}) : UIKitTest(std::move(options)) {
        fs::createDirectories(kBundle);
        write(kBundle + "/Dismiss.png", png(60, 60));
        write(kBundle + "/Dismiss@2x.png", png(120, 120));
        write(kBundle + "/Snooze@3x.png", png(180, 90));
        write(kBundle + "/Back.png", "not a png at all, just text");
    }
    static void write(const std::string& path, const std::string& contents) { ASSERT_TRUE(fs::writeFileAtomically(path, contents)); }
    Ref<UIImage> file(const std::string& name) {
        return Ref<UIImage>(as<UIImage>(sel::imageWithContentsOfFile_(objc_getClass("UIImage"), Value(kBundle + "/" + name)).get()));
    }
};

TEST_F(Images, SizeComesFromTheHeaderInPoints) {
    struct Case {
        const char* name;
        Size size;
        double scale;
    };
    const Case cases[] = {{"Dismiss.png", {60, 60}, 1}, {"Dismiss@2x.png", {60, 60}, 2}, {"Snooze@3x.png", {60, 30}, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = file(c.name);
        ASSERT_TRUE(image);
        EXPECT_EQ(sel::size(image), c.size);
        EXPECT_EQ(sel::scale(image), c.scale);
        EXPECT_EQ(image->path_, kBundle + "/" + c.name);
    }
}

TEST_F(Images, MissingAndNonPNGFilesGiveNil) {
    EXPECT_FALSE(file("Missing.png"));
    EXPECT_FALSE(file("Back.png"));
    EXPECT_FALSE(sel::imageWithContentsOfFile_(objc_getClass("UIImage"), Value()));
    Data bytes;
    for (char ch : png(4, 2)) bytes.push_back(static_cast<std::uint8_t>(ch));
    Ref<Object> fromData = sel::imageWithData_(objc_getClass("UIImage"), Value(bytes));
    ASSERT_TRUE(fromData);
    EXPECT_EQ(sel::size(fromData), (Size{4, 2}));
}

TEST_F(Images, RenderingModeMakesANewImage) {
    auto image = file("Dismiss@2x.png");
    EXPECT_EQ(sel::renderingMode(image), UIImageRenderingModeAutomatic);
    Ref<Object> tinted = sel::imageWithRenderingMode_(image, UIImageRenderingModeAlwaysTemplate);
    EXPECT_NE(tinted.get(), image.get());
    EXPECT_EQ(sel::renderingMode(tinted), UIImageRenderingModeAlwaysTemplate);
    EXPECT_EQ(sel::renderingMode(image), UIImageRenderingModeAutomatic);
    EXPECT_EQ(sel::size(tinted), (Size{60, 60}));
}

TEST_F(Images, NamedImagesPreferTheScreensScale) {
    Ref<NSBundle> bundle = NSBundle::bundleWithPath(kBundle);
    ASSERT_TRUE(bundle);
    Class* images = objc_getClass("UIImage");
    ASSERT_TRUE(class_respondsToSelector(images->metaclass(), sel::imageNamed_inBundle_compatibleWithTraitCollection_.name));
    auto named = [&](const char* name) {
        Ref<Object> image = sel::imageNamed_inBundle_compatibleWithTraitCollection_(images, Value(name), bundle, nullptr);
        return image ? as<UIImage>(image.get())->path_ : std::string("nil");
    };
    EXPECT_EQ(named("Dismiss"), kBundle + "/Dismiss@2x.png");
    EXPECT_EQ(named("Dismiss.png"), kBundle + "/Dismiss@2x.png");
    EXPECT_EQ(named("Nothing"), "nil");
    uikit::setDeviceTraits({UIUserInterfaceIdiomPhone, 1.0});
    EXPECT_EQ(named("Dismiss"), kBundle + "/Dismiss.png");
    EXPECT_EQ(named("Snooze"), "nil");
}

TEST_F(Images, AnImageViewTakesItsImagesSize) {
    auto image = file("Dismiss@2x.png");
    Ref<Object> view = sel::initWithImage_(alloc("UIImageView"), image);
    EXPECT_EQ(sel::frame(view), Rect(0, 0, 60, 60));
    EXPECT_EQ(sel::image(view).get(), image.get());
    EXPECT_FALSE(sel::isUserInteractionEnabled(view));
    sel::setImage_(view, nullptr);
    EXPECT_EQ(sel::frame(view), Rect(0, 0, 60, 60));  // keeps its size
}

class ImagesOnIOS7 : public Images {
protected:
    ImagesOnIOS7() : Images(host::BootOptions{.systemVersion = "7.1"}) {}
};

TEST_F(ImagesOnIOS7, HaveNoTraitCollectionLookup) {
    Class* images = objc_getClass("UIImage");
    EXPECT_FALSE(class_respondsToSelector(images->metaclass(), sel::imageNamed_inBundle_compatibleWithTraitCollection_.name));
    EXPECT_TRUE(class_respondsToSelector(images->metaclass(), sel::imageNamed_.name));
}

}  // namespace
}  // namespace platform::uitest

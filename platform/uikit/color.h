// UIColor: an immutable colour in the device white or RGB space, made by the
// class methods of the platform (colorWithRed:green:blue:alpha:, the named
// colours, ...). Colours compare equal by space and components. Any thread.
#pragma once

#include <string>

#include "platform/uikit/selectors.h"

namespace platform {

class UIColor : public NSObject {
public:
    // White and RGB colours have components; a pattern colour (an image
    // tiled as a colour) has none.
    enum class Space { White, RGB, Pattern };

    static Ref<UIColor> make(Space space, double r, double g, double b, double a);
    static Ref<UIColor> rgba(double r, double g, double b, double a) { return make(Space::RGB, r, g, b, a); }
    static Ref<UIColor> white(double w, double a) { return make(Space::White, w, w, w, a); }
    static Ref<UIColor> pattern(id image);

    Space space() const { return space_; }
    double red() const { return r_; }
    double green() const { return g_; }
    double blue() const { return b_; }
    double alphaComponent() const { return a_; }
    // Same components, whatever the space (tests compare colours by these).
    bool sameComponents(const UIColor& other) const;
    std::string text() const;  // "UIDeviceRGBColorSpace 1 0 0 1"
    Object* patternImage() const { return image_.get(); }

private:
    Space space_ = Space::RGB;
    double r_ = 0, g_ = 0, b_ = 0, a_ = 0;
    Ref<Object> image_;
};

// UIKit's default tint (iOS 7 and later): RGB 0, 122/255, 1, alpha 1.
Ref<UIColor> systemTintColor();

}  // namespace platform

// A booted Clock app with the screens' classes and a window, image files
// planted in the app's bundle, and a delegate of the radial menu that records
// its calls.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/foundation/bundle.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/image.h"
#include "platform/uikit/window.h"
#include "tweak/screens/radial_menu.h"
#include "tweak/screens/screens.h"

namespace rousa::testing {

// A PNG file's signature and IHDR chunk: all that an image's size is read from.
inline std::string pngBytes(std::uint32_t width, std::uint32_t height) {
    std::string s("\x89PNG\r\n\x1a\n", 8);
    s += std::string("\0\0\0\x0d", 4) + "IHDR";
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xff);
    s += std::string("\x08\x06\0\0\0", 5);
    return s;
}

inline Ref<Object> pngImage(std::uint32_t side) {
    std::string bytes = pngBytes(side, side);
    return UIImage::fromData(Data(bytes.begin(), bytes.end()), 1);
}

// Writes "<name>.png" into the host app's bundle, where the menu's and the
// demonstration's images are looked up.
inline void plantImage(const std::string& name, std::uint32_t side = 30) {
    std::string folder = NSBundle::mainBundle()->bundlePath();
    ASSERT_TRUE(fs::createDirectories(folder));
    ASSERT_TRUE(fs::writeFileAtomically(fs::join(folder, name + ".png"), pngBytes(side, side)));
}

// The path an image was read from ("" for none).
inline std::string imagePath(const Ref<Object>& image) {
    auto* i = as<UIImage>(image.get());
    return i ? fs::basename(i->path_) : "";
}

// "MenuDelegate": records the four delegate calls with the menu's state and
// running transitions at the time.
class MenuDelegate : public NSObject {};

inline void recordDelegateCall(const char* what, id menu) {
    callLog::record("MenuDelegate", what, format("state %lld, running %lld", sel::menuState(menu), sel::activeStateTransitionCount(menu)));
}

inline void registerMenuDelegateClass() {
    ClassBuilder<MenuDelegate>("MenuDelegate", "NSObject")
        .protocol("PRWRadialMenuDelegate")
        .method(sel::radialMenuWillDisplay_, [](id, id menu) { recordDelegateCall("radialMenuWillDisplay:", menu); })
        .method(sel::radialMenuDidDisplay_, [](id, id menu) { recordDelegateCall("radialMenuDidDisplay:", menu); })
        .method(sel::radialMenuWillDismiss_, [](id, id menu) { recordDelegateCall("radialMenuWillDismiss:", menu); })
        .method(sel::radialMenuDidDismiss_, [](id, id menu) { recordDelegateCall("radialMenuDidDismiss:", menu); });
}

inline host::BootOptions clockApp(std::string version = "9.3") {
    host::BootOptions o;
    o.bundleIdentifier = host::kClockApp;
    o.systemVersion = std::move(version);
    return o;
}

class RadialMenuTest : public ::testing::Test {
protected:
    explicit RadialMenuTest(host::BootOptions options = clockApp()) : env(std::move(options)) {
        registerScreenClasses();
        registerMenuDelegateClass();
        window = as<UIWindow>(sel::initWithFrame_(alloc("UIWindow"), Rect(0, 0, 320, 568)));
        sel::makeKeyAndVisible(window);
    }
    // A menu as the alarm list places one: 44 points square around (x, y), in the window.
    Ref<PRWRadialMenu> menuAround(Point p) {
        Ref<Object> blur = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), 2);
        auto menu = as<PRWRadialMenu>(sel::initWithBackgroundVisualEffect_(alloc("PRWRadialMenu"), blur));
        sel::setFrame_(menu, Rect(p.x - 22, p.y - 22, 44, 44));
        sel::addSubview_(window, menu);
        RunLoop::main().advance(0);  // the set-up's own state transition completes
        return menu;
    }
    static std::vector<std::string> delegateCalls() { return callLog::lines("MenuDelegate"); }
    static void advance(double seconds) { RunLoop::main().advance(seconds); }

    platform::testing::TestEnvironment env;
    Ref<UIWindow> window;
};

}  // namespace rousa::testing

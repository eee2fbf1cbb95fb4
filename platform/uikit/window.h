// UIWindow: a root of the view tree with a level. Windows start hidden; the
// process keeps a list of them weakly (a window lives while someone holds it).
// One window is key; when the key window is hidden or goes away, the most
// recent earlier key window that is still visible becomes key again. The
// window's frame is in screen coordinates. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/uikit/view_controller.h"

namespace platform {

inline constexpr double UIWindowLevelNormal = 0;
inline constexpr double UIWindowLevelStatusBar = 1000;
inline constexpr double UIWindowLevelAlert = 2000;

class UIWindow : public UIView {
public:
    UIWindow() { hidden_ = true; }
    ~UIWindow() override;

    double windowLevel_ = UIWindowLevelNormal;
    Ref<UIViewController> rootViewController_;
    std::uint64_t order_ = 0;  // within a level, a higher order is in front

    static Ref<UIWindow> keyWindow();
    // Every window of the process, back to front (by level, then order).
    static std::vector<Ref<UIWindow>> allWindows();
    // The visible windows, front to back: the order in which touches try them.
    static std::vector<Ref<UIWindow>> visibleWindowsFrontToBack();
};

}  // namespace platform

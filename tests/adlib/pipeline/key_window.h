// A key window whose root view controller holds what a test shows: the ads
// a test places go into the root's view.
#pragma once

#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"

namespace adlib::testing {

struct KeyWindow {
    explicit KeyWindow(Rect frame = Rect(0, 0, 320, 480)) {
        window = UIView::make<UIWindow>("UIWindow", frame);
        root = sel::init(alloc("UIViewController"));
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
    }
    Ref<UIWindow> window;
    Ref<Object> root;
};

}  // namespace adlib::testing

// Shared by the UIKit tests: a booted environment on the virtual clock, and
// subclasses that record what a subclass of the system would see.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/application.h"
#include "platform/uikit/button.h"
#include "platform/uikit/color.h"
#include "platform/uikit/label.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"

namespace platform::uitest {

namespace sel {
using namespace platform::sel;
inline constexpr Sel<void(id)> tapped{"tapped"};
inline constexpr Sel<void(id, id)> tapped_{"tapped:"};
inline constexpr Sel<void(id, id, id)> tapped_withEvent_{"tapped:withEvent:"};
}  // namespace sel

// A view's tag as text: the tests name views by tag.
inline std::string tagOf(id view) { return view ? std::to_string(sel::tag(view)) : "nil"; }

// "RecordingView": records the moves, layouts and touches it sees.
class RecordingView : public UIView {};
// "RecordingButton": a UIButton whose setHighlighted: override records and calls super.
class RecordingButton : public UIButton {};
// "RecordingController": records its loading and appearance callbacks; detail is its title.
class RecordingController : public UIViewController {};
// "ActionTarget": answers tapped, tapped: and tapped:withEvent:.
class ActionTarget : public NSObject {};

inline void registerTestClasses() {
    static Class* viewClass = nullptr;
    static Class* buttonClass = nullptr;
    static Class* controllerClass = nullptr;
    viewClass = ClassBuilder<RecordingView>("RecordingView", "UIView")
                    .method(sel::willMoveToWindow_,
                            [](id self, id w) { callLog::record("RecordingView", "willMoveToWindow:", tagOf(self) + (w ? " window" : " nil")); })
                    .method(sel::didMoveToWindow,
                            [](id self) {
                                callLog::record("RecordingView", "didMoveToWindow", tagOf(self) + (sel::window(self) ? " window" : " nil"));
                            })
                    .method(sel::didMoveToSuperview, [](id self) { callLog::record("RecordingView", "didMoveToSuperview", tagOf(self)); })
                    .method(sel::layoutSubviews,
                            [](id self) {
                                sel::layoutSubviews.super(viewClass, self);
                                callLog::record("RecordingView", "layoutSubviews", tagOf(self));
                            })
                    .method(sel::touchesBegan_withEvent_,
                            [](id self, Value, id) { callLog::record("RecordingView", "touchesBegan:withEvent:", tagOf(self)); })
                    .method(sel::touchesEnded_withEvent_,
                            [](id self, Value, id) { callLog::record("RecordingView", "touchesEnded:withEvent:", tagOf(self)); })
                    .get();
    buttonClass = ClassBuilder<RecordingButton>("RecordingButton", "UIButton")
                      .method(sel::setHighlighted_,
                              [](id self, bool h) {
                                  callLog::record("RecordingButton", "setHighlighted:", h ? "YES" : "NO");
                                  sel::setHighlighted_.super(buttonClass, self, h);
                              })
                      .get();
    controllerClass =
        ClassBuilder<RecordingController>("RecordingController", "UIViewController")
            .method(sel::loadView,
                    [](id self) {
                        callLog::record("RecordingController", "loadView", sel::title(self).stringOr("?"));
                        sel::loadView.super(controllerClass, self);
                    })
            .method(sel::viewDidLoad, [](id self) { callLog::record("RecordingController", "viewDidLoad", sel::title(self).stringOr("?")); })
            .method(sel::viewWillAppear_,
                    [](id self, bool) { callLog::record("RecordingController", "viewWillAppear:", sel::title(self).stringOr("?")); })
            .method(sel::viewDidAppear_,
                    [](id self, bool) { callLog::record("RecordingController", "viewDidAppear:", sel::title(self).stringOr("?")); })
            .method(sel::viewWillDisappear_,
                    [](id self, bool) { callLog::record("RecordingController", "viewWillDisappear:", sel::title(self).stringOr("?")); })
            .method(sel::viewDidDisappear_,
                    [](id self, bool) { callLog::record("RecordingController", "viewDidDisappear:", sel::title(self).stringOr("?")); })
            .method(sel::viewDidLayoutSubviews,
                    [](id self) { callLog::record("RecordingController", "viewDidLayoutSubviews", sel::title(self).stringOr("?")); })
            .method(sel::willRotateToInterfaceOrientation_duration_,
                    [](id self, long long o, double duration) {
                        callLog::record("RecordingController", "willRotateToInterfaceOrientation:duration:",
                                        sel::title(self).stringOr("?") + format(" %lld %g", o, duration));
                    })
            .method(sel::didRotateFromInterfaceOrientation_,
                    [](id self, long long o) {
                        callLog::record("RecordingController", "didRotateFromInterfaceOrientation:",
                                        sel::title(self).stringOr("?") + format(" %lld interface %lld", o, sel::interfaceOrientation(self)));
                    })
            .get();
    ClassBuilder<ActionTarget>("ActionTarget", "NSObject")
        .method(sel::tapped, [](id) { callLog::record("ActionTarget", "tapped"); })
        .method(sel::tapped_, [](id, id sender) { callLog::record("ActionTarget", "tapped:", tagOf(sender)); })
        .method(sel::tapped_withEvent_, [](id, id sender, id event) {
            callLog::record("ActionTarget", "tapped:withEvent:", tagOf(sender) + (as<UIEvent>(event) ? " event" : " nil"));
        });
}

// What a bar (or any view) shows in its subviews, left to right: a button's
// title (" (disabled)" added when it is disabled), a label's text, "view <tag>"
// for anything else.
inline std::string shownText(UIView* v) {
    if (auto* b = as<UIButton>(v)) return sel::currentTitle(b).stringOr("") + (sel::isEnabled(b) ? "" : " (disabled)");
    if (auto* l = as<UILabel>(v)) return sel::text(l).stringOr("");
    return "view " + tagOf(v);
}
inline std::vector<UIView*> shownViews(UIView* bar) {
    std::vector<UIView*> out;
    for (const auto& v : bar->subviewList())
        if (!v->hidden_) out.push_back(v.get());
    std::stable_sort(out.begin(), out.end(), [](UIView* a, UIView* b) { return sel::frame(a).x() < sel::frame(b).x(); });
    return out;
}
inline std::vector<std::string> shownIn(UIView* bar) {
    std::vector<std::string> out;
    for (UIView* v : shownViews(bar)) out.push_back(shownText(v));
    return out;
}
// The subview of `bar` that shows `text` (as shownText words it); null for none.
inline UIView* shownView(UIView* bar, std::string_view text) {
    for (UIView* v : shownViews(bar))
        if (shownText(v) == text) return v;
    return nullptr;
}

class UIKitTest : public ::testing::Test {
protected:
    explicit UIKitTest(host::BootOptions options = {}) : env(std::move(options)) { registerTestClasses(); }

    // A window over the screen (or `frame`), shown unless `show` is false.
    Ref<UIWindow> makeWindow(Rect frame = Rect(0, 0, 320, 568), double level = UIWindowLevelNormal, bool show = true) {
        auto w = UIView::make<UIWindow>("UIWindow", frame);
        sel::setWindowLevel_(w, level);
        if (show) sel::setHidden_(w, false);
        return w;
    }
    // A view of `cls` with `frame` and `tag`, added to `parent` when given.
    Ref<UIView> makeView(Rect frame, UIView* parent = nullptr, long long tag = 0, const char* cls = "UIView") {
        auto v = UIView::make(cls, frame);
        sel::setTag_(v, tag);
        if (parent) sel::addSubview_(parent, v);
        return v;
    }
    void advance(double seconds) { RunLoop::main().advance(seconds); }
    // A RecordingController titled `title`.
    Ref<Object> controller(const char* title) {
        Ref<Object> c = newObject("RecordingController");
        sel::setTitle_(c, Value(title));
        return c;
    }
    // The appearance callbacks RecordingControllers logged so far: "viewWillAppear: A".
    std::vector<std::string> appearanceCalls() {
        std::vector<std::string> out;
        for (const auto& line : callLog::lines("RecordingController"))
            if (line.find("ppear") != std::string::npos) out.push_back(line.substr(std::string_view("RecordingController ").size()));
        return out;
    }

    testing::TestEnvironment env;
};

}  // namespace platform::uitest

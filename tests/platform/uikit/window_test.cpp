#include "platform/uikit/window.h"

#include <gtest/gtest.h>

#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

void (*original_becomeKeyWindow)(id) = nullptr;
void replaced_becomeKeyWindow(id self) {
    callLog::record("UIWindow", "becomeKeyWindow", tagOf(self));
    original_becomeKeyWindow(self);
}
void (*original_resignKeyWindow)(id) = nullptr;
void replaced_resignKeyWindow(id self) {
    callLog::record("UIWindow", "resignKeyWindow", tagOf(self));
    original_resignKeyWindow(self);
}

class Windows : public UIKitTest {
protected:
    Windows() {
        MSHookMessageEx(objc_getClass("UIWindow"), sel::becomeKeyWindow, &replaced_becomeKeyWindow, &original_becomeKeyWindow);
        MSHookMessageEx(objc_getClass("UIWindow"), sel::resignKeyWindow, &replaced_resignKeyWindow, &original_resignKeyWindow);
    }
    Ref<UIWindow> tagged(long long tag, bool show = false) {
        auto w = makeWindow(Rect(0, 0, 320, 568), UIWindowLevelNormal, show);
        sel::setTag_(w, tag);
        return w;
    }
    std::string key() { return tagOf(sel::keyWindow(UIApplication::sharedApplication())); }
};

TEST_F(Windows, ConvertRectToTheScreenOrAnotherWindow) {
    auto a = makeWindow(Rect(10, 20, 100, 100), UIWindowLevelNormal, false);
    auto b = makeWindow(Rect(50, 50, 100, 100), UIWindowLevelNormal, false);
    EXPECT_EQ(sel::convertRect_toWindow_(a, Rect(1, 2, 3, 4), nullptr), Rect(11, 22, 3, 4));
    EXPECT_EQ(sel::convertRect_toWindow_(a, Rect(1, 2, 3, 4), b), Rect(-39, -28, 3, 4));
    EXPECT_TRUE(sel::convertRect_toWindow_(a, Rect::null(), nullptr).isNull());
}

TEST_F(Windows, StartHiddenAndMakeKeyAndVisible) {
    auto w = tagged(1);
    EXPECT_TRUE(sel::isHidden(w));
    EXPECT_EQ(key(), "nil");
    sel::makeKeyAndVisible(w);
    EXPECT_FALSE(sel::isHidden(w));
    EXPECT_TRUE(sel::isKeyWindow(w));
    EXPECT_EQ(key(), "1");
    EXPECT_EQ(sel::windowLevel(w), UIWindowLevelNormal);
    EXPECT_FALSE(sel::_shouldCreateContextAsSecure(w));
    EXPECT_EQ(sel::screen(w).get(), static_cast<Object*>(UIScreen::mainScreen()));
}

TEST_F(Windows, KeyGoesBackToTheLastVisibleEarlierKeyWindow) {
    auto one = tagged(1), two = tagged(2), three = tagged(3);
    sel::makeKeyAndVisible(one);
    sel::makeKeyAndVisible(two);
    sel::makeKeyAndVisible(three);
    callLog::clear();
    sel::setHidden_(two, true);  // not key: nothing changes
    EXPECT_EQ(key(), "3");
    sel::setHidden_(three, true);  // two is hidden: one becomes key
    EXPECT_EQ(key(), "1");
    EXPECT_EQ(callLog::lines("KeyWindow"),
              (std::vector<std::string>{"UIWindow resignKeyWindow 3", "UIWindow becomeKeyWindow 1"}));
    EXPECT_FALSE(sel::isKeyWindow(three));
    sel::setHidden_(one, true);
    EXPECT_EQ(key(), "nil");
    sel::makeKeyAndVisible(two);
    EXPECT_EQ(key(), "2");
}

TEST_F(Windows, AWindowThatGoesAwayHandsTheKeyBack) {
    auto one = tagged(1);
    sel::makeKeyAndVisible(one);
    {
        auto alert = tagged(2);
        sel::makeKeyAndVisible(alert);
        EXPECT_EQ(key(), "2");
        EXPECT_EQ(sel::windows(UIApplication::sharedApplication()).count(), 2u);
    }
    // Nobody held the alert window: it went, and the key came back.
    EXPECT_EQ(key(), "1");
    EXPECT_EQ(sel::windows(UIApplication::sharedApplication()).count(), 1u);
}

TEST_F(Windows, TheApplicationListsWindowsBackToFront) {
    auto alert = makeWindow(Rect(0, 0, 320, 568), UIWindowLevelAlert);
    sel::setTag_(alert, 3);
    auto normal = tagged(1, true);
    auto hidden = tagged(2);
    std::string order;
    Value windows = sel::windows(UIApplication::sharedApplication());
    for (const auto& w : windows.array()) order += tagOf(w.object());
    EXPECT_EQ(order, "123");
}

TEST_F(Windows, TheRootViewControllersViewFillsTheWindow) {
    auto w = tagged(1);
    Ref<Object> first = newObject("UIViewController");
    sel::setRootViewController_(w, first);
    Ref<Object> view = sel::view(first);
    EXPECT_EQ(sel::superview(view).get(), w.get());
    EXPECT_EQ(sel::frame(view), Rect(0, 0, 320, 568));
    sel::setFrame_(w, Rect(0, 0, 568, 320));
    EXPECT_EQ(sel::frame(view), Rect(0, 0, 568, 320));
    Ref<Object> second = newObject("UIViewController");
    sel::setRootViewController_(w, second);
    EXPECT_FALSE(sel::superview(view));
    EXPECT_EQ(sel::rootViewController(w).get(), second.get());
}

TEST_F(Windows, ReinitialisingAWindowKeepsItOnce) {
    // An allocated window may be initialised again (as a shared window is for every use).
    Ref<Object> w = alloc("UIWindow");
    sel::initWithFrame_(w, Rect(0, 0, 320, 568));
    sel::initWithFrame_(w, Rect(0, 0, 100, 100));
    EXPECT_EQ(sel::windows(UIApplication::sharedApplication()).count(), 1u);
    EXPECT_EQ(sel::frame(w), Rect(0, 0, 100, 100));
    EXPECT_TRUE(sel::layer(w));
}

TEST_F(Windows, AnOverlayWindowFadesInAndHandsTheKeyBackWhenItHides) {
    // The way a full-screen alert window is used: allocated once, initialised
    // for every use, shown at alpha 0 and faded in; hidden when its fade-out completes.
    ClassBuilder<UIWindow>::inheritingType("OverlayWindow", "UIWindow").method(sel::_shouldCreateContextAsSecure, [](id) { return true; });
    auto main = tagged(1);
    sel::makeKeyAndVisible(main);
    Ref<Object> overlay = alloc("OverlayWindow");
    for (int use = 0; use < 2; ++use) {
        SCOPED_TRACE(use);
        sel::initWithFrame_(overlay, UIScreen::mainScreen()->bounds());
        sel::setTag_(overlay, 2);
        sel::setWindowLevel_(overlay, 3000);
        sel::setHidden_(overlay, false);
        sel::setAlpha_(overlay, 0);
        sel::makeKeyWindow(overlay);
        UIView::animateWithDuration(0.3, [&] { sel::setAlpha_(overlay, 1); });
        EXPECT_EQ(tagOf(touch::hitTest(Point{10, 10}).window), "2");
        advance(0.3);
        EXPECT_EQ(key(), "2");
        UIView::animateWithDuration(1.0, [&] { sel::setAlpha_(overlay, 0); }, [&](bool) { sel::setHidden_(overlay, true); });
        advance(0.99);
        EXPECT_FALSE(sel::isHidden(overlay));
        advance(0.01);
        EXPECT_TRUE(sel::isHidden(overlay));
        EXPECT_EQ(key(), "1");
    }
    EXPECT_TRUE(sel::_shouldCreateContextAsSecure(overlay));
    EXPECT_EQ(sel::windows(UIApplication::sharedApplication()).count(), 2u);
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/navigation_controller.h"

#include "uikit_test_support.h"

namespace platform::uitest {
namespace {

class Navigation : public UIKitTest {
protected:
    Ref<Object> controller(const char* title) {
        Ref<Object> c = newObject("RecordingController");
        sel::setTitle_(c, Value(title));
        return c;
    }
    std::vector<std::string> appearances() {
        std::vector<std::string> out;
        for (const auto& line : callLog::lines("RecordingController"))
            if (line.find("appear") != std::string::npos || line.find("Appear") != std::string::npos) out.push_back(line.substr(20));
        callLog::clear();
        return out;
    }
};

TEST_F(Navigation, PushAndPopSwapTheTopViewInUIKitsCallbackOrder) {
    Ref<Object> a = controller("A"), b = controller("B");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
    Ref<UIWindow> window = makeWindow();
    sel::setRootViewController_(window, nav);
    EXPECT_EQ(appearances(), (std::vector<std::string>{"viewWillAppear: A", "viewDidAppear: A"}));

    sel::pushViewController_animated_(nav, b, true);
    EXPECT_EQ(appearances(), (std::vector<std::string>{"viewWillDisappear: A", "viewWillAppear: B", "viewDidDisappear: A", "viewDidAppear: B"}));
    EXPECT_EQ(sel::topViewController(nav).get(), b.get());
    EXPECT_EQ(sel::viewControllers(nav), Value::array({Value(a), Value(b)}));
    EXPECT_EQ(sel::navigationController(b).get(), nav.get());
    EXPECT_EQ(sel::navigationBar(sel::navigationItem(b)).get(), sel::navigationBar(nav).get());
    EXPECT_EQ(sel::superview(sel::view(b)).get(), sel::view(nav).get());
    EXPECT_FALSE(sel::superview(sel::view(a)));
    EXPECT_EQ(sel::frame(sel::navigationBar(nav)), Rect(0, 20, 320, 44));

    EXPECT_EQ(sel::popViewControllerAnimated_(nav, true).get(), b.get());
    EXPECT_EQ(appearances(), (std::vector<std::string>{"viewWillDisappear: B", "viewWillAppear: A", "viewDidDisappear: B", "viewDidAppear: A"}));
    EXPECT_FALSE(sel::navigationController(b));
    EXPECT_FALSE(sel::navigationBar(sel::navigationItem(b)));
    // The root stays.
    EXPECT_FALSE(sel::popViewControllerAnimated_(nav, false));
    EXPECT_EQ(sel::topViewController(nav).get(), a.get());
}

TEST_F(Navigation, SettingTheStackRemovesWhatLeftItAndShowsTheNewTop) {
    Ref<Object> a = controller("A"), b = controller("B"), c = controller("C");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
    Ref<UIWindow> window = makeWindow();
    sel::setRootViewController_(window, nav);
    sel::pushViewController_animated_(nav, b, false);
    sel::pushViewController_animated_(nav, c, false);
    callLog::clear();
    sel::setViewControllers_animated_(nav, Value::array({Value(a)}), false);
    EXPECT_EQ(appearances(), (std::vector<std::string>{"viewWillDisappear: C", "viewWillAppear: A", "viewDidDisappear: C", "viewDidAppear: A"}));
    EXPECT_FALSE(sel::navigationController(b));
    EXPECT_FALSE(sel::navigationController(c));
    EXPECT_EQ(sel::viewControllers(nav).count(), 1u);
}

TEST_F(Navigation, PushingAControllerTwiceOrNothingRaises) {
    Ref<Object> a = controller("A");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
    EXPECT_THROW(sel::pushViewController_animated_(nav, a, false), NSException);
    EXPECT_THROW(sel::pushViewController_animated_(nav, nullptr, false), NSException);
}

TEST_F(Navigation, AnOffscreenStackSendsNoAppearanceCallbacks) {
    Ref<Object> a = controller("A"), b = controller("B");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
    sel::view(nav);
    callLog::clear();
    sel::pushViewController_animated_(nav, b, false);
    EXPECT_TRUE(appearances().empty());
    EXPECT_EQ(sel::superview(sel::view(b)).get(), sel::view(nav).get());
}

}  // namespace
}  // namespace platform::uitest

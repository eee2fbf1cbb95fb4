#include "platform/uikit/navigation_controller.h"

#include "platform/uikit/table_view.h"
#include "uikit_test_support.h"

namespace platform::uitest {
namespace {

class Navigation : public UIKitTest {
protected:
    // The appearance callbacks since the last call.
    std::vector<std::string> appearances() {
        auto out = appearanceCalls();
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

TEST_F(Navigation, BelowTheRootTheBarShowsABackButtonThatPops) {
    Ref<Object> a = controller("A"), b = controller("B");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
    Ref<UIWindow> window = makeWindow();
    sel::setRootViewController_(window, nav);
    auto* bar = as<UIView>(sel::navigationBar(nav).get());
    advance(0);
    EXPECT_EQ(shownIn(bar), (std::vector<std::string>{"A"}));

    sel::pushViewController_animated_(nav, b, true);
    advance(0);
    EXPECT_EQ(shownIn(bar), (std::vector<std::string>{"Back", "B"}));
    EXPECT_EQ(sel::frame(shownView(bar, "Back")).x(), UINavigationBar::kMargin);
    appearances();
    EXPECT_TRUE(touch::pressButton("Back"));
    EXPECT_EQ(sel::topViewController(nav).get(), a.get());
    EXPECT_EQ(appearances(), (std::vector<std::string>{"viewWillDisappear: B", "viewWillAppear: A", "viewDidDisappear: B", "viewDidAppear: A"}));
    advance(0);
    EXPECT_EQ(shownIn(bar), (std::vector<std::string>{"A"}));

    // A left item of its own takes the Back button's place.
    sel::setLeftBarButtonItem_(sel::navigationItem(b), sel::initWithTitle_style_target_action_(alloc("UIBarButtonItem"), Value("Close"),
                                                                                               UIBarButtonItemStylePlain, nullptr, sel::tapped));
    sel::pushViewController_animated_(nav, b, false);
    advance(0);
    EXPECT_EQ(shownIn(bar), (std::vector<std::string>{"Close", "B"}));
    // A pop from code shows the controller below.
    sel::popViewControllerAnimated_(nav, false);
    advance(0);
    EXPECT_EQ(shownIn(bar), (std::vector<std::string>{"A"}));
}

TEST_F(Navigation, ThreeDeepEachBackGoesOneDown) {
    Ref<Object> a = controller("A"), b = controller("B"), c = controller("C");
    Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
    Ref<UIWindow> window = makeWindow();
    sel::setRootViewController_(window, nav);
    sel::pushViewController_animated_(nav, b, false);
    sel::pushViewController_animated_(nav, c, false);
    auto* bar = as<UIView>(sel::navigationBar(nav).get());
    for (const char* want : {"B", "A"}) {
        SCOPED_TRACE(want);
        advance(0);
        EXPECT_TRUE(touch::pressButton("Back"));
        advance(0);
        EXPECT_EQ(sel::title(sel::topViewController(nav)), Value(want));
        EXPECT_EQ(shownIn(bar).back(), want);
    }
    EXPECT_EQ(shownIn(bar), (std::vector<std::string>{"A"}));
    EXPECT_FALSE(touch::pressButton("Back"));
}

TEST_F(Navigation, AScrollViewThatIsTheViewOrItsFirstSubviewStartsBelowTheBar) {
    struct Case {
        const char* what;
        std::function<Ref<UIView>(Ref<UIView>& scroll)> makeView;
        Point want;
    };
    const Point below{0, -64};  // the status bar and the navigation bar
    const Case cases[] = {
        {"a table as the view",
         [](Ref<UIView>& scroll) {
             scroll = as<UIView>(sel::initWithFrame_style_(alloc("UITableView"), Rect(0, 0, 320, 568), UITableViewStylePlain).get());
             return scroll;
         },
         below},
        {"a scroll view as the first subview",
         [](Ref<UIView>& scroll) {
             Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 320, 568));
             scroll = UIView::make("UIScrollView", Rect(0, 0, 320, 568));
             sel::addSubview_(view, scroll);
             return view;
         },
         below},
        {"a scroll view after another subview",
         [](Ref<UIView>& scroll) {
             Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 320, 568));
             sel::addSubview_(view, UIView::make("UIView", Rect(0, 0, 320, 100)));
             scroll = UIView::make("UIScrollView", Rect(0, 100, 320, 468));
             sel::addSubview_(view, scroll);
             return view;
         },
         Point{0, 0}},
        {"a scroll view scrolled already",
         [](Ref<UIView>& scroll) {
             scroll = UIView::make("UIScrollView", Rect(0, 0, 320, 568));
             sel::setContentOffset_(scroll, Point{0, 30});
             return scroll;
         },
         Point{0, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Object> a = controller("A"), b = controller("B");
        Ref<Object> nav = sel::initWithRootViewController_(alloc("UINavigationController"), a);
        Ref<UIWindow> window = makeWindow();
        sel::setRootViewController_(window, nav);
        Ref<UIView> scroll;
        sel::setView_(b, c.makeView(scroll));
        sel::pushViewController_animated_(nav, b, false);
        EXPECT_EQ(sel::contentOffset(scroll), c.want);
    }
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/navigation.h"

#include "platform/uikit/navigation_controller.h"
#include "platform/uikit/value_controls.h"
#include "uikit_test_support.h"

namespace platform::uitest {
namespace {

using Appearance = UIKitTest;

TEST_F(Appearance, ASwitchTakesTheOnTintOfItsNearestContainerThenThePlainProxy) {
    Class* switches = objc_getClass("UISwitch");
    Ref<Object> page = newObject("RecordingController");
    Ref<UIWindow> window = makeWindow();
    sel::addSubview_(window, sel::view(page));
    Ref<UIView> box = makeView(Rect(0, 0, 100, 100), as<UIView>(sel::view(page).get()));
    Ref<Object> toggle = newObject("UISwitch");
    sel::addSubview_(box, toggle);
    EXPECT_FALSE(sel::onTintColor(toggle));

    Ref<UIColor> red = UIColor::rgba(1, 0, 0, 1), green = UIColor::rgba(0, 1, 0, 1), blue = UIColor::rgba(0, 0, 1, 1);
    sel::setOnTintColor_(sel::appearance(switches), red);
    EXPECT_EQ(sel::onTintColor(toggle).get(), red.get());
    Ref<Object> inControllers = sel::appearanceWhenContainedIn_(switches, objc_getClass("RecordingController"));
    EXPECT_EQ(inControllers.get(), sel::appearanceWhenContainedIn_(switches, objc_getClass("RecordingController")).get());
    sel::setOnTintColor_(inControllers, green);
    EXPECT_EQ(sel::onTintColor(toggle).get(), green.get());
    sel::setOnTintColor_(sel::appearanceWhenContainedIn_(switches, objc_getClass("UIView")), blue);
    EXPECT_EQ(sel::onTintColor(toggle).get(), blue.get());  // the box is nearer
    sel::setOnTintColor_(toggle, red);
    EXPECT_EQ(sel::onTintColor(toggle).get(), red.get());
}

// A navigation controller with one controller ("Root") on a visible window,
// its bar laid out.
class NavigationBar : public UIKitTest {
protected:
    NavigationBar() {
        target = newObject("ActionTarget");
        window = makeWindow();
        fresh();
    }
    // A new stack with a new root, shown in the window and laid out.
    void fresh() {
        root = newObject("RecordingController");
        sel::setTitle_(root, Value("Root"));
        nav = as<UINavigationController>(sel::initWithRootViewController_(alloc("UINavigationController"), root));
        sel::setRootViewController_(window, nav);
        advance(0);
    }
    Ref<Object> item() { return sel::navigationItem(root); }
    UINavigationBar* bar() { return nav->navigationBar_.get(); }
    std::vector<std::string> shown() { return shownIn(bar()); }
    Rect frameOf(std::string_view text) {
        UIView* v = shownView(bar(), text);
        EXPECT_TRUE(v) << "the bar shows no " << text;
        return v ? sel::frame(v) : Rect();
    }
    Ref<Object> systemItem(long long kind) {
        return sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), kind, target, sel::tapped);
    }
    Ref<Object> titledItem(const char* title) {
        return sel::initWithTitle_style_target_action_(alloc("UIBarButtonItem"), Value(title), UIBarButtonItemStylePlain, target, sel::tapped);
    }

    Ref<Object> target;
    Ref<UIWindow> window;
    Ref<Object> root;
    Ref<UINavigationController> nav;
};

TEST_F(NavigationBar, ShowsTheTitleInTheMiddleTheLeftItemAtTheLeftAndTheRightItemsFromTheRightEdge) {
    EXPECT_EQ(shown(), (std::vector<std::string>{"Root"}));  // the root has no Back button
    sel::setLeftBarButtonItem_(item(), titledItem("Left"));
    sel::setRightBarButtonItems_(item(), Value::array({Value(systemItem(UIBarButtonSystemItemDone)), Value(systemItem(UIBarButtonSystemItemAdd))}));
    advance(0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"Left", "Root", "+", "Done"}));

    const double width = 320, height = UINavigationBar::kHeight, margin = UINavigationBar::kMargin;
    Rect left = frameOf("Left"), title = frameOf("Root"), add = frameOf("+"), done = frameOf("Done");
    EXPECT_EQ(left.x(), margin);
    EXPECT_EQ(done.maxX(), width - margin);  // the first right item is the rightmost
    EXPECT_EQ(add.maxX(), done.x() - margin);
    EXPECT_DOUBLE_EQ(title.midX(), width / 2);
    EXPECT_DOUBLE_EQ(title.midY(), height / 2);
    for (const Rect& button : {left, add, done}) {
        EXPECT_EQ(button.y(), 0);
        EXPECT_EQ(button.height(), height);  // as high as the bar
        EXPECT_GT(button.width(), 0);
    }
    EXPECT_GT(done.width(), add.width());  // sized to their titles
}

TEST_F(NavigationBar, AnItemShowsItsOwnTitleElseItsSystemItemsAndSpacesShowNothing) {
    struct Case {
        const char* what;
        long long systemItem;
        const char* title;  // nullptr: none of its own
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"done", UIBarButtonSystemItemDone, nullptr, {"Root", "Done"}},
        {"cancel", UIBarButtonSystemItemCancel, nullptr, {"Root", "Cancel"}},
        {"edit", UIBarButtonSystemItemEdit, nullptr, {"Root", "Edit"}},
        {"save", UIBarButtonSystemItemSave, nullptr, {"Root", "Save"}},
        {"add", UIBarButtonSystemItemAdd, nullptr, {"Root", "+"}},
        {"a system item given a title", UIBarButtonSystemItemEdit, "Done", {"Root", "Done"}},
        {"a titled item", -1, "Later", {"Root", "Later"}},
        {"flexible space", UIBarButtonSystemItemFlexibleSpace, nullptr, {"Root"}},
        {"fixed space", UIBarButtonSystemItemFixedSpace, nullptr, {"Root"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Object> i = c.systemItem >= 0 ? systemItem(c.systemItem) : titledItem(c.title);
        if (c.systemItem >= 0 && c.title) sel::setTitle_(i, Value(c.title));
        sel::setRightBarButtonItem_(item(), i);
        advance(0);
        EXPECT_EQ(shown(), c.want);
    }
}

TEST_F(NavigationBar, ATapOnAnItemsButtonSendsItsActionOnlyWhileTheItemIsEnabled) {
    Ref<Object> save = systemItem(UIBarButtonSystemItemSave);
    sel::setRightBarButtonItem_(item(), save);
    advance(0);
    callLog::clear();
    EXPECT_TRUE(touch::pressButton("Save"));
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped"}));

    sel::setEnabled_(save, false);
    advance(0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"Root", "Save (disabled)"}));
    callLog::clear();
    EXPECT_FALSE(touch::pressButton("Save"));  // the tap goes through to the bar
    EXPECT_TRUE(callLog::lines("ActionTarget").empty());

    sel::setEnabled_(save, true);
    advance(0);
    EXPECT_TRUE(touch::pressButton("Save"));
    EXPECT_EQ(callLog::lines("ActionTarget"), (std::vector<std::string>{"ActionTarget tapped"}));
}

TEST_F(NavigationBar, WhatChangedShowsOnTheLayoutPassAfterTheChange) {
    struct Case {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"the item's title", [this] { sel::setTitle_(item(), Value("Renamed")); }, {"Renamed"}},
        {"the controller's title reaches its item", [this] { sel::setTitle_(root, Value("Retitled")); }, {"Retitled"}},
        {"an item without a title of its own shows its controller's",
         [this] {
             as<UIViewController>(root)->title_ = Value("Controller");
             sel::setTitle_(item(), Value());
         },
         {"Controller"}},
        {"no title at all shows no label",
         [this] {
             as<UIViewController>(root)->title_ = Value();
             sel::setTitle_(item(), Value());
         },
         {}},
        {"a title view instead of the title",
         [this] {
             Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 100, 30));
             sel::setTag_(view, 5);
             sel::setTitleView_(item(), view);
         },
         {"view 5"}},
        {"a left item", [this] { sel::setLeftBarButtonItem_(item(), titledItem("Close")); }, {"Close", "Root"}},
        {"a right item", [this] { sel::setRightBarButtonItem_(item(), systemItem(UIBarButtonSystemItemCancel)); }, {"Root", "Cancel"}},
        {"a right item's title",
         [this] {
             Ref<Object> edit = titledItem("Edit");
             sel::setRightBarButtonItem_(item(), edit);
             advance(0);
             sel::setTitle_(edit, Value("Done"));
         },
         {"Root", "Done"}},
        {"right items taken away",
         [this] {
             sel::setRightBarButtonItems_(item(), Value::array({Value(titledItem("A")), Value(titledItem("B"))}));
             advance(0);
             sel::setRightBarButtonItems_(item(), Value(Value::Array{}));
         },
         {"Root"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        c.change();
        std::vector<std::string> before = shown();
        advance(0);
        EXPECT_EQ(shown(), c.want);
        EXPECT_NE(before, c.want) << "shown before the layout pass";
    }
}

TEST_F(NavigationBar, ATitleViewIsCentredInTheBar) {
    Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 100, 30));
    sel::setTag_(view, 5);
    sel::setTitleView_(item(), view);
    advance(0);
    EXPECT_EQ(sel::superview(view).get(), bar());
    EXPECT_EQ(sel::frame(view), Rect(110, 7, 100, 30));
    // Taken away, the title comes back and the view leaves the bar.
    sel::setTitleView_(item(), nullptr);
    advance(0);
    EXPECT_FALSE(sel::superview(view));
    EXPECT_EQ(shown(), (std::vector<std::string>{"Root"}));
}

TEST_F(NavigationBar, AWiderBarPlacesItsButtonsAgain) {
    sel::setRightBarButtonItem_(item(), systemItem(UIBarButtonSystemItemDone));
    advance(0);
    EXPECT_EQ(frameOf("Done").maxX(), 320 - UINavigationBar::kMargin);
    sel::setFrame_(window, Rect(0, 0, 568, 320));
    sel::setFrame_(sel::view(nav), Rect(0, 0, 568, 320));
    advance(0);
    EXPECT_EQ(sel::frame(bar()).width(), 568);
    EXPECT_EQ(frameOf("Done").maxX(), 568 - UINavigationBar::kMargin);
    EXPECT_DOUBLE_EQ(frameOf("Root").midX(), 568 / 2.0);
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/alert_sheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/platform/uikit/uikit_test_support.h"

namespace platform::uitest {
namespace {

// "SheetDelegate": logs the buttons it hears of.
class SheetDelegate : public NSObject {};

void registerDelegate() {
    ClassBuilder<SheetDelegate>("SheetDelegate", "NSObject")
        .method(sel::actionSheet_clickedButtonAtIndex_,
                [](id, id sheet, long long i) { callLog::record("SheetDelegate", "actionSheet:clickedButtonAtIndex:", format("%ld %ld", sel::tag(sheet), i)); })
        .method(sel::alertView_clickedButtonAtIndex_, [](id, id alert, long long i) {
            callLog::record("SheetDelegate", "alertView:clickedButtonAtIndex:", format("%ld %ld", sel::tag(alert), i));
        });
}

std::vector<std::string> titles(id alert) {
    std::vector<std::string> out;
    for (long long i = 0; i < sel::numberOfButtons(alert); ++i) out.push_back(sel::buttonTitleAtIndex_(alert, i).stringOr("nil"));
    return out;
}

// What an alert or sheet shows, top to bottom: label texts, button titles
// (with their tags) and "field" for a text field.
std::vector<std::string> shown(UIView* alert) {
    std::vector<UIView*> views;
    for (const auto& v : alert->subviewList()) views.push_back(v.get());
    std::stable_sort(views.begin(), views.end(), [](UIView* a, UIView* b) { return sel::frame(a).y() < sel::frame(b).y(); });
    std::vector<std::string> out;
    for (UIView* v : views) {
        if (as<UITextField>(v)) out.push_back("field");
        else if (as<UIButton>(v)) out.push_back(shownText(v) + " #" + tagOf(v));
        else out.push_back(shownText(v));
    }
    return out;
}

// The view's bounds in screen coordinates.
Rect onScreen(id view) {
    auto* v = as<UIView>(view);
    return Rect(v->toScreen(v->bounds_.origin), v->bounds_.size);
}

// The frontmost visible window.
Ref<UIWindow> front() {
    auto windows = UIWindow::visibleWindowsFrontToBack();
    return windows.empty() ? nullptr : windows.front();
}

class AlertSheets : public UIKitTest {
protected:
    explicit AlertSheets(host::BootOptions options = {}) : UIKitTest(std::move(options)) {
        registerDelegate();
        delegate = newObject("SheetDelegate");
        view = UIView::make("UIView", Rect(0, 0, 320, 568));
    }
    Ref<Object> makeSheet(long long tag) {
        Ref<Object> sheet = sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles_(
            alloc("UIActionSheet"), Value("Title"), delegate, Value("Cancel"), Value("Delete"), Value::array({"A", "B"}));
        sel::setTag_(sheet, tag);
        return sheet;
    }
    Ref<Object> makeAlert(long long tag) {
        Ref<Object> alert = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(
            alloc("UIAlertView"), Value("Custom"), Value("How long?"), delegate, Value("OK"), Value::array({"Later", "Never"}));
        sel::setTag_(alert, tag);
        return alert;
    }
    // A window below with a button at its top left that records its taps.
    void putAButtonBeneath() {
        below = makeWindow();
        Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeSystem);
        sel::setFrame_(button, Rect(0, 0, 100, 100));
        sel::setTag_(button, 77);
        sel::addTarget_action_forControlEvents_(button, target, sel::tapped_, UIControlEventTouchUpInside);
        sel::addSubview_(below, button);
    }
    std::vector<std::string> heard() {
        auto lines = callLog::lines("SheetDelegate");
        for (const auto& l : callLog::lines("ActionTarget")) lines.push_back(l);
        callLog::clear();
        return lines;
    }

    Ref<Object> delegate;
    Ref<Object> target = newObject("ActionTarget");
    Ref<UIView> view;
    Ref<UIWindow> below;
};

TEST_F(AlertSheets, ASheetOrdersItsButtonsAndReportsATapBeforeItGoes) {
    WeakRef<Object> gone;
    {
        Ref<Object> sheet = makeSheet(5);
        EXPECT_EQ(titles(sheet), (std::vector<std::string>{"Delete", "A", "B", "Cancel"}));
        EXPECT_EQ(sel::cancelButtonIndex(sheet), 3);
        EXPECT_EQ(sel::addButtonWithTitle_(sheet, Value("C")), 4);
        EXPECT_FALSE(sel::isVisible(sheet));
        sel::showInView_(sheet, view);
        EXPECT_TRUE(sel::isVisible(sheet));
        gone = sheet.get();
    }
    // The screen keeps it while it is up.
    auto up = UIActionSheet::visibleSheets();
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0]->shownInView_.lock().get(), view.get());
    EXPECT_TRUE(up[0]->shownFromRect_.isNull());
    EXPECT_FALSE(up[0]->inPopover_);
    up[0]->tapOutside();  // a phone's sheet is modal
    EXPECT_EQ(UIActionSheet::visibleSheets().size(), 1u);

    callLog::clear();
    up[0]->clickButton(1);
    up.clear();
    EXPECT_EQ(callLog::lines("SheetDelegate"), (std::vector<std::string>{"SheetDelegate actionSheet:clickedButtonAtIndex: 5 1"}));
    EXPECT_TRUE(UIActionSheet::visibleSheets().empty());
    EXPECT_TRUE(gone.expired());
}

TEST_F(AlertSheets, ADismissalFromCodeReportsNothing) {
    Ref<Object> sheet = makeSheet(1);
    sel::showInView_(sheet, view);
    callLog::clear();
    sel::dismissWithClickedButtonIndex_animated_(sheet, -1, true);
    EXPECT_FALSE(sel::isVisible(sheet));
    EXPECT_TRUE(callLog::lines("SheetDelegate").empty());
    as<UIActionSheet>(sheet)->clickButton(0);  // no longer up: no tap reaches it
    EXPECT_TRUE(callLog::lines("SheetDelegate").empty());
}

TEST_F(AlertSheets, AnAlertHasItsCancelButtonFirstAndTheFieldsOfItsStyle) {
    Ref<Object> alert = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(alloc("UIAlertView"), Value("Custom"),
                                                                                                 Value("How long?"), delegate, Value("OK"), Value("Later"));
    EXPECT_EQ(titles(alert), (std::vector<std::string>{"OK", "Later"}));
    EXPECT_EQ(sel::cancelButtonIndex(alert), 0);
    EXPECT_EQ(sel::message(alert), Value("How long?"));
    EXPECT_THROW(sel::textFieldAtIndex_(alert, 0), NSException);
    sel::setAlertViewStyle_(alert, UIAlertViewStylePlainTextInput);
    Ref<Object> field = sel::textFieldAtIndex_(alert, 0);
    EXPECT_TRUE(isKindOfClass(field, "UITextField"));
    try {
        sel::textFieldAtIndex_(alert, 1);
        ADD_FAILURE() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSRangeException");
        EXPECT_EQ(e.reason(), "textFieldIndex (1) is outside of the bounds of the array of text fields");
    }
    sel::setAlertViewStyle_(alert, UIAlertViewStyleLoginAndPasswordInput);
    EXPECT_EQ(sel::textFieldAtIndex_(alert, 0).get(), field.get());
    EXPECT_TRUE(sel::textFieldAtIndex_(alert, 1));

    sel::setTag_(alert, 9);
    sel::show(alert);
    ASSERT_EQ(UIAlertView::visibleAlerts().size(), 1u);
    callLog::clear();
    UIAlertView::visibleAlerts()[0]->clickButton(0);
    EXPECT_EQ(callLog::lines("SheetDelegate"), (std::vector<std::string>{"SheetDelegate alertView:clickedButtonAtIndex: 9 0"}));
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
}

TEST_F(AlertSheets, AnAlertShowsItsTextsAndButtonsCentredInAWindowOfItsOwnAndATapPressesAButton) {
    WeakRef<UIWindow> shownIn;
    {
        Ref<Object> alert = makeAlert(9);
        sel::show(alert);
        Ref<UIWindow> window = front();
        ASSERT_TRUE(window);
        shownIn = window.get();
        EXPECT_EQ(window->windowLevel_, UIWindowLevelAlert);
        EXPECT_EQ(sel::frame(window), Rect(0, 0, 320, 568));  // over the whole screen
        EXPECT_TRUE(as<UIView>(alert)->isDescendantOf(window));
        EXPECT_EQ(shown(as<UIView>(alert)), (std::vector<std::string>{"Custom", "How long?", "OK #0", "Later #1", "Never #2"}));
        Rect frame = onScreen(alert);
        EXPECT_DOUBLE_EQ(frame.midX(), 160);
        EXPECT_DOUBLE_EQ(frame.midY(), 284);
        // The buttons stand one under the other across the alert.
        for (const char* title : {"OK", "Later", "Never"}) {
            SCOPED_TRACE(title);
            UIView* button = shownView(as<UIView>(alert), title);
            ASSERT_TRUE(button);
            EXPECT_EQ(sel::frame(button).width(), sel::frame(alert).width());
        }
    }
    callLog::clear();
    EXPECT_TRUE(touch::pressButton("Later"));
    EXPECT_EQ(heard(), (std::vector<std::string>{"SheetDelegate alertView:clickedButtonAtIndex: 9 1"}));
    EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
    // The window went with it, and nothing shows its buttons any more.
    EXPECT_TRUE(shownIn.expired() || sel::isHidden(shownIn.lock()));
    EXPECT_FALSE(touch::pressButton("Never"));
}

TEST_F(AlertSheets, WhileAnAlertOrAPhonesSheetIsUpATapOutsideItReachesNothing) {
    putAButtonBeneath();
    callLog::clear();
    touch::tap(Point{50, 50});
    EXPECT_EQ(heard(), (std::vector<std::string>{"ActionTarget tapped: 77"}));

    struct Case {
        const char* what;
        std::function<Ref<Object>()> show;
        const char* button;
        std::string report;
    };
    const Case cases[] = {
        {"alert",
         [this] {
             Ref<Object> alert = makeAlert(1);
             sel::show(alert);
             return alert;
         },
         "OK", "SheetDelegate alertView:clickedButtonAtIndex: 1 0"},
        {"sheet",
         [this] {
             Ref<Object> sheet = makeSheet(2);
             sel::showInView_(sheet, view);
             return sheet;
         },
         "Cancel", "SheetDelegate actionSheet:clickedButtonAtIndex: 2 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Object> alert = c.show();
        touch::tap(Point{50, 50});
        EXPECT_TRUE(heard().empty());
        EXPECT_TRUE(sel::isVisible(alert));
        EXPECT_TRUE(touch::pressButton(c.button));
        EXPECT_EQ(heard(), (std::vector<std::string>{c.report}));
        EXPECT_FALSE(sel::isVisible(alert));
        // Gone, it lets touches through again.
        touch::tap(Point{50, 50});
        EXPECT_EQ(heard(), (std::vector<std::string>{"ActionTarget tapped: 77"}));
    }
}

TEST_F(AlertSheets, APhonesSheetLiesAlongTheBottomWithItsButtonsInIndexOrder) {
    Ref<Object> sheet = makeSheet(3);
    sel::showInView_(sheet, view);
    UIView* s = as<UIView>(sheet.get());
    EXPECT_EQ(shown(s), (std::vector<std::string>{"Title", "Delete #0", "A #1", "B #2", "Cancel #3"}));
    Rect frame = onScreen(sheet);
    EXPECT_EQ(frame.x(), 0);
    EXPECT_EQ(frame.width(), 320);
    EXPECT_EQ(frame.maxY(), 568);
    callLog::clear();
    EXPECT_TRUE(touch::pressButton("B"));
    EXPECT_EQ(heard(), (std::vector<std::string>{"SheetDelegate actionSheet:clickedButtonAtIndex: 3 2"}));
}

TEST_F(AlertSheets, AnAlertsFieldsTakeTheKeyboardWhileItIsUpAndLetGoWhenItGoes) {
    Ref<Object> alert = makeAlert(4);
    sel::setAlertViewStyle_(alert, UIAlertViewStyleLoginAndPasswordInput);
    Ref<Object> login = sel::textFieldAtIndex_(alert, 0), password = sel::textFieldAtIndex_(alert, 1);
    sel::show(alert);
    EXPECT_EQ(shown(as<UIView>(alert)), (std::vector<std::string>{"Custom", "How long?", "field", "field", "OK #0", "Later #1", "Never #2"}));
    EXPECT_TRUE(sel::isFirstResponder(login));
    touch::tap(as<UIView>(password.get()));
    EXPECT_TRUE(sel::isFirstResponder(password));
    EXPECT_FALSE(sel::isFirstResponder(login));
    EXPECT_TRUE(touch::pressButton("OK"));
    EXPECT_FALSE(sel::isFirstResponder(password));
    EXPECT_FALSE(currentFirstResponder());
    EXPECT_FALSE(sel::superview(login));

    // Shown again, it shows its fields and buttons once.
    sel::show(alert);
    EXPECT_EQ(shown(as<UIView>(alert)), (std::vector<std::string>{"Custom", "How long?", "field", "field", "OK #0", "Later #1", "Never #2"}));
    EXPECT_TRUE(sel::isFirstResponder(login));
    sel::dismissWithClickedButtonIndex_animated_(alert, 0, false);
    EXPECT_FALSE(currentFirstResponder());
}

class PadSheets : public AlertSheets {
protected:
    PadSheets() : AlertSheets(host::BootOptions{.interfaceIdiom = UIUserInterfaceIdiomPad}) {}
};

TEST_F(PadSheets, APopoverTakesATapOutsideForItsCancelButton) {
    Ref<Object> sheet = makeSheet(2);
    sel::showFromRect_inView_animated_(sheet, Rect(0, 100, 768, 44), view, true);
    Ref<UIActionSheet> s = as<UIActionSheet>(sheet);
    EXPECT_TRUE(s->inPopover_);
    EXPECT_EQ(s->shownFromRect_, Rect(0, 100, 768, 44));
    callLog::clear();
    s->tapOutside();
    EXPECT_EQ(callLog::lines("SheetDelegate"), (std::vector<std::string>{"SheetDelegate actionSheet:clickedButtonAtIndex: 2 3"}));
    EXPECT_FALSE(sel::isVisible(sheet));

    Ref<Object> bare = sel::initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles_(
        alloc("UIActionSheet"), Value("Bare"), delegate, Value(), Value(), Value("Only"));
    sel::setTag_(bare, 4);
    sel::showInView_(bare, view);
    callLog::clear();
    as<UIActionSheet>(bare)->tapOutside();
    EXPECT_EQ(callLog::lines("SheetDelegate"), (std::vector<std::string>{"SheetDelegate actionSheet:clickedButtonAtIndex: 4 -1"}));
}

TEST_F(PadSheets, APopoverLiesBelowTheRectangleElseAboveItAndATapOutsideItCancels) {
    struct Case {
        const char* what;
        Rect from;  // null: the middle of the view
        std::function<void(const Rect& frame)> check;
    };
    const Case cases[] = {
        {"below", Rect(0, 100, 768, 44),
         [](const Rect& f) {
             EXPECT_DOUBLE_EQ(f.y(), 144);
             EXPECT_DOUBLE_EQ(f.midX(), 384);
         }},
        {"above, near the bottom", Rect(400, 1000, 40, 20),
         [](const Rect& f) {
             EXPECT_DOUBLE_EQ(f.maxY(), 1000);
             EXPECT_DOUBLE_EQ(f.midX(), 420);
         }},
        {"kept on the screen at the right edge", Rect(740, 100, 20, 20), [](const Rect& f) { EXPECT_DOUBLE_EQ(f.maxX(), 768); }},
        {"from the middle of the view", Rect::null(),
         [](const Rect& f) {
             EXPECT_DOUBLE_EQ(f.y(), 512);
             EXPECT_DOUBLE_EQ(f.midX(), 384);
         }},
    };
    view = UIView::make("UIView", Rect(0, 0, 768, 1024));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Object> sheet = makeSheet(6);
        if (c.from.isNull()) sel::showInView_(sheet, view);
        else sel::showFromRect_inView_animated_(sheet, c.from, view, true);
        Rect frame = onScreen(sheet);
        EXPECT_EQ(frame.width(), 320);
        c.check(frame);
        EXPECT_EQ(shown(as<UIView>(sheet)).back(), "Cancel #3");
        // A tap outside it, where nothing else is, is its cancel button.
        callLog::clear();
        touch::tap(Point{frame.minX() > 20 ? 5.0 : 763.0, frame.minY() > 20 ? 5.0 : 1019.0});
        EXPECT_EQ(heard(), (std::vector<std::string>{"SheetDelegate actionSheet:clickedButtonAtIndex: 6 3"}));
        EXPECT_FALSE(sel::isVisible(sheet));
    }
}

}  // namespace
}  // namespace platform::uitest

#include "platform/uikit/alert_sheets.h"

#include <gtest/gtest.h>

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
    Ref<Object> delegate;
    Ref<UIView> view;
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

}  // namespace
}  // namespace platform::uitest

// UIActionSheet and UIAlertView: a title, buttons by index, a cancel button,
// a tag and a delegate (weak). While shown, the platform keeps the sheet or
// alert (it lives from its showing to its button, whoever made it). A tap on a
// button reports it to the delegate (actionSheet:clickedButtonAtIndex: or
// alertView:clickedButtonAtIndex:) and then dismisses; a dismissal from code
// reports nothing.
//
// - An action sheet made with titles has the destructive button first, then
//   the others, the cancel button last; an alert view has its cancel button
//   first. Buttons added later come after them.
// - On a pad an action sheet is shown in a popover (from a rectangle of a view,
//   or from the middle of the view it is shown in); a tap outside the popover
//   counts as the cancel button (-1 when it has none). On a phone the sheet is
//   modal and a tap outside does nothing.
// - An alert view's style gives it text fields: one for plain or secure
//   input, two for login and password; textFieldAtIndex: beyond them raises
//   NSRangeException as UIKit does. Shown, its first field is first responder.
//
// On screen, each sheet or alert has a window of its own at the alert level
// that covers the screen (touches outside it go nowhere, except the pad's
// tap outside a popover); the sheet or alert shows its title, message and
// fields as labels and fields, and each button as a button titled by it, in
// index order, that a tap presses. An alert is centred; a phone's sheet lies
// along the bottom of the screen; a pad's popover lies below (else above) the
// rectangle it is shown from.
// Main thread only.
#pragma once

#include <vector>

#include "platform/uikit/text_field.h"
#include "platform/uikit/window.h"

namespace platform {

inline constexpr long long UIAlertViewStyleDefault = 0;
inline constexpr long long UIAlertViewStyleSecureTextInput = 1;
inline constexpr long long UIAlertViewStylePlainTextInput = 2;
inline constexpr long long UIAlertViewStyleLoginAndPasswordInput = 3;

// What sheets and alerts share.
class UIButtonedAlert : public UIView {
public:
    Value title_;
    WeakRef<Object> delegate_;
    std::vector<Value> buttonTitles_;
    long long cancelButtonIndex_ = -1;
    bool visible_ = false;
    // While shown: the window it is shown in (which holds it) and the views it made.
    Ref<UIWindow> window_;
    std::vector<Ref<UIView>> shownViews_;

    long long addButton(const Value& title);
    // A tap on the button: the delegate hears of it, then the alert goes.
    void clickButton(long long index);
    // The views of the screen, placed in the window's coordinates.
    virtual void showViews() = 0;

protected:
    virtual void reportClick(id delegate, long long index) = 0;
    // Adds a view it shows, in its own coordinates.
    void addShown(const Ref<UIView>& view, Rect frame);
    // Its buttons stacked from `y` in index order, each `width` wide; answers the bottom of the last.
    double addButtons(double y, double width);
    // A label of the text at `y` (nothing for no text), `width` wide less the margins; answers its bottom.
    double addText(const Value& text, double y, double width, bool bold);
};

class UIActionSheet : public UIButtonedAlert {
public:
    long long destructiveButtonIndex_ = -1;
    WeakRef<UIView> shownInView_;
    Rect shownFromRect_ = Rect::null();  // null: shown in the view as a whole
    bool inPopover_ = false;

    // The sheets on screen, oldest first.
    static std::vector<Ref<UIActionSheet>> visibleSheets();
    // A tap outside the sheet: the cancel button in a pad's popover, nothing on a phone.
    void tapOutside();
    void showViews() override;

protected:
    void reportClick(id delegate, long long index) override;
};

class UIAlertView : public UIButtonedAlert {
public:
    Value message_;
    long long alertViewStyle_ = UIAlertViewStyleDefault;
    std::vector<Ref<UITextField>> textFields_;

    // The alerts on screen, oldest first.
    static std::vector<Ref<UIAlertView>> visibleAlerts();
    void showViews() override;

protected:
    void reportClick(id delegate, long long index) override;
};

}  // namespace platform

// UINavigationBar with its appearance proxy, UINavigationItem (a
// controller's title, title view and bar button items; every UIViewController
// makes its own on first use; a navigation controller tells it the bar it is
// shown in) and UIBarButtonItem (a system item, a title or an image, sending
// its action to its target, which it does not retain).
//
// A navigation bar shows the top item of its navigation controller's stack:
// the item's title view, else a label with its title (else the controller's
// title) in the middle, its left item at the left (or, below the root and
// without a left item, a "Back" button that pops), its right items from the
// right edge inwards. Each bar button item shows as a button: its title, else
// the system item's own ("Done", "Cancel", "Edit", "Save", "+" for Add;
// spaces show nothing), and its image; a tap presses the item. A disabled
// item's button is shown disabled. The bar makes its buttons again on the
// layout pass after anything it shows changed (a push or pop, the item's
// title, title view or items, an item's title or enabled state). The appearance proxy
// of a class is one object per process, and so is each proxy for instances
// inside a container class; a navigation bar without a tint of its own takes
// the proxy's, a switch without an on-tint of its own takes the proxy of its
// nearest container that has one (see value_controls.h). Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/view.h"

namespace platform {

// What [cls appearance] answers: the settings that instances take.
class UIAppearance : public NSObject {
public:
    // The proxy of the class named (made on first use).
    static Ref<UIAppearance> forClass(const std::string& className);
    // The proxy for instances of the class inside a container of the class
    // `containerClassName` (made on first use).
    static Ref<UIAppearance> forClass(const std::string& className, const std::string& containerClassName);
    // The proxy that applies to `instance` for a setting it lacks: the
    // containment proxy of its nearest ancestor view (or that view's
    // controller) whose class is kind of a container class and for which
    // `has` holds, else the plain proxy when `has` holds for it; null otherwise.
    static Ref<UIAppearance> applying(const UIView* instance, const std::string& className,
                                      bool (*has)(const UIAppearance& proxy));
    Ref<Object> tintColor_;
    Ref<Object> onTintColor_;
};

// What a navigation bar and a toolbar share: the views that show their items,
// made again on the first layout pass after a change.
class UIItemBar : public UIView {
public:
    std::vector<Ref<UIView>> contentViews_;
    bool contentChanged_ = true;
    Size contentSize_;  // the bounds size the content was made for

    // Something the bar shows changed: it makes its content again on its next layout pass.
    void setNeedsContent();
    // The layout pass: makes the content again when needed (makeContent).
    void updateContent();
    // Adds a view of the content.
    void addContent(const Ref<UIView>& view, Rect frame);

protected:
    virtual void makeContent() = 0;
};

class UINavigationBar : public UIItemBar {
public:
    static constexpr double kHeight = 44;
    static constexpr double kMargin = 8;  // between the edges and the outer buttons, and between buttons
    Ref<Object> barTintColor_;
    // The navigation controller whose stack the bar shows.
    WeakRef<UIViewController> navigationController_;

protected:
    void makeContent() override;
};

class UINavigationItem : public NSObject {
public:
    Value title_;
    Ref<Object> leftBarButtonItem_;
    Ref<Object> rightBarButtonItem_;
    Value rightBarButtonItems_;  // an array whose first item is rightBarButtonItem_; nil for none
    Ref<UIView> titleView_;
    WeakRef<UINavigationBar> navigationBar_;
};

inline constexpr long long UIBarButtonSystemItemDone = 0;
inline constexpr long long UIBarButtonSystemItemCancel = 1;
inline constexpr long long UIBarButtonSystemItemEdit = 2;
inline constexpr long long UIBarButtonSystemItemSave = 3;
inline constexpr long long UIBarButtonSystemItemAdd = 4;
inline constexpr long long UIBarButtonSystemItemFlexibleSpace = 5;
inline constexpr long long UIBarButtonSystemItemFixedSpace = 6;
inline constexpr long long UIBarButtonSystemItemCompose = 7;
inline constexpr long long UIBarButtonSystemItemReply = 8;
inline constexpr long long UIBarButtonSystemItemAction = 9;
inline constexpr long long UIBarButtonSystemItemRefresh = 13;

inline constexpr long long UIBarButtonItemStylePlain = 0;
inline constexpr long long UIBarButtonItemStyleBordered = 1;
inline constexpr long long UIBarButtonItemStyleDone = 2;

class UIBarButtonItem : public NSObject {
public:
    long long systemItem_ = -1;  // -1: not a system item
    Value title_;
    Ref<Object> image_;
    long long style_ = UIBarButtonItemStylePlain;
    WeakRef<Object> target_;
    std::string action_;
    bool enabled_ = true;
    // Shown in place of a button when set.
    Ref<UIView> customView_;
    double width_ = 0;  // 0: as wide as the content
    Value accessibilityLabel_;
    bool isAccessibilityElement_ = false;
    // The bar whose button shows the item, told when the item changes.
    WeakRef<UIItemBar> shownIn_;

    // What a tap on the item does: its action to its target (nothing when disabled).
    void press();
    bool isSpace() const { return systemItem_ == UIBarButtonSystemItemFlexibleSpace || systemItem_ == UIBarButtonSystemItemFixedSpace; }
    // The title the item's button shows: its own, else its system item's; nil for none.
    Value shownTitle() const;
    // The button that shows the item in the bar, sized to its content (or to
    // the item's width) and the bar's height; the custom view for an item that
    // has one; null for a space.
    Ref<UIView> makeButton(UIItemBar* bar);
};

}  // namespace platform

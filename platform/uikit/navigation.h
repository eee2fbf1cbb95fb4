// UINavigationBar with its appearance proxy, UINavigationItem (a
// controller's title and bar button items; every UIViewController makes its
// own on first use) and UIBarButtonItem (a system item, a title or an image,
// sending its action to its target, which it does not retain). The appearance proxy
// of a class is one object per process; a navigation bar without a tint of
// its own takes the proxy's. Main thread only.
#pragma once

#include <string>

#include "platform/uikit/view.h"

namespace platform {

// What [cls appearance] answers: the settings that instances take.
class UIAppearance : public NSObject {
public:
    // The proxy of the class named (made on first use).
    static Ref<UIAppearance> forClass(const std::string& className);
    Ref<Object> tintColor_;
};

class UINavigationBar : public UIView {};

class UINavigationItem : public NSObject {
public:
    Value title_;
    Ref<Object> leftBarButtonItem_;
    Ref<Object> rightBarButtonItem_;
    Value rightBarButtonItems_;  // an array whose first item is rightBarButtonItem_; nil for none
};

inline constexpr long long UIBarButtonSystemItemDone = 0;
inline constexpr long long UIBarButtonSystemItemCancel = 1;
inline constexpr long long UIBarButtonSystemItemEdit = 2;
inline constexpr long long UIBarButtonSystemItemSave = 3;
inline constexpr long long UIBarButtonSystemItemAdd = 4;
inline constexpr long long UIBarButtonSystemItemFlexibleSpace = 5;

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

    // What a tap on the item does: its action to its target (nothing when disabled).
    void press();
};

}  // namespace platform

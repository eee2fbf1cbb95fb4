// PRWRadialMenuItem: one item of the radial menu (radial_menu.h): what its
// button shows (a standard item's image, an icon, or an image pair) and the
// handlers called when its button is highlighted and when it is chosen. The
// menu holding it is its delegate, held weakly. Main thread only.
#pragma once

#include <functional>

#include "tweak/screens/selectors.h"

namespace rousa {

// PRWRadialMenuStandardItem
enum : long long {
    PRWRadialMenuStandardItemCancel = 0,
    PRWRadialMenuStandardItemConfirm = 1,
    PRWRadialMenuStandardItemPause = 2,
    PRWRadialMenuStandardItemPlay = 3,
    PRWRadialMenuStandardItemCamera = 4,
};

// The item's type: what its button shows.
enum : long long {
    PRWRadialMenuItemTypeStandardItem = 0,
    PRWRadialMenuItemTypeIcon = 1,
    PRWRadialMenuItemTypeImage = 2,
};

// "PRWRadialMenuStandardItemCancel", ...: also the name of the item's image
// resource. Nil for any other value.
Value NSStringFromPRWRadialMenuStandardItem(long long standardItem);

// The blocks of an item, called with the menu and the item.
using PRWRadialMenuItemHandler = std::function<void(id menu, id item)>;
using PRWRadialMenuItemHighlightedHandler = std::function<void(id menu, id item, bool highlighted)>;

namespace sel {
// Class methods of PRWRadialMenuItem. The short forms have no highlighted handler.
inline constexpr Sel<Ref<Object>(id, long long, PRWRadialMenuItemHandler)> menuItemWithRadialMenuStandardItem_handler_{
    "menuItemWithRadialMenuStandardItem:handler:"};
inline constexpr Sel<Ref<Object>(id, long long, PRWRadialMenuItemHighlightedHandler, PRWRadialMenuItemHandler)>
    menuItemWithRadialMenuStandardItem_highlightedHandler_selectedHandler_{"menuItemWithRadialMenuStandardItem:highlightedHandler:selectedHandler:"};
inline constexpr Sel<Ref<Object>(id, id, PRWRadialMenuItemHandler)> menuItemWithIcon_handler_{"menuItemWithIcon:handler:"};
inline constexpr Sel<Ref<Object>(id, id, PRWRadialMenuItemHighlightedHandler, PRWRadialMenuItemHandler)>
    menuItemWithIcon_highlightedHandler_selectedHandler_{"menuItemWithIcon:highlightedHandler:selectedHandler:"};
inline constexpr Sel<Ref<Object>(id, id, id, PRWRadialMenuItemHandler)> menuItemWithImage_highlightedImage_handler_{
    "menuItemWithImage:highlightedImage:handler:"};
inline constexpr Sel<Ref<Object>(id, id, id, PRWRadialMenuItemHighlightedHandler, PRWRadialMenuItemHandler)>
    menuItemWithImage_highlightedImage_highlightedHandler_selectedHandler_{"menuItemWithImage:highlightedImage:highlightedHandler:selectedHandler:"};
// The item's fields (`type`, `image`, `setImage:`, `delegate` and `setDelegate:` are the platform's).
inline constexpr Sel<PRWRadialMenuItemHighlightedHandler(id)> highlightedHandler{"highlightedHandler"};
inline constexpr Sel<void(id, PRWRadialMenuItemHighlightedHandler)> setHighlightedHandler_{"setHighlightedHandler:"};
inline constexpr Sel<PRWRadialMenuItemHandler(id)> selectedHandler{"selectedHandler"};
inline constexpr Sel<void(id, PRWRadialMenuItemHandler)> setSelectedHandler_{"setSelectedHandler:"};
inline constexpr Sel<long long(id)> standardItem{"standardItem"};
inline constexpr Sel<void(id, long long)> setStandardItem_{"setStandardItem:"};
inline constexpr Sel<Ref<Object>(id)> icon{"icon"};
inline constexpr Sel<void(id, id)> setIcon_{"setIcon:"};
inline constexpr Sel<Ref<Object>(id)> highlightedImage{"highlightedImage"};
inline constexpr Sel<void(id, id)> setHighlightedImage_{"setHighlightedImage:"};
// PRWRadialMenuItemDelegate: the item's image or highlighted image changed.
inline constexpr Sel<void(id, id)> radialMenuItemAppearanceChanged_{"radialMenuItemAppearanceChanged:"};
}  // namespace sel

class PRWRadialMenuItem : public NSObject {
public:
    long long type = PRWRadialMenuItemTypeStandardItem;
    PRWRadialMenuItemHighlightedHandler highlightedHandler;
    PRWRadialMenuItemHandler selectedHandler;
    WeakRef<Object> delegate;
    long long standardItem = PRWRadialMenuStandardItemCancel;
    // Images are immutable: keeping the icon is copying it.
    Ref<Object> icon;
    Ref<Object> image;
    Ref<Object> highlightedImage;
};

void registerRadialMenuItemClass();

}  // namespace rousa

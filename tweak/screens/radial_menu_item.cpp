#include "tweak/screens/radial_menu_item.h"

namespace rousa {

Value NSStringFromPRWRadialMenuStandardItem(long long standardItem) {
    switch (standardItem) {
        case PRWRadialMenuStandardItemCancel: return Value("PRWRadialMenuStandardItemCancel");
        case PRWRadialMenuStandardItemConfirm: return Value("PRWRadialMenuStandardItemConfirm");
        case PRWRadialMenuStandardItemPause: return Value("PRWRadialMenuStandardItemPause");
        case PRWRadialMenuStandardItemPlay: return Value("PRWRadialMenuStandardItemPlay");
        case PRWRadialMenuStandardItemCamera: return Value("PRWRadialMenuStandardItemCamera");
        default: return Value();
    }
}

namespace {

PRWRadialMenuItem* itemOf(id self) { return as<PRWRadialMenuItem>(self); }

Ref<Object> makeItem(id cls, long long type, PRWRadialMenuItemHighlightedHandler highlighted, PRWRadialMenuItemHandler selected) {
    Ref<Object> item = sel::init(alloc(static_cast<Class*>(cls)));
    auto* i = itemOf(item);
    if (!i) return nullptr;
    i->type = type;
    sel::setHighlightedHandler_(item, std::move(highlighted));
    sel::setSelectedHandler_(item, std::move(selected));
    return item;
}

Ref<Object> makeStandardItem(id cls, long long standard, PRWRadialMenuItemHighlightedHandler highlighted, PRWRadialMenuItemHandler selected) {
    Ref<Object> item = makeItem(cls, PRWRadialMenuItemTypeStandardItem, std::move(highlighted), std::move(selected));
    sel::setStandardItem_(item, standard);
    return item;
}

Ref<Object> iconItem(id cls, id icon, PRWRadialMenuItemHighlightedHandler highlighted, PRWRadialMenuItemHandler selected) {
    Ref<Object> item = makeItem(cls, PRWRadialMenuItemTypeIcon, std::move(highlighted), std::move(selected));
    sel::setIcon_(item, icon);
    return item;
}

Ref<Object> imageItem(id cls, id image, id highlightedImage, PRWRadialMenuItemHighlightedHandler highlighted,
                      PRWRadialMenuItemHandler selected) {
    Ref<Object> item = makeItem(cls, PRWRadialMenuItemTypeImage, std::move(highlighted), std::move(selected));
    sel::setImage_(item, image);
    sel::setHighlightedImage_(item, highlightedImage);
    return item;
}

void appearanceChanged(PRWRadialMenuItem* item) {
    if (Ref<Object> d = item->delegate.lock()) sel::radialMenuItemAppearanceChanged_(d, item);
}

}  // namespace

void registerRadialMenuItemClass() {
    ClassBuilder<PRWRadialMenuItem>("PRWRadialMenuItem", "NSObject")
        .classMethod(sel::menuItemWithRadialMenuStandardItem_handler_,
                     [](id cls, long long standard, PRWRadialMenuItemHandler handler) {
                         return makeStandardItem(cls, standard, nullptr, std::move(handler));
                     })
        .classMethod(sel::menuItemWithRadialMenuStandardItem_highlightedHandler_selectedHandler_, &makeStandardItem)
        .classMethod(sel::menuItemWithIcon_handler_,
                     [](id cls, id icon, PRWRadialMenuItemHandler handler) { return iconItem(cls, icon, nullptr, std::move(handler)); })
        .classMethod(sel::menuItemWithIcon_highlightedHandler_selectedHandler_, &iconItem)
        .classMethod(sel::menuItemWithImage_highlightedImage_handler_,
                     [](id cls, id image, id highlightedImage, PRWRadialMenuItemHandler handler) {
                         return imageItem(cls, image, highlightedImage, nullptr, std::move(handler));
                     })
        .classMethod(sel::menuItemWithImage_highlightedImage_highlightedHandler_selectedHandler_, &imageItem)
        .method(sel::type, [](id self) { return itemOf(self)->type; })
        .property<&PRWRadialMenuItem::highlightedHandler>(sel::highlightedHandler, sel::setHighlightedHandler_)
        .property<&PRWRadialMenuItem::selectedHandler>(sel::selectedHandler, sel::setSelectedHandler_)
        .method(sel::delegate, [](id self) { return itemOf(self)->delegate.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { itemOf(self)->delegate = d; })
        .property<&PRWRadialMenuItem::standardItem>(sel::standardItem, sel::setStandardItem_)
        .method(sel::icon, [](id self) { return itemOf(self)->icon; })
        .method(sel::setIcon_, [](id self, id icon) { itemOf(self)->icon = icon; })
        .method(sel::image, [](id self) { return itemOf(self)->image; })
        .method(sel::setImage_,
                [](id self, id image) {
                    itemOf(self)->image = image;
                    appearanceChanged(itemOf(self));
                })
        .method(sel::highlightedImage, [](id self) { return itemOf(self)->highlightedImage; })
        .method(sel::setHighlightedImage_, [](id self, id image) {
            itemOf(self)->highlightedImage = image;
            appearanceChanged(itemOf(self));
        });
}

}  // namespace rousa

#include "settings/list_items_controller.h"

#include "settings/base_controller.h"

namespace rousa {

namespace {

Class* itemsClass() {
    static Class* c = objc_getClass("RS2ListItemsController");
    return c;
}

RS2ListItemsController* items(id self) { return as<RS2ListItemsController>(self); }

void viewWillAppear(id self, bool animated) {
    sel::viewWillAppear_.super(itemsClass(), self, animated);
    Ref<Object> accent = settingsAccentColor();
    sel::setTintColor_(sel::navigationBar(sel::navigationController(self)), accent);
    items(self)->settingsView = sel::keyWindow(sel::sharedApplication(objc_getClass("UIApplication")));
    sel::setTintColor_(items(self)->settingsView, accent);
}

void viewWillDisappear(id self, bool animated) {
    sel::viewWillDisappear_.super(itemsClass(), self, animated);
    sel::setTintColor_(items(self)->settingsView, nullptr);
}

}  // namespace

void registerListItemsControllerClass() {
    ClassBuilder<RS2ListItemsController>("RS2ListItemsController", "PSListItemsController")
        .property<&RS2ListItemsController::settingsView>(sel::settingsView, sel::setSettingsView_)
        .method(sel::viewWillAppear_, &viewWillAppear)
        .method(sel::viewWillDisappear_, &viewWillDisappear)
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id self, id table, id indexPath) { return accentTitledCell(itemsClass(), self, table, indexPath); })
        .method(sel::setTitle_, &showLocalizedTitle)
        .method(sel::increaseAlpha, &fadeInTitle);
}

}  // namespace rousa

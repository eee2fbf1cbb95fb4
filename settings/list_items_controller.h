// RS2ListItemsController: the choices page that a list row opens, dressed in
// the accent colour like the other pages; while it is on screen the key window
// (kept in `settingsView`) is tinted too, and on leaving the key window's tint
// is cleared. Settings app main thread.
#pragma once

#include "platform/preferences/list_controller.h"
#include "settings/selectors.h"

namespace rousa {

class RS2ListItemsController : public PSListItemsController {
public:
    Ref<Object> settingsView;
};

void registerListItemsControllerClass();

}  // namespace rousa

#include "settings/settings.h"

#include "platform/foundation/process.h"
#include "settings/base_controller.h"
#include "settings/header_view.h"
#include "settings/list_items_controller.h"
#include "settings/pages.h"
#include "settings/position_page.h"
#include "settings/resigning_text_cell.h"
#include "tweak/engine/localizer.h"

namespace rousa {

constinit Ref<NSBundle> settingsBundle;
constinit std::string_view digitCharacterSet;

void startSettingsBundle() {
    if (!objc_getClass("PSListController")) return;
    if (!objc_getClass("RS2Localizer")) registerLocalizerClass();
    registerBaseControllerClass();
    registerPageClasses();
    registerPositionPageClass();
    registerHeaderViewClass();
    registerListItemsControllerClass();
    registerResigningTextCellClass();
    settingsBundle = NSBundle::bundleWithPath(kRousaBundlePath);
    digitCharacterSet = "1234567890";
}

}  // namespace rousa

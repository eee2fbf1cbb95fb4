// Rousa2BaseController: the base of the settings pages. A page loads its rows
// from the page description named by `_plistName` once, localizes them again
// at every `specifiers` call, and dresses itself in the accent colour: tinted
// view, navigation bar and switches, accent row titles, a localized title label
// in the navigation bar that fades in half a second after the page loaded,
// a Compose button that opens the share sheet, and the credits header
// (header_view.h) atop its first section, except on the lock-screen position
// page. Settings app main thread.
#pragma once

#include "platform/preferences/list_controller.h"
#include "settings/selectors.h"

namespace rousa {

class Rousa2BaseController : public PSListController {
public:
    Value plistName;  // "_plistName"
};

// RGBA (1.0, 0.231, 0.188, 1.0).
Ref<Object> settingsAccentColor();
inline constexpr const char* kPositionPlistName = "WKSLockScreenPosition";
inline constexpr double kCreditsHeaderHeight = 140.0;
// The text of the share sheet.
inline constexpr const char* kShareText = "I set my alarms with Rousa 2, the alarm clock extension for iPhone and iPad!";

// Shared with RS2ListItemsController: the base cell with an accent title
// (the base being the superclass of `definingClass`), the localized title
// label, and its fade-in.
Ref<Object> accentTitledCell(Class* definingClass, id self, id table, id indexPath);
void showLocalizedTitle(id self, Value title);
void fadeInTitle(id self);

void registerBaseControllerClass();

}  // namespace rousa

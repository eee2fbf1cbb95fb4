// WKSLockScreenPositionListController: the page that places the lock-screen
// time-until-alarm view. Each axis (horizontal: left, centre, right, custom;
// vertical: top, under the date, bottom, custom) shows its two custom rows
// (starting point and value in points) and a footer with the screen's size in
// points only while its choice is custom. A choice writes its key into the
// preference domain itself and posts the change. The page takes its groups and
// custom rows from its description once, when it has all eight rows
// (0 horizontal group, 1 choice, 2-3 custom rows, 4 vertical group, 5 choice,
// 6-7 custom rows); otherwise they stay inert. When the Settings app goes to
// the background the page leaves its navigation stack (with what is above
// it), so that it is built afresh next time. Settings app main thread.
#pragma once

#include <string>

#include "settings/base_controller.h"

namespace rousa {

namespace sel {
inline constexpr Sel<bool(id)> customHorizontalPositionEnabled{"customHorizontalPositionEnabled"};
inline constexpr Sel<void(id, bool)> setCustomHorizontalPositionEnabled_{"setCustomHorizontalPositionEnabled:"};
inline constexpr Sel<bool(id)> customVerticalPositionEnabled{"customVerticalPositionEnabled"};
inline constexpr Sel<void(id, bool)> setCustomVerticalPositionEnabled_{"setCustomVerticalPositionEnabled:"};
inline constexpr Sel<Value(id)> customHorizontalSpecifiers{"customHorizontalSpecifiers"};
inline constexpr Sel<void(id, Value)> setCustomHorizontalSpecifiers_{"setCustomHorizontalSpecifiers:"};
inline constexpr Sel<Value(id)> customVerticalSpecifiers{"customVerticalSpecifiers"};
inline constexpr Sel<void(id, Value)> setCustomVerticalSpecifiers_{"setCustomVerticalSpecifiers:"};
inline constexpr Sel<Ref<Object>(id)> horizontalGroup{"horizontalGroup"};
inline constexpr Sel<void(id, id)> setHorizontalGroup_{"setHorizontalGroup:"};
inline constexpr Sel<Ref<Object>(id)> verticalGroup{"verticalGroup"};
inline constexpr Sel<void(id, id)> setVerticalGroup_{"setVerticalGroup:"};
// The setters of the two choice rows.
inline constexpr Sel<void(id, Value)> setHorizontalPosition_{"setHorizontalPosition:"};
inline constexpr Sel<void(id, Value)> setVerticalPosition_{"setVerticalPosition:"};
inline constexpr Sel<void(id)> applicationWillResignActive{"applicationWillResignActive"};
}  // namespace sel

class WKSLockScreenPositionListController : public Rousa2BaseController {
public:
    ~WKSLockScreenPositionListController() override;

    bool customHorizontalPositionEnabled = false;
    Value horizontalFooter;
    int customHorizontalPositionIndex = 0;
    bool customVerticalPositionEnabled = false;
    int customVerticalPositionIndex = 0;
    Value verticalFooter;
    Value customHorizontalSpecifiers;  // two PSSpecifier
    Value customVerticalSpecifiers;    // two PSSpecifier
    Ref<Object> horizontalGroup;
    Ref<Object> verticalGroup;
};

// The translated text with its one integer placeholder ("%d", "%ld", "%3d",
// ...) replaced by the number; a text with no such placeholder, several, or any
// other placeholder is answered as it is ("%%" stands for "%" only in a text
// that is filled).
std::string fillScreenSize(const std::string& text, long long points);

void registerPositionPageClass();

}  // namespace rousa

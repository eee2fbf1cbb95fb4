// The rows' cells of the Preferences framework. PSTableCell shows one
// specifier: its name, a disclosure for links and lists (a list also shows
// the title of its value), a switch or a slider that stores its value through
// the specifier when the user changes it. PSEditableTableCell is a text row:
// its field's delegate is the cell, which lets every change through and
// stores the text typed when editing ends. A cell reads the row's value when
// it is made or refreshed. Main thread only.
#pragma once

#include "platform/preferences/specifier.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/text_field.h"

namespace platform {

namespace sel {
inline constexpr Sel<Ref<Object>(id, long long, Value, id)> initWithStyle_reuseIdentifier_specifier_{
    "initWithStyle:reuseIdentifier:specifier:"};
inline constexpr Sel<Ref<Object>(id)> specifier{"specifier"};
inline constexpr Sel<void(id, id)> setSpecifier_{"setSpecifier:"};
inline constexpr Sel<void(id, id)> refreshCellContentsWithSpecifier_{"refreshCellContentsWithSpecifier:"};
// The cell's switch or slider changed (its target-action).
inline constexpr Sel<void(id, id)> controlChanged_{"controlChanged:"};
inline constexpr Sel<Ref<Object>(id)> control{"control"};
inline constexpr Sel<Ref<Object>(id)> textField{"textField"};
}  // namespace sel

class PSTableCell : public UITableViewCell {
public:
    static constexpr Size kSliderSize{180, 31};
    Ref<PSSpecifier> specifier_;
    Ref<UIControl> control_;  // a switch row's switch, a slider row's slider
};

class PSEditableTableCell : public PSTableCell {
public:
    static constexpr Size kFieldSize{120, 31};
    Ref<UITextField> textField_;
};

namespace preferences {
void registerTableCellClasses();
}

}  // namespace platform

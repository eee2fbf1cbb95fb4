// PSListController: a settings page. Its rows are its specifiers (the
// `specifiers` method, which subclasses override to load them, typically
// from a page description with loadSpecifiersFromPlistName:target:); its view
// is a grouped table whose data source and delegate it is. Each group row
// begins a section (its name heads it, its "footerText" closes it); rows
// before the first group make a section of their own, and a page always has
// at least one section. A tap on a link makes the page class the row names
// (nothing when there is none), gives it the row as its specifier, titles it
// with the row's name and pushes it; a list row opens its detail page (by
// default PSListItemsController) the same way; a button sends its action to
// its target with the row. Rows read and store values through their target's
// getter and setter; the page's own, readPreferenceValue: and
// setPreferenceValue:specifier:, read the row's key in its "defaults" domain
// (else its "default") and write it there with CFPreferencesSetAppValue, then
// post the row's "PostNotification" on the Darwin centre.
//
// PSListItemsController: the choices of a list row, one row per valid value
// titled by the row's title dictionary, a check on the row of the current
// value; a tap stores that value through the list row.
//
// A page's page descriptions come from its bundle: that of the row that
// opened it (a root page's is its bundle's, see settings_app.h), else the main
// bundle. A page asks for its specifiers when its view loads. Main thread only.
#pragma once

#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/preferences/specifier.h"
#include "platform/preferences/table_cell.h"
#include "platform/uikit/table_view.h"
#include "platform/uikit/view_controller.h"

namespace platform {

namespace sel {
inline constexpr Sel<Value(id)> specifiers{"specifiers"};
// The rows of the page description "<name>.plist" of the page's bundle, their
// target set; an empty array when there is none.
inline constexpr Sel<Value(id, Value, id)> loadSpecifiersFromPlistName_target_{"loadSpecifiersFromPlistName:target:"};
inline constexpr Sel<Value(id, id)> readPreferenceValue_{"readPreferenceValue:"};
inline constexpr Sel<void(id, Value, id)> setPreferenceValue_specifier_{"setPreferenceValue:specifier:"};
// Changes of the page's rows (its `_specifiers`), shown by the table: rows are
// inserted before the row at the index (clamped to the end), the given rows
// (those the page has) removed, a row redrawn (a group's name and footer are
// read afresh anyway).
inline constexpr Sel<void(id, Value, long long, bool)> insertContiguousSpecifiers_atIndex_animated_{
    "insertContiguousSpecifiers:atIndex:animated:"};
inline constexpr Sel<void(id, Value, bool)> removeContiguousSpecifiers_animated_{"removeContiguousSpecifiers:animated:"};
inline constexpr Sel<void(id, id, bool)> reloadSpecifier_animated_{"reloadSpecifier:animated:"};
}  // namespace sel

class PSListController : public UIViewController {
public:
    Value specifiers_;            // "_specifiers": the rows, nil until loaded
    Ref<PSSpecifier> specifier_;  // "_specifier": the row that opened the page
    Ref<UITableView> table_;      // "_table"

    struct Section {
        Ref<PSSpecifier> group;  // null for rows before the first group
        std::vector<Ref<PSSpecifier>> rows;
    };
    // The page's sections, from its specifiers (sent, so a subclass's run).
    std::vector<Section> sections();
    Ref<PSSpecifier> rowAt(IndexPath path);
    Ref<NSBundle> pageBundle() const;
};

class PSListItemsController : public PSListController {};

namespace preferences {
// A row's value through its target's getter; nil without a getter or target.
Value readValue(PSSpecifier* row);
// Stores a value through the row's target's setter (with the row as second argument).
void writeValue(PSSpecifier* row, const Value& value);
void registerListControllerClasses();
}  // namespace preferences

}  // namespace platform

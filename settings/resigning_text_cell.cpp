#include "settings/resigning_text_cell.h"

#include "platform/preferences/list_controller.h"
#include "settings/settings.h"

namespace rousa {

void registerResigningTextCellClass() {
    ClassBuilder<PSEditableTableCell>::inheritingType("ResigningTextCell", "PSEditableTableCell")
        .method(sel::textFieldShouldReturn_,
                [](id, id field) {
                    sel::resignFirstResponder(field);
                    return true;
                })
        .method(sel::textField_shouldChangeCharactersInRange_replacementString_,
                [](id, id, NSRange, Value replacement) {
                    const std::string& text = replacement.string();
                    return text.find_first_not_of(digitCharacterSet) == std::string::npos;
                })
        // A number row stores a number, as the preference file's readers and
        // Apple's tools expect of these keys, never the text of its digits.
        .method(sel::textFieldDidEndEditing_, [](id self, id field) {
            Ref<PSEditableTableCell> protector(as<PSEditableTableCell>(self));
            if (Ref<PSSpecifier> s = protector->specifier_) preferences::writeValue(s, Value(sel::text(field).intValue()));
        });
}

}  // namespace rousa

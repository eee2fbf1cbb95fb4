#include "settings/resigning_text_cell.h"

#include "settings/settings.h"

namespace rousa {

void registerResigningTextCellClass() {
    ClassBuilder<PSEditableTableCell>::inheritingType("ResigningTextCell", "PSEditableTableCell")
        .method(sel::textFieldShouldReturn_,
                [](id, id field) {
                    sel::resignFirstResponder(field);
                    return true;
                })
        .method(sel::textField_shouldChangeCharactersInRange_replacementString_, [](id, id, NSRange, Value replacement) {
            const std::string& text = replacement.string();
            return text.find_first_not_of(digitCharacterSet) == std::string::npos;
        });
}

}  // namespace rousa

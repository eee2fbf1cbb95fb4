// ResigningTextCell: a number row. Its field ends editing on the return key
// and takes only digits: a change that brings in any other character is
// refused whole; deleting is always allowed. Settings app main thread.
#pragma once

#include "platform/preferences/table_cell.h"
#include "settings/selectors.h"

namespace rousa {

void registerResigningTextCellClass();

}  // namespace rousa

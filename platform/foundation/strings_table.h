// The .strings table format of localized texts: `"key" = "value";` entries,
// C and C++ comments, backslash escapes (\n, \t, \", \\, \UXXXX), unquoted
// keys and values, and `"key";` meaning the key is its own text. Files may be
// UTF-8 or UTF-16 with a byte-order mark.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

using StringsTable = std::map<std::string, std::string, std::less<>>;

Result<StringsTable> parseStringsTable(std::string_view bytes);

}  // namespace platform

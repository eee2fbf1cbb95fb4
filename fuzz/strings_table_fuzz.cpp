// .strings tables, UTF-8 or UTF-16 with a byte-order mark, as bundles ship them.
#include <cstdint>
#include <string_view>

#include "platform/foundation/strings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::parseStringsTable(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

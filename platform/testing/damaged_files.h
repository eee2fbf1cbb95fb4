// Property lists as a broken writer leaves them, for the tests of every
// reader: each of these once aborted or overflowed a reader.
#pragma once

#include <string>
#include <vector>

namespace platform::testing {

// `bytes` with the first `from` replaced by `to` (of the same length).
std::string patched(std::string bytes, const std::string& from, const std::string& to);

// A binary property list of `objects` arrays, each holding the next `refs`
// times (the last is empty): deep with 1, exponentially shared with 2.
std::string nestedBinary(unsigned objects, unsigned refs);
std::string nestedXml(int levels);

struct DamagedFile {
    std::string name;
    std::string bytes;
};
// A NUL in a string (XML; binary ASCII and UTF-16) and in a key (XML, binary),
// and 40,000 nested arrays (XML, binary): dictionaries where the format lets.
std::vector<DamagedFile> damagedPropertyLists();

}  // namespace platform::testing

#include "platform/testing/damaged_files.h"

#include <cstdint>
#include <stdexcept>

#include "platform/foundation/plist.h"

namespace platform::testing {

std::string patched(std::string bytes, const std::string& from, const std::string& to) {
    auto at = bytes.find(from);
    if (at == std::string::npos || from.size() != to.size()) throw std::logic_error("nothing to patch: " + from);
    return bytes.replace(at, from.size(), to);
}

std::string nestedBinary(unsigned objects, unsigned refs) {
    std::string out = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (unsigned i = 0; i < objects; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        unsigned n = i + 1 < objects ? refs : 0;
        out += static_cast<char>(0xA0 | n);
        for (unsigned k = 0; k < n; ++k) {
            out += static_cast<char>((i + 1) >> 8);
            out += static_cast<char>((i + 1) & 0xFF);
        }
    }
    std::uint64_t table = out.size();
    for (std::uint32_t o : offsets)
        for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(o >> shift);
    std::string trailer(32, '\0');
    trailer[6] = 4;  // offset size
    trailer[7] = 2;  // reference size
    for (int k = 0; k < 8; ++k) {
        trailer[8 + k] = static_cast<char>(std::uint64_t(objects) >> (56 - 8 * k));
        trailer[24 + k] = static_cast<char>(table >> (56 - 8 * k));
    }
    return out + trailer;
}

std::string nestedXml(int levels) {
    std::string out = "<plist>";
    for (int i = 0; i < levels; ++i) out += "<array>";
    for (int i = 0; i < levels; ++i) out += "</array>";
    return out + "</plist>";
}

std::vector<DamagedFile> damagedPropertyLists() {
    using namespace std::string_literals;
    auto binary = [](const char* key, const char* value) {
        return *plist::toBinary(Value(Value::Dictionary{{key, Value(value)}}));
    };
    return {
        {"xml-nul-string", "<string>\0</string>"s},
        {"xml-nul-key", "<plist><dict><key>a\0b</key><string>c</string></dict></plist>"s},
        {"binary-nul-string", patched(binary("k", "xyz"), "xyz", "x\0z"s)},
        {"binary-nul-utf16-string", patched(binary("k", "\xC3\xA9"), "\x61\x00\xE9"s, "\x61\x00\x00"s)},
        {"binary-nul-key", patched(binary("kqz", "v"), "kqz", "k\0z"s)},
        {"xml-40000-arrays", nestedXml(40000)},
        {"binary-40000-arrays", nestedBinary(40000, 1)},
    };
}

}  // namespace platform::testing

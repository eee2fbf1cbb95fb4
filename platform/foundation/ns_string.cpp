#include "platform/foundation/ns_string.h"

#include <cstdint>
#include <utility>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace platform {

namespace {

// Decodes one code point at `i` (moving past it); -1 for a malformed sequence.
long decodeAt(std::string_view s, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    // A lead byte that is no lead, or a sequence cut off by the end.
    if (extra < 0 || static_cast<std::size_t>(extra) >= s.size() - i) return ++i, -1;
    long cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra; ++k) {
        unsigned char n = byte(i + static_cast<std::size_t>(k));
        if ((n & 0xC0) != 0x80) return ++i, -1;
        cp = cp << 6 | (n & 0x3F);
    }
    static constexpr long kMinimum[] = {0, 0x80, 0x800, 0x10000};
    i += static_cast<std::size_t>(extra) + 1;
    if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    return cp;
}

bool isSpaceSeparatorOrTab(long cp) {
    return cp == 0x09 || cp == 0x20 || cp == 0xA0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F ||
           cp == 0x205F || cp == 0x3000;
}

bool isNewline(long cp) { return (cp >= 0x0A && cp <= 0x0D) || cp == 0x85 || cp == 0x2028 || cp == 0x2029; }

template <class Pred>
std::string trim(std::string_view s, Pred trimmed) {
    // Code point boundaries of the text; trim from both ends.
    std::vector<std::pair<std::size_t, long>> points;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t at = i;
        points.emplace_back(at, decodeAt(s, i));
    }
    std::size_t first = 0, last = points.size();
    while (first < last && trimmed(points[first].second)) ++first;
    while (last > first && trimmed(points[last - 1].second)) --last;
    if (first == last) return {};
    std::size_t begin = points[first].first;
    std::size_t end = last < points.size() ? points[last].first : s.size();
    return std::string(s.substr(begin, end - begin));
}

}  // namespace

bool isValidUTF8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (decodeAt(text, i) < 0) return false;
    return true;
}

std::string trimWhitespace(std::string_view text) { return trim(text, isSpaceSeparatorOrTab); }

std::string trimWhitespaceAndNewlines(std::string_view text) {
    return trim(text, [](long cp) { return isSpaceSeparatorOrTab(cp) || isNewline(cp); });
}

std::vector<std::string> componentsSeparatedByString(std::string_view text, std::string_view separator) {
    if (separator.empty()) return {std::string(text)};
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + separator.size())
        out.emplace_back(text.substr(start, at - start));
    out.emplace_back(text.substr(start));
    return out;
}

bool hasPrefix(std::string_view text, std::string_view prefix) { return !prefix.empty() && text.starts_with(prefix); }
bool hasSuffix(std::string_view text, std::string_view suffix) { return !suffix.empty() && text.ends_with(suffix); }

std::string lowercaseString(std::string_view text) {
    if (!isValidUTF8(text)) return std::string(text);
    std::string out;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size()))).toLower(icu::Locale::getRoot()).toUTF8String(out);
    return out;
}

std::string stringByAppendingPathComponent(std::string_view path, std::string_view component) {
    std::string out(path);
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    while (!component.empty() && component.front() == '/') component.remove_prefix(1);
    if (out.empty()) return std::string(component);
    if (out.back() != '/' && !component.empty()) out += '/';
    out += component;
    return out;
}

std::string stringByStandardizingPath(std::string_view path) {
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string> kept;
    for (const std::string& part : componentsSeparatedByString(path, "/")) {
        if (part.empty() || part == ".") continue;
        if (part == ".." && absolute) {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < kept.size(); ++i) out += (i ? "/" : "") + kept[i];
    return out.empty() && !path.empty() ? std::string(path.substr(0, 1)) : out;
}

}  // namespace platform

#include "platform/uikit/text_metrics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/uikit/font.h"

namespace platform {
namespace text {

std::size_t codePoints(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

namespace {

// Lines of one paragraph, as counts of characters, wrapped within `limit`
// characters (0: no wrapping).
void wrapParagraph(std::string_view paragraph, std::size_t limit, std::vector<std::size_t>& lines) {
    if (limit == 0) {
        lines.push_back(codePoints(paragraph));
        return;
    }
    std::vector<std::size_t> words;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t space = paragraph.find(' ', start);
        if (space == std::string_view::npos) space = paragraph.size();
        words.push_back(codePoints(paragraph.substr(start, space - start)));
        start = space + 1;
    }
    std::size_t current = 0;
    bool empty = true;
    for (std::size_t word : words) {
        if (!empty && current + 1 + word <= limit) {
            current += 1 + word;
            continue;
        }
        if (!empty) lines.push_back(current);
        // A word wider than the line is broken between characters.
        while (word > limit) {
            lines.push_back(limit);
            word -= limit;
        }
        current = word;
        empty = false;
    }
    lines.push_back(current);
}

}  // namespace

Size measure(std::string_view text, double pointSize, double maxWidth, long long numberOfLines) {
    if (text.empty() || pointSize <= 0) return {};
    double charWidth = kCharacterWidth * pointSize;
    bool wraps = numberOfLines != 1 && maxWidth > 0;
    std::size_t limit = wraps ? std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(maxWidth / charWidth + 1e-9))) : 0;
    std::vector<std::size_t> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t newline = text.find('\n', start);
        wrapParagraph(text.substr(start, newline == std::string_view::npos ? std::string_view::npos : newline - start), limit, lines);
        if (newline == std::string_view::npos) break;
        start = newline + 1;
    }
    if (numberOfLines > 0 && lines.size() > static_cast<std::size_t>(numberOfLines)) lines.resize(static_cast<std::size_t>(numberOfLines));
    std::size_t widest = *std::max_element(lines.begin(), lines.end());
    return {static_cast<double>(widest) * charWidth, static_cast<double>(lines.size()) * lineHeight(pointSize)};
}

}  // namespace text

Rect boundingRectWithSize(const Value& string, Size size, unsigned long long options, const Value& attributes) {
    auto* font = attributes[NSFontAttributeName].objectAs<UIFont>();
    double pointSize = font ? font->pointSize() : 12.0;
    if (!(options & NSStringDrawingUsesLineFragmentOrigin)) return Rect({0, 0}, text::measure(string.string(), pointSize, 0, 1));
    long long lines = 0;
    if (size.height > 0) lines = std::max(1LL, static_cast<long long>(std::floor(size.height / text::lineHeight(pointSize) + 1e-9)));
    return Rect({0, 0}, text::measure(string.string(), pointSize, size.width, lines));
}

}  // namespace platform

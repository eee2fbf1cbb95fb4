// Deterministic text metrics, so that sizeToFit, sizeThatFits: and the string
// measurement give the same numbers on every machine. Nothing is rendered.
//
// The rules:
// - every character (a UTF-8 code point, not a byte) is 0.5 x the point size
//   wide; a line is 1.2 x the point size high;
// - a line break ("\n") always ends a line;
// - when lines wrap (numberOfLines other than 1, and a width limit above 0),
//   lines break at spaces; a space at a break is not counted; a word longer than
//   the width is broken between characters;
// - numberOfLines above 0 keeps at most that many lines; 0 keeps them all;
// - the width is the widest line, the height lines x line height; an empty or
//   nil text measures (0, 0). A single line is never narrowed to the limit.
// Main thread or any thread: pure functions.
#pragma once

#include <string_view>

#include "platform/uikit/selectors.h"

namespace platform {

namespace text {
inline constexpr double kCharacterWidth = 0.5;  // x point size
inline constexpr double kLineHeight = 1.2;      // x point size

std::size_t codePoints(std::string_view utf8);
inline double lineHeight(double pointSize) { return kLineHeight * pointSize; }
// The size `text` needs in a font of `pointSize`: wrapped within `maxWidth`
// (0 or less: no limit) and at most `numberOfLines` lines (0: any).
Size measure(std::string_view text, double pointSize, double maxWidth, long long numberOfLines);
}  // namespace text

// NSString (UIStringDrawing): -boundingRectWithSize:options:attributes:context:.
// The font is the attributes' NSFontAttributeName (Helvetica 12 when none).
// With NSStringDrawingUsesLineFragmentOrigin the text wraps within the size's
// width and keeps the whole lines that fit its height (at least one); without
// it the text is one line. The origin is (0, 0).
inline constexpr const char* NSFontAttributeName = "NSFont";
inline constexpr unsigned long long NSStringDrawingTruncatesLastVisibleLine = 1 << 5;
inline constexpr unsigned long long NSStringDrawingUsesLineFragmentOrigin = 1 << 0;
inline constexpr unsigned long long NSStringDrawingUsesFontLeading = 1 << 1;
Rect boundingRectWithSize(const Value& string, Size size, unsigned long long options, const Value& attributes);

}  // namespace platform

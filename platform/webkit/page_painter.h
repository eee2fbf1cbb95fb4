// The one painting rule of web pages, shared by every page engine: it reads
// the visible-content model (page_engine.h) and paints filled rectangles.
// - The page's background, when it has one, fills the whole view.
// - An element positioned absolutely fills its style left/top/width/height,
//   measured from the page's top left (an image without a style width or
//   height takes its own); it takes no room in the flow.
// - Other elements stack from the top of their container: a block is as wide
//   as its container and as high as its style height, else its image's height,
//   else its content (its own text, then its children). Its background colour
//   fills that box; an image fills its own width (capped at the container's)
//   and height with kImageColor.
// - Text is lines of kTextLineHeight, wrapped at kTextCharWidth a character;
//   each line fills its characters' width in the text's colour.
// - display:none leaves an element and what is inside it out; visibility:hidden
//   keeps its room but paints nothing of its own.
#pragma once

#include "platform/uikit/graphics.h"
#include "platform/webkit/page_engine.h"

namespace platform::webkit {

inline constexpr double kTextLineHeight = 16;
inline constexpr double kTextCharWidth = 8;
// Images are painted as boxes of one colour; their pixels are not modelled.
inline constexpr Rgba8 kImageColor{128, 128, 128, 255};

// Paints `page` into `context`, whose current space is the page's (UIKit's:
// origin at the top left, in points), over a view of `size`.
void paintPage(const PageContent& page, const CGContextRef& context, Size size);

}  // namespace platform::webkit

#include "platform/webkit/page_painter.h"

#include <algorithm>
#include <cmath>

namespace platform::webkit {

namespace {

// Characters, not bytes: UTF-8 continuation bytes do not count.
std::size_t characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::size_t charactersPerLine(double width) { return std::max<std::size_t>(1, static_cast<std::size_t>(width / kTextCharWidth)); }

double textHeight(const std::string& text, double width) {
    std::size_t n = characters(text);
    if (n == 0) return 0;
    std::size_t perLine = charactersPerLine(width);
    return static_cast<double>((n + perLine - 1) / perLine) * kTextLineHeight;
}

// Paints (when a context is given) and measures.
class Layout {
public:
    explicit Layout(const CGContextRef* context) : context_(context) {}

    // Lays `elements` out in a column at (x, y) of `width`; answers the height taken.
    double flow(const std::vector<VisibleElement>& elements, double x, double y, double width) {
        double top = y;
        for (const VisibleElement& e : elements) {
            if (e.displayNone) continue;
            if (e.absolute) {
                positioned(e);
                continue;
            }
            y += block(e, x, y, width);
        }
        return y - top;
    }

private:
    void positioned(const VisibleElement& e) {
        double width = e.width.value_or(e.image ? e.imageWidth : 0);
        double x = e.left.value_or(0), y = e.top.value_or(0);
        double height = e.height ? *e.height : (e.image ? e.imageHeight : content(e, x, y, width, false));
        if (!e.visibilityHidden) {
            if (e.background) fill(Rect(x, y, width, height), *e.background);
            if (e.image) fill(Rect(x, y, width, height), kImageColor);
        }
        content(e, x, y, width, true);
    }

    double block(const VisibleElement& e, double x, double y, double width) {
        double imageHeight = e.image ? e.height.value_or(e.imageHeight) : 0;
        double height = e.height ? *e.height : (e.image ? imageHeight : content(e, x, y, width, false));
        if (!e.visibilityHidden) {
            if (e.background) fill(Rect(x, y, width, height), *e.background);
            if (e.image) fill(Rect(x, y, std::min(width, e.width.value_or(e.imageWidth)), imageHeight), kImageColor);
        }
        content(e, x, y, width, true);
        return height;
    }

    // The element's text and then its children, from (x, y); answers their height.
    double content(const VisibleElement& e, double x, double y, double width, bool paint) {
        const CGContextRef* keep = context_;
        if (!paint) context_ = nullptr;
        double text = textHeight(e.text, width);
        if (context_ && !e.visibilityHidden && text > 0) paintText(e, x, y, width);
        double children = flow(e.children, x, y + text, width);
        context_ = keep;
        return text + children;
    }

    void paintText(const VisibleElement& e, double x, double y, double width) {
        std::size_t left = characters(e.text), perLine = charactersPerLine(width);
        Rgba8 color = e.color.value_or(Rgba8{0, 0, 0, 255});
        for (; left > 0; y += kTextLineHeight) {
            std::size_t line = std::min(left, perLine);
            fill(Rect(x, y, static_cast<double>(line) * kTextCharWidth, kTextLineHeight), color);
            left -= line;
        }
    }

    void fill(Rect r, Rgba8 c) {
        if (!context_ || r.width() <= 0 || r.height() <= 0) return;
        CGContextSetRGBFillColor(*context_, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
        CGContextFillRect(*context_, r);
    }

    const CGContextRef* context_;
};

}  // namespace

void paintPage(const PageContent& page, const CGContextRef& context, Size size) {
    if (!context) return;
    if (page.background) {
        const Rgba8& c = *page.background;
        CGContextSetRGBFillColor(context, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
        CGContextFillRect(context, Rect({0, 0}, size));
    }
    Layout(&context).flow(page.elements, 0, 0, size.width);
}

}  // namespace platform::webkit

// HTML5 parsing for the real page engine: Gumbo's tree copied into plain
// nodes that outlive the parser's buffer. Gumbo follows the HTML5 tree
// building rules, so a page always has <html>, <head> and <body>.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::webkit {

struct HtmlNode {
    enum class Kind { element, text, comment };
    Kind kind = Kind::element;
    std::string name;  // lower-case tag name of an element
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;  // of a text or comment node
    int line = 1;      // where the node starts in the source
    std::vector<HtmlNode> children;
};

// The <html> element of a whole document.
HtmlNode parseDocument(std::string_view html);
// The nodes of `html` parsed as the content of a `context` element (innerHTML).
std::vector<HtmlNode> parseFragment(std::string_view html, std::string_view context);

}  // namespace platform::webkit

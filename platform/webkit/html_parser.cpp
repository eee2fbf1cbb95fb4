#include "platform/webkit/html_parser.h"

#include <gumbo.h>

#include <memory>

namespace platform::webkit {
namespace {

std::string tagName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name(piece.data ? piece.data : "", piece.length);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

const GumboVector* childrenOf(const GumboNode* node) {
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) return &node->v.element.children;
    return nullptr;
}

// Iterative, so that deeply nested markup cannot exhaust the stack. As in
// WebKit's parser, elements nested deeper than kMaxDepth are laid side by side
// at that depth, so that nothing built from the tree recurses without bound.
constexpr int kMaxDepth = 512;

HtmlNode copyTree(const GumboNode* root) {
    HtmlNode out;
    struct Frame {
        const GumboNode* node;
        HtmlNode* copy;
        int depth;
    };
    std::vector<Frame> pending{{root, &out, 0}};
    while (!pending.empty()) {
        Frame frame = pending.back();
        pending.pop_back();
        const GumboNode* node = frame.node;
        HtmlNode& copy = *frame.copy;
        switch (node->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                const GumboElement& element = node->v.element;
                copy.kind = HtmlNode::Kind::element;
                copy.name = tagName(element);
                copy.line = static_cast<int>(element.start_pos.line);
                for (unsigned i = 0; i < element.attributes.length; ++i) {
                    auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
                    copy.attributes.emplace_back(attribute->name, attribute->value);
                }
                if (frame.depth > kMaxDepth) break;  // laid beside its parent already
                if (frame.depth < kMaxDepth) {
                    copy.children.resize(element.children.length);
                    for (unsigned i = element.children.length; i-- > 0;) {
                        pending.push_back({static_cast<const GumboNode*>(element.children.data[i]), &copy.children[i],
                                           frame.depth + 1});
                    }
                    break;
                }
                // At the limit: every descendant, in document order, becomes a child.
                std::vector<const GumboNode*> flat;
                std::vector<const GumboNode*> walk;
                for (unsigned i = element.children.length; i-- > 0;)
                    walk.push_back(static_cast<const GumboNode*>(element.children.data[i]));
                while (!walk.empty()) {
                    const GumboNode* n = walk.back();
                    walk.pop_back();
                    flat.push_back(n);
                    if (const GumboVector* children = childrenOf(n)) {
                        for (unsigned i = children->length; i-- > 0;)
                            walk.push_back(static_cast<const GumboNode*>(children->data[i]));
                    }
                }
                copy.children.resize(flat.size());
                for (std::size_t i = flat.size(); i-- > 0;) pending.push_back({flat[i], &copy.children[i], kMaxDepth + 1});
                break;
            }
            case GUMBO_NODE_COMMENT:
                copy.kind = HtmlNode::Kind::comment;
                copy.text = node->v.text.text;
                copy.line = static_cast<int>(node->v.text.start_pos.line);
                break;
            default:
                copy.kind = HtmlNode::Kind::text;
                copy.text = node->v.text.text;
                copy.line = static_cast<int>(node->v.text.start_pos.line);
                break;
        }
    }
    return out;
}

struct Output {
    GumboOptions options;
    GumboOutput* output;
    ~Output() { gumbo_destroy_output(&options, output); }
};

}  // namespace

HtmlNode parseDocument(std::string_view html) {
    Output parsed{kGumboDefaultOptions, nullptr};
    parsed.output = gumbo_parse_with_options(&parsed.options, html.data(), html.size());
    return copyTree(parsed.output->root);
}

std::vector<HtmlNode> parseFragment(std::string_view html, std::string_view context) {
    Output parsed{kGumboDefaultOptions, nullptr};
    GumboTag tag = gumbo_tagn_enum(context.data(), static_cast<unsigned>(context.size()));
    // Fragments of unknown or document-level elements parse as body content.
    if (tag == GUMBO_TAG_UNKNOWN || tag == GUMBO_TAG_HTML || tag == GUMBO_TAG_LAST) tag = GUMBO_TAG_BODY;
    parsed.options.fragment_context = tag;
    parsed.output = gumbo_parse_with_options(&parsed.options, html.data(), html.size());
    return copyTree(parsed.output->root).children;
}

}  // namespace platform::webkit

// The at-sign templates: a template (the first line) filled with values (one
// "keyword=value" a line), and the marker primitives on the same text. A
// filled template never keeps a marker of a value it was given.
#include <vector>

#include "adlib/foundation/string_utilities.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    adlib::fuzz::bootOnce();
    auto [templ, rest] = adlib::fuzz::firstLine(adlib::fuzz::text(data, size));
    std::vector<adlib::YBXTemplateValue> values;
    while (!rest.empty()) {
        auto [line, next] = adlib::fuzz::firstLine(rest);
        rest = next;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        values.emplace_back(line.substr(0, equals), Value(std::string(line.substr(equals + 1))));
    }
    (void)adlib::YBXExpandAtQuotedTemplate(templ, values);

    std::string text(templ);
    for (const auto& [keyword, value] : values) adlib::ybx_replaceAtQuotedKeywordPattern_withString(text, Value(std::string(keyword)), value);
    adlib::ybx_removeAtQuotedKeywords(text);
    adlib::ybx_unescapeAts(text);
    std::string escaped = adlib::ybx_escapeAts(templ);
    adlib::ybx_unescapeAts(escaped);
    // Escaping then unescaping gives the text back.
    if (escaped != templ) std::abort();
    return 0;
}

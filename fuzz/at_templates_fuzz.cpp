// The at-sign templates: a template (the first line) filled with values (one
// a line, for the library's own keywords in turn), and the marker primitives
// on the same text. Keywords are the library's; templates and values come
// from servers.
#include <array>
#include <vector>

#include "adlib/foundation/string_utilities.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    static constexpr std::array<std::string_view, 5> kKeywords{"sku", "quantity", "appid", "osversion", "timestamp"};
    auto [templ, rest] = adlib::fuzz::firstLine(adlib::fuzz::text(data, size));
    std::vector<adlib::YBXTemplateValue> values;
    while (!rest.empty() && values.size() < kKeywords.size()) {
        auto [line, next] = adlib::fuzz::firstLine(rest);
        rest = next;
        values.emplace_back(kKeywords[values.size()], Value(std::string(line)));
    }
    (void)adlib::YBXExpandAtQuotedTemplate(templ, values);

    std::string text(templ);
    for (const auto& [keyword, value] : values) adlib::ybx_replaceAtQuotedKeywordPattern_withString(text, Value(std::string(keyword)), value);
    adlib::ybx_removeAtQuotedKeywords(text);
    adlib::ybx_unescapeAts(text);
    // Escaping then unescaping gives the text back.
    std::string escaped = adlib::ybx_escapeAts(templ);
    adlib::ybx_unescapeAts(escaped);
    if (escaped != templ) std::abort();
    return 0;
}

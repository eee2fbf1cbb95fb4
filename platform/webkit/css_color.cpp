#include "platform/webkit/css_color.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/foundation/codecs.h"

namespace platform::webkit {
namespace {

struct Named {
    const char* name;
    std::uint32_t rgb;
};

// The named colours creatives use; sorted by name.
constexpr Named kNamed[] = {
    {"aqua", 0x00ffff},    {"black", 0x000000},  {"blue", 0x0000ff},   {"brown", 0xa52a2a},  {"cyan", 0x00ffff},
    {"darkblue", 0x00008b}, {"darkgray", 0xa9a9a9}, {"darkgreen", 0x006400}, {"darkgrey", 0xa9a9a9},
    {"darkred", 0x8b0000}, {"fuchsia", 0xff00ff}, {"gold", 0xffd700},   {"gray", 0x808080},   {"green", 0x008000},
    {"grey", 0x808080},    {"lightblue", 0xadd8e6}, {"lightgray", 0xd3d3d3}, {"lightgreen", 0x90ee90},
    {"lightgrey", 0xd3d3d3}, {"lime", 0x00ff00},  {"magenta", 0xff00ff}, {"maroon", 0x800000}, {"navy", 0x000080},
    {"olive", 0x808000},   {"orange", 0xffa500}, {"pink", 0xffc0cb},   {"purple", 0x800080}, {"red", 0xff0000},
    {"silver", 0xc0c0c0},  {"teal", 0x008080},   {"white", 0xffffff},  {"yellow", 0xffff00},
};

std::optional<Rgba8> withAlpha(Rgba8 c) {
    if (c.a == 0) return std::nullopt;
    return c;
}

std::optional<Rgba8> hexColor(std::string_view hex) {
    std::vector<int> digits;
    for (char ch : hex) {
        int v = hexDigitValue(ch);
        if (v < 0) return std::nullopt;
        digits.push_back(v);
    }
    auto pair = [&](std::size_t i) { return static_cast<std::uint8_t>(digits[i] * 16 + digits[i + 1]); };
    auto twice = [&](std::size_t i) { return static_cast<std::uint8_t>(digits[i] * 17); };
    switch (digits.size()) {
        case 3: return withAlpha({twice(0), twice(1), twice(2), 255});
        case 4: return withAlpha({twice(0), twice(1), twice(2), twice(3)});
        case 6: return withAlpha({pair(0), pair(2), pair(4), 255});
        case 8: return withAlpha({pair(0), pair(2), pair(4), pair(6)});
        default: return std::nullopt;
    }
}

// "rgb(1, 2, 3)", "rgba(1,2,3,0.5)", components as numbers or percentages.
std::optional<Rgba8> functionColor(std::string_view args) {
    std::vector<std::string> parts;
    std::string current;
    for (char ch : args) {
        if (ch == ',' || ch == '/' || ch == ' ') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.empty()) parts.push_back(current);
    if (parts.size() != 3 && parts.size() != 4) return std::nullopt;
    auto component = [](const std::string& text, double scale) -> std::optional<double> {
        char* end = nullptr;
        double v = std::strtod(text.c_str(), &end);
        if (end == text.c_str()) return std::nullopt;
        if (*end == '%') return std::clamp(v / 100.0, 0.0, 1.0) * scale;
        if (*end != '\0') return std::nullopt;
        return std::clamp(v, 0.0, scale);
    };
    Rgba8 c;
    std::uint8_t* channels[] = {&c.r, &c.g, &c.b};
    for (int i = 0; i < 3; ++i) {
        auto v = component(parts[i], 255);
        if (!v) return std::nullopt;
        *channels[i] = static_cast<std::uint8_t>(std::lround(*v));
    }
    if (parts.size() == 4) {
        auto alpha = component(parts[3], 1);
        if (!alpha) return std::nullopt;
        c.a = static_cast<std::uint8_t>(std::lround(*alpha * 255));
    }
    return withAlpha(c);
}

}  // namespace

std::optional<Rgba8> parseCssColor(std::string_view text) {
    std::string t;
    for (char ch : text) t += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    while (!t.empty() && t.back() == ' ') t.pop_back();
    std::size_t start = t.find_first_not_of(' ');
    if (start == std::string::npos) return std::nullopt;
    std::string_view v = std::string_view(t).substr(start);
    if (v.size() > 1 && v[0] == '#') return hexColor(v.substr(1));
    for (std::string_view fn : {"rgba(", "rgb("}) {
        if (v.substr(0, fn.size()) == fn && v.back() == ')') return functionColor(v.substr(fn.size(), v.size() - fn.size() - 1));
    }
    auto it = std::lower_bound(std::begin(kNamed), std::end(kNamed), v,
                               [](const Named& n, std::string_view name) { return std::string_view(n.name) < name; });
    if (it == std::end(kNamed) || it->name != v) return std::nullopt;
    return Rgba8{static_cast<std::uint8_t>(it->rgb >> 16), static_cast<std::uint8_t>(it->rgb >> 8),
                 static_cast<std::uint8_t>(it->rgb), 255};
}

}  // namespace platform::webkit

#include "platform/foundation/format.h"

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>

namespace platform {

namespace {

// printf formats numbers with the locale's decimal point; ours is always ".".
void fixDecimalPoint(std::string& s) {
    const char* point = std::localeconv()->decimal_point;
    if (!point || (point[0] == '.' && point[1] == 0)) return;
    std::string p(point);
    for (auto pos = s.find(p); pos != std::string::npos; pos = s.find(p, pos + 1)) s.replace(pos, p.size(), ".");
}

template <class T>
std::string printfOne(const std::string& spec, T value) {
    char buf[128];
    int n = std::snprintf(buf, sizeof buf, spec.c_str(), value);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof buf) return std::string(buf, static_cast<std::size_t>(n));
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), spec.c_str(), value);
    big.resize(static_cast<std::size_t>(n));
    return big;
}

// Widths and precisions beyond this are taken as this: no text of the system
// needs more, and a huge one would only cost time and memory.
constexpr int kMaxWidth = 4096;

// Reads the digits at `i` as a number, saturating at kMaxWidth.
int readCount(std::string_view fmt, std::size_t& i) {
    int n = 0;
    while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') n = std::min(kMaxWidth, n * 10 + (fmt[i++] - '0'));
    return n;
}

std::string pad(std::string s, int width, bool left, int precision) {
    if (precision >= 0 && s.size() > static_cast<std::size_t>(precision)) s.resize(static_cast<std::size_t>(precision));
    if (width > 0 && s.size() < static_cast<std::size_t>(width)) {
        std::string fill(static_cast<std::size_t>(width) - s.size(), ' ');
        s = left ? s + fill : fill + s;
    }
    return s;
}

}  // namespace

std::string formatArgs(std::string_view fmt, const FormatArg* args, std::size_t count) {
    std::string out;
    std::size_t next = 0;
    auto arg = [&]() -> const FormatArg* { return next < count ? &args[next++] : nullptr; };

    for (std::size_t i = 0; i < fmt.size(); ++i) {
        char c = fmt[i];
        if (c != '%') {
            out += c;
            continue;
        }
        std::size_t start = i++;
        std::string flags;
        while (i < fmt.size() && std::string_view("-+ #0").find(fmt[i]) != std::string_view::npos) flags += fmt[i++];
        int width = -1, precision = -1;
        if (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') width = readCount(fmt, i);
        bool hasPrecision = false;
        if (i < fmt.size() && fmt[i] == '.') {
            hasPrecision = true;
            ++i;
            precision = readCount(fmt, i);
        }
        std::string length;
        while (i < fmt.size() && std::string_view("hlqLzjt").find(fmt[i]) != std::string_view::npos) length += fmt[i++];
        if (i >= fmt.size()) {
            out.append(fmt.substr(start));
            break;
        }
        char conv = fmt[i];
        std::string spec = "%" + flags + (width >= 0 ? std::to_string(width) : "") + (hasPrecision ? "." + std::to_string(precision) : "");
        bool wide = !length.empty() && length != "h" && length != "hh";
        bool left = flags.find('-') != std::string::npos;

        switch (conv) {
            case '%': out += '%'; break;
            case '@': {
                const FormatArg* a = arg();
                out += pad(a ? a->value().description() : "(null)", width, left, precision);
                break;
            }
            case 's': {
                const FormatArg* a = arg();
                out += pad(a && !a->value().isNil() ? a->value().description() : "(null)", width, left, precision);
                break;
            }
            case 'c': {
                const FormatArg* a = arg();
                out += pad(std::string(1, static_cast<char>(a ? a->value().integerValue() : 0)), width, left, -1);
                break;
            }
            case 'd':
            case 'i': {
                const FormatArg* a = arg();
                long long v = a ? a->value().integerValue() : 0;
                out += wide ? printfOne(spec + "lld", v) : printfOne(spec + "d", static_cast<int>(v));
                break;
            }
            case 'u':
            case 'x':
            case 'X':
            case 'o': {
                const FormatArg* a = arg();
                unsigned long long v = a ? a->value().unsignedLongLongValue() : 0;
                out += wide ? printfOne(spec + "ll" + conv, v) : printfOne(spec + conv, static_cast<unsigned>(v));
                break;
            }
            case 'f':
            case 'F':
            case 'e':
            case 'E':
            case 'g':
            case 'G':
            case 'a':
            case 'A': {
                const FormatArg* a = arg();
                std::string s = printfOne(spec + conv, a ? a->value().doubleValue() : 0.0);
                fixDecimalPoint(s);
                out += s;
                break;
            }
            case 'p': {
                const FormatArg* a = arg();
                auto v = static_cast<std::uintptr_t>(a ? a->value().integerValue() : 0);
                if (a && a->value().isObject()) v = reinterpret_cast<std::uintptr_t>(a->value().object());
                out += pad("0x" + printfOne("%lx", static_cast<unsigned long>(v)), width, left, -1);
                break;
            }
            default: out.append(fmt.substr(start, i - start + 1)); break;
        }
    }
    return out;
}

}  // namespace platform

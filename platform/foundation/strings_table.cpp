#include "platform/foundation/strings_table.h"

#include <cctype>
#include <cstdint>
#include <optional>

namespace platform {

namespace {

bool isHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u < 0xDC00; }
bool isLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u < 0xE000; }

// A surrogate that is not part of a pair has no UTF-8 form: it becomes U+FFFD.
void appendUtf8(std::string& out, std::uint32_t cp) {
    if (isHighSurrogate(cp) || isLowSurrogate(cp)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 (with a byte-order mark) to UTF-8; other input is taken as UTF-8.
std::string toUtf8(std::string_view bytes) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) return std::string(bytes.substr(3));
    if (bytes.size() < 2 || !((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF))) return std::string(bytes);
    bool little = b(0) == 0xFF;
    std::string out;
    auto unit = [&](std::size_t i) -> std::uint32_t { return little ? (b(i) | b(i + 1) << 8) : (b(i) << 8 | b(i + 1)); };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        std::uint32_t u = unit(i);
        if (isHighSurrogate(u) && i + 3 < bytes.size()) {
            std::uint32_t low = unit(i + 2);
            if (isLowSurrogate(low)) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, u);
    }
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    Result<StringsTable> run() {
        StringsTable table;
        for (;;) {
            if (auto e = skip()) return *e;
            if (i_ >= s_.size()) return table;
            auto key = token();
            if (!key) return key.error();
            if (auto e = skip()) return *e;
            if (peek() == ';') {
                ++i_;
                table[*key] = *key;
                continue;
            }
            if (peek() != '=') return fail("expected '=' after key");
            ++i_;
            if (auto e = skip()) return *e;
            auto value = token();
            if (!value) return value.error();
            if (auto e = skip()) return *e;
            if (peek() != ';') return fail("expected ';' after value");
            ++i_;
            table[*key] = *value;
        }
    }

private:
    char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }

    Error fail(std::string what) const {
        int line = 1;
        for (std::size_t k = 0; k < i_ && k < s_.size(); ++k) line += s_[k] == '\n';
        return Error{"line " + std::to_string(line) + ": " + what};
    }

    // Skips white space and comments.
    std::optional<Error> skip() {
        for (;;) {
            while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
            if (s_.substr(i_, 2) == "//") {
                while (i_ < s_.size() && s_[i_] != '\n') ++i_;
            } else if (s_.substr(i_, 2) == "/*") {
                auto end = s_.find("*/", i_ + 2);
                if (end == std::string_view::npos) return fail("unterminated comment");
                i_ = end + 2;
            } else {
                return std::nullopt;
            }
        }
    }

    Result<std::string> token() {
        if (peek() == '"') return quoted();
        std::string out;
        while (i_ < s_.size()) {
            char c = s_[i_];
            bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
                         c == '-' || c == '$' || c == '/' || c == ':';
            if (!plain) break;
            out += c;
            ++i_;
        }
        if (out.empty()) return fail("expected a string");
        return out;
    }

    Result<std::string> quoted() {
        ++i_;
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size()) break;
            char e = s_[i_++];
            switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case '0': out += '\0'; break;
                case 'U':
                case 'u': {
                    auto cp = hexDigits();
                    if (!cp) return fail("bad \\U escape");
                    // Two escapes that form a UTF-16 surrogate pair are one character.
                    if (isHighSurrogate(*cp) && (s_.substr(i_, 2) == "\\U" || s_.substr(i_, 2) == "\\u")) {
                        std::size_t back = i_;
                        i_ += 2;
                        auto low = hexDigits();
                        if (low && isLowSurrogate(*low)) cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                        else i_ = back;
                    }
                    appendUtf8(out, *cp);
                    break;
                }
                default: out += e; break;  // \" \\ \' and anything else stand for themselves
            }
        }
        if (i_ >= s_.size()) return fail("unterminated string");
        ++i_;
        return out;
    }

    // The one to four hex digits of a \\U escape.
    std::optional<std::uint32_t> hexDigits() {
        std::uint32_t cp = 0;
        int digits = 0;
        while (digits < 4 && i_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i_]))) {
            char h = s_[i_++];
            cp = cp * 16 + static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10));
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        return cp;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

Result<StringsTable> parseStringsTable(std::string_view bytes) {
    std::string text = toUtf8(bytes);
    return Parser(text).run();
}

}  // namespace platform

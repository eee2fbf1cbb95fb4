#include "platform/foundation/codecs.h"

#include <cstdio>

#include <openssl/evp.h>

#include "platform/foundation/ns_string.h"

namespace platform {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

unsigned char* CC_MD5(const void* data, std::uint32_t length, unsigned char* md) {
    unsigned int size = 0;
    EVP_Digest(data, length, md, &size, EVP_md5(), nullptr);
    return md;
}

std::string md5Hex(std::string_view bytes) {
    unsigned char md[CC_MD5_DIGEST_LENGTH];
    CC_MD5(bytes.data(), static_cast<std::uint32_t>(bytes.size()), md);
    std::string out;
    for (unsigned char b : md) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", b);
        out += hex;
    }
    return out;
}

// --- Base64 -------------------------------------------------------------------------

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int symbolValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}
}  // namespace

std::string base64Encode(const Data& data, unsigned long options) {
    std::string plain;
    for (std::size_t i = 0; i < data.size(); i += 3) {
        std::uint32_t n = static_cast<std::uint32_t>(data[i]) << 16;
        if (i + 1 < data.size()) n |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        if (i + 2 < data.size()) n |= data[i + 2];
        plain += kAlphabet[n >> 18 & 63];
        plain += kAlphabet[n >> 12 & 63];
        plain += i + 1 < data.size() ? kAlphabet[n >> 6 & 63] : '=';
        plain += i + 2 < data.size() ? kAlphabet[n & 63] : '=';
    }
    std::size_t line = (options & NSDataBase64Encoding64CharacterLineLength) ? 64
                       : (options & NSDataBase64Encoding76CharacterLineLength) ? 76 : 0;
    if (!line) return plain;
    std::string end;
    if (options & NSDataBase64EncodingEndLineWithCarriageReturn) end += '\r';
    if (options & NSDataBase64EncodingEndLineWithLineFeed) end += '\n';
    if (end.empty()) end = "\r\n";
    std::string out;
    for (std::size_t i = 0; i < plain.size(); i += line) {
        if (i) out += end;
        out += plain.substr(i, line);
    }
    return out;
}

std::optional<Data> base64Decode(std::string_view text, unsigned long options) {
    bool ignoreUnknown = options & NSDataBase64DecodingIgnoreUnknownCharacters;
    std::string symbols;
    for (char c : text) {
        if (symbolValue(c) >= 0 || c == '=') symbols += c;
        else if (!ignoreUnknown) return std::nullopt;
    }
    if (symbols.size() % 4 != 0) return std::nullopt;
    Data out;
    for (std::size_t i = 0; i < symbols.size(); i += 4) {
        bool last = i + 4 == symbols.size();
        int v[4];
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            char c = symbols[i + static_cast<std::size_t>(k)];
            if (c == '=') {
                // Padding only closes the last group, and only its last two symbols.
                if (!last || k < 2) return std::nullopt;
                ++padding;
                v[k] = 0;
            } else {
                if (padding) return std::nullopt;
                v[k] = symbolValue(c);
            }
        }
        std::uint32_t n = static_cast<std::uint32_t>(v[0] << 18 | v[1] << 12 | v[2] << 6 | v[3]);
        out.push_back(static_cast<std::uint8_t>(n >> 16));
        if (padding < 2) out.push_back(static_cast<std::uint8_t>(n >> 8));
        if (padding < 1) out.push_back(static_cast<std::uint8_t>(n));
    }
    return out;
}

// --- percent escapes ------------------------------------------------------------------

std::string percentEscape(std::string_view text, std::string_view charactersToEscape) {
    constexpr std::string_view kIllegal = "\"#%<>[\\]^`{|}";
    std::string out;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        bool escape = c <= 0x20 || c >= 0x7F || kIllegal.find(ch) != std::string_view::npos ||
                      charactersToEscape.find(ch) != std::string_view::npos;
        if (!escape) {
            out += ch;
            continue;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += hex;
    }
    return out;
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int hi = hexDigitValue(text[i + 1]), lo = hexDigitValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi << 4 | lo);
        i += 2;
    }
    if (!isValidUTF8(out)) return std::nullopt;
    return out;
}

}  // namespace platform

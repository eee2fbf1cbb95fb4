// Byte and text codes the platform offers: MD5 (CommonCrypto's CC_MD5, through
// OpenSSL), Base64 as NSData writes and reads it, and URL percent escaping as
// CFURLCreateStringByAddingPercentEscapes and percent decoding do it. Pure
// functions; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/value.h"

namespace platform {

// The value of a hexadecimal digit (either letter case), or -1.
int hexDigitValue(char c);

inline constexpr std::size_t CC_MD5_DIGEST_LENGTH = 16;
// Writes the 16-byte digest to `md` and returns it.
unsigned char* CC_MD5(const void* data, std::uint32_t length, unsigned char* md);
// The digest as 32 lower-case hexadecimal digits.
std::string md5Hex(std::string_view bytes);

// NSData base64EncodedStringWithOptions: / initWithBase64EncodedString:options:
inline constexpr unsigned long NSDataBase64Encoding64CharacterLineLength = 1UL << 0;
inline constexpr unsigned long NSDataBase64Encoding76CharacterLineLength = 1UL << 1;
inline constexpr unsigned long NSDataBase64EncodingEndLineWithCarriageReturn = 1UL << 4;
inline constexpr unsigned long NSDataBase64EncodingEndLineWithLineFeed = 1UL << 5;
inline constexpr unsigned long NSDataBase64DecodingIgnoreUnknownCharacters = 1UL << 0;

// Padded; with a line length, lines end in CR LF unless one end is chosen.
std::string base64Encode(const Data& data, unsigned long options = 0);
// None for text with characters outside the alphabet (line breaks included,
// unless unknown characters are ignored), misplaced padding, or a length
// that is not a multiple of four.
std::optional<Data> base64Decode(std::string_view text, unsigned long options = 0);

// The UTF-8 text percent-escaped (upper-case hex): every byte that may not
// stand in a URL (controls, blank, non-ASCII, and "\"#%<>[\\]^`{|}") and every
// character of `charactersToEscape`.
std::string percentEscape(std::string_view text, std::string_view charactersToEscape = {});
// Every "%XX" decoded; none when an escape is malformed or the result is not
// UTF-8.
std::optional<std::string> percentDecode(std::string_view text);

}  // namespace platform

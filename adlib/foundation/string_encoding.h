// YBX_WQTStringEncoding: a base-2^n codec over an ASCII alphabet of 2 to 128
// symbols (binary, hexadecimal, the Base32 and Base64 families), with decode
// synonyms, ignored characters and optional padding. Set up once, then
// immutable: any thread may encode and decode.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id, std::string)> stringEncodingWithString_{"stringEncodingWithString:"};
inline constexpr Sel<Ref<Object>(id, std::string)> initWithString_{"initWithString:"};
inline constexpr Sel<void(id, std::string)> addDecodeSynonyms_{"addDecodeSynonyms:"};
inline constexpr Sel<void(id, std::string)> ignoreCharacters_{"ignoreCharacters:"};
inline constexpr Sel<void(id, char)> setPaddingChar_{"setPaddingChar:"};
inline constexpr Sel<bool(id)> doPad{"doPad"};
inline constexpr Sel<void(id, bool)> setDoPad_{"setDoPad:"};
inline constexpr Sel<std::string(id, Data)> encode_{"encode:"};
inline constexpr Sel<std::string(id, std::string)> encodeString_{"encodeString:"};
// Nil on bad input.
inline constexpr Sel<Value(id, std::string)> decode_{"decode:"};
inline constexpr Sel<Value(id, std::string)> stringByDecoding_{"stringByDecoding:"};
inline constexpr Sel<Ref<Object>(id)> binaryStringEncoding{"binaryStringEncoding"};
inline constexpr Sel<Ref<Object>(id)> hexStringEncoding{"hexStringEncoding"};
inline constexpr Sel<Ref<Object>(id)> rfc4648Base32StringEncoding{"rfc4648Base32StringEncoding"};
inline constexpr Sel<Ref<Object>(id)> rfc4648Base32HexStringEncoding{"rfc4648Base32HexStringEncoding"};
inline constexpr Sel<Ref<Object>(id)> crockfordBase32StringEncoding{"crockfordBase32StringEncoding"};
inline constexpr Sel<Ref<Object>(id)> rfc4648Base64StringEncoding{"rfc4648Base64StringEncoding"};
inline constexpr Sel<Ref<Object>(id)> rfc4648Base64WebsafeStringEncoding{"rfc4648Base64WebsafeStringEncoding"};
}  // namespace sel

class YBX_WQTStringEncoding : public NSObject {
public:
    // reverseCharMap entries besides symbol values.
    static constexpr std::int32_t kInvalid = -1;
    static constexpr std::int32_t kPadding = -2;
    static constexpr std::int32_t kIgnored = -3;

    // False (the object unusable) for an alphabet that is not ASCII, not a
    // power of two between 2 and 128 long, or repeats a character.
    bool setAlphabet(std::string_view alphabet);
    void addDecodeSynonyms(std::string_view synonyms);
    void ignoreCharacters(std::string_view characters);
    void setPaddingChar(char c);

    std::string encode(const Data& data) const;
    std::optional<Data> decode(std::string_view text) const;
    std::string description() const;

    Data charMapData;
    std::array<std::int32_t, 128> reverseCharMap{};
    std::int32_t shift = 0;
    std::int32_t mask = 0;
    bool doPad = false;
    char paddingChar = '=';
    std::int32_t padLen = 0;
};

// The predefined codecs, made once.
YBX_WQTStringEncoding* rfc4648Base64StringEncoding();
YBX_WQTStringEncoding* rfc4648Base64WebsafeStringEncoding();

void registerStringEncodingClass();

}  // namespace adlib

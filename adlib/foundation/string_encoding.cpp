#include "adlib/foundation/string_encoding.h"

#include <numeric>

#include "platform/foundation/format.h"
#include "platform/foundation/ns_string.h"

namespace adlib {

namespace {

YBX_WQTStringEncoding* codecOf(id self) { return as<YBX_WQTStringEncoding>(self); }

bool isASCII(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 128) return false;
    return true;
}

std::size_t slot(char c) { return static_cast<unsigned char>(c); }

}  // namespace

bool YBX_WQTStringEncoding::setAlphabet(std::string_view alphabet) {
    const std::size_t length = alphabet.size();
    if (!isASCII(alphabet) || length < 2 || length > 128 || (length & (length - 1)) != 0) return false;
    reverseCharMap.fill(kInvalid);
    for (std::size_t i = 0; i < length; ++i) {
        if (reverseCharMap[slot(alphabet[i])] != kInvalid) return false;
        reverseCharMap[slot(alphabet[i])] = static_cast<std::int32_t>(i);
    }
    charMapData.assign(alphabet.begin(), alphabet.end());
    shift = 0;
    while ((std::size_t{1} << shift) < length) ++shift;
    mask = (1 << shift) - 1;
    padLen = std::lcm(8, shift) / shift;
    return true;
}

void YBX_WQTStringEncoding::addDecodeSynonyms(std::string_view synonyms) {
    if (!isASCII(synonyms)) return;
    std::int32_t target = kInvalid;
    for (char c : synonyms) {
        std::int32_t& entry = reverseCharMap[slot(c)];
        // A character already mapped keeps its meaning and starts the next group.
        if (entry != kInvalid)
            target = entry;
        else
            entry = target;
    }
}

void YBX_WQTStringEncoding::ignoreCharacters(std::string_view characters) {
    for (char c : characters) {
        if (static_cast<unsigned char>(c) >= 128) continue;
        std::int32_t& entry = reverseCharMap[slot(c)];
        // A programming error, raised as the platform's assertions raise.
        if (entry != kInvalid) throw NSException("NSInternalInconsistencyException", "Character already mapped");
        entry = kIgnored;
    }
}

void YBX_WQTStringEncoding::setPaddingChar(char c) {
    paddingChar = c;
    if (static_cast<unsigned char>(c) < 128) reverseCharMap[slot(c)] = kPadding;
}

std::string YBX_WQTStringEncoding::encode(const Data& data) const {
    if (data.empty() || shift == 0) return "";
    std::size_t symbols = (data.size() * 8 + static_cast<std::size_t>(shift) - 1) / static_cast<std::size_t>(shift);
    std::size_t padded = symbols;
    if (doPad) padded = (symbols + static_cast<std::size_t>(padLen) - 1) / static_cast<std::size_t>(padLen) * static_cast<std::size_t>(padLen);
    std::string out;
    out.reserve(padded);
    std::uint32_t buffer = 0;
    int bits = 0;
    for (std::uint8_t byte : data) {
        buffer = (buffer << 8) | byte;
        bits += 8;
        while (bits >= shift) {
            bits -= shift;
            out += static_cast<char>(charMapData[(buffer >> bits) & static_cast<std::uint32_t>(mask)]);
        }
        buffer &= (1u << bits) - 1;
    }
    if (bits > 0) out += static_cast<char>(charMapData[(buffer << (shift - bits)) & static_cast<std::uint32_t>(mask)]);
    out.append(padded - out.size(), paddingChar);
    return out;
}

std::optional<Data> YBX_WQTStringEncoding::decode(std::string_view text) const {
    if (!isASCII(text) || shift == 0) return std::nullopt;
    Data out;
    out.reserve(text.size() * static_cast<std::size_t>(shift) / 8);
    std::uint32_t buffer = 0;
    int bits = 0;
    bool padding = false;
    for (char c : text) {
        std::int32_t value = reverseCharMap[slot(c)];
        if (value == kIgnored) continue;
        if (value == kInvalid) return std::nullopt;
        if (value == kPadding) {
            padding = true;
            continue;
        }
        if (padding) return std::nullopt;
        buffer = (buffer << shift) | static_cast<std::uint32_t>(value);
        bits += shift;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>(buffer >> bits));
            buffer &= (1u << bits) - 1;
        }
    }
    if (buffer != 0) return std::nullopt;  // leftover bits must be zero
    return out;
}

std::string YBX_WQTStringEncoding::description() const {
    return format("<Base%d StringEncoder: %@>", 1 << shift, std::string(charMapData.begin(), charMapData.end()));
}

namespace {

struct Predefined {
    const char* alphabet;
    bool pad;
    const char* synonyms;
};

YBX_WQTStringEncoding* predefined(const Predefined& p) {
    Ref<Object> codec = sel::initWithString_(alloc("YBX_WQTStringEncoding"), p.alphabet);
    auto* c = codecOf(codec);
    if (!c) return nullptr;
    if (p.synonyms) c->addDecodeSynonyms(p.synonyms);
    if (p.pad) {
        c->setPaddingChar('=');
        c->doPad = true;
    }
    return as<YBX_WQTStringEncoding>(codec.leak());  // kept for the process
}

constexpr Predefined kBinary{"01", false, nullptr};
constexpr Predefined kHex{"0123456789ABCDEF", false, "AaBbCcDdEeFf"};
constexpr Predefined kBase32{"ABCDEFGHIJKLMNOPQRSTUVWXYZ234567", true, nullptr};
constexpr Predefined kBase32Hex{"0123456789ABCDEFGHIJKLMNOPQRSTUV", true, nullptr};
constexpr Predefined kCrockford{"0123456789ABCDEFGHJKMNPQRSTVWXYZ", false, "0oO1iIlLAaBbCcDdEeFfGgHhJjKkMmNnPpQqRrSsTtVvWwXxYyZz"};
constexpr Predefined kBase64{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/", true, nullptr};
constexpr Predefined kBase64Websafe{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_", true, nullptr};

template <const Predefined& P>
Ref<Object> shared(id) {
    static YBX_WQTStringEncoding* codec = predefined(P);
    return Ref<Object>(codec);
}

}  // namespace

YBX_WQTStringEncoding* rfc4648Base64StringEncoding() { return as<YBX_WQTStringEncoding>(shared<kBase64>(nullptr).get()); }
YBX_WQTStringEncoding* rfc4648Base64WebsafeStringEncoding() { return as<YBX_WQTStringEncoding>(shared<kBase64Websafe>(nullptr).get()); }

void registerStringEncodingClass() {
    ClassBuilder<YBX_WQTStringEncoding>("YBX_WQTStringEncoding", "NSObject")
        .method(sel::initWithString_,
                [](id self, std::string alphabet) -> Ref<Object> {
                    auto* c = codecOf(self);
                    return c && c->setAlphabet(alphabet) ? Ref<Object>(self) : nullptr;
                })
        .classMethod(sel::stringEncodingWithString_,
                     [](id cls, std::string alphabet) { return sel::initWithString_(alloc(static_cast<Class*>(cls)), std::move(alphabet)); })
        .method(sel::addDecodeSynonyms_, [](id self, std::string s) { codecOf(self)->addDecodeSynonyms(s); })
        .method(sel::ignoreCharacters_, [](id self, std::string s) { codecOf(self)->ignoreCharacters(s); })
        .method(sel::setPaddingChar_, [](id self, char c) { codecOf(self)->setPaddingChar(c); })
        .property<&YBX_WQTStringEncoding::doPad>(sel::doPad, sel::setDoPad_)
        .method(sel::encode_, [](id self, Data data) { return codecOf(self)->encode(data); })
        .method(sel::encodeString_, [](id self, std::string s) { return codecOf(self)->encode(Data(s.begin(), s.end())); })
        .method(sel::decode_,
                [](id self, std::string s) {
                    auto d = codecOf(self)->decode(s);
                    return d ? Value(std::move(*d)) : Value();
                })
        .method(sel::stringByDecoding_,
                [](id self, std::string s) {
                    auto d = codecOf(self)->decode(s);
                    std::string text = d ? std::string(d->begin(), d->end()) : std::string();
                    return d && isValidUTF8(text) ? Value(std::move(text)) : Value();
                })
        .method(sel::description, [](id self) { return Value(codecOf(self)->description()); })
        .classMethod(sel::binaryStringEncoding, &shared<kBinary>)
        .classMethod(sel::hexStringEncoding, &shared<kHex>)
        .classMethod(sel::rfc4648Base32StringEncoding, &shared<kBase32>)
        .classMethod(sel::rfc4648Base32HexStringEncoding, &shared<kBase32Hex>)
        .classMethod(sel::crockfordBase32StringEncoding, &shared<kCrockford>)
        .classMethod(sel::rfc4648Base64StringEncoding, &shared<kBase64>)
        .classMethod(sel::rfc4648Base64WebsafeStringEncoding, &shared<kBase64Websafe>);
}

}  // namespace adlib

// NSJSONSerialization: JSON text to Values and back, through nlohmann-json.
// Booleans stay booleans and integers stay integers (signed, or unsigned past
// the signed range); JSON null is a nil element. Dictionaries are written in
// their insertion order, and objects read keep the order of their text.
// Failures are NSError values (NSCocoaErrorDomain), never exceptions.
// Stateless; any thread.
#pragma once

#include <string_view>

#include "platform/foundation/error.h"
#include "platform/runtime/value.h"

namespace platform {

inline constexpr unsigned long NSJSONReadingMutableContainers = 1 << 0;
inline constexpr unsigned long NSJSONReadingMutableLeaves = 1 << 1;
inline constexpr unsigned long NSJSONReadingAllowFragments = 1 << 2;
inline constexpr unsigned long NSJSONWritingPrettyPrinted = 1 << 0;

// userInfo key of the platform's developer text for JSON errors.
inline constexpr std::string_view NSDebugDescriptionErrorKey = "NSDebugDescription";

struct NSJSONSerialization {
    // A top-level array or dictionary whose leaves are strings, finite numbers
    // and nil (JSON null) only.
    static bool isValidJSONObject(const Value& object);

    // The UTF-8 JSON text as data; nil and an NSPropertyListWriteInvalidError
    // for an object that is not valid. U+2028 and U+2029 are always written
    // as \u2028 and \u2029 and "/" as "\/", so that the text can be placed
    // inside a script.
    static Value dataWithJSONObject(const Value& object, unsigned long options, Ref<NSError>* error = nullptr);

    // The value of UTF-8 JSON text; nil and an NSPropertyListReadCorruptError
    // for text that does not parse, or whose top level is not an array or a
    // dictionary without NSJSONReadingAllowFragments.
    static Value JSONObjectWithData(const Data& data, unsigned long options, Ref<NSError>* error = nullptr);
    static Value JSONObjectWithText(std::string_view text, unsigned long options, Ref<NSError>* error = nullptr);
};

}  // namespace platform

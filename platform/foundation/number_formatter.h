// NSNumberFormatter: reads numbers from text. Only what the system reads is
// modelled: a whole number, an optional sign and decimal digits making up the
// whole text, in the 64-bit range; no grouping, no locale, no fractions.
// One thread at a time.
#pragma once

#include <string_view>

#include "platform/foundation/selectors.h"
#include "platform/runtime/nsobject.h"

namespace platform {

namespace sel {
// (text) an integer number, or nil when the text is no whole number.
inline constexpr Sel<Value(id, Value)> numberFromString_{"numberFromString:"};
}  // namespace sel

class NSNumberFormatter : public NSObject {
public:
    static Value numberFromString(std::string_view text);
};

void registerNumberFormatter();

}  // namespace platform

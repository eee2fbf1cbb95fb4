#include "platform/foundation/number_formatter.h"

#include <charconv>

namespace platform {

Value NSNumberFormatter::numberFromString(std::string_view text) {
    // from_chars takes a minus sign but neither a plus sign nor white space.
    const bool plus = !text.empty() && text.front() == '+';
    const std::string_view number = plus ? text.substr(1) : text;
    const std::string_view digits = !plus && !number.empty() && number.front() == '-' ? number.substr(1) : number;
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return Value();
    long long value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) return Value();
    return Value(value);
}

void registerNumberFormatter() {
    ClassBuilder<NSNumberFormatter>("NSNumberFormatter", "NSObject")
        .method(sel::numberFromString_,
                [](id, Value text) { return text.isString() ? NSNumberFormatter::numberFromString(text.string()) : Value(); });
}

}  // namespace platform

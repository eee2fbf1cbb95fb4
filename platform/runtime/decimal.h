// Decimal numbers as NSDecimalNumber keeps them: a mantissa, a power of ten and
// a sign, so that decimal fractions add exactly ("0.1" + "0.2" is "0.3").
// Plain values, safe to copy between threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class Decimal {
public:
    // Zero.
    constexpr Decimal() = default;
    // decimalNumberWithMantissa:exponent:isNegative:
    Decimal(std::uint64_t mantissa, int exponent, bool negative);

    static Decimal zero() { return Decimal(); }
    static Decimal one() { return Decimal(1, 0, false); }
    static Decimal notANumber();
    // decimalNumberWithString: the leading number after white space ("12.5x"
    // is 12.5); NaN when the text starts with no digit.
    static Decimal fromString(std::string_view text);

    bool isNaN() const { return nan_; }
    std::uint64_t mantissa() const { return mantissa_; }
    int exponent() const { return exponent_; }
    bool isNegative() const { return negative_; }

    // decimalNumberByAdding: exact while the sum fits 64 bits of mantissa,
    // rounded to the nearest otherwise; NaN when either side is NaN.
    Decimal adding(const Decimal& other) const;
    double doubleValue() const;
    // The exact decimal text: "0.3", "-12", "1000", "NaN".
    std::string text() const;

    // compare: NaN is equal to NaN only.
    int compare(const Decimal& other) const;
    friend bool operator==(const Decimal& a, const Decimal& b) { return a.compare(b) == 0; }

private:
    std::uint64_t mantissa_ = 0;
    int exponent_ = 0;
    bool negative_ = false;
    bool nan_ = false;
};

}  // namespace platform

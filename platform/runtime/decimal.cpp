#include "platform/runtime/decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace platform {

namespace {

using Wide = unsigned __int128;

// NSDecimal's exponent range.
constexpr int kMinExponent = -128, kMaxExponent = 127;

// Brings a wide mantissa into 64 bits (rounding half up) and strips trailing
// zeros, so that equal numbers have one form.
void normalize(Wide m, int e, std::uint64_t* mantissa, int* exponent) {
    bool roundUp = false;
    while (m > std::numeric_limits<std::uint64_t>::max()) {
        roundUp = m % 10 >= 5;
        m /= 10;
        ++e;
        if (roundUp) {
            ++m;
            roundUp = false;
        }
    }
    while (m != 0 && m % 10 == 0 && e < kMaxExponent) m /= 10, ++e;
    if (m == 0) e = 0;
    *mantissa = static_cast<std::uint64_t>(m);
    *exponent = e;
}

}  // namespace

Decimal::Decimal(std::uint64_t mantissa, int exponent, bool negative) {
    normalize(mantissa, exponent, &mantissa_, &exponent_);
    negative_ = negative && mantissa_ != 0;
    if (exponent_ < kMinExponent || exponent_ > kMaxExponent) *this = notANumber();
}

Decimal Decimal::notANumber() {
    Decimal d;
    d.nan_ = true;
    return d;
}

Decimal Decimal::fromString(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    Wide m = 0;
    int e = 0;
    bool digits = false;
    auto take = [&](char c, bool fraction) {
        digits = true;
        // Digits past what the mantissa holds only move the point.
        if (m < std::numeric_limits<std::uint64_t>::max()) {
            m = m * 10 + static_cast<unsigned>(c - '0');
            if (fraction) --e;
        } else if (!fraction) {
            ++e;
        }
    };
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) take(s[i], false);
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) take(s[i], true);
    if (!digits) return notANumber();
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool negExp = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negExp = s[j++] == '-';
        int exp = 0;
        for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j) exp = std::min(exp * 10 + (s[j] - '0'), 10000);
        e += negExp ? -exp : exp;
    }
    Decimal d;
    normalize(m, e, &d.mantissa_, &d.exponent_);
    d.negative_ = negative && d.mantissa_ != 0;
    if (d.exponent_ < kMinExponent || d.exponent_ > kMaxExponent) return notANumber();
    return d;
}

Decimal Decimal::adding(const Decimal& other) const {
    if (nan_ || other.nan_) return notANumber();
    if (mantissa_ == 0) return other;
    if (other.mantissa_ == 0) return *this;
    // Align on the smaller exponent as far as 128 bits allow; digits of the
    // smaller term beyond that cannot change a 64-bit result but its rounding.
    const Decimal& hi = exponent_ >= other.exponent_ ? *this : other;
    const Decimal& lo = exponent_ >= other.exponent_ ? other : *this;
    Wide a = hi.mantissa_, b = lo.mantissa_;
    int e = hi.exponent_;
    while (e > lo.exponent_ && a <= std::numeric_limits<Wide>::max() / 100) a *= 10, --e;
    for (int k = lo.exponent_; k < e; ++k) b /= 10;
    Wide sum;
    bool negative;
    if (hi.negative_ == lo.negative_) {
        negative = hi.negative_;
        if (a > std::numeric_limits<Wide>::max() - b) a /= 10, b /= 10, ++e;
        sum = a + b;
    } else if (a >= b) {
        negative = hi.negative_;
        sum = a - b;
    } else {
        negative = lo.negative_;
        sum = b - a;
    }
    Decimal d;
    normalize(sum, e, &d.mantissa_, &d.exponent_);
    d.negative_ = negative && d.mantissa_ != 0;
    if (d.exponent_ > kMaxExponent) return notANumber();
    return d;
}

double Decimal::doubleValue() const {
    if (nan_) return std::numeric_limits<double>::quiet_NaN();
    // Through the text, so that 0.1 reads as the double nearest to it.
    return std::strtod(text().c_str(), nullptr);
}

std::string Decimal::text() const {
    if (nan_) return "NaN";
    std::string digits = std::to_string(mantissa_);
    std::string out = negative_ ? "-" : "";
    if (exponent_ >= 0) return out + digits + std::string(static_cast<std::size_t>(exponent_), '0');
    std::size_t fraction = static_cast<std::size_t>(-exponent_);
    if (digits.size() <= fraction) return out + "0." + std::string(fraction - digits.size(), '0') + digits;
    return out + digits.substr(0, digits.size() - fraction) + "." + digits.substr(digits.size() - fraction);
}

int Decimal::compare(const Decimal& other) const {
    if (nan_ || other.nan_) return nan_ == other.nan_ ? 0 : (nan_ ? -1 : 1);
    Decimal difference = adding(Decimal(other.mantissa_, other.exponent_, !other.negative_));
    if (difference.mantissa_ == 0) return 0;
    return difference.negative_ ? -1 : 1;
}

}  // namespace platform

#include "platform/runtime/value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

#include "platform/runtime/runtime.h"

namespace platform {

// --- geometry ---------------------------------------------------------------

double Rect::minX() const { return std::min(origin.x, origin.x + size.width); }
double Rect::minY() const { return std::min(origin.y, origin.y + size.height); }
double Rect::maxX() const { return std::max(origin.x, origin.x + size.width); }
double Rect::maxY() const { return std::max(origin.y, origin.y + size.height); }

Rect Rect::null() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return Rect(inf, inf, 0, 0);
}
bool Rect::isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }
bool Rect::contains(Point p) const {
    return !isNull() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

// --- string readings ----------------------------------------------------------

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::size_t skipSpace(std::string_view s, std::size_t i = 0) {
    while (i < s.size() && isSpace(s[i])) ++i;
    return i;
}

template <class Int>
Int readLeadingInteger(std::string_view s) {
    std::size_t i = skipSpace(s);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // Accumulate toward the sign so that the minimum is reachable, saturating.
    Int value = 0;
    constexpr Int lo = std::numeric_limits<Int>::min(), hi = std::numeric_limits<Int>::max();
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        int digit = s[i] - '0';
        if (negative) {
            if (value < (lo + digit) / 10) return lo;
            value = value * 10 - digit;
        } else {
            if (value > (hi - digit) / 10) return hi;
            value = value * 10 + digit;
        }
    }
    return value;
}

template <class Int>
Int saturate(double d) {
    if (std::isnan(d)) return 0;
    if (d >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (d <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(d);
}

int saturateInt(std::int64_t i) {
    return static_cast<int>(std::clamp<std::int64_t>(i, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

int stringIntValue(std::string_view s) { return readLeadingInteger<int>(s); }
long long stringIntegerValue(std::string_view s) { return readLeadingInteger<long long>(s); }

double stringDoubleValue(std::string_view s) {
    std::size_t i = skipSpace(s);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // The longest prefix of the form digits [. digits] [e [sign] digits].
    std::size_t start = i, end = i;
    bool digits = false;
    while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end, digits = true;
    if (end < s.size() && s[end] == '.') {
        ++end;
        while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end, digits = true;
    }
    if (!digits) return 0.0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        if (e < s.size() && std::isdigit(static_cast<unsigned char>(s[e]))) {
            while (e < s.size() && std::isdigit(static_cast<unsigned char>(s[e]))) ++e;
            end = e;
        }
    }
    std::string text(s.substr(start, end - start));
    if (text.front() == '.') text.insert(text.begin(), '0');
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow: tell them apart.
        bool underflow = false;
        auto e = text.find_first_of("eE");
        if (e != std::string::npos) underflow = text[e + 1] == '-';
        value = underflow ? 0.0 : HUGE_VAL;
    }
    (void)ptr;
    return negative ? -value : value;
}

bool stringBoolValue(std::string_view s) {
    std::size_t i = skipSpace(s);
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && s[i] == '0') ++i;
    if (i >= s.size()) return false;
    char c = s[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

// --- conversions --------------------------------------------------------------

int Value::intValue(int def) const {
    switch (kind()) {
        case Kind::Bool: return std::get<bool>(v_) ? 1 : 0;
        case Kind::Integer: return saturateInt(std::get<std::int64_t>(v_));
        case Kind::Unsigned: return static_cast<int>(std::min<std::uint64_t>(std::get<std::uint64_t>(v_), std::numeric_limits<int>::max()));
        case Kind::Real: return saturate<int>(std::get<double>(v_));
        case Kind::Decimal: return saturate<int>(std::get<Decimal>(v_).doubleValue());
        case Kind::String: return stringIntValue(std::get<std::string>(v_));
        default: return def;
    }
}

long long Value::integerValue(long long def) const {
    switch (kind()) {
        case Kind::Bool: return std::get<bool>(v_) ? 1 : 0;
        case Kind::Integer: return std::get<std::int64_t>(v_);
        case Kind::Unsigned: return static_cast<long long>(std::min<std::uint64_t>(std::get<std::uint64_t>(v_), std::numeric_limits<long long>::max()));
        case Kind::Real: return saturate<long long>(std::get<double>(v_));
        case Kind::Decimal: return saturate<long long>(std::get<Decimal>(v_).doubleValue());
        case Kind::String: return stringIntegerValue(std::get<std::string>(v_));
        default: return def;
    }
}

double Value::doubleValue(double def) const {
    switch (kind()) {
        case Kind::Bool: return std::get<bool>(v_) ? 1.0 : 0.0;
        case Kind::Integer: return static_cast<double>(std::get<std::int64_t>(v_));
        case Kind::Unsigned: return static_cast<double>(std::get<std::uint64_t>(v_));
        case Kind::Real: return std::get<double>(v_);
        case Kind::Decimal: return std::get<Decimal>(v_).doubleValue();
        case Kind::String: return stringDoubleValue(std::get<std::string>(v_));
        default: return def;
    }
}

float Value::floatValue(float def) const {
    if (!isNumber() && !isString()) return def;
    return static_cast<float>(doubleValue());
}

bool Value::boolValue(bool def) const {
    switch (kind()) {
        case Kind::Bool: return std::get<bool>(v_);
        case Kind::Integer: return std::get<std::int64_t>(v_) != 0;
        case Kind::Unsigned: return std::get<std::uint64_t>(v_) != 0;
        case Kind::Real: return std::get<double>(v_) != 0.0;
        case Kind::Decimal: return std::get<Decimal>(v_).doubleValue() != 0.0;
        case Kind::String: return stringBoolValue(std::get<std::string>(v_));
        default: return def;
    }
}

unsigned long long Value::unsignedLongLongValue(unsigned long long def) const {
    switch (kind()) {
        case Kind::Unsigned: return std::get<std::uint64_t>(v_);
        case Kind::Real:
        case Kind::Decimal: {
            double d = doubleValue();
            if (d >= 18446744073709551616.0) return std::numeric_limits<unsigned long long>::max();
            if (d >= 0) return static_cast<unsigned long long>(d);
            return static_cast<unsigned long long>(saturate<long long>(d));
        }
        default: return isNumber() || isString() ? static_cast<unsigned long long>(integerValue()) : def;
    }
}

Decimal Value::decimalValue() const {
    switch (kind()) {
        case Kind::Bool: return std::get<bool>(v_) ? Decimal::one() : Decimal::zero();
        case Kind::Integer: {
            std::int64_t i = std::get<std::int64_t>(v_);
            // The magnitude of the minimum does not fit the signed type.
            return Decimal(i < 0 ? 0 - static_cast<std::uint64_t>(i) : static_cast<std::uint64_t>(i), 0, i < 0);
        }
        case Kind::Unsigned: return Decimal(std::get<std::uint64_t>(v_), 0, false);
        case Kind::Real: {
            double d = std::get<double>(v_);
            if (!std::isfinite(d)) return Decimal::notANumber();
            char buf[64];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
            (void)ec;
            return Decimal::fromString(std::string_view(buf, static_cast<std::size_t>(end - buf)));
        }
        case Kind::Decimal: return std::get<Decimal>(v_);
        default: return Decimal::notANumber();
    }
}

bool Value::isKindOfClass(std::string_view name) const {
    Kind k = kind();
    if (k == Kind::Nil) return false;
    if (k == Kind::Object) return platform::isKindOfClass(object(), name);
    if (name == "NSObject") return true;
    if (name == "NSValue") return isNumber() || k == Kind::Point || k == Kind::Size || k == Kind::Rect || k == Kind::Boxed;
    if (name == "NSNumber") return isNumber();
    if (name == "NSDecimalNumber") return k == Kind::Decimal;
    if (name == "NSString") return k == Kind::String;
    if (name == "NSData") return k == Kind::Data;
    if (name == "NSDate") return k == Kind::Date;
    if (name == "NSArray") return k == Kind::Array;
    if (name == "NSDictionary") return k == Kind::Dictionary;
    return false;
}

// --- boxed values ---------------------------------------------------------------

namespace {

// One type of an encoding, starting at `i`; moves `i` past it.
bool sizeOfType(std::string_view t, std::size_t& i, std::size_t* size, std::size_t* align) {
    while (i < t.size() && std::strchr("rnNoORV", t[i])) ++i;  // qualifiers
    if (i >= t.size()) return false;
    char c = t[i++];
    switch (c) {
        case 'v': *size = 0, *align = 1; return true;
        case 'c': case 'C': case 'B': *size = *align = 1; return true;
        case 's': case 'S': *size = *align = 2; return true;
        case 'i': case 'I': case 'l': case 'L': case 'f': *size = *align = 4; return true;
        case 'q': case 'Q': case 'd': case '*': case '@': case '#': case ':': *size = *align = 8; return true;
        case '^': {
            std::size_t s = 0, a = 0;
            if (!sizeOfType(t, i, &s, &a)) return false;
            *size = *align = 8;
            return true;
        }
        case '[': {
            std::size_t n = 0;
            while (i < t.size() && t[i] >= '0' && t[i] <= '9') n = n * 10 + static_cast<std::size_t>(t[i++] - '0');
            std::size_t s = 0, a = 0;
            if (!sizeOfType(t, i, &s, &a) || i >= t.size() || t[i] != ']') return false;
            ++i;
            *size = n * s;
            *align = a;
            return true;
        }
        case '{': {
            // {name=members}: members laid out with their alignment.
            while (i < t.size() && t[i] != '=' && t[i] != '}') ++i;
            if (i >= t.size() || t[i] != '=') return false;
            ++i;
            std::size_t offset = 0, maxAlign = 1;
            while (i < t.size() && t[i] != '}') {
                std::size_t s = 0, a = 0;
                if (!sizeOfType(t, i, &s, &a)) return false;
                offset = (offset + a - 1) / a * a + s;
                maxAlign = std::max(maxAlign, a);
            }
            if (i >= t.size()) return false;
            ++i;
            *size = (offset + maxAlign - 1) / maxAlign * maxAlign;
            *align = maxAlign;
            return true;
        }
        default: return false;
    }
}

}  // namespace

bool objCTypeSizeAndAlignment(std::string_view type, std::size_t* size, std::size_t* alignment) {
    std::size_t i = 0, s = 0, a = 0;
    if (!sizeOfType(type, i, &s, &a) || i != type.size()) return false;
    if (size) *size = s;
    if (alignment) *alignment = a;
    return true;
}

Value Value::valueWithBytes(const void* bytes, std::string_view objCType) {
    std::size_t size = 0;
    if (!bytes || !objCTypeSizeAndAlignment(objCType, &size, nullptr)) return Value();
    auto doubles = [&](double* out, std::size_t n) { std::memcpy(out, bytes, n * sizeof(double)); };
    if (objCType == kCGPointEncoding) {
        double d[2];
        doubles(d, 2);
        return Value(Point{d[0], d[1]});
    }
    if (objCType == kCGSizeEncoding) {
        double d[2];
        doubles(d, 2);
        return Value(Size{d[0], d[1]});
    }
    if (objCType == kCGRectEncoding) {
        double d[4];
        doubles(d, 4);
        return Value(Rect(d[0], d[1], d[2], d[3]));
    }
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    Value v;
    v.v_ = std::make_shared<const Boxed>(Boxed{std::string(objCType), Data(p, p + size)});
    return v;
}

std::string Value::objCType() const {
    switch (kind()) {
        case Kind::Bool: return "c";
        case Kind::Integer: return "q";
        case Kind::Unsigned: return "Q";
        case Kind::Real:
        case Kind::Decimal: return "d";
        case Kind::Point: return std::string(kCGPointEncoding);
        case Kind::Size: return std::string(kCGSizeEncoding);
        case Kind::Rect: return std::string(kCGRectEncoding);
        case Kind::Boxed: return std::get<std::shared_ptr<const Boxed>>(v_)->objCType;
        default: return {};
    }
}

bool Value::getValue(void* out, std::size_t size) const {
    auto copy = [&](const void* from, std::size_t n) {
        if (!out || n != size) return false;
        std::memcpy(out, from, n);
        return true;
    };
    switch (kind()) {
        case Kind::Point: {
            double d[2] = {point().x, point().y};
            return copy(d, sizeof d);
        }
        case Kind::Size: {
            Size sz = this->size();
            double d[2] = {sz.width, sz.height};
            return copy(d, sizeof d);
        }
        case Kind::Rect: {
            Rect r = rect();
            double d[4] = {r.x(), r.y(), r.width(), r.height()};
            return copy(d, sizeof d);
        }
        case Kind::Boxed: {
            const Data& bytes = std::get<std::shared_ptr<const Boxed>>(v_)->bytes;
            return copy(bytes.data(), bytes.size());
        }
        default: return false;
    }
}

// --- accessors ------------------------------------------------------------------

namespace {
const std::string kEmptyString;
const Data kEmptyData;
const Value::Array kEmptyArray;
const Value::Dictionary kEmptyDictionary;
}  // namespace

const Value& Value::nil() {
    static const Value* none = new Value();
    return *none;
}

const std::string& Value::string() const& {
    if (auto* s = std::get_if<std::string>(&v_)) return *s;
    return kEmptyString;
}
std::string Value::string() && { return static_cast<const Value&>(*this).string(); }

std::string Value::stringOr(std::string_view def) const {
    if (auto* s = std::get_if<std::string>(&v_)) return *s;
    return std::string(def);
}

const Data& Value::data() const& {
    if (auto* d = std::get_if<std::shared_ptr<const Data>>(&v_)) return **d;
    return kEmptyData;
}
Data Value::data() && { return static_cast<const Value&>(*this).data(); }

Date Value::date() const {
    if (auto* d = std::get_if<Date>(&v_)) return *d;
    return Date{};
}

const Value::Array& Value::array() const& {
    if (auto* a = std::get_if<std::shared_ptr<const Array>>(&v_)) return **a;
    return kEmptyArray;
}
Value::Array Value::array() && { return static_cast<const Value&>(*this).array(); }

const Value::Dictionary& Value::dictionary() const& {
    if (auto* d = std::get_if<std::shared_ptr<const Dictionary>>(&v_)) return **d;
    return kEmptyDictionary;
}
Value::Dictionary Value::dictionary() && { return static_cast<const Value&>(*this).dictionary(); }

Point Value::point() const {
    if (auto* p = std::get_if<Point>(&v_)) return *p;
    return {};
}
Size Value::size() const {
    if (auto* s = std::get_if<Size>(&v_)) return *s;
    return {};
}
Rect Value::rect() const {
    if (auto* r = std::get_if<Rect>(&v_)) return *r;
    return {};
}

Object* Value::object() const {
    if (auto* o = std::get_if<Ref<Object>>(&v_)) return o->get();
    return nullptr;
}

Value::Array& Value::mutableArray() {
    auto* a = std::get_if<std::shared_ptr<const Array>>(&v_);
    if (!a) {
        v_ = std::make_shared<const Array>();
        a = std::get_if<std::shared_ptr<const Array>>(&v_);
    } else if (a->use_count() > 1) {
        *a = std::make_shared<const Array>(**a);
    }
    // The storage is uniquely owned here, so handing out a mutable view is safe.
    return const_cast<Array&>(**a);
}

Value::Dictionary& Value::mutableDictionary() {
    auto* d = std::get_if<std::shared_ptr<const Dictionary>>(&v_);
    if (!d) {
        v_ = std::make_shared<const Dictionary>();
        d = std::get_if<std::shared_ptr<const Dictionary>>(&v_);
    } else if (d->use_count() > 1) {
        *d = std::make_shared<const Dictionary>(**d);
    }
    return const_cast<Dictionary&>(**d);
}

const Value& Value::operator[](std::string_view key) const& {
    const auto& d = dictionary();
    auto it = d.find(key);
    return it == d.end() ? nil() : it->second;
}
Value Value::operator[](std::string_view key) && { return static_cast<const Value&>(*this)[key]; }

const Value& Value::at(std::size_t index) const& {
    const auto& a = array();
    return index < a.size() ? a[index] : nil();
}
Value Value::at(std::size_t index) && { return static_cast<const Value&>(*this).at(index); }

std::size_t Value::count() const {
    switch (kind()) {
        case Kind::Array: return array().size();
        case Kind::Dictionary: return dictionary().size();
        case Kind::String: return string().size();
        case Kind::Data: return data().size();
        default: return 0;
    }
}

// --- equality and description -----------------------------------------------------

bool Value::isEqual(const Value& other) const {
    if (isNumber() && other.isNumber()) {
        if (isDecimal() || other.isDecimal()) return decimalValue() == other.decimalValue();
        if (kind() != Kind::Real && other.kind() != Kind::Real) {
            // Exactly, across signed and unsigned: a negative never equals an unsigned.
            bool negA = kind() == Kind::Integer && std::get<std::int64_t>(v_) < 0;
            bool negB = other.kind() == Kind::Integer && std::get<std::int64_t>(other.v_) < 0;
            return negA == negB && unsignedLongLongValue() == other.unsignedLongLongValue();
        }
        return doubleValue() == other.doubleValue();
    }
    if (kind() != other.kind()) return false;
    switch (kind()) {
        case Kind::Nil: return true;
        case Kind::String: return string() == other.string();
        case Kind::Data: return data() == other.data();
        case Kind::Date: return date() == other.date();
        case Kind::Array: {
            const auto &a = array(), &b = other.array();
            return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
        }
        case Kind::Dictionary: return dictionary() == other.dictionary();
        case Kind::Point: return point() == other.point();
        case Kind::Size: return size() == other.size();
        case Kind::Rect: return rect() == other.rect();
        case Kind::Boxed: return *std::get<std::shared_ptr<const Boxed>>(v_) == *std::get<std::shared_ptr<const Boxed>>(other.v_);
        case Kind::Object: return objectsEqual(object(), other.object());
        default: return false;
    }
}

namespace {

std::string hexBytes(const Data& d) {
    std::string out = "<";
    for (std::size_t i = 0; i < d.size(); ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", d[i]);
        if (i && i % 4 == 0) out += ' ';
        out += hex;
    }
    return out + ">";
}

std::string shortestDouble(double d) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    (void)ec;
    return std::string(buf, end);
}

void describe(const Value& v, std::string& out, int indent);

void indentTo(std::string& out, int indent) { out.append(static_cast<std::size_t>(indent) * 4, ' '); }

std::string quotedIfNeeded(const std::string& s) {
    bool plain = !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$';
    });
    if (plain) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

void describe(const Value& v, std::string& out, int indent) {
    using K = Value::Kind;
    switch (v.kind()) {
        case K::Array: {
            out += "(\n";
            const auto& a = v.array();
            for (std::size_t i = 0; i < a.size(); ++i) {
                indentTo(out, indent + 1);
                if (a[i].isString()) out += quotedIfNeeded(a[i].string());
                else describe(a[i], out, indent + 1);
                out += i + 1 < a.size() ? ",\n" : "\n";
            }
            indentTo(out, indent);
            out += ")";
            return;
        }
        case K::Dictionary: {
            out += "{\n";
            // Sorted by key, as the platform describes a dictionary.
            for (const auto* entry : v.dictionary().sortedEntries()) {
                const auto& [key, value] = *entry;
                indentTo(out, indent + 1);
                out += quotedIfNeeded(key) + " = ";
                if (value.isString()) out += quotedIfNeeded(value.string());
                else describe(value, out, indent + 1);
                out += ";\n";
            }
            indentTo(out, indent);
            out += "}";
            return;
        }
        default: out += v.description();
    }
}

}  // namespace

std::string Value::description() const {
    switch (kind()) {
        case Kind::Nil: return "(null)";
        case Kind::Bool: return std::get<bool>(v_) ? "1" : "0";
        case Kind::Integer: return std::to_string(std::get<std::int64_t>(v_));
        case Kind::Real: return shortestDouble(std::get<double>(v_));
        case Kind::String: return string();
        case Kind::Unsigned: return std::to_string(std::get<std::uint64_t>(v_));
        case Kind::Decimal: return std::get<Decimal>(v_).text();
        case Kind::Data: return hexBytes(data());
        case Kind::Boxed: return hexBytes(std::get<std::shared_ptr<const Boxed>>(v_)->bytes);
        case Kind::Date: {
            std::time_t t = static_cast<std::time_t>(std::floor(date().unix()));
            std::tm tm{};
            gmtime_r(&t, &tm);
            char buf[40];
            std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", &tm);
            return buf;
        }
        case Kind::Array:
        case Kind::Dictionary: {
            std::string out;
            describe(*this, out, 0);
            return out;
        }
        case Kind::Point: {
            auto p = point();
            return "NSPoint: {" + shortestDouble(p.x) + ", " + shortestDouble(p.y) + "}";
        }
        case Kind::Size: {
            auto s = size();
            return "NSSize: {" + shortestDouble(s.width) + ", " + shortestDouble(s.height) + "}";
        }
        case Kind::Rect: {
            auto r = rect();
            return "NSRect: {{" + shortestDouble(r.x()) + ", " + shortestDouble(r.y()) + "}, {" +
                   shortestDouble(r.width()) + ", " + shortestDouble(r.height()) + "}}";
        }
        case Kind::Object: return objectDescription(object());
    }
    return {};
}

}  // namespace platform

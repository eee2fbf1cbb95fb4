// Value: the property-list-like Foundation objects (NSString, NSNumber,
// NSDecimalNumber, NSArray, NSDictionary, NSDate, NSData), geometry and other
// bytes boxed the way NSValue boxes them, and references to runtime objects. Values are passed by value; arrays and
// dictionaries share their storage until one copy is changed.
//
// Conversions follow Foundation and never depend on the locale: a number or a
// string is the right kind for a numeric or bool read; any other kind gives the
// caller's default.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/runtime/decimal.h"
#include "platform/runtime/object.h"
#include "platform/runtime/ordered_dictionary.h"

namespace platform {

struct Point {
    double x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
struct Size {
    double width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};
struct Rect {
    Point origin;
    Size size;
    Rect() = default;
    Rect(Point o, Size s) : origin(o), size(s) {}
    Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    double minX() const;
    double minY() const;
    double maxX() const;
    double maxY() const;
    double midX() const { return (minX() + maxX()) / 2; }
    double midY() const { return (minY() + maxY()) / 2; }
    bool isNull() const;
    bool contains(Point p) const;
    static Rect null();
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Seconds since 2001-01-01 00:00:00 UTC, as NSDate counts.
struct Date {
    double sinceReferenceDate = 0;
    static constexpr double kUnixOffset = 978307200.0;
    static Date fromUnix(double seconds) { return Date{seconds - kUnixOffset}; }
    double unix() const { return sinceReferenceDate + kUnixOffset; }
    double timeIntervalSinceDate(Date other) const { return sinceReferenceDate - other.sinceReferenceDate; }
    Date addingTimeInterval(double seconds) const { return Date{sinceReferenceDate + seconds}; }
    friend auto operator<=>(const Date&, const Date&) = default;
};

using Data = std::vector<std::uint8_t>;

// The bytes of an NSValue with their Objective-C type encoding.
struct Boxed {
    std::string objCType;
    Data bytes;
    friend bool operator==(const Boxed&, const Boxed&) = default;
};

// NSGetSizeAndAlignment for the encodings values are boxed with (scalars,
// pointers, structures, arrays); false for an encoding it cannot size.
bool objCTypeSizeAndAlignment(std::string_view type, std::size_t* size, std::size_t* alignment);

// The encodings of the platform's geometry structures.
inline constexpr std::string_view kCGPointEncoding = "{CGPoint=dd}";
inline constexpr std::string_view kCGSizeEncoding = "{CGSize=dd}";
inline constexpr std::string_view kCGRectEncoding = "{CGRect={CGPoint=dd}{CGSize=dd}}";

class Value {
public:
    using Array = std::vector<Value>;
    // Keys keep their insertion order (JSON is written in it); equality and
    // property lists do not depend on it.
    using Dictionary = OrderedDictionary<Value>;

    // A number keeps how it was made, as NSNumber does: bool, signed, unsigned
    // (64-bit unsigned types only; smaller ones fit the signed kind), real or
    // decimal.
    enum class Kind { Nil, Bool, Integer, Unsigned, Real, Decimal, String, Data, Date, Array, Dictionary, Point, Size, Rect, Boxed, Object };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool b) : v_(b) {}
    Value(int i) : v_(std::int64_t{i}) {}
    Value(long i) : v_(std::int64_t{i}) {}
    Value(long long i) : v_(std::int64_t{i}) {}
    Value(unsigned u) : v_(std::int64_t{u}) {}
    Value(unsigned long u) : v_(std::uint64_t{u}) {}
    Value(unsigned long long u) : v_(std::uint64_t{u}) {}
    Value(float f) : v_(double{f}) {}
    Value(double d) : v_(d) {}
    Value(platform::Decimal d) : v_(d) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(platform::Data d) : v_(std::make_shared<const platform::Data>(std::move(d))) {}
    Value(platform::Date d) : v_(d) {}
    Value(Array a) : v_(std::make_shared<const Array>(std::move(a))) {}
    Value(Dictionary d) : v_(std::make_shared<const Dictionary>(std::move(d))) {}
    Value(std::initializer_list<std::pair<const std::string, Value>> d) : Value(Dictionary(d)) {}
    Value(platform::Point p) : v_(p) {}
    Value(platform::Size s) : v_(s) {}
    Value(platform::Rect r) : v_(r) {}
    Value(Object* o) {
        if (o) v_ = Ref<Object>(o);
    }
    template <class T, class = std::enable_if_t<std::is_base_of_v<Object, T>>>
    Value(const Ref<T>& o) : Value(static_cast<Object*>(o.get())) {}

    static Value array(std::initializer_list<Value> items) { return Value(Array(items)); }
    // NSValue valueWithBytes:objCType: the bytes are as many as the encoding
    // takes. The geometry encodings give the geometry kinds; nil for an
    // encoding that cannot be sized.
    static Value valueWithBytes(const void* bytes, std::string_view objCType);

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isNil() const { return kind() == Kind::Nil; }
    bool isNumber() const {
        Kind k = kind();
        return k == Kind::Bool || k == Kind::Integer || k == Kind::Unsigned || k == Kind::Real || k == Kind::Decimal;
    }
    bool isDecimal() const { return kind() == Kind::Decimal; }
    bool isString() const { return kind() == Kind::String; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isObject() const { return kind() == Kind::Object; }
    explicit operator bool() const { return !isNil(); }

    // Foundation's conversions of numbers and strings; other kinds give `def`.
    int intValue(int def = 0) const;
    long long integerValue(long long def = 0) const;
    float floatValue(float def = 0) const;
    double doubleValue(double def = 0) const;
    bool boolValue(bool def = false) const;
    // Negative signed numbers wrap, as NSNumber's unsignedLongLongValue does.
    unsigned long long unsignedLongLongValue(unsigned long long def = 0) const;
    // NSNumber decimalValue; NaN for what is not a number.
    platform::Decimal decimalValue() const;

    // [value isKindOfClass:[NSNumber class]] and the like, by class name:
    // NSObject, NSValue, NSNumber, NSDecimalNumber, NSString, NSData, NSDate,
    // NSArray, NSDictionary; an object reference asks the runtime. Nil is of
    // no class.
    bool isKindOfClass(std::string_view className) const;

    // NSValue: the type encoding ("" when this is not an NSValue), and
    // getValue: copying the bytes when `size` is the encoding's size.
    std::string objCType() const;
    bool getValue(void* out, std::size_t size) const;

    // The string (empty when this is not a string). Accessors that return
    // references into the value return copies when called on a temporary, so a
    // loop over `readFile(path)["Alarms"].array()` never reads freed storage.
    const std::string& string() const&;
    std::string string() &&;
    std::string stringOr(std::string_view def) const;
    const platform::Data& data() const&;
    platform::Data data() &&;
    platform::Date date() const;
    const Array& array() const&;  // empty when not an array
    Array array() &&;
    const Dictionary& dictionary() const&;  // empty when not a dictionary
    Dictionary dictionary() &&;
    platform::Point point() const;
    platform::Size size() const;
    platform::Rect rect() const;
    Object* object() const;            // null when not an object reference
    template <class T>
    T* objectAs() const;               // null when not an object of C++ type T

    // Copy-on-write access for building and changing containers. Turns a nil
    // value into an empty container; any other kind is replaced.
    Array& mutableArray();
    Dictionary& mutableDictionary();

    // Dictionary lookup: nil when this is not a dictionary or the key is absent.
    const Value& operator[](std::string_view key) const&;
    Value operator[](std::string_view key) &&;
    // Array element: nil when out of range or not an array.
    const Value& at(std::size_t index) const&;
    Value at(std::size_t index) &&;
    std::size_t count() const;  // elements of an array or dictionary, length of string or data

    // Foundation's isEqual: numbers by value (YES equals 1, a decimal equals
    // the number of the same value), strings, data, dates, containers deeply;
    // boxed values by encoding and bytes; objects by their isEqual: method.
    bool isEqual(const Value& other) const;
    friend bool operator==(const Value& a, const Value& b) { return a.isEqual(b); }

    // The description that %@ prints.
    std::string description() const;

    static const Value& nil();

private:
    // In the order of Kind.
    using Storage = std::variant<std::monostate, bool, std::int64_t, std::uint64_t, double, platform::Decimal,
                                 std::string, std::shared_ptr<const platform::Data>, platform::Date,
                                 std::shared_ptr<const Array>, std::shared_ptr<const Dictionary>,
                                 platform::Point, platform::Size, platform::Rect, std::shared_ptr<const Boxed>,
                                 Ref<Object>>;
    Storage v_;
};

template <class T>
T* Value::objectAs() const {
    return dynamic_cast<T*>(object());
}

// Foundation's numeric readings of a string ("12abc" is 12, "1.2.3" is 1.2).
int stringIntValue(std::string_view s);
long long stringIntegerValue(std::string_view s);
double stringDoubleValue(std::string_view s);
bool stringBoolValue(std::string_view s);

}  // namespace platform

#include "platform/foundation/json.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace platform {

namespace {

using Json = nlohmann::json;

void fail(Ref<NSError>* error, long long code, std::string text) {
    if (error)
        *error = NSError::errorWithDomain(NSCocoaErrorDomain, code, Value::Dictionary{{std::string(NSDebugDescriptionErrorKey), Value(std::move(text))}});
}

bool isValidLeafOrContainer(const Value& v) {
    using K = Value::Kind;
    switch (v.kind()) {
        case K::Nil:
        case K::Bool:
        case K::Integer:
        case K::Unsigned:
        case K::String: return true;
        case K::Real: return std::isfinite(v.doubleValue());
        case K::Decimal: return !v.decimalValue().isNaN();
        case K::Array:
            for (const Value& item : v.array())
                if (!isValidLeafOrContainer(item)) return false;
            return true;
        case K::Dictionary:
            for (const auto& [key, item] : v.dictionary())
                if (!isValidLeafOrContainer(item)) return false;
            return true;
        default: return false;
    }
}

// nlohmann writes the scalars (its number and string forms); the layout of
// containers is the platform's own: two blanks of indent and " : ".
void writeScalar(const Json& j, std::string& out) { out += j.dump(-1, ' ', false, Json::error_handler_t::replace); }

void write(const Value& v, bool pretty, int depth, std::string& out) {
    using K = Value::Kind;
    auto newline = [&](int d) {
        if (!pretty) return;
        out += '\n';
        out.append(static_cast<std::size_t>(d) * 2, ' ');
    };
    switch (v.kind()) {
        case K::Nil: out += "null"; return;
        case K::Bool: out += v.boolValue() ? "true" : "false"; return;
        case K::Integer: writeScalar(Json(v.integerValue()), out); return;
        case K::Unsigned: writeScalar(Json(v.unsignedLongLongValue()), out); return;
        case K::Decimal: out += v.decimalValue().text(); return;
        case K::Real: {
            double d = v.doubleValue();
            // Integral reals print without a fraction, as the platform writes them.
            if (std::trunc(d) == d && std::fabs(d) < 1e15) writeScalar(Json(static_cast<long long>(d)), out);
            else writeScalar(Json(d), out);
            return;
        }
        case K::String: writeScalar(Json(v.string()), out); return;
        case K::Array: {
            out += '[';
            const auto& a = v.array();
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (i) out += ',';
                newline(depth + 1);
                write(a[i], pretty, depth + 1, out);
            }
            if (!a.empty()) newline(depth);
            out += ']';
            return;
        }
        case K::Dictionary: {
            out += '{';
            bool first = true;
            for (const auto& [key, item] : v.dictionary()) {
                if (!first) out += ',';
                first = false;
                newline(depth + 1);
                writeScalar(Json(key), out);
                out += pretty ? " : " : ":";
                write(item, pretty, depth + 1, out);
            }
            if (!v.dictionary().empty()) newline(depth);
            out += '}';
            return;
        }
        default: return;  // refused by isValidJSONObject
    }
}

// Outside strings JSON has no "/" and no non-ASCII bytes, so the escapes can
// be made on the finished text.
std::string scriptSafe(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '/') {
            out += "\\/";
        } else if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' && (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

// Builds Values straight from the parser's events: objects keep their keys in
// the order of the text (a key given twice keeps its first place and its last
// value), and no document tree is made on the way.
class ValueBuilder final : public nlohmann::json_sax<Json> {
public:
    Value result() && { return std::move(result_); }

    bool null() override { return add(Value()); }
    bool boolean(bool b) override { return add(Value(b)); }
    bool number_integer(number_integer_t i) override { return add(Value(static_cast<long long>(i))); }
    bool number_unsigned(number_unsigned_t u) override {
        if (u <= static_cast<unsigned long long>(std::numeric_limits<long long>::max())) return add(Value(static_cast<long long>(u)));
        return add(Value(static_cast<unsigned long long>(u)));
    }
    bool number_float(number_float_t d, const string_t&) override { return add(Value(static_cast<double>(d))); }
    bool string(string_t& s) override { return add(Value(std::move(s))); }
    bool binary(binary_t&) override { return false; }  // not in JSON text
    bool start_object(std::size_t) override {
        open_.emplace_back(false);
        return true;
    }
    bool key(string_t& k) override {
        open_.back().key = std::move(k);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override {
        open_.emplace_back(true);
        return true;
    }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    struct Open {
        explicit Open(bool a) : isArray(a) {}
        bool isArray;
        Value::Array array;
        Value::Dictionary dictionary;
        std::string key;
    };

    bool add(Value v) {
        if (open_.empty()) {
            result_ = std::move(v);
        } else if (Open& top = open_.back(); top.isArray) {
            top.array.push_back(std::move(v));
        } else {
            top.dictionary.insert_or_assign(top.key, std::move(v));
        }
        return true;
    }
    bool close() {
        Open& top = open_.back();
        Value done = top.isArray ? Value(std::move(top.array)) : Value(std::move(top.dictionary));
        open_.pop_back();
        return add(std::move(done));
    }

    std::vector<Open> open_;
    Value result_;
};

}  // namespace

bool NSJSONSerialization::isValidJSONObject(const Value& object) {
    return (object.isArray() || object.isDictionary()) && isValidLeafOrContainer(object);
}

Value NSJSONSerialization::dataWithJSONObject(const Value& object, unsigned long options, Ref<NSError>* error) {
    if (!isValidJSONObject(object)) {
        fail(error, NSPropertyListWriteInvalidError, "Invalid object in JSON write.");
        return Value();
    }
    std::string text;
    write(object, (options & NSJSONWritingPrettyPrinted) != 0, 0, text);
    text = scriptSafe(text);
    return Value(Data(text.begin(), text.end()));
}

Value NSJSONSerialization::JSONObjectWithText(std::string_view text, unsigned long options, Ref<NSError>* error) {
    if (text.empty()) {
        fail(error, NSPropertyListReadCorruptError, "No value.");
        return Value();
    }
    ValueBuilder builder;
    if (!Json::sax_parse(text.begin(), text.end(), &builder)) {
        fail(error, NSPropertyListReadCorruptError, "The data is not valid JSON.");
        return Value();
    }
    Value parsed = std::move(builder).result();
    if (!(options & NSJSONReadingAllowFragments) && !parsed.isArray() && !parsed.isDictionary()) {
        fail(error, NSPropertyListReadCorruptError, "JSON text did not start with array or object and option to allow fragments not set.");
        return Value();
    }
    return parsed;
}

Value NSJSONSerialization::JSONObjectWithData(const Data& data, unsigned long options, Ref<NSError>* error) {
    return JSONObjectWithText(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), options, error);
}

}  // namespace platform

// format(): the printf-style texts of the system ("%@", "%d", "%ld", "%lu",
// "%g", "%f", "%.02f", "%s", "%p", "%%", ...), the same in every locale. "%@"
// prints a value's or object's description.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/runtime/value.h"

namespace platform {

class FormatArg {
public:
    template <class T>
    FormatArg(const T& v) {
        using U = std::remove_cvref_t<T>;
        if constexpr (std::is_null_pointer_v<U>) {
            value_ = Value(0LL);
            pointer_ = true;
        } else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) {
            if (v) value_ = Value(v);
        } else if constexpr (std::is_same_v<U, bool>) {
            value_ = Value(static_cast<long long>(v));
        } else if constexpr (std::is_integral_v<U>) {
            value_ = Value(static_cast<long long>(v));
            unsigned_ = std::is_unsigned_v<U>;
        } else if constexpr (std::is_floating_point_v<U>) {
            value_ = Value(static_cast<double>(v));
        } else if constexpr (std::is_same_v<U, Value>) {
            value_ = v;
        } else if constexpr (std::is_convertible_v<U, std::string_view>) {
            value_ = Value(std::string_view(v));
        } else if constexpr (std::is_pointer_v<U> && std::is_base_of_v<Object, std::remove_cv_t<std::remove_pointer_t<U>>>) {
            value_ = Value(const_cast<Object*>(static_cast<const Object*>(v)));
        } else if constexpr (requires { v.get(); } && std::is_base_of_v<Object, std::remove_pointer_t<decltype(v.get())>>) {
            value_ = Value(static_cast<Object*>(v.get()));
        } else if constexpr (std::is_pointer_v<U>) {
            value_ = Value(static_cast<long long>(reinterpret_cast<std::uintptr_t>(v)));
            pointer_ = true;
        } else if constexpr (requires { v.description(); }) {
            value_ = Value(v.description());
        } else {
            static_assert(sizeof(U) == 0, "format: unsupported argument type");
        }
    }
    const Value& value() const { return value_; }
    bool isUnsigned() const { return unsigned_; }
    bool isPointer() const { return pointer_; }

private:
    Value value_;
    bool unsigned_ = false;
    bool pointer_ = false;
};

std::string formatArgs(std::string_view fmt, const FormatArg* args, std::size_t count);

template <class... Args>
std::string format(std::string_view fmt, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return formatArgs(fmt, nullptr, 0);
    } else {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return formatArgs(fmt, list.data(), list.size());
    }
}

}  // namespace platform

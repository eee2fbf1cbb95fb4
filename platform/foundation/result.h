// A small result type for our own fallible helpers (C++20 has no
// std::expected): a value, or an error with a message and an errno-style code.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace platform {

struct Error {
    std::string message;
    int code = 0;
};

template <class T>
class Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}
    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

}  // namespace platform

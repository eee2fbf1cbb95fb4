// NSException: the one exception type of the platform, raised only where the
// platform itself would raise (an unknown selector, an undefined key, an
// inconsistent table update, ...).
#pragma once

#include <exception>
#include <string>

#include "platform/runtime/value.h"

namespace platform {

class NSException : public std::exception {
public:
    NSException(std::string name, std::string reason, Value userInfo = Value())
        : name_(std::move(name)), reason_(std::move(reason)), userInfo_(std::move(userInfo)),
          what_(name_ + ": " + reason_) {}
    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }
    const Value& userInfo() const { return userInfo_; }
    const char* what() const noexcept override { return what_.c_str(); }
    // The text that %@ prints for an exception.
    const std::string& description() const { return reason_; }

private:
    std::string name_, reason_;
    Value userInfo_;
    std::string what_;
};

[[noreturn]] inline void raise(std::string name, std::string reason) {
    throw NSException(std::move(name), std::move(reason));
}

}  // namespace platform

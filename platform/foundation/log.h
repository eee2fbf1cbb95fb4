// NSLog: the platform log. Every line is kept so that tests can assert on what
// was logged; programs also echo it to standard error. Thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/format.h"

namespace platform {

namespace log {
void write(std::string line);
std::vector<std::string> lines();
bool contains(std::string_view text);
void clear();
void setEcho(bool echo);
}  // namespace log

template <class... Args>
void NSLog(std::string_view fmt, const Args&... args) {
    log::write(format(fmt, args...));
}

}  // namespace platform

// The process's call log: every stock implementation of a fake system class
// writes its call here (class, selector, the arguments that matter), so that a
// test can assert that a previous implementation ran, in which order, or was
// swallowed. Thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Call {
    std::string cls;
    std::string selector;
    std::string detail;
    std::string text() const;  // "Class selector detail"
    friend bool operator==(const Call&, const Call&) = default;
};

namespace callLog {
void record(std::string_view cls, std::string_view selector, std::string detail = {});
std::vector<Call> calls();
// The calls as text, optionally only those whose text contains `filter`.
std::vector<std::string> lines(std::string_view filter = {});
// How many calls match class and selector.
int count(std::string_view cls, std::string_view selector);
void clear();
}  // namespace callLog

}  // namespace platform

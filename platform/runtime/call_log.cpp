#include "platform/runtime/call_log.h"

#include <algorithm>
#include <mutex>

namespace platform {

std::string Call::text() const {
    std::string t = cls + " " + selector;
    if (!detail.empty()) t += " " + detail;
    return t;
}

namespace callLog {
namespace {
struct Log {
    std::mutex mutex;
    std::vector<Call> calls;
};
Log& log() {
    static Log* l = new Log();
    return *l;
}
}  // namespace

void record(std::string_view cls, std::string_view selector, std::string detail) {
    auto& l = log();
    std::lock_guard guard(l.mutex);
    l.calls.push_back(Call{std::string(cls), std::string(selector), std::move(detail)});
}

std::vector<Call> calls() {
    auto& l = log();
    std::lock_guard guard(l.mutex);
    return l.calls;
}

std::vector<std::string> lines(std::string_view filter) {
    std::vector<std::string> out;
    for (const auto& c : calls()) {
        auto t = c.text();
        if (filter.empty() || t.find(filter) != std::string::npos) out.push_back(std::move(t));
    }
    return out;
}

int count(std::string_view cls, std::string_view selector) {
    auto all = calls();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const Call& c) { return c.cls == cls && c.selector == selector; }));
}

void clear() {
    auto& l = log();
    std::lock_guard guard(l.mutex);
    l.calls.clear();
}
}  // namespace callLog

}  // namespace platform

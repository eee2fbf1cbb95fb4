#include "platform/foundation/log.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform::log {
namespace {
struct Log {
    std::mutex mutex;
    std::vector<std::string> lines;
    bool echo = std::getenv("ROUSA_LOG_ECHO") != nullptr;
};
Log& state() {
    static Log* l = new Log();
    return *l;
}
}  // namespace

void write(std::string line) {
    auto& l = state();
    std::lock_guard guard(l.mutex);
    if (l.echo) std::fprintf(stderr, "%s\n", line.c_str());
    l.lines.push_back(std::move(line));
}

std::vector<std::string> lines() {
    auto& l = state();
    std::lock_guard guard(l.mutex);
    return l.lines;
}

bool contains(std::string_view text) {
    for (const auto& line : lines())
        if (line.find(text) != std::string::npos) return true;
    return false;
}

void clear() {
    auto& l = state();
    std::lock_guard guard(l.mutex);
    l.lines.clear();
}

void setEcho(bool echo) {
    auto& l = state();
    std::lock_guard guard(l.mutex);
    l.echo = echo;
}

}  // namespace platform::log

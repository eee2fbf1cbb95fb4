#include "platform/foundation/process.h"

namespace platform::process {

namespace {
struct State {
    Info info{"", "9.3", 1280.38, "UTC"};
    std::function<bool(std::string_view)> hasLibrary;
};
State& state() {
    static State* s = new State();
    return *s;
}
}  // namespace

void set(Info info) { state().info = std::move(info); }
const Info& info() { return state().info; }
const std::string& bundleIdentifier() { return state().info.bundleIdentifier; }
bool isSpringBoard() { return bundleIdentifier() == "com.apple.springboard"; }
bool isClockApp() { return bundleIdentifier() == "com.apple.mobiletimer"; }
bool isSettingsApp() { return bundleIdentifier() == "com.apple.Preferences"; }

void setLibraryPresence(std::function<bool(std::string_view)> hasLibraryRule) { state().hasLibrary = std::move(hasLibraryRule); }

bool hasLibrary(std::string_view path) { return !state().hasLibrary || state().hasLibrary(path); }

}  // namespace platform::process

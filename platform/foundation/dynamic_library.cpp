#include "platform/foundation/dynamic_library.h"

#include <mutex>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/process.h"

namespace platform {

namespace {
struct Library {
    std::string path;
    std::map<std::string, void*, std::less<>> symbols;
};
struct State {
    std::mutex mutex;
    std::map<std::string, Library, std::less<>> libraries;
    std::string error;
};
State& state() {
    static State* s = new State();
    return *s;
}
}  // namespace

void registerLibrary(std::string path, std::map<std::string, void*, std::less<>> symbols) {
    std::lock_guard guard(state().mutex);
    state().libraries[path] = Library{path, std::move(symbols)};
}

void* dlopen(const char* path, int) {
    auto& s = state();
    std::lock_guard guard(s.mutex);
    auto it = path ? s.libraries.find(std::string_view(path)) : s.libraries.end();
    if (it == s.libraries.end() || !process::hasLibrary(it->first)) {
        s.error = std::string(path ? path : "(null)") + ": image not found";
        return nullptr;
    }
    return &it->second;
}

void* dlsym(void* handle, const char* symbol) {
    auto& s = state();
    std::lock_guard guard(s.mutex);
    auto* lib = static_cast<Library*>(handle);
    if (!lib || !symbol) return nullptr;
    auto it = lib->symbols.find(std::string_view(symbol));
    if (it == lib->symbols.end()) {
        s.error = std::string(symbol) + ": symbol not found";
        return nullptr;
    }
    return it->second;
}

const char* dlerror() {
    auto& s = state();
    std::lock_guard guard(s.mutex);
    return s.error.empty() ? nullptr : s.error.c_str();
}

bool loadDeviceLibrary(std::string_view devicePath) {
    // Never closed, as Substrate and the Settings app keep what they load.
    void* handle = ::dlopen(fs::resolve(devicePath).c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle) {
        NSLog("loader: cannot load %@: %@", std::string(devicePath), std::string(::dlerror()));
        return false;
    }
    return true;
}

}  // namespace platform

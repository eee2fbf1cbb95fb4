#include "platform/host/loader.h"

#include <dlfcn.h>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/process.h"

namespace platform::host {

namespace {
bool loadLibrary(const std::string& devicePath) {
    // Loaded for the life of the process, as Substrate does.
    void* handle = ::dlopen(fs::resolve(devicePath).c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle) {
        NSLog("loader: cannot load %@: %@", devicePath, std::string(::dlerror()));
        return false;
    }
    return true;
}
}  // namespace

bool filterNames(std::string_view filterPath, std::string_view bundleIdentifier) {
    Value filter = plist::readFile(filterPath)["Filter"];
    for (const Value& bundle : filter["Bundles"].array())
        if (bundle.string() == bundleIdentifier) return true;
    return false;
}

std::vector<std::string> loadTweakLibraries() {
    std::vector<std::string> loaded;
    for (const std::string& file : fs::listDirectory(kDynamicLibrariesFolder)) {
        if (file.size() < 7 || file.substr(file.size() - 6) != ".dylib") continue;
        std::string name = file.substr(0, file.size() - 6);
        std::string filter = fs::join(kDynamicLibrariesFolder, name + ".plist");
        if (!filterNames(filter, process::bundleIdentifier())) continue;
        if (loadLibrary(fs::join(kDynamicLibrariesFolder, file))) loaded.push_back(name);
    }
    return loaded;
}

bool loadBundleExecutable(std::string_view bundlePath) {
    std::string name = fs::basename(bundlePath);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
    std::string executable = fs::join(bundlePath, name);
    return fs::exists(executable) && loadLibrary(executable);
}

}  // namespace platform::host

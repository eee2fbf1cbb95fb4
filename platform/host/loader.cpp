#include "platform/host/loader.h"

#include "platform/foundation/dynamic_library.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/process.h"

namespace platform::host {

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
        if (loadDeviceLibrary(fs::join(kDynamicLibrariesFolder, file))) loaded.push_back(name);
    }
    return loaded;
}

}  // namespace platform::host

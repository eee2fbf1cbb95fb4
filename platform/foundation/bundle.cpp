#include "platform/foundation/bundle.h"

#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"

namespace platform {

namespace {
struct Bundles {
    std::mutex mutex;
    std::map<std::string, Ref<NSBundle>, std::less<>> byPath;
    std::map<std::string, std::string, std::less<>> locations;  // identifier -> path
    Ref<NSBundle> main;
};
Bundles& bundles() {
    static Bundles* b = new Bundles();
    return *b;
}
const char* const kLocalizationFolders[] = {"", "en.lproj", "English.lproj", "Base.lproj"};
}  // namespace

NSBundle* NSBundle::mainBundle() {
    std::lock_guard guard(bundles().mutex);
    return bundles().main.get();
}

void NSBundle::setMainBundle(std::string path, Value infoDictionary) {
    auto b = as<NSBundle>(alloc("NSBundle"));
    b->path_ = path;
    b->info_ = std::move(infoDictionary);
    std::lock_guard guard(bundles().mutex);
    bundles().main = b;
    bundles().byPath[path] = b;
}

void NSBundle::registerBundleLocation(std::string identifier, std::string path) {
    std::lock_guard guard(bundles().mutex);
    bundles().locations[std::move(identifier)] = std::move(path);
}

Ref<NSBundle> NSBundle::bundleWithPath(std::string_view path) {
    std::string p(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    {
        std::lock_guard guard(bundles().mutex);
        if (auto it = bundles().byPath.find(p); it != bundles().byPath.end()) return it->second;
    }
    if (!fs::isDirectory(p)) return nullptr;
    auto b = as<NSBundle>(alloc("NSBundle"));
    b->path_ = p;
    b->info_ = plist::readFile(fs::join(p, "Info.plist"));
    std::lock_guard guard(bundles().mutex);
    return bundles().byPath.emplace(p, b).first->second;
}

Ref<NSBundle> NSBundle::bundleWithIdentifier(std::string_view identifier) {
    std::string location;
    {
        std::lock_guard guard(bundles().mutex);
        for (auto& [path, b] : bundles().byPath)
            if (b->bundleIdentifier().string() == identifier) return b;
        auto it = bundles().locations.find(identifier);
        if (it == bundles().locations.end()) return nullptr;
        location = it->second;
    }
    auto b = bundleWithPath(location);
    if (b && b->info_["CFBundleIdentifier"].isNil()) b->info_.mutableDictionary()["CFBundleIdentifier"] = Value(std::string(identifier));
    return b;
}

Value NSBundle::pathForResource(std::string_view name, std::string_view type) const {
    std::string file(name);
    if (!type.empty()) file += "." + std::string(type);
    for (const char* folder : kLocalizationFolders) {
        std::string candidate = fs::join(*folder ? fs::join(path_, folder) : path_, file);
        if (fs::exists(candidate) && !fs::isDirectory(candidate)) return Value(candidate);
    }
    return Value();
}

const StringsTable& NSBundle::table(const std::string& name) const {
    std::lock_guard guard(mutex_);
    if (auto it = tables_.find(name); it != tables_.end()) return it->second;
    StringsTable merged;
    // Later folders only fill keys the earlier ones lack.
    for (const char* folder : kLocalizationFolders) {
        std::string path = fs::join(*folder ? fs::join(path_, folder) : path_, name + ".strings");
        auto bytes = fs::readFile(path);
        if (!bytes) continue;
        auto parsed = parseStringsTable(*bytes);
        if (!parsed) continue;
        for (auto& [k, v] : parsed.value()) merged.emplace(k, v);
    }
    return tables_.emplace(name, std::move(merged)).first->second;
}

std::string NSBundle::localizedStringForKey(std::string_view key, const Value& value, const Value& tableName) const {
    std::string name = tableName.isString() && !tableName.string().empty() ? tableName.string() : "Localizable";
    const StringsTable& t = table(name);
    if (auto it = t.find(key); it != t.end()) return it->second;
    if (value.isString() && !value.string().empty()) return value.string();
    return std::string(key);
}

}  // namespace platform

// NSBundle: a folder with an Info.plist, its resources and its string tables.
// Bundles are made once per path and kept; their tables are read once.
// Paths are device paths.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/foundation/strings_table.h"
#include "platform/runtime/nsobject.h"

namespace platform {

class NSBundle : public NSObject {
public:
    static NSBundle* mainBundle();
    // Null when there is no folder at the path.
    static Ref<NSBundle> bundleWithPath(std::string_view path);
    // A bundle made by path earlier, or one the platform knows by identifier.
    static Ref<NSBundle> bundleWithIdentifier(std::string_view identifier);

    // Boot: the host's own bundle. Platform modules: bundles known by identifier.
    static void setMainBundle(std::string path, Value infoDictionary);
    static void registerBundleLocation(std::string identifier, std::string path);

    const std::string& bundlePath() const { return path_; }
    Value bundleIdentifier() const { return info_["CFBundleIdentifier"]; }
    const Value& infoDictionary() const { return info_; }
    Value objectForInfoDictionaryKey(std::string_view key) const { return info_[key]; }

    // The device path of a resource, looked up in the bundle folder and its
    // English localization folders; nil when there is none. An empty type means
    // that the name carries its extension.
    Value pathForResource(std::string_view name, std::string_view type) const;
    // The text for `key` in `table` ("Localizable" when nil or empty); when the
    // table lacks it, `value` unless that is nil or empty, else the key.
    std::string localizedStringForKey(std::string_view key, const Value& value, const Value& table) const;

private:
    const StringsTable& table(const std::string& name) const;
    std::string path_;
    Value info_;
    mutable std::mutex mutex_;
    mutable std::map<std::string, StringsTable, std::less<>> tables_;
};

}  // namespace platform

// NSUserDefaults: the process's own preference domain, a property-list file
// named after the bundle identifier in the home folder's Library/Preferences,
// over the global domain ("AppleLanguages"). Every set is written through the
// locked update before it returns, so nothing set is lost when the process
// dies; reads come from the process's copy, read again by synchronize (which
// is how a value another process wrote is seen). A key never written reads as
// nil from objectForKey:, unlike a stored zero. Safe to call from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/runtime/nsobject.h"

namespace platform {

class PreferenceFile;

inline constexpr const char* NSGlobalDomain = "NSGlobalDomain";
inline constexpr const char* NSUserDefaultsDidChangeNotification = "NSUserDefaultsDidChangeNotification";

class NSUserDefaults : public NSObject {
public:
    static NSUserDefaults* standardUserDefaults();
    // The device path of the process's domain file.
    static std::string standardDomainPath();
    static std::string globalDomainPath();

    Value objectForKey(std::string_view key) const;
    // A string, or a number's text; nil otherwise.
    Value stringForKey(std::string_view key) const;
    // A dictionary; nil otherwise.
    Value dictionaryForKey(std::string_view key) const;
    long long integerForKey(std::string_view key) const;
    double doubleForKey(std::string_view key) const;
    bool boolForKey(std::string_view key) const;

    // A nil value removes the key; a value a property list cannot hold raises
    // NSInvalidArgumentException, as the platform does.
    void setObject(const Value& value, std::string_view key);
    void setDouble(double value, std::string_view key);
    void setBool(bool value, std::string_view key);
    void setInteger(long long value, std::string_view key);
    void removeObjectForKey(std::string_view key);
    // Reads both domains again (sets are already on disk).
    bool synchronize();

private:
    PreferenceFile& domain() const;
    PreferenceFile& global() const;
    mutable std::shared_ptr<PreferenceFile> domain_, global_;
    mutable std::mutex mutex_;
};

}  // namespace platform

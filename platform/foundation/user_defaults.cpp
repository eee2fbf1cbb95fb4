#include "platform/foundation/user_defaults.h"

#include "platform/foundation/file_manager.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/preference_file.h"
#include "platform/foundation/process.h"
#include "platform/runtime/exception.h"

namespace platform {

NSUserDefaults* NSUserDefaults::standardUserDefaults() {
    static NSUserDefaults* defaults = as<NSUserDefaults>(alloc("NSUserDefaults").leak());
    return defaults;
}

std::string NSUserDefaults::standardDomainPath() {
    return NSHomeDirectory() + "/Library/Preferences/" + process::bundleIdentifier() + ".plist";
}

std::string NSUserDefaults::globalDomainPath() { return "/var/mobile/Library/Preferences/.GlobalPreferences.plist"; }

PreferenceFile& NSUserDefaults::domain() const {
    std::lock_guard guard(mutex_);
    if (!domain_) domain_ = std::make_shared<PreferenceFile>(standardDomainPath());
    return *domain_;
}

PreferenceFile& NSUserDefaults::global() const {
    std::lock_guard guard(mutex_);
    if (!global_) global_ = std::make_shared<PreferenceFile>(globalDomainPath());
    return *global_;
}

Value NSUserDefaults::objectForKey(std::string_view key) const {
    Value v = domain().get(key);
    if (!v.isNil()) return v;
    v = global().get(key);
    // Every device has a language list; a device root without the global file
    // speaks English.
    if (v.isNil() && key == "AppleLanguages") return Value::array({Value("en")});
    return v;
}

Value NSUserDefaults::stringForKey(std::string_view key) const {
    Value v = objectForKey(key);
    if (v.isString()) return v;
    if (v.isNumber()) return Value(v.description());
    return Value();
}

Value NSUserDefaults::dictionaryForKey(std::string_view key) const {
    Value v = objectForKey(key);
    return v.isDictionary() ? v : Value();
}

long long NSUserDefaults::integerForKey(std::string_view key) const { return objectForKey(key).integerValue(); }
double NSUserDefaults::doubleForKey(std::string_view key) const { return objectForKey(key).doubleValue(); }
bool NSUserDefaults::boolForKey(std::string_view key) const { return objectForKey(key).boolValue(); }

void NSUserDefaults::setObject(const Value& value, std::string_view key) {
    if (!value.isNil() && !plist::toXml(value))
        raise("NSInvalidArgumentException", "Attempt to insert non-property list object for key " + std::string(key));
    domain().set(key, value);
}

void NSUserDefaults::setDouble(double value, std::string_view key) { setObject(Value(value), key); }
void NSUserDefaults::setBool(bool value, std::string_view key) { setObject(Value(value), key); }
void NSUserDefaults::setInteger(long long value, std::string_view key) { setObject(Value(value), key); }
void NSUserDefaults::removeObjectForKey(std::string_view key) { domain().set(key, Value()); }

bool NSUserDefaults::synchronize() {
    domain().reload();
    global().reload();
    return true;
}

}  // namespace platform

#include "platform/foundation/preference_file.h"

#include "platform/foundation/plist.h"

namespace platform {

namespace {
Value readDomain(const std::string& path) {
    Value v = plist::readFile(path);
    return v.isDictionary() ? v : Value(Value::Dictionary{});
}
}  // namespace

Value& PreferenceFile::loaded() {
    if (!cache_) cache_ = readDomain(path_);
    return *cache_;
}

Value PreferenceFile::get(std::string_view key) {
    std::lock_guard guard(mutex_);
    return loaded()[key];
}

Value PreferenceFile::dictionary() {
    std::lock_guard guard(mutex_);
    return loaded();
}

bool PreferenceFile::set(std::string_view key, const Value& value) {
    std::lock_guard order(writeMutex_);
    Value written;
    bool ok = plist::update(path_, [&](Value::Dictionary& dict) {
        if (value.isNil()) dict.erase(std::string(key));
        else dict[std::string(key)] = value;
        written = Value(dict);
        return true;
    });
    std::lock_guard guard(mutex_);
    if (ok) {
        cache_ = std::move(written);
    } else {
        auto& mine = loaded().mutableDictionary();
        if (value.isNil()) mine.erase(std::string(key));
        else mine[std::string(key)] = value;
    }
    return ok;
}

void PreferenceFile::reload() {
    Value fresh = readDomain(path_);
    std::lock_guard guard(mutex_);
    cache_ = std::move(fresh);
}

}  // namespace platform

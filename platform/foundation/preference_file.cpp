#include "platform/foundation/preference_file.h"

#include "platform/foundation/plist.h"

namespace platform {

namespace {
Value dictionaryOf(const plist::Document& d) {
    const Value& v = d.value();
    return v.isDictionary() ? v : Value(Value::Dictionary{});
}
}  // namespace

const plist::Document& PreferenceFile::loaded() {
    if (!cache_) cache_ = plist::readDocument(path_);
    return *cache_;
}

Value PreferenceFile::get(std::string_view key) {
    std::lock_guard guard(mutex_);
    return loaded().valueForKey(key);
}

Value PreferenceFile::dictionary() {
    std::lock_guard guard(mutex_);
    return dictionaryOf(loaded());
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
    if (!ok) {
        written = dictionaryOf(loaded());
        auto& mine = written.mutableDictionary();
        if (value.isNil()) mine.erase(std::string(key));
        else mine[std::string(key)] = value;
    }
    cache_ = std::make_shared<const plist::Document>(std::move(written));
    return ok;
}

void PreferenceFile::reload() {
    auto fresh = plist::readDocument(path_);
    std::lock_guard guard(mutex_);
    cache_ = std::move(fresh);
}

}  // namespace platform

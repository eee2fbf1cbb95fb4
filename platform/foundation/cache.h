// NSCache: keys to values, safe from any thread; beyond `countLimit`
// (0: no limit) the entries set longest ago go first. A value is stored and
// read whole under the cache's lock, so no reader sees half an entry.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/runtime/nsobject.h"

namespace platform {

class NSCache : public NSObject {
public:
    static Ref<NSCache> make();

    long long countLimit() const;
    void setCountLimit(long long limit);
    // Nil when the key is not cached.
    Value objectForKey(std::string_view key) const;
    // A nil value removes the key.
    void setObject(const Value& value, std::string_view key);
    void removeObjectForKey(std::string_view key);
    void removeAllObjects();
    std::size_t count() const;

private:
    void evict();  // under mutex_
    struct Entry {
        Value value;
        std::list<std::string>::iterator age;
    };
    mutable std::mutex mutex_;
    long long countLimit_ = 0;
    std::list<std::string> order_;  // oldest set first
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace platform

// NSCache: keys to values, safe from any thread; beyond `countLimit`
// (0: no limit) the entries set longest ago go first. A value is stored and
// read whole under the cache's lock, so no reader sees half an entry. The
// (weak) delegate hears cache:willEvictObject: for each value evicted or
// removed, outside the lock, on the thread that caused it; the cache lets go
// of the value after that.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/nsobject.h"

namespace platform {

namespace sel {
// The cache's delegate: (cache, the value about to go).
inline constexpr Sel<void(id, id, Value)> cache_willEvictObject_{"cache:willEvictObject:"};
}  // namespace sel

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
    void setDelegate(id delegate);

private:
    void evict(std::vector<Value>& evicted);  // under mutex_
    void tellDelegate(const std::vector<Value>& evicted);
    struct Entry {
        Value value;
        std::list<std::string>::iterator age;
    };
    mutable std::mutex mutex_;
    long long countLimit_ = 0;
    WeakRef<Object> delegate_;
    std::list<std::string> order_;  // oldest set first
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace platform

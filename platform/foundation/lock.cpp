#include "platform/foundation/lock.h"

#include <unordered_map>

namespace platform {

Ref<NSLock> NSLock::make() { return as<NSLock>(alloc("NSLock")); }

namespace {
struct ObjectLock {
    std::recursive_mutex mutex;
    int users = 0;  // threads holding or waiting, counting each nested hold
};

// The locks live beside the objects rather than in them, as the platform's do;
// an entry goes when its last user leaves, so a dead object's address reused
// by a new one starts with a fresh lock.
struct ObjectLocks {
    std::mutex mutex;
    std::unordered_map<const Object*, ObjectLock> locks;
};
ObjectLocks& objectLocks() {
    static ObjectLocks* table = new ObjectLocks();
    return *table;
}
}  // namespace

void objc_sync_enter(id object) {
    if (!object) return;
    auto& table = objectLocks();
    ObjectLock* entry;
    {
        std::lock_guard guard(table.mutex);
        entry = &table.locks[object];  // nodes keep their address
        ++entry->users;
    }
    entry->mutex.lock();
}

void objc_sync_exit(id object) {
    if (!object) return;
    auto& table = objectLocks();
    std::lock_guard guard(table.mutex);
    auto it = table.locks.find(object);
    if (it == table.locks.end()) return;
    it->second.mutex.unlock();
    if (--it->second.users == 0) table.locks.erase(it);
}

}  // namespace platform

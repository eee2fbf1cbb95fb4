// NSLock, and the lock that every object carries for "@synchronized (self)"
// (objc_sync_enter / objc_sync_exit, Synchronized for a scope).
#pragma once

#include <mutex>

#include "platform/runtime/nsobject.h"

namespace platform {

// Not recursive, as on the platform: locking it twice on one thread deadlocks.
class NSLock : public NSObject {
public:
    static Ref<NSLock> make();
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
    bool tryLock() { return mutex_.try_lock(); }

private:
    std::mutex mutex_;
};

// The object's own lock, recursive, made when first taken and kept only while
// some thread holds or waits for it. A nil object locks nothing.
void objc_sync_enter(id object);
void objc_sync_exit(id object);

class Synchronized {
public:
    explicit Synchronized(id object) : object_(object) { objc_sync_enter(object_); }
    ~Synchronized() { objc_sync_exit(object_); }
    Synchronized(const Synchronized&) = delete;
    Synchronized& operator=(const Synchronized&) = delete;

private:
    id object_;
};

}  // namespace platform

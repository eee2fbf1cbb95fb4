#include "platform/foundation/cache.h"

namespace platform {

Ref<NSCache> NSCache::make() { return as<NSCache>(alloc("NSCache")); }

long long NSCache::countLimit() const {
    std::lock_guard guard(mutex_);
    return countLimit_;
}

void NSCache::setCountLimit(long long limit) {
    std::lock_guard guard(mutex_);
    countLimit_ = limit < 0 ? 0 : limit;
    evict();
}

Value NSCache::objectForKey(std::string_view key) const {
    std::lock_guard guard(mutex_);
    auto it = entries_.find(key);
    return it == entries_.end() ? Value() : it->second.value;
}

void NSCache::setObject(const Value& value, std::string_view key) {
    if (value.isNil()) return removeObjectForKey(key);
    std::lock_guard guard(mutex_);
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        // Set again: it is the newest now.
        order_.erase(it->second.age);
        it->second.value = value;
        it->second.age = order_.insert(order_.end(), std::string(key));
    } else {
        auto age = order_.insert(order_.end(), std::string(key));
        entries_.emplace(std::string(key), Entry{value, age});
    }
    evict();
}

void NSCache::removeObjectForKey(std::string_view key) {
    std::lock_guard guard(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end()) return;
    order_.erase(it->second.age);
    entries_.erase(it);
}

void NSCache::removeAllObjects() {
    std::lock_guard guard(mutex_);
    entries_.clear();
    order_.clear();
}

std::size_t NSCache::count() const {
    std::lock_guard guard(mutex_);
    return entries_.size();
}

void NSCache::evict() {
    while (countLimit_ > 0 && static_cast<long long>(entries_.size()) > countLimit_) {
        entries_.erase(order_.front());
        order_.pop_front();
    }
}

}  // namespace platform

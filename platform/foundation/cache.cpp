#include "platform/foundation/cache.h"

namespace platform {

Ref<NSCache> NSCache::make() { return as<NSCache>(alloc("NSCache")); }

long long NSCache::countLimit() const {
    std::lock_guard guard(mutex_);
    return countLimit_;
}

void NSCache::setCountLimit(long long limit) {
    std::vector<Value> evicted;
    {
        std::lock_guard guard(mutex_);
        countLimit_ = limit < 0 ? 0 : limit;
        evict(evicted);
    }
    tellDelegate(evicted);
}

Value NSCache::objectForKey(std::string_view key) const {
    std::lock_guard guard(mutex_);
    auto it = entries_.find(key);
    return it == entries_.end() ? Value() : it->second.value;
}

void NSCache::setObject(const Value& value, std::string_view key) {
    if (value.isNil()) return removeObjectForKey(key);
    std::vector<Value> evicted;
    {
        std::lock_guard guard(mutex_);
        auto it = entries_.find(key);
        if (it != entries_.end()) {
            // Set again: it is the newest now.
            order_.erase(it->second.age);
            evicted.push_back(std::exchange(it->second.value, value));
            it->second.age = order_.insert(order_.end(), std::string(key));
        } else {
            auto age = order_.insert(order_.end(), std::string(key));
            entries_.emplace(std::string(key), Entry{value, age});
        }
        evict(evicted);
    }
    tellDelegate(evicted);
}

void NSCache::removeObjectForKey(std::string_view key) {
    std::vector<Value> evicted;
    {
        std::lock_guard guard(mutex_);
        auto it = entries_.find(key);
        if (it == entries_.end()) return;
        order_.erase(it->second.age);
        evicted.push_back(std::move(it->second.value));
        entries_.erase(it);
    }
    tellDelegate(evicted);
}

void NSCache::removeAllObjects() {
    std::vector<Value> evicted;
    {
        std::lock_guard guard(mutex_);
        for (auto& [key, entry] : entries_) evicted.push_back(std::move(entry.value));
        entries_.clear();
        order_.clear();
    }
    tellDelegate(evicted);
}

void NSCache::setDelegate(id delegate) {
    std::lock_guard guard(mutex_);
    delegate_ = WeakRef<Object>(delegate);
}

void NSCache::tellDelegate(const std::vector<Value>& evicted) {
    if (evicted.empty()) return;
    Ref<Object> delegate;
    {
        std::lock_guard guard(mutex_);
        delegate = delegate_.lock();
    }
    if (!delegate || !respondsToSelector(delegate.get(), sel::cache_willEvictObject_.name)) return;
    for (const Value& value : evicted) sel::cache_willEvictObject_(delegate.get(), this, value);
}

std::size_t NSCache::count() const {
    std::lock_guard guard(mutex_);
    return entries_.size();
}

void NSCache::evict(std::vector<Value>& evicted) {
    while (countLimit_ > 0 && static_cast<long long>(entries_.size()) > countLimit_) {
        auto it = entries_.find(order_.front());
        evicted.push_back(std::move(it->second.value));
        entries_.erase(it);
        order_.pop_front();
    }
}

}  // namespace platform

// A string-keyed dictionary that remembers the order its keys were first
// inserted in, with the part of std::map's interface the system uses. JSON
// is written in that order; property lists and descriptions sort their keys
// themselves (sortedEntries). Equality does not depend on the order.
//
// Entries live in one vector, so building a dictionary costs one allocation
// and a lookup in a small one is a short scan; past kIndexedFrom entries a
// hash index keeps lookups and inserts constant. Unlike std::map, inserting
// may move the entries: references and iterators into a dictionary do not
// survive an insertion or an erase. Not thread-safe for writes; concurrent
// reads of an unchanged dictionary are safe.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

template <class V>
class OrderedDictionary {
public:
    using key_type = std::string;
    using mapped_type = V;
    using value_type = std::pair<const std::string, V>;
    using size_type = std::size_t;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    // Small dictionaries (an alarm record, a request's headers) are scanned.
    static constexpr std::size_t kIndexedFrom = 16;

    OrderedDictionary() = default;
    OrderedDictionary(const OrderedDictionary&) = default;
    OrderedDictionary(OrderedDictionary&&) noexcept = default;
    // The keys are const, so entries cannot be assigned one by one: a copy is
    // made whole and swapped in.
    OrderedDictionary& operator=(const OrderedDictionary& other) {
        if (this != &other) *this = OrderedDictionary(other);
        return *this;
    }
    OrderedDictionary& operator=(OrderedDictionary&& other) noexcept {
        entries_.swap(other.entries_);
        slots_.swap(other.slots_);
        return *this;
    }
    // A key given twice keeps its first value, as std::map's constructors do.
    OrderedDictionary(std::initializer_list<value_type> items) : OrderedDictionary(items.begin(), items.end()) {}
    template <class It>
    OrderedDictionary(It first, It last) {
        for (; first != last; ++first) emplace(first->first, first->second);
    }

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    const_iterator cbegin() const { return entries_.begin(); }
    const_iterator cend() const { return entries_.end(); }
    size_type size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void reserve(size_type n) { entries_.reserve(n); }
    void clear() {
        entries_.clear();
        slots_.clear();
    }

    iterator find(std::string_view key) { return begin() + static_cast<std::ptrdiff_t>(indexOf(key)); }
    const_iterator find(std::string_view key) const { return begin() + static_cast<std::ptrdiff_t>(indexOf(key)); }
    bool contains(std::string_view key) const { return indexOf(key) != size(); }
    size_type count(std::string_view key) const { return contains(key) ? 1 : 0; }

    V& at(std::string_view key) {
        std::size_t i = indexOf(key);
        if (i == size()) throw std::out_of_range("OrderedDictionary::at");
        return entries_[i].second;
    }
    const V& at(std::string_view key) const { return const_cast<OrderedDictionary*>(this)->at(key); }

    // The value of the key, added as a default value at the end when absent.
    V& operator[](std::string_view key) { return try_emplace(key).first->second; }

    // Adds the key at the end unless it is there; answers where it is and
    // whether it was added.
    template <class... Args>
    std::pair<iterator, bool> try_emplace(std::string_view key, Args&&... args) {
        std::size_t i = indexOf(key);
        if (i != size()) return {begin() + static_cast<std::ptrdiff_t>(i), false};
        entries_.emplace_back(std::piecewise_construct, std::forward_as_tuple(key),
                              std::forward_as_tuple(std::forward<Args>(args)...));
        indexLast();
        return {end() - 1, true};
    }
    template <class M>
    std::pair<iterator, bool> emplace(std::string_view key, M&& value) {
        return try_emplace(key, std::forward<M>(value));
    }
    std::pair<iterator, bool> insert(const value_type& entry) { return try_emplace(entry.first, entry.second); }
    std::pair<iterator, bool> insert(value_type&& entry) { return try_emplace(entry.first, std::move(entry.second)); }
    template <class It>
    void insert(It first, It last) {
        for (; first != last; ++first) try_emplace(first->first, first->second);
    }
    // A key already there keeps its place and takes the new value.
    template <class M>
    std::pair<iterator, bool> insert_or_assign(std::string_view key, M&& value) {
        auto [it, added] = try_emplace(key);
        it->second = std::forward<M>(value);
        return {it, added};
    }

    size_type erase(std::string_view key) {
        std::size_t i = indexOf(key);
        if (i == size()) return 0;
        eraseAt(i);
        return 1;
    }
    iterator erase(const_iterator pos) {
        std::size_t i = static_cast<std::size_t>(pos - cbegin());
        eraseAt(i);
        return begin() + static_cast<std::ptrdiff_t>(i);
    }

    // The entries in key order (std::string's), for writers whose output is
    // sorted: property lists and descriptions.
    std::vector<const value_type*> sortedEntries() const {
        std::vector<const value_type*> out;
        out.reserve(size());
        for (const value_type& e : entries_) out.push_back(&e);
        if (!isSorted())
            std::sort(out.begin(), out.end(), [](const value_type* a, const value_type* b) { return a->first < b->first; });
        return out;
    }
    bool isSorted() const {
        return std::is_sorted(entries_.begin(), entries_.end(),
                              [](const value_type& a, const value_type& b) { return a.first < b.first; });
    }

    // The same keys with equal values, in any order.
    friend bool operator==(const OrderedDictionary& a, const OrderedDictionary& b) {
        if (a.size() != b.size()) return false;
        for (const value_type& e : a) {
            auto it = b.find(e.first);
            if (it == b.end() || !(it->second == e.second)) return false;
        }
        return true;
    }

private:
    static std::size_t hashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

    // The position of the key, or size() when absent.
    std::size_t indexOf(std::string_view key) const {
        if (slots_.empty()) {
            for (std::size_t i = 0; i < entries_.size(); ++i)
                if (entries_[i].first == key) return i;
            return entries_.size();
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t s = hashOf(key) & mask;; s = (s + 1) & mask) {
            std::uint32_t slot = slots_[s];
            if (slot == 0) return entries_.size();
            if (entries_[slot - 1].first == key) return slot - 1;
        }
    }

    // Indexes the entry just added, growing the index to stay at most half full.
    void indexLast() {
        if (entries_.size() < kIndexedFrom) return;
        if (slots_.size() < 2 * entries_.size()) return rebuildIndex();
        place(entries_.size() - 1);
    }
    void place(std::size_t i) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t s = hashOf(entries_[i].first) & mask;
        while (slots_[s] != 0) s = (s + 1) & mask;
        slots_[s] = static_cast<std::uint32_t>(i + 1);
    }
    void rebuildIndex() {
        slots_.clear();
        if (entries_.size() < kIndexedFrom) return;
        std::size_t capacity = 4 * kIndexedFrom;
        while (capacity < 4 * entries_.size()) capacity *= 2;
        slots_.assign(capacity, 0);
        for (std::size_t i = 0; i < entries_.size(); ++i) place(i);
    }

    // The keys are const, so the entries after the erased one are copied
    // into a new vector; erasing is rare next to reading.
    void eraseAt(std::size_t i) {
        std::vector<value_type> rest;
        rest.reserve(entries_.size() - 1);
        for (std::size_t k = 0; k < entries_.size(); ++k)
            if (k != i) rest.emplace_back(std::move(entries_[k]));
        entries_ = std::move(rest);
        rebuildIndex();
    }

    std::vector<value_type> entries_;
    std::vector<std::uint32_t> slots_;  // entry index + 1, 0 for a free slot; empty below kIndexedFrom
};

}  // namespace platform

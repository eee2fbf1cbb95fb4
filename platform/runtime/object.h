// Runtime objects: the base of every class of the object runtime, with an
// intrusive reference count that starts at 1, strong references (Ref) and
// zeroing weak references (WeakRef). Counts are atomic; an object may be
// retained and released from any thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <type_traits>
#include <utility>

namespace platform {

class Class;
class Object;
using id = Object*;

namespace detail {
// Shared by an object and its weak references. Cut (object set to null) when
// the strong count reaches zero, before any member of the object is destroyed.
struct WeakControl {
    std::mutex mutex;
    Object* object = nullptr;
    std::atomic<int> refs{1};  // the object's own reference plus one per WeakRef
    void addRef() noexcept { refs.fetch_add(1, std::memory_order_relaxed); }
    void release() noexcept {
        if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
};
}  // namespace detail

class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void retain() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
    void release() const noexcept;
    int retainCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

    // The object's class (its isa). For a class object this is its metaclass.
    Class* isa() const noexcept { return isa_; }

protected:
    Object() = default;
    virtual ~Object();

private:
    friend class Class;
    template <class T> friend class WeakRef;
    // Retains when the count is not already zero; used by WeakRef::lock.
    bool tryRetain() const noexcept;
    detail::WeakControl* weakControl() const;

    mutable std::atomic<int> refs_{1};
    mutable std::atomic<detail::WeakControl*> weak_{nullptr};
    Class* isa_ = nullptr;
};

// A strong reference. Copying retains, destruction releases.
template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    // Retains: the caller keeps its own reference.
    Ref(T* p) noexcept : p_(p) {
        if (p_) p_->retain();
    }
    Ref(const Ref& o) noexcept : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& o) noexcept : Ref(static_cast<T*>(o.get())) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& o) noexcept : p_(o.leak()) {}
    ~Ref() {
        if (p_) p_->release();
    }

    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    // Takes over a reference the caller already owns (a fresh object's +1).
    static Ref adopt(T* p) noexcept {
        Ref r;
        r.p_ = p;
        return r;
    }
    // Gives up the reference without releasing it.
    T* leak() noexcept { return std::exchange(p_, nullptr); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    operator T*() const noexcept { return p_; }

private:
    T* p_ = nullptr;
};

// A zeroing weak reference: lock() gives a strong reference, or null once the
// object's last strong reference went.
template <class T>
class WeakRef {
public:
    WeakRef() noexcept = default;
    WeakRef(std::nullptr_t) noexcept {}
    WeakRef(T* p) { reset(p); }
    WeakRef(const Ref<T>& p) { reset(p.get()); }
    WeakRef(const WeakRef& o) noexcept : control_(o.control_) {
        if (control_) control_->addRef();
    }
    WeakRef(WeakRef&& o) noexcept : control_(std::exchange(o.control_, nullptr)) {}
    ~WeakRef() {
        if (control_) control_->release();
    }
    WeakRef& operator=(WeakRef o) noexcept {
        std::swap(control_, o.control_);
        return *this;
    }
    WeakRef& operator=(T* p) {
        reset(p);
        return *this;
    }

    Ref<T> lock() const {
        if (!control_) return nullptr;
        std::lock_guard guard(control_->mutex);
        Object* o = control_->object;
        if (!o || !o->tryRetain()) return nullptr;
        return Ref<T>::adopt(static_cast<T*>(o));
    }
    // Takes no reference, so asking never makes this thread the last owner.
    bool expired() const {
        if (!control_) return true;
        std::lock_guard guard(control_->mutex);
        return !control_->object || control_->object->refs_.load(std::memory_order_acquire) <= 0;
    }
    // Whether both refer to one object: an object has one control block for life.
    friend bool operator==(const WeakRef& a, const WeakRef& b) noexcept { return a.control_ == b.control_; }

private:
    void reset(T* p) {
        detail::WeakControl* next = p ? static_cast<const Object*>(p)->weakControl() : nullptr;
        if (next) next->addRef();
        if (control_) control_->release();
        control_ = next;
    }
    detail::WeakControl* control_ = nullptr;
};

}  // namespace platform

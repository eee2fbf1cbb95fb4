// Plain accessors of the screens' declared properties: a getter that only
// reads and a setter that only stores, for members that hold runtime objects.
#pragma once

#include <type_traits>

#include "platform/runtime/runtime.h"

namespace rousa {

namespace detail {
template <class H>
struct HeldClass;
template <class T>
struct HeldClass<platform::Ref<T>> {
    using type = T;
};
template <class T>
struct HeldClass<platform::WeakRef<T>> {
    using type = T;
};
}  // namespace detail

template <class C, auto Member>
platform::Ref<platform::Object> getObjectProperty(platform::id self) {
    const auto& held = static_cast<C*>(self)->*Member;
    if constexpr (requires { held.lock(); }) return held.lock();
    else return platform::Ref<platform::Object>(held.get());
}

// Stores `value` when it is of the member's class (or nil); another object is
// refused, as a typed property would never hold it.
template <class C, auto Member>
void setObjectProperty(platform::id self, platform::id value) {
    auto& held = static_cast<C*>(self)->*Member;
    using Target = typename detail::HeldClass<std::remove_cvref_t<decltype(held)>>::type;
    if constexpr (std::is_same_v<Target, platform::Object>) held = value;
    else held = platform::as<Target>(value);
}

}  // namespace rousa

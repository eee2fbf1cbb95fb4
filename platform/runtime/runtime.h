// The object runtime: classes registered by name (with metaclasses for class
// methods), method records, typed selectors and message sends, protocols,
// instance variables by name, key-value coding and the dynamic sends that the
// platform makes without knowing a method's signature.
//
// Classes, methods and hooks are registered while a process starts (boot, then
// the loaded libraries' start-up), before any second thread exists; afterwards
// the tables are only read, from any thread.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "platform/runtime/exception.h"
#include "platform/runtime/object.h"
#include "platform/runtime/value.h"

namespace platform {

class Class;
class Protocol;

// A type-erased implementation. Every implementation is a plain function whose
// first parameter is the receiver; it is cast back to its exact type at the call.
using IMP = void (*)();

// A selector name, interned so that it can be kept.
struct SEL {
    std::string_view name;
    friend bool operator==(SEL a, SEL b) { return a.name == b.name; }
};
SEL sel_registerName(std::string_view name);

// --- value conversions used by the dynamic sends and key-value coding ----------

template <class T, class = void>
struct ValueConv;  // no specialisation: the type cannot cross a dynamic send

template <class T>
concept ValueConvertible = requires(const Value& v, const T& t) {
    { ValueConv<std::remove_cvref_t<T>>::from(v) };
    { ValueConv<std::remove_cvref_t<T>>::to(t) } -> std::same_as<Value>;
};

template <>
struct ValueConv<Value> {
    static const Value& from(const Value& v) { return v; }
    static Value to(const Value& v) { return v; }
};
template <>
struct ValueConv<bool> {
    static bool from(const Value& v) { return v.boolValue(); }
    static Value to(bool b) { return Value(b); }
};
template <class T>
struct ValueConv<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
    static T from(const Value& v) { return static_cast<T>(v.integerValue()); }
    static Value to(T i) { return Value(static_cast<long long>(i)); }
};
template <class T>
struct ValueConv<T, std::enable_if_t<std::is_floating_point_v<T>>> {
    static T from(const Value& v) { return static_cast<T>(v.doubleValue()); }
    static Value to(T d) { return Value(static_cast<double>(d)); }
};
template <>
struct ValueConv<std::string> {
    static std::string from(const Value& v) { return v.string(); }
    static Value to(const std::string& s) { return Value(s); }
};
template <>
struct ValueConv<Point> {
    static Point from(const Value& v) { return v.point(); }
    static Value to(Point p) { return Value(p); }
};
template <>
struct ValueConv<Size> {
    static Size from(const Value& v) { return v.size(); }
    static Value to(Size s) { return Value(s); }
};
template <>
struct ValueConv<Rect> {
    static Rect from(const Value& v) { return v.rect(); }
    static Value to(Rect r) { return Value(r); }
};
template <>
struct ValueConv<Date> {
    static Date from(const Value& v) { return v.date(); }
    static Value to(Date d) { return Value(d); }
};
namespace detail {
// Opaque handles (a dispatch queue) are pointers to incomplete types: they are
// no objects and cannot cross a dynamic send, but typed sends may carry them.
template <class T>
struct IsComplete : std::bool_constant<requires { sizeof(T); }> {};
}  // namespace detail
template <class T>
struct ValueConv<T*, std::enable_if_t<std::conjunction_v<detail::IsComplete<T>, std::is_base_of<Object, T>>>> {
    static T* from(const Value& v) { return dynamic_cast<T*>(v.object()); }
    static Value to(T* o) { return Value(static_cast<Object*>(o)); }
};
template <class T>
struct ValueConv<Ref<T>> {
    static Ref<T> from(const Value& v) { return Ref<T>(dynamic_cast<T*>(v.object())); }
    static Value to(const Ref<T>& o) { return Value(static_cast<Object*>(o.get())); }
};
template <class T>
struct ValueConv<WeakRef<T>> {
    static WeakRef<T> from(const Value& v) { return WeakRef<T>(dynamic_cast<T*>(v.object())); }
    static Value to(const WeakRef<T>& o) { return Value(static_cast<Object*>(o.lock().get())); }
};

// --- signatures ------------------------------------------------------------------

// Calls an implementation with arguments taken from values; null when a type of
// the signature cannot be converted.
using Invoker = Value (*)(IMP imp, id self, std::span<const Value> args);

struct Signature {
    const std::type_info* type;  // the implementation's function-pointer type
    int arity;                   // arguments after the receiver
    Invoker invoker;
    std::string text() const;    // readable form for error messages
};

namespace detail {

template <class R, class... A, std::size_t... I>
Value invokeWith(IMP imp, id self, std::span<const Value> args, std::index_sequence<I...>) {
    auto fn = reinterpret_cast<R (*)(id, A...)>(imp);
    auto arg = [&](std::size_t i) -> const Value& { return i < args.size() ? args[i] : Value::nil(); };
    if constexpr (std::is_void_v<R>) {
        fn(self, ValueConv<std::remove_cvref_t<A>>::from(arg(I))...);
        return Value();
    } else {
        return ValueConv<std::remove_cvref_t<R>>::to(fn(self, ValueConv<std::remove_cvref_t<A>>::from(arg(I))...));
    }
}

template <class R, class... A>
Value invoke(IMP imp, id self, std::span<const Value> args) {
    return invokeWith<R, A...>(imp, self, args, std::index_sequence_for<A...>{});
}

template <class Sig>
struct SignatureOf;
template <class R, class... A>
struct SignatureOf<R(id, A...)> {
    static constexpr bool convertible = (std::is_void_v<R> || ValueConvertible<R>) && (ValueConvertible<A> && ...);
    // Only a convertible signature instantiates its invoker: a block or a
    // pointer parameter is fine for typed sends.
    static constexpr Invoker invoker() {
        if constexpr (convertible) return &invoke<R, A...>;
        else return nullptr;
    }
    static const Signature& get() {
        static const Signature sig{&typeid(R (*)(id, A...)), static_cast<int>(sizeof...(A)), invoker()};
        return sig;
    }
};

}  // namespace detail

// A method record: one store replaces its implementation.
struct Method {
    std::string selector;
    IMP imp = nullptr;
    const Signature* signature = nullptr;
    Class* owner = nullptr;
};

namespace detail {
// Finds the method for a send; throws NSException for an unknown selector or a
// call whose signature does not match the method's.
const Method& resolve(id self, std::string_view selector, const std::type_info& sig);
const Method& resolveFrom(Class* start, id self, std::string_view selector, const std::type_info& sig);
template <class R>
R zero() {
    if constexpr (!std::is_void_v<R>) return R{};
}
}  // namespace detail

// A selector with the signature of its implementations, declared once as a
// constant: `inline constexpr Sel<void(id, id, long long)> alertView_clickedButtonAtIndex_{"alertView:clickedButtonAtIndex:"};`
// Calling it sends the message: `alertView_clickedButtonAtIndex_(item, item, 0)`.
template <class Sig>
struct Sel;
template <class R, class... A>
struct Sel<R(id, A...)> {
    using Signature = R(id, A...);
    using Result = R;
    using Function = R (*)(id, A...);
    const char* name;
    constexpr explicit Sel(const char* n) : name(n) {}
    operator SEL() const { return SEL{name}; }

    // A message to nil answers the zero value of the result.
    template <class... Args>
    R operator()(id self, Args&&... args) const {
        if (!self) return detail::zero<R>();
        const Method& m = detail::resolve(self, name, typeid(Function));
        return reinterpret_cast<Function>(m.imp)(self, std::forward<Args>(args)...);
    }
    // A send to the superclass of `definingClass` (what `super` means there).
    template <class... Args>
    R super(Class* definingClass, id self, Args&&... args) const;
};

// --- classes -------------------------------------------------------------------------

class Protocol {
public:
    explicit Protocol(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
private:
    std::string name_;
};

// Instance variables are reached by name through accessors the class registers.
struct IvarAccess {
    std::function<Value(id)> get;
    std::function<void(id, const Value&)> set;
};

// Classes that keep values for keys they do not define (as some platform classes
// do) derive from this; key-value coding stores such keys here.
class UndefinedKeyStorage {
public:
    virtual ~UndefinedKeyStorage() = default;
    Value::Dictionary undefinedKeys;
};

class Class final : public Object {
public:
    using Factory = Object* (*)();

    const std::string& name() const { return name_; }
    Class* superclass() const { return super_; }
    Class* metaclass() const { return isMeta_ ? nullptr : meta_; }
    bool isMetaclass() const { return isMeta_; }

    // The method this class itself defines for the selector, or null.
    Method* ownMethod(std::string_view selector);
    // The method found along the superclass chain, or null.
    const Method* lookup(std::string_view selector) const;
    bool isSubclassOf(const Class* other) const;

    // Makes an instance: the class's C++ type (its own or its nearest
    // superclass's), with its count at 1. Null for a class without a C++ type.
    Ref<Object> alloc();

    const IvarAccess* ivar(std::string_view name) const;
    bool conformsTo(const Protocol* p) const;
    bool storesUndefinedKeys() const;

    // Registration, while the process starts.
    void addMethodRecord(std::string selector, IMP imp, const Signature& sig);
    void addIvar(std::string name, IvarAccess access);
    bool addProtocol(Protocol* p);
    void setStoresUndefinedKeys(bool b) { undefinedKeys_ = b; }

private:
    friend Class* objc_allocateClass(std::string_view, Class*, Factory);
    Class(std::string name, Class* super, bool meta, Factory factory);
    static void setIsa(Object* o, Class* c) { o->isa_ = c; }

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::string name_;
    Class* super_;
    Class* meta_ = nullptr;
    bool isMeta_;
    bool undefinedKeys_ = false;
    Factory factory_;
    std::unordered_map<std::string, Method, Hash, std::equal_to<>> methods_;
    std::unordered_map<std::string, IvarAccess, Hash, std::equal_to<>> ivars_;
    std::vector<Protocol*> protocols_;
};

template <class R, class... A>
template <class... Args>
R Sel<R(id, A...)>::super(Class* definingClass, id self, Args&&... args) const {
    if (!self || !definingClass) return detail::zero<R>();
    // For a class method the chain to search is the metaclass's.
    Class* start = self->isa()->isMetaclass() ? definingClass->metaclass() : definingClass;
    const Method& m = detail::resolveFrom(start ? start->superclass() : nullptr, self, name, typeid(Function));
    return reinterpret_cast<Function>(m.imp)(self, std::forward<Args>(args)...);
}

// --- the class registry -------------------------------------------------------------

// Decides which classes this process has; a class it rejects is never
// registered, so it is not found by name and its hooks install nothing.
void setClassFilter(std::function<bool(std::string_view name)> exists);

// Registers a class (and its metaclass). Null when the filter leaves it out or
// its superclass is missing; a second class of the same name is a fatal error.
Class* objc_allocateClass(std::string_view name, Class* superclass, Class::Factory factory);
Class* objc_getClass(std::string_view name);
// Every registered class (not the metaclasses), in no particular order.
std::vector<Class*> objc_getClassList();
Class* NSClassFromString(std::string_view name);
Class* object_getClass(id obj);
std::string NSStringFromClass(const Class* cls);

template <class T>
Object* makeInstance() {
    return new T();
}

// Builds a class: `ClassBuilder<UIView>("UIView", "UIResponder").method(sel::layoutSubviews, &layoutSubviews)`.
// Every call is a no-op when the class was left out.
template <class T>
class ClassBuilder {
public:
    ClassBuilder(std::string_view name, std::string_view superclass)
        : cls_(superclass.empty() ? objc_allocateClass(name, nullptr, &makeInstance<T>)
                                  : (objc_getClass(superclass) ? objc_allocateClass(name, objc_getClass(superclass), &makeInstance<T>) : nullptr)) {}
    // A class without a C++ type of its own: instances are its superclass's type.
    static ClassBuilder inheritingType(std::string_view name, std::string_view superclass) {
        return ClassBuilder(objc_getClass(superclass) ? objc_allocateClass(name, objc_getClass(superclass), nullptr) : nullptr);
    }
    explicit ClassBuilder(Class* existing) : cls_(existing) {}

    Class* get() const { return cls_; }
    explicit operator bool() const { return cls_ != nullptr; }

    template <class R, class... A>
    ClassBuilder& method(Sel<R(id, A...)> sel, std::type_identity_t<R (*)(id, A...)> imp) {
        if (cls_) cls_->addMethodRecord(sel.name, reinterpret_cast<IMP>(imp), detail::SignatureOf<R(id, A...)>::get());
        return *this;
    }
    template <class R, class... A>
    ClassBuilder& classMethod(Sel<R(id, A...)> sel, std::type_identity_t<R (*)(id, A...)> imp) {
        if (cls_) cls_->metaclass()->addMethodRecord(sel.name, reinterpret_cast<IMP>(imp), detail::SignatureOf<R(id, A...)>::get());
        return *this;
    }
    // A getter answering a member, and a setter storing it.
    template <auto Member, class R>
    ClassBuilder& getter(Sel<R(id)> sel) {
        return method(sel, +[](id self) -> R { return static_cast<T*>(self)->*Member; });
    }
    template <auto Member, class V>
    ClassBuilder& setter(Sel<void(id, V)> sel) {
        return method(sel, +[](id self, V v) { static_cast<T*>(self)->*Member = std::forward<V>(v); });
    }
    template <auto Member, class R, class V>
    ClassBuilder& property(Sel<R(id)> get, Sel<void(id, V)> set) {
        getter<Member>(get);
        return setter<Member>(set);
    }
    // An instance variable reachable by name.
    template <auto Member>
    ClassBuilder& ivar(std::string name) {
        if (cls_) {
            cls_->addIvar(std::move(name), IvarAccess{
                [](id self) -> Value {
                    using M = std::remove_cvref_t<decltype(static_cast<T*>(self)->*Member)>;
                    return ValueConv<M>::to(static_cast<T*>(self)->*Member);
                },
                [](id self, const Value& v) {
                    using M = std::remove_cvref_t<decltype(static_cast<T*>(self)->*Member)>;
                    static_cast<T*>(self)->*Member = ValueConv<M>::from(v);
                }});
        }
        return *this;
    }
    ClassBuilder& protocol(std::string_view name);
    ClassBuilder& storesUndefinedKeys() {
        if (cls_) cls_->setStoresUndefinedKeys(true);
        return *this;
    }

private:
    Class* cls_;
};

// --- protocols -------------------------------------------------------------------------

// Null when a protocol of that name exists already.
Protocol* objc_allocateProtocol(std::string_view name);
void objc_registerProtocol(Protocol* p);
Protocol* objc_getProtocol(std::string_view name);
bool class_addProtocol(Class* cls, Protocol* p);
// Whether the class or one of its superclasses adopts the protocol.
bool class_conformsToProtocol(const Class* cls, const Protocol* p);

template <class T>
ClassBuilder<T>& ClassBuilder<T>::protocol(std::string_view name) {
    if (cls_) {
        Protocol* p = objc_getProtocol(name);
        if (!p) {
            p = objc_allocateProtocol(name);
            objc_registerProtocol(p);
        }
        class_addProtocol(cls_, p);
    }
    return *this;
}

// --- methods -------------------------------------------------------------------------------

// Adds a method to the class itself; NO when the class itself already has the
// selector (an inherited one may be overridden this way).
template <class R, class... A>
bool class_addMethod(Class* cls, Sel<R(id, A...)> sel, std::type_identity_t<R (*)(id, A...)> imp) {
    if (!cls || cls->ownMethod(sel.name)) return false;
    cls->addMethodRecord(sel.name, reinterpret_cast<IMP>(imp), detail::SignatureOf<R(id, A...)>::get());
    return true;
}
bool class_respondsToSelector(const Class* cls, std::string_view selector);
bool respondsToSelector(id obj, std::string_view selector);
bool isKindOfClass(id obj, const Class* cls);
bool isKindOfClass(id obj, std::string_view className);
bool conformsToProtocol(id obj, std::string_view protocolName);

// Casts a receiver to its C++ class; null when it is not one.
template <class T>
T* as(id obj) {
    return dynamic_cast<T*>(obj);
}
template <class T, class U>
Ref<T> as(const Ref<U>& obj) {
    return Ref<T>(dynamic_cast<T*>(static_cast<Object*>(obj.get())));
}

// Makes an instance of the named class; null when the class is missing.
Ref<Object> alloc(std::string_view className);
Ref<Object> alloc(Class* cls);

// --- dynamic sends ------------------------------------------------------------------------------

// Sends with arguments given as values, converted to the method's own types.
Value invoke(id target, std::string_view selector, std::span<const Value> args);
// Arity of the method the receiver has for the selector, or -1.
int methodArity(id target, std::string_view selector);
// performSelector:withObject: — a method without arguments gets none.
Value performSelector(id target, std::string_view selector, const Value& object = Value());
// Target-action: the action may take nothing, the sender, or the sender and the event.
void sendAction(id target, std::string_view action, id sender, id event = nullptr);

// --- instance variables and key-value coding -------------------------------------------------------

Value object_getIvar(id obj, std::string_view name);
bool object_setIvar(id obj, std::string_view name, const Value& value);
bool class_hasInstanceVariable(const Class* cls, std::string_view name);

// valueForKey: and setValue:forKey:, through the class's accessors (key, isKey,
// setKey:), then its instance variables (_key, key), then undefined-key storage
// where the class keeps it. Otherwise NSUnknownKeyException.
Value valueForKey(id obj, std::string_view key);
void setValueForKey(id obj, const Value& value, std::string_view key);

// --- helpers used by Value ---------------------------------------------------------------------------

std::string objectDescription(id obj);
bool objectsEqual(id a, id b);

// --- Substrate ---------------------------------------------------------------------------------------

// Stores the implementation in effect into *previous, then replaces it. For a
// selector the class only inherits, an override is added whose previous is the
// inherited implementation. A missing class or selector installs nothing and
// leaves *previous untouched. A replacement of another signature is refused
// with NSException.
template <class R, class... A>
void MSHookMessageEx(Class* cls, Sel<R(id, A...)> sel, std::type_identity_t<R (*)(id, A...)> replacement,
                     std::type_identity_t<R (*)(id, A...)>* previous);

namespace detail {
bool hookMessage(Class* cls, std::string_view selector, IMP replacement, const Signature& sig, IMP* previous);
}

template <class R, class... A>
void MSHookMessageEx(Class* cls, Sel<R(id, A...)> sel, std::type_identity_t<R (*)(id, A...)> replacement,
                     std::type_identity_t<R (*)(id, A...)>* previous) {
    IMP prev = nullptr;
    if (detail::hookMessage(cls, sel.name, reinterpret_cast<IMP>(replacement), detail::SignatureOf<R(id, A...)>::get(), &prev) && previous)
        *previous = reinterpret_cast<R (*)(id, A...)>(prev);
}

// Hookable platform functions: the function calls through its slot, which
// MSHookFunction replaces.
struct FunctionSlot {
    const char* name;
    IMP current;
    const std::type_info* type;
};
void registerHookableFunction(IMP symbol, FunctionSlot* slot);
FunctionSlot* hookableFunctionSlot(IMP symbol);

template <class F>
bool MSHookFunction(F* symbol, F* replacement, F** previous) {
    FunctionSlot* slot = hookableFunctionSlot(reinterpret_cast<IMP>(symbol));
    if (!slot) return false;
    if (*slot->type != typeid(F*))
        throw NSException("NSInvalidArgumentException", std::string("MSHookFunction: wrong signature for ") + slot->name);
    if (previous) *previous = reinterpret_cast<F*>(slot->current);
    slot->current = reinterpret_cast<IMP>(replacement);
    return true;
}

// Opening and draining an autorelease pool; objects are reference counted here,
// so the pool only marks the scope.
struct AutoreleasePool {
    AutoreleasePool() {}
    ~AutoreleasePool() {}
};

// Registers the root class NSObject and its methods.
namespace runtime {
void registerClasses();
}

}  // namespace platform

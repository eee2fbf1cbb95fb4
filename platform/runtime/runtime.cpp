#include "platform/runtime/runtime.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unordered_set>

#include "platform/runtime/nsobject.h"

namespace platform {

// --- objects ---------------------------------------------------------------------

Object::~Object() = default;

void Object::release() const noexcept {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    // Cut the weak references first, so that none can reach a half-destroyed object.
    if (auto* w = weak_.load(std::memory_order_acquire)) {
        {
            std::lock_guard guard(w->mutex);
            w->object = nullptr;
        }
        w->release();
    }
    delete this;
}

bool Object::tryRetain() const noexcept {
    int n = refs_.load(std::memory_order_relaxed);
    while (n > 0)
        if (refs_.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel)) return true;
    return false;
}

detail::WeakControl* Object::weakControl() const {
    auto* w = weak_.load(std::memory_order_acquire);
    if (w) return w;
    auto* fresh = new detail::WeakControl();
    fresh->object = const_cast<Object*>(this);
    if (weak_.compare_exchange_strong(w, fresh, std::memory_order_acq_rel)) return fresh;
    delete fresh;
    return w;
}

// --- selectors and signatures --------------------------------------------------------

SEL sel_registerName(std::string_view name) {
    static std::mutex mutex;
    static auto* names = new std::unordered_set<std::string>();
    std::lock_guard guard(mutex);
    return SEL{*names->emplace(name).first};
}

std::string Signature::text() const {
    int status = 0;
    char* readable = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    std::string out = status == 0 && readable ? readable : type->name();
    std::free(readable);
    return out;
}

// --- the registry ------------------------------------------------------------------------

namespace {

struct Registry {
    std::unordered_map<std::string, Class*, std::hash<std::string>> classes;
    std::unordered_map<std::string, Protocol*> protocols;
    std::function<bool(std::string_view)> filter;
    std::unordered_map<IMP, FunctionSlot*> functions;
};

Registry& registry() {
    // Classes live as long as the process; the registry is never torn down.
    static Registry* r = new Registry();
    return *r;
}

std::string pointerText(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

std::string methodName(id self, std::string_view selector) {
    bool isClass = self->isa()->isMetaclass();
    const std::string& cls = isClass ? static_cast<Class*>(self)->name() : self->isa()->name();
    return std::string(isClass ? "+[" : "-[") + cls + " " + std::string(selector) + "]";
}

[[noreturn]] void unrecognized(id self, std::string_view selector) {
    bool isClass = self->isa()->isMetaclass();
    raise("NSInvalidArgumentException", methodName(self, selector) + ": unrecognized selector sent to " +
                                            (isClass ? "class " : "instance ") + pointerText(self));
}

[[noreturn]] void signatureMismatch(std::string_view what, const Class* cls, std::string_view selector,
                                    const Signature& have, const std::type_info& want) {
    Signature wanted{&want, 0, nullptr};
    raise("NSInvalidArgumentException", std::string(what) + ": signature mismatch for " + (cls->isMetaclass() ? "+[" : "-[") +
                                            cls->name() + " " + std::string(selector) + "]: the method is " + have.text() +
                                            ", the call is " + wanted.text());
}

}  // namespace

void setClassFilter(std::function<bool(std::string_view)> exists) { registry().filter = std::move(exists); }

Class::Class(std::string name, Class* super, bool meta, Factory factory)
    : name_(std::move(name)), super_(super), isMeta_(meta), factory_(factory) {}

Class* objc_allocateClass(std::string_view name, Class* superclass, Class::Factory factory) {
    auto& r = registry();
    if (r.filter && !r.filter(name)) return nullptr;
    if (r.classes.count(std::string(name)))
        raise("NSInternalInconsistencyException", "class " + std::string(name) + " is registered twice");
    // The root metaclass inherits from the root class, so that class objects
    // answer the root class's instance methods, as on the platform.
    auto* cls = new Class(std::string(name), superclass, false, factory);
    auto* meta = new Class(std::string(name), superclass ? superclass->meta_ : cls, true, nullptr);
    cls->meta_ = meta;
    meta->meta_ = meta;
    Class::setIsa(cls, meta);
    Class* rootMeta = meta;
    for (Class* c = superclass; c; c = c->super_) rootMeta = c->meta_;
    Class::setIsa(meta, rootMeta);
    r.classes.emplace(std::string(name), cls);
    return cls;
}

Class* objc_getClass(std::string_view name) {
    auto& c = registry().classes;
    auto it = c.find(std::string(name));
    return it == c.end() ? nullptr : it->second;
}

std::vector<Class*> objc_getClassList() {
    std::vector<Class*> all;
    all.reserve(registry().classes.size());
    for (auto& [name, cls] : registry().classes) all.push_back(cls);
    return all;
}

Class* NSClassFromString(std::string_view name) { return objc_getClass(name); }

Class* object_getClass(id obj) { return obj ? obj->isa() : nullptr; }

std::string NSStringFromClass(const Class* cls) { return cls ? cls->name() : std::string(); }

Method* Class::ownMethod(std::string_view selector) {
    auto it = methods_.find(selector);
    return it == methods_.end() ? nullptr : &it->second;
}

const Method* Class::lookup(std::string_view selector) const {
    for (const Class* c = this; c; c = c->super_) {
        auto it = c->methods_.find(selector);
        if (it != c->methods_.end()) return &it->second;
    }
    return nullptr;
}

bool Class::isSubclassOf(const Class* other) const {
    for (const Class* c = this; c; c = c->super_)
        if (c == other) return true;
    return false;
}

Ref<Object> Class::alloc() {
    for (Class* c = this; c; c = c->super_) {
        if (!c->factory_) continue;
        Object* o = c->factory_();
        o->isa_ = this;
        return Ref<Object>::adopt(o);
    }
    return nullptr;
}

const IvarAccess* Class::ivar(std::string_view name) const {
    for (const Class* c = this; c; c = c->super_) {
        auto it = c->ivars_.find(name);
        if (it != c->ivars_.end()) return &it->second;
    }
    return nullptr;
}

bool Class::conformsTo(const Protocol* p) const {
    for (const Class* c = this; c; c = c->super_)
        for (auto* q : c->protocols_)
            if (q == p) return true;
    return false;
}

bool Class::storesUndefinedKeys() const {
    for (const Class* c = this; c; c = c->super_)
        if (c->undefinedKeys_) return true;
    return false;
}

void Class::addMethodRecord(std::string selector, IMP imp, const Signature& sig) {
    auto [it, inserted] = methods_.try_emplace(selector);
    if (!inserted && *it->second.signature->type != *sig.type)
        signatureMismatch("class_addMethod", this, selector, *it->second.signature, *sig.type);
    it->second = Method{std::move(selector), imp, &sig, this};
}

void Class::addIvar(std::string name, IvarAccess access) { ivars_[std::move(name)] = std::move(access); }

bool Class::addProtocol(Protocol* p) {
    for (auto* q : protocols_)
        if (q == p) return false;
    protocols_.push_back(p);
    return true;
}

Ref<Object> alloc(Class* cls) { return cls ? cls->alloc() : nullptr; }
Ref<Object> alloc(std::string_view className) { return alloc(objc_getClass(className)); }

Ref<Object> newObject(std::string_view className) { return sel::init(alloc(className)); }

// --- sends ----------------------------------------------------------------------------------

namespace detail {

const Method& resolveFrom(Class* start, id self, std::string_view selector, const std::type_info& sig) {
    const Method* m = start ? start->lookup(selector) : nullptr;
    if (!m) unrecognized(self, selector);
    if (*m->signature->type != sig) signatureMismatch("objc_msgSend", m->owner, selector, *m->signature, sig);
    return *m;
}

const Method& resolve(id self, std::string_view selector, const std::type_info& sig) {
    return resolveFrom(self->isa(), self, selector, sig);
}

bool hookMessage(Class* cls, std::string_view selector, IMP replacement, const Signature& sig, IMP* previous) {
    if (!cls) return false;
    if (Method* own = cls->ownMethod(selector)) {
        if (*own->signature->type != *sig.type) signatureMismatch("MSHookMessageEx", cls, selector, *own->signature, *sig.type);
        *previous = own->imp;
        own->imp = replacement;
        return true;
    }
    const Method* inherited = cls->superclass() ? cls->superclass()->lookup(selector) : nullptr;
    if (!inherited) return false;
    if (*inherited->signature->type != *sig.type)
        signatureMismatch("MSHookMessageEx", cls, selector, *inherited->signature, *sig.type);
    *previous = inherited->imp;
    cls->addMethodRecord(std::string(selector), replacement, sig);
    return true;
}

}  // namespace detail

bool class_respondsToSelector(const Class* cls, std::string_view selector) { return cls && cls->lookup(selector); }

bool respondsToSelector(id obj, std::string_view selector) { return obj && obj->isa()->lookup(selector); }

bool isKindOfClass(id obj, const Class* cls) { return obj && cls && obj->isa()->isSubclassOf(cls); }

bool isKindOfClass(id obj, std::string_view className) { return isKindOfClass(obj, objc_getClass(className)); }

bool conformsToProtocol(id obj, std::string_view protocolName) {
    Protocol* p = objc_getProtocol(protocolName);
    return obj && p && obj->isa()->conformsTo(p);
}

Value invoke(id target, std::string_view selector, std::span<const Value> args) {
    if (!target) return Value();
    const Method* m = target->isa()->lookup(selector);
    if (!m) unrecognized(target, selector);
    if (!m->signature->invoker)
        raise("NSInvalidArgumentException", methodName(target, selector) + ": the method's signature (" +
                                                m->signature->text() + ") cannot be sent dynamically");
    return m->signature->invoker(m->imp, target, args);
}

int methodArity(id target, std::string_view selector) {
    const Method* m = target ? target->isa()->lookup(selector) : nullptr;
    return m ? m->signature->arity : -1;
}

Value performSelector(id target, std::string_view selector, const Value& object) {
    if (methodArity(target, selector) == 0) return invoke(target, selector, {});
    return invoke(target, selector, std::span<const Value>(&object, 1));
}

void sendAction(id target, std::string_view action, id sender, id event) {
    const Value args[] = {Value(sender), Value(event)};
    int arity = methodArity(target, action);
    invoke(target, action, std::span<const Value>(args, static_cast<std::size_t>(std::clamp(arity, 0, 2))));
}

// --- protocols ---------------------------------------------------------------------------------

Protocol* objc_allocateProtocol(std::string_view name) {
    if (registry().protocols.count(std::string(name))) return nullptr;
    return new Protocol(std::string(name));
}

void objc_registerProtocol(Protocol* p) {
    if (p) registry().protocols.emplace(p->name(), p);
}

Protocol* objc_getProtocol(std::string_view name) {
    auto& p = registry().protocols;
    auto it = p.find(std::string(name));
    return it == p.end() ? nullptr : it->second;
}

bool class_addProtocol(Class* cls, Protocol* p) { return cls && p && cls->addProtocol(p); }

bool class_conformsToProtocol(const Class* cls, const Protocol* p) { return cls && p && cls->conformsTo(p); }

// --- instance variables and key-value coding -----------------------------------------------------

Value object_getIvar(id obj, std::string_view name) {
    const IvarAccess* a = obj ? obj->isa()->ivar(name) : nullptr;
    return a ? a->get(obj) : Value();
}

bool object_setIvar(id obj, std::string_view name, const Value& value) {
    const IvarAccess* a = obj ? obj->isa()->ivar(name) : nullptr;
    if (!a) return false;
    a->set(obj, value);
    return true;
}

bool class_hasInstanceVariable(const Class* cls, std::string_view name) { return cls && cls->ivar(name); }

namespace {

std::string capitalized(std::string_view key) {
    std::string s(key);
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

[[noreturn]] void unknownKey(id obj, std::string_view what, std::string_view key) {
    raise("NSUnknownKeyException", "[<" + obj->isa()->name() + " " + pointerText(obj) + "> " + std::string(what) +
                                       "]: this class is not key value coding-compliant for the key " + std::string(key) + ".");
}

}  // namespace

Value valueForKey(id obj, std::string_view key) {
    if (!obj) return Value();
    for (const std::string& name : {std::string(key), "is" + capitalized(key)})
        if (methodArity(obj, name) == 0) return invoke(obj, name, {});
    for (const std::string& name : {"_" + std::string(key), std::string(key)})
        if (const IvarAccess* a = obj->isa()->ivar(name)) return a->get(obj);
    if (obj->isa()->storesUndefinedKeys())
        if (auto* store = dynamic_cast<UndefinedKeyStorage*>(obj)) {
            auto it = store->undefinedKeys.find(key);
            return it == store->undefinedKeys.end() ? Value() : it->second;
        }
    unknownKey(obj, "valueForUndefinedKey:", key);
}

void setValueForKey(id obj, const Value& value, std::string_view key) {
    if (!obj) return;
    std::string setter = "set" + capitalized(key) + ":";
    if (methodArity(obj, setter) == 1) {
        invoke(obj, setter, std::span<const Value>(&value, 1));
        return;
    }
    for (const std::string& name : {"_" + std::string(key), std::string(key)})
        if (const IvarAccess* a = obj->isa()->ivar(name)) {
            a->set(obj, value);
            return;
        }
    if (obj->isa()->storesUndefinedKeys())
        if (auto* store = dynamic_cast<UndefinedKeyStorage*>(obj)) {
            if (value.isNil()) store->undefinedKeys.erase(std::string(key));
            else store->undefinedKeys[std::string(key)] = value;
            return;
        }
    unknownKey(obj, "setValue:forUndefinedKey:", key);
}

// --- helpers for Value ------------------------------------------------------------------------------

std::string objectDescription(id obj) {
    if (!obj) return "(null)";
    return sel::description(obj).string();
}

bool objectsEqual(id a, id b) {
    if (a == b) return true;
    if (!a || !b) return false;
    return sel::isEqual_(a, b);
}

// --- hookable functions ---------------------------------------------------------------------------------

void registerHookableFunction(IMP symbol, FunctionSlot* slot) { registry().functions[symbol] = slot; }

FunctionSlot* hookableFunctionSlot(IMP symbol) {
    auto& f = registry().functions;
    auto it = f.find(symbol);
    return it == f.end() ? nullptr : it->second;
}

// --- NSObject ------------------------------------------------------------------------------------------

namespace runtime {
void registerClasses() {
    ClassBuilder<NSObject>("NSObject", "")
        .method(sel::init, [](id self) { return Ref<Object>(self); })
        .method(sel::isEqual_, [](id self, id other) { return self == other; })
        .method(sel::hash, [](id self) { return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(self)); })
        .method(sel::description, [](id self) {
            bool isClass = self->isa()->isMetaclass();
            if (isClass) return Value(static_cast<Class*>(self)->name());
            return Value("<" + self->isa()->name() + ": " + pointerText(self) + ">");
        });
}
}  // namespace runtime

}  // namespace platform

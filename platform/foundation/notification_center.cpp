#include "platform/foundation/notification_center.h"

#include "platform/foundation/run_loop.h"

namespace platform {

Ref<NSNotification> NSNotification::make(std::string name, Value object, Value userInfo) {
    auto n = as<NSNotification>(alloc("NSNotification"));
    n->name_ = std::move(name);
    n->object_ = std::move(object);
    n->userInfo_ = std::move(userInfo);
    return n;
}

NSNotificationCenter* NSNotificationCenter::defaultCenter() {
    static NSNotificationCenter* center = as<NSNotificationCenter>(alloc("NSNotificationCenter").leak());
    return center;
}

void NSNotificationCenter::addObserver(id observer, SEL selector, std::string_view name, const Value& object) {
    auto o = std::make_shared<Observer>();
    o->observer = observer;
    o->identity = observer;
    o->selector = std::string(selector.name);
    o->name = std::string(name);
    o->setFilter(object);
    std::lock_guard guard(mutex_);
    observers_.push_back(std::move(o));
}

Ref<Object> NSNotificationCenter::addObserverForName(std::string_view name, const Value& object, NSOperationQueue* queue,
                                                      std::function<void(NSNotification*)> block) {
    if (!queue || !block) return addObserverForName(name, object, std::move(block));
    return addObserverForName(name, object, [block = std::move(block)](NSNotification* n) {
        if (NSThread::isMainThread()) {
            block(n);
            return;
        }
        // The poster waits for the main thread, as the platform's post does.
        Ref<NSNotification> held(n);
        dispatch_sync(dispatch_get_main_queue(), [&block, held] { block(held.get()); });
    });
}

Ref<Object> NSNotificationCenter::addObserverForName(std::string_view name, const Value& object,
                                                      std::function<void(NSNotification*)> block) {
    auto token = alloc("NSObject");
    auto o = std::make_shared<Observer>();
    o->observer = token.get();
    o->identity = token.get();
    o->block = std::move(block);
    o->name = std::string(name);
    o->setFilter(object);
    std::lock_guard guard(mutex_);
    observers_.push_back(std::move(o));
    return token;
}

void NSNotificationCenter::removeObserver(id observer) { removeObserver(observer, {}, Value()); }

void NSNotificationCenter::removeObserver(id observer, std::string_view name, const Value& object) {
    std::vector<std::shared_ptr<Observer>> gone;  // blocks are destroyed outside the lock
    std::lock_guard guard(mutex_);
    for (auto it = observers_.begin(); it != observers_.end();) {
        Observer& o = **it;
        bool match = o.identity == observer && (name.empty() || o.name == name) && (object.isNil() || o.sameFilter(object));
        if (match) {
            o.removed = true;
            gone.push_back(std::move(*it));
            it = observers_.erase(it);
        } else {
            ++it;
        }
    }
}

std::size_t NSNotificationCenter::observerCount() const {
    std::lock_guard guard(mutex_);
    return observers_.size();
}

void NSNotificationCenter::Observer::setFilter(const Value& filter) {
    if (filter.isObject()) objectIdentity = filter.object();
    else object = filter;
}

bool NSNotificationCenter::Observer::sameFilter(const Value& filter) const {
    if (filter.isObject()) return objectIdentity == filter.object();
    return !objectIdentity && object == filter;
}

bool NSNotificationCenter::Observer::filterMatches(const Value& posted) const {
    if (objectIdentity) return posted.isObject() && posted.object() == objectIdentity;
    if (object.isNil()) return true;
    return !posted.isObject() && object == posted;
}

void NSNotificationCenter::deliver(NSNotification* notification) {
    Ref<NSNotification> keep(notification);
    std::vector<std::shared_ptr<Observer>> snapshot;
    {
        std::lock_guard guard(mutex_);
        snapshot = observers_;
    }
    for (auto& o : snapshot) {
        if (o->removed) continue;
        if (!o->name.empty() && o->name != notification->name()) continue;
        if (!o->filterMatches(notification->object())) continue;
        if (o->block) {
            auto block = o->block;
            block(notification);
            continue;
        }
        Ref<Object> target = o->observer.lock();
        if (!target) continue;
        Value arg(static_cast<Object*>(notification));
        invoke(target, o->selector, std::span<const Value>(&arg, methodArity(target, o->selector) >= 1 ? 1 : 0));
    }
}

void NSNotificationCenter::postNotificationName(std::string_view name, const Value& object, const Value& userInfo) {
    auto n = NSNotification::make(std::string(name), object, userInfo);
    deliver(n);
}

void NSNotificationCenter::postNotification(NSNotification* notification) { deliver(notification); }

NSDistributedNotificationCenter* NSDistributedNotificationCenter::defaultCenter() {
    static NSDistributedNotificationCenter* center =
        as<NSDistributedNotificationCenter>(alloc("NSDistributedNotificationCenter").leak());
    return center;
}

void NSDistributedNotificationCenter::postNotificationName(std::string_view name, const Value& object, const Value& userInfo) {
    deliverFromOtherProcess(name, object, userInfo);
    crossProcess::forward("distributed", name, object, userInfo);
}

void NSDistributedNotificationCenter::deliverFromOtherProcess(std::string_view name, const Value& object, const Value& userInfo) {
    Ref<NSDistributedNotificationCenter> self(this);
    auto n = NSNotification::make(std::string(name), object, userInfo);
    RunLoop::main().post([self, n] { self->deliver(n); });
}

namespace crossProcess {
namespace {
std::mutex& mutex() {
    static std::mutex m;
    return m;
}
Forwarder& forwarder() {
    static Forwarder* f = new Forwarder();
    return *f;
}
}  // namespace

void setForwarder(Forwarder f) {
    std::lock_guard guard(mutex());
    forwarder() = std::move(f);
}

void forward(std::string_view center, std::string_view name, const Value& object, const Value& userInfo) {
    Forwarder f;
    {
        std::lock_guard guard(mutex());
        f = forwarder();
    }
    if (f) f(center, name, object, userInfo);
}
}  // namespace crossProcess

}  // namespace platform

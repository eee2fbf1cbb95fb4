#include "platform/frameworks/activator.h"

#include "platform/foundation/dynamic_library.h"
#include "platform/foundation/process.h"
#include "platform/runtime/call_log.h"
#include "platform/frameworks/selectors.h"

namespace platform::activator {

namespace {
Ref<LAActivator>& shared() {
    static auto* a = new Ref<LAActivator>();
    return *a;
}
}  // namespace

void registerClasses() {
    platform::registerLibrary(kActivatorPath, {});
    if (!process::hasLibrary(kActivatorPath)) return;
    if (!objc_getProtocol("LAListener")) objc_registerProtocol(objc_allocateProtocol("LAListener"));
    ClassBuilder<LAEvent>("LAEvent", "NSObject");
    ClassBuilder<LAActivator>("LAActivator", "NSObject")
        .classMethod(sel::sharedInstance, [](id) {
            auto& a = shared();
            if (!a) a = as<LAActivator>(alloc("LAActivator"));
            return Ref<Object>(a.get());
        })
        .method(sel::registerListener_forName_, [](id self, id listener, Value name) {
            callLog::record("LAActivator", "registerListener:forName:", name.string());
            if (listener && name.isString()) as<LAActivator>(self)->listeners[name.string()] = Ref<Object>(listener);
        });
}

bool sendEvent(std::string_view listenerName, std::string_view eventName) {
    auto& a = shared();
    if (!a) return false;
    auto it = a->listeners.find(listenerName);
    if (it == a->listeners.end()) return false;
    auto event = as<LAEvent>(alloc("LAEvent"));
    event->name = std::string(eventName);
    Ref<Object> listener = it->second;
    sel::activator_receiveEvent_(listener, a, event);
    return true;
}

}  // namespace platform::activator

#include "adlib/render/mraid_interceptor.h"

#include <mutex>

#include "platform/foundation/lock.h"

namespace adlib {

namespace {

struct ClassState {
    Ref<NSLock> classLock = NSLock::make();
    bool allowed = false;  // under classLock
    long long requestCounter = 0;  // under classLock
};

ClassState& state() {
    static ClassState* s = new ClassState();  // kept for the process
    return *s;
}

template <class F>
auto underClassLock(F f) {
    ClassState& s = state();
    std::lock_guard guard(*s.classLock);
    return f(s);
}

}  // namespace

void YBXMRAIDInterceptor::allow() {
    underClassLock([](ClassState& s) { s.allowed = true; });
}

void YBXMRAIDInterceptor::disallow() {
    underClassLock([](ClassState& s) { s.allowed = false; });
}

bool YBXMRAIDInterceptor::isAllowed() {
    return underClassLock([](ClassState& s) { return s.allowed; });
}

void YBXMRAIDInterceptor::enableCanInitWithRequest() {
    underClassLock([](ClassState& s) { ++s.requestCounter; });
}

void YBXMRAIDInterceptor::disableCanInitWithRequest() {
    underClassLock([](ClassState& s) { --s.requestCounter; });
}

void YBXMRAIDInterceptor::resetCanInitWithRequestCounter() {
    underClassLock([](ClassState& s) { s.requestCounter = 0; });
}

bool YBXMRAIDInterceptor::canInitWithRequestIsEnabled() {
    return underClassLock([](ClassState& s) { return s.requestCounter > 0; });
}

void registerMRAIDInterceptorClass() {
    ClassBuilder<YBXMRAIDInterceptor>("YBXMRAIDInterceptor", "NSURLProtocol")
        .classMethod(sel::allow, [](id) { YBXMRAIDInterceptor::allow(); })
        .classMethod(sel::disallow, [](id) { YBXMRAIDInterceptor::disallow(); })
        .classMethod(sel::isAllowed, [](id) { return YBXMRAIDInterceptor::isAllowed(); })
        .classMethod(sel::enableCanInitWithRequest, [](id) { YBXMRAIDInterceptor::enableCanInitWithRequest(); })
        .classMethod(sel::disableCanInitWithRequest, [](id) { YBXMRAIDInterceptor::disableCanInitWithRequest(); })
        .classMethod(sel::resetCanInitWithRequestCounter, [](id) { YBXMRAIDInterceptor::resetCanInitWithRequestCounter(); })
        .classMethod(sel::canInitWithRequestIsEnabled, [](id) { return YBXMRAIDInterceptor::canInitWithRequestIsEnabled(); });
}

}  // namespace adlib

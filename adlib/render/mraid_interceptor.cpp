#include "adlib/render/mraid_interceptor.h"

#include <mutex>

#include "platform/foundation/lock.h"

namespace adlib {

namespace {

struct ClassState {
    Ref<NSLock> classLock = NSLock::make();
    bool allowed = false;  // under classLock
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

void registerMRAIDInterceptorClass() {
    ClassBuilder<YBXMRAIDInterceptor>("YBXMRAIDInterceptor", "NSURLProtocol")
        .classMethod(sel::allow, [](id) { YBXMRAIDInterceptor::allow(); })
        .classMethod(sel::disallow, [](id) { YBXMRAIDInterceptor::disallow(); })
        .classMethod(sel::isAllowed, [](id) { return YBXMRAIDInterceptor::isAllowed(); });
}

}  // namespace adlib

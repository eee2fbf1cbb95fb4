#include "adlib/foundation/connection_factory.h"

#include <mutex>

namespace adlib {

namespace {

std::mutex& factoryMutex() {
    static std::mutex mutex;
    return mutex;
}

Ref<Object>& factorySlot() {
    // Never destroyed: connections may be made while the process ends.
    static auto* factory = new Ref<Object>();
    return *factory;
}

}  // namespace

Ref<Object> sharedConnectionFactory() {
    std::lock_guard lock(factoryMutex());
    Ref<Object>& factory = factorySlot();
    if (!factory) factory = sel::init(alloc("YBXMNSURLConnectionFactory"));
    return factory;
}

void setSharedConnectionFactory(id factory) {
    std::lock_guard lock(factoryMutex());
    factorySlot() = Ref<Object>(factory);
}

void registerConnectionFactoryClass() {
    ClassBuilder<NSObject>("YBXMNSURLConnectionFactory", "NSObject")
        .protocol("YBXMConnectionFactory")
        .classMethod(sel::sharedFactory, [](id) { return sharedConnectionFactory(); })
        .classMethod(sel::setSharedFactory_, [](id, id factory) { setSharedConnectionFactory(factory); })
        .method(sel::connectionWithRequest_delegate_startImmediately_,
                [](id, NSURLRequest* request, id delegate, bool start) {
                    return Ref<Object>(NSURLConnection::connectionWithRequest(request, delegate, start));
                })
        .method(sel::connectionWithRequest_delegate_, [](id, NSURLRequest* request, id delegate) {
            return Ref<Object>(NSURLConnection::connectionWithRequest(request, delegate, true));
        });
}

}  // namespace adlib

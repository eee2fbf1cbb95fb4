// NSURLProtocol: classes that answer loads in place of the network. Before a
// connection hands a request (the first one or a redirect hop) to the
// transport, every registered class is asked `canInitWithRequest:`, the most
// recently registered first; the first that claims it loads it. The load's
// protocol calls (canonicalRequestForRequest:, initWithRequest:cachedResponse:client:,
// startLoading, stopLoading) run on a thread of the load's own, neither the
// main thread nor the transport's, so that startLoading may block on
// sendSynchronousRequest:returningResponse:error:. The protocol answers
// through its client, from any thread; the connection's delegate hears those
// answers on its run loop as it hears a network load. stopLoading comes once,
// after the load finished, failed or was cancelled.
#pragma once

#include <memory>

#include "platform/network/transport.h"

namespace platform {

enum NSURLCacheStoragePolicy : unsigned long {
    NSURLCacheStorageAllowed = 0,
    NSURLCacheStorageAllowedInMemoryOnly = 1,
    NSURLCacheStorageNotAllowed = 2,
};

namespace sel {
// Class methods of a protocol class.
inline constexpr Sel<bool(id, id)> canInitWithRequest_{"canInitWithRequest:"};
inline constexpr Sel<Ref<Object>(id, id)> canonicalRequestForRequest_{"canonicalRequestForRequest:"};
// Instance methods.
inline constexpr Sel<Ref<Object>(id, id, id, id)> initWithRequest_cachedResponse_client_{
    "initWithRequest:cachedResponse:client:"};
inline constexpr Sel<void(id)> startLoading{"startLoading"};
inline constexpr Sel<void(id)> stopLoading{"stopLoading"};
// The client's methods (NSURLProtocolClient).
inline constexpr Sel<void(id, id, id, unsigned long)> URLProtocol_didReceiveResponse_cacheStoragePolicy_{
    "URLProtocol:didReceiveResponse:cacheStoragePolicy:"};
inline constexpr Sel<void(id, id, Value)> URLProtocol_didLoadData_{"URLProtocol:didLoadData:"};
inline constexpr Sel<void(id, id)> URLProtocolDidFinishLoading_{"URLProtocolDidFinishLoading:"};
inline constexpr Sel<void(id, id, id)> URLProtocol_didFailWithError_{"URLProtocol:didFailWithError:"};
}  // namespace sel

// The base class of protocol classes. A subclass (a runtime class deriving
// from "NSURLProtocol") overrides the class method canInitWithRequest: and the
// instance methods startLoading and stopLoading, and answers through client().
class NSURLProtocol : public NSObject {
public:
    // Whether the class was added; a class that is not an NSURLProtocol
    // subclass is refused. Registering a class again moves it to the front.
    static bool registerClass(Class* cls);
    static void unregisterClass(Class* cls);

    NSURLRequest* request() const { return request_.get(); }
    NSCachedURLResponse* cachedResponse() const { return cachedResponse_.get(); }
    // The NSURLProtocolClient to send the load's answers to.
    id client() const { return client_.get(); }

    // What initWithRequest:cachedResponse:client: does in the base class.
    void initialize(NSURLRequest* request, NSCachedURLResponse* cachedResponse, id client);

private:
    Ref<NSURLRequest> request_;
    Ref<NSCachedURLResponse> cachedResponse_;
    Ref<Object> client_;
};

namespace network {
// The loader of a request that a registered protocol class claims (a
// transport for one load), or null when every class declines.
std::shared_ptr<Transport> protocolLoaderFor(NSURLRequest* request);
// Protocol loads whose thread has not ended yet.
std::size_t runningProtocolLoads();
void registerURLProtocol();
}  // namespace network

}  // namespace platform

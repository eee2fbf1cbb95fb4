#include "platform/network/url_protocol.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <thread>
#include <vector>

#include "platform/foundation/run_loop.h"

namespace platform {
namespace {

std::mutex registryMutex;
// Oldest first; asked from the back.
std::vector<Class*>& registeredClasses() {
    static std::vector<Class*> classes;
    return classes;
}

std::atomic<std::size_t> runningLoads{0};

// One load by a protocol instance. Its thread makes the instance, starts it
// and, once the load is over, stops it; the client's answers are posted to the
// main run loop and reach the connection's client there, unless the load was
// cancelled first.
class ProtocolLoader : public Transport, public std::enable_shared_from_this<ProtocolLoader> {
public:
    explicit ProtocolLoader(Class* cls) : class_(cls) {}

    LoadId start(NSURLRequest* request, std::shared_ptr<TransportClient> client) override {
        {
            std::lock_guard lock(mutex_);
            client_ = std::move(client);
        }
        ++runningLoads;
        std::thread(&ProtocolLoader::run, shared_from_this(), Ref<NSURLRequest>(request)).detach();
        return 1;
    }

    void cancel(LoadId) override {
        {
            std::lock_guard lock(mutex_);
            client_.reset();
            stopAsked_ = true;
        }
        stopped_.notify_all();
        RunLoop::main().cancelOwner(this);
    }

    // From the protocol's client, on any thread. Nothing after the load's end.
    void deliver(std::function<void(TransportClient&)> step, bool last) {
        {
            std::lock_guard lock(mutex_);
            if (answered_) return;
            answered_ = last;
        }
        RunLoop::main().schedule(0, [self = shared_from_this(), step = std::move(step), last] {
            std::shared_ptr<TransportClient> target;
            {
                std::lock_guard lock(self->mutex_);
                target = self->client_;
                if (last) {
                    self->client_.reset();
                    self->stopAsked_ = true;
                }
            }
            if (last) self->stopped_.notify_all();
            if (target) step(*target);
        }, this, "protocol");
    }

private:
    static void run(std::shared_ptr<ProtocolLoader> self, Ref<NSURLRequest> request);
    void load(Ref<NSURLRequest> request);

    Class* class_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    std::shared_ptr<TransportClient> client_;
    bool stopAsked_ = false;
    bool answered_ = false;
};

// The client handed to protocol instances (NSURLProtocolClient).
class ProtocolClient : public NSObject {
public:
    std::weak_ptr<ProtocolLoader> loader;

    void deliver(std::function<void(TransportClient&)> step, bool last) const {
        if (auto target = loader.lock()) target->deliver(std::move(step), last);
    }
};

// Everything the thread holds goes before it counts itself out.
void ProtocolLoader::run(std::shared_ptr<ProtocolLoader> self, Ref<NSURLRequest> request) {
    std::shared_ptr<ProtocolLoader>(std::move(self))->load(std::move(request));
    --runningLoads;
}

void ProtocolLoader::load(Ref<NSURLRequest> request) {
    {
        Ref<NSURLRequest> canonical = as<NSURLRequest>(sel::canonicalRequestForRequest_(class_, request.get()).get());
        if (!canonical) canonical = request;
        Ref<ProtocolClient> client = as<ProtocolClient>(newObject("_NSURLProtocolClient").get());
        client->loader = weak_from_this();
        Ref<Object> protocol =
            sel::initWithRequest_cachedResponse_client_(alloc(class_).get(), canonical.get(), nullptr, client.get());
        if (protocol) {
            sel::startLoading(protocol.get());
        } else {
            client->deliver([](TransportClient& c) { c.transportFailed(NSURLErrorUnknown); }, true);
        }
        {
            std::unique_lock lock(mutex_);
            stopped_.wait(lock, [this] { return stopAsked_; });
        }
        if (protocol) sel::stopLoading(protocol.get());
    }
}

}  // namespace

bool NSURLProtocol::registerClass(Class* cls) {
    Class* base = objc_getClass("NSURLProtocol");
    if (!cls || !base || !cls->isSubclassOf(base)) return false;
    std::lock_guard lock(registryMutex);
    auto& classes = registeredClasses();
    std::erase(classes, cls);
    classes.push_back(cls);
    return true;
}

void NSURLProtocol::unregisterClass(Class* cls) {
    std::lock_guard lock(registryMutex);
    std::erase(registeredClasses(), cls);
}

void NSURLProtocol::initialize(NSURLRequest* request, NSCachedURLResponse* cachedResponse, id client) {
    request_ = request;
    cachedResponse_ = cachedResponse;
    client_ = client;
}

namespace network {

std::shared_ptr<Transport> protocolLoaderFor(NSURLRequest* request) {
    std::vector<Class*> classes;
    {
        std::lock_guard lock(registryMutex);
        classes = registeredClasses();
    }
    for (auto it = classes.rbegin(); it != classes.rend(); ++it)
        if (sel::canInitWithRequest_(*it, request)) return std::make_shared<ProtocolLoader>(*it);
    return nullptr;
}

std::size_t runningProtocolLoads() { return runningLoads.load(); }

void registerURLProtocol() {
    ClassBuilder<NSURLProtocol>("NSURLProtocol", "NSObject")
        .classMethod(sel::canInitWithRequest_, [](id, id) { return false; })
        .classMethod(sel::canonicalRequestForRequest_, [](id, id request) { return Ref<Object>(request); })
        .method(sel::initWithRequest_cachedResponse_client_,
                [](id self, id request, id cachedResponse, id client) {
                    as<NSURLProtocol>(self)->initialize(as<NSURLRequest>(request), as<NSCachedURLResponse>(cachedResponse),
                                                        client);
                    return Ref<Object>(self);
                })
        .method(sel::startLoading, [](id) {})
        .method(sel::stopLoading, [](id) {});

    ClassBuilder<ProtocolClient>("_NSURLProtocolClient", "NSObject")
        .protocol("NSURLProtocolClient")
        .method(sel::URLProtocol_didReceiveResponse_cacheStoragePolicy_,
                [](id self, id, id response, unsigned long) {
                    Ref<NSURLResponse> answer(as<NSURLResponse>(response));
                    if (!answer) return;
                    as<ProtocolClient>(self)->deliver([answer](TransportClient& c) { c.transportReceivedResponse(answer.get()); },
                                                      false);
                })
        .method(sel::URLProtocol_didLoadData_,
                [](id self, id, Value data) {
                    as<ProtocolClient>(self)->deliver([bytes = data.data()](TransportClient& c) { c.transportReceivedData(bytes); },
                                                      false);
                })
        .method(sel::URLProtocolDidFinishLoading_,
                [](id self, id) { as<ProtocolClient>(self)->deliver([](TransportClient& c) { c.transportFinished(); }, true); })
        .method(sel::URLProtocol_didFailWithError_, [](id self, id, id error) {
            Ref<NSError> failure(as<NSError>(error));
            as<ProtocolClient>(self)->deliver(
                [failure](TransportClient& c) {
                    if (failure) c.transportFailedWithError(failure.get());
                    else c.transportFailed(NSURLErrorUnknown);
                },
                true);
        });
}

}  // namespace network
}  // namespace platform

#include "platform/network/connection.h"

#include "platform/network/url_protocol.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

template <class S, class... A>
void tell(const Ref<Object>& delegate, const S& selector, A&&... args) {
    if (delegate && respondsToSelector(delegate.get(), selector.name)) selector(delegate.get(), std::forward<A>(args)...);
}

const char* descriptionForCode(long long code) {
    switch (code) {
        case NSURLErrorCancelled: return "cancelled";
        case NSURLErrorBadURL: return "bad URL";
        case NSURLErrorTimedOut: return "The request timed out.";
        case NSURLErrorUnsupportedURL: return "unsupported URL";
        case NSURLErrorCannotFindHost: return "A server with the specified hostname could not be found.";
        case NSURLErrorCannotConnectToHost: return "Could not connect to the server.";
        case NSURLErrorNetworkConnectionLost: return "The network connection was lost.";
        case NSURLErrorHTTPTooManyRedirects: return "too many HTTP redirects";
        case NSURLErrorNotConnectedToInternet: return "The Internet connection appears to be offline.";
        case NSURLErrorBadServerResponse: return "The operation couldn\u2019t be completed. (NSURLErrorDomain error -1011.)";
        default: return "unknown error";
    }
}

// The platform gives up after this many hops.
constexpr int kMaxRedirects = 16;

}  // namespace

class NSURLConnection::Client : public TransportClient {
public:
    explicit Client(NSURLConnection* owner) : owner_(owner) {}
    void detach() { owner_ = nullptr; }
    void transportReceivedResponse(NSURLResponse* response) override {
        if (owner_) owner_->received(response);
    }
    void transportReceivedData(const Data& data) override {
        if (owner_) owner_->receivedData(data);
    }
    void transportFinished() override {
        if (owner_) owner_->finished();
    }
    void transportFailed(long long code) override {
        if (owner_) owner_->failed(code);
    }
    void transportFailedWithError(NSError* error) override {
        if (owner_) owner_->failedWith(error);
    }

private:
    NSURLConnection* owner_;
};

Ref<NSURLConnection> NSURLConnection::connectionWithRequest(NSURLRequest* request, id delegate, bool startImmediately) {
    Ref<NSURLConnection> connection = as<NSURLConnection>(alloc("NSURLConnection").get());
    if (!connection || !request) return nullptr;
    connection->original_ = request;
    connection->current_ = request;
    connection->delegate_ = delegate;
    if (startImmediately) connection->start();
    return connection;
}

NSURLConnection::~NSURLConnection() {
    if (client_) client_->detach();
}

void NSURLConnection::scheduleInRunLoop(RunLoop& loop, std::string mode) {
    loop_ = &loop;
    mode_ = std::move(mode);
}

void NSURLConnection::start() {
    {
        std::lock_guard lock(startMutex_);
        if (started_) return;
        started_ = true;
        self_ = this;
    }
    loop_->schedule(0, [this] { begin(); }, this, "deliver");
}

void NSURLConnection::begin() {
    if (ended_) return;
    Ref<NSURLConnection> keep(this);
    transport_ = network::transport();
    if (respondsToSelector(delegate_.get(), sel::connection_willSendRequest_redirectResponse_.name)) {
        Ref<NSURLRequest> asked = as<NSURLRequest>(
            sel::connection_willSendRequest_redirectResponse_(delegate_.get(), this, current_.get(), nullptr).get());
        if (ended_) return;
        if (!asked) {
            end();
            return;
        }
        current_ = asked;
    }
    launch();
}

void NSURLConnection::launch() {
    if (!current_->URL()) {
        failed(NSURLErrorBadURL);
        return;
    }
    if (client_) client_->detach();
    client_ = std::make_shared<Client>(this);
    armTimeout();
    // URL protocol classes answer before the network does.
    loader_ = network::protocolLoaderFor(current_.get());
    if (!loader_) loader_ = transport_;
    load_ = loader_->start(current_.get(), client_);
}

// The time-out counts from the last sign of life, as the platform's does.
void NSURLConnection::armTimeout() {
    if (timeout_) loop_->cancel(timeout_);
    timeout_ = 0;
    double seconds = current_->timeoutInterval();
    if (seconds <= 0) return;
    timeout_ = loop_->schedule(seconds, [this] {
        timeout_ = 0;
        stopTransport();
        failed(NSURLErrorTimedOut);
    }, this, "timeout");
}

void NSURLConnection::stopTransport() {
    if (client_) client_->detach();
    client_.reset();
    if (load_ && loader_) loader_->cancel(load_);
    load_ = 0;
    loader_.reset();
}

void NSURLConnection::received(NSURLResponse* response) {
    if (ended_) return;
    Ref<NSURLConnection> keep(this);
    armTimeout();
    auto* http = as<NSHTTPURLResponse>(response);
    if (http && followRedirect(http)) return;
    if (ended_) return;
    if (sink_) sink_->response(response);
    tell(delegate_, sel::connection_didReceiveResponse_, this, response);
}

// Whether the response was a redirect that the connection handled.
bool NSURLConnection::followRedirect(NSHTTPURLResponse* response) {
    long status = response->statusCode();
    if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308) return false;
    const std::string* location = response->valueForHTTPHeaderField("Location");
    if (!location) return false;
    Ref<NSURL> target = NSURL::URLWithString(*location, current_->URL());
    stopTransport();
    if (!target) {
        failed(NSURLErrorBadServerResponse);
        return true;
    }
    if (++redirects_ > kMaxRedirects) {
        failed(NSURLErrorHTTPTooManyRedirects);
        return true;
    }
    Ref<NSURLRequest> next = current_->mutableCopy();
    auto* mutableNext = as<NSMutableURLRequest>(next.get());
    mutableNext->setURL(target.get());
    // A 303, and a 301 or 302 of a POST, continue as a GET without the body.
    if (status == 303 || ((status == 301 || status == 302) && current_->HTTPMethod() == "POST")) {
        mutableNext->setHTTPMethod("GET");
        mutableNext->setHTTPBody({});
        mutableNext->setValueForHTTPHeaderField(nullptr, "Content-Length");
        mutableNext->setValueForHTTPHeaderField(nullptr, "Content-Type");
    }
    if (respondsToSelector(delegate_.get(), sel::connection_willSendRequest_redirectResponse_.name)) {
        next = as<NSURLRequest>(
            sel::connection_willSendRequest_redirectResponse_(delegate_.get(), this, next.get(), response).get());
        if (ended_) return true;
    }
    if (!next) {
        // Refusing the hop makes the redirect response the load's own.
        if (sink_) sink_->response(response);
        tell(delegate_, sel::connection_didReceiveResponse_, this, response);
        if (!ended_) finished();
        return true;
    }
    current_ = next;
    launch();
    return true;
}

void NSURLConnection::receivedData(const Data& data) {
    if (ended_) return;
    Ref<NSURLConnection> keep(this);
    armTimeout();
    if (sink_) sink_->data(data);
    tell(delegate_, sel::connection_didReceiveData_, this, Value(data));
}

void NSURLConnection::finished() {
    if (ended_) return;
    Ref<NSURLConnection> keep(this);
    Ref<Object> delegate = delegate_;
    auto sink = std::move(sink_);
    end();
    if (sink) sink->end(nullptr);
    tell(delegate, sel::connectionDidFinishLoading_, this);
}

void NSURLConnection::failed(long long code) {
    if (ended_) return;
    failedWith(errorForCode(code, current_->URL()).get());
}

void NSURLConnection::failedWith(NSError* failure) {
    if (ended_) return;
    Ref<NSURLConnection> keep(this);
    Ref<Object> delegate = delegate_;
    auto sink = std::move(sink_);
    Ref<NSError> error(failure);
    end();
    if (sink) sink->end(error.get());
    tell(delegate, sel::connection_didFailWithError_, this, error.get());
}

void NSURLConnection::end() {
    ended_ = true;
    stopTransport();
    loop_->cancelOwner(this);
    timeout_ = 0;
    delegate_ = nullptr;
    sink_.reset();
    self_ = nullptr;  // last: may destroy this; callers hold their own reference
}

void NSURLConnection::cancel() {
    if (ended_) return;
    Ref<NSURLConnection> keep(this);
    end();
}

Ref<NSError> NSURLConnection::errorForCode(long long code, NSURL* url) {
    Value::Dictionary info{{std::string(NSLocalizedDescriptionKey), Value(descriptionForCode(code))}};
    if (url) {
        info.emplace(std::string(NSURLErrorKey), Value(url));
        info.emplace(std::string(NSURLErrorFailingURLErrorKey), Value(url));
        info.emplace(std::string(NSURLErrorFailingURLStringErrorKey), Value(url->absoluteString()));
    }
    return NSError::errorWithDomain(NSURLErrorDomain, code, Value(std::move(info)));
}

void NSURLConnection::sendAsynchronousRequest(NSURLRequest* request, NSOperationQueue* queue, CompletionHandler handler) {
    Ref<NSURLConnection> connection = connectionWithRequest(request, nullptr, false);
    if (!connection) return;
    struct State {
        Ref<NSURLResponse> response;
        Data body;
    };
    auto state = std::make_shared<State>();
    connection->sink_ = std::make_unique<Sink>(Sink{
        [state](NSURLResponse* r) {
            state->response = r;
            state->body.clear();
        },
        [state](const Data& d) { state->body.insert(state->body.end(), d.begin(), d.end()); },
        [state, queue, handler = std::move(handler)](NSError* e) {
            Ref<NSError> error(e);
            std::optional<Data> body;
            if (!error) body = std::move(state->body);
            Ref<NSURLResponse> response = state->response;
            NSOperationQueue* target = queue ? queue : NSOperationQueue::mainQueue();
            target->addOperationWithBlock([handler, response, body, error] { handler(response, body, error); });
        }});
    connection->start();
}

std::optional<Data> NSURLConnection::sendSynchronousRequest(NSURLRequest* request, Ref<NSURLResponse>* response,
                                                            Ref<NSError>* error) {
#ifndef NDEBUG
    if (NSThread::isMainThread()) {
        // The main run loop delivers the load, so waiting on it there never ends.
        std::fprintf(stderr, "sendSynchronousRequest:returningResponse:error: called on the main thread\n");
        std::abort();
    }
#endif
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool ended = false;
        Ref<NSURLResponse> response;
        Data body;
        Ref<NSError> error;
    };
    auto state = std::make_shared<State>();
    Ref<NSURLConnection> connection = connectionWithRequest(request, nullptr, false);
    if (!connection) return std::nullopt;
    connection->sink_ = std::make_unique<Sink>(Sink{
        [state](NSURLResponse* r) {
            std::lock_guard lock(state->mutex);
            state->response = r;
            state->body.clear();
        },
        [state](const Data& d) {
            std::lock_guard lock(state->mutex);
            state->body.insert(state->body.end(), d.begin(), d.end());
        },
        [state](NSError* e) {
            std::lock_guard lock(state->mutex);
            state->error = e;
            state->ended = true;
            state->done.notify_all();
        }});
    connection->start();
    std::unique_lock lock(state->mutex);
    state->done.wait(lock, [&] { return state->ended; });
    if (response) *response = state->response;
    if (error) *error = state->error;
    if (state->error) return std::nullopt;
    return std::move(state->body);
}

namespace network {

void registerConnection() {
    ClassBuilder<NSURLConnection>("NSURLConnection", "NSObject");
}

}  // namespace network
}  // namespace platform

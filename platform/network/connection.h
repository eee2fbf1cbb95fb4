// NSURLConnection with the platform's delegate shape. Every delegate call comes
// on the run loop the connection is scheduled in (the main one by default):
// connection:willSendRequest:redirectResponse: for the first request and once
// per redirect hop, then connection:didReceiveResponse:, connection:didReceiveData:
// (any number of times) and connectionDidFinishLoading:, or
// connection:didFailWithError: instead of the finish. The connection keeps its
// delegate, and itself, alive until it finishes, fails or is cancelled.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/error.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"

namespace platform {

inline constexpr const char* NSDefaultRunLoopMode = "kCFRunLoopDefaultMode";
inline constexpr const char* NSRunLoopCommonModes = "kCFRunLoopCommonModes";

namespace sel {
inline constexpr Sel<Ref<Object>(id, id, id, id)> connection_willSendRequest_redirectResponse_{
    "connection:willSendRequest:redirectResponse:"};
inline constexpr Sel<void(id, id, id)> connection_didReceiveResponse_{"connection:didReceiveResponse:"};
inline constexpr Sel<void(id, id, Value)> connection_didReceiveData_{"connection:didReceiveData:"};
inline constexpr Sel<void(id, id)> connectionDidFinishLoading_{"connectionDidFinishLoading:"};
inline constexpr Sel<void(id, id, id)> connection_didFailWithError_{"connection:didFailWithError:"};
}  // namespace sel

class NSURLConnection : public NSObject {
public:
    using CompletionHandler = std::function<void(Ref<NSURLResponse>, std::optional<Data>, Ref<NSError>)>;

    static Ref<NSURLConnection> connectionWithRequest(NSURLRequest* request, id delegate, bool startImmediately = true);
    // Before start; the main run loop is the only one, so only the mode is kept.
    void scheduleInRunLoop(RunLoop& loop, std::string mode);
    // From any thread; a second start does nothing.
    void start();
    // On the run loop's thread: nothing is delivered after it.
    void cancel();

    NSURLRequest* originalRequest() const { return original_.get(); }
    NSURLRequest* currentRequest() const { return current_.get(); }

    // The handler runs on `queue` with the response, the body (none on a
    // failure) and the error.
    static void sendAsynchronousRequest(NSURLRequest* request, NSOperationQueue* queue, CompletionHandler handler);
    // Blocks until the load ends; for threads other than the main one, whose
    // run loop delivers the load (debug builds refuse the main thread).
    static std::optional<Data> sendSynchronousRequest(NSURLRequest* request, Ref<NSURLResponse>* response, Ref<NSError>* error);

    // The NSURLErrorDomain error of a failed load of `url`.
    static Ref<NSError> errorForCode(long long code, NSURL* url);

    ~NSURLConnection() override;

private:
    class Client;
    friend class Client;
    void begin();
    void launch();
    void armTimeout();
    void received(NSURLResponse* response);
    void receivedData(const Data& data);
    void finished();
    void failed(long long code);
    void failedWith(NSError* error);
    bool followRedirect(NSHTTPURLResponse* response);
    void stopTransport();
    // Ends the load: nothing more is delivered and the delegate is let go.
    void end();

    Ref<NSURLRequest> original_;
    Ref<NSURLRequest> current_;
    Ref<Object> delegate_;
    Ref<NSURLConnection> self_;  // alive while loading, as the run loop keeps it
    RunLoop* loop_ = &RunLoop::main();
    std::string mode_ = NSDefaultRunLoopMode;
    std::shared_ptr<Transport> transport_;
    std::shared_ptr<Transport> loader_;  // the current hop's: a URL protocol's or the transport
    std::shared_ptr<Client> client_;
    Transport::LoadId load_ = 0;
    RunLoop::TaskId timeout_ = 0;
    int redirects_ = 0;
    bool started_ = false;
    bool ended_ = false;
    std::mutex startMutex_;
    // Used by the sends in place of a delegate.
    struct Sink {
        std::function<void(NSURLResponse*)> response;
        std::function<void(const Data&)> data;
        std::function<void(NSError*)> end;  // null error: finished
    };
    std::unique_ptr<Sink> sink_;
};

namespace network {
void registerConnection();
}  // namespace network

}  // namespace platform

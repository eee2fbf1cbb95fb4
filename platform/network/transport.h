// The seam below URL loading: every load reaches the network (or a test's
// script) through the process's one transport. A transport answers each load
// with a response, then data, then its end (finished or failed with an
// NSURLErrorDomain code), calling its client on the main run loop's thread; a
// redirect is an ordinary 3xx response, which the connection follows itself.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/error.h"
#include "platform/network/response.h"

namespace platform {

class TransportClient {
public:
    virtual ~TransportClient() = default;
    virtual void transportReceivedResponse(NSURLResponse* response) = 0;
    virtual void transportReceivedData(const Data& data) = 0;
    virtual void transportFinished() = 0;
    virtual void transportFailed(long long code) = 0;
    // A failure with an error of the loader's own (a URL protocol's).
    virtual void transportFailedWithError(NSError* error) { transportFailed(error->code()); }
};

class Transport {
public:
    using LoadId = std::uint64_t;
    virtual ~Transport() = default;
    // Starts a load of `request`; called on the main run loop's thread. The
    // client is not called after the load ends or cancel() returns.
    virtual LoadId start(NSURLRequest* request, std::shared_ptr<TransportClient> client) = 0;
    virtual void cancel(LoadId load) = 0;
};

namespace network {
// The process's transport; a scripted one answering nothing until set.
std::shared_ptr<Transport> transport();
void setTransport(std::shared_ptr<Transport> transport);
}  // namespace network

// A transport for unit tests: each URL (its absolute text) answers as its
// script says, on the main run loop's virtual clock. An unscripted URL fails
// as a host that cannot be reached does. Every load it starts is logged.
class ScriptedTransport : public Transport {
public:
    struct Script {
        long status = 200;
        std::vector<std::pair<std::string, std::string>> headers;
        std::vector<std::string> chunks;  // the body, in the pieces it arrives in
        double delay = 0;                 // seconds before the response
        double chunkDelay = 0;            // seconds between pieces
        long long failCode = 0;           // non-zero: the load fails with it
        bool failAfterFirstChunk = false; // the response and a piece come first (a reset)
        bool neverAnswers = false;

        static Script body(std::vector<std::string> chunks, long status = 200);
        static Script redirect(std::string location, long status = 302);
        static Script failure(long long code);
    };

    void answer(std::string url, Script script);
    // "METHOD absolute-URL" of every load started, in order.
    std::vector<std::string> log() const;
    // The request of every load started, in order.
    std::vector<Ref<NSURLRequest>> requests() const;
    std::size_t activeLoads() const;

    LoadId start(NSURLRequest* request, std::shared_ptr<TransportClient> client) override;
    void cancel(LoadId load) override;

private:
    void end(LoadId load);
    mutable std::mutex mutex_;
    std::map<std::string, Script> scripts_;
    std::vector<std::string> log_;
    std::vector<Ref<NSURLRequest>> requests_;
    std::map<LoadId, std::shared_ptr<TransportClient>> loads_;
    LoadId next_ = 1;
};

}  // namespace platform

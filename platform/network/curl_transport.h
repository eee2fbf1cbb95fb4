// The real transport: HTTP and HTTPS over libcurl, every transfer on one multi
// handle driven by one loading thread (started with the first load, ended with
// the transport). It follows no redirect itself: a 3xx answer is delivered as
// it came, and the connection starts the next hop, so that its delegate is
// asked about each. It keeps no clock: the connection measures a request's
// time-out on the platform clock and ends the transfer by cancelling it.
// Proxies named by the environment are not used.
#pragma once

#include <memory>
#include <thread>

#include "platform/network/transport.h"

namespace platform {

class CurlTransport : public Transport {
public:
    CurlTransport();
    ~CurlTransport() override;
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    LoadId start(NSURLRequest* request, std::shared_ptr<TransportClient> client) override;
    void cancel(LoadId load) override;

    // Loads not yet ended or cancelled, and transfers the loading thread still
    // holds (a cancelled one until the thread has let it go).
    std::size_t activeLoads() const;
    std::size_t activeTransfers() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

namespace network {
// Whether loads may reach hosts other than 127.0.0.1: test processes reach
// only the loopback, so that a test never depends on the world.
void setLoopbackOnly(bool only);
bool loopbackOnly();
}  // namespace network

}  // namespace platform

// The ad-library benchmarks that load from our ad server on 127.0.0.1: one
// server for the process, the publisher app booted, real pages and libcurl.
#pragma once

#include <cstdlib>
#include <memory>

#include "bench/adlib_bench_boot.h"
#include "platform/network/curl_transport.h"
#include "platform/webkit/real_page_engine.h"
#include "tools/ad-server/ad_server.h"

namespace adlib::bench {

// The started server, or one whose port is 0 and whose error says why.
inline rousa::adserver::AdServer* startAdServerOnce() {
    static rousa::adserver::AdServer* server = [] {
        auto* s = new rousa::adserver::AdServer(rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY});
        if (!s->start()) return s;
        setenv("ADLIB_AD_SERVER_URL", s->baseURL().c_str(), 1);
        bootPublisherApp();
        platform::webkit::RealPageEngine::install();
        platform::network::setTransport(std::make_shared<platform::CurlTransport>());
        return s;
    }();
    return server;
}

}  // namespace adlib::bench

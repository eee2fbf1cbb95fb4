// The start of every loopback test of the public ads and the slot: our ad
// server on a free port of 127.0.0.1 serving the shipped inventory, the
// library pointed at it, real HTTP over libcurl and real pages; the slot's
// neighbours in place. TearDown puts the scripted transport and engine back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "platform/webkit/real_page_engine.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/adlib/pipeline/slot_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib::testing {

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.error();
        // Before anything of the library reads where its server is.
        ::setenv("ADLIB_AD_SERVER_URL", server.baseURL().c_str(), 1);
        network::setTransport(std::make_shared<CurlTransport>());
        webkit::RealPageEngine::install();
        installSlotNeighbours();
    }
    void TearDown() override {
        webkit::setPageEngineFactory(nullptr);
        network::setTransport(std::make_shared<ScriptedTransport>());
    }

    // How many requests for the path the server answered.
    size_t served(const std::string& path) const {
        size_t n = 0;
        for (const auto& entry : server.log().entries())
            if (entry.path == path) ++n;
        return n;
    }
    // Runs the main loop for work from other threads, up to 15 s of real time.
    static bool waitFor(const std::function<bool()>& condition) { return RunLoop::main().runUntil(condition, 15.0); }

    AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
};

}  // namespace adlib::testing

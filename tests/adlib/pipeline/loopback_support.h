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

#include "adlib/foundation/ad_size.h"
#include "adlib/pipeline/banner_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"
#include "platform/uikit/window.h"
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
    // The same, moving the virtual clock on by `step` whenever nothing came for
    // a moment, for work that waits on timers (render checks, time-outs).
    static bool waitAdvancing(const std::function<bool()>& condition, double step = 0.2, int steps = 150) {
        for (int i = 0; i < steps; ++i) {
            if (RunLoop::main().runUntil(condition, 0.1)) return true;
            platform::testing::advance(step);
        }
        return condition();
    }

    AdLibEnvironment env;
    rousa::adserver::AdServer server{rousa::adserver::ServerOptions{.inventoryDir = ROUSA_AD_SERVER_INVENTORY}};
};

// On the publisher's screen: a key window with a root controller, and the
// banner a test places there (let go before the window).
class ScreenLoopbackTest : public LoopbackTest {
protected:
    explicit ScreenLoopbackTest(double screenHeight = 480) : screenHeight_(screenHeight) {}
    void SetUp() override {
        LoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, screenHeight_));
        root = sel::init(alloc("UIViewController"));
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
    }
    void TearDown() override {
        banner = nullptr;
        window = nullptr;
        LoopbackTest::TearDown();
    }

    // A standard banner in the root view, told its controller, delegate and ad unit.
    void placeBanner(const char* adUnit, id delegate = nullptr) {
        banner = as<YBXBannerView>(sel::initWithAdSize_(alloc("YBXBannerView"), kYBXAdSizeBanner));
        ASSERT_TRUE(banner);
        sel::addSubview_(sel::view(root.get()).get(), banner.get());
        sel::setRootViewController_(banner.get(), root.get());
        if (delegate) sel::setDelegate_(banner.get(), delegate);
        sel::setAdUnitID_(banner.get(), Value(adUnit));
    }

    Ref<UIWindow> window;
    Ref<Object> root;
    Ref<YBXBannerView> banner;

private:
    double screenHeight_;
};

}  // namespace adlib::testing

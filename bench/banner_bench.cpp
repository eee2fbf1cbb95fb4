// A banner's load as its publisher sees it, against our ad server on
// loopback with the real page engine: from loadRequest: to
// adViewDidReceiveAd: (SDK-core page, ad fetch, rendering), and one refresh
// cycle, from the refresh timer's firing to the next adViewDidReceiveAd:.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/library.h"
#include "adlib/pipeline/banner_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/view_controller.h"
#include "platform/uikit/window.h"
#include "bench/adlib_bench_server.h"
#include "tools/ad-server/ad_server.h"

namespace {

using namespace platform;
using namespace adlib;
namespace sel = adlib::sel;

class BenchBannerDelegate : public NSObject {
public:
    int received = 0;
    int failed = 0;
};

rousa::adserver::AdServer* startOnce() {
    static rousa::adserver::AdServer* server = [] {
        rousa::adserver::AdServer* s = adlib::bench::startAdServerOnce();
        if (s->port() == 0) return s;
        ClassBuilder<BenchBannerDelegate>("BenchBannerDelegate", "NSObject")
            .method(adlib::sel::adViewDidReceiveAd_, [](id self, id) { ++as<BenchBannerDelegate>(self)->received; })
            .method(adlib::sel::adView_didFailToReceiveAdWithError_, [](id self, id, id) { ++as<BenchBannerDelegate>(self)->failed; });
        return s;
    }();
    return server;
}

// A banner on screen under a root controller, with its delegate.
struct PlacedBanner {
    PlacedBanner() {
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 480));
        root = sel::init(alloc("UIViewController"));
        sel::setRootViewController_(window.get(), root.get());
        sel::makeKeyAndVisible(window.get());
        delegate = as<BenchBannerDelegate>(newObject("BenchBannerDelegate").get());
        banner = sel::initWithAdSize_(alloc("YBXBannerView"), kYBXAdSizeBanner);
        sel::addSubview_(sel::view(root.get()).get(), banner.get());
        sel::setRootViewController_(banner.get(), root.get());
        sel::setDelegate_(banner.get(), delegate.get());
        sel::setAdUnitID_(banner.get(), Value("html-banner"));
    }
    ~PlacedBanner() {
        sel::removeFromSuperview(banner.get());
        sel::setHidden_(window.get(), true);
    }
    // Waits for the next answer; false on a failure or none in time.
    bool nextAd(int before) {
        return RunLoop::main().runUntil([&] { return delegate->received > before || delegate->failed > 0; }, 10) && delegate->failed == 0;
    }
    Ref<UIWindow> window;
    Ref<Object> root;
    Ref<BenchBannerDelegate> delegate;
    Ref<Object> banner;
};

bool serverUp(benchmark::State& state) {
    rousa::adserver::AdServer* server = startOnce();
    if (server->port() != 0) return true;
    state.SkipWithError(server->error().c_str());
    return false;
}

void BM_BannerLoad(benchmark::State& state) {
    if (!serverUp(state)) return;
    for (auto _ : state) {
        PlacedBanner placed;
        sel::loadRequest_(placed.banner.get(), newObject("YBXRequest").get());
        if (!placed.nextAd(0)) {
            state.SkipWithError("the banner did not load");
            return;
        }
    }
}
BENCHMARK(BM_BannerLoad)->Unit(benchmark::kMillisecond);

void BM_BannerRefreshCycle(benchmark::State& state) {
    if (!serverUp(state)) return;
    PlacedBanner placed;
    sel::loadRequest_(placed.banner.get(), newObject("YBXRequest").get());
    if (!placed.nextAd(0)) {
        state.SkipWithError("the banner did not load");
        return;
    }
    for (auto _ : state) {
        const int before = placed.delegate->received;
        // The ad's refresh rate is 30 s: the virtual clock brings the timer at once.
        RunLoop::main().advance(30);
        if (!placed.nextAd(before)) {
            state.SkipWithError("no refresh");
            return;
        }
    }
}
BENCHMARK(BM_BannerRefreshCycle)->Unit(benchmark::kMillisecond);

}  // namespace

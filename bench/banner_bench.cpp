// A banner's load as its publisher sees it, against our ad server on
// loopback with the real page engine: from loadRequest: to
// adViewDidReceiveAd: (SDK-core page, ad fetch, rendering), and one refresh
// cycle, from the refresh timer's firing to the next adViewDidReceiveAd:.
// Beside the load, its floor: the same HTTP requests made with libcurl alone
// and the same pages run once in the same engine, so the library's own cost
// is the difference. Then one slot over many refreshes (time and memory should
// stay flat) and many slots loading at once.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/library.h"
#include "adlib/pipeline/banner_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/inert_page_host.h"
#include "platform/webkit/real_page_engine.h"
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
    // Asks for an ad and waits for it; false on a failure or none in time.
    bool load() {
        sel::loadRequest_(banner.get(), newObject("YBXRequest").get());
        return nextAd(0);
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

// The requests one banner load sends once the library is warm (the first
// load also fetches what later loads keep), as the server logged them.
const std::vector<rousa::adserver::LoggedRequest>& warmLoadRequests() {
    static const std::vector<rousa::adserver::LoggedRequest>& requests = *[] {
        auto* taken = new std::vector<rousa::adserver::LoggedRequest>;
        rousa::adserver::AdServer* server = startOnce();
        for (int load = 0; load < 2; ++load) {
            const size_t before = server->log().entries().size();
            PlacedBanner placed;
            if (!placed.load()) return taken;
            // Pings go out after the ad is shown: let them arrive.
            RunLoop::main().runUntil([] { return false; }, 0.2);
            std::vector<rousa::adserver::LoggedRequest> all = server->log().entries();
            taken->assign(all.begin() + static_cast<long>(before), all.end());
        }
        return taken;
    }();
    return requests;
}

void BM_BannerLoad(benchmark::State& state) {
    if (!serverUp(state)) return;
    // Timed warm, as its floor is: the first load also boots the SDK core.
    (void)warmLoadRequests();
    for (auto _ : state) {
        PlacedBanner placed;
        if (!placed.load()) {
            state.SkipWithError("the banner did not load");
            return;
        }
    }
}
BENCHMARK(BM_BannerLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

size_t appendBody(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

void BM_BannerLoadFloor(benchmark::State& state) {
    if (!serverUp(state)) return;
    const std::vector<rousa::adserver::LoggedRequest>& requests = warmLoadRequests();
    if (requests.empty()) {
        state.SkipWithError("the banner did not load");
        return;
    }
    const std::string base = startOnce()->baseURL();
    CURL* curl = curl_easy_init();
    platform::testing::InertPageHost host;
    for (auto _ : state) {
        std::vector<std::string> pages;
        for (const rousa::adserver::LoggedRequest& request : requests) {
            std::string body;
            const std::string url = base + request.path + (request.query.empty() ? "" : "?" + request.query);
            curl_slist* headers = nullptr;
            for (const auto& [name, value] : request.headers) headers = curl_slist_append(headers, (name + ": " + value).c_str());
            curl_easy_reset(curl);
            curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
            curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
            curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
            if (!request.body.empty()) {
                curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
                curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size()));
            }
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
            const CURLcode result = curl_easy_perform(curl);
            curl_slist_free_all(headers);
            if (result != CURLE_OK) {
                state.SkipWithError(curl_easy_strerror(result));
                curl_easy_cleanup(curl);
                return;
            }
            char* type = nullptr;
            curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
            if (type && std::string_view(type).starts_with("text/html")) pages.push_back(std::move(body));
        }
        // Each page the load received runs once, as the banner's web views run them.
        for (const std::string& page : pages) {
            webkit::RealPageEngine engine(host);
            engine.loadDocument(page, nullptr);
            benchmark::DoNotOptimize(engine.visibleContent());
        }
    }
    curl_easy_cleanup(curl);
    state.counters["requests"] = static_cast<double>(requests.size());
}
BENCHMARK(BM_BannerLoadFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BannerRefreshCycle(benchmark::State& state) {
    if (!serverUp(state)) return;
    PlacedBanner placed;
    if (!placed.load()) {
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

// Resident set and heap in use, in kilobytes.
double residentKB() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}
double heapKB() { return static_cast<double>(mallinfo2().uordblks) / 1024.0; }

// One slot reused for 100 refreshes: the counters compare the first ten with
// the last ten (time per refresh) and the heap and resident set before and
// after, so growth shows as a ratio above 1 or kilobytes that keep rising.
// Before them the slot warms up for as many refreshes as its web view's back
// list holds pages, so that what stays bounded has reached its bound.
void BM_BannerRefresh100(benchmark::State& state) {
    if (!serverUp(state)) return;
    constexpr int kWarmUp = 100, kRefreshes = 100;
    double firstTen = 0, lastTen = 0, heapGrowth = 0, residentGrowth = 0;
    for (auto _ : state) {
        PlacedBanner placed;
        if (!placed.load()) {
            state.SkipWithError("the banner did not load");
            return;
        }
        double heapBefore = 0, residentBefore = 0;
        for (int refresh = -kWarmUp; refresh < kRefreshes; ++refresh) {
            if (refresh == 0) {
                heapBefore = heapKB();
                residentBefore = residentKB();
            }
            const int before = placed.delegate->received;
            const auto start = std::chrono::steady_clock::now();
            RunLoop::main().advance(30);
            if (!placed.nextAd(before)) {
                state.SkipWithError("no refresh");
                return;
            }
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            // The in-process server's log would grow with every request.
            startOnce()->clearLog();
            if (refresh >= 0 && refresh < 10) firstTen += seconds;
            if (refresh >= kRefreshes - 10) lastTen += seconds;
        }
        heapGrowth += heapKB() - heapBefore;
        residentGrowth += residentKB() - residentBefore;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["first10_ms"] = firstTen / runs / 10 * 1000;
    state.counters["last10_ms"] = lastTen / runs / 10 * 1000;
    state.counters["heap_growth_KB"] = heapGrowth / runs;
    state.counters["rss_growth_KB"] = residentGrowth / runs;
}
BENCHMARK(BM_BannerRefresh100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Twenty banners on one screen asking at once, until every one has its ad.
void BM_Banners20LoadAtOnce(benchmark::State& state) {
    if (!serverUp(state)) return;
    constexpr int kBanners = 20;
    for (auto _ : state) {
        std::vector<std::unique_ptr<PlacedBanner>> banners;
        for (int i = 0; i < kBanners; ++i) banners.push_back(std::make_unique<PlacedBanner>());
        for (auto& placed : banners) sel::loadRequest_(placed->banner.get(), newObject("YBXRequest").get());
        const bool all = RunLoop::main().runUntil(
            [&] {
                for (auto& placed : banners)
                    if (placed->delegate->received == 0 && placed->delegate->failed == 0) return false;
                return true;
            },
            30);
        for (auto& placed : banners) {
            if (!all || placed->delegate->failed > 0) {
                state.SkipWithError("not every banner loaded");
                return;
            }
        }
    }
    state.counters["banners"] = kBanners;
}
BENCHMARK(BM_Banners20LoadAtOnce)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// The MRAID interceptor's claim: it is asked for every request of every page,
// here with 50 ad pages stashed, for an ordinary image and for a claimed
// "mraid.js".
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "adlib/render/ad_url_stash.h"
#include "adlib/render/mraid_interceptor.h"
#include "bench/adlib_bench_boot.h"
#include "platform/network/request.h"

namespace {

using namespace platform;

struct Pages {
    std::vector<Ref<Object>> views;
    Pages() {
        adlib::bench::bootPublisherApp();
        for (int i = 0; i < 50; ++i) {
            views.push_back(newObject("NSObject"));
            adlib::YBXAdURLStash::add(NSURL::URLWithString(page(i)).get(), views.back().get());
        }
        adlib::YBXMRAIDInterceptor::allow();
        adlib::YBXMRAIDInterceptor::enableCanInitWithRequest();
    }
    static std::string page(int i) { return "http://ads.test/mads/gma?slotname=unit" + std::to_string(i) + "&request_id=" + std::to_string(i); }
};

Pages& pages() {
    static Pages shared;
    return shared;
}

Ref<NSMutableURLRequest> requestFrom(std::string_view url, int page) {
    Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url).get());
    request->setValueForHTTPHeaderField(Pages::page(page), "Referer");
    return request;
}

void BM_CanInitAnImageRequest(benchmark::State& state) {
    pages();
    Ref<NSMutableURLRequest> request = requestFrom("http://cdn.test/img/banner.png", 25);
    for (auto _ : state) benchmark::DoNotOptimize(adlib::YBXMRAIDInterceptor::canInitWithRequest(request.get()));
}
BENCHMARK(BM_CanInitAnImageRequest);

void BM_CanInitAClaimedMRAIDScript(benchmark::State& state) {
    pages();
    Ref<NSMutableURLRequest> request = requestFrom("http://cdn.test/js/mraid.js", 25);
    if (!adlib::YBXMRAIDInterceptor::canInitWithRequest(request.get())) state.SkipWithError("not claimed");
    for (auto _ : state) benchmark::DoNotOptimize(adlib::YBXMRAIDInterceptor::canInitWithRequest(request.get()));
}
BENCHMARK(BM_CanInitAClaimedMRAIDScript);

}  // namespace

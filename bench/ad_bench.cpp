// An ad as the slot gets it: the fetcher reading a typical response's X-Kestra-
// headers into the ad, and an ad built from the ad dictionary of a response
// handed in by the SDK-core page.
#include <benchmark/benchmark.h>

#include "adlib/pipeline/ad.h"
#include "adlib/pipeline/ad_fetcher.h"
#include "bench/adlib_bench_boot.h"

namespace {

using namespace platform;
namespace sel = adlib::sel;
using namespace adlib;


const Value& typicalHeaders() {
    static const Value headers{
        {"Content-Type", "text/html; charset=utf-8"},
        {"X-Kestra-Ad-Size", "320x50"},
        {"X-Kestra-Orientation", "any"},
        {"X-Kestra-Refresh-Rate", "30"},
        {"X-Kestra-Tracking-Urls", "http://127.0.0.1:47800/ping/imp?slotname=u1&request_id=7 http://127.0.0.1:47800/ping/imp2?r=7"},
        {"X-Kestra-Click-Tracking-Urls", "http://127.0.0.1:47800/ping/click?slotname=u1&request_id=7"},
        {"X-Kestra-Optora", "{\"interval\":200,\"threshold\":0.5}"},
        {"X-Kestra-Use-HTTPS", "0"},
        {"X-Kestra-Debug-Dialog", "html-banner 7"},
    };
    return headers;
}

void BM_ProcessHeaders(benchmark::State& state) {
    bench::bootPublisherApp();
    Ref<YBXAd> ad = as<YBXAd>(newObject("YBXAd"));
    ad->adHTML_ = Value("<p>ad</p>");
    Ref<Object> fetcher = newObject("YBXAdFetcher");
    sel::fetchRemainingContentForAd_headers_delegate_request_error_(fetcher.get(), ad.get(), Value(), nullptr, nullptr, nullptr);
    // Every response of a load (redirects, the final one) goes through this.
    for (auto _ : state) {
        sel::processHTTPHeaders_(fetcher.get(), typicalHeaders());
        benchmark::DoNotOptimize(ad->responseType_);
    }
}
BENCHMARK(BM_ProcessHeaders);

void BM_AdFromDictionary(benchmark::State& state) {
    bench::bootPublisherApp();
    const Value dictionary{
        {"ad_html", "<!DOCTYPE html><html><body><a href=\"http://127.0.0.1:47800/landing.html\">ad</a></body></html>"},
        {"ad_base_url", "http://127.0.0.1:47800/mads/gma"},
        {"ad_size", "320x50"},
        {"orientation", "portrait"},
        {"refresh_rate", 30},
        {"optora", Value{{"interval", 200}}},
        {"click_urls", Value::array({"http://127.0.0.1:47800/ping/click?r=1", "http://127.0.0.1:47800/ping/click?r=2"})},
        {"impression_urls", Value::array({"http://127.0.0.1:47800/ping/imp?r=1"})},
    };
    for (auto _ : state) benchmark::DoNotOptimize(sel::initWithDictionary_(alloc("YBXAdBanner"), dictionary));
}
BENCHMARK(BM_AdFromDictionary);

}  // namespace

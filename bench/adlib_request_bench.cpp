// The ad library's per-request work: a full request's parameters (the device
// record, targeting, extras, location, formats and the signal pair), and the
// memory-cache key of a long ad URL.
#include <benchmark/benchmark.h>

#include "adlib/pipeline/request.h"
#include "adlib/pipeline/url_connection.h"
#include "bench/adlib_bench_boot.h"

namespace {

using namespace platform;
using namespace adlib;


void BM_FullRequestParameters(benchmark::State& state) {
    bench::bootPublisherApp();
    Ref<YBXRequest> request = as<YBXRequest>(newObject("YBXRequest"));
    request->testing = true;
    request->gender = 2;
    request->setBirthday(3, 7, 1985);
    request->setLocation(45.5, -122.3, 10);
    for (const char* k : {"golf", "tennis", "travel"}) request->addKeyword(Value(k));
    request->contentURL = Value("http://news.example/sports/today");
    request->childDirectedTreatment = Value(false);
    request->setAdditionalParameters(Value{{"color_bg", Value("ffffff")}, {"tier", Value("gold")}});
    request->formatParameters = Value::array({Value{{"format", Value(1LL)}}, Value{{"format", Value(2LL)}}});
    request->responseType = 1;
    for (auto _ : state) benchmark::DoNotOptimize(request->parameters());
}
BENCHMARK(BM_FullRequestParameters);

void BM_CacheKeyOfALongAdURL(benchmark::State& state) {
    bench::bootPublisherApp();
    std::string text = "http://127.0.0.1:47800/mads/gma?slotname=home_banner";
    for (int i = 0; i < 60; ++i) text += "&param" + std::to_string(i) + "=value%20" + std::to_string(i);
    Ref<NSURL> url = NSURL::URLWithString(text);
    for (auto _ : state) benchmark::DoNotOptimize(YBXURLConnection::cacheKeyForURL(url.get()));
}
BENCHMARK(BM_CacheKeyOfALongAdURL);

}  // namespace

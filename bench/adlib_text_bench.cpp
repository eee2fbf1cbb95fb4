// The ad library's text work on the request path: appending pairs to a click
// URL whose destination must stay last, parsing a long query, and keyword
// replacement over a mediation ping template, whose pattern is built per call.
#include <benchmark/benchmark.h>

#include "adlib/foundation/string_utilities.h"
#include "adlib/foundation/url_utilities.h"
#include "bench/adlib_bench_boot.h"
#include "platform/foundation/format.h"

namespace {

using namespace platform;
using namespace adlib;


void BM_AppendToClickURL(benchmark::State& state) {
    bench::bootPublisherApp();
    Ref<NSURL> click = NSURL::URLWithString(
        "http://127.0.0.1:47800/aclk?sa=L&ai=Cabc123&num=1&sig=AOD64_3xyz&client=ca-app-pub&adurl=http://advertiser.example/landing?x=1&y=2");
    const Value pairs{{"nm", "3"}, {"nx", "120"}, {"ny", "35"}, {"dim", "320x50"}};
    for (auto _ : state) benchmark::DoNotOptimize(ybx_appendQueryParameters(click, pairs));
}
BENCHMARK(BM_AppendToClickURL);

void BM_ParseLongQuery(benchmark::State& state) {
    std::string query;
    for (int i = 0; i < 200; ++i) query += format("%@key%d=value%%20%d", i ? "&" : "", i, i);
    for (auto _ : state) benchmark::DoNotOptimize(ybx_dictionaryFromQuery(query, true));
}
BENCHMARK(BM_ParseLongQuery);

void BM_ReplaceKeywordsInPing(benchmark::State& state) {
    bench::bootPublisherApp();
    const std::string templ =
        "http://127.0.0.1:47800/mads/static/ping?seq=@seq@&net=@network@&lat=@latency@&err=@@@err@@@&mail=a@@b&t=@time@&x=@unknown@";
    for (auto _ : state) {
        std::string ping = templ;
        ybx_replaceAtQuotedKeywordPattern_withString(ping, Value("seq"), Value("5"));
        ybx_replaceAtQuotedKeywordPattern_withString(ping, Value("network"), Value("html"));
        ybx_replaceAtQuotedKeywordPattern_withString(ping, Value("latency"), Value("120"));
        ybx_removeAtQuotedKeywords(ping);
        ybx_unescapeAts(ping);
        benchmark::DoNotOptimize(ping);
    }
}
BENCHMARK(BM_ReplaceKeywordsInPing);

}  // namespace

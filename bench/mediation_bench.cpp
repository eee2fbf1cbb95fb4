// Mediation work done on every mediated ad load: parsing the server's
// mediation response of ten networks into a configuration (adapter classes
// looked up by name), and expanding the impression ping template, whose
// eleven macros each build a pattern.
#include <benchmark/benchmark.h>

#include "adlib/foundation/macros.h"
#include "adlib/mediation/mediation_config.h"
#include "adlib/mediation/mediation_utilities.h"
#include "bench/adlib_bench_boot.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"

namespace {

using namespace platform;
using namespace adlib;

// The shared boot, then what this run adds to it.
void bootOnce() {
    static bool booted = [] {
        bench::bootPublisherApp();
        log::setEcho(false);
        return true;
    }();
    (void)booted;
}

Value tenNetworkResponse() {
    std::string networks;
    for (int i = 0; i < 10; ++i)
        networks += format(R"(%@{"id": %d, "allocation_id": "alloc-%d", "adapters": ["YBXMAdapterCustom%d", "YBXMAdapterOrvaneMarlexAds"],
            "data": {"pubid": "pub-%d", "class_name": "Event%d", "pendrel_share_location": "1"}, "extras": {"k": "v%d"},
            "imp_urls": ["http://127.0.0.1:47800/imp?n=@gw_adnetid@&s=@gw_seqnum@"]})",
                           i ? ", " : "", 1000 + i, i, i, i, i, i);
    return readJsonIntoDictionary(format(R"({"ad_type": "banner", "qdata": {"request_id": "r-1", "slot": "unit"},
        "settings": {"refresh": 45, "ad_network_timeout_millis": 2500, "ad_transition_anim": 3,
                     "imp_urls": ["http://127.0.0.1:47800/imp?a=1"], "click_urls": ["http://127.0.0.1:47800/clk?a=1"]},
        "ad_networks": [%@]})",
                                         networks));
}

void BM_ParseTenNetworkResponse(benchmark::State& state) {
    bootOnce();
    const Value response = tenNetworkResponse();
    for (auto _ : state) {
        Ref<NSError> error;
        Ref<Object> config = adlib::sel::initWithAppKey_configDict_error_(alloc("YBXMConfig"), Value("unit"), response, &error);
        benchmark::DoNotOptimize(config.get());
        log::clear();  // the networks without a linked adapter are logged
    }
}
BENCHMARK(BM_ParseTenNetworkResponse);

void BM_ExpandImpressionTemplate(benchmark::State& state) {
    bootOnce();
    const Value templ(YBXMImpressionTemplate());
    const Value qdata(Value::Dictionary{{"request_id", Value("r-1")}, {"slot", Value("unit")}});
    for (auto _ : state)
        benchmark::DoNotOptimize(YBXMMediationURL(templ, Value("unit"), true, Value("alloc-1"), Value("1001"), qdata, Value("8312736419"),
                                                  Value("17"), Value("4,3,0"), Value("120,35,80")));
}
BENCHMARK(BM_ExpandImpressionTemplate);

}  // namespace

// What a banner request costs the slot before the SDK-core page sees it: the
// parameter dictionary (request and device parameters, sizes, frames, flags)
// and the JSON text the controller splices into the page's script.
#include <benchmark/benchmark.h>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "adlib/pipeline/slot.h"
#include "bench/adlib_bench_boot.h"

namespace {

using namespace platform;
namespace sel = adlib::sel;
using namespace adlib;

// The shared boot, then what this run adds to it.
void bootOnce() {
    static bool booted = [] {
        bench::bootPublisherApp();
        // A banner view as the slot sees it: its frame, bounds and sizes.
        ClassBuilder<NSObject>("BenchBannerView", "NSObject")
            .method(sel::frame, [](id) { return Rect{{0, 20}, {320, 50}}; })
            .method(sel::bounds, [](id) { return Rect{{0, 0}, {320, 50}}; })
            .method(sel::validAdSizes, [](id) {
                return Value(Value::Array{YBXAdSizeBoxed(kYBXAdSizeBanner), YBXAdSizeBoxed(kYBXAdSizeMediumRectangle)});
            });
        return true;
    }();
    (void)booted;
}

struct BannerSlot {
    BannerSlot() {
        bootOnce();
        slot = sel::initWithFrame_(alloc("YBXSlot"), Rect{{0, 0}, {320, 50}});
        view = newObject("BenchBannerView");
        sel::setSlotDelegate_(slot.get(), view.get());
        sel::setAdUnitID_(slot.get(), Value("html-banner"));
        sel::setAdType_andReloadRequest_(slot.get(), sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), kYBXAdSizeBanner).get(), false);
        sel::setRequestID_(slot.get(), Value("42"));
        as<YBXSlot>(slot.get())->request_ = newObject("YBXRequest");
    }
    Ref<Object> slot;
    Ref<Object> view;
};

void BM_RequestParameters(benchmark::State& state) {
    BannerSlot banner;
    for (auto _ : state) benchmark::DoNotOptimize(sel::requestParameters(banner.slot.get()));
}
BENCHMARK(BM_RequestParameters);

void BM_RequestParametersJSON(benchmark::State& state) {
    BannerSlot banner;
    for (auto _ : state) {
        Value parameters = sel::requestParameters(banner.slot.get());
        benchmark::DoNotOptimize(YBXSDKCoreController::adRequestParameterJSONFromParameters(parameters));
    }
}
BENCHMARK(BM_RequestParametersJSON);

}  // namespace

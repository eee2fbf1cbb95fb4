// The share of a snapshot's pixels in the background colour, which an HTML
// network's render check computes every 0.2 s while its ad loads: a banner
// and a full-screen tablet page.
#include <benchmark/benchmark.h>

#include "adlib/foundation/view_utilities.h"
#include "bench/adlib_bench_boot.h"
#include "platform/uikit/color.h"
#include "platform/uikit/view.h"

namespace {

using namespace platform;
namespace sel = adlib::sel;

void BM_PercentOfImageOfColor(benchmark::State& state) {
    adlib::bench::bootPublisherApp();
    const double width = static_cast<double>(state.range(0)), height = static_cast<double>(state.range(1));
    // A clear page whose top tenth is drawn.
    Ref<UIView> page = UIView::make("UIView", Rect(0, 0, width, height));
    Ref<UIColor> clear = UIColor::rgba(0, 0, 0, 0);
    sel::setBackgroundColor_(page, clear.get());
    Ref<UIView> drawn = UIView::make("UIView", Rect(0, 0, width, height / 10));
    sel::setBackgroundColor_(drawn, UIColor::rgba(0.2, 0.4, 0.6, 1).get());
    sel::addSubview_(page, drawn);
    Ref<Object> snapshot = sel::ybx_render(page);
    for (auto _ : state) benchmark::DoNotOptimize(adlib::percentOfImageOfColor(snapshot.get(), clear.get()));
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_PercentOfImageOfColor)->Args({320, 50})->Args({768, 1024});

}  // namespace

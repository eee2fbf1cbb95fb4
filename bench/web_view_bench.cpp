// The ad web view: made from the cache of blanked inner views and made new,
// and one navigation decision for a creative message.
#include <benchmark/benchmark.h>

#include "adlib/foundation/library.h"
#include "adlib/render/web_view.h"
#include "adlib/render/web_view_delegate.h"
#include "platform/network/url.h"
#include "platform/testing/test_environment.h"

namespace {

using namespace platform;
namespace sel = adlib::sel;

void bootOnce() {
    static bool booted = [] {
        static std::string root = platform::testing::makeDeviceRoot();
        host::boot(host::BootOptions{.bundleIdentifier = host::kPublisherApp, .deviceRoot = root,
                                     .virtualClockStart = Date::fromUnix(platform::testing::kDefaultStart)});
        adlib::registerClasses();
        return true;
    }();
    (void)booted;
}

void BM_WebViewFromTheCache(benchmark::State& state) {
    bootOnce();
    Class* webViewClass = objc_getClass("YBXWebView");
    for (auto _ : state) {
        state.PauseTiming();
        // One blanked inner view waiting in the cache.
        {
            Ref<adlib::YBXWebView> returned = UIView::make<adlib::YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
        }
        platform::testing::advance(0.01);
        state.ResumeTiming();
        Ref<adlib::YBXWebView> view = UIView::make<adlib::YBXWebView>("YBXWebView", Rect(0, 0, 320, 50));
        benchmark::DoNotOptimize(view.get());
        state.PauseTiming();
        view->webView_->delegate_ = nullptr;
        view->webView_ = nullptr;  // not returned: the next round starts from one view
        (void)webViewClass;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WebViewFromTheCache);

void BM_WebViewNew(benchmark::State& state) {
    bootOnce();
    for (auto _ : state) {
        Ref<adlib::YBXWebView> view = UIView::make<adlib::YBXWebView>("YBXBrowserWebView", Rect(0, 0, 320, 50));
        benchmark::DoNotOptimize(view.get());
        state.PauseTiming();
        view->webView_->delegate_ = nullptr;
        view->webView_ = nullptr;
        view = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WebViewNew);

void BM_NavigationDecisionForAMessage(benchmark::State& state) {
    bootOnce();
    Ref<Object> delegate = newObject("YBXWebViewDelegate");
    Ref<Object> view = UIView::make("YBXWebView", Rect(0, 0, 320, 50));
    Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString("pmsg://ad/open?u=http%3A%2F%2Fshop.test%2F&a=1").get());
    int round = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), view.get(), request.get(), 5));
        if (++round % 64 == 0) {
            state.PauseTiming();
            platform::testing::advance(0.01);  // the handlers' main-queue work
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_NavigationDecisionForAMessage);

}  // namespace

// One ad URL built by the SDK-core page: buildAdURL: on a loaded page, through
// the controller's threaded queues, the real page engine and back to the
// requester on the main thread. The page comes from our ad server on loopback.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "adlib/foundation/library.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"
#include "bench/adlib_bench_server.h"
#include "tools/ad-server/ad_server.h"

namespace {

using namespace platform;
using namespace adlib;

// A slot's worth of request parameters; answers are counted on the main thread.
class BenchRequester : public NSObject {
public:
    Value requestID{""};
    int answers = 0;
};

rousa::adserver::AdServer* startOnce() {
    static rousa::adserver::AdServer* server = [] {
        rousa::adserver::AdServer* s = adlib::bench::startAdServerOnce();
        if (s->port() == 0) return s;
        ClassBuilder<BenchRequester>("BenchSDKCoreRequester", "NSObject")
            .method(adlib::sel::setRequestID_, [](id self, Value requestID) { as<BenchRequester>(self)->requestID = requestID; })
            .method(adlib::sel::requestParameters,
                    [](id self) {
                        Value::Dictionary p{{"request_id", as<BenchRequester>(self)->requestID}, {"slotname", Value("html-banner")}};
                        const char* keys[] = {"platform", "submodel", "hl", "u_audio", "u_so", "u_sd", "u_w", "u_h", "js", "app_name",
                                              "ios_base_sdk", "cap_noiap", "preqs", "seq_num", "session_id", "format"};
                        for (const char* key : keys) p[key] = Value(std::string("value of ") + key);
                        p["extras"] = Value{{"kw", "alarm clock"}, {"page", "2"}};
                        return Value(std::move(p));
                    })
            .method(adlib::sel::loadAdURLWithParameters_, [](id self, Value) { ++as<BenchRequester>(self)->answers; });
        return s;
    }();
    return server;
}

void BM_BuildAdURLRoundTrip(benchmark::State& state) {
    rousa::adserver::AdServer* server = startOnce();
    if (server->port() == 0) {
        state.SkipWithError(server->error().c_str());
        return;
    }
    YBXSDKCoreController* controller = YBXSDKCoreController::sharedInstance();
    Ref<BenchRequester> requester = as<BenchRequester>(newObject("BenchSDKCoreRequester").get());
    // The first request loads the page.
    controller->buildAdURL(requester.get());
    if (!RunLoop::main().runUntil([&] { return requester->answers == 1; }, 20)) {
        state.SkipWithError("the SDK-core page did not answer");
        return;
    }
    for (auto _ : state) {
        const int before = requester->answers;
        controller->buildAdURL(requester.get());
        if (!RunLoop::main().runUntil([&] { return requester->answers > before; }, 10)) {
            state.SkipWithError("no answer");
            return;
        }
    }
}
BENCHMARK(BM_BuildAdURLRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace

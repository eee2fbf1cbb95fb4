// A page run by the real page engine: its HTML parsed, its scripts run under
// tight limits, and what it shows read back. The host loads nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/webkit/real_page_engine.h"

using namespace platform;

namespace {
class InertPageHost : public webkit::PageHost {
public:
    bool navigate(const webkit::Navigation&, std::function<void(const webkit::LoadResult&)>) override { return false; }
    void pageFinishedLoading() override {}
    void pageFailedLoading(NSError*) override {}
    LoadId loadSubresource(NSURLRequest*, std::function<void(const webkit::LoadResult&)>) override { return 0; }
    void cancelSubresource(LoadId) override {}
    TimerId scheduleTimer(double, std::function<void()>) override { return 0; }
    void cancelTimer(TimerId) override {}
    std::string userAgent() const override { return "fuzz"; }
    Size viewSize() const override { return Size(320, 50); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InertPageHost host;
    webkit::RealPageEngine engine(host, webkit::PageLimits{.memoryBytes = 16u << 20, .instructions = 200'000});
    engine.loadDocument(std::string(reinterpret_cast<const char*>(data), size), nullptr);
    (void)engine.visibleContent();
    (void)engine.evaluateScript("document.body ? document.body.innerHTML : ''");
    return 0;
}

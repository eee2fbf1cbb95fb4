// A page run by the real page engine: its HTML parsed, its scripts run under
// tight limits, and what it shows read back. The host loads nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/testing/inert_page_host.h"
#include "platform/webkit/real_page_engine.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::testing::InertPageHost host;
    webkit::RealPageEngine engine(host, webkit::PageLimits{.memoryBytes = 16u << 20, .instructions = 200'000});
    engine.loadDocument(std::string(reinterpret_cast<const char*>(data), size), nullptr);
    (void)engine.visibleContent();
    (void)engine.evaluateScript("document.body ? document.body.innerHTML : ''");
    return 0;
}

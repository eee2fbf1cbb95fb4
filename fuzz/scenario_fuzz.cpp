// The scenario language as users type it: every text is a scenario or an
// error naming its line, never a crash.
#include <cstdint>
#include <string>

#include "tools/rousa2-sim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rousa::sim::parseScenario(std::string(reinterpret_cast<const char*>(data), size), "fuzz.scenario");
    return 0;
}

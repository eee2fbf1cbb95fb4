// Value's conversions of strings to numbers, as settings written by hand
// reach the loader.
#include <cstdint>
#include <string>

#include "platform/runtime/value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::Value v(std::string(reinterpret_cast<const char*>(data), size));
    (void)v.intValue();
    (void)v.integerValue();
    (void)v.floatValue();
    (void)v.doubleValue();
    (void)v.boolValue();
    return 0;
}

// format() with fuzzed formats and arguments of each kind it takes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/format.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<FormatArg> args;
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
            case 0: args.emplace_back(in.ConsumeIntegral<long long>()); break;
            case 1: args.emplace_back(in.ConsumeIntegral<unsigned long>()); break;
            case 2: args.emplace_back(in.ConsumeFloatingPoint<double>()); break;
            case 3: args.emplace_back(Value(in.ConsumeRandomLengthString(64))); break;
            case 4: args.emplace_back(Value()); break;
            default: args.emplace_back(in.ConsumeBool()); break;
        }
    }
    std::string fmt = in.ConsumeRemainingBytesAsString();
    formatArgs(fmt, args.data(), args.size());
    return 0;
}

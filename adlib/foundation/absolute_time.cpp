#include "adlib/foundation/absolute_time.h"

#include "platform/foundation/run_loop.h"

namespace adlib {

namespace {

struct Base {
    std::uint64_t ticks;
    double ticksPerMillisecond;
};

const Base& base() {
    static const Base b = [] {
        mach_timebase_info_data_t info{};
        mach_timebase_info(&info);
        return Base{mach_absolute_time(), static_cast<double>(info.denom) / info.numer * 1e6};
    }();
    return b;
}

}  // namespace

std::uint64_t YBXAbsoluteTimeInMilliseconds() {
    const Base& b = base();
    return static_cast<std::uint64_t>(static_cast<double>(mach_absolute_time() - b.ticks) / b.ticksPerMillisecond);
}

void registerAbsoluteTimeClass() {
    ClassBuilder<NSObject>("YBXAbsoluteTime", "NSObject").classMethod(sel::absoluteTimeInMilliseconds, [](id) {
        return Value(static_cast<unsigned long long>(YBXAbsoluteTimeInMilliseconds()));
    });
}

}  // namespace adlib

#include "platform/frameworks/storekit.h"

#include <atomic>

namespace platform::storekit {

namespace {
std::atomic<bool> payments{true};
}  // namespace

void setCanMakePayments(bool can) { payments = can; }

void registerClasses() {
    ClassBuilder<SKPaymentQueue>("SKPaymentQueue", "NSObject").classMethod(sel::canMakePayments, [](id) { return payments.load(); });
}

}  // namespace platform::storekit

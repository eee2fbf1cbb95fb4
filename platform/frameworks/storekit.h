// StoreKit: SKPaymentQueue's canMakePayments, which tests set. Any thread.
#pragma once

#include "platform/frameworks/selectors.h"

namespace platform {

namespace sel {
inline constexpr Sel<bool(id)> canMakePayments{"canMakePayments"};  // class method
}  // namespace sel

class SKPaymentQueue : public NSObject {};

namespace storekit {
// YES at first.
void setCanMakePayments(bool can);
void registerClasses();
}  // namespace storekit

}  // namespace platform

// YBXPaymentTransactionObserver: the process-wide default in-app purchase
// flow. For now the shared instance and its switch, which is off until the
// publisher turns the flow on. Made once on first use; main thread.
#pragma once

#include <atomic>

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXPaymentTransactionObserver : public NSObject {
public:
    static YBXPaymentTransactionObserver* sharedInstance();

    std::atomic<bool> defaultPurchaseFlowEnabled_{false};
};

void registerPaymentTransactionObserverClass();

}  // namespace adlib

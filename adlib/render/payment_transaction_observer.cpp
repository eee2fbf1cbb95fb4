#include "adlib/render/payment_transaction_observer.h"

#include <mutex>

namespace adlib {

YBXPaymentTransactionObserver* YBXPaymentTransactionObserver::sharedInstance() {
    static std::once_flag once;
    static YBXPaymentTransactionObserver* shared = nullptr;
    std::call_once(once, [] { shared = as<YBXPaymentTransactionObserver>(sel::init(alloc("YBXPaymentTransactionObserver")).leak()); });
    return shared;
}

void registerPaymentTransactionObserverClass() {
    ClassBuilder<YBXPaymentTransactionObserver>("YBXPaymentTransactionObserver", "NSObject")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(YBXPaymentTransactionObserver::sharedInstance()); })
        .method(sel::isDefaultPurchaseFlowEnabled,
                [](id self) { return as<YBXPaymentTransactionObserver>(self)->defaultPurchaseFlowEnabled_.load(); });
}

}  // namespace adlib

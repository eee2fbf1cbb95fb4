// StoreKit: SKPaymentQueue's canMakePayments, which tests set, and
// SKStoreProductViewController, the App Store sheet. The sheet records the
// item identifier it was asked to load and answers its completion after a
// delay of the main run loop's clock, with the result tests set; its delegate
// (weak) hears Done when a test presses it. Any thread for canMakePayments;
// the sheet is main thread only.
//
// Payments: the default payment queue records the payments added and the
// transactions finished, and keeps its observers weakly; tests deliver
// transactions to the observers on a background thread, as StoreKit does. A
// products request answers its (weak) delegate off the main thread, as tests
// set: every identifier valid at first.
#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/frameworks/selectors.h"
#include "platform/uikit/view_controller.h"

namespace platform {

// The parameter key of the product to show (an NSNumber).
inline constexpr const char* SKStoreProductParameterITunesItemIdentifier = "id";

// (result, error): NO with an error when the product could not be loaded.
using SKStoreProductLoadCompletion = std::function<void(bool result, id error)>;

namespace sel {
inline constexpr Sel<bool(id)> canMakePayments{"canMakePayments"};  // class method
// (parameters, completion or empty)
inline constexpr Sel<void(id, Value, SKStoreProductLoadCompletion)> loadProductWithParameters_completionBlock_{
    "loadProductWithParameters:completionBlock:"};
// The delegate's: the user pressed Done.
inline constexpr Sel<void(id, id)> productViewControllerDidFinish_{"productViewControllerDidFinish:"};

// Payments.
inline constexpr Sel<Ref<Object>(id)> defaultQueue{"defaultQueue"};  // class method of SKPaymentQueue
inline constexpr Sel<void(id, id)> addTransactionObserver_{"addTransactionObserver:"};
inline constexpr Sel<void(id, id)> removeTransactionObserver_{"removeTransactionObserver:"};
inline constexpr Sel<void(id, id)> addPayment_{"addPayment:"};
// Raises NSInvalidArgumentException for nil.
inline constexpr Sel<void(id, id)> finishTransaction_{"finishTransaction:"};
// The observer's: (queue, array of SKPaymentTransaction).
inline constexpr Sel<void(id, id, Value)> paymentQueue_updatedTransactions_{"paymentQueue:updatedTransactions:"};
inline constexpr Sel<Ref<Object>(id, id)> paymentWithProduct_{"paymentWithProduct:"};  // class method of SKMutablePayment
inline constexpr Sel<Value(id)> productIdentifier{"productIdentifier"};
inline constexpr Sel<long long(id)> transactionState{"transactionState"};
inline constexpr Sel<Ref<Object>(id)> payment{"payment"};

// Products requests: (array of product identifiers).
inline constexpr Sel<Ref<Object>(id, Value)> initWithProductIdentifiers_{"initWithProductIdentifiers:"};
inline constexpr Sel<Value(id)> products{"products"};  // array of SKProduct
inline constexpr Sel<Value(id)> invalidProductIdentifiers{"invalidProductIdentifiers"};
// The delegate's: (request, response); (request, error); (request).
inline constexpr Sel<void(id, id, id)> productsRequest_didReceiveResponse_{"productsRequest:didReceiveResponse:"};
inline constexpr Sel<void(id, id, id)> request_didFailWithError_{"request:didFailWithError:"};
inline constexpr Sel<void(id, id)> requestDidFinish_{"requestDidFinish:"};
}  // namespace sel

enum SKPaymentTransactionState : long long {
    SKPaymentTransactionStatePurchasing = 0,
    SKPaymentTransactionStatePurchased = 1,
    SKPaymentTransactionStateFailed = 2,
    SKPaymentTransactionStateRestored = 3,
    SKPaymentTransactionStateDeferred = 4,
};
inline constexpr const char* SKErrorDomain = "SKErrorDomain";
inline constexpr long long SKErrorPaymentCancelled = 2;

class SKPaymentQueue : public NSObject {
public:
    static SKPaymentQueue* defaultQueue();

    // What was asked of the queue, oldest first.
    std::vector<Ref<Object>> addedPayments() const;
    std::vector<Ref<Object>> finishedTransactions() const;
    std::size_t observerCount() const;

    // Any thread, under the mutex.
    mutable std::mutex mutex_;
    std::vector<WeakRef<Object>> observers_;
    std::vector<Ref<Object>> addedPayments_;
    std::vector<Ref<Object>> finishedTransactions_;
};

class SKProduct : public NSObject {
public:
    static Ref<SKProduct> make(std::string productIdentifier);
    std::string productIdentifier_;
};

class SKMutablePayment : public NSObject {
public:
    std::string productIdentifier_;
    long long quantity_ = 1;
};

class SKPaymentTransaction : public NSObject {
public:
    long long transactionState_ = SKPaymentTransactionStatePurchasing;
    Ref<Object> payment_;
    Ref<Object> error_;
};

class SKProductsResponse : public NSObject {
public:
    Value products_ = Value::Array{};
    Value invalidProductIdentifiers_ = Value::Array{};
};

class SKProductsRequest : public NSObject {
public:
    Value productIdentifiers_ = Value::Array{};
    std::mutex mutex_;  // the delegate and the cancellation are read off the main thread
    WeakRef<Object> delegate_;
    bool cancelled_ = false;
};

class SKStoreProductViewController : public UIViewController {
public:
    WeakRef<Object> delegate_;
    // The item identifier of each load, oldest first.
    std::vector<Value> loadedItemIdentifiers_;
    // Whether a load has answered, and how.
    bool loadAnswered_ = false;
    bool loadSucceeded_ = false;
};

namespace storekit {
// YES at first.
void setCanMakePayments(bool can);
// How later product loads answer: success or failure, after this many
// seconds (success after 0.5 s at first).
void setProductLoadAnswer(bool succeeds, double delay);
// The user presses Done on the sheet: its delegate hears it.
void pressDone(SKStoreProductViewController* sheet);

// A payment for a product, and a transaction of it in a state (with an error or nil).
Ref<SKPaymentTransaction> makeTransaction(long long state, std::string productIdentifier, long long quantity, id error = nullptr);
// The queue's observers hear these transactions on a background thread; returns when they have.
void deliverTransactions(const Value& transactions);
// How later products requests answer: the identifiers StoreKit does not know,
// or a failure. Every identifier is valid and no request fails at first.
void setInvalidProductIdentifiers(std::set<std::string> identifiers);
void setProductsRequestsFail(bool fail);
// The identifiers of every products request started, oldest first.
std::vector<Value> startedProductsRequests();
void registerClasses();
}  // namespace storekit

}  // namespace platform

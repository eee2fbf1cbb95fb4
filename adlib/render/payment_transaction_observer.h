// YBXPaymentTransactionObserver: the process-wide default in-app purchase
// flow, which the publisher turns on with a delegate told when the user has
// paid. It validates an offered product with StoreKit (remembering valid and
// invalid products), adds the payment and matches the transactions StoreKit
// reports back to the offers waiting for them. YBXProductsRequestDelegate is
// one products request with its completion. StoreKit answers on any thread;
// everything else, completions included, runs on the main thread.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "adlib/foundation/selectors.h"
#include "adlib/render/in_app_purchase.h"

namespace adlib {

inline constexpr const char* kYBXUnavailableProductTitle = "Whoops!";
inline constexpr const char* kYBXUnavailableProductMessage = "Sorry, the product is currently unavailable.";

class YBXProductsRequestDelegate : public NSObject {
public:
    // (the delegate, product ID -> SKProduct, the invalid IDs)
    using Completion = std::function<void(YBXProductsRequestDelegate*, Value validProducts, Value invalidProductIDs)>;

    // Null when there is no completion or no request could be made.
    static Ref<YBXProductsRequestDelegate> make(const Value& productIDs, Completion completion);
    ~YBXProductsRequestDelegate() override;

    void start();
    // StoreKit's answers, on any thread: the completion runs on the main queue, once.
    void didReceiveResponse(id response);
    void didFail();

    Ref<Object> productsRequest_;

private:
    void complete(Value validProducts, Value invalidProductIDs);
    std::mutex mutex_;
    Completion completion_;
};

class YBXPaymentTransactionObserver : public NSObject {
public:
    static YBXPaymentTransactionObserver* sharedInstance();

    void enableDefaultPurchaseFlowWithDelegate(id delegate);
    void disableDefaultPurchaseFlow();
    void didReceiveInAppPurchase(YBXInAppPurchase* purchase);
    // (product IDs) the completion hears the valid products and the invalid IDs, on the main queue.
    void validateProductIDs(const Value& productIDs, std::function<void(Value validProducts, Value invalidProductIDs)> completion);
    void updateValidProducts(const Value& validProducts, const Value& invalidProductIDs);
    void purchaseProduct(id product, YBXInAppPurchase* purchase);
    void updatedTransactions(const Value& transactions);
    void completeTransaction(id transaction);
    void failedTransaction(id transaction);
    Ref<YBXInAppPurchase> dequeueInAppPurchaseForTransaction(id transaction);

    // Read by the slot on any thread.
    std::atomic<bool> defaultPurchaseFlowEnabled_{false};
    WeakRef<Object> defaultInAppPurchaseDelegate_;
    std::vector<Ref<YBXProductsRequestDelegate>> activeProductsRequestDelegates_;
    std::vector<Ref<YBXInAppPurchase>> activeInAppPurchases_;
    std::set<std::string> invalidProducts_;
    std::map<std::string, Ref<Object>> validProductIDs_;
};

void registerPaymentTransactionObserverClass();

}  // namespace adlib

#include "adlib/render/payment_transaction_observer.h"

#include <algorithm>

#include "adlib/foundation/macros.h"
#include "platform/foundation/format.h"
#include "platform/frameworks/storekit.h"

namespace adlib {

namespace {

YBXPaymentTransactionObserver* observerOf(id self) { return as<YBXPaymentTransactionObserver>(self); }
YBXProductsRequestDelegate* requestDelegateOf(id self) { return as<YBXProductsRequestDelegate>(self); }

void showUnavailableProductAlert() {
    Ref<Object> alert = sel::initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_(
        alloc("UIAlertView"), Value(kYBXUnavailableProductTitle), Value(kYBXUnavailableProductMessage), nullptr, Value("OK"), Value());
    sel::show(alert.get());
}

}  // namespace

// --- YBXProductsRequestDelegate ---

Ref<YBXProductsRequestDelegate> YBXProductsRequestDelegate::make(const Value& productIDs, Completion completion) {
    if (!completion) return nullptr;
    Ref<Object> request = sel::initWithProductIdentifiers_(alloc("SKProductsRequest"), productIDs);
    if (!request) return nullptr;
    Ref<YBXProductsRequestDelegate> delegate = as<YBXProductsRequestDelegate>(sel::init(alloc("YBXProductsRequestDelegate")));
    delegate->productsRequest_ = request;
    delegate->completion_ = std::move(completion);
    sel::setDelegate_(request.get(), delegate.get());
    return delegate;
}

YBXProductsRequestDelegate::~YBXProductsRequestDelegate() {
    if (!productsRequest_) return;
    sel::cancel(productsRequest_.get());
    sel::setDelegate_(productsRequest_.get(), nullptr);
}

void YBXProductsRequestDelegate::start() { sel::start(productsRequest_.get()); }

void YBXProductsRequestDelegate::didReceiveResponse(id response) {
    Value::Dictionary valid;
    for (const Value& product : sel::products(response).array()) {
        const Value identifier = sel::productIdentifier(product.object());
        if (identifier.isString()) valid[identifier.string()] = product;
    }
    Value::Array invalid;
    for (const Value& identifier : sel::invalidProductIdentifiers(response).array())
        if (identifier.isString() && std::find(invalid.begin(), invalid.end(), identifier) == invalid.end()) invalid.push_back(identifier);
    complete(Value(std::move(valid)), Value(std::move(invalid)));
}

void YBXProductsRequestDelegate::didFail() { complete(Value(Value::Dictionary{}), Value(Value::Array{})); }

void YBXProductsRequestDelegate::complete(Value validProducts, Value invalidProductIDs) {
    Completion completion;
    {
        std::lock_guard guard(mutex_);
        completion = std::move(completion_);
    }
    if (!completion) return;
    Ref<YBXProductsRequestDelegate> self(this);
    dispatch_async(dispatch_get_main_queue(), [self, completion = std::move(completion), validProducts, invalidProductIDs] {
        completion(self.get(), validProducts, invalidProductIDs);
    });
}

// --- YBXPaymentTransactionObserver ---

YBXPaymentTransactionObserver* YBXPaymentTransactionObserver::sharedInstance() {
    static std::once_flag once;
    static YBXPaymentTransactionObserver* shared = nullptr;
    std::call_once(once, [] { shared = as<YBXPaymentTransactionObserver>(sel::init(alloc("YBXPaymentTransactionObserver")).leak()); });
    return shared;
}

void YBXPaymentTransactionObserver::enableDefaultPurchaseFlowWithDelegate(id delegate) {
    if (!delegate || !respondsToSelector(delegate, sel::userDidPayForPurchase_.name) || defaultPurchaseFlowEnabled_) return;
    defaultPurchaseFlowEnabled_ = true;
    defaultInAppPurchaseDelegate_ = WeakRef<Object>(delegate);
    sel::addTransactionObserver_(SKPaymentQueue::defaultQueue(), this);
}

void YBXPaymentTransactionObserver::disableDefaultPurchaseFlow() {
    if (!defaultPurchaseFlowEnabled_) return;
    defaultPurchaseFlowEnabled_ = false;
    defaultInAppPurchaseDelegate_ = nullptr;
    sel::removeTransactionObserver_(SKPaymentQueue::defaultQueue(), this);
}

void YBXPaymentTransactionObserver::didReceiveInAppPurchase(YBXInAppPurchase* purchase) {
    if (!purchase) return;
    Ref<YBXInAppPurchase> offer(purchase);
    Ref<Object> delegate = defaultInAppPurchaseDelegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::shouldStartPurchaseForProductID_quantity_.name) &&
        !sel::shouldStartPurchaseForProductID_quantity_(delegate.get(), offer->productID_, offer->quantity_)) {
        offer->reportPurchaseStatus(YBXInAppPurchaseStatusError);
        showUnavailableProductAlert();
        return;
    }
    const std::string productID = offer->productID_.isString() ? offer->productID_.string() : std::string();
    if (auto known = validProductIDs_.find(productID); known != validProductIDs_.end()) {
        purchaseProduct(known->second.get(), offer.get());
        return;
    }
    Ref<YBXPaymentTransactionObserver> self(this);
    validateProductIDs(Value::array({offer->productID_}), [self, offer, productID](Value, Value) {
        if (auto valid = self->validProductIDs_.find(productID); valid != self->validProductIDs_.end()) {
            self->purchaseProduct(valid->second.get(), offer.get());
            return;
        }
        offer->reportPurchaseStatus(YBXInAppPurchaseStatusInvalidProduct);
        pubLog(format("\"%@\" is not a valid product ID or could not be validated. Verify your ad configuration.", offer->productID_));
        showUnavailableProductAlert();
    });
}

void YBXPaymentTransactionObserver::validateProductIDs(const Value& productIDs,
                                                       std::function<void(Value validProducts, Value invalidProductIDs)> completion) {
    Ref<YBXPaymentTransactionObserver> self(this);
    Ref<YBXProductsRequestDelegate> requestDelegate =
        YBXProductsRequestDelegate::make(productIDs, [self, completion](YBXProductsRequestDelegate* finished, Value valid, Value invalid) {
            self->updateValidProducts(valid, invalid);
            if (completion) completion(valid, invalid);
            std::erase_if(self->activeProductsRequestDelegates_, [&](const Ref<YBXProductsRequestDelegate>& d) { return d.get() == finished; });
        });
    if (!requestDelegate) {
        if (completion) completion(Value(Value::Dictionary{}), Value(Value::Array{}));
        return;
    }
    activeProductsRequestDelegates_.push_back(requestDelegate);
    requestDelegate->start();
}

void YBXPaymentTransactionObserver::updateValidProducts(const Value& validProducts, const Value& invalidProductIDs) {
    for (const auto& [identifier, product] : validProducts.dictionary()) {
        validProductIDs_[identifier] = Ref<Object>(product.object());
        invalidProducts_.erase(identifier);
    }
    for (const Value& identifier : invalidProductIDs.array()) {
        if (!identifier.isString()) continue;
        validProductIDs_.erase(identifier.string());
        invalidProducts_.insert(identifier.string());
    }
}

void YBXPaymentTransactionObserver::purchaseProduct(id product, YBXInAppPurchase* purchase) {
    activeInAppPurchases_.emplace_back(purchase);
    Ref<Object> payment = sel::paymentWithProduct_(objc_getClass("SKMutablePayment"), product);
    sel::setQuantity_(payment.get(), purchase->quantity_);
    sel::addPayment_(SKPaymentQueue::defaultQueue(), payment.get());
}

void YBXPaymentTransactionObserver::updatedTransactions(const Value& transactions) {
    for (const Value& transaction : transactions.array()) {
        switch (sel::transactionState(transaction.object())) {
            case SKPaymentTransactionStatePurchased: completeTransaction(transaction.object()); break;
            case SKPaymentTransactionStateFailed: failedTransaction(transaction.object()); break;
            default: break;  // restored and deferred ones are the publisher's
        }
    }
}

void YBXPaymentTransactionObserver::completeTransaction(id transaction) {
    Ref<Object> payment = sel::payment(transaction);
    Ref<YBXDefaultInAppPurchase> paid = as<YBXDefaultInAppPurchase>(sel::init(alloc("YBXDefaultInAppPurchase")));
    paid->productID_ = sel::productIdentifier(payment.get());
    paid->quantity_ = sel::quantity(payment.get());
    paid->paymentTransaction_ = Ref<Object>(transaction);
    paid->inAppPurchase_ = dequeueInAppPurchaseForTransaction(transaction);
    // Open until the publisher has delivered the product and finishes it.
    if (Ref<Object> delegate = defaultInAppPurchaseDelegate_.lock()) sel::userDidPayForPurchase_(delegate.get(), paid.get());
}

void YBXPaymentTransactionObserver::failedTransaction(id transaction) {
    Ref<YBXInAppPurchase> purchase = dequeueInAppPurchaseForTransaction(transaction);
    Ref<Object> error = sel::error(transaction);
    purchase->reportPurchaseStatus(sel::code(error.get()) == SKErrorPaymentCancelled ? YBXInAppPurchaseStatusCancel : YBXInAppPurchaseStatusError);
    sel::finishTransaction_(SKPaymentQueue::defaultQueue(), transaction);
}

Ref<YBXInAppPurchase> YBXPaymentTransactionObserver::dequeueInAppPurchaseForTransaction(id transaction) {
    Ref<Object> payment = sel::payment(transaction);
    const Value productID = sel::productIdentifier(payment.get());
    const long long quantity = sel::quantity(payment.get());
    auto waiting = std::find_if(activeInAppPurchases_.begin(), activeInAppPurchases_.end(), [&](const Ref<YBXInAppPurchase>& p) {
        return p->quantity_ == quantity && p->productID_ == productID;
    });
    if (waiting != activeInAppPurchases_.end()) {
        Ref<YBXInAppPurchase> found = *waiting;
        activeInAppPurchases_.erase(waiting);
        return found;
    }
    // A purchase that outlived its ad: reported with no templates.
    return as<YBXInAppPurchase>(
        sel::initWithProductID_quantity_reportingURLStringFormats_(alloc("YBXInAppPurchase"), productID, quantity, Value(Value::Array{})));
}

void registerPaymentTransactionObserverClass() {
    // The publisher's delegate of the default flow declares it.
    if (!objc_getProtocol("YBXDefaultInAppPurchaseDelegate")) objc_registerProtocol(objc_allocateProtocol("YBXDefaultInAppPurchaseDelegate"));
    ClassBuilder<YBXProductsRequestDelegate>("YBXProductsRequestDelegate", "NSObject")
        .protocol("SKProductsRequestDelegate")
        .method(sel::productsRequest, [](id self) { return requestDelegateOf(self)->productsRequest_; })
        .method(sel::productsRequest_didReceiveResponse_, [](id self, id, id response) { requestDelegateOf(self)->didReceiveResponse(response); })
        .method(sel::request_didFailWithError_, [](id self, id, id) { requestDelegateOf(self)->didFail(); });
    ClassBuilder<YBXPaymentTransactionObserver>("YBXPaymentTransactionObserver", "NSObject")
        .protocol("SKPaymentTransactionObserver")
        .protocol("YBXInAppPurchaseDelegate")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(YBXPaymentTransactionObserver::sharedInstance()); })
        .method(sel::isDefaultPurchaseFlowEnabled, [](id self) { return observerOf(self)->defaultPurchaseFlowEnabled_.load(); })
        .method(sel::defaultInAppPurchaseDelegate, [](id self) { return observerOf(self)->defaultInAppPurchaseDelegate_.lock(); })
        .method(sel::enableDefaultPurchaseFlowWithDelegate_, [](id self, id delegate) { observerOf(self)->enableDefaultPurchaseFlowWithDelegate(delegate); })
        .method(sel::disableDefaultPurchaseFlow, [](id self) { observerOf(self)->disableDefaultPurchaseFlow(); })
        .method(sel::didReceiveInAppPurchase_, [](id self, id purchase) { observerOf(self)->didReceiveInAppPurchase(as<YBXInAppPurchase>(purchase)); })
        .method(sel::paymentQueue_updatedTransactions_, [](id self, id, Value transactions) {
            // StoreKit reports on its own thread; the waiting offers live on the main thread.
            Ref<YBXPaymentTransactionObserver> observer(observerOf(self));
            dispatch_async(dispatch_get_main_queue(), [observer, transactions] { observer->updatedTransactions(transactions); });
        });
}

}  // namespace adlib

#include "platform/frameworks/storekit.h"

#include <atomic>
#include <thread>

#include "platform/foundation/dispatch.h"
#include "platform/foundation/error.h"
#include "platform/foundation/run_loop.h"
#include "platform/runtime/exception.h"

namespace platform::storekit {

namespace {
std::atomic<bool> payments{true};
bool loadSucceeds = true;
double loadDelay = 0.5;

SKStoreProductViewController* sheetOf(id self) { return as<SKStoreProductViewController>(self); }

struct ProductsAnswers {
    std::mutex mutex;
    std::set<std::string> invalid;
    bool fail = false;
    std::vector<Value> started;
};
ProductsAnswers& productsAnswers() {
    // Never destroyed: a request's answer may still be on its way at exit.
    static ProductsAnswers& answers = *new ProductsAnswers;
    return answers;
}

SKProductsRequest* requestOf(id self) { return as<SKProductsRequest>(self); }

// Off the main thread, as StoreKit answers.
void answerProductsRequest(Ref<SKProductsRequest> request) {
    ProductsAnswers& answers = productsAnswers();
    Ref<SKProductsResponse> response = as<SKProductsResponse>(sel::init(alloc("SKProductsResponse")));
    bool fail;
    {
        std::lock_guard guard(answers.mutex);
        fail = answers.fail;
        for (const Value& identifier : request->productIdentifiers_.array()) {
            if (!identifier.isString()) continue;
            if (answers.invalid.count(identifier.string()))
                response->invalidProductIdentifiers_.mutableArray().push_back(identifier);
            else
                response->products_.mutableArray().push_back(Value(SKProduct::make(identifier.string()).get()));
        }
    }
    Ref<Object> delegate;
    {
        std::lock_guard guard(request->mutex_);
        if (request->cancelled_) return;
        delegate = request->delegate_.lock();
    }
    if (!delegate) return;
    if (fail) {
        Ref<NSError> error = NSError::errorWithDomain(SKErrorDomain, 0, Value::Dictionary{});
        if (respondsToSelector(delegate, sel::request_didFailWithError_.name)) sel::request_didFailWithError_(delegate, request.get(), error.get());
        return;
    }
    if (respondsToSelector(delegate, sel::productsRequest_didReceiveResponse_.name))
        sel::productsRequest_didReceiveResponse_(delegate, request.get(), response.get());
    if (respondsToSelector(delegate, sel::requestDidFinish_.name)) sel::requestDidFinish_(delegate, request.get());
}

void loadProduct(id self, Value parameters, SKStoreProductLoadCompletion completion) {
    Ref<SKStoreProductViewController> sheet(sheetOf(self));
    sheet->loadedItemIdentifiers_.push_back(parameters[SKStoreProductParameterITunesItemIdentifier]);
    const bool succeeds = loadSucceeds;
    RunLoop::main().schedule(loadDelay, [sheet, succeeds, completion = std::move(completion)] {
        sheet->loadAnswered_ = true;
        sheet->loadSucceeded_ = succeeds;
        if (!completion) return;
        if (succeeds) {
            completion(true, nullptr);
            return;
        }
        Ref<NSError> error = NSError::errorWithDomain("SKErrorDomain", 0, Value::Dictionary{});
        completion(false, error.get());
    });
}
}  // namespace

void setCanMakePayments(bool can) { payments = can; }

void setProductLoadAnswer(bool succeeds, double delay) {
    loadSucceeds = succeeds;
    loadDelay = delay;
}

void pressDone(SKStoreProductViewController* sheet) {
    if (!sheet) return;
    Ref<SKStoreProductViewController> protector(sheet);
    Ref<Object> delegate = sheet->delegate_.lock();
    if (delegate && respondsToSelector(delegate, sel::productViewControllerDidFinish_.name)) sel::productViewControllerDidFinish_(delegate, sheet);
}

Ref<SKPaymentTransaction> makeTransaction(long long state, std::string productIdentifier, long long quantity, id error) {
    Ref<SKMutablePayment> payment = as<SKMutablePayment>(sel::init(alloc("SKMutablePayment")));
    payment->productIdentifier_ = std::move(productIdentifier);
    payment->quantity_ = quantity;
    Ref<SKPaymentTransaction> transaction = as<SKPaymentTransaction>(sel::init(alloc("SKPaymentTransaction")));
    transaction->transactionState_ = state;
    transaction->payment_ = payment;
    transaction->error_ = Ref<Object>(error);
    return transaction;
}

void deliverTransactions(const Value& transactions) {
    SKPaymentQueue* queue = SKPaymentQueue::defaultQueue();
    std::vector<WeakRef<Object>> observers;
    {
        std::lock_guard guard(queue->mutex_);
        observers = queue->observers_;
    }
    std::thread storeKit([&] {
        for (const WeakRef<Object>& weak : observers)
            if (Ref<Object> observer = weak.lock()) sel::paymentQueue_updatedTransactions_(observer.get(), queue, transactions);
    });
    storeKit.join();
}

void setInvalidProductIdentifiers(std::set<std::string> identifiers) {
    std::lock_guard guard(productsAnswers().mutex);
    productsAnswers().invalid = std::move(identifiers);
}

void setProductsRequestsFail(bool fail) {
    std::lock_guard guard(productsAnswers().mutex);
    productsAnswers().fail = fail;
}

std::vector<Value> startedProductsRequests() {
    std::lock_guard guard(productsAnswers().mutex);
    return productsAnswers().started;
}

namespace {
void registerPaymentQueue() {
    ClassBuilder<SKPaymentQueue>("SKPaymentQueue", "NSObject")
        .classMethod(sel::canMakePayments, [](id) { return payments.load(); })
        .classMethod(sel::defaultQueue, [](id) { return Ref<Object>(SKPaymentQueue::defaultQueue()); })
        .method(sel::addTransactionObserver_,
                [](id self, id observer) {
                    if (!observer) return;
                    auto* queue = as<SKPaymentQueue>(self);
                    std::lock_guard guard(queue->mutex_);
                    queue->observers_.emplace_back(observer);
                })
        .method(sel::removeTransactionObserver_,
                [](id self, id observer) {
                    auto* queue = as<SKPaymentQueue>(self);
                    std::lock_guard guard(queue->mutex_);
                    std::erase_if(queue->observers_, [&](const WeakRef<Object>& o) { return o.lock().get() == observer || !o.lock(); });
                })
        .method(sel::addPayment_,
                [](id self, id payment) {
                    auto* queue = as<SKPaymentQueue>(self);
                    std::lock_guard guard(queue->mutex_);
                    queue->addedPayments_.emplace_back(payment);
                })
        .method(sel::finishTransaction_, [](id self, id transaction) {
            if (!transaction) raise("NSInvalidArgumentException", "Cannot finish a nil transaction");
            auto* queue = as<SKPaymentQueue>(self);
            std::lock_guard guard(queue->mutex_);
            queue->finishedTransactions_.emplace_back(transaction);
        });
}
}  // namespace

void registerClasses() {
    registerPaymentQueue();
    ClassBuilder<SKProduct>("SKProduct", "NSObject").method(sel::productIdentifier, [](id self) {
        return Value(as<SKProduct>(self)->productIdentifier_);
    });
    ClassBuilder<SKMutablePayment>("SKMutablePayment", "NSObject")
        .classMethod(sel::paymentWithProduct_,
                     [](id, id product) -> Ref<Object> {
                         if (!product) return nullptr;
                         Ref<SKMutablePayment> payment = as<SKMutablePayment>(sel::init(alloc("SKMutablePayment")));
                         payment->productIdentifier_ = sel::productIdentifier(product).string();
                         return payment;
                     })
        .method(sel::productIdentifier, [](id self) { return Value(as<SKMutablePayment>(self)->productIdentifier_); })
        .method(sel::quantity, [](id self) { return as<SKMutablePayment>(self)->quantity_; })
        .method(sel::setQuantity_, [](id self, long long quantity) { as<SKMutablePayment>(self)->quantity_ = quantity; });
    ClassBuilder<SKPaymentTransaction>("SKPaymentTransaction", "NSObject")
        .method(sel::transactionState, [](id self) { return as<SKPaymentTransaction>(self)->transactionState_; })
        .method(sel::payment, [](id self) { return as<SKPaymentTransaction>(self)->payment_; })
        .method(sel::error, [](id self) { return as<SKPaymentTransaction>(self)->error_; });
    ClassBuilder<SKProductsResponse>("SKProductsResponse", "NSObject")
        .method(sel::products, [](id self) { return as<SKProductsResponse>(self)->products_; })
        .method(sel::invalidProductIdentifiers, [](id self) { return as<SKProductsResponse>(self)->invalidProductIdentifiers_; });
    ClassBuilder<SKProductsRequest>("SKProductsRequest", "NSObject")
        .method(sel::initWithProductIdentifiers_,
                [](id self, Value identifiers) {
                    Ref<Object> made = sel::init(self);
                    if (auto* request = requestOf(made.get()); request && identifiers.isArray()) request->productIdentifiers_ = identifiers;
                    return made;
                })
        .method(sel::delegate,
                [](id self) {
                    std::lock_guard guard(requestOf(self)->mutex_);
                    return requestOf(self)->delegate_.lock();
                })
        .method(sel::setDelegate_,
                [](id self, id delegate) {
                    std::lock_guard guard(requestOf(self)->mutex_);
                    requestOf(self)->delegate_ = WeakRef<Object>(delegate);
                })
        .method(sel::start,
                [](id self) {
                    {
                        std::lock_guard guard(productsAnswers().mutex);
                        productsAnswers().started.push_back(requestOf(self)->productIdentifiers_);
                    }
                    Ref<SKProductsRequest> request(requestOf(self));
                    dispatch_async(dispatch_get_global_queue(0, 0), [request] { answerProductsRequest(request); });
                })
        .method(sel::cancel, [](id self) {
            std::lock_guard guard(requestOf(self)->mutex_);
            requestOf(self)->cancelled_ = true;
        });
    ClassBuilder<SKStoreProductViewController>("SKStoreProductViewController", "UIViewController")
        .method(sel::delegate, [](id self) { return sheetOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { sheetOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::loadProductWithParameters_completionBlock_, &loadProduct);
}

}  // namespace platform::storekit

namespace platform {

SKPaymentQueue* SKPaymentQueue::defaultQueue() {
    static SKPaymentQueue* queue = as<SKPaymentQueue>(sel::init(alloc("SKPaymentQueue")).leak());
    return queue;
}

std::vector<Ref<Object>> SKPaymentQueue::addedPayments() const {
    std::lock_guard guard(mutex_);
    return addedPayments_;
}

std::vector<Ref<Object>> SKPaymentQueue::finishedTransactions() const {
    std::lock_guard guard(mutex_);
    return finishedTransactions_;
}

std::size_t SKPaymentQueue::observerCount() const {
    std::lock_guard guard(mutex_);
    return observers_.size();
}

Ref<SKProduct> SKProduct::make(std::string productIdentifier) {
    Ref<SKProduct> product = as<SKProduct>(sel::init(alloc("SKProduct")));
    product->productIdentifier_ = std::move(productIdentifier);
    return product;
}

}  // namespace platform

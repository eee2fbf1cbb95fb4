// The default purchase flow: switched on once with a delegate that hears of
// payments; an offer validated with StoreKit (once per product), bought, and
// its transactions matched back to it, reported and finished. StoreKit answers
// on its own threads; the delegate hears everything on the main thread.
#include <gtest/gtest.h>

#include "adlib/render/in_app_purchase.h"
#include "adlib/render/payment_transaction_observer.h"
#include "platform/foundation/error.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/storekit.h"
#include "platform/uikit/alert_sheets.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// The publisher's default purchase delegate: answers whether to start, keeps what it is paid for.
class PurchaseDelegate : public NSObject {
public:
    bool startAnswer = true;
    std::vector<std::string> asked;
    std::vector<Ref<Object>> paid;
    bool paidOnMainThread = true;
};

void registerDelegates() {
    ClassBuilder<PurchaseDelegate>("TestPurchaseDelegate", "NSObject")
        .method(sel::shouldStartPurchaseForProductID_quantity_,
                [](id self, Value productID, long long quantity) {
                    as<PurchaseDelegate>(self)->asked.push_back(productID.string() + " x" + std::to_string(quantity));
                    return as<PurchaseDelegate>(self)->startAnswer;
                })
        .method(sel::userDidPayForPurchase_, [](id self, id purchase) {
            auto* delegate = as<PurchaseDelegate>(self);
            delegate->paid.emplace_back(purchase);
            delegate->paidOnMainThread = delegate->paidOnMainThread && NSThread::isMainThread();
        });
    // Implements nothing: cannot be told of a payment.
    ClassBuilder<NSObject>("TestSilentPurchaseDelegate", "NSObject");
}

class DefaultPurchaseFlow : public ::testing::Test {
protected:
    void SetUp() override {
        registerDelegates();
        delegate = as<PurchaseDelegate>(newObject("TestPurchaseDelegate"));
        observer = YBXPaymentTransactionObserver::sharedInstance();
        sel::enableDefaultPurchaseFlowWithDelegate_(objc_getClass("YBXDefaultInAppPurchase"), delegate.get());
    }

    Ref<YBXInAppPurchase> offer(const char* productID, long long quantity = 1) {
        Ref<YBXInAppPurchase> purchase = as<YBXInAppPurchase>(sel::initWithProductID_quantity_reportingURLStringFormats_(
            alloc("YBXInAppPurchase"), Value(productID), quantity, Value(Value::Array{})));
        sel::didReceiveInAppPurchase_(observer, purchase.get());
        return purchase;
    }
    // Until StoreKit's answers to products requests have been handled on the main thread.
    void settle() {
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return observer->activeProductsRequestDelegates_.empty(); }, 10.0));
    }
    static std::vector<std::string> paymentsAdded() {
        std::vector<std::string> texts;
        for (const Ref<Object>& payment : SKPaymentQueue::defaultQueue()->addedPayments())
            texts.push_back(sel::productIdentifier(payment.get()).string() + " x" + std::to_string(sel::quantity(payment.get())));
        return texts;
    }
    static std::size_t alertsShown() {
        std::size_t shown = 0;
        for (const Ref<UIAlertView>& alert : UIAlertView::visibleAlerts())
            if (alert->title_ == Value(kYBXUnavailableProductTitle) && alert->message_ == Value(kYBXUnavailableProductMessage) &&
                alert->buttonTitles_ == std::vector<Value>{Value("OK")} && !alert->delegate_.lock())
                ++shown;
        return shown;
    }
    void deliver(const std::vector<Ref<SKPaymentTransaction>>& transactions) {
        Value::Array list;
        for (const auto& t : transactions) list.emplace_back(t.get());
        storekit::deliverTransactions(Value(std::move(list)));
        RunLoop::main().runDue();  // the observer moved them to the main thread
    }

    AdLibEnvironment env;
    Ref<PurchaseDelegate> delegate;
    YBXPaymentTransactionObserver* observer = nullptr;
};

TEST_F(DefaultPurchaseFlow, IsOnOnceOnlyForADelegateThatCanBePaid) {
    EXPECT_TRUE(sel::isDefaultPurchaseFlowEnabled(observer));
    EXPECT_EQ(SKPaymentQueue::defaultQueue()->observerCount(), 1u);
    sel::enableDefaultPurchaseFlowWithDelegate_(observer, delegate.get());
    EXPECT_EQ(SKPaymentQueue::defaultQueue()->observerCount(), 1u);

    sel::disableDefaultPurchaseFlow(objc_getClass("YBXDefaultInAppPurchase"));
    EXPECT_FALSE(sel::isDefaultPurchaseFlowEnabled(observer));
    EXPECT_FALSE(sel::defaultInAppPurchaseDelegate(observer));
    EXPECT_EQ(SKPaymentQueue::defaultQueue()->observerCount(), 0u);

    Ref<Object> silent = newObject("TestSilentPurchaseDelegate");
    sel::enableDefaultPurchaseFlowWithDelegate_(observer, silent.get());
    EXPECT_FALSE(sel::isDefaultPurchaseFlowEnabled(observer));
    EXPECT_EQ(SKPaymentQueue::defaultQueue()->observerCount(), 0u);
}

TEST_F(DefaultPurchaseFlow, AProductIsValidatedOnceThenBought) {
    offer("gems", 2);
    EXPECT_EQ(delegate->asked, std::vector<std::string>{"gems x2"});
    ASSERT_EQ(storekit::startedProductsRequests().size(), 1u);
    EXPECT_EQ(storekit::startedProductsRequests()[0], Value::array({Value("gems")}));
    EXPECT_TRUE(paymentsAdded().empty());  // not before StoreKit has answered
    settle();
    EXPECT_EQ(paymentsAdded(), std::vector<std::string>{"gems x2"});
    EXPECT_TRUE(observer->activeProductsRequestDelegates_.empty());

    // Known valid now: bought without asking StoreKit again.
    offer("gems", 1);
    EXPECT_EQ(storekit::startedProductsRequests().size(), 1u);
    EXPECT_EQ(paymentsAdded(), (std::vector<std::string>{"gems x2", "gems x1"}));
    EXPECT_EQ(alertsShown(), 0u);
}

TEST_F(DefaultPurchaseFlow, DeclinedInvalidOrUnvalidatedOffersReportAndAlert) {
    struct Case {
        const char* name;
        bool publisherStarts;
        bool invalid;
        bool requestFails;
        long long status;
        bool logged;
    } cases[] = {
        {"the publisher declines", false, false, false, 0, false},
        {"StoreKit does not know the product", true, true, false, 3, true},
        {"the products request fails", true, false, true, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::log::clear();
        delegate->startAnswer = c.publisherStarts;
        storekit::setInvalidProductIdentifiers(c.invalid ? std::set<std::string>{"coins"} : std::set<std::string>{});
        storekit::setProductsRequestsFail(c.requestFails);
        const std::size_t alertsBefore = alertsShown();
        Ref<YBXInAppPurchase> purchase = offer("coins");
        settle();
        EXPECT_EQ(purchase->purchaseStatus_, c.status);
        EXPECT_EQ(alertsShown(), alertsBefore + 1);
        EXPECT_EQ(platform::log::contains(
                      "<Orvane> \"coins\" is not a valid product ID or could not be validated. Verify your ad configuration."),
                  c.logged);
        EXPECT_TRUE(paymentsAdded().empty());
    }
    EXPECT_EQ(observer->invalidProducts_, std::set<std::string>{"coins"});
}

TEST_F(DefaultPurchaseFlow, APurchasedTransactionReachesThePublisherAndIsFinishedOnce) {
    Ref<YBXInAppPurchase> first = offer("gems", 2);
    Ref<YBXInAppPurchase> second = offer("gems", 3);
    settle();
    ASSERT_EQ(paymentsAdded().size(), 2u);

    // StoreKit reports the second one: it is matched by product and quantity.
    deliver({storekit::makeTransaction(SKPaymentTransactionStatePurchased, "gems", 3),
             storekit::makeTransaction(SKPaymentTransactionStatePurchasing, "gems", 2)});
    ASSERT_EQ(delegate->paid.size(), 1u);
    EXPECT_TRUE(delegate->paidOnMainThread);
    Ref<Object> paid = delegate->paid[0];
    EXPECT_EQ(sel::productID(paid.get()), Value("gems"));
    EXPECT_EQ(sel::quantity(paid.get()), 3);
    EXPECT_EQ(sel::inAppPurchase(paid.get()).get(), second.get());
    ASSERT_EQ(observer->activeInAppPurchases_.size(), 1u);
    EXPECT_EQ(observer->activeInAppPurchases_[0].get(), first.get());
    // Open until the publisher has delivered.
    EXPECT_TRUE(SKPaymentQueue::defaultQueue()->finishedTransactions().empty());

    sel::finishTransaction(paid.get());
    sel::finishTransaction(paid.get());
    EXPECT_EQ(SKPaymentQueue::defaultQueue()->finishedTransactions().size(), 1u);
    EXPECT_EQ(second->purchaseStatus_, 1);
    EXPECT_FALSE(sel::paymentTransaction(paid.get()));
    EXPECT_FALSE(sel::inAppPurchase(paid.get()));
}

TEST_F(DefaultPurchaseFlow, FailedTransactionsReportCancelOrErrorAndAreFinished) {
    Ref<YBXInAppPurchase> cancelled = offer("gems", 1);
    Ref<YBXInAppPurchase> failed = offer("gems", 2);
    settle();
    Ref<NSError> userCancelled = NSError::errorWithDomain(SKErrorDomain, SKErrorPaymentCancelled, Value::Dictionary{});
    Ref<NSError> other = NSError::errorWithDomain(SKErrorDomain, 0, Value::Dictionary{});
    deliver({storekit::makeTransaction(SKPaymentTransactionStateFailed, "gems", 1, userCancelled.get()),
             storekit::makeTransaction(SKPaymentTransactionStateFailed, "gems", 2, other.get()),
             storekit::makeTransaction(SKPaymentTransactionStateRestored, "gems", 1),
             storekit::makeTransaction(SKPaymentTransactionStateDeferred, "gems", 1)});
    EXPECT_EQ(cancelled->purchaseStatus_, 2);
    EXPECT_EQ(failed->purchaseStatus_, 0);
    EXPECT_EQ(SKPaymentQueue::defaultQueue()->finishedTransactions().size(), 2u);  // restored and deferred are the publisher's
    EXPECT_TRUE(observer->activeInAppPurchases_.empty());
    EXPECT_TRUE(delegate->paid.empty());
}

TEST_F(DefaultPurchaseFlow, ATransactionWithoutAWaitingOfferGetsAFreshOne) {
    deliver({storekit::makeTransaction(SKPaymentTransactionStatePurchased, "orphan", 4)});
    ASSERT_EQ(delegate->paid.size(), 1u);
    Ref<Object> purchase = sel::inAppPurchase(delegate->paid[0].get());
    ASSERT_TRUE(purchase);
    EXPECT_EQ(sel::productID(purchase.get()), Value("orphan"));
    EXPECT_EQ(sel::quantity(purchase.get()), 4);
    EXPECT_EQ(sel::reportingURLStringFormats(purchase.get()), Value(Value::Array{}));
}

TEST(ProductsRequestDelegate, LetsGoOfItsRequestWhenDestroyed) {
    AdLibEnvironment env;
    int calls = 0;
    Ref<Object> request;
    {
        Ref<YBXProductsRequestDelegate> delegate =
            YBXProductsRequestDelegate::make(Value::array({Value("x")}), [&](YBXProductsRequestDelegate*, Value, Value) { ++calls; });
        ASSERT_TRUE(delegate);
        request = delegate->productsRequest_;
        EXPECT_EQ(sel::delegate(request.get()).get(), delegate.get());
    }
    EXPECT_FALSE(sel::delegate(request.get()));
    EXPECT_TRUE(as<SKProductsRequest>(request.get())->cancelled_);
    EXPECT_FALSE(YBXProductsRequestDelegate::make(Value::array({Value("x")}), nullptr));
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace adlib
